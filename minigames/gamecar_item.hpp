#pragma once
// The car-dodging distress game on screen: the road seen from above, the hero gliding after the
// held mouse, and the traffic. Started by a distress action "car".
#include <array>
#include <memory>

#include "minigames/distressgame.hpp"
#include "minigames/gamecar.hpp"

class GUIGameCar : public GUIGameDistress {
  public:
    explicit GUIGameCar(ActionItemGameDistress* action);
    static std::shared_ptr<GUIGameCar> GUIGameCar_new(ActionItemGameDistress* action) {
        return std::make_shared<GUIGameCar>(action);
    }

    DistressPlay& Rules() override { return rules; }

    // "MinigameCar", "MinigameCar2", "MinigameCar3".
    std::array<GameImage*, 3> cars{};
    // "HeroSmall80x80" and its frame, the hero's map icon.
    GameImage* player = nullptr;
    int playerIndex = 0;
    CarRules rules;

  protected:
    void UpdatePlay(const DistressInput& in) override;
    // The road clears itself: only the panel goes, and the game goes straight on.
    void Cleanup() override;
    float CleanupWait() const override { return 0; }
    void InitPopup() override;
    const char* StartText() const override { return "Avoid the cars!"; }
    void PlayStep(const DistressInput& in) override;
    void RotateGame() override;
    void RenderPlay() override;
};
