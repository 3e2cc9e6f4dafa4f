#pragma once
// The crowd-search distress game on screen: the town square, its walking citizens and crooks, and
// the countdown; a click picks the walker under the mouse. Started by a distress action "search".
#include <array>
#include <memory>

#include "minigames/distressgame.hpp"
#include "minigames/gamesearch.hpp"

class GUIGameSearch : public GUIGameDistress {
  public:
    explicit GUIGameSearch(ActionItemGameDistress* action);
    static std::shared_ptr<GUIGameSearch> GUIGameSearch_new(ActionItemGameDistress* action) {
        return std::make_shared<GUIGameSearch>(action);
    }

    DistressPlay& Rules() override { return rules; }

    // "Citizen01" to "Citizen05": the four citizen looks and the crook look.
    std::array<GameImage*, 5> looks{};
    SearchRules rules;
    // The countdown display, while it is up.
    GUIText* timer = nullptr;

  protected:
    void UpdatePlay(const DistressInput& in) override;
    void Cleanup() override {}
    void InitPopup() override;
    const char* StartText() const override { return "Find the crooks!"; }
    void PlayStep(const DistressInput& in) override;
    void RotateGame() override;
    void RenderPlay() override;
    void OnEvent(const DistressEvent& event) override;
};
