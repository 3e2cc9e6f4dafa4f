#pragma once
// Screen data layers: stacks of objects that each draw one bank image. A screen may carry layers
// behind (negative index) and in front of itself; a screen without layers draws nothing in either
// pass.
#include <functional>
#include <memory>
#include <string>

#include "core/briskstack.hpp"
#include "platform/graphics.hpp"

// One image of a screen data layer. Render2 draws it shifted by the layer's offset.
class BriskDataObject {
  public:
    // Resolves an image name through the image bank. The bank lives above this layer, so it
    // registers itself here; a lookup of a name the bank lacks raises the bank's own assertion.
    static std::function<platform::ImagePtr(const std::string&)> imageFinder;

    int visible = 1;
    std::string imageName;
    float alpha = 1.0f;
    platform::ImagePtr image;  // looked up at the first draw
    int red = 255, green = 255, blue = 255;
    float x = 0.0f, y = 0.0f;
    float rotation = 0.0f;
    float scaleX = 0.0f, scaleY = 0.0f;

    // Leaves the colour and alpha set.
    void Render2(float offsetX, float offsetY);
};

using BriskDataObjects = BriskStack<std::shared_ptr<BriskDataObject>>;

// One layer of a screen; Render2 draws its visible objects shifted by the offset.
class BriskDataLayer {
  public:
    int index = 0;
    BriskDataObjects objects;

    void Render2(float offsetX, float offsetY);
};

using BriskDataLayers = BriskStack<std::shared_ptr<BriskDataLayer>>;
