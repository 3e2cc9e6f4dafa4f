// The GUI item base: pool reset, fade-out and fade-in, the mouse-over test and the size of a picture.
#include "gui/item.hpp"

#include "framework/banks.hpp"
#include "gui/gui2.hpp"
#include "model/data2.hpp"

int GUIItem::Compare(const IDepComparable* other) const {
    return priority - static_cast<const GUIItem*>(other)->priority;
}

void GUIItem::Clear2() {
    inUse = 0;
    processed = 1;
    Data::KillTweens(&scale);
    Data::KillTweens(&alpha);
    scale.value = 1.0f;
    alpha.value = 1.0f;
    id.clear();
    name.clear();
    value.clear();
    x = y = 0;
    xadd = yadd = 0;
    w = h = 0;
    padX = padY = 0;
    priority = 0;
    active = 1;
    suspended = 0;
    data = 0;
    fadeWait = 0;
    fadeSpeed = 0;
    removing = 0;
    ++clearCount;
}

int GUIItem::Update2() {
    if (fadeWait > 0) {
        fadeWait -= Data::frameMs * 0.075f;
        if (!(fadeWait > 0)) {
            fadeWait = 0;
            active = 0;
            removing = 1;
            Data::AddTween(&alpha, fadeSpeed, alpha.value, 0.0f);
        }
    }
    if (removing && alpha.value == 0.0f) GUIList::Remove(this);
    return 0;
}

int GUIItem::UpdateAction() {
    return 0;
}

void GUIItem::FadeOut(int speed, float wait) {
    fadeSpeed = speed;
    fadeWait = wait;
}

void GUIItem::FadeIn(float target, int flag) {
    if (flag == 0) {
        Data::KillTweens(&alpha);
        Data::AddTween(&alpha, 500, alpha.value, target);
    } else if (target != 1.0f) {
        Data::KillTweens(&alpha);
        Data::AddTween(&alpha, 500, 0.0f, target);
    } else {
        alpha.value = 0.0f;
        Data::AddTween(&alpha, 500, 0.0f, 1.0f);
    }
}

void GUIItem::Render() {}

int GUIItem::MouseOver(int claim) {
    if (claim && GUIList::hoverTaken) return 0;
    const float left = x + static_cast<float>(xadd);
    const float top = y + static_cast<float>(yadd);
    const bool inside = left <= Data::mouseVX && Data::mouseVX < left + static_cast<float>(w) &&
                        top <= Data::mouseVY && Data::mouseVY < top + static_cast<float>(h);
    if (inside && claim) GUIList::hoverTaken = 1;
    return inside ? 1 : 0;
}

void GUIItem::SizeToPicture(const GameImage* picture) {
    w = picture && picture->w != 0 ? picture->w : 32;
    h = picture && picture->h != 0 ? picture->h : 32;
}
