// The tween registry: values animated by pooled tweens, advanced by the per-frame update.
#include <vector>

#include "core/collections.hpp"
#include "core/tween.hpp"
#include "model/data2.hpp"
#include "platform/app.hpp"

void Data::AddTween(FloatObject* var, int ms, float from, float to) {
    if (var == nullptr) return;
    Tween* tween = Tween::CreateLinear(ms, from, to, from);
    if (tween == nullptr) {
        // Logic waits for animated values to arrive (the hero on its node, a faded item at 0), so
        // an animation that cannot run must still end where it was going.
        if (!tweenWarned) {
            platform::PrintLine("No free tween: values jump to their end");
            tweenWarned = true;
        }
        var->value = to;
        return;
    }
    tween->nextType = Tween::kNextDestroy;
    tween->currentTicks = 0;
    tweenRegistry.push_back(TweenItem{var, tween});
}

void Data::KillTweens(FloatObject* var) {
    std::erase_if(tweenRegistry, [var](const TweenItem& item) {
        if (item.var != var) return false;
        Tween::DestroyTween(item.tween->thisIndex);
        return true;
    });
}

void Data::AdvanceTweens(int ms) {
    Tween::UpdateAll(ms);
    // A finished tween leaves its value exactly at its end, whatever the last frame's step was.
    std::erase_if(tweenRegistry, [](const TweenItem& item) {
        item.var->value = item.tween->value;
        if (item.tween->active) return false;
        item.var->value = item.tween->linearEnd;
        return true;
    });
}
