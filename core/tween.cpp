// The tween pool and how a linear tween advances.
#include "core/tween.hpp"

namespace {
std::array<std::unique_ptr<Tween>, Tween::kPoolSize> tweenPool;
int searchStart = 0;

Tween& Slot(int i) {
    if (!tweenPool[i]) {
        tweenPool[i] = std::make_unique<Tween>();
        tweenPool[i]->thisIndex = i;
    }
    return *tweenPool[i];
}
}  // namespace

void Tween::InitGlobals() {
    for (auto& slot : tweenPool) slot.reset();
    searchStart = 0;
}

void Tween::CacheTweens() {
    for (int i = 0; i < kPoolSize; ++i) {
        tweenPool[i] = std::make_unique<Tween>();
        tweenPool[i]->thisIndex = i;
    }
}

Tween* Tween::Get(int index) {
    if (index < 0 || index >= kPoolSize) return nullptr;
    return &Slot(index);
}

int Tween::FindEmpty() {
    int i = searchStart;
    do {
        if (Slot(i).active == 0) return i;
        i = (i + 1) % kPoolSize;
    } while (i != searchStart);
    return -1;
}

Tween* Tween::CreateLinear(int length, float start, float end, float initial) {
    int index = FindEmpty();
    if (index < 0) return nullptr;
    Tween& t = Slot(index);
    t.active = 1;
    t.type = 0;
    t.nextType = kNextRestart;
    t.length = length;
    t.linearStart = start;
    t.linearEnd = end;
    t.linearInitial = initial;
    t.value = initial;
    t.currentTicks = 0;
    return &t;
}

void Tween::DestroyTween(int index) {
    Tween* t = Get(index);
    if (!t) return;
    t->active = 0;
    searchStart = index;
}

float Tween::CalcValue(int index) {
    const Tween* found = Get(index);
    if (!found) return 0.0f;
    const Tween& t = *found;
    // A zero-length tween has no ratio; it sits at its initial value.
    if (t.length <= 0 || t.linearEnd == t.linearStart) return t.linearInitial;
    float ratio = static_cast<float>(t.currentTicks) / static_cast<float>(t.length);
    return t.linearInitial + ratio * (t.linearEnd - t.linearStart);
}

void Tween::UpdateTween(int index, int ms) {
    Tween* t = Get(index);
    if (!t || !t->active) return;
    if (t->length <= 0) {
        // Nothing to play: it ends at once, so a restarting one cannot spin forever on a
        // remainder it never consumes.
        if (ms > 0 || t->nextType == kNextRestart) {
            t->value = t->linearEnd;
            DestroyTween(index);
        }
        return;
    }
    int remainder = ms;
    for (;;) {
        // Compared as a difference: a huge frame time must not overflow the sum.
        if (remainder <= t->length - t->currentTicks) {
            t->currentTicks += remainder;
            t->value = CalcValue(index);
            return;
        }
        remainder -= t->length - t->currentTicks;
        if (t->nextType != kNextRestart) {
            DestroyTween(index);
            return;
        }
        t->currentTicks = 0;
        // A long stall over a short restarting tween only needs the phase, not every lap.
        if (remainder > t->length) remainder = (remainder - 1) % t->length + 1;
    }
}

void Tween::UpdateAll(int ms) {
    for (int i = 0; i < kPoolSize; ++i) {
        if (tweenPool[i] && tweenPool[i]->active) UpdateTween(i, ms);
    }
}

