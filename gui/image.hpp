#pragma once
// One frame of a bank picture, or a rectangle of it, drawn scaled about its centre, mirrored or
// rotated.
//
// Numbered operations: `Init8` resets a pooled image at a place with its picture and frame.
#include <memory>
#include <string>

#include "gui/item.hpp"
#include "gui/itempool.hpp"

class GameImage;

class GUIImage : public GUIItem {
  public:
    static GUIImage* Create(float x, float y, const std::string& imageName, int frame);

    void Render() override;
    // The picture comes from the image bank (a name it lacks is the bank's error); the size is the
    // frame's, 32 where that is 0.
    void Init8(float x, float y, const std::string& imageName, int frame);
    void SetSubset(int offsetX, int offsetY, int w, int h);

    GameImage* image = nullptr;
    int frame = 0;
    int subset = 0;
    int offsetX = 0, offsetY = 0;
    int flip = 0;
    float rotate = 0;

    static std::unique_ptr<GUIPool<GUIImage>> pool;
};
