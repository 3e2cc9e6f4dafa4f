// Sliders: the knob following the held mouse, and drawing.
#include "gui/slider.hpp"

#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "model/data2.hpp"
#include "platform/graphics.hpp"

std::unique_ptr<GUIPool<GUISlider>> GUISlider::pool;

GUISlider* GUISlider::Create(float x, float y, int pos, Callback* callback) {
    GUISlider* s = pool->Get4(1);
    s->Init17(x, y, pos, callback);
    return s;
}

void GUISlider::Init17(float px, float py, int p, Callback* cb) {
    image = briskGame->images->Get(UpperKey("OptionsBar"));
    mark = briskGame->images->Get(UpperKey("OptionsIcons64x64"));
    w = image ? image->w : 0;
    h = image ? image->h : 0;
    x = px;
    y = py;
    pos = p;
    callback = cb;
    FadeIn(1.0f, 1);
}

int GUISlider::UpdateAction() {
    // Leaving the bar ends the drag: the knob stays where the mouse last was over it.
    if (!active || !Data::mouseHeld || !MouseOver(1)) return 0;
    pos = TruncToInt(Data::mouseVX - x);
    if (callback) callback->Call(this);
    return 1;
}

void GUISlider::Render() {
    if (image == nullptr) return;
    if (alpha.value < 1) platform::SetAlpha(alpha.value);
    const float X = x + static_cast<float>(xadd), Y = y + static_cast<float>(yadd);
    image->Draw2(X, Y, 0, 1, 1, 0);
    if (mark) {
        mark->Draw2(X + static_cast<float>(pos) - static_cast<float>(mark->w) * 0.5f, Y - 24, 0, 1, 1, 1);
    }
    platform::SetAlpha(1);
}
