#pragma once
// Pooled linear tweens. The pool is fixed (200) and filled once; running out is not an error:
// CreateLinear then gives null and the caller sets its value directly.
#include <array>
#include <memory>

// One tween, and (as class members) the pool that owns them all.
class Tween {
  public:
    static constexpr int kPoolSize = 200;
    static constexpr int kNextRestart = 0;
    static constexpr int kNextDestroy = 3;

    int thisIndex = 0;
    int active = 0;
    int type = 0;  // 0 linear, the only kind the game makes
    int nextType = kNextRestart;
    int length = 0;
    float linearStart = 0, linearEnd = 0, linearInitial = 0;
    float value = 0;
    int currentTicks = 0;

    // Empties the pool and resets the search start; part of the global initialiser.
    static void InitGlobals();
    // Fills every slot with a fresh tween, tween i having thisIndex i.
    static void CacheTweens();
    static int FindEmpty();
    static Tween* CreateLinear(int length, float start, float end, float initial);
    static void DestroyTween(int index);
    static float CalcValue(int index);
    static void UpdateTween(int index, int ms);
    static void UpdateAll(int ms);
    static Tween* Get(int index);
};
