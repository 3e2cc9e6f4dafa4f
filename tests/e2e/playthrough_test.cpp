// The game played as a player plays it: the story's own data, the real action engine, its
// dialogues, buttons and puzzle-board games, answered and played with the mouse by the test
// player. The story begins for a new hero, the first paid job at the Docks opens the Gym, and the
// first training there thaws the hero's powers.
#include <gtest/gtest.h>

#include <memory>

#include "framework/framework.hpp"
#include "gui/gui2.hpp"
#include "model/actions.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"
#include "tests/support/game_art.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/player.hpp"

namespace {

// The part of the city map the story needs here: its item list and the action engine, which runs
// while no popup or game has set the list aside.
class StoryMap : public GameScreen {
  public:
    StoryMap() : GameScreen("Map") {}
    void Start() override {
        StartGui();
        // A story not begun begins with the first act.
        if (Profile::GetFlagInt("Flag.Act") == 0) Profile::SetFlagInt("Flag.Act", 1);
    }
    void Update2() override {
        UpdateGui();
        // A chain that ran on keeps the engine going until it has nothing more to do.
        if (!GUIList::Suspended() && Actions::Check("")) Profile::flagsDirty = 1;
    }
    void Render() override {
        platform::Cls(20, 40, 60);
        RenderGui();
    }
};

// What the map does when the hero walks up to a place.
void ArriveAt(const std::string& place) {
    Profile::SetFlagString("Location", place);
    Profile::SetFlagString("ArriveAt", place);
}

TEST(Playthrough, ANewHerosFirstJobOpensTheGymAndTheFirstTrainingThawsThePowers) {
    harness::Harness h;
    ASSERT_TRUE(h.Start());
    harness::LoadPuzzleArt();
    Profile::currentSlot = 0;
    Profile::slotFlags = Profile::saveData->Profiles.Get2(0);
    Profile::Init();
    Profile::SetFlagString("Name", "Rook");
    std::make_shared<StoryMap>()->PreStart();
    harness::Player player(h);

    // The opening: the Wizard's welcome, read to its end, gives the rent money and the Docks.
    ASSERT_TRUE(player.WaitUntil([&] { return player.Find("dialogue").has_value(); }, 60));
    ASSERT_TRUE(player.PlayOn(3000));
    EXPECT_EQ(Profile::GetFlagInt("Location.Docks"), 1);
    const int money = Profile::GetFlagInt("Resource.Money");
    EXPECT_GT(money, 0);

    // At the Docks: Big Marge's talk, then her "Work" button, then the job on the board.
    ArriveAt("Docks");
    ASSERT_TRUE(player.PlayOn(3000));
    const int clock = harness::Player::GameMinutes();
    ASSERT_TRUE(player.Click("button", "Work"));
    ASSERT_TRUE(player.WaitUntil([&] { return player.Find("popup").has_value(); }, 30));
    h.SaveFrame("playthrough_job");
    ASSERT_TRUE(player.PlayOn(20000));
    EXPECT_EQ(Profile::GetFlagInt("Game.JobWin"), 1);
    EXPECT_EQ(Profile::GetFlagInt("Game.JobCount"), 1);
    EXPECT_GT(Profile::GetFlagInt("Resource.Money"), money);
    EXPECT_GT(Profile::GetFlagInt("Skill.Manual Labor"), 0);
    EXPECT_EQ(harness::Player::GameMinutes(), clock + 120);
    // The paycheck opens the Gym.
    EXPECT_EQ(Profile::GetFlagInt("Location.Gym"), 1);

    // The Gym's training, played to its last move, and the Wizard's thaw after it.
    ArriveAt("Gym");
    ASSERT_TRUE(player.PlayOn(3000));
    const int strength = Profile::GetFlagInt("Attribute.Strength");
    ASSERT_TRUE(player.Click("button", "Train"));
    ASSERT_TRUE(player.PlayOn(20000));
    EXPECT_EQ(Profile::GetFlagInt("Game.TrainingCount"), 1);
    EXPECT_GE(Profile::GetFlagInt("Attribute.Strength"), strength + 120);
    EXPECT_EQ(Profile::GetFlagInt("ID.a1_powers"), 1);
}

}  // namespace
