// The shared outcome, rewards, random draws and events of the distress games' rules.
#include "minigames/distressplay.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "framework/framework.hpp"

DistressPlay::DistressPlay(int difficulty, bool cluesActive, DistressRandom random, float width, float height)
    : cluesActive(cluesActive ? 1 : 0),
      difficulty(difficulty),
      width(width),
      height(height),
      random_(std::move(random)) {
    // Room for a busy frame, so play itself never has to grow the list.
    events_.reserve(32);
}

bool DistressPlay::Back() {
    if (done != 0) return false;
    done = 1;
    success = 0;
    return true;
}

int DistressPlay::Rewards(std::array<Reward, 4>& out) const {
    if (success == 0) return 0;
    int n = 0;
    const int money = TruncToInt(bonus * 0.5);
    const int ethics = TruncToInt(money * 1.25);
    if (bonus > 0) out[n++] = {"Resource.Reputation", bonus};
    if (clues > 0) out[n++] = {"Resource.Clues", clues};
    if (money > 0) out[n++] = {"Resource.Money", money};
    if (ethics > 0) out[n++] = {"Attribute.Ethics", ethics};
    return n;
}

float DistressPlay::Draw(float low, float high) {
    const float r = random_ ? random_(low, high) : low;
    if (high <= low) return r;
    if (r >= high) return std::nextafter(high, low);
    return r < low ? low : r;
}

int DistressPlay::DrawInt(int low, int high) {
    if (high <= low) return low;
    const int v = TruncToInt(Draw(static_cast<float>(low), static_cast<float>(high)));
    if (v >= high) return high - 1;
    return v < low ? low : v;
}

void DistressPlay::Emit(DistressEvent::Kind kind, int value, float x, float y) {
    DistressEvent event;
    event.kind = kind;
    event.value = value;
    event.x = x;
    event.y = y;
    events_.push_back(event);
}

void DistressPlay::Score(int points, float x, float y, float clueX, float clueY, bool withClue) {
    bonus += points;
    Emit(DistressEvent::kSound, 9);
    Emit(DistressEvent::kReward, points, x, y);
    if (withClue && cluesActive != 0) {
        ++clues;
        Emit(DistressEvent::kClue, 1, clueX, clueY);
    }
}

void Countdown::Tick(float frameMs) {
    if (time > 0 && shown) time = std::max(0.0f, time - frameMs);
}

void Countdown::Text(char* out) const {
    const int s = TruncToInt(time / 1000.0f);
    const int c = TruncToInt((time - static_cast<float>(s) * 1000.0f) / 10.0f);
    std::snprintf(out, 16, c > 9 ? "%d.%d" : "%d.0%d", s, c);
}
