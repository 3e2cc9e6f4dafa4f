// The arithmetic of a battle without a screen: the handicap over a run of fights, how it eases a
// hit, a shield that soaks a hit once (not twice), and the spoils of a win.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "minigames/battlerules.hpp"
#include "model/board.hpp"
#include "model/powers.hpp"

namespace {

int Line(const RewardLines& lines, const std::string& name) {
    for (const RewardLine& line : lines)
        if (line.name == name) return line.value;
    return INT_MIN;
}

// A plain physical hit of exactly `amount`, whoever fires it.
OpponentPower Punch(float amount) {
    OpponentPower punch;
    punch.id = "Punch";
    punch.attribute = "Attribute.Strength";
    punch.damage_base = amount;
    return punch;
}

TEST(BattleRules, TheHandicapClimbsWithDefeatsAndFallsWithWins) {
    int handicap = 0;
    for (int expected : {1, 2, 3, 3}) EXPECT_EQ(handicap = BattleRules::HandicapAfterLoss(handicap), expected);
    EXPECT_EQ(handicap = BattleRules::HandicapAfterWin(handicap), 1);
    EXPECT_EQ(handicap = BattleRules::HandicapAfterWin(handicap), 0);
    EXPECT_EQ(BattleRules::HandicapAfterWin(handicap), 0);
}

TEST(BattleRules, HitsAreEasedByTheHandicapAndAShieldSoaksOnce) {
    PuzzleActor hero, opponent;
    const OpponentPower punch = Punch(5);
    // At the highest handicap the opponent's 5 becomes 1, the hero's 5 becomes 11.
    BattleHit hit = BattleRules::Fire(punch, opponent, hero, 1, 3);
    EXPECT_EQ(hit.damage, 1);
    EXPECT_EQ(hit.extra, 0);
    EXPECT_EQ(hit.loss, 1);
    hit = BattleRules::Fire(punch, hero, opponent, 0, 3);
    EXPECT_EQ(hit.damage, 11);
    EXPECT_EQ(hit.loss, 11);

    // A hit of 10 into a shield of 4 shows 6 and "Blocked 4", and takes 6.
    opponent.protect = 4;
    hit = BattleRules::Fire(Punch(10), hero, opponent, 0, 0);
    EXPECT_EQ(hit.damage, 6);
    EXPECT_EQ(hit.blocked, 4);
    EXPECT_EQ(hit.loss, 6);
    EXPECT_EQ(opponent.protect, 0);
    // A hit the shield swallows whole takes nothing.
    opponent.protect = 20;
    EXPECT_EQ(BattleRules::Fire(Punch(10), hero, opponent, 0, 0).loss, 0);
}

TEST(BattleRules, SpoilsFollowTheChargesEarnedAndTheRewardLevel) {
    PuzzleActor hero, opponent;
    hero.values[kTileMoney].value = 12.7f;
    hero.values[kTileClue].value = 2;
    hero.totalValues = {30, 10, 0};
    RewardLines spoils = BattleRules::Spoils(hero, 10, 1.5f);
    EXPECT_EQ(Line(spoils, "Resource.Money"), 12);
    EXPECT_EQ(Line(spoils, "Resource.Reputation"), INT_MIN);
    EXPECT_EQ(Line(spoils, "Resource.Clues"), 2);
    EXPECT_EQ(Line(spoils, "Attribute.Strength"), 15);
    EXPECT_EQ(Line(spoils, "Attribute.Essence"), 5);
    EXPECT_EQ(Line(spoils, "Attribute.Intelligence"), INT_MIN);
    EXPECT_EQ(Line(spoils, "Attribute.Constitution"), 15);

    // No power tile matched: no share of the three, still Constitution.
    hero.totalValues = {0, 0, 0};
    spoils = BattleRules::Spoils(hero, 10, 2.4f);
    EXPECT_EQ(Line(spoils, "Attribute.Strength"), INT_MIN);
    EXPECT_EQ(Line(spoils, "Attribute.Constitution"), 24);

    // Ratings measured against the hero pay by the burglar alarm; given ratings by the best one.
    opponent.physical = 3.7f;
    opponent.mental = 6.2f;
    EXPECT_EQ(BattleRules::RewardLevel(1, 0, opponent), 5);
    EXPECT_EQ(BattleRules::RewardLevel(1, 2, opponent), 15);
    EXPECT_EQ(BattleRules::RewardLevel(1, 3, opponent), 30);
    EXPECT_EQ(BattleRules::RewardLevel(0, 3, opponent), 6);
}

}  // namespace
