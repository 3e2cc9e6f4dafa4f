// The story played on the real city map by the test player, with the mouse only, as far as the
// game's screens reach: a fresh hero takes the first job, the first training and the power-ups of
// the thaw, buys Training Mastery, saves up for the Burglar Alarm and buys it, and the hunt for the
// first burglar begins.
#include <gtest/gtest.h>

#include "framework/framework.hpp"
#include "model/profile.hpp"
#include "screens/map.hpp"
#include "tests/support/game_art.hpp"
#include "tests/support/game_assets.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/player.hpp"
#include "tests/support/walkthrough.hpp"

namespace {

TEST(Playthrough, AFreshHeroOnTheMapPlaysTheFirstActUpToTheBurglarHunt) {
    harness::Harness h;
    ASSERT_TRUE(h.Start());
    harness::LoadGameAssets();
    harness::LoadPuzzleArt();
    harness::MakeHero("Rook");
    MapScreen::MapScreen_new()->PreStart();
    h.RenderEvery(20);
    harness::Player player(h);
    harness::Walkthrough walk(player, harness::Ending::Independent, "Rook");

    ASSERT_TRUE(walk.PlayUntil([] { return Profile::GetFlagInt("Quest.Raise the Alarm") >= 3; }, 20000))
        << walk.stuck;
    h.SaveFrame("playthrough_burglar_hunt");
    // The quests that led here were done the way their texts ask.
    EXPECT_GE(Profile::GetFlagInt("Quest.Easy Money"), 4);
    EXPECT_GE(Profile::GetFlagInt("Game.JobCount"), 1);
    EXPECT_GE(Profile::GetFlagInt("Game.TrainingCount"), 1);
    EXPECT_EQ(Profile::GetFlagInt("Upgrade.Training Mastery"), 1);
    EXPECT_EQ(Profile::GetFlagInt("Upgrade.Burglar Alarm"), 1);
    // The thaw raised all three powers, and each tree got its first pick.
    for (const char* power : {"Power.Physical.Damage", "Power.Elemental.Energy", "Power.Mental.Bolt"})
        EXPECT_GE(Profile::GetFlagInt(power), 1) << power;
    // Time passed in the story, all of it in the first act.
    ASSERT_EQ(player.acts.count(1), 1u);
    EXPECT_GT(player.acts[1].minutes, 0);
    EXPECT_EQ(player.acts[1].minutes, harness::Player::GameMinutes() - player.startMinutes);
}

}  // namespace
