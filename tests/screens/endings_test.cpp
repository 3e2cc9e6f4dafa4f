// The end game's score and the ending the flags choose, without a screen.
#include "screens/endings.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

EndFlagLookup Flags(std::map<std::string, int> values) {
    return [values](const std::string& key) {
        auto it = values.find(key);
        return it == values.end() ? 0 : it->second;
    };
}

TEST(HeroScore, PartsAndTotal) {
    // Nothing done and January over: nothing scored.
    EXPECT_EQ(HeroScore::Of(Flags({{"Date.Month", 1}})).total, 0);
    // A whole January left is 31 days; one minute into the first day leaves 30.
    EXPECT_EQ(HeroScore::Of(Flags({})).time, 31);
    EXPECT_EQ(HeroScore::Of(Flags({})).total, 7750);
    EXPECT_EQ(HeroScore::Of(Flags({{"Date.Time", 1}})).time, 30);
    EXPECT_EQ(HeroScore::Of(Flags({{"Date.Day", 29}, {"Date.Time", 500}})).time, 1);

    const HeroScore s = HeroScore::Of(Flags({{"Date.Month", 2},
                                             {"Villain.Henchman", 1},
                                             {"Villain.Ms Supreme", 1},
                                             {"Game.BlizzardWizard", 1},
                                             {"Level.Attribute.Strength", 3},
                                             {"Level.Attribute.Intelligence", 2},
                                             {"Level.Skill.Learning", 4},
                                             {"Level.Resource.Reputation", 6},
                                             {"Level.Attribute.Ethics", 2},
                                             {"Upgrade.Burglar Alarm", 3}}));
    EXPECT_EQ(s.villains, 2);
    EXPECT_EQ(s.power, 5);
    EXPECT_EQ(s.job, 4);
    EXPECT_EQ(s.upgrades, 3);
    // Two villains and one secret are 1500; the rest 250 a level and 500 an ethics level.
    EXPECT_EQ(s.total, (5 + 4 + 6 + 3) * 250 + 2 * 500 + 1500);
}

TEST(Endings, FirstDecisionThatHoldsWins) {
    EXPECT_EQ(ChooseEnding(Flags({{"Game.Evil", 1}, {"Game.Sidekick", 1}})), Ending::Evil);
    EXPECT_EQ(ChooseEnding(Flags({{"Game.Sidekick", 1}, {"Game.Time", 1}})), Ending::Sidekick);
    EXPECT_EQ(ChooseEnding(Flags({{"Game.Time", 2}})), Ending::Time);
    EXPECT_EQ(ChooseEnding(Flags({{"Game.Evil", -1}})), Ending::Own);

    const EndingPages evil = PagesOf(Ending::Evil, "Zap");
    EXPECT_NE(evil.epilogue.find("schemes! Zap learned"), std::string::npos);
    const EndingPages own = PagesOf(Ending::Own, "Zap");
    // Lines break at the two-character code, never at a control character.
    EXPECT_EQ(own.epilogue.find('\n'), std::string::npos);
    EXPECT_NE(own.epilogue.find("\\n\\nChoosing for yourself"), std::string::npos);
}

}  // namespace
