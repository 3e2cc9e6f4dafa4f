// The screens of a game under way, visited by the layout check: the city map with its corner and
// messages, a place's menu, a quest, a dialogue, the puzzle boards, the hero's popups, the distress
// games and a dungeon. Each is opened the way the game opens it: an action of the story's kind
// started by the action engine, a signal the map takes, or a button of the map's corner, for a
// hero whose flags are those of a player early in the second act. Not yet visited: a place's menu
// (the story's own dialogue comes up with it when its buttons are made from here) and a distress
// game's result sheet (leaving a game early shows none).
#include <memory>
#include <sstream>
#include <string>

#include "core/strings.hpp"
#include "core/xml.hpp"
#include "framework/framework.hpp"
#include "gui/gui2.hpp"
#include "gui/textbutton.hpp"
#include "minigames/board.hpp"
#include "minigames/puzzlebattle.hpp"
#include "model/actions.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "model/quests.hpp"
#include "screens/level.hpp"
#include "screens/map.hpp"
#include "screens/menu.hpp"
#include "tests/checker/layout_visit.hpp"
#include "tests/support/player.hpp"

namespace layout {

namespace {

// A hero a while into the story: three places known, the first powers taken, a quest on.
constexpr const char* kHero =
    "Date.Time|390|Date.Day|1|Resource.Money|115|Resource.Reputation|77|Level.Resource.Reputation|1|"
    "Attribute.Strength|169|Level.Attribute.Strength|2|Attribute.Essence|157|Level.Attribute.Essence|2|"
    "Attribute.Intelligence|122|Level.Attribute.Intelligence|2|Attribute.Constitution|28|"
    "Level.Attribute.Constitution|1|Attribute.Ethics|10|Level.Attribute.Ethics|1|CharacterPortrait|HeroFemale1|"
    "CharacterIcon|2|Name|Captain Wonderful|RealName|Bobbi Bland|Flag.StopActions|1|Flag.Act|2|"
    "Flag.ActShow|2|Location.Quellfast|1|Location.Docks|1|Location.Gym|1|Location.Library|1|Location|Docks|"
    "Power.Attribute.Strength|Left Hook|"
    "Power.Physical.Damage|1|PowerUp.Attribute.Strength|2|Power.Attribute.Essence|Energy Arrow|"
    "Power.Elemental.Energy|1|PowerUp.Attribute.Essence|2|Power.Attribute.Intelligence|Psycho Bolt|"
    "Power.Mental.Bolt|1|PowerUp.Attribute.Intelligence|2|Quest.Easy Money|1|Game.Handicap|0|Game.TutorialJob|1|"
    "Game.TutorialTraining|1|Game.FirstBattle|1|Flag.FirstBattle|1";

void MakeHero() {
    std::istringstream pairs(kHero);
    std::string key, value;
    while (std::getline(pairs, key, '|') && std::getline(pairs, value, '|')) {
        const bool number = !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
        if (number)
            Profile::SetFlagInt(key, StringToInt(value));
        else
            Profile::SetFlagString(key, value);
    }
}

bool Shown(const char* id, const char* name = "") {
    return GUIList::Get(id, name) != nullptr;
}

// Starts an action of the story's kind, as the action engine would; the action lives on in
// `held` while its screen is up.
void Run(const std::string& xml, std::shared_ptr<XMLDocument>& doc, ActionPtr& held) {
    XMLParser parser;
    doc = parser.ParseString(xml);
    held = Actions::ParseAction(doc->Root(), "City-Act2", "layout");
    if (held) held->Activate();
}

// Back to a quiet map: the map is started again, which clears whatever was up.
bool BackToMap(harness::Player& p) {
    MapScreen::MapScreen_new()->PreStart();
    return p.WaitUntil([] { return Shown("profile") && !GUIList::Suspended(); }, 300) && p.Step(30);
}

void VisitMap(Visit& v, harness::Player& p) {
    v.Look("map");

    // The map's own messages (the levels and places the hero's flags earned) come and go first.
    for (int pass = 0; pass < 2; ++pass) {
        int quiet = 0;
        p.WaitUntil([&] { return (quiet = Shown("result") ? 0 : quiet + 1) > 60; }, 1200);
        if (pass == 0) BackToMap(p);
    }
    auto* map = dynamic_cast<MapScreen*>(briskGame->currentScreen.get());
    if (map == nullptr) return v.Lost("the map");
    map->ShowMessage("Rank Up!", std::string("New rank is ") + Profile::RankTitle(10) + "!");
    p.Step(60);
    v.Look("map, a message");
    BackToMap(p);

    for (const auto& quest : Quests::allQuests) {
        if (quest->statuses.IsEmpty()) continue;
        Quests::ShowQuest(*quest, *quest->statuses.Get2(0), "New Quest:");
        p.Step(60);
        v.Look("map, a new quest");
        Quests::ShowMapQuest(*quest);
        BackToMap(p);
        break;
    }

    Profile::SetFlagString("Game.ShowBase", "1");
    if (!p.WaitUntil([] { return Shown("result"); }, 120)) v.Lost("base upgrades");
    p.Step(40);
    v.Look("base upgrades");
    BackToMap(p);

    Menu::ShowCharacterInfo();
    p.Step(60);
    v.Look("character sheet");
    BackToMap(p);

    for (const char* attribute : {"Attribute.Strength", "Attribute.Essence", "Attribute.Intelligence"}) {
        Profile::SetFlagInt("Level." + std::string(attribute), 3);
        Level::InitPowerUp(attribute);
        p.Step(60);
        v.Look(std::string("power-up tree, ") + attribute);
        BackToMap(p);
    }
}

void VisitStory(Visit& v, harness::Player& p) {
    std::shared_ptr<XMLDocument> doc;
    ActionPtr action;
    Run(R"(<action dialogue="a2_start"/>)", doc, action);
    if (!p.WaitUntil([] { return Shown("dialogue"); }, 120)) return v.Lost("a dialogue");
    p.Step(60);
    v.Look("map, a dialogue", false, 300);
    BackToMap(p);

    Run(R"(<action popup="front page" title="Front Page"
            text="Edna Sparks licks her pencil. 'Every hero needs a first headline. How do you want to be introduced to Brallwick?'">
            <choice id="Heroic"/><choice id="Humble"/></action>)",
        doc, action);
    p.Step(60);
    v.Look("map, a choice popup");
    BackToMap(p);
}

// What a battle shows at half strength by its rules: the powers not paid for yet, and the name and
// health of the fighter who waits for the other.
std::vector<std::string> DimmedInBattle() {
    std::vector<std::string> words;
    const auto* battle = dynamic_cast<const GUIPuzzleBattle*>(GUIList::Get("popup", ""));
    if (battle == nullptr) return words;
    for (int i = 0; i < battle->powerCount; ++i) {
        const GUITextButton* power = battle->powers[static_cast<size_t>(i)];
        if (power != nullptr && !power->active) words.push_back(power->name);
    }
    for (const char* side : {"gamepopup", "opponent"}) {
        const GUIItem* panel = GUIList::Get(side, "portrait");
        const auto& fighter = std::string(side) == "opponent" ? BattleState::opponent : BattleState::player;
        if (panel == nullptr || fighter == nullptr || panel->alpha.value > 0.5f) continue;
        words.push_back(fighter->name);
        words.push_back(std::to_string(TruncToInt(fighter->health.value)));
    }
    return words;
}

void VisitBoards(Visit& v, harness::Player& p) {
    std::shared_ptr<XMLDocument> doc;
    ActionPtr action;
    const struct {
        const char* name;
        const char* xml;
    } boards[] = {
        {"job board", R"(<action job="docks" bg="Street" money="50" time="90" target_ment="6" target_elem="6"
                         target_phys="12"/>)"},
        {"training board", R"(<action training="gym" bg="Arena" moves="1"/>)"},
        {"battle board", R"(<action battle="villain" name="Countess Conundrum" bg="Luxury" image="Characters05"
                            index="1" constitution="2"/>)"},
    };
    for (const auto& board : boards) {
        Run(board.xml, doc, action);
        if (!p.WaitUntil([] { return Shown("gamepopup") && !Shown("dialogue"); }, 600)) {
            v.Lost(board.name);
            BackToMap(p);
            continue;
        }
        // The fighters' panels stand dimmed while a message speaks; the board is looked at in play.
        p.WaitUntil(
            [] {
                const GUIItem* opponent = GUIList::Get("opponent", "portrait");
                return opponent == nullptr || opponent->alpha.value == 1.0f;
            },
            600);
        p.Step(20);
        v.Dimmed(DimmedInBattle());
        v.Look(board.name);
        if (std::string(board.name) == "training board") {
            // One move is all it has: the result sheet follows.
            for (int turn = 0; turn < 600 && !Shown("result"); ++turn) {
                if (!p.PlayPuzzle()) p.Answer();
            }
            if (Shown("result")) {
                p.Step(60);
                v.Look("training result sheet");
            } else {
                v.Lost("the training result sheet");
            }
        }
        BackToMap(p);
    }
}

void VisitDistress(Visit& v, harness::Player& p) {
    std::shared_ptr<XMLDocument> doc;
    ActionPtr action;
    for (const char* game : {"tree", "falling", "car", "search"}) {
        Run(std::string(R"(<action id="layout_)") + game + R"(" game=")" + game + R"(" difficulty="1"/>)", doc,
            action);
        if (!p.WaitUntil([] { return Shown("distress"); }, 300)) {
            v.Lost(std::string("the ") + game + " game");
            BackToMap(p);
            continue;
        }
        // The start message shows for under a second: caught, it is looked at; else the game in
        // play with its instructions.
        if (p.WaitUntil([] { return Shown("dialogue"); }, 100)) {
            p.Step(5);
            v.Look(std::string(game) + " game, start message", false, 300);
        } else {
            p.Step(20);
            v.Look(std::string(game) + " game, in play");
        }
        BackToMap(p);
    }
}

void VisitDungeon(Visit& v, harness::Player& p) {
    for (const auto& quest : Quests::allQuests) {
        for (int i = 0; i < quest->statuses.Size(); ++i) {
            const auto& status = quest->statuses.Get2(i);
            if (!status->dungeon || !Actions::starters.dungeon) continue;
            Actions::starters.dungeon(*status->dungeon);
            if (!p.WaitUntil([] { return Shown("dungeon"); }, 600)) return v.Lost("a dungeon");
            // The radio call that opens it is read on.
            for (int read = 0; read < 20 && (Shown("dialogue") || !p.Step(20)); ++read) p.Answer();
            p.Step(60);
            v.Look("dungeon");
            return;
        }
    }
    v.Lost("a dungeon");
}

}  // namespace

void VisitGameScreens(Visit& v) {
    harness::Player p(v.Game());
    MakeHero();
    // The places' names on: a name label is one more text to keep clear of.
    Profile::SetGlobalFlagInt("MapNames", 1);
    Data::mapNamesOn = 1;
    if (!BackToMap(p)) return v.Lost("the map");
    VisitMap(v, p);
    VisitStory(v, p);
    VisitBoards(v, p);
    VisitDistress(v, p);
    VisitDungeon(v, p);
}

}  // namespace layout
