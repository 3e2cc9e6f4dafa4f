// The rules of the tree-bashing distress game.
#include "minigames/gametree.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "framework/framework.hpp"

namespace {

float Radians(float degrees) {
    return degrees * std::numbers::pi_v<float> / 180.0f;
}

}  // namespace

TreeRules::TreeRules(int difficulty, bool cluesActive, DistressRandom random, float width, float height)
    : DistressPlay(difficulty, cluesActive, std::move(random), width, height) {}

void TreeRules::Update(const DistressInput& in, bool buttonPressed) {
    BeginEvents();
    clock.Tick(in.frameMs);
    if (done == 0 && started == 0 && ok != 0 && buttonPressed && in.mouseHeld) started = 1;
    if (done == 0 && ok != 0 && started != 0 && in.mouseHeld) {
        if (ring == 0) {
            Emit(DistressEvent::kSound, 28);
            ring = kRingStart;
        }
        ringAlpha = std::min(1.0f, ringAlpha + in.frameMs * 0.0025f);
        ring += in.frameMs * 0.5f;
        if (ring > kRingMax) ring = kRingStart;
    }
    if (!in.mouseHeld && ring > 0) Strike(in);
    if (ring == 0) {
        ringAlpha = std::max(0.0f, ringAlpha - in.frameMs * 0.001f);
        if (ringAlpha == 0 && !in.mouseHeld) ok = 1;
    }
    if (angleStrength > 0) {
        angleCounter += in.frameMs;
        angle = std::sin(Radians(angleCounter * 0.5f)) * angleStrength;
        angleStrength -= in.frameMs * 0.015f;
    }
}

void TreeRules::Strike(const DistressInput& in) {
    ok = 0;
    started = 0;
    const float p = ring / kRingMax;
    ring = 0;
    angleCounter = 0;
    angleStrength = p * 50;
    Emit(DistressEvent::kExplosion, TruncToInt(p * 128 + 12), width * 0.5f, height * 0.5f);
    Emit(DistressEvent::kDropTools, 0);
    if (p > 0.65f) {
        Score((p > 0.8f ? 4 : 3) * difficulty, in.mouseX, in.mouseY, in.mouseX, in.mouseY + 16);
        Emit(DistressEvent::kSound, 0);
        Cat();
        Cat();
    } else if (p > 0.5f) {
        Score(difficulty, in.mouseX, in.mouseY, 0, 0, false);
        Emit(DistressEvent::kSound, 19);
        Cat();
    } else {
        Emit(DistressEvent::kSound, 14);
        Emit(DistressEvent::kTooWeak, 0);
    }
}

void TreeRules::Cat() {
    DistressEvent cat;
    cat.kind = DistressEvent::kCat;
    cat.angle = 250 + Draw(0, 40);
    cat.x = static_cast<float>(TruncToInt(std::cos(Radians(cat.angle)) * kCatRadius + width * 0.5f));
    cat.y = static_cast<float>(TruncToInt(std::sin(Radians(cat.angle)) * kCatRadius + height * 0.5f));
    cat.rotation = Draw(0, 360);
    events_.push_back(cat);
}

void TreeRules::Play(const DistressInput& /*in*/) {
    BeginEvents();
    if (done != 0 || clock.time > 0) return;
    done = 1;
    success = 1;
}

void TreeRules::CheckRotate(float newWidth, float newHeight) {
    width = newWidth;
    height = newHeight;
}

void TreeRules::RingColour(float ring, int& r, int& g, int& b) {
    b = 0;
    if (ring <= 200) {
        r = TruncToInt(ring / 200 * 255);
        g = 255;
    } else if (ring <= 350) {
        r = 255;
        g = TruncToInt((1 - (ring - 200) / 150) * 255);
    } else {
        r = 255;
        g = 0;
    }
}
