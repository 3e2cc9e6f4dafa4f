// Level thresholds, reputation ranks and the display settings taken from the global flags.
#include <gtest/gtest.h>

#include <climits>

#include "model/data2.hpp"
#include "model/profile.hpp"

namespace {

class DataLevels : public ::testing::Test {
  protected:
    void SetUp() override {
        InitProfileGlobals();
        Data::InitGlobals();
        Data::hooks = DataHooks{};
    }
    void TearDown() override {
        Profile::services = ProfileServices{};
        Data::hooks = DataHooks{};
        InitProfileGlobals();
        Data::InitGlobals();
    }
    static int L(int i) { return Data::levelTable[static_cast<size_t>(i)]; }
};

TEST_F(DataLevels, TableFollowsTheRecurrenceAndSaturatesInsteadOfOverflowing) {
    const int start[] = {0, 100, 200, 300, 500, 800, 1300, 2100, 3400};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(L(i), start[i]) << i;
    for (int i = 3; i <= 35; ++i) EXPECT_EQ(L(i), L(i - 1) + L(i - 2)) << i;
    EXPECT_EQ(L(16), 159700);
    EXPECT_EQ(L(35), 1493035200);
    // 100 * F(37) no longer fits an int: from here on every threshold is the largest int.
    for (int i = 36; i < Data::kLevels; ++i) EXPECT_EQ(L(i), INT_MAX) << i;
}

TEST_F(DataLevels, LevelsAtAndAroundEveryThreshold) {
    EXPECT_EQ(Data::GetLevel(99), 0);
    EXPECT_EQ(Data::GetLevel(100), 1);
    EXPECT_EQ(Data::GetLevel(300), 3);
    EXPECT_EQ(Data::GetLevel(0), 0);
    EXPECT_EQ(Data::GetLevel(-1), -1);
    EXPECT_EQ(Data::GetLevel(-5), -1);
    EXPECT_EQ(Data::GetLevel(INT_MIN), -1);
    for (int k = 1; k <= 35; ++k) {
        EXPECT_EQ(Data::GetLevel(L(k)), k) << k;
        EXPECT_EQ(Data::GetLevel(L(k) - 1), k - 1) << k;
        EXPECT_EQ(Data::GetLevel(L(k) + 1), k) << k;
    }
    // Beyond the last threshold that fits: still ordered, never past 99.
    EXPECT_EQ(Data::GetLevel(INT_MAX - 1), 35);
    EXPECT_EQ(Data::GetLevel(INT_MAX), 99);
}

TEST_F(DataLevels, EveryRankHasItsThresholdAndItsTitle) {
    EXPECT_EQ(Data::GetReputationLevel(99), 0);
    EXPECT_EQ(Data::GetReputationLevel(100), 1);
    EXPECT_EQ(Data::GetReputationLevel(L(16)), 16);
    EXPECT_EQ(Data::GetReputationLevel(L(16) - 1), 15);
    EXPECT_EQ(Data::GetReputationLevel(10000000), 16);
    EXPECT_EQ(Data::GetReputationLevel(INT_MAX), 16);
    for (int rank = 0; rank <= 16; ++rank) {
        EXPECT_EQ(Data::GetReputationLevel(L(rank)), rank) << rank;
        if (rank > 0) {
            EXPECT_EQ(Data::GetReputationLevel(L(rank) - 1), rank - 1) << rank;
        }
        EXPECT_STREQ(Profile::RankTitle(Data::GetReputationLevel(L(rank))),
                     Profile::rankTitles[static_cast<size_t>(rank)]);
    }
    EXPECT_STREQ(Profile::RankTitle(Data::GetReputationLevel(L(16))), "Superhero");
    // A negative reputation is rank -1 as stored; its title is the lowest one, never a read
    // before the table.
    EXPECT_EQ(Data::GetReputationLevel(-50), -1);
    EXPECT_STREQ(Profile::RankTitle(Data::GetReputationLevel(-50)), "Unknown");
}

TEST_F(DataLevels, TheWiredProfileRecomputesLevelsAndRaisesTheSignals) {
    WireModel();
    Profile::AddFlagInt("Attribute.Strength", 299);
    EXPECT_EQ(Profile::GetFlagInt("Level.Attribute.Strength"), 2);
    EXPECT_EQ(Profile::GetFlagString("Game.LevelUp"), "Attribute.Strength");
    Profile::SetFlagString("Game.LevelUp", "");
    Profile::AddFlagInt("Attribute.Strength", 1);
    EXPECT_EQ(Profile::GetFlagInt("Level.Attribute.Strength"), 3);
    EXPECT_EQ(Profile::GetFlagString("Game.LevelUp"), "Attribute.Strength");

    Profile::SetFlagInt("Skill.Fighting", 500);
    EXPECT_EQ(Profile::GetFlagInt("Level.Skill.Fighting"), 4);

    Profile::AddFlagInt("Resource.Reputation", L(16));
    EXPECT_EQ(Profile::GetFlagInt("Level.Resource.Reputation"), 16);
    EXPECT_EQ(Profile::GetFlagString("Game.RankUp"), "Resource.Reputation");
    Profile::SetFlagString("Game.RankUp", "");
    Profile::AddFlagInt("Resource.Reputation", -1);
    EXPECT_EQ(Profile::GetFlagInt("Level.Resource.Reputation"), 15);
    EXPECT_EQ(Profile::GetFlagString("Game.RankUp"), "");
}

int idRequests = 0;
int trophyClears = 0;

TEST_F(DataLevels, ResolutionAndDisplaySettingsComeFromTheGlobalFlags) {
    idRequests = trophyClears = 0;
    Data::hooks.requestStatisticsId = [] { ++idRequests; };
    Data::hooks.clearTrophies = [] { ++trophyClears; };

    // Until start-up has read the settings.
    EXPECT_EQ(Data::virtualWidth, 960);
    EXPECT_EQ(Data::virtualHeight, 640);

    Profile::InitGlobal();
    Data::SetResolutionRatio();
    EXPECT_EQ(Data::virtualWidth, 1000);
    EXPECT_EQ(Data::virtualHeight, 600);
    EXPECT_FLOAT_EQ(Data::layoutScaleX, 1.3333334f);
    EXPECT_FLOAT_EQ(Data::layoutScaleY, 1.5f);
    EXPECT_EQ(Data::qualityOn, 1);
    EXPECT_EQ(Data::mapNamesOn, 0);
    EXPECT_EQ(Data::hintsOn, 1);
    EXPECT_EQ(Data::touchDevice, 0);
    EXPECT_EQ(Data::musicExtension, ".ogg");
    EXPECT_EQ(Data::soundExtension, ".ogg");
    EXPECT_EQ(idRequests, 1);
    EXPECT_EQ(trophyClears, 1);

    // Only exactly 1 switches a setting on.
    Profile::SetGlobalFlagInt("Widescreen", 2);
    Profile::SetGlobalFlagInt("Quality", 0);
    Profile::SetGlobalFlagInt("MapNames", 1);
    Profile::SetGlobalFlagInt("Hints", 7);
    Profile::SetGlobalFlagString("ID", "abc123");
    Data::SetResolutionRatio();
    EXPECT_EQ(Data::virtualWidth, 800);
    EXPECT_EQ(Data::virtualHeight, 600);
    EXPECT_EQ(Data::qualityOn, 0);
    EXPECT_EQ(Data::mapNamesOn, 1);
    EXPECT_EQ(Data::hintsOn, 0);
    EXPECT_EQ(idRequests, 1);
    EXPECT_EQ(trophyClears, 2);
}

}  // namespace
