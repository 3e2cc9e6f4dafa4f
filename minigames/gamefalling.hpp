#pragma once
// The rules of the falling-objects distress game: signs rain down on the street, each one that
// comes into play earns reputation, and the hero, steered with the held mouse, shields the lady
// until every sign has fallen or one hits him. The screen item draws the street, the pair and
// the signs where these rules put them.
#include <vector>

#include "minigames/distressplay.hpp"

// One falling sign: the image "Signs128x128", scaled about its centre.
struct Sign {
    int number = 0;  // which drop it was (1 for the first); names it in events
    float x = 0;     // top-left of the unscaled image
    float y = 0;
    float speed = 0;  // units per tick (a tick is 1/0.075 ms), straight down
    int frame = 2;    // 2 to 5
    int data = 0;     // 1 once counted
};

// Play, in frame order: `Update` before the frame's wait (it runs while messages show too), then
// the frame's end sequence (`Cleanup` once play is over), then `Play` while the game is on.
class FallingRules : public DistressPlay {
  public:
    static constexpr float kSignScale = 1.5f;
    // A sign is counted once its top passes this line.
    static constexpr float kCountLine = 48.0f;

    FallingRules(int difficulty, bool cluesActive, DistressRandom random, float width, float height,
                 float signWidth = 128, float signHeight = 128);

    // Where the scene stands the hero: his top and height. He is hit at the point 16 units right
    // of his x and half-way down his body.
    void SetHeroBody(float top, float bodyHeight);

    // The signs fall, are counted or hit the hero; the pair follows the held mouse.
    void Update(const DistressInput& in);
    // The next sign drops when due; when all have fallen and gone, the lady is safe.
    void Play(const DistressInput& in);
    // Play is over: the pair walks off and every sign goes.
    void Cleanup();
    // The screen turned: signs fall twice as fast on a tall screen, half as fast on a wide one.
    void CheckRotate(float newWidth, float newHeight);

    std::vector<Sign> falling;
    // Signs to drop (7 to 13) and dropped so far.
    int target = 0;
    int count = 0;
    // Milliseconds to the next sign, and the next sign's speed before the screen's factor.
    float obj = 0;
    float speed = 2.0f;
    float heroX = 0;
    float ladyX = 0;
    float heroY = 0;
    float heroHeight = 0;

  private:
    float signW_;
    float signH_;
};
