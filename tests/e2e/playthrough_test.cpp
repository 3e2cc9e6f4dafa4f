// The story played on the real city map by the test player, with the mouse only: a fresh hero
// plays the first act (the first job and training, the thaw's power-ups, Training Mastery, the
// Burglar Alarm, the first burglar, Henchman) and the second (the Gazette, the Distress-o-Meter and
// the first rescue, Professor Aphasia, the Time Master at Quellfast) to the third act's card.
#include <gtest/gtest.h>

#include <string>

#include "framework/framework.hpp"
#include "model/profile.hpp"
#include "screens/act.hpp"
#include "screens/map.hpp"
#include "tests/support/game_art.hpp"
#include "tests/support/game_assets.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/player.hpp"
#include "tests/support/walkthrough.hpp"

namespace {

std::string CardTitle() {
    const auto* card = dynamic_cast<const ActScreen*>(briskGame->currentScreen.get());
    return card ? card->title : "";
}

TEST(Playthrough, AFreshHeroOnTheMapPlaysTheFirstTwoActsToTheThirdActsCard) {
    harness::Harness h;
    ASSERT_TRUE(h.Start());
    harness::LoadGameAssets();
    harness::LoadDistressArt();
    harness::MakeHero("Rook");
    MapScreen::MapScreen_new()->PreStart();
    h.RenderEvery(20);
    harness::Player player(h);
    harness::Walkthrough walk(player, harness::Ending::Independent, "Rook");

    ASSERT_TRUE(walk.PlayUntil([] { return Profile::GetFlagInt("Quest.Raise the Alarm") >= 3; }, 20000))
        << walk.stuck;
    // The quests that led here were done the way their texts ask, and the thaw raised all three
    // powers, each tree with its first pick.
    EXPECT_GE(Profile::GetFlagInt("Game.JobCount"), 1);
    EXPECT_GE(Profile::GetFlagInt("Game.TrainingCount"), 1);
    EXPECT_EQ(Profile::GetFlagInt("Upgrade.Training Mastery"), 1);
    EXPECT_EQ(Profile::GetFlagInt("Upgrade.Burglar Alarm"), 1);
    for (const char* power : {"Power.Physical.Damage", "Power.Elemental.Energy", "Power.Mental.Bolt"})
        EXPECT_GE(Profile::GetFlagInt(power), 1) << power;

    ASSERT_TRUE(walk.PlayUntil([] { return CardTitle() == "Act II"; }, 20000)) << walk.stuck;
    h.SaveFrame("playthrough_act2_card");
    EXPECT_EQ(Profile::GetFlagInt("Villain.Henchman"), 1);
    EXPECT_GE(Profile::GetFlagInt("Game.BurglarCount"), 1);

    ASSERT_TRUE(walk.PlayUntil([] { return CardTitle() == "Act III"; }, 40000)) << walk.stuck;
    EXPECT_EQ(Profile::GetFlagInt("Villain.Professor Aphasia"), 1);
    EXPECT_GE(Profile::GetFlagInt("Quest.Zero to Wannabe"), 4);

    // Story time passed in both acts, and the log accounts for every minute of it.
    ASSERT_TRUE(player.acts.count(1) && player.acts.count(2));
    EXPECT_GT(player.acts[1].minutes, 0);
    EXPECT_GT(player.acts[2].minutes, 0);
    int minutes = 0;
    for (const auto& [act, record] : player.acts) minutes += record.minutes;
    EXPECT_EQ(minutes, harness::Player::GameMinutes() - player.startMinutes);
}

}  // namespace
