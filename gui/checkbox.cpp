// Checkboxes: toggling on the press and drawing the tick.
#include "gui/checkbox.hpp"

#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "model/data2.hpp"
#include "platform/graphics.hpp"

namespace {
constexpr int kToggleSound = 8;  // "Click"
}  // namespace

int GUICheckbox::checkArmed = 0;
std::unique_ptr<GUIPool<GUICheckbox>> GUICheckbox::pool;

GUICheckbox* GUICheckbox::Create(float x, float y, int state, Callback* callback) {
    GUICheckbox* c = pool->Get4(1);
    c->Init16(x, y, state, callback);
    return c;
}

void GUICheckbox::Init16(float px, float py, int s, Callback* cb) {
    ok = 0;
    image = briskGame->images->Get(UpperKey("OptionsIcons64x64"));
    w = image ? image->w : 0;
    h = image ? image->h : 0;
    x = px;
    y = py;
    state = s;
    callback = cb;
    FadeIn(1.0f, 1);
}

int GUICheckbox::UpdateAction() {
    if (!active) return 0;
    if (!Data::mouseHeld) {
        checkArmed = 1;
        ok = 1;
        return 0;
    }
    if (ok) {
        ok = 0;
        if (MouseOver(1) && checkArmed) {
            checkArmed = 0;
            Audio::PlaySound(kToggleSound, 1.0f);
            state = 1 - state;
            if (callback) callback->Call(this);
            return 1;
        }
    }
    return 0;
}

void GUICheckbox::Render() {
    if (image == nullptr) return;
    if (alpha.value < 1) platform::SetAlpha(alpha.value);
    const float X = x + static_cast<float>(xadd), Y = y + static_cast<float>(yadd);
    image->Draw2(X, Y, 0, 1, 1, 0);
    if (state) image->Draw2(X, Y, 0, 1, 1, 2);
    platform::SetAlpha(1);
}
