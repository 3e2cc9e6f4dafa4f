#pragma once
// A bar of the options popup whose knob follows the mouse while the mouse is held over the bar,
// reporting every frame of the drag to its callback with itself as the sender; the owner reads
// `pos` and maps it to its setting.
//
// Numbered operations: `Init17` resets a pooled slider at a place with its knob offset and callback.
#include <memory>

#include "gui/callback.hpp"
#include "gui/item.hpp"
#include "gui/itempool.hpp"

class GameImage;

class GUISlider : public GUIItem {
  public:
    static GUISlider* Create(float x, float y, int pos, Callback* callback);

    int UpdateAction() override;
    void Render() override;
    void Init17(float x, float y, int pos, Callback* callback);

    // The bar, "OptionsBar".
    GameImage* image = nullptr;
    // The knob's offset in pixels from the bar's left edge.
    int pos = 0;
    Callback* callback = nullptr;
    // The knob: frame 1 of "OptionsIcons64x64".
    GameImage* mark = nullptr;

    static std::unique_ptr<GUIPool<GUISlider>> pool;
};
