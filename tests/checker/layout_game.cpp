// The screens of a game under way, visited by the layout check: the city map with its corner and
// messages, the quests, a place's menu, a dialogue, the puzzle boards, the hero's popups, the
// distress games with their result sheets, and a dungeon. Each is opened the way the game opens
// it: a click of the player's, an action of the story's kind started by the action engine, a
// signal the map takes, or a button of the map's corner, for a hero whose flags are those of a
// player early in the second act who has seen every scene the act has shown so far (so the story
// has nothing to say over the screens looked at, as a player between two scenes sees them).
#include <algorithm>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>

#include "core/strings.hpp"
#include "core/xml.hpp"
#include "framework/framework.hpp"
#include "gui/dialogue.hpp"
#include "gui/gui2.hpp"
#include "minigames/board.hpp"
#include "minigames/distressgame.hpp"
#include "minigames/gamecar.hpp"
#include "minigames/gamefalling.hpp"
#include "minigames/gamesearch.hpp"
#include "minigames/gametree.hpp"
#include "model/actions.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "model/quests.hpp"
#include "screens/level.hpp"
#include "screens/map.hpp"
#include "screens/menu.hpp"
#include "screens/walkers.hpp"
#include "tests/checker/layout_visit.hpp"
#include "tests/support/player.hpp"

namespace layout {

namespace {

// A hero a while into the story: the places of the second act known, the first powers taken, a
// quest on, standing on the street between two places.
constexpr int kHeroTime = 390;  // the hero's "Date.Time" below
constexpr const char* kHero =
    "Date.Time|390|Date.Day|1|Resource.Money|115|Resource.Reputation|77|Level.Resource.Reputation|1|"
    "Attribute.Strength|169|Level.Attribute.Strength|2|Attribute.Essence|157|Level.Attribute.Essence|2|"
    "Attribute.Intelligence|122|Level.Attribute.Intelligence|2|Attribute.Constitution|28|"
    "Level.Attribute.Constitution|1|Attribute.Ethics|10|Level.Attribute.Ethics|1|"
    "CharacterPortrait|HeroFemale1|CharacterIcon|2|Name|Captain Wonderful|RealName|Bobbi Bland|"
    "Flag.Act|2|Flag.ActShow|2|Location.Quellfast|1|Location.Docks|1|Location.Gym|1|Location.Library|1|"
    "Location.Gazette|1|Location.Science Lab|1|Location.Park|1|Location.City Hall|1|Location||"
    "Power.Attribute.Strength|Left Hook|"
    "Power.Physical.Damage|1|PowerUp.Attribute.Strength|2|Power.Attribute.Essence|Energy Arrow|"
    "Power.Elemental.Energy|1|PowerUp.Attribute.Essence|2|Power.Attribute.Intelligence|Psycho Bolt|"
    "Power.Mental.Bolt|1|PowerUp.Attribute.Intelligence|2|Quest.Easy Money|1|"
    "Game.Handicap|0|Game.TutorialJob|1|"
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
    // Every scene of the act is seen (the map's own start lifts any stop of the actions, so only
    // this keeps them quiet); the places' menus and the street's life are the act's everyday and
    // stay.
    const std::string act = "City-Act" + std::to_string(Profile::GetFlagInt("Flag.Act"));
    for (const auto& location : Actions::actionLocations) {
        if (location->id != act) continue;
        for (const ActionPtr& action : location->actions) {
            if (action && !action->id.empty()) Profile::SetFlagInt(action->DoneFlag(), 1);
        }
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

// Back to a quiet map: the map is started again, which clears whatever was up. The clock is left
// where the visit's walks, jobs and calls have moved it, so the screens after them are looked at in
// the light of that hour, as a player sees them.
bool BackToMap(harness::Player& p) {
    MapScreen::MapScreen_new()->PreStart();
    return p.WaitUntil([] { return Shown("profile") && !GUIList::Suspended(); }, 300) && p.Step(30);
}

bool MapUp() {
    return dynamic_cast<MapScreen*>(briskGame->currentScreen.get()) != nullptr && Shown("profile");
}

void VisitMap(Visit& v, harness::Player& p) {
    if (v.Await("the map", MapUp, 0)) v.Look("map");

    // The map's own messages (the levels and places the hero's flags earned) come and go first.
    for (int pass = 0; pass < 2; ++pass) {
        int quiet = 0;
        p.WaitUntil([&] { return (quiet = Shown("result") ? 0 : quiet + 1) > 60; }, 1200);
        if (pass == 0) BackToMap(p);
    }

    // The evening shade deepens from noon to midnight under the corner's lines: the quiet map in
    // each light of the day, its clock shown at that hour.
    const struct {
        const char* light;
        int time;  // "Date.Time": minutes since 8 AM
    } hours[] = {{"morning", 60}, {"afternoon", kHeroTime}, {"dusk", 540}, {"night", 900}};
    for (const auto& hour : hours) {
        Profile::SetFlagInt("Date.Time", hour.time);
        const std::string name = std::string("map at ") + hour.light;
        BackToMap(p);
        if (v.Await(name, MapUp, 0)) v.Look(name);
    }
    // The rest of the visit runs on from the hero's own hour.
    Profile::SetFlagInt("Date.Time", kHeroTime);
    BackToMap(p);

    auto* map = dynamic_cast<MapScreen*>(briskGame->currentScreen.get());
    if (map == nullptr) return v.Lost("the map");
    map->ShowMessage("Rank Up!", std::string("New rank is ") + Profile::RankTitle(10) + "!");
    p.Step(60);
    if (v.Await(
            "map, a message", [] { return Shown("result", "upper") && Shown("result", "lower"); }, 0))
        v.Look("map, a message");
    BackToMap(p);

    for (const auto& quest : Quests::allQuests) {
        if (quest->statuses.IsEmpty()) continue;
        Quests::ShowQuest(*quest, *quest->statuses.Get2(0), "New Quest:");
        p.Step(60);
        if (v.Await(
                "map, a new quest", [] { return Shown("quest", "title") && Shown("quest", "text"); }, 0))
            v.Look("map, a new quest");
        Quests::ShowMapQuest(*quest);
        BackToMap(p);
        break;
    }

    // The map opens the base once the quest's announcement of its start has gone.
    Profile::SetFlagString("Game.ShowBase", "1");
    if (v.Await(
            "base upgrades", [] { return Shown("result"); }, 600)) {
        p.Step(40);
        v.Look("base upgrades");
    }
    BackToMap(p);

    Menu::ShowCharacterInfo();
    p.Step(60);
    if (v.Await(
            "character sheet", [] { return Shown("result"); }, 0))
        v.Look("character sheet");
    BackToMap(p);

    for (const char* attribute : {"Attribute.Strength", "Attribute.Essence", "Attribute.Intelligence"}) {
        Profile::SetFlagInt("Level." + std::string(attribute), 3);
        Level::InitPowerUp(attribute);
        p.Step(60);
        const std::string name = std::string("power-up tree, ") + attribute;
        if (v.Await(
                name, [] { return Shown("result"); }, 0))
            v.Look(name);
        // The point stays unspent: the map would open the tree again at its next start.
        Profile::SetFlagInt("Level." + std::string(attribute), 2);
        BackToMap(p);
    }
}

// Looks at `what` once it came up (`shown`) and the frames have settled; else tells that `lost`
// never did.
void LookIfShown(Visit& v, harness::Player& p, bool shown, int settle, const std::string& what,
                 const std::string& lost) {
    if (!v.Await(
            lost, [shown] { return shown; }, 0))
        return;
    p.Step(settle);
    v.Look(what);
}

// Waits out the quest's announcement that every start of the map makes.
bool QuestBannerGone(harness::Player& p) {
    return p.WaitUntil([] { return !Shown("quest", "text") && !Shown("quest", "title"); }, 600);
}

// The corner's quest, told again on a click; then a quest's step done by the hero, its update
// announced over a map turned to the place where the hero stands.
void VisitQuests(Visit& v, harness::Player& p) {
    QuestBannerGone(p);
    p.WaitUntil([&p] { return p.Find("quest", "current").has_value(); }, 60);
    LookIfShown(v, p, p.Click("quest", "current") && p.WaitUntil([] { return Shown("quest", "text"); }, 60), 60,
                "map, the current quest", "the current quest");

    // Back from the day's training at the Gym: the quest's training step is done.
    Profile::SetFlagString("Location", "Gym");
    Profile::SetFlagInt("Quest.Easy Money", 2);
    BackToMap(p);
    QuestBannerGone(p);
    std::shared_ptr<XMLDocument> doc;
    ActionPtr action;
    Run(R"(<action training="gym" bg="Arena" moves="1"><flags><flag name="Refresh" value="1"/></flags></action>)",
        doc, action);
    // Its one move played and its result sheet read on, the map comes back and the quest moves on.
    for (int turn = 0; turn < 1200 && !Shown("quest", "text"); ++turn) {
        if (!p.Answer() && !p.PlayPuzzle()) p.Step();
    }
    LookIfShown(v, p, Shown("quest", "text"), 40, "map, a quest update", "a quest's update");
    Profile::SetFlagString("Location", "");
    Profile::SetFlagInt("Quest.Easy Money", 1);
    Profile::SetFlagInt("Game.TrainingCount", 0);
    BackToMap(p);
}

// A call for help turns up just beyond a caption of the open menu, seen from the screen's centre:
// the story's arrow at an early caller stands one arrow-length from it toward the centre, right
// on the words, unless it keeps clear of them.
bool CallBeyondCaption(const harness::Player& p, const std::string& caption) {
    auto* map = dynamic_cast<MapScreen*>(briskGame->currentScreen.get());
    const auto button = p.FindCaption(caption);
    const GameImage* arrow = FindImage("Arrow");
    if (map == nullptr || !button || arrow == nullptr) return false;
    const float dx = button->CentreX() - Data::virtualWidth / 2,
                dy = button->CentreY() - Data::virtualHeight / 2;
    const float away = static_cast<float>(arrow->h) / std::max(1.0f, std::hypot(dx, dy));
    auto caller = std::make_shared<GUIDistress>(map->mapCallback.get());
    caller->x = caller->xpos.value = button->CentreX() + dx * away + static_cast<float>(TruncToInt(map->xp));
    caller->y = caller->ypos.value = button->CentreY() + dy * away + static_cast<float>(TruncToInt(map->yp));
    // Over the menu, as the map lifts a caller the story points at.
    GUIList::Add(std::move(caller), 1400);
    return true;
}

// A place's menu, as a player opens it: a click on the place on the map, the walk there, and the
// menu the place offers on arrival (its buttons, its people and the way out); then a call for help
// beside it.
void VisitPlace(Visit& v, harness::Player& p) {
    QuestBannerGone(p);
    if (!p.Click("location", "Quellfast")) return v.Lost("Quellfast on the map");
    if (!p.WaitUntil([&p] { return p.FindCaption("Leave").has_value(); }, 1200)) {
        v.Lost("Quellfast's menu");
    } else {
        p.Step(60);
        v.Look("Quellfast, its menu");
        LookIfShown(v, p,
                    CallBeyondCaption(p, "Upgrades") && p.WaitUntil([] { return Shown("arrow", "distress"); }, 60),
                    30, "Quellfast, its menu and a call for help", "a call for help beside Quellfast's menu");
    }
    Profile::SetFlagString("Location", "");
    BackToMap(p);
}

void VisitStory(Visit& v, harness::Player& p) {
    std::shared_ptr<XMLDocument> doc;
    ActionPtr action;
    Run(R"(<action dialogue="a2_start"/>)", doc, action);
    if (!p.WaitUntil([] { return Shown("dialogue"); }, 120)) return v.Lost("a dialogue");
    p.Step(60);
    v.Look("map, a dialogue", false, 300);
    // Read on to the first line a character speaks: a speech bubble over the speaker.
    auto speaking = [] {
        const auto* scene = dynamic_cast<const GUIDialogue*>(GUIList::Get("dialogue", ""));
        return scene != nullptr && scene->text != nullptr && scene->text->actor != nullptr;
    };
    for (int read = 0; read < 10 && !speaking(); ++read) {
        p.Answer();
        p.WaitUntil(speaking, 60);
    }
    if (!speaking()) return v.Lost("a speech bubble");
    p.Step(40);
    v.Look("map, a speech bubble", false, 300);
    BackToMap(p);

    Run(R"(<action popup="front page" title="Front Page"
            text="Edna Sparks licks her pencil. 'Every hero needs a first headline. How do you want to be introduced to Brallwick?'">
            <choice id="Heroic"/><choice id="Humble"/></action>)",
        doc, action);
    p.Step(60);
    if (v.Await(
            "map, a choice popup", [] { return Shown("popup"); }, 0))
        v.Look("map, a choice popup");
    BackToMap(p);
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

// Plays a distress game on to its end by its own rules: a few signs or cars dodged and no more
// sent, a good blow at the tree or a crook picked out before the clock runs down.
void PlayToTheEnd(harness::Harness& h, harness::Player& p, GUIGameDistress& game) {
    DistressPlay& rules = game.Rules();
    if (auto* falling = dynamic_cast<FallingRules*>(&rules)) {
        p.WaitUntil([falling] { return falling->bonus > 0 || falling->done; }, 600);
        falling->target = falling->count;
    } else if (auto* car = dynamic_cast<CarRules*>(&rules)) {
        p.WaitUntil([car] { return car->bonus > 0 || car->done; }, 600);
        car->target = car->count;
    } else if (auto* tree = dynamic_cast<TreeRules*>(&rules)) {
        const auto button = p.Find("gamepopup", "button");
        if (button) {
            // Held until the ring has grown most of the way, then let go.
            p.MoveTo(button->CentreX(), button->CentreY());
            p.Step(5);
            h.MouseButton(0, true);
            p.Step(7);
            h.MouseButton(0, false);
            p.Step(5);
        }
        tree->clock.time = 0;
    } else if (auto* search = dynamic_cast<SearchRules*>(&rules)) {
        for (const Person& person : search->persons) {
            if (person.type != 1 || person.active == 0) continue;
            p.ClickAt(person.xpos, person.ypos);
            break;
        }
        search->clock.time = 0;
    }
}

void VisitDistress(Visit& v, harness::Player& p) {
    std::shared_ptr<XMLDocument> doc;
    ActionPtr action;
    for (const char* game : {"tree", "falling", "car", "search"}) {
        Run(std::string(R"(<action id="layout_)") + game + R"(" game=")" + game + R"(" difficulty="1"/>)",
            doc, action);
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
        auto* played = dynamic_cast<GUIGameDistress*>(GUIList::Get("distress", ""));
        if (played != nullptr && p.WaitUntil([] { return Shown("gamepopup") && !Shown("dialogue"); }, 300))
            PlayToTheEnd(v.Game(), p, *played);
        LookIfShown(v, p, p.WaitUntil([] { return Shown("result"); }, 1200), 60,
                    std::string(game) + " game, result sheet", std::string("the ") + game + " game's result sheet");
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
    if (!OpenTitle(v)) return;
    Profile::currentSlot = 1;
    Profile::slotFlags = Profile::saveData->Profiles.Get2(1);
    harness::Player p(v.Game());
    MakeHero();
    // The places' names on: a name label is one more text to keep clear of.
    Profile::SetGlobalFlagInt("MapNames", 1);
    Data::mapNamesOn = 1;
    if (!BackToMap(p)) return v.Lost("the map");
    VisitMap(v, p);
    VisitQuests(v, p);
    VisitPlace(v, p);
    VisitStory(v, p);
    VisitBoards(v, p);
    VisitDistress(v, p);
    VisitDungeon(v, p);
}

}  // namespace layout
