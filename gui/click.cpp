// Click-anywhere buttons.
#include "gui/click.hpp"

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "model/data2.hpp"
#include "platform/graphics.hpp"

std::unique_ptr<GUIPool<GUIClickButton>> GUIClickButton::pool;

GUIClickButton* GUIClickButton::Create(float x, float y, const std::string& text, GlyphFont* font, int colour,
                                       Callback* callback) {
    GUIClickButton* c = pool->Get4(1);
    c->Init10(x, y, text, font, colour, callback);
    return c;
}

void GUIClickButton::Init10(float px, float py, const std::string& caption, GlyphFont* f, int colour,
                            Callback* cb) {
    ok = down = 0;
    x = px;
    y = py;
    text = caption;
    font = f;
    r = (colour >> 16) & 0xff;
    g = (colour >> 8) & 0xff;
    b = colour & 0xff;
    callback = cb;
    w = font ? font->TextWidth(text) : 0;
    h = font ? font->TextHeight(text) : 0;
    if (w == 0) w = 32;
    if (h == 0) h = 32;
    FadeIn(1.0f, 1);
}

int GUIClickButton::UpdateAction() {
    if (!active) return 0;
    if (!Data::mouseHeld) {
        if (down) {
            Audio::PlaySound(20, 1.0f);
            down = 0;
            if (callback) callback->Call(this);
            return 1;
        }
        ok = 1;
    } else if (ok) {
        down = 1;
        ok = 0;
    }
    return 0;
}

void GUIClickButton::Render() {
    if (font == nullptr) return;
    if (alpha.value < 1) platform::SetAlpha(alpha.value);
    platform::SetColor(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b));
    font->DrawText(text, TruncToInt(x), TruncToInt(y));
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1);
}
