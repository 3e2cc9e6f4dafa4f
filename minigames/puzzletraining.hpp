#pragma once
// The training game: the hero has a number of moves on a board that also deals attribute tiles,
// and every attribute tile collected raises (or, for the training's costs, lowers) that attribute.
// Started by a training action, which adds it to the item list at 1650.
#include "minigames/jobrules.hpp"
#include "minigames/puzzlegame.hpp"

class ActionItemTraining;

class GUIPuzzleTraining : public GUIPuzzleGame {
  public:
    // Builds the game from the action (null: ten moves and nothing to collect).
    explicit GUIPuzzleTraining(const ActionItemTraining* training);
    static std::shared_ptr<GUIPuzzleTraining> GUIPuzzleTraining_new(const ActionItemTraining* training) {
        return std::make_shared<GUIPuzzleTraining>(training);
    }

    // Moves left; the panel's "Moves: " line follows it.
    FloatObject moves;
    // The attributes the training raises and lowers (the tiles carry these amounts).
    RewardLines positive;
    RewardLines negative;

  protected:
    void InitPopup() override;
    void InitResult() override;
    void ClearOutcome() override;
    void SetOutcome() override;
    bool Decided() override;
    void Moved() override;
};
