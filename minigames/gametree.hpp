#pragma once
// The rules of the tree-bashing distress game: the player presses and holds the "Click" button
// while a power ring grows around the tree, and lets go; the ring's size at that moment is the
// blow's power. Strong blows shake cats out of the tree and earn reputation, weak ones earn
// "Too weak!". Play lasts 30 seconds. The screen item draws the tree, the ring and the button and
// flings the cats these rules shake out.
#include "minigames/distressplay.hpp"

// Play, in frame order: `Update` before the frame's wait, then the frame's end sequence, then
// `Play` while the game is on.
class TreeRules : public DistressPlay {
  public:
    // The ring grows from kRingStart and, held past kRingMax, starts again from kRingStart: holding
    // too long weakens the blow.
    static constexpr float kRingStart = 75.0f;
    static constexpr float kRingMax = 300.0f;
    // Cats leave the tree from this far above its middle.
    static constexpr float kCatRadius = 128.0f;

    TreeRules(int difficulty, bool cluesActive, DistressRandom random, float width, float height);

    // `buttonPressed`: the "Click" button is being pressed. The clock runs; a press on the button
    // charges the ring, letting go strikes; the tree shakes.
    void Update(const DistressInput& in, bool buttonPressed);
    // When the clock has run out, the game is over.
    void Play(const DistressInput& in);
    void CheckRotate(float newWidth, float newHeight);

    // The colour of a ring of this diameter: green, through yellow at 200, towards red.
    static void RingColour(float ring, int& r, int& g, int& b);

    Countdown clock;
    // A new blow may start: the last ring has faded and the mouse has been let go.
    int ok = 0;
    // A press on the button has begun.
    int started = 0;
    // Ring diameter (0 while no blow charges) and its opacity.
    float ring = 0;
    float ringAlpha = 0;
    // The tree's shake: time since the last blow, amplitude and current tilt, in degrees.
    float angleCounter = 0;
    float angleStrength = 0;
    float angle = 0;

  private:
    void Strike(const DistressInput& in);
    void Cat();
};
