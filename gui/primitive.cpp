// Box widgets.
#include "gui/primitive.hpp"

#include "platform/graphics.hpp"

std::unique_ptr<GUIPool<GUIPrimitive>> GUIPrimitive::pool;

GUIPrimitive* GUIPrimitive::Create(float x, float y, int w, int h, const std::string& type, int colour,
                                   int outline) {
    GUIPrimitive* p = pool->Get4(1);
    p->Init14(x, y, w, h, type, colour, outline);
    return p;
}

void GUIPrimitive::Init14(float px, float py, int pw, int ph, const std::string& t, int colour, int o) {
    x = px;
    y = py;
    w = pw;
    h = ph;
    type = t;
    outline = o;
    r = (colour >> 16) & 0xff;
    g = (colour >> 8) & 0xff;
    b = colour & 0xff;
    FadeIn(1.0f, 1);
}

void GUIPrimitive::Render() {
    if (alpha.value < 1) platform::SetAlpha(alpha.value);
    const bool box = type == "box";
    if (outline && box) {
        platform::SetColor(0, 0, 0);
        platform::DrawRect(x - 1, y - 1, static_cast<float>(w + 2), static_cast<float>(h + 2));
    }
    platform::SetColor(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b));
    if (box) platform::DrawRect(x, y, static_cast<float>(w), static_cast<float>(h));
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1);
}
