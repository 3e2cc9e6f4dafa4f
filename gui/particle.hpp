#pragma once
// A flying picture or line of text as a GUI item (title clouds, "+N" rewards, floating notices):
// it moves like a dot, fades through its item alpha and leaves the list when its alpha or scale
// reaches 0. Taken from its pool by `Create`; the creator adds it to the item list.
#include <memory>
#include <string>

#include "gui/item.hpp"
#include "gui/itempool.hpp"

class GameImage;
class GlyphFont;

class GUIParticle : public GUIItem {
  public:
    static GUIParticle* Create(int x, int y, const std::string& imageName, const std::string& text,
                               GlyphFont* font, int colour);

    int Update2() override;
    void Render() override;
    // Resets every field, then the picture (when the bank has it), the text and its colour; the
    // item takes the larger of the two sizes with the text centred in it (32 when neither).
    void Init6(int x, int y, const std::string& imageName, const std::string& text, GlyphFont* font,
               int colour);
    void Move2(float angle, float speed);

    GameImage* image = nullptr;
    int frame = 0;
    std::string text;
    GlyphFont* font = nullptr;
    int r = 0, g = 0, b = 0;
    int tx = 0, ty = 0;
    float angle = 0, speed = 0, drag = 0, gravity = 0, rotate = 0;
    // The exact position; x and y follow it.
    FloatObject px, py;

    static std::unique_ptr<GUIPool<GUIParticle>> pool;
};
