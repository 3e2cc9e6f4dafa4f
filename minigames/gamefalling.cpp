// The rules of the falling-objects distress game.
#include "minigames/gamefalling.hpp"

#include <algorithm>

#include "framework/framework.hpp"

FallingRules::FallingRules(int difficulty, bool cluesActive, DistressRandom random, float width, float height,
                           float signWidth, float signHeight)
    : DistressPlay(difficulty, cluesActive, std::move(random), width, height),
      signW_(signWidth),
      signH_(signHeight) {
    const int x0 = TruncToInt(width * 0.5f);
    heroX = static_cast<float>(x0 - 16);
    ladyX = static_cast<float>(x0 + 16);
    target = DrawInt(7, 14);
    falling.reserve(static_cast<size_t>(target));
}

void FallingRules::SetHeroBody(float top, float bodyHeight) {
    heroY = top;
    heroHeight = bodyHeight;
}

void FallingRules::Update(const DistressInput& in) {
    BeginEvents();
    const float ticks = in.frameMs * 0.075f;
    const float pointX = heroX + 16;
    const float pointY = heroY + 0.5f * heroHeight;
    // Signs fall on their own, as the particles they are; the checks below may stop early.
    for (Sign& sign : falling) sign.y += sign.speed * ticks;
    for (size_t i = 0; i < falling.size(); ++i) {
        Sign& sign = falling[i];
        const int x1 = TruncToInt(sign.x + 0.5f * signW_ - 0.5f * signW_ * kSignScale);
        const int x2 = TruncToInt(x1 + signW_ * kSignScale);
        const int y1 = TruncToInt(sign.y + 0.5f * signH_ - 0.5f * signH_ * kSignScale);
        const int y2 = TruncToInt(y1 + signH_ * kSignScale);
        if (sign.y > height) {
            // One sign leaves per frame; the ones behind it wait for the next.
            Emit(DistressEvent::kGone, sign.number);
            falling.erase(falling.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
        if (sign.data == 0 && sign.y > kCountLine) {
            sign.data = 1;
            const float cx = sign.x + 0.5f * signW_;
            Score(3 * difficulty, cx, sign.y + 0.5f * signH_, cx, sign.y + 0.65f * signH_);
        } else if (x2 > pointX && x1 < pointX && y2 > pointY && y1 < pointY) {
            done = 1;
            break;
        }
    }
    if (done == 0 && in.mouseHeld) {
        const int b = std::clamp(TruncToInt(in.mouseX), 32, std::max(32, TruncToInt(width) - 32));
        heroX = static_cast<float>(b - 16);
        ladyX = static_cast<float>(b + 16);
    }
}

void FallingRules::Play(const DistressInput& in) {
    BeginEvents();
    if (done != 0) return;
    obj -= in.frameMs;
    if (count < target && obj <= 0) {
        ++count;
        obj = Draw(0, 1) * 500 + 1000;
        float g = width < height ? 2.0f : (height > 480 ? 1.5f : 1.0f);
        if (width > 800) g *= 1.5f;
        Sign sign;
        sign.number = count;
        sign.x = Draw(0, 1) * (width - signW_);
        sign.frame = DrawInt(2, 6);
        sign.y = -signH_;
        sign.speed = speed * g;
        falling.push_back(sign);
        speed += 0.5f;
    }
    if (count >= target && falling.empty()) {
        done = 1;
        success = 1;
    }
}

void FallingRules::Cleanup() {
    BeginEvents();
    heroX = ladyX = -256;
    for (const Sign& sign : falling) Emit(DistressEvent::kGone, sign.number);
    falling.clear();
}

void FallingRules::CheckRotate(float newWidth, float newHeight) {
    width = newWidth;
    height = newHeight;
    const float f = width < height ? 2.0f : 0.5f;
    for (Sign& sign : falling) sign.speed *= f;
}
