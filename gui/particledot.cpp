// Dot particles: the pool, one dot's flight, fade and growth, explosions and bangs.
#include "gui/particledot.hpp"

#include <algorithm>
#include <cmath>

#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "model/data2.hpp"
#include "platform/app.hpp"
#include "platform/graphics.hpp"
#include "platform/random.hpp"

GameImage* GUIParticleDot::image = nullptr;

namespace {

constexpr float kDegToRad = 3.14159265358979f / 180.0f;
bool warnedNoImage = false;

GameImage* DotImage() {
    if (GUIParticleDot::image == nullptr && briskGame && briskGame->images) {
        GUIParticleDot::image = briskGame->images->Get(UpperKey("Particle32x32"));
        if (GUIParticleDot::image == nullptr && !warnedNoImage) {
            warnedNoImage = true;
            platform::PrintLine("Particles: the image Particle32x32 is not loaded; dots stay invisible");
        }
    }
    return GUIParticleDot::image;
}

}  // namespace

void ParticleDotData::Init4(int px, int py, float size, int colour, float a, float s, float d, float grav) {
    inUse = 1;
    DotImage();
    r = (colour >> 16) & 0xff;
    g = (colour >> 8) & 0xff;
    b = colour & 0xff;
    angle = a;
    speed = s;
    drag = d;
    gravity = grav;
    map = nullptr;
    w = h = TruncToInt(size);
    x = static_cast<float>(px);
    y = static_cast<float>(py);
    alpha = scale = 1.0f;
    alphaActive = scaleActive = 0;
    alphaSpeed = alphaWait = 0;
    scaleDest = scaleSpeed = 0;
}

void ParticleDotData::FadeOut(int fadeSpeed, int wait) {
    alphaSpeed = static_cast<float>(fadeSpeed);
    alphaWait = static_cast<float>(wait);
}

void ParticleDotData::SetScale(float dest, float time) {
    scaleActive = 1;
    scaleDest = dest;
    if (!(time > 0)) {
        // No time to grow in: the dot is at its size at once, rather than dividing by nothing.
        scale = dest;
        scaleSpeed = 0;
        scaleActive = 0;
        return;
    }
    scaleSpeed = (dest - scale) / time;
}

void ParticleDotData::Clear2() {
    inUse = 0;
    map = nullptr;
}

void ParticleDotData::Update2() {
    const float ms = Data::frameMs;
    if (scaleActive) {
        scale += ms * scaleSpeed;
        if ((scaleSpeed >= 0 && scale >= scaleDest) || (scaleSpeed < 0 && scale <= scaleDest)) {
            scale = scaleDest;
            scaleActive = 0;
        }
    }
    if (alphaWait > 0) {
        alphaWait -= ms * 0.075f;
        if (!(alphaWait > 0)) alphaActive = 1;
    }
    if (alphaActive) {
        // A fade of no length is over as soon as it begins.
        alpha = alphaSpeed > 0 ? std::max(0.0f, alpha - ms / alphaSpeed) : 0.0f;
    }
    if (!(alpha > 0) || !(scale > 0)) {
        Clear2();
        return;
    }
    const float t = ms * 0.075f;
    if (speed > 0) {
        x += std::cos(angle * kDegToRad) * speed * t;
        y += std::sin(angle * kDegToRad) * speed * t;
    }
    if (drag != 0) speed -= t * drag;
    if (gravity != 0) y += t * gravity;
}

void ParticleDotData::Render() {
    GameImage* dot = GUIParticleDot::image;
    if (dot == nullptr) return;
    if (alpha < 1) platform::SetAlpha(alpha);
    platform::SetColor(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b));
    platform::SetBlend(1);
    const float s = static_cast<float>(w) * scale / 24.0f;
    float dx = x, dy = y;
    if (map) {
        dx -= map->MapXP();
        dy -= map->MapYP();
    }
    dot->Draw2(dx, dy, 0, s, s, 0);
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1);
    platform::SetBlend(0);
}

ParticleMap::~ParticleMap() {
    const int n = GUIParticleDot::PoolSize();
    for (int i = 0; i < n; ++i) {
        ParticleDotData* dot = GUIParticleDot::At(i);
        if (dot->inUse && dot->map == this) dot->Clear2();
    }
}

Pool<ParticleDotData>& GUIParticleDot::Dots() {
    static Pool<ParticleDotData> dots("ParticleDotData", kPoolSize);
    return dots;
}

void GUIParticleDot::InitGlobals() {
    Dots().Reset();
    image = nullptr;
    warnedNoImage = false;
}

void GUIParticleDot::Init() {
    // The first block of dots is made now, at start-up, not at the first dot of play.
    Dots().Release(Dots().Acquire());
}

int GUIParticleDot::PoolSize() {
    return Dots().Size();
}

int GUIParticleDot::InUse() {
    return Dots().InUse();
}

ParticleDotData* GUIParticleDot::At(int index) {
    return &Dots().At(index);
}

void GUIParticleDot::ReleaseMapDots() {
    const int n = PoolSize();
    for (int i = 0; i < n; ++i) {
        ParticleDotData* dot = At(i);
        if (dot->inUse && dot->map != nullptr) dot->Clear2();
    }
}

ParticleDotData* GUIParticleDot::Get() {
    return Dots().Acquire();
}

ParticleDotData* GUIParticleDot::Create(int x, int y, float size, int colour, float angle, float speed,
                                        float drag, float gravity) {
    ParticleDotData* dot = Get();
    dot->Init4(x, y, size, colour, angle, speed, drag, gravity);
    return dot;
}

namespace {

int Shade(int colour, float shade) {
    const int r = TruncToInt(static_cast<float>((colour >> 16) & 0xff) * shade);
    const int g = TruncToInt(static_cast<float>((colour >> 8) & 0xff) * shade);
    const int b = TruncToInt(static_cast<float>(colour & 0xff) * shade);
    return (r << 16) | (g << 8) | b;
}

}  // namespace

void GUIParticleDot::CreateExplosion(int x, int y, int n, int sparkColour, int ringColour, ParticleMap* map) {
    if (n <= 0) return;
    const float t = std::min(static_cast<float>(n) * 15.0f, 1500.0f);
    const float fn = static_cast<float>(n);

    ParticleDotData* outer = Create(x, y, 1, ringColour, 0, 0, 0, 0);
    outer->map = map;
    outer->alpha = 0.25f;
    outer->FadeOut(TruncToInt(t * 0.75f), 1);
    outer->scale = fn * 0.25f;
    outer->SetScale(fn * 3.0f, t * 0.75f);

    ParticleDotData* inner = Create(x, y, 1, ringColour, 0, 0, 0, 0);
    inner->map = map;
    inner->alpha = 0.35f;
    inner->FadeOut(TruncToInt(t), 1);
    inner->scale = fn * 0.1f;
    inner->SetScale(fn * 2.5f, t);

    const int c = Data::qualityOn ? n : TruncToInt(fn * 0.5f);
    for (int i = 0; i <= c; ++i) {
        const float shade = platform::Rnd() * 0.5f + 0.5f;
        const float k = platform::Rnd(1.0f, fn * 0.035f);
        const float size = std::max(3.0f, k * 1.75f);
        const float angle = platform::Rnd() * 359.0f;
        ParticleDotData* spark =
            Create(x, y, size, Shade(sparkColour, shade), angle, k * 0.85f, k * 0.005f, 0);
        spark->map = map;
        spark->FadeOut(TruncToInt(t), 40);
    }
}

void GUIParticleDot::CreateBang(int x, int y, int n, int colour, float spread, ParticleMap* map) {
    if (n <= 0) return;
    const float fn = static_cast<float>(n);
    const int c = Data::qualityOn ? n : TruncToInt(fn * 0.75f);
    for (int i = 0; i < c; ++i) {
        const float shade = platform::Rnd() * 0.5f + 0.5f;
        const float k = platform::Rnd(1.0f, fn * 0.2f);
        const float size = std::max(3.0f, k * 1.75f);
        const float angle = platform::Rnd() * 359.0f;
        ParticleDotData* spark = Create(x, y, size, Shade(colour, shade), angle, k * spread, k * 0.0075f, 0);
        spark->map = map;
        spark->FadeOut(1000, 1);
    }
}
