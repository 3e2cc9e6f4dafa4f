#pragma once
// The one seeded random generator. Draws are uniform in [low, high): the result never reaches
// high, even after float rounding.
namespace platform {

void SetSeed(int seed);
int GetSeed();
float Rnd();                       // [0, 1)
float Rnd(float range);            // [0, range)
float Rnd(float low, float high);  // [low, high)

}  // namespace platform
