#pragma once
// A caption on a drawn box or on a three-frame picture (normal, hovered, pressed), on the shared
// button machine; it plays "Building" on hover. With `anim` 0 an owner shows one picture that grows
// under the mouse instead of the three frames.
//
// Numbered operations: `Init9` resets a pooled text button with its place, picture, caption, font,
// colour, callback and width.
#include <memory>
#include <string>

#include "gui/button.hpp"

class GlyphFont;

class GUITextButton : public GUIPressable {
  public:
    static GUITextButton* Create(float x, float y, const std::string& imageName, const std::string& text,
                                 GlyphFont* font, int colour, Callback* callback, int width);

    void Render() override;
    // Without a picture the button is sized around its caption: `width` when the caption fits in
    // it (centred), else the caption's width (plus 8 on each side when width is 0).
    void Init9(float x, float y, const std::string& imageName, const std::string& text, GlyphFont* font,
               int colour, Callback* callback, int width);
    void RenderImageAnim();
    void RenderImage();
    // Wraps the caption to `width`; a button without a picture takes the wrapped caption's size.
    void SetWidth(int width);

    int bg = 1;
    GameImage* image = nullptr;
    int frame = 0;
    std::string text;
    GlyphFont* font = nullptr;
    int r = 0, g = 0, b = 0;
    int tx = 0, ty = 0;
    int tw = 0;
    int selected = 0;
    int anim = 1;

    static std::unique_ptr<GUIPool<GUITextButton>> pool;

  protected:
    int HoverSound() const override { return 12; }
    void ShowOver() override;
    void ShowLeave() override;
    void ShowPress() override;
    void ShowFire() override;

  private:
    bool PressedLook() const;
    // Sets the drawing colour to the caption's colour times f, each channel within 0..255.
    void CaptionColour(float f) const;
};
