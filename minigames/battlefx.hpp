#pragma once
// The effect of one fired power: it deals the power's damage and special at once, then plays the
// power's script between the two fighters' portraits (they lunge and recoil, pictures enter, glide,
// turn and leave, impacts burst, sounds play, floating numbers show the damage, blocked and extra
// amounts). It takes no input and leaves the item list half a second after its last step.
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gui/animation.hpp"
#include "gui/animations.hpp"
#include "gui/dialogue.hpp"
#include "gui/item.hpp"
#include "gui/itempool.hpp"

class Power;
class PuzzleActor;

// One picture of an effect script: the cutscene's picture, turning and added on top as the script
// asks.
using AnimationFXObject = AnimationObject;

class GUIFX : public GUIItem {
  public:
    GUIFX() = default;
    ~GUIFX() override;
    // `first` stands left, `second` right; with `reverse` 0 the first attacks the second. Every
    // fired power plays one, so they come from a pool of their own and go back to it when the item
    // list lets them go.
    static GUIFX* GUIFX_new(const Power& power, const std::shared_ptr<PuzzleActor>& first,
                            const std::shared_ptr<PuzzleActor>& second, int reverse);
    static std::unique_ptr<GUIPool<GUIFX>> pool;

    int UpdateAction() override;
    void Render() override;
    // Also sends both portraits away.
    void Clear2() override;
    AnimationFXObject* getObject(const std::string& objectId);
    // Runs one step; 1 for a step that pauses the script.
    int parseElement2(const AnimationElement& e);
    // The power's name over the fight.
    void InitFXMessage(const std::string& text);

    int reverse = 0;
    const AnimationItem* item = nullptr;
    std::string effect;
    float extra = 0;
    float damage = 0;
    float blocked = 0;
    std::array<std::shared_ptr<PuzzleActor>, 2> puzzleActors;
    // [0] the left portrait, [1] the right one; kept in place, as the effect itself is.
    std::array<std::optional<DialogueActor>, 2> actors;
    float wait = 0;
    // Milliseconds since the effect began: what turns a spinning picture.
    float rot = 0;
    int finished = 0;
    int currentIndex = 0;
    std::vector<AnimationObjectPtr> objects;

  private:
    // Deals the hit and sets the script going from its first step.
    void Fire(const Power& power, const std::shared_ptr<PuzzleActor>& first,
              const std::shared_ptr<PuzzleActor>& second, int reversed);
    // Screen side (0 left, 1 right) of a script side: "left" is the attacker, "right" the target;
    // -1 for neither.
    int ScreenSide(const std::string& pos) const;
    // The middle of a portrait's height at its centre line.
    void Anchor(int side, float& ax, float& ay) const;
    // Slides a portrait by dx pixels from where it is heading.
    void Shift(int side, float dx);
    void ShowText(int side, float dy, const std::string& text, int colour, float speed);

    // Where each portrait is heading, so a lunge and its return add up whatever is still moving.
    std::array<float, 2> homeX{};
    int removed = 0;
};
