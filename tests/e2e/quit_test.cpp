// Quitting from every screen, popup and game: closing the window - or telling the program to end -
// saves what was played since the last save point and ends with status 0. Each quit runs in a
// process of its own whose end is the program's real end, so what the program leaves for the
// exit's own clean-up runs under the sanitizers as it does for a player: a use after free or a leak
// there fails the quit.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/xml.hpp"
#include "framework/framework.hpp"
#include "gui/dialogue.hpp"
#include "gui/gui2.hpp"
#include "gui/item.hpp"
#include "minigames/battlefx.hpp"
#include "minigames/board.hpp"
#include "minigames/gamefalling_item.hpp"
#include "model/actions.hpp"
#include "model/powers.hpp"
#include "model/profile.hpp"
#include "model/quests.hpp"
#include "platform/engine.hpp"
#include "platform/storage.hpp"
#include "screens/act.hpp"
#include "screens/base.hpp"
#include "screens/endgame.hpp"
#include "screens/level.hpp"
#include "screens/map.hpp"
#include "tests/support/game_assets.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/player.hpp"

namespace {

using harness::Harness;
using harness::Player;
// What a place's opening made and the game only points at; it lives until the process ends.
struct Kept {
    std::unique_ptr<XMLDocument> doc;
    ActionPtr action;
};
using Reach = std::function<bool(Player&, Kept&)>;

struct Place {
    std::string name;
    // Through the splash, the loading and the title as a player starts; otherwise the game starts
    // on a hero of its own on the city map.
    bool asPlayed = false;
    Reach reach;
};

[[noreturn]] void Fail(const std::string& why) {
    std::fprintf(stderr, "%s\n", why.c_str());
    std::fflush(stderr);
    std::_Exit(1);
}

// Clicks the item once it has faded in; false when it never showed.
bool ClickShown(Player& p, const std::string& id, const std::string& name, int data = -1) {
    auto shown = [&]() -> const GUIItem* {
        for (const harness::ItemBox& box : p.Items()) {
            if (box.item->id == id && box.item->name == name && (data < 0 || box.item->data == data) &&
                box.item->alpha.value >= 1.0f)
                return box.item;
        }
        return nullptr;
    };
    if (!p.WaitUntil([&] { return shown() != nullptr; }, 1500)) return false;
    for (const harness::ItemBox& box : p.Items()) {
        if (box.item == shown()) {
            p.Click(box);
            return true;
        }
    }
    return false;
}

bool OnScreen(Player& p, const std::string& screen) {
    return p.WaitUntil([&] { return p.ScreenName() == screen; }, 1500);
}

bool OnMap(Player& p) {
    return OnScreen(p, "Map");
}

// Title, Play, the first slot: the creation popup.
bool ToCreation(Player& p, Kept&) {
    return ClickShown(p, "button", "play") && ClickShown(p, "character", "character", 0) &&
           p.WaitUntil([&] { return p.Find("character", "ok").has_value(); }, 600);
}

// What the action engine would start from that action's XML.
Reach Action(std::string xml, std::string shownId) {
    return [xml = std::move(xml), shownId = std::move(shownId)](Player& p, Kept& kept) {
        XMLParser parser;
        kept.doc = parser.ParseString(xml);
        kept.action = Actions::ParseAction(kept.doc->Root(), "City-Act1", "quit");
        if (!kept.action) return false;
        kept.action->Activate();
        return p.WaitUntil([&] { return GUIList::Get(shownId, "") != nullptr; }, 300) && p.Step(30);
    };
}

Reach Call(std::function<void()> open, std::string shownId) {
    return [open = std::move(open), shownId = std::move(shownId)](Player& p, Kept&) {
        open();
        return p.WaitUntil([&] { return GUIList::Get(shownId, "") != nullptr; }, 300) && p.Step(10);
    };
}

Reach Screen(std::function<std::shared_ptr<::Screen>()> make, std::string name) {
    return [make = std::move(make), name = std::move(name)](Player& p, Kept&) {
        make()->PreStart();
        return OnScreen(p, name) && p.Step(30);
    };
}

const char* const kBattle = R"(<action battle="thug" name="Thug" bg="Street" image="Characters01" index="1"
                               constitution="2" physical="1" elemental="1" mental="1"/>)";

// The thug's punch lands on the hero: its effect holds both fighters, the hero as his portrait.
bool PunchPlaying(Player& p) {
    Power* punch = Powers::Get("Left Hook");
    if (!punch) return false;
    BattleState::showOpponentPower.Run(*punch);
    return p.WaitUntil([] { return GUIList::Get("powerpopup", "") != nullptr; }, 30);
}

bool InRemoveQueue(const std::string& id) {
    for (GUIItem* item : GUIList::removeQueue)
        if (item->id == id) return true;
    return false;
}

// A dialogue on stage with both its speakers, the hero as his portrait.
bool BothSpeaking() {
    const auto* dialogue = dynamic_cast<const GUIDialogue*>(GUIList::Get("dialogue", ""));
    if (!dialogue || dialogue->actors.size() < 2) return false;
    for (const auto& actor : dialogue->actors)
        if (actor->id == "hero" && actor->hero) return true;
    return false;
}

std::vector<Place> Places() {
    return {
        {"the splash", true, [](Player& p, Kept&) { return p.ScreenName() == "Splash"; }},
        {"the loading", true, [](Player& p, Kept&) { return OnScreen(p, "Load"); }},
        {"the title", true, [](Player& p, Kept&) { return OnScreen(p, "Title") && p.Step(60); }},
        {"the hero's creation", true, ToCreation},
        {"the opening cutscene of a new hero", true,
         [](Player& p, Kept& kept) {
             return ToCreation(p, kept) && ClickShown(p, "character", "ok") && OnScreen(p, "Cutscene") &&
                    p.Step(30);
         }},
        {"a dialogue on the city map", false,
         [](Player& p, Kept&) {
             return p.WaitUntil([] { return GUIList::Get("dialogue", "") != nullptr; }, 300);
         }},
        {"the character sheet", false,
         [](Player& p, Kept&) { return p.PlayOn(1500) && ClickShown(p, "profile", "profile"); }},
        {"the options", false,
         [](Player& p, Kept&) { return p.PlayOn(1500) && ClickShown(p, "profile", "settings"); }},
        {"the base", false, Call([] { Base::InitBase(); }, "result")},
        {"a power-up tree", false, Call([] { Level::InitPowerUp("Attribute.Strength"); }, "result")},
        {"a job", false,
         Action(R"(<action id="work" job="dock work" bg="Street" money="60" time="90" target_ment="3"
                    target_elem="3" target_phys="3"/>)",
                "popup")},
        {"a training", false, Action(R"(<action id="gym" training="gym" bg="Arena" moves="3"/>)", "popup")},
        {"a battle", false, Action(kBattle, "popup")},
        {"a battle while a power's effect plays", false,
         [](Player& p, Kept& kept) {
             return Action(kBattle, "popup")(p, kept) && PunchPlaying(p) && p.Step(20);
         }},
        {"a battle with a played effect waiting to be taken out", false,
         [](Player& p, Kept& kept) {
             return Action(kBattle, "popup")(p, kept) && PunchPlaying(p) &&
                    p.WaitUntil([] { return InRemoveQueue("powerpopup"); }, 600);
         }},
        {"a dialogue with both speakers on stage", false,
         [](Player& p, Kept&) {
             if (!p.PlayOn(1500)) return false;
             Profile::SetFlagString("Dialogue", "random_resource");
             return p.WaitUntil(BothSpeaking, 300) && p.Step(10) && BothSpeaking();
         }},
        {"the falling signs", false,
         Action(R"(<action id="sign" game="falling" difficulty="3"/>)", "distress")},
        {"the falling signs while the hero carries the lady along", false,
         [](Player& p, Kept& kept) {
             if (!Action(R"(<action id="sign" game="falling" difficulty="3"/>)", "distress")(p, kept))
                 return false;
             auto* game = dynamic_cast<GUIGameFalling*>(GUIList::Get("distress", ""));
             if (!game || !p.WaitUntil([&] { return GUIList::Get("gamepopup", "") && game->wait <= 0; }, 600))
                 return false;
             p.MoveTo(200, 300);
             platform::driver::InjectMouseButton(0, true);
             p.Step(5);
             p.MoveTo(800, 300);
             return p.Step(5) && game->player && game->player->hero && game->victim;
         }},
        {"the runaway car", false, Action(R"(<action id="road" game="car" difficulty="1"/>)", "distress")},
        {"the crowd search", false,
         Action(R"(<action id="crowd" game="search" difficulty="3"/>)", "distress")},
        {"the cat in the tree", false,
         Action(R"(<action id="cat" game="tree" difficulty="2"/>)", "distress")},
        {"a dungeon", false,
         [](Player& p, Kept&) {
             for (const auto& quest : Quests::allQuests) {
                 for (const auto& status : quest->statuses) {
                     if (!status->dungeon) continue;
                     Actions::starters.dungeon(*status->dungeon);
                     return p.WaitUntil([] { return GUIList::Get("dungeon", "") != nullptr; }, 300) &&
                            p.Step(30);
                 }
             }
             return false;
         }},
        {"the city map with a burglar and a call for help about", false,
         [](Player& p, Kept&) {
             if (!p.PlayOn(1500)) return false;
             Profile::SetFlagInt("Upgrade.Burglar Alarm", 1);
             Profile::SetFlagInt("Upgrade.Distress-o-Meter", 1);
             return p.WaitUntil([] { return GUIList::Get("burglar", "") && GUIList::Get("distress", ""); },
                                600) &&
                    p.Step(10);
         }},
        {"an act card", false, Screen([] { return ActScreen::ActScreen_new(); }, "Act")},
        {"the end of the game", false, Screen([] { return EndGameScreen::EndGameScreen_new(); }, "Endgame")},
    };
}

// Runs the game to the place, sets a setting the last save point did not see, quits, and ends the
// way the program itself ends. Never returns.
[[noreturn]] void QuitFrom(const Place& place, bool bySignal) {
    Harness h;
    if (place.asPlayed) h.OpenAsPlayed();
    if (!h.Start()) Fail("the game did not start: " + h.LastReport());
    // The player reads the items, not the pixels: a frame in eight is drawn.
    h.RenderEvery(8);
    Player p(h);
    p.frameMs = 17;
    if (!place.asPlayed) {
        harness::LoadGameAssets();
        harness::MakeHero("Rook");
        MapScreen::MapScreen_new()->PreStart();
        if (!OnMap(p) || !p.Step(30)) Fail("no city map: " + h.LastReport());
    }
    Kept kept;
    if (!place.reach(p, kept) || !h.Running()) {
        std::string items;
        for (const harness::ItemBox& box : p.Items()) items += " " + box.item->id + "/" + box.item->name;
        Fail("not reached (screen \"" + p.ScreenName() + "\", items" + items + "): " + h.LastReport());
    }
    Profile::SetGlobalFlagInt("MusicVolume", 13);
    if (bySignal) {
        std::raise(SIGTERM);
    } else {
        h.Quit();
    }
    h.Step();
    if (h.Running()) Fail("still running after the quit");
    if (h.ExitStatus() != 0)
        Fail("ended with status " + std::to_string(h.ExitStatus()) + ": " + h.LastReport());
    if (platform::LoadState().find("MusicVolume|13|") == std::string::npos) Fail("what was played is lost");
    const std::string folder = h.AppDataFolder();
    // As the program's own loop does when it has ended; then the exit.
    platform::driver::Stop();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::exit(0);
}

TEST(Quit, FromEveryScreenPopupAndGameSavesWhatWasPlayedAndEndsCleanly) {
    const std::vector<Place> places = Places();
    for (size_t i = 0; i < places.size(); ++i) {
        // Every third quit comes as a termination signal instead of the window's close.
        const bool bySignal = i % 3 == 2;
        EXPECT_EXIT(QuitFrom(places[i], bySignal), testing::ExitedWithCode(0), "")
            << "quit from " << places[i].name << (bySignal ? " by a signal" : "");
    }
}

}  // namespace
