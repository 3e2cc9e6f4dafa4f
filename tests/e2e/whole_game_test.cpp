// The game played from its opening by the test player with the mouse and the keyboard only: the
// splash and the loading, a new hero made on the title, the intro, and then the story on the city
// map (jobs, trainings, power-ups, upgrades, burglars, distress calls, villains, clue hunts, the
// riddle, the Wombat's burrow) through every act's card up to the fourth act's. What each act took
// in game minutes and frames is printed for the record.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "framework/framework.hpp"
#include "model/profile.hpp"
#include "screens/act.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/player.hpp"
#include "tests/support/walkthrough.hpp"

namespace {

std::string CardTitle() {
    const auto* card = dynamic_cast<const ActScreen*>(briskGame->currentScreen.get());
    return card ? card->title : "";
}

bool Reached(const harness::Player& player, const std::string& screen) {
    return std::find(player.screensReached.begin(), player.screensReached.end(), screen) != player.screensReached.end();
}

TEST(WholeGame, ANewHeroFromTheTitlePlaysThroughTheFirstThreeActsToTheFourthActsCard) {
    harness::Harness h;
    h.OpenAsPlayed();
    ASSERT_TRUE(h.Start());
    h.RenderEvery(20);
    harness::Player player(h);
    harness::Walkthrough walk(player, harness::Ending::Independent, "Rook");

    // A new hero, through the intro, to the first act's card; then each act's card in its turn.
    for (const char* card : {"Act I", "Act II", "Act III", "Act IV"}) {
        ASSERT_TRUE(walk.PlayUntil([&] { return CardTitle() == card; }, 40000))
            << "on the way to the card \"" << card << "\": " << walk.stuck;
        h.SaveFrame(std::string("whole_game_") + card);
        if (std::string(card) == "Act I") {
            EXPECT_EQ(Profile::GetFlagString("Name"), "Rook");
            for (const char* screen : {"Splash", "Title", "Cutscene"}) EXPECT_TRUE(Reached(player, screen)) << screen;
        }
    }
    // The story's milestones on the way, as their quests and villains left them.
    for (const char* villain : {"Villain.Henchman", "Villain.Professor Aphasia", "Villain.Countess Conundrum",
                                "Villain.The Hyena"})
        EXPECT_EQ(Profile::GetFlagInt(villain), 1) << villain;
    for (const char* quest : {"Quest.Easy Money", "Quest.Raise the Alarm", "Quest.Zero to Wannabe",
                              "Quest.Trial of Wits", "Quest.Trial of Might", "Quest.Trial of Heart"})
        EXPECT_GE(Profile::GetFlagInt(quest), 3) << quest;

    // Every act took story time, and the log accounts for every minute.
    int minutes = 0;
    std::printf("%-6s %8s %8s\n", "act", "minutes", "frames");
    for (const auto& [act, record] : player.acts) {
        std::printf("%-6d %8d %8d\n", act, record.minutes, record.frames);
        minutes += record.minutes;
        if (act >= 1 && act <= 3) EXPECT_GT(record.minutes, 0) << "act " << act;
    }
    EXPECT_EQ(minutes, harness::Player::GameMinutes() - player.startMinutes);
}

}  // namespace
