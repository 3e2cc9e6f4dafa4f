// The one seeded random generator.
#include "platform/random.hpp"

#include <cmath>
#include <cstdint>

namespace platform {
namespace {

// The engine's seed global: the initialiser's 1234 until the game reseeds it.
uint32_t state = 1234;

float Next() {
    state = state * 1664525u + 1013904223u;
    // The top 24 bits fit a float exactly, so the result is always below 1.
    return static_cast<float>(state >> 8) / 16777216.0f;
}

}  // namespace

void SetSeed(int seed) {
    state = static_cast<uint32_t>(seed);
}
int GetSeed() {
    return static_cast<int>(state);
}

float Rnd() {
    return Next();
}

float Rnd(float range) {
    return Rnd(0.0f, range);
}

float Rnd(float low, float high) {
    const float r = low + Next() * (high - low);
    // Float rounding of low + r * (high - low) can land exactly on high; callers index with it.
    if (high > low && r >= high) return std::nextafter(high, low);
    if (high < low && r <= high) return std::nextafter(high, low);
    return r;
}

}  // namespace platform
