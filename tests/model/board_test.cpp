// Puzzle actors: what a credited chain pays and shows, and the two fighters of a battle.
#include "model/board.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "model/powers.hpp"
#include "model/profile.hpp"
#include "platform/random.hpp"
#include "tests/model/profile_fixture.hpp"

namespace {

struct Shown {
    std::string text;
    int big, colour, x, y;
};
std::vector<Shown> shown;
void Record(const std::string& text, int big, int colour, int x, int y) {
    shown.push_back({text, big, colour, x, y});
}

class ActorTest : public profiletest::ProfileTest {
  protected:
    void SetUp() override {
        ProfileTest::SetUp();
        shown.clear();
        PuzzleActor::showGain = Record;
    }
    void TearDown() override {
        PuzzleActor::showGain.Clear();
        Powers::InitGlobals();
        ProfileTest::TearDown();
    }
    // A chain of tiles of one kind laid out left to right from (x0, y0), 66 pixels apart.
    TileChain& Chain(int kind, int count, int value = 0, float x0 = 3, float y0 = 8) {
        tiles.assign(static_cast<size_t>(count), Tile());
        chain.Clear2();
        for (int i = 0; i < count; ++i) {
            Tile& t = tiles[static_cast<size_t>(i)];
            t.index = kind;
            t.value = value;
            t.x = x0 + 66.0f * static_cast<float>(i);
            t.y = y0;
            chain.Add(&t);
        }
        return chain;
    }
    std::vector<Tile> tiles;
    TileChain chain;
    PuzzleActor actor;
};

TEST_F(ActorTest, AChainPaysItsLengthOrItsAttributeValueAndFloatsTheGainOverItsCentre) {
    actor.Award(Chain(kTilePhysical, 5), 100, 50, 2);
    EXPECT_EQ(actor.values[0].value, 5.0f);
    EXPECT_EQ(actor.totalValues[0], 5);
    ASSERT_EQ(shown.size(), 1u);
    // Tiles from x 3 to 267 (+64) and y 8 (+64): centre (3 + 164, 8 + 32) plus the board's place.
    EXPECT_EQ(shown[0].text, "+5");
    EXPECT_EQ(shown[0].big, 1);
    EXPECT_EQ(shown[0].colour, 0xFF8080);
    EXPECT_EQ(shown[0].x, 100 + 167);
    EXPECT_EQ(shown[0].y, 50 + 40);

    // Clues count but are no power charge; a bonus tile anywhere in the chain voids it.
    actor.Award(Chain(kTileClue, 3), 0, 0, 0);
    EXPECT_EQ(actor.values[kTileClue].value, 3.0f);
    EXPECT_EQ(actor.totalValues, (std::array<int, 3>{5, 0, 0}));
    Chain(kTileMental, 4).Get2(2)->index = kTileBonus;
    actor.Award(chain, 0, 0, 2);
    EXPECT_EQ(actor.values[kTileMental].value, 0.0f);
    EXPECT_EQ(shown.size(), 2u);

    // A training pays money silently, and an attribute tile its value: "+-2" in red for a cost.
    actor.Award(Chain(kTileMoney, 4), 0, 0, 3);
    EXPECT_EQ(actor.values[kTileMoney].value, 4.0f);
    EXPECT_EQ(shown.size(), 2u);
    actor.Award(Chain(kTileEthics, 1, -2), 0, 0, 3);
    EXPECT_EQ(actor.values[kTileEthics].value, -2.0f);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[2].text, "+-2");
    EXPECT_EQ(shown[2].big, 0);
    EXPECT_EQ(shown[2].colour, 0xFF8080);
}

TEST_F(ActorTest, TheHeroComesFromTheProfileAndAnOpponentFromItsDataOrTheHerosMeasure) {
    testing::internal::CaptureStdout();
    Powers::Init();  // the game's own powers
    testing::internal::GetCapturedStdout();

    Profile::SetFlagInt("Level.Attribute.Constitution", 4);
    Profile::SetFlagInt("Level.Attribute.Strength", 3);
    Profile::SetFlagInt("Level.Attribute.Essence", 1);
    Profile::SetFlagString("Power.Attribute.Strength", "Left Hook");
    Profile::SetFlagString("Power.Attribute.Essence", "Energy Arrowz");
    Profile::SetFlagInt("Upgrade.Heroic Power", 2);
    testing::internal::CaptureStdout();
    std::shared_ptr<PuzzleActor> hero = CreateHeroActor();
    EXPECT_NE(testing::internal::GetCapturedStdout().find("\"Energy Arrowz\""), std::string::npos);
    EXPECT_EQ(hero->maxHealth, 40);
    EXPECT_EQ(hero->physical, 3.0f);
    ASSERT_EQ(hero->powers.Size(), 1);  // the unknown attack is left out
    EXPECT_EQ(hero->powers.Get2(0)->power, Powers::Get("Left Hook"));
    EXPECT_EQ(hero->powers.Get2(0)->level, 3);
    EXPECT_EQ(hero->values[1].value, 10.0f);

    PuzzleActor villain;
    villain.physical = 4, villain.elemental = 1, villain.mental = 2;
    EXPECT_EQ(DeriveOpponent(villain, *hero, 3), 0);
    EXPECT_EQ(villain.maxHealth, 35);

    for (int seed = 1; seed < 60; ++seed) {
        platform::SetSeed(seed);
        PuzzleActor thug;
        thug.physical = thug.elemental = thug.mental = -1.0f;
        auto sucker = std::make_shared<PuzzleActorPower>(Powers::Get("Sucker Punch"), 1);
        thug.powers.Add(sucker);
        EXPECT_EQ(DeriveOpponent(thug, *hero, -1), 1);
        EXPECT_TRUE(thug.maxHealth == 30 || thug.maxHealth == 35 || thug.maxHealth == 40) << thug.maxHealth;
        EXPECT_GE(thug.mental, 2.0f);  // never below 2
        EXPECT_LT(thug.mental, 3.0f);
        // The level follows the last derived rating (mental, 2): 1 .. 4.
        EXPECT_GE(sucker->level, 1);
        EXPECT_LE(sucker->level, 4);
    }
}

}  // namespace
