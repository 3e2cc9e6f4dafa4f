// The story's close played through the real game, once for each ending: the Time Master's
// Shortcut at Quellfast ends the fourth act, the fifth act's card, the emperor's fall, the offers
// at Quellfast, the end-game screen with the ending the answers lead to and its credits, the
// epilogue's card and the epilogue itself. Between two acts the map restarts before anything of
// the next act happens, so no act opens before its card and the epilogue waits for the end screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/framework.hpp"
#include "gui/gui2.hpp"
#include "gui/text.hpp"
#include "model/actions.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"
#include "screens/act.hpp"
#include "screens/endgame.hpp"
#include "screens/interlude.hpp"
#include "tests/support/game_art.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/player.hpp"

namespace {

// What the story saw each time the map restarted.
struct Restart {
    int act = 0;
    bool nextActBegun = false;  // an action of the act being entered had already fired
};

// The city map as far as the story's acts need it: its start opens the act card or the end game
// when the story has moved on, a restart waits for the running chain, and the action engine runs
// while nothing has set the item list aside.
class StoryMap : public GameScreen {
  public:
    explicit StoryMap(std::vector<Restart>* restarts) : GameScreen("Map"), restarts(restarts) {}
    void Start() override {
        Actions::currentAction = nullptr;
        Actions::Clear();
        Profile::SetFlagString("Goto", "");
        Profile::SetFlagString("Flag.StopActions", "");
        const int act = Profile::GetFlagInt("Flag.Act");
        if (act > Profile::GetFlagInt("Flag.ActShow")) {
            if (act == 6 && Profile::GetFlagInt("Flag.ActEnd") == 0)
                EndGameScreen::EndGameScreen_new()->PreStart();
            else
                ActScreen::ActScreen_new()->PreStart();
            return;
        }
        StartGui();
    }
    void Update2() override {
        UpdateGui();
        if (leaving || GUIList::Suspended()) return;
        const bool chain = Actions::currentAction != nullptr;
        if (!Profile::GetFlagString("Refresh").empty() && !chain) {
            Profile::SetFlagString("Refresh", "");
            Actions::Clear();
        }
        if (!Profile::GetFlagString("Goto").empty() && !chain) {
            const int act = Profile::GetFlagInt("Flag.Act");
            const char* opening = act == 5 ? "ID.a5_start" : "ID.a6_epilogue";
            restarts->push_back({act, Profile::GetFlagInt(opening) != 0});
            leaving = true;
            Data::ExitScreen(std::make_shared<StoryMap>(restarts), 500);
            return;
        }
        if (Actions::Check("")) Profile::flagsDirty = 1;
    }
    void Render() override {
        platform::Cls(20, 40, 60);
        RenderGui();
    }

  private:
    std::vector<Restart>* restarts;
    bool leaving = false;
};

// The map's arrival at a place.
void ArriveAt(const std::string& place) {
    Profile::SetFlagString("Location", place);
    Profile::SetFlagString("ArriveAt", place);
}

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

struct Ending {
    const char* shortcut;     // the answer to the Time Master in the fourth act
    const char* future;       // the answer at the end of the fifth
    const char* endingWords;  // from the first page of the ending the end game must show
    const char* evil;         // flags the answers leave for the end game
    const char* sidekick;
    const char* time;
};

TEST(StoryEnd, EveryEndingIsReachedFromTheShortcutThroughTheEndGameToTheEpilogue) {
    const Ending endings[] = {
        {"No thanks", "Stay", "happily accepted Blizzard Wizard's offer", "", "1", ""},
        {"No thanks", "Go solo", "rejected both Blizzard Wizard's and Time Master's offers", "", "", ""},
        {"Take it", "Go solo", "never heard from the Blizzard Wizard again", "", "", "1"},
        {"Take it", "Go dark", "never saw truth in strict division", "1", "", "1"},
    };
    for (const Ending& ending : endings) {
        SCOPED_TRACE(std::string(ending.shortcut) + ", then " + ending.future);
        harness::Harness h;
        ASSERT_TRUE(h.Start());
        harness::LoadPuzzleArt();
        auto& images = *briskGame->images;
        struct Sheet {
            const char* file;
            int frames;
        };
        for (const Sheet& sheet : {Sheet{"Characters03.png", 2}, Sheet{"Characters05.png", 3}, Sheet{"Characters06.png", 4},
                                   Sheet{"Characters07.png", 6}, Sheet{"Characters08.png", 3}, Sheet{"Animals.png", 3},
                                   Sheet{"HeroMale1.png", 4}})
            images.LoadAnim2(sheet.file, 256, 256, sheet.frames);
        images.Load3("Act.jpg");
        images.Load3("Rays.png", "", true);
        images.LoadAnim2("HealthBar.png", 168, 32, 2);

        // A hero who has just shown the Mayor the proof that voids the sale.
        Profile::currentSlot = 0;
        Profile::slotFlags = Profile::saveData->Profiles.Get2(0);
        Profile::Init();
        Profile::SetFlagString("Name", "Rook");
        Profile::SetFlagString("CharacterPortrait", "HeroMale1");
        for (const char* key : {"Flag.Act", "Flag.ActShow"}) Profile::SetFlagInt(key, 4);
        for (const char* key : {"ID.a4_start", "ID.a4_proof", "Villain.Wonder Boy"}) Profile::SetFlagInt(key, 1);
        Profile::SetFlagInt("Quest.Stop the Sale", 4);

        std::vector<Restart> restarts;
        InterludeExits::exits.map = [&restarts] { return std::make_shared<StoryMap>(&restarts); };
        std::make_shared<StoryMap>(&restarts)->PreStart();
        harness::Player player(h);
        std::vector<std::string> offered;
        player.choose = [&](const std::vector<std::string>& choices) {
            offered = choices;
            h.SaveFrame(std::string("story_end_choice_") + ending.shortcut + "_" + std::to_string(choices.size()));
            for (const char* answer : {ending.shortcut, ending.future})
                if (std::find(choices.begin(), choices.end(), answer) != choices.end()) return std::string(answer);
            return choices.front();
        };
        // Plays on, and clicks through whatever takes a click, until the map is back (with `back`
        // holding) and nothing waits for an answer.
        auto playToMap = [&](const std::function<bool()>& back, int maxFrames) {
            for (int i = 0; i < maxFrames; ++i) {
                if (player.ScreenName() == "Map" && back() && player.PlayOn(200)) return true;
                if (player.Answer()) continue;
                if (i % 20 == 19) player.ClickAt(500, 300);
                if (!player.Step()) return false;
            }
            return false;
        };
        auto actsShown = [](int n) { return [n] { return Profile::GetFlagInt("Flag.ActShow") == n; }; };

        // Home: the Time Master's offer, the answer, and the next morning.
        ArriveAt("Quellfast");
        ASSERT_TRUE(player.PlayOn(3000));
        ASSERT_EQ(restarts.size(), 1u);
        EXPECT_EQ(restarts[0].act, 5);
        EXPECT_FALSE(restarts[0].nextActBegun) << "the fifth act began before its card";
        EXPECT_EQ(Profile::GetFlagString("Game.Time"), ending.time);

        // The act card, then the fifth act opens; the tower's fall is told once the climb is done.
        ASSERT_TRUE(playToMap(actsShown(5), 2000));
        EXPECT_EQ(Profile::GetFlagInt("Flag.ActShow"), 5);
        EXPECT_EQ(Profile::GetFlagInt("ID.a5_start"), 1);
        Profile::SetFlagInt("Villain.Ms Supreme", 1);
        Profile::SetFlagInt("Quest.Supreme Showdown", 4);
        ASSERT_TRUE(player.PlayOn(3000));
        EXPECT_EQ(Profile::GetFlagInt("Villain.Infinitorax Supreme"), 1);

        // The offers: without the Wizard there is nobody to stay with.
        ArriveAt("Quellfast");
        ASSERT_TRUE(player.PlayOn(3000));
        const bool stayOffered = std::find(offered.begin(), offered.end(), "Stay") != offered.end();
        EXPECT_EQ(stayOffered, std::string(ending.time).empty());
        ASSERT_EQ(restarts.size(), 2u);
        EXPECT_EQ(restarts[1].act, 6);
        EXPECT_FALSE(restarts[1].nextActBegun) << "the epilogue began before the end game";
        EXPECT_EQ(Profile::GetFlagString("Game.Evil"), ending.evil);
        EXPECT_EQ(Profile::GetFlagString("Game.Sidekick"), ending.sidekick);

        // The end game shows this ending, rolls the credits and goes back to the map, whose next
        // start shows the epilogue's card; then the epilogue itself.
        ASSERT_TRUE(player.WaitUntil([&] { return player.ScreenName() == "Endgame"; }, 100));
        ASSERT_TRUE(player.WaitUntil([&] { return OnScreen(player, ending.endingWords); }, 200));
        player.Step(40);
        h.SaveFrame(std::string("story_end_") + ending.future);
        ASSERT_TRUE(playToMap(actsShown(6), 6000));
        EXPECT_EQ(Profile::GetFlagInt("Flag.ActEnd"), 1);
        EXPECT_EQ(Profile::GetFlagInt("Flag.ActShow"), 6);
        EXPECT_EQ(Profile::GetFlagInt("ID.a6_epilogue"), 1);
        EXPECT_EQ(Profile::GetFlagString("Game.WizardTip"), "tip_a6");
        InterludeExits::exits = {};
    }
}

}  // namespace
