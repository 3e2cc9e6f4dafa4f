#pragma once
// The falling-objects distress game on screen: the street, the hero and the lady he shields, and
// the signs raining down, steered with the held mouse. Started by a distress action "falling".
#include <memory>

#include "minigames/distressgame.hpp"
#include "minigames/gamefalling.hpp"

class DialogueActor;

class GUIGameFalling : public GUIGameDistress {
  public:
    explicit GUIGameFalling(ActionItemGameDistress* action);
    ~GUIGameFalling() override;
    static std::shared_ptr<GUIGameFalling> GUIGameFalling_new(ActionItemGameDistress* action) {
        return std::make_shared<GUIGameFalling>(action);
    }

    void Clear2() override;
    DistressPlay& Rules() override { return rules; }

    // "Signs128x128": its frames 2 to 5 are the signs.
    GameImage* signs = nullptr;
    FallingRules rules;
    std::unique_ptr<DialogueActor> player;
    std::unique_ptr<DialogueActor> victim;

  protected:
    void UpdatePlay(const DistressInput& in) override;
    void Cleanup() override;
    void InitPopup() override;
    const char* StartText() const override { return "Avoid the falling objects!"; }
    void PlayStep(const DistressInput& in) override;
    void RotateGame() override;
    void RenderPlay() override;
};
