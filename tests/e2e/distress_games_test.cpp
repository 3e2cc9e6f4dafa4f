// The distress games started by their actions over a stand-in for the city map and played with
// the real mouse to their result sheets: what the sheet pays must be what play earned, the flags
// the story reads must say how the call ended, an hour passes, and the map comes back. Escape in
// the middle of play abandons the call: a failure, no rewards. Frames are saved for a look.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "core/xml.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/gui2.hpp"
#include "gui/particle.hpp"
#include "gui/text.hpp"
#include "minigames/distressgame.hpp"
#include "minigames/gamecar_item.hpp"
#include "minigames/gamefalling_item.hpp"
#include "minigames/gamesearch_item.hpp"
#include "minigames/gametree_item.hpp"
#include "minigames/puzzlegame.hpp"
#include "model/actions.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"
#include "platform/random.hpp"
#include "tests/e2e/puzzle_fixture.hpp"
#include "tests/support/game_art.hpp"
#include "tests/support/harness.hpp"

namespace {

using puzzle_fixture::MapStandIn;

class DistressGames : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(h.Start());
        harness::LoadDistressArt();
        Profile::currentSlot = 0;
        Profile::slotFlags = Profile::saveData->Profiles.Get2(0);
        Profile::Init();
        Profile::SetFlagString("Name", "Rook");
        Profile::SetFlagString("CharacterPortrait", "Characters01");
        Profile::SetFlagInt("CharacterIcon", 2);
        platform::SetSeed(11);
        std::make_shared<MapStandIn>()->PreStart();
        h.Step(2);
    }

    // Starts the action of that XML as the action engine would.
    template <typename Game>
    Game* Start(const std::string& xml) {
        XMLParser parser;
        doc = parser.ParseString(xml);
        action = Actions::ParseAction(doc->Root(), "City-Act1", "test");
        EXPECT_TRUE(action);
        if (!action) return nullptr;
        action->Activate();
        h.Step();
        return dynamic_cast<Game*>(GUIList::Get("distress", ""));
    }

    // Steps until play is on: the panel is up and the start message has gone.
    bool UntilPlay(const GUIGameDistress& game, int frames = 600) {
        for (int i = 0; i < frames; ++i) {
            if (GUIList::Get("gamepopup", "") && !GUIList::Get("dialogue", "") && game.wait <= 0) return true;
            h.Step();
        }
        return false;
    }

    void Press(int x, int y) {
        h.MouseMove(x, y);
        h.MouseButton(0, true);
        h.Step();
    }

    void Release() {
        h.MouseButton(0, false);
        h.Step();
    }

    void Click(int x, int y) {
        h.MouseMove(x, y);
        h.Step();
        Press(x, y);
        Release();
    }

    void Escape() {
        h.Key(27, true);
        h.Step();
        h.Key(27, false);
        h.Step();
    }

    bool WaitFor(const char* id, int frames) {
        for (int i = 0; i < frames && !GUIList::Get(id, ""); ++i) h.Step();
        return GUIList::Get(id, "") != nullptr;
    }

    // Closes the result sheet with its button and steps until the game has gone and the map's
    // list is back.
    bool CloseSheetAndReturn() {
        h.Step(30);
        GUIItem* sheet = GUIList::Get("result", "");
        if (!sheet) return false;
        Click(TruncToInt(sheet->x) + sheet->w / 2, TruncToInt(sheet->y) + sheet->h - 24);
        return RunUntilGone(300);
    }

    bool RunUntilGone(int frames) {
        for (int i = 0; i < frames; ++i) {
            if (!GUIList::Get("distress", "") && !GUIList::Suspended()) return true;
            h.Step();
        }
        return false;
    }

    // What the sheet pays for the reputation and clues play earned: reputation, clues, half the
    // reputation in money and a quarter more than that in ethics.
    void ExpectPaid(const DistressPlay& rules, int clues) {
        EXPECT_EQ(Profile::GetFlagInt("Resource.Reputation"), rules.bonus);
        EXPECT_EQ(Profile::GetFlagInt("Resource.Clues"), clues);
        const int money = rules.bonus / 2;
        EXPECT_EQ(Profile::GetFlagInt("Resource.Money"), money);
        EXPECT_EQ(Profile::GetFlagInt("Attribute.Ethics"), money * 5 / 4);
    }

    void ExpectWon(int clock) {
        EXPECT_EQ(Profile::GetFlagInt("Game.DistressWin"), 1);
        EXPECT_EQ(Profile::GetFlagInt("Game.DistressFail"), 0);
        EXPECT_EQ(Profile::GetFlagInt("Date.Time"), clock + 60);
        EXPECT_EQ(MapCover::MapVisible(), 1);
        EXPECT_EQ(Audio::IsPlaying(), 0);
    }

    harness::Harness h;
    std::unique_ptr<XMLDocument> doc;
    ActionPtr action;
};

// The hero is steered away from every sign still above him: all of them fall past, each one
// counted as it came into play, and the lady is safe.
TEST_F(DistressGames, FallingSignsDodgedToTheEnd) {
    Profile::SetFlagInt("Game.Clues", 1);
    Profile::SetFlagInt("Game.DistressWin", 1);
    const int clock = Profile::GetFlagInt("Date.Time");
    GUIGameFalling* game = Start<GUIGameFalling>(R"(<action id="sign" game="falling" difficulty="3"/>)");
    ASSERT_NE(game, nullptr);
    EXPECT_TRUE(GUIList::Suspended());
    EXPECT_EQ(Profile::GetFlagInt("Game.DistressWin"), 0);
    // The start message reads in two lines at most, above the hero.
    ASSERT_TRUE(WaitFor("dialogue", 120));
    const auto* message = dynamic_cast<const GUIText*>(GUIList::Get("dialogue", "message"));
    ASSERT_NE(message, nullptr);
    h.Step(20);
    h.SaveFrame("distress_falling_start");
    EXPECT_LE(std::count(message->text.begin(), message->text.end(), '\\'), 1) << "one break at most";
    EXPECT_LE(message->y + message->h, game->rules.heroY) << message->text;
    EXPECT_GE(message->x, 0);
    ASSERT_TRUE(UntilPlay(*game));
    EXPECT_EQ(MapCover::MapVisible(), 0);

    const float pointY = game->rules.heroY + 0.5f * game->rules.heroHeight;
    h.MouseButton(0, true);
    for (int frame = 0; frame < 4000 && !game->rules.done; ++frame) {
        // The point of his track furthest from every sign that can still come down on him.
        int best = 500;
        float bestGap = -1;
        for (int x = 32; x <= 968; x += 8) {
            float gap = 1e9f;
            for (const Sign& sign : game->rules.falling)
                if (sign.y - 32 < pointY) gap = std::min(gap, std::fabs(sign.x + 64 - static_cast<float>(x)));
            if (gap > bestGap) {
                bestGap = gap;
                best = x;
            }
        }
        h.MouseMove(best, 300);
        h.Step();
        if (frame == 400) h.SaveFrame("distress_falling_play");
    }
    h.MouseButton(0, false);
    ASSERT_TRUE(game->rules.done);
    EXPECT_EQ(game->rules.success, 1);
    EXPECT_EQ(game->rules.count, game->rules.target);
    // Every sign came into play, and each paid three times the difficulty and a clue.
    EXPECT_EQ(game->rules.bonus, 9 * game->rules.target);
    EXPECT_EQ(game->rules.clues, game->rules.target);

    ASSERT_TRUE(WaitFor("result", 300));
    ExpectPaid(game->rules, game->rules.target);
    EXPECT_EQ(Profile::GetFlagInt("Game.DistressWin"), 0);  // not before the sheet is closed
    h.Step(30);
    h.SaveFrame("distress_falling_result");
    ASSERT_TRUE(CloseSheetAndReturn());
    ExpectWon(clock);
}

// The hero stands in the road until a car runs into him: play ends there, and the cars already
// counted stand.
TEST_F(DistressGames, ACarHitEndsTheRunWithWhatWasEarned) {
    const int clock = Profile::GetFlagInt("Date.Time");
    GUIGameCar* game = Start<GUIGameCar>(R"(<action id="road" game="car" difficulty="1"/>)");
    ASSERT_NE(game, nullptr);
    ASSERT_TRUE(UntilPlay(*game));
    // He goes to stand in the down lane.
    Press(250, 300);
    for (int i = 0; i < 120; ++i) h.Step();
    Release();
    EXPECT_NEAR(game->rules.px, 250, 1);
    for (int frame = 0; frame < 4000 && !game->rules.done; ++frame) {
        h.Step();
        if (frame == 120) h.SaveFrame("distress_car_play");
    }
    ASSERT_TRUE(game->rules.done);
    EXPECT_LT(game->rules.count, game->rules.target);
    EXPECT_EQ(game->rules.bonus % 2, 0);
    h.Step();
    h.SaveFrame("distress_car_hit");

    ASSERT_TRUE(WaitFor("result", 300));
    ExpectPaid(game->rules, 0);
    ASSERT_TRUE(CloseSheetAndReturn());
    ExpectWon(clock);
}

// Crooks are clicked out of the crowd one press at a time, a citizen once by mistake; the clock
// ends the search.
TEST_F(DistressGames, CrooksPickedFromTheCrowdUntilTheClockRunsOut) {
    Profile::SetFlagInt("Game.Clues", 2);
    const int clock = Profile::GetFlagInt("Date.Time");
    GUIGameSearch* game = Start<GUIGameSearch>(R"(<action id="crowd" game="search" difficulty="3"/>)");
    ASSERT_NE(game, nullptr);
    ASSERT_TRUE(WaitFor("gamepopup", 120));
    ASSERT_NE(game->timer, nullptr);
    EXPECT_EQ(game->timer->text, "60.00");
    ASSERT_TRUE(UntilPlay(*game));
    EXPECT_LT(game->rules.clock.time, 30000);

    // A walker standing clear of every walker before it in the list, fully in view.
    const auto clear = [&](int type) -> const Person* {
        for (size_t i = 0; i < game->rules.persons.size(); ++i) {
            const Person& p = game->rules.persons[i];
            if (p.type != type || !p.active || p.alpha < 1) continue;
            bool alone = true;
            for (size_t j = 0; j < game->rules.persons.size() && alone; ++j)
                if (j != i && std::hypot(game->rules.persons[j].xpos - p.xpos, game->rules.persons[j].ypos - p.ypos) < 48)
                    alone = false;
            if (alone) return &p;
        }
        return nullptr;
    };
    int caught = 0;
    for (int tries = 0; tries < 40 && caught < 5; ++tries) {
        const Person* crook = clear(1);
        if (!crook) {
            h.Step(10);
            continue;
        }
        const int before = game->rules.bonus;
        Press(TruncToInt(crook->xpos), TruncToInt(crook->ypos));
        // Holding the button picks no second walker.
        h.Step(10);
        Release();
        EXPECT_EQ(crook->active, 0);
        EXPECT_EQ(game->rules.bonus, before + 6);
        ++caught;
    }
    ASSERT_EQ(caught, 5);
    h.SaveFrame("distress_search_play");

    const Person* citizen = clear(0);
    ASSERT_NE(citizen, nullptr);
    Press(TruncToInt(citizen->xpos), TruncToInt(citizen->ypos));
    Release();
    EXPECT_EQ(citizen->active, 0);
    EXPECT_EQ(game->rules.bonus, 30);
    bool scorned = false;
    for (GUIItem* item : *GUIList::currentList) {
        const auto* word = dynamic_cast<GUIParticle*>(item);
        for (const char* text : SearchRules::kWords) scorned = scorned || (word && word->text == text);
    }
    EXPECT_TRUE(scorned);
    h.SaveFrame("distress_search_wrong");

    for (int i = 0; i < 2400 && !game->rules.done; ++i) h.Step();
    ASSERT_TRUE(game->rules.done);
    EXPECT_EQ(game->rules.clock.time, 0.0f);
    ASSERT_TRUE(WaitFor("result", 300));
    ExpectPaid(game->rules, 5);
    ASSERT_TRUE(CloseSheetAndReturn());
    ExpectWon(clock);
}

// A blow released late in the ring shakes two cats out; one released early is too weak.
TEST_F(DistressGames, TreeBashedWithAStrongAndAWeakBlow) {
    Profile::SetFlagInt("Game.Clues", 1);
    const int clock = Profile::GetFlagInt("Date.Time");
    GUIGameTree* game = Start<GUIGameTree>(R"(<action id="cat" game="tree" difficulty="2"/>)");
    ASSERT_NE(game, nullptr);
    // Charges the ring from the button until the blow's power passes `power`, then lets go.
    const auto blow = [&](float power) {
        for (int i = 0; i < 400 && !(GUIList::Get("gamepopup", "button") && game->rules.ok); ++i) h.Step();
        ASSERT_NE(GUIList::Get("gamepopup", "button"), nullptr);
        h.MouseMove(500, 300);
        h.Step();
        h.MouseButton(0, true);
        for (int i = 0; i < 200 && game->rules.ring / TreeRules::kRingMax <= power; ++i) h.Step();
        if (power > 0.5f) h.SaveFrame("distress_tree_ring");
        Release();
    };

    blow(0.82f);
    EXPECT_EQ(game->rules.bonus, 8);
    EXPECT_EQ(game->rules.clues, 1);
    EXPECT_NE(GUIList::Get("cat", ""), nullptr);
    h.Step(10);
    h.SaveFrame("distress_tree_cats");

    blow(0.3f);
    EXPECT_EQ(game->rules.bonus, 8);
    GUIItem* message = GUIList::Get("dialogue", "message");
    ASSERT_NE(message, nullptr);
    // The message is wrapped to its width: a line break may stand for the space.
    std::string said = dynamic_cast<GUIText*>(message)->text;
    if (const size_t at = said.find("\\n"); at != std::string::npos) said.replace(at, 2, " ");
    EXPECT_EQ(said, "Too weak!");

    for (int i = 0; i < 2400 && !game->rules.done; ++i) h.Step();
    ASSERT_TRUE(game->rules.done);
    ASSERT_TRUE(WaitFor("result", 300));
    ExpectPaid(game->rules, 1);
    ASSERT_TRUE(CloseSheetAndReturn());
    ExpectWon(clock);
}

// Escape in the middle of play abandons the call: the story hears of a failure (and its dialogue
// plays), no reward is paid, and the hour still passes.
TEST_F(DistressGames, EscapeAbandonsTheCall) {
    Profile::SetFlagString("Game.WinDialogue", "intro_job");
    Profile::SetFlagString("Game.LoseDialogue", "intro_training");
    const int clock = Profile::GetFlagInt("Date.Time");
    GUIGameFalling* game = Start<GUIGameFalling>(R"(<action id="sign" game="falling" difficulty="3"/>)");
    ASSERT_NE(game, nullptr);
    ASSERT_TRUE(UntilPlay(*game));
    h.MouseMove(40, 300);
    h.MouseButton(0, true);
    for (int i = 0; i < 400 && game->rules.bonus == 0; ++i) h.Step();
    h.MouseButton(0, false);
    ASSERT_GT(game->rules.bonus, 0);
    ASSERT_EQ(game->rules.done, 0);
    Escape();
    EXPECT_EQ(game->rules.success, 0);

    // The dialogue for a lost call plays, and both are used up.
    ASSERT_TRUE(WaitFor("dialogue", 120));
    EXPECT_EQ(Profile::GetFlagString("Game.WinDialogue"), "");
    EXPECT_EQ(Profile::GetFlagString("Game.LoseDialogue"), "");
    for (int i = 0; i < 30 && GUIList::Get("dialogue", ""); ++i) Escape();
    ASSERT_TRUE(RunUntilGone(300));
    EXPECT_EQ(GUIList::Get("result", ""), nullptr);
    EXPECT_EQ(Profile::GetFlagInt("Game.DistressFail"), 1);
    EXPECT_EQ(Profile::GetFlagInt("Game.DistressWin"), 0);
    EXPECT_EQ(Profile::GetFlagInt("Resource.Reputation"), 0);
    EXPECT_EQ(Profile::GetFlagInt("Resource.Money"), 0);
    EXPECT_EQ(Profile::GetFlagInt("Date.Time"), clock + 60);
}

}  // namespace
