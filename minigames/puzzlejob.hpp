#pragma once
// The job game: on the puzzle board the hero fills three power meters (mental, elemental,
// physical) against the clock. A job cannot be lost; it ends when all three meters are full, and
// the time left decides the bonus money and how much of the job's rewards is paid. Started by a
// job action, which adds it to the item list at 1650.
#include <array>

#include "minigames/jobrules.hpp"
#include "minigames/puzzlegame.hpp"

class ActionItemJob;
class GUIMeterGlobe;

class GUIPuzzleJob : public GUIPuzzleGame {
  public:
    // Builds the game from the action (null: a minute for up to 15 bonus, five of each colour).
    explicit GUIPuzzleJob(const ActionItemJob* job);
    static std::shared_ptr<GUIPuzzleJob> GUIPuzzleJob_new(const ActionItemJob* job) {
        return std::make_shared<GUIPuzzleJob>(job);
    }

    // The clock, the bonus and the meter targets.
    JobRules rules;
    // The bonus the time left is worth; the panel's bar follows it.
    FloatObject bonusmoney;
    // Rewards scaled by the time left, and costs paid in full.
    RewardLines positive;
    RewardLines negative;
    std::array<GUIMeterGlobe*, 3> meters{};

  protected:
    void InitPopup() override;
    void InitResult() override;
    void ClearOutcome() override;
    void SetOutcome() override;
    void Play() override;
    bool Decided() override;
};
