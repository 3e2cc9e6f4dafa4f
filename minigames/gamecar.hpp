#pragma once
// The rules of the car-dodging distress game: seen from above, cars come down the left half of
// the road and up the right half; each car that comes into play earns reputation, and the hero,
// who glides after the held mouse, dodges them until every car has passed or one hits him. The
// screen item draws the road, the hero and the cars where these rules put them.
#include <array>
#include <vector>

#include "minigames/distressplay.hpp"

// One car.
class Driver {
  public:
    // Moves along the heading for `frameMs` milliseconds.
    void Update2(float frameMs);

    float s = 0;  // units per millisecond
    float r = 0;  // heading in degrees: 86 to 93 downward, 266 to 273 upward
    float x = 0;  // centre
    float y = 0;
    int img = 0;   // 0 "MinigameCar", 1 "MinigameCar2", 2 "MinigameCar3"
    int data = 0;  // 1 once counted
};

// Play, in frame order: `Update` before the frame's wait, then the frame's end sequence, then
// `Play` while the game is on. The road clears itself, so play needs no clean-up of its own.
class CarRules : public DistressPlay {
  public:
    // The hero glides to the held mouse in this long.
    static constexpr float kGlideMs = 250.0f;
    // A car is counted once it is this far in from the edge it came from.
    static constexpr float kCountBand = 48.0f;

    // The widths of the hero's picture and of the three car pictures decide what counts as a hit.
    CarRules(int difficulty, bool cluesActive, DistressRandom random, float width, float height,
             float heroWidth = 80, std::array<float, 3> carWidths = {64, 64, 64});

    // The hero glides towards the held mouse.
    void Update(const DistressInput& in);
    // Cars are sent, move, hit, are counted and leave; when all have passed, the hero is safe.
    void Play(const DistressInput& in);
    // The screen turned: the hero's sideways glide stops and his x follows the new width.
    void CheckRotate(float newWidth, float newHeight);

    // A new car at the edge its heading comes from.
    Driver Driver_new();

    std::vector<Driver> objects;
    // The hero's centre.
    float px = 0;
    float py = 0;
    // Cars to send (16 to 23) and sent so far; milliseconds to the next.
    int target = 0;
    int count = 0;
    float delay = 0;

  private:
    // The hero's glide: from where it started to where the mouse was, over kGlideMs.
    struct Glide {
        float from = 0, to = 0, elapsed = 0;
        bool active = false;
        float Advance(float ms);
    };
    Glide glideX_, glideY_;
    float heroWidth_;
    std::array<float, 3> carWidths_;
};
