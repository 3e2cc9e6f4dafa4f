// Text buttons: sizing around the caption, the three looks, and drawing.
#include "gui/textbutton.hpp"

#include <algorithm>

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "model/data2.hpp"
#include "platform/graphics.hpp"

std::unique_ptr<GUIPool<GUITextButton>> GUITextButton::pool;

GUITextButton* GUITextButton::Create(float x, float y, const std::string& imageName, const std::string& text,
                                     GlyphFont* font, int colour, Callback* callback, int width) {
    GUITextButton* t = pool->Get4(1);
    t->Init9(x, y, imageName, text, font, colour, callback, width);
    return t;
}

void GUITextButton::Init9(float px, float py, const std::string& imageName, const std::string& caption,
                          GlyphFont* f, int colour, Callback* cb, int width) {
    bg = 1;
    image = nullptr;
    frame = 0;
    state.clear();
    wait = 0;
    armed = 0;
    selected = 0;
    anim = 1;
    tx = ty = tw = 0;
    w = h = 0;
    x = px;
    y = py;
    callback = cb;
    text = caption;
    font = f;
    r = (colour >> 16) & 0xff;
    g = (colour >> 8) & 0xff;
    b = colour & 0xff;
    if (!imageName.empty()) {
        image = briskGame->images->Find(imageName);
        if (image) {
            w = image->w;
            h = image->h;
        }
    }
    if (font) {
        tw = Data::ExTextWidth(text, font);
        if (image == nullptr) {
            const int T = font->TextWidth(text);
            if (width >= T) {
                w = width;
                tx = (width - T) / 2;
            } else {
                w = T;
                if (width == 0) {
                    w += 16;
                    tx = 8;
                }
            }
            h = font->TextHeight(text) + 8;
            ty = 4;
        } else {
            tx = (w - tw) / 2;
            ty = (h - Data::ExTextHeight(text, font)) / 2;
        }
    }
    if (w == 0) w = 32;
    if (h == 0) h = 32;
    FadeIn(1.0f, 1);
}

void GUITextButton::SetWidth(int width) {
    text = Data::ExTextSplit(text, font, width);
    tw = Data::ExTextWidth(text, font);
    const int th = Data::ExTextHeight(text, font);
    if (image == nullptr) {
        w = tw;
        h = th;
    } else {
        tx = (w - tw) / 2;
        ty = (h - th) / 2;
    }
}

// The three-frame look changes through its frames, not through scale.
void GUITextButton::ShowOver() {
    if (!anim) GUIPressable::ShowOver();
}
void GUITextButton::ShowLeave() {
    if (!anim) GUIPressable::ShowLeave();
}
void GUITextButton::ShowPress() {
    if (!anim) GUIPressable::ShowPress();
}
void GUITextButton::ShowFire() {
    if (!anim) GUIPressable::ShowFire();
}

bool GUITextButton::PressedLook() const {
    return state == "trigger" || state == "press" || active == 0 || wait > 0;
}

void GUITextButton::CaptionColour(float f) const {
    auto channel = [f](int c) {
        return static_cast<float>(std::clamp(TruncToInt(static_cast<float>(c) * f), 0, 255));
    };
    platform::SetColor(channel(r), channel(g), channel(b));
}

void GUITextButton::RenderImageAnim() {
    if (image) {
        if (PressedLook()) {
            image->Draw2(x, y, 0, 1, 1, frame + 2);
            CaptionColour(0.75f);
        } else if (state == "over") {
            image->Draw2(x, y, 0, 1, 1, frame + 1);
            CaptionColour(1.25f);
        } else {
            image->Draw2(x, y, 0, 1, 1, frame);
            CaptionColour(1.0f);
        }
        return;
    }
    if (!bg) {
        CaptionColour(1.0f);
        return;
    }
    float grey = 255;
    float captionFactor = 1.25f;
    if (PressedLook()) {
        grey = 192;
        captionFactor = 0.75f;
    } else if (state != "over" && selected == 0) {
        grey = 224;
        captionFactor = 1.0f;
    }
    const float fw = static_cast<float>(w), fh = static_cast<float>(h);
    platform::SetColor(grey, grey, grey);
    platform::DrawRect(x, y, fw, fh);
    platform::SetColor(0, 0, 0);
    platform::DrawLine(x, y, x + fw - 1, y);
    platform::DrawLine(x, y, x, y + fh - 1);
    platform::DrawLine(x, y + fh - 1, x + fw - 1, y + fh - 1);
    platform::DrawLine(x + fw - 1, y, x + fw - 1, y + fh - 1);
    CaptionColour(captionFactor);
}

void GUITextButton::RenderImage() {
    if (image) {
        const float s = scale.value;
        image->Draw2(x + static_cast<float>(xadd) - (s - 1) * static_cast<float>(w) * 0.5f,
                     y + static_cast<float>(yadd) - (s - 1) * static_cast<float>(h) * 0.5f, 0, s, s, frame);
    }
    CaptionColour(1.0f);
}

void GUITextButton::Render() {
    if (alpha.value < 1) platform::SetAlpha(alpha.value);
    if (anim) {
        RenderImageAnim();
    } else {
        RenderImage();
    }
    if (font) {
        Data::ExDrawText(TruncToInt(x + static_cast<float>(xadd + tx)),
                         TruncToInt(y + static_cast<float>(yadd + ty)), text, font, 1, tw, 65535);
    }
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1);
}
