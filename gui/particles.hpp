#pragma once
// The dot particles as one layer over every game screen: the item list updates and draws them
// after all of its items.
class Particles {
  public:
    // Fills the dot pool (start-up, after the animations are loaded).
    static void Init();
    // Every flying dot's step, then every flying dot drawn, in pool order.
    static void Update();
    static void Render();
};
