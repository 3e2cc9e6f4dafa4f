// The game played from its opening by the test player with the mouse and the keyboard only: the
// splash and the loading, a new hero made on the title, the intro, and then the story on the city
// map (jobs, trainings, power-ups, upgrades, burglars, distress calls, villains, clue hunts, the
// riddle, the dungeons, the streets emptied in act IV, the Shortcut and the offers) through every
// act's card to the end screen, the credits and the epilogue. What each act took in game minutes
// and frames is printed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>

#include "framework/framework.hpp"
#include "gui/gui2.hpp"
#include "model/profile.hpp"
#include "screens/act.hpp"
#include "screens/endgame.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/player.hpp"
#include "tests/support/save_points.hpp"
#include "tests/support/walkthrough.hpp"

namespace {

std::string CardTitle() {
    const auto* card = dynamic_cast<const ActScreen*>(briskGame->currentScreen.get());
    return card ? card->title : "";
}

bool Reached(const harness::Player& player, const std::string& screen) {
    return std::find(player.screensReached.begin(), player.screensReached.end(), screen) != player.screensReached.end();
}

// The whole story once per ending, from the title to the epilogue: the end screen tells the
// ending the choices led to, the credits roll, and the epilogue's card and dialogue follow.
// `make test` plays the hero who goes solo after refusing the Shortcut; `make playthrough` plays
// every ending (BRISK_EVERY_ENDING set).
struct EndingCase {
    harness::Ending ending;
    const char* name;
    // The flags the end screen tells the endings by.
    int evil, sidekick, time;
};

// Test listings name the case by its ending rather than by its bytes.
void PrintTo(const EndingCase& c, std::ostream* out) {
    *out << c.name;
}

class Endings : public ::testing::TestWithParam<EndingCase> {};

TEST_P(Endings, FromTheTitleThroughTheEndScreenAndTheCreditsToTheEpilogue) {
    const EndingCase& c = GetParam();
    if (c.ending != harness::Ending::Independent && std::getenv("BRISK_EVERY_ENDING") == nullptr)
        GTEST_SKIP() << "make playthrough plays every ending";
    harness::Harness h;
    h.OpenAsPlayed();
    ASSERT_TRUE(h.Start());
    h.RenderEvery(20);
    harness::Player player(h);
    harness::Walkthrough walk(player, c.ending, "Rook");
    // `make soak-saves` has the run leave the soak's starting points on its way.
    const char* savesFolder = std::getenv("BRALLWICK_SOAK_SAVES");
    harness::SavePoints saves(savesFolder != nullptr ? savesFolder : "");
    // Act IV empties the streets on its first morning: the citizens flee, and nobody walks them
    // again until the act is over.
    int fledAt = -1;
    bool walkedAfterFlight = false;
    const auto watchStreets = [&] {
        if (player.ScreenName() != "Map" || Profile::GetFlagInt("Flag.Act") != 4) return;
        if (fledAt < 0) {
            if (Profile::GetFlagInt("ID.a4_start") == 1 && Profile::GetFlagString("FadeOut").empty()) fledAt = player.frames;
        } else if (player.frames - fledAt > 30) {
            walkedAfterFlight = walkedAfterFlight || GUIList::Get("citizen", "") != nullptr;
        }
    };
    // A new hero, through the intro, to the first act's card; then each act's card in its turn.
    for (const char* card : {"Act I", "Act II", "Act III", "Act IV", "Act V"}) {
        ASSERT_TRUE(walk.PlayUntil([&] {
                                        saves.Watch();
                                        watchStreets();
                                        return CardTitle() == card;
                                    }, 80000))
            << "on the way to the card \"" << card << "\": " << walk.stuck;
        if (std::string(card) == "Act I") {
            EXPECT_EQ(Profile::GetFlagString("Name"), "Rook");
            for (const char* screen : {"Splash", "Title", "Cutscene"}) EXPECT_TRUE(Reached(player, screen)) << screen;
        }
    }
    // The story's milestones on the way, as their quests and villains left them.
    for (const char* villain : {"Villain.Henchman", "Villain.Professor Aphasia", "Villain.Countess Conundrum",
                                "Villain.The Hyena", "Villain.Wonder Boy"})
        EXPECT_EQ(Profile::GetFlagInt(villain), 1) << villain;
    for (const char* quest : {"Quest.Easy Money", "Quest.Raise the Alarm", "Quest.Zero to Wannabe",
                              "Quest.Trial of Wits", "Quest.Trial of Might", "Quest.Trial of Heart", "Quest.Stop the Sale"})
        EXPECT_GE(Profile::GetFlagInt(quest), 3) << quest;
    EXPECT_GE(fledAt, 0) << "act IV never emptied the streets";
    EXPECT_FALSE(walkedAfterFlight) << "the citizens came back during act IV";
    // The next act's map has its citizens again.
    bool walkedInActV = false;
    ASSERT_TRUE(walk.PlayUntil(
        [&] {
            saves.Watch();
            walkedInActV = walkedInActV || (Profile::GetFlagInt("Flag.Act") == 5 && GUIList::Get("citizen", "") != nullptr);
            return player.ScreenName() == "Endgame";
        },
        80000))
        << walk.stuck;
    EXPECT_TRUE(walkedInActV);
    EXPECT_EQ(Profile::GetFlagInt("Game.Evil"), c.evil);
    EXPECT_EQ(Profile::GetFlagInt("Game.Sidekick"), c.sidekick);
    EXPECT_EQ(Profile::GetFlagInt("Game.Time"), c.time);
    bool credits = false;
    ASSERT_TRUE(walk.PlayUntil(
        [&] {
            saves.Watch();
            const auto* end = dynamic_cast<const EndGameScreen*>(briskGame->currentScreen.get());
            credits = credits || (end && end->state == 7 && end->index > 0);
            return credits && CardTitle() == "Epilogue";
        },
        20000))
        << walk.stuck;
    ASSERT_TRUE(walk.PlayUntil(
                    [&] {
                        saves.Watch();
                        return player.ScreenName() == "Map" && Profile::GetFlagInt("ID.a6_epilogue") == 1;
                    },
                               20000))
        << walk.stuck;
    h.SaveFrame(std::string("whole_game_epilogue_") + c.name);

    // Every act took story time, and the log accounts for every minute.
    int minutes = 0;
    std::printf("%-6s %8s %8s\n", "act", "minutes", "frames");
    for (const auto& [act, record] : player.acts) {
        std::printf("%-6d %8d %8d\n", act, record.minutes, record.frames);
        minutes += record.minutes;
        if (act >= 1 && act <= 5) {
            EXPECT_GT(record.minutes, 0) << "act " << act;
        }
    }
    EXPECT_EQ(minutes, harness::Player::GameMinutes() - player.startMinutes);
}

INSTANTIATE_TEST_SUITE_P(WholeGame, Endings,
                         ::testing::Values(EndingCase{harness::Ending::Independent, "independent", 0, 0, 0},
                                           EndingCase{harness::Ending::Evil, "evil", 1, 0, 0},
                                           EndingCase{harness::Ending::Sidekick, "sidekick", 0, 1, 0},
                                           EndingCase{harness::Ending::Time, "time", 0, 0, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
