// The arithmetic of jobs and trainings without a screen: the clock and bonus, the win test, and
// what a finished game pays, including the cases where a careless formula would divide by zero,
// turn a cost into a gain or pay a reward no tile can carry.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>

#include "minigames/jobrules.hpp"
#include "model/board.hpp"

namespace {

FlagLookup Flags(std::map<std::string, int> values) {
    return [values](const std::string& key) {
        auto it = values.find(key);
        return it == values.end() ? 0 : it->second;
    };
}

// The amount listed for a key; INT_MIN when it is not listed. A key is never listed twice.
int Line(const RewardLines& lines, const std::string& name) {
    int hits = 0, value = INT_MIN;
    for (const RewardLine& line : lines) {
        if (line.name == name) value = (++hits, line.value);
    }
    EXPECT_LE(hits, 1) << name << " listed twice";
    return value;
}

TEST(JobRules, ClockBonusAndWinTest) {
    JobRules job(90, 60, {12, 8, 6});
    EXPECT_FLOAT_EQ(job.maxtime, 90000);
    EXPECT_FLOAT_EQ(job.Bonus(), 60);
    job.Tick(45000);
    EXPECT_FLOAT_EQ(job.Fraction(), 0.5f);
    EXPECT_FLOAT_EQ(job.Bonus(), 30);
    // The clock stops at 0; the job can still be finished, for no bonus.
    job.Tick(100000);
    EXPECT_FLOAT_EQ(job.time, 0);
    EXPECT_FLOAT_EQ(job.Bonus(), 0);

    PuzzleActor hero;
    hero.values[kTileMental].value = 12.5f;
    hero.values[kTileElemental].value = 30;  // more than needed does not matter...
    hero.values[kTilePhysical].value = 5.9f;
    EXPECT_FALSE(job.Filled(hero));  // ...but every meter must be full
    hero.values[kTilePhysical].value = 6;
    EXPECT_TRUE(job.Filled(hero));
}

// A job whose data gives no time, money or targets: nothing divides by zero, the job is won at
// once, and its rewards are 0 rather than the lowest int.
TEST(JobRules, JobWithoutTimeOrMoneyPaysNothingScaled) {
    JobRules job(0, 0, {0, 0, 0});
    EXPECT_EQ(job.Fraction(), 0);
    EXPECT_EQ(job.Bonus(), 0);
    PuzzleActor hero;
    EXPECT_TRUE(job.Filled(hero));
    const RewardLines lines = JobRules::Rewards(hero, job.Fraction(), {{"Skill.Science", 60}}, {}, Flags({}));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].value, 0);

    JobRules unpaid(90, 0, {1, 1, 1});
    EXPECT_EQ(unpaid.Bonus(), 0);
}

TEST(JobRules, RewardsListCollectedThenScaledThenCosts) {
    PuzzleActor hero;
    hero.values[kTileMoney].value = 7.9f;
    hero.values[kTileReputation].value = 0;
    hero.values[kTileClue].value = 2;
    const RewardLines lines = JobRules::Rewards(
        hero, 0.75f, {{"Skill.Science", 60}, {"Skill.Learning", 1}},
        {{"Resource.Money", -10}, {"Attribute.Ethics", -2}, {"Attribute.Strength", -5}},
        Flags({{"Resource.Money", 3}, {"Attribute.Ethics", -3}, {"Attribute.Strength", 50}}));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0].name, "Resource.Money");
    EXPECT_EQ(lines[0].value, 7);
    EXPECT_EQ(lines[1].name, "Resource.Clues");  // no reputation collected: not listed
    EXPECT_EQ(lines[1].value, 2);
    EXPECT_EQ(lines[2].value, 45);  // 60 x 0.75
    EXPECT_EQ(lines[3].value, 0);   // 1 x 0.75, truncated
    // A cost never takes a flag below 0: 3 left of the 10.
    EXPECT_EQ(lines[4].value, -3);
    // A flag already below 0 loses nothing more, and the cost does not turn into a gain.
    EXPECT_EQ(lines[5].value, 0);
    EXPECT_EQ(lines[6].value, -5);
}

TEST(TrainingRules, RewardsOfCollectedTiles) {
    PuzzleActor hero;
    hero.values[kTileStrength].value = 40;
    hero.values[kTileConstitution].value = 0;
    hero.values[kTileIntelligence].value = -10;
    hero.values[kTileEssence].value = -15;
    hero.values[kTilePhysical].value = 33;  // plain charges: a training pays none of them
    hero.values[kTileMoney].value = 9;
    hero.values[kTileClue].value = 1.5f;
    const RewardLines lines = TrainingRules::Rewards(
        hero, {{"Attribute.Strength", 20}, {"Attribute.Constitution", 20}, {"Skill.Science", 10}},
        {{"Attribute.Intelligence", -5}, {"Attribute.Strength", -5}, {"Attribute.Essence", -5}},
        Flags({{"Attribute.Intelligence", 6}, {"Attribute.Essence", 100}}));
    EXPECT_EQ(Line(lines, "Resource.Clues"), 1);
    EXPECT_EQ(Line(lines, "Attribute.Strength"), 40);  // once, from the raised side
    // Nothing collected: not listed, not changed. No tile carries a skill, so the physical charges
    // are not paid as science; a training pays no money.
    for (const char* unpaid : {"Attribute.Constitution", "Skill.Science", "Resource.Money"})
        EXPECT_EQ(Line(lines, unpaid), INT_MIN) << unpaid;
    EXPECT_EQ(Line(lines, "Attribute.Intelligence"), -6);  // never below 0
    EXPECT_EQ(Line(lines, "Attribute.Essence"), -15);
    EXPECT_EQ(lines.size(), 4u);
}

}  // namespace
