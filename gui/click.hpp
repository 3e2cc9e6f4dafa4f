#pragma once
// "Click to continue": a caption that fires on a press and release anywhere, once the mouse has
// been seen up after it appeared, unless an item above it took the mouse.
//
// Numbered operations: `Init10` resets a pooled click button with its place, caption, font, colour
// and callback.
#include <memory>
#include <string>

#include "gui/callback.hpp"
#include "gui/item.hpp"
#include "gui/itempool.hpp"

class GlyphFont;

class GUIClickButton : public GUIItem {
  public:
    static GUIClickButton* Create(float x, float y, const std::string& text, GlyphFont* font, int colour,
                                  Callback* callback);

    int UpdateAction() override;
    void Render() override;
    void Init10(float x, float y, const std::string& text, GlyphFont* font, int colour, Callback* callback);

    // The mouse has been seen up; a press began after that.
    int ok = 0;
    int down = 0;
    Callback* callback = nullptr;
    std::string text;
    GlyphFont* font = nullptr;
    int r = 0, g = 0, b = 0;

    static std::unique_ptr<GUIPool<GUIClickButton>> pool;
};
