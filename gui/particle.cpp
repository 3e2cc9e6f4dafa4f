// Flying pictures and texts: set-up, flight and drawing.
#include "gui/particle.hpp"

#include <cmath>

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/gui2.hpp"
#include "model/data2.hpp"
#include "platform/graphics.hpp"

std::unique_ptr<GUIPool<GUIParticle>> GUIParticle::pool;

GUIParticle* GUIParticle::Create(int x, int y, const std::string& imageName, const std::string& text,
                                 GlyphFont* font, int colour) {
    GUIParticle* p = pool->Get4(1);
    p->Init6(x, y, imageName, text, font, colour);
    return p;
}

void GUIParticle::Init6(int px0, int py0, const std::string& imageName, const std::string& t, GlyphFont* f,
                        int colour) {
    image = nullptr;
    frame = 0;
    text.clear();
    font = nullptr;
    r = g = b = 0;
    tx = ty = 0;
    angle = speed = drag = gravity = rotate = 0;
    w = h = 0;
    px.value = x = static_cast<float>(px0);
    py.value = y = static_cast<float>(py0);
    if (!imageName.empty() && briskGame && briskGame->images) {
        image = briskGame->images->Get(UpperKey(imageName));
        if (image) {
            w = image->w;
            h = image->h;
        }
    }
    text = t;
    font = f;
    r = (colour >> 16) & 0xff;
    g = (colour >> 8) & 0xff;
    b = colour & 0xff;
    if (font) {
        const int tw = font->TextWidth(text);
        const int th = font->TextHeight(text);
        if (w >= tw) {
            tx = (w - tw) / 2;
        } else {
            w = tw;
        }
        if (h >= th) {
            ty = (h - th) / 2;
        } else {
            h = th;
        }
    }
    if (w == 0) w = 32;
    if (h == 0) h = 32;
    alpha.value = 1.0f;
}

void GUIParticle::Move2(float a, float s) {
    angle = a;
    speed = s;
}

int GUIParticle::Update2() {
    GUIItem::Update2();
    if (alpha.value == 0.0f || scale.value == 0.0f) {
        if (processed) GUIList::Remove(this);
        return 0;
    }
    const float t = Data::frameMs * 0.075f;
    if (speed > 0) {
        constexpr float kDegToRad = 3.14159265358979f / 180.0f;
        px.value += std::cos(angle * kDegToRad) * speed * t;
        py.value += std::sin(angle * kDegToRad) * speed * t;
    }
    if (drag != 0) speed -= t * drag;
    if (gravity != 0) py.value += t * gravity;
    x = px.value;
    y = py.value;
    return 0;
}

void GUIParticle::Render() {
    if (alpha.value < 1) platform::SetAlpha(alpha.value);
    if (image) {
        const float s = scale.value;
        image->Draw2(x - (s - 1) * static_cast<float>(w) * 0.5f, y - (s - 1) * static_cast<float>(h) * 0.5f,
                     rotate, s, s, frame);
    }
    if (font && !text.empty()) {
        platform::SetColor(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b));
        font->DrawText(text, TruncToInt(x + static_cast<float>(tx)), TruncToInt(y + static_cast<float>(ty)));
        platform::SetColor(255, 255, 255);
    }
    platform::SetAlpha(1);
}
