// Container buttons: the highlight frame and drawing the container as the button.
#include "gui/containerbutton.hpp"

#include "model/data2.hpp"
#include "platform/graphics.hpp"

std::unique_ptr<GUIPool<GUIContainerButton>> GUIContainerButton::pool;

GUIContainerButton* GUIContainerButton::Create(float x, float y, GUIContainer* container,
                                               Callback* callback) {
    GUIContainerButton* c = pool->Get4(1);
    c->Init15(x, y, container, callback);
    return c;
}

void GUIContainerButton::Init15(float px, float py, GUIContainer* c, Callback* cb) {
    state.clear();
    wait = 0;
    armed = 0;
    // An object given back while hovered would otherwise come back with its frame lit.
    Data::KillTweens(&frameAlpha);
    frameAlpha.value = 0;
    x = px;
    y = py;
    container = c;
    callback = cb;
    frame = nullptr;
    w = h = 0;
    if (container) {
        w = container->w;
        h = container->h;
        frame = GUIContainer::Create(0, 0);
        frame->w = w - 80;
        frame->h = h - 80;
        AddFrameQuarters(frame, "FramePopupBright", 40);
    }
    if (w == 0) w = 32;
    if (h == 0) h = 32;
    FadeIn(1.0f, 1);
}

void GUIContainerButton::Clear2() {
    GUIPressable::Clear2();
    Data::KillTweens(&frameAlpha);
    if (frame) frame->Clear2();
    if (container) container->Clear2();
    frame = nullptr;
    container = nullptr;
}

void GUIContainerButton::TweenFrame(int ms, float to) {
    Data::KillTweens(&frameAlpha);
    Data::AddTween(&frameAlpha, ms, frameAlpha.value, to);
}

void GUIContainerButton::ShowOver() {
    TweenFrame(100, 1.0f);
}
void GUIContainerButton::ShowLeave() {
    TweenFrame(50, 0.0f);
}
void GUIContainerButton::ShowPress() {
    TweenFrame(25, 0.0f);
}
void GUIContainerButton::ShowFire() {
    TweenFrame(50, 0.0f);
}

void GUIContainerButton::Render() {
    if (container == nullptr) return;
    container->x = x;
    container->y = y;
    const float ownAlpha = container->alpha.value;
    container->alpha.value = alpha.value;
    container->Render();
    container->alpha.value = ownAlpha;
    platform::SetAlpha(1);
    if (frame && frameAlpha.value > 0) {
        frame->x = x;
        frame->y = y;
        const float frameOwn = frame->alpha.value;
        frame->alpha.value = frameAlpha.value;
        frame->Render();
        frame->alpha.value = frameOwn;
        platform::SetAlpha(1);
    }
}
