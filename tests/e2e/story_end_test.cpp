// The story's close played through the real game, once for each ending: on the city map the hero
// walks home to the Time Master's Shortcut at the end of the fourth act, the fifth act's card
// follows, the emperor falls, the offers wait at Quellfast, and the end-game screen shows the
// ending the answers lead to and rolls its credits before the epilogue's card and the epilogue.
// No act's opening plays before its card, and the epilogue waits for the end game.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/framework.hpp"
#include "gui/dialogue.hpp"
#include "gui/dialogues.hpp"
#include "gui/gui2.hpp"
#include "gui/text.hpp"
#include "model/profile.hpp"
#include "screens/map.hpp"
#include "tests/support/game_assets.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/player.hpp"

namespace {

// Whether some text on screen reads `words` (line breaks and spaces aside).
bool OnScreen(const harness::Player& player, const std::string& words) {
    auto squeeze = [](std::string s) {
        for (size_t at = s.find("\\n"); at != std::string::npos; at = s.find("\\n")) s.erase(at, 2);
        s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\n'; }), s.end());
        return s;
    };
    const std::string wanted = squeeze(words);
    for (const harness::ItemBox& box : player.Items())
        if (auto* text = dynamic_cast<GUIText*>(box.item); text && squeeze(text->text).find(wanted) != std::string::npos)
            return true;
    return false;
}

// The screens the game showed and the dialogues it played, in order.
class Story {
  public:
    explicit Story(harness::Player& player) : player(player) {}

    // Answers, clicks through the interludes and plays on until `done` holds with nothing left
    // waiting for the player on the map; false when that does not happen within maxFrames.
    bool PlayUntil(const std::function<bool()>& done, int maxFrames) {
        int calm = 0;
        for (int i = 0; i < maxFrames; ++i) {
            Look();
            const bool onMap = player.ScreenName() == "Map";
            const bool waiting = GUIList::Suspended() || player.Find("dialogue") || player.Find("popup") ||
                                 player.Find("result");
            calm = onMap && !waiting ? calm + 1 : 0;
            if (calm >= 10 && done()) return true;
            if (player.Answer()) continue;
            // The act card and the end game's thank-you note and credits end on a click.
            if (!onMap && i % 20 == 19) player.ClickAt(500, 300);
            if (!player.Step()) return false;
        }
        return false;
    }
    // Position of the first `what` seen after position `from` (npos when never).
    size_t Seen(const std::string& what, size_t from = 0) const {
        const auto at = std::find(seen.begin() + static_cast<long>(std::min(from, seen.size())), seen.end(), what);
        return at == seen.end() ? std::string::npos : static_cast<size_t>(at - seen.begin());
    }
    long Times(const std::string& what) const { return std::count(seen.begin(), seen.end(), what); }

    std::vector<std::string> seen;
    std::string endingWordsWanted;
    bool endingShown = false;

  private:
    void Look() {
        const std::string screen = player.ScreenName();
        if (screen != lastScreen) seen.push_back(lastScreen = screen);
        if (screen == "Endgame" && !endingWordsWanted.empty() && OnScreen(player, endingWordsWanted))
            endingShown = true;
        const GUIDialogue* playing = nullptr;
        if (auto box = player.Find("dialogue")) playing = dynamic_cast<GUIDialogue*>(box->item);
        if (playing != lastDialogue && playing && playing->dialogue) seen.push_back(playing->dialogue->id);
        lastDialogue = playing;
    }

    harness::Player& player;
    std::string lastScreen;
    const GUIDialogue* lastDialogue = nullptr;
};

struct Ending {
    const char* shortcut;     // the answer to the Time Master in the fourth act
    const char* future;       // the answer at the end of the fifth
    const char* farewell;     // the dialogue that answer plays
    const char* endingWords;  // from the first page of the ending the end game must show
};

TEST(StoryEnd, EveryEndingIsReachedFromTheShortcutThroughTheEndGameToTheEpilogue) {
    const Ending endings[] = {
        {"No thanks", "Stay", "a5_end_sidekick", "happily accepted Blizzard Wizard's offer"},
        {"No thanks", "Go solo", "a5_end_own", "rejected both Blizzard Wizard's and Time Master's offers"},
        {"Take it", "Go solo", "a5_end_own", "never heard from the Blizzard Wizard again"},
        {"Take it", "Go dark", "a5_end_evil", "never saw truth in strict division"},
    };
    for (const Ending& ending : endings) {
        SCOPED_TRACE(std::string(ending.shortcut) + ", then " + ending.future);
        harness::Harness h;
        ASSERT_TRUE(h.Start());
        harness::LoadGameAssets();
        // The end game's rays come with the title's pictures.
        briskGame->images->Load3("Rays.png", "", true);
        harness::MakeHero("Rook");

        // A hero who has just shown the Mayor the proof that voids the sale, with every earlier
        // quest done, and powers far enough from their next level that the Shortcut levels none.
        for (const char* key : {"Flag.Act", "Flag.ActShow"}) Profile::SetFlagInt(key, 4);
        for (const char* quest : {"Easy Money", "Raise the Alarm", "Zero to Wannabe", "Stop the Sale"})
            Profile::SetFlagInt(std::string("Quest.") + quest, 4);
        for (const char* quest : {"Trial of Wits", "Trial of Might", "Trial of Heart"})
            Profile::SetFlagInt(std::string("Quest.") + quest, 3);
        for (const char* power : {"Strength", "Essence", "Intelligence"}) {
            Profile::AddFlagInt(std::string("Attribute.") + power, 500);
            Profile::SetFlagInt(std::string("PowerUp.Attribute.") + power, Profile::GetFlagInt(std::string("Level.Attribute.") + power));
        }
        for (const char* key : {"ID.a4_start", "ID.a4_proof", "Villain.Wonder Boy"}) Profile::SetFlagInt(key, 1);
        for (const char* place : {"Quellfast", "Gazette", "City Hall", "Supreme Tower"})
            Profile::SetFlagInt(std::string("Location.") + place, 1);
        Profile::SetFlagString("Location", "Gazette");
        MapScreen::MapScreen_new()->PreStart();

        harness::Player player(h);
        Story story(player);
        story.endingWordsWanted = ending.endingWords;
        std::vector<std::string> offered;
        player.choose = [&](const std::vector<std::string>& choices) {
            offered = choices;
            h.SaveFrame(std::string("story_end_choice_") + ending.shortcut + "_" + std::to_string(choices.size()));
            for (const char* answer : {ending.shortcut, ending.future})
                if (std::find(choices.begin(), choices.end(), answer) != choices.end()) return std::string(answer);
            return choices.front();
        };
        ASSERT_TRUE(story.PlayUntil([] { return true; }, 300));

        // Home: the Time Master's offer, the answer, the next morning, and the fifth act's card.
        ASSERT_TRUE(player.Click("location", "Quellfast"));
        ASSERT_TRUE(story.PlayUntil([&] { return story.Times("a5_start") > 0; }, 4000))
            << ::testing::PrintToString(story.seen);
        EXPECT_EQ(Profile::GetFlagInt("Flag.ActShow"), 5);
        EXPECT_EQ(Profile::GetFlagString("Game.Time"), std::string(ending.shortcut) == "Take it" ? "1" : "");
        const size_t card5 = story.Seen("Act", story.Seen("a4_end"));
        ASSERT_NE(card5, std::string::npos);
        EXPECT_EQ(story.Times("a5_start"), 1);
        EXPECT_GT(story.Seen("a5_start"), card5) << "the fifth act began before its card";

        // Charged, the master key won, the tower climbed: the emperor's fall is told.
        Profile::SetFlagInt("Upgrade.Heroic Power", 1);
        Profile::SetFlagInt("Villain.Ms Supreme", 1);
        ASSERT_TRUE(story.PlayUntil([] { return Profile::GetFlagInt("Quest.Supreme Showdown") == 3; }, 3000));
        Profile::SetFlagInt("Game.Dungeon", 1);
        ASSERT_TRUE(story.PlayUntil([] { return Profile::GetFlagInt("Villain.Infinitorax Supreme") == 1; }, 3000));
        EXPECT_NE(story.Seen("a5_victory"), std::string::npos);

        // The offers at Quellfast; without the Wizard there is nobody to stay with.
        // The base's menu stands over its own place on the map: leave it first.
        ASSERT_TRUE(story.PlayUntil([&] { return player.Find("button", "Leave").has_value(); }, 300));
        ASSERT_TRUE(player.Click("button", "Leave"));
        ASSERT_TRUE(story.PlayUntil([&] { return !player.Find("button"); }, 300));
        ASSERT_TRUE(player.Click("location", "Quellfast"));
        ASSERT_TRUE(story.PlayUntil([] { return Profile::GetFlagInt("Flag.ActShow") == 6; }, 8000))
            << ::testing::PrintToString(story.seen);
        const bool stayOffered = std::find(offered.begin(), offered.end(), "Stay") != offered.end();
        EXPECT_EQ(stayOffered, std::string(ending.shortcut) == "No thanks");
        EXPECT_EQ(Profile::GetFlagInt("Game.Evil"), std::string(ending.future) == "Go dark" ? 1 : 0);
        EXPECT_EQ(Profile::GetFlagInt("Game.Sidekick"), std::string(ending.future) == "Stay" ? 1 : 0);

        // The farewell, then the end game with this ending and its credits, then the epilogue's
        // card and the epilogue, once.
        const size_t farewell = story.Seen(ending.farewell);
        const size_t endGame = story.Seen("Endgame", farewell);
        ASSERT_NE(endGame, std::string::npos);
        EXPECT_TRUE(story.endingShown);
        EXPECT_GT(story.Seen("Act", endGame), endGame);
        ASSERT_TRUE(story.PlayUntil([] { return Profile::GetFlagInt("ID.a6_epilogue") == 1; }, 3000));
        EXPECT_EQ(story.Times("a6_epilogue"), 1);
        EXPECT_GT(story.Seen("a6_epilogue"), story.Seen("Act", endGame)) << "the epilogue began before the end game";
        EXPECT_EQ(Profile::GetFlagInt("Flag.ActEnd"), 1);
        EXPECT_EQ(Profile::GetFlagString("Game.WizardTip"), "tip_a6");
        h.SaveFrame(std::string("story_end_epilogue_") + ending.future);
    }
}

}  // namespace
