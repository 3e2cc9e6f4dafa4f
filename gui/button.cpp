// The shared button machine, and image buttons.
#include "gui/button.hpp"

#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/gui2.hpp"
#include "model/data2.hpp"
#include "platform/graphics.hpp"

namespace {
constexpr int kPressSound = 8;  // "Click"
constexpr int kFireSound = 20;  // "OTick"
}  // namespace

void GUIPressable::TweenScale(int ms, float from, float to) {
    Data::KillTweens(&scale);
    Data::AddTween(&scale, ms, from, to);
}

void GUIPressable::ShowOver() {
    TweenScale(100, 1.0f, 1.1f);
}

void GUIPressable::ShowLeave() {
    TweenScale(50, scale.value, 1.0f);
}

void GUIPressable::ShowPress() {
    TweenScale(25, scale.value, 0.98f);
}

void GUIPressable::ShowFire() {
    TweenScale(50, scale.value, 1.0f);
}

int GUIPressable::UpdateAction() {
    if (GUIList::inputBlocked) {
        if (state == "over" || state == "press") state = "down";
        return 0;
    }
    if (!active) return 0;
    if (wait > 0) {
        --wait;
        // A press held while the button still waits began before it listened: it never fires it.
        if (Data::mouseHeld) state = "down";
        return 0;
    }
    if (MouseOver(1)) {
        if (state != "over" && state != "down" && state != "press") {
            if (state != "trigger") Audio::PlaySound(HoverSound(), 1.0f);
            state = "over";
            ShowOver();
        }
    } else if (state == "over") {
        state.clear();
        ShowLeave();
    }
    if (Data::mouseHeld) {
        // A press already under way when the button first looks (made, or set going, under a
        // held mouse: a click on the map or a dialogue as a popup came up) began elsewhere.
        if (state == "over" && armed) {
            Audio::PlaySound(kPressSound, 1.0f);
            state = "press";
            ShowPress();
        } else if (state != "press") {
            state = "down";
        } else if (!MouseOver(0)) {
            state.clear();
        }
    } else {
        armed = 1;
        if (state == "press") {
            Audio::PlaySound(kFireSound, 1.0f);
            const unsigned clears = clearCount;
            if (callback) callback->Call(this);
            // The callback may have closed the screen or popup this button was on: the object
            // is then back in its pool and no longer this button.
            if (clearCount != clears) return 1;
            state = "trigger";
            ShowFire();
            return 1;
        }
        if (state == "down" || state == "trigger") state.clear();
    }
    return 0;
}

std::unique_ptr<GUIPool<GUIButton>> GUIButton::pool;

GUIButton* GUIButton::Create(float x, float y, const std::string& imageName, Callback* callback) {
    GUIButton* b = pool->Get4(1);
    b->Init11(x, y, imageName, callback);
    return b;
}

void GUIButton::Init11(float px, float py, const std::string& imageName, Callback* cb) {
    frame = 0;
    state.clear();
    wait = 0;
    armed = 0;
    x = px;
    y = py;
    callback = cb;
    image = briskGame->images->Find(imageName);
    SizeToPicture(image);
    FadeIn(1.0f, 1);
}

void GUIButton::Render() {
    if (image == nullptr) return;
    if (alpha.value < 1) platform::SetAlpha(alpha.value);
    const float s = scale.value;
    image->Draw2(x + static_cast<float>(xadd) - (s - 1) * static_cast<float>(w) * 0.5f,
                 y + static_cast<float>(yadd) - (s - 1) * static_cast<float>(h) * 0.5f, 0, s, s, frame);
    platform::SetAlpha(1);
}
