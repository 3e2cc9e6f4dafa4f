#pragma once
// Dot particles: tinted, additively blended dots from one image, flying, fading and growing on
// their own, for the mouse trail, explosions (two growing shock rings and a spray of sparks) and
// bangs (a spray of sparks). The dots come from one pool of 1024 that grows by a further block
// (with one printed line) rather than ending the game.
#include "core/pool.hpp"

class GameImage;

// What a dot bound to the map needs of it: the map's scroll position, so the dot keeps its place
// on the map while the map scrolls. The map screen implements it; its dots end when a screen
// starts (`GUIParticleDot::ReleaseMapDots`), since the map they ask is gone or about to go.
class ParticleMap {
  public:
    // A map that goes takes its dots with it: they would otherwise ask it where it has scrolled
    // to from the next screen (the act card or the end game) on.
    virtual ~ParticleMap();
    virtual float MapXP() const = 0;
    virtual float MapYP() const = 0;
};

// One dot. `Update2` is its per-frame step, `Init4` starts it, `Clear2` gives it back.
class ParticleDotData {
  public:
    void Init4(int x, int y, float size, int colour, float angle, float speed, float drag, float gravity);
    void Update2();
    void Render();
    // The fade lasts `speed` ms and begins when `wait` has run down (0.075 per ms).
    void FadeOut(int speed, int wait);
    // Grows (or shrinks) to `dest` over `time` ms.
    void SetScale(float dest, float time);
    void Clear2();

    PoolMark inUse;
    int r = 0, g = 0, b = 0;
    float angle = 0;  // degrees, 90 straight down
    float speed = 0;  // units per tick (a tick is 1 / 0.075 ms)
    float drag = 0;
    float gravity = 0;
    ParticleMap* map = nullptr;
    int w = 0, h = 0;
    float x = 0, y = 0;
    float alpha = 1.0f;
    float scale = 1.0f;
    int alphaActive = 0;
    int scaleActive = 0;
    float alphaSpeed = 0;
    float alphaWait = 0;
    float scaleDest = 0;
    float scaleSpeed = 0;
};

// The dot pool and the dot factories. `Init` fills the pool.
class GUIParticleDot {
  public:
    static constexpr int kPoolSize = 1024;

    static void Init();
    // The lowest free dot; with every dot flying the pool grows by another block.
    static ParticleDotData* Get();
    static ParticleDotData* Create(int x, int y, float size, int colour, float angle, float speed, float drag,
                                   float gravity);
    // An explosion of strength n: two growing rings in ringColour and n + 1 sparks (half as many
    // with the quality setting off). Nothing for n of 0 or less.
    static void CreateExplosion(int x, int y, int n, int sparkColour, int ringColour, ParticleMap* map);
    // n sparks (three quarters with the quality setting off) flying out at k * spread.
    static void CreateBang(int x, int y, int n, int colour, float spread, ParticleMap* map);

    // Dots made so far and dots flying.
    static int PoolSize();
    static int InUse();
    static ParticleDotData* At(int index);
    // Ends every dot bound to a map.
    static void ReleaseMapDots();

    // The dot image (the bank's "Particle32x32"), looked up at the first dot; null until found.
    static GameImage* image;

    static void InitGlobals();

  private:
    static Pool<ParticleDotData>& Dots();
};
