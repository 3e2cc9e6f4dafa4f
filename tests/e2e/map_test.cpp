// The city map played through the real game with a small story of the tests' own: a click on a
// place walks the hero along the streets while the clock runs, arriving starts the place's action
// (a button of its menu), the button's reward levels the hero up and the message comes before the
// power-up tree, "MoveTo" pans the view to a place clear of the place's menu, an arrow at a place
// shows once its button does and stands until the hero got there, "Goto" restarts the map, and the
// escape key saves and leaves. Frames are saved for a look.
#include "screens/map.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/arrow.hpp"
#include "gui/container.hpp"
#include "gui/dialogue.hpp"
#include "gui/gui2.hpp"
#include "gui/particle.hpp"
#include "gui/text.hpp"
#include "gui/textbutton.hpp"
#include "gui/trophypopup.hpp"
#include "model/data2.hpp"
#include "model/locations.hpp"
#include "model/nodes.hpp"
#include "model/profile.hpp"
#include "model/trophies.hpp"
#include "platform/storage.hpp"
#include "screens/level.hpp"
#include "screens/walkers.hpp"
#include "tests/support/game_assets.hpp"
#include "tests/support/harness.hpp"

namespace {

const char* kStory = R"(<?xml version="1.0"?>
<actions><location id="City-Act1">
  <action id="t_point" arrow="true" guiid="location" guiname="Gym"/>
  <action id="t_unpoint" arrow="false" guiid="location" guiname="Gym">
    <conditions><flag name="ArriveAt" value="Gym"/></conditions>
  </action>
  <action id="t_gym" button="Lift">
    <conditions><flag name="ArriveAt" value="Gym"/></conditions>
    <action><flags><flag name="Attribute.Strength" add="120"/></flags></action>
  </action>
  <action id="t_coach" button="Coach" category="character" image="Characters01" index="0">
    <conditions><flag name="ArriveAt" value="Gym"/></conditions>
  </action>
  <action id="t_fan" button="Fan" category="character" image="Characters01" index="2">
    <conditions><flag name="ArriveAt" value="Gym"/></conditions>
  </action>
  <action id="t_wave" button="Wave">
    <conditions><flag name="Location" value="Quellfast"/><flag name="Game.Host" value="1"/></conditions>
  </action>
  <action id="t_host" button="Host" category="character" image="Characters01" index="1">
    <conditions><flag name="Location" value="Quellfast"/><flag name="Game.Host" value="1"/></conditions>
  </action>
  <action id="t_guest" button="Guest" category="character" image="Characters01" index="2">
    <conditions><flag name="Location" value="Quellfast"/><flag name="Game.Host" value="1"/></conditions>
  </action>
  <action id="t_bye" button="Bye" category="back">
    <conditions><flag name="Location" value="Quellfast"/><flag name="Game.Host" value="1"/></conditions>
  </action>
  <action id="t_haul" button="Haul">
    <conditions><flag name="ArriveAt" value="Docks"/><flag name="ID.t_docks" value="1"/></conditions>
  </action>
  <action id="t_docks">
    <conditions><flag name="ArriveAt" value="Docks"/></conditions>
    <flags><flag name="MoveTo" value="Fairground"/></flags>
    <action arrow="true" guiid="location" guiname="Library">
      <flags><flag name="Location.Library" value="1"/></flags>
      <action arrow="true" guiid="location" guiname="Old Cannery"/>
    </action>
  </action>
  <action id="t_home">
    <conditions><flag name="ArriveAt" value="Quellfast"/></conditions>
    <flags><flag name="Goto" value="Map"/></flags>
  </action>
</location></actions>)";

class MapTest : public ::testing::Test {
  protected:
    void SetUp() override {
        h.SetDataRoot(harness::DataRootWith(h.AppDataFolder(), {{"preactions.xml", "<actions/>"},
                                                                {"act1.xml", kStory},
                                                                {"actions.xml", "<actions/>"},
                                                                {"quests.xml", "<quests/>"}}));
        ASSERT_TRUE(h.Start());
        harness::LoadGameAssets();
        harness::MakeHero("Rook");
        for (const char* place : {"Quellfast", "Gym", "Docks", "Fairground"}) {
            Profile::SetFlagInt(std::string("Location.") + place, 1);
        }
        for (const char* hidden : {"Library", "Old Cannery"})
            Profile::SetFlagInt(std::string("Location.") + hidden, -1);
        Profile::SetFlagString("Location", "Quellfast");
        // Nobody thaws powers in this story: the tree is offered, not forced open at once.
        MapScreen::links.title = [this] {
            ++titles;
            return std::static_pointer_cast<Screen>(MapScreen::MapScreen_new());
        };
        MapScreen::MapScreen_new()->PreStart();
        h.Step(30);
    }
    void TearDown() override { MapScreen::links = {}; }

    MapScreen* Map() const { return dynamic_cast<MapScreen*>(briskGame->currentScreen.get()); }

    // Clicks the middle of an item where the screen shows it.
    void ClickItem(const GUIItem* item) {
        ASSERT_NE(item, nullptr);
        h.Click(static_cast<int>(item->x + item->xadd + item->w / 2),
                static_cast<int>(item->y + item->yadd + item->h / 2));
    }
    // Walks to a place by its button, recording every node the hero reaches; false when the trip
    // does not end within `frames`.
    bool WalkTo(const std::string& place, std::vector<int>& nodes, int frames = 600) {
        ClickItem(GUIList::Get("location", place));
        nodes.assign(1, Map()->currentNode);
        for (int i = 0; i < frames; ++i) {
            h.Step();
            if (Map()->currentNode != nodes.back()) nodes.push_back(Map()->currentNode);
            if (Map()->status.empty() && Profile::GetFlagString("ArriveAt") == place) return true;
        }
        return false;
    }
    // The text of a message line ("upper" or "lower"), empty when none shows.
    static std::string Message(const char* line) {
        auto* box = dynamic_cast<GUIContainer*>(GUIList::Get("result", line));
        if (box == nullptr || box->items.IsEmpty()) return "";
        auto* text = dynamic_cast<GUIText*>(box->items.Get2(0));
        return text ? text->text : "";
    }
    // Steps until the message lines read differently from now, at most `frames`.
    bool NextMessage(int frames) {
        const std::string upper = Message("upper"), lower = Message("lower");
        for (int i = 0; i < frames && Message("upper") == upper && Message("lower") == lower; ++i) h.Step();
        return Message("upper") != upper || Message("lower") != lower;
    }
    // The story's arrow at a place, pointing at the middle of the place's button.
    static bool PointsAt(const std::string& place) {
        const auto* arrow = dynamic_cast<const GUIArrow*>(GUIList::Get("arrow", "location." + place));
        const GUIItem* button = GUIList::Get("location", place);
        return arrow && button &&
               arrow->ix + arrow->xadd == static_cast<int>(button->x + button->xadd + button->w / 2);
    }
    // Plays one of the story's dialogues through the map's "Dialogue" signal, reading every text
    // to its end and clicking on; returns all it said.
    std::string ReadDialogue(const std::string& dialogueId) {
        std::string said;
        Profile::SetFlagString("Dialogue", dialogueId);
        h.Step(2);
        for (int i = 0; i < 3000 && GUIList::Get("dialogue", "") != nullptr; ++i) {
            const auto* playing = static_cast<const GUIDialogue*>(GUIList::Get("dialogue", ""));
            if (playing->text && playing->text->done) {
                said += playing->text->origText + "\n";
                h.Click(500, 300);
            }
            h.Step();
        }
        return said;
    }
    // The story's pan of the view to `place`, played until the view has come to rest.
    void PanTo(const char* place) {
        Profile::SetFlagString("MoveTo", place);
        h.Step(2);
        for (int i = 0; i < 300 && (!Map()->moveTo.empty() || Map()->aside); ++i) h.Step();
    }
    static bool Overlap(const GUIItem* a, const GUIItem* b) {
        return a->x < b->x + b->w && b->x < a->x + a->w && a->y < b->y + b->h && b->y < a->y + a->h;
    }
    static bool OnScreen(const GUIItem* item) {
        const float left = item->x + item->xadd;
        const float top = item->y + item->yadd;
        return left >= 0 && top >= 0 && left + item->w <= Data::virtualWidth &&
               top + item->h <= Data::virtualHeight;
    }

    harness::Harness h;
    int titles = 0;
};

TEST_F(MapTest, WalkingArrivingAndTheSignalsOfASmallStory) {
    MapScreen* map = Map();
    ASSERT_NE(map, nullptr);
    const LocationItem* home = Locations::Get("Quellfast");
    const LocationItem* gym = Locations::Get("Gym");
    ASSERT_TRUE(home && gym);
    EXPECT_EQ(map->currentNode, home->node);
    EXPECT_EQ(GUIList::Get("citizen", "") != nullptr, true);
    ASSERT_NE(GUIList::Get("time", ""), nullptr);
    h.SaveFrame("map_start");
    // The story points at the gym, the arrow at its button where the map shows it; a button of the
    // home's menu takes every arrow away, but the story's comes back until the hero went there.
    EXPECT_TRUE(PointsAt("Gym"));
    // The places' names on, as a player may have them.
    Data::mapNamesOn = 1;
    GUIList::Delete("location", "");
    locationsBuilt = 0;
    h.Step(3);
    // The view as a player may have dragged it: the gym's name where the menu's row comes.
    const auto* gymName = static_cast<const GUITextButton*>(GUIList::Get("location", "Gym"));
    ASSERT_NE(gymName, nullptr);
    map->xp += gymName->x + gymName->xadd + gymName->tx + gymName->tw / 2 - Data::virtualWidth / 2;
    map->yp += gymName->y + gymName->yadd + gymName->ty - Data::virtualHeight * 0.45f;
    h.Step();
    Profile::SetFlagInt("Game.Host", 1);
    h.Step(5);
    // A message that comes while the menu is open lands where it covers none of its buttons.
    ASSERT_NE(GUIList::Get("button", "HostCharacters01"), nullptr);
    Profile::SetFlagString("Game.RankUp", "Resource.Reputation");
    h.Step(60);
    h.SaveFrame("map_message_over_menu");
    for (const char* line : {"upper", "lower"}) {
        const GUIItem* shown = GUIList::Get("result", line);
        ASSERT_NE(shown, nullptr);
        EXPECT_TRUE(OnScreen(shown)) << line;
        for (const char* button : {"Wave", "HostCharacters01"})
            EXPECT_FALSE(Overlap(shown, GUIList::Get("button", button))) << line << " covers " << button;
    }
    for (int i = 0; i < 600 && GUIList::Get("result", "") != nullptr; ++i) h.Step();
    // Nor does the open menu, nor the corner panel, hide a place's name: the view stepped aside.
    int names = 0;
    for (const GUIItem* item : *GUIList::currentList) {
        const auto* place = dynamic_cast<const GUITextButton*>(item);
        if (place == nullptr || place->id != "location" || place->text.empty()) continue;
        const float left = place->x + place->xadd + place->tx, top = place->y + place->yadd + place->ty;
        const float bottom = top + Data::ExTextHeight(place->text, place->font);
        if (left + place->tw <= 0 || left >= Data::virtualWidth || bottom <= 0 || top >= Data::virtualHeight)
            continue;
        ++names;
        for (const GUIItem* over : {GUIList::Get("button", "Wave"), GUIList::Get("button", "Bye"),
                                    GUIList::Get("profile", "corner")}) {
            ASSERT_NE(over, nullptr);
            const float x = over->x + over->xadd, y = over->y + over->yadd;
            EXPECT_FALSE(left < x + over->w && x < left + place->tw && top < y + over->h && y < bottom)
                << over->name << " hides " << place->text;
        }
    }
    EXPECT_GT(names, 2);
    Data::mapNamesOn = 0;
    // Shown the docks at the map's foot while the menu is open, the view stops where neither its
    // way out nor a person in a corner covers them.
    PanTo("Docks");
    const GUIItem* docks = GUIList::Get("location", "Docks");
    ASSERT_NE(docks, nullptr);
    EXPECT_TRUE(OnScreen(docks));
    int menu = 0;
    for (const GUIItem* item : *GUIList::currentList) {
        if (item->id != "button") continue;
        ++menu;
        const float dx = docks->x + docks->xadd, dy = docks->y + docks->yadd;
        EXPECT_FALSE(dx < item->x + item->w && item->x < dx + docks->w && dy < item->y + item->h &&
                     item->y < dy + docks->h)
            << item->name << " covers the docks";
    }
    EXPECT_EQ(menu, 4);
    h.SaveFrame("map_docks_beside_menu");
    ClickItem(GUIList::Get("button", "Wave"));
    h.Step(60);
    EXPECT_TRUE(PointsAt("Gym"));

    // The walk follows the streets, node by node, ten game minutes a hop.
    const int before = Profile::GetFlagInt("Date.Time");
    const float xpBefore = map->xp + map->yp;
    std::vector<int> nodes;
    ASSERT_TRUE(WalkTo("Gym", nodes));
    h.SaveFrame("map_arrived_gym");
    ASSERT_GE(nodes.size(), 2u);
    EXPECT_EQ(nodes.back(), gym->node);
    for (size_t i = 1; i < nodes.size(); ++i) EXPECT_EQ(Nodes::GetCost(nodes[i - 1], nodes[i]), 5) << i;
    EXPECT_EQ(Profile::GetFlagInt("Date.Time") - before, 10 * static_cast<int>(nodes.size() - 1));
    EXPECT_EQ(Profile::GetFlagString("Location"), "Gym");
    EXPECT_NE(map->xp + map->yp, xpBefore);  // the view followed
    h.Step(30);
    EXPECT_EQ(GUIList::Get("arrow", "location.Gym"), nullptr);

    // Arriving offered the place's menu; its button pays, the level-up message shows, and only once
    // it has gone does the power-up tree open.
    h.Step(3);
    GUIItem* lift = GUIList::Get("button", "Lift");
    ASSERT_NE(lift, nullptr);
    // The people of the place stand in the bottom corners, wholly seen: none behind the corner panel,
    // nor behind the notice of a trophy earned meanwhile.
    const GUIItem* corner = GUIList::Get("profile", "corner");
    ASSERT_NE(corner, nullptr);
    TrophyItem trophy;
    trophy.id = "Regular";
    TrophyPopup::Show(trophy);
    GUIItem* notice = GUIList::Get("trophy", "");
    ASSERT_NE(notice, nullptr);
    // As a notice told before the people came: in its corner. It steps aside the next frame.
    notice->y = static_cast<float>(Data::virtualHeight - notice->h - 16);
    h.Step();
    for (const char* person : {"Coach", "Fan"}) {
        const GUITextButton* button = nullptr;
        for (int i = 0; i < GUIList::currentList->Size(); ++i) {
            auto* shown = dynamic_cast<GUITextButton*>(GUIList::currentList->Get2(i));
            if (shown && shown->id == "button" && shown->text == person) button = shown;
        }
        ASSERT_NE(button, nullptr) << person;
        EXPECT_TRUE(button->y + button->h <= corner->y + corner->yadd ||
                    button->x >= corner->x + corner->xadd + corner->w)
            << person << " stands behind the corner panel";
        EXPECT_GE(button->y, 0) << person;
        EXPECT_FALSE(Overlap(notice, button)) << person << " behind the trophy's notice";
    }
    EXPECT_GE(notice->y, 0);
    ClickItem(lift);
    h.Step(3);
    ASSERT_NE(GUIList::Get("result", "upper"), nullptr);
    EXPECT_EQ(Profile::GetFlagString("Game.PowerUp"), "Attribute.Strength");
    h.Step(20);
    h.SaveFrame("map_level_up");
    EXPECT_EQ(GUIList::Suspended(), 0);
    for (int i = 0; i < 600 && !GUIList::Suspended(); ++i) h.Step();
    EXPECT_EQ(GUIList::Get("result", "upper"), nullptr);
    EXPECT_EQ(GUIList::Suspended(), 1);  // the tree is up
    EXPECT_EQ(Profile::GetFlagString("Game.PowerUp"), "");
    // A click meant for what came before, landing on the tree as it fades in, spends nothing; nor
    // does a press held from then and let go once it is shown. A click on the shown tree does.
    const auto* tree = dynamic_cast<const GUIContainer*>(GUIList::Get("result", ""));
    ASSERT_NE(tree, nullptr);
    const GUIItem* damage = nullptr;
    for (const GUIItem* item : tree->items) damage = item->name == "Power.Physical.Damage" ? item : damage;
    ASSERT_NE(damage, nullptr);
    const int nodeX = static_cast<int>(tree->x + damage->x + damage->w / 2);
    const int nodeY = static_cast<int>(tree->y + damage->y + damage->h / 2);
    const int spent = Profile::GetFlagInt("PowerUp.Attribute.Strength");
    h.Click(nodeX, nodeY);
    h.MouseButton(0, true);
    h.Step(60);
    h.MouseButton(0, false);
    h.Step();
    EXPECT_EQ(Profile::GetFlagInt("PowerUp.Attribute.Strength"), spent);
    h.Click(nodeX, nodeY);
    EXPECT_EQ(Profile::GetFlagInt("PowerUp.Attribute.Strength"), spent + 1);
    // Put away as if its points were spent.
    Profile::SetFlagInt("PowerUp.Attribute.Strength", Profile::GetFlagInt("Level.Attribute.Strength"));
    ASSERT_NE(Level::okButton, nullptr);
    Level::levelCallback.Call(Level::okButton);
    h.Step(30);

    // Arriving at the docks pans the view until the fairground is in sight.
    const GUIItem* fair = GUIList::Get("location", "Fairground");
    ASSERT_NE(fair, nullptr);
    ASSERT_TRUE(WalkTo("Docks", nodes));
    EXPECT_FALSE(OnScreen(fair));
    for (int i = 0; i < 300 && !OnScreen(fair); ++i) h.Step();
    EXPECT_TRUE(OnScreen(fair));
    h.Step(30);
    EXPECT_TRUE(map->moveTo.empty());
    h.SaveFrame("map_panned");
    // The docks' menu came up meanwhile; a place in the middle of town the view pans to now stands
    // clear of it.
    const GUIItem* haul = GUIList::Get("button", "Haul");
    ASSERT_NE(haul, nullptr);
    PanTo("Gym");
    const GUIItem* gymButton = GUIList::Get("location", "Gym");
    ASSERT_NE(gymButton, nullptr);
    EXPECT_TRUE(OnScreen(gymButton));
    const float gx = gymButton->x + gymButton->xadd, gy = gymButton->y + gymButton->yadd;
    EXPECT_TRUE(gy + gymButton->h <= haul->y || haul->y + haul->h <= gy || gx + gymButton->w <= haul->x ||
                haul->x + haul->w <= gx)
        << "the docks' menu covers the gym";
    // The same stop revealed the library and pointed at it in one step: the arrow came once the
    // map had made the library's button.
    EXPECT_TRUE(PointsAt("Library"));

    // Sent home, the hero leaves the docks' menu behind at once, and it does not come back on the
    // way when a coin changes his flags: its button would start the docks' work in the street.
    ClickItem(GUIList::Get("location", "Quellfast"));
    h.Step(2);
    EXPECT_EQ(GUIList::Get("button", "Haul"), nullptr);
    Profile::AddFlagInt("Resource.Money", 1);
    h.Step(3);
    EXPECT_EQ(GUIList::Get("button", "Haul"), nullptr);
    EXPECT_FALSE(map->status.empty());

    // Coming home restarts the map once the action's chain has ended; the new map stands the hero
    // on the place it arrived at.
    ASSERT_TRUE(WalkTo("Quellfast", nodes));
    for (int i = 0; i < 120 && Map() == map; ++i) h.Step();
    ASSERT_NE(Map(), nullptr);
    ASSERT_NE(Map(), map);
    h.Step(40);
    EXPECT_EQ(Map()->currentNode, home->node);
    EXPECT_EQ(Profile::GetFlagString("Goto"), "");
    // The story still points at the library and at the cannery, which it has not revealed yet: the
    // new map points again, at the cannery once its button shows.
    EXPECT_TRUE(PointsAt("Library"));
    Profile::SetFlagInt("Location.Old Cannery", 1);
    h.Step(5);
    ASSERT_NE(GUIList::Get("location", "Old Cannery"), nullptr);
    EXPECT_TRUE(PointsAt("Old Cannery"));

    // Escape saves and leaves for the title.
    h.Key(27, true);
    h.Step();
    h.Key(27, false);
    h.Step();
    EXPECT_EQ(titles, 1);
    EXPECT_NE(platform::LoadState().find("Location|Quellfast|"), std::string::npos);
}

TEST_F(MapTest, SignalsTakeTheirTurnsAndOddValuesDoNoHarm) {
    // Raised together, the messages come one after the other; a level key without a family is
    // shown whole, and an upgrade the base does not sell shows its name alone.
    Profile::SetFlagString("Game.LevelUp", "Strength");
    Profile::SetFlagInt("Level.Strength", 4);
    Profile::SetFlagString("Game.RankUp", "Resource.Reputation");
    Profile::SetFlagInt("Level.Resource.Reputation", 3);
    Profile::SetFlagString("Game.NewUpgrade", "Moon Base");
    h.Step(2);
    EXPECT_EQ(Message("upper"), "Level Up!");
    EXPECT_EQ(Message("lower"), "Strength is now level 4!");
    EXPECT_EQ(Profile::GetFlagString("Game.RankUp"), "Resource.Reputation");
    ASSERT_TRUE(NextMessage(600));
    EXPECT_EQ(Message("upper"), "Rank Up!");
    EXPECT_EQ(Message("lower"), "New rank is Hotshot!");
    ASSERT_TRUE(NextMessage(600));
    EXPECT_EQ(Message("upper"), "Moon Base");
    EXPECT_EQ(Message("lower"), "");
    ASSERT_TRUE(NextMessage(600));
    EXPECT_EQ(GUIList::Get("result", ""), nullptr);

    // A place revealed far off: the view pans to it and only then does the message come, placed
    // clear of the hero's icon where the pan left it; the pan never carries the icon under it.
    MapScreen* map = Map();
    map->xp = map->yp = 0;
    h.Step();
    Profile::SetFlagString("Game.NewLocation", "Docks");
    Profile::SetFlagString("MoveTo", "Docks");
    bool shown = false;
    for (int i = 0; i < 400; ++i) {
        h.Step();
        if (!map->moveTo.empty()) {
            EXPECT_EQ(GUIList::Get("result", ""), nullptr) << "a message during the pan";
        }
        const GUIItem* hero = GUIList::Get("player", "");
        ASSERT_NE(hero, nullptr);
        const float hx = hero->x + hero->xadd, hy = hero->y + hero->yadd;
        for (const char* line : {"upper", "lower"}) {
            const GUIItem* message = GUIList::Get("result", line);
            if (message == nullptr) continue;
            shown = true;
            EXPECT_FALSE(hx < message->x + message->w && message->x < hx + hero->w &&
                         hy < message->y + message->h && message->y < hy + hero->h)
                << line << " over the hero, frame " << i;
        }
    }
    EXPECT_TRUE(shown);
    EXPECT_TRUE(map->moveTo.empty());

    // A trip to a node no street reaches is no trip: the last place is not arrived at again.
    Profile::SetFlagString("ArriveAt", "");
    map->mapCallback->GoToCallback(0, "nowhere");
    h.Step(5);
    EXPECT_EQ(map->status, "");
    EXPECT_EQ(Profile::GetFlagString("ArriveAt"), "");

    // A dungeon left without finishing leaves nothing behind at the next map start: gains are
    // real again and its loot is gone.
    Profile::SetFlagInt("Dungeon.Resource.Money", 50);
    Profile::dungeonMode = 1;
    MapScreen::MapScreen_new()->PreStart();
    h.Step(2);
    EXPECT_EQ(Profile::dungeonMode, 0);
    EXPECT_EQ(Profile::GetFlag("Dungeon.Resource.Money"), nullptr);
    const int money = Profile::GetFlagInt("Resource.Money");
    Profile::AddFlagInt("Resource.Money", 5);
    EXPECT_EQ(Profile::GetFlagInt("Resource.Money"), money + 5);

    // With the places' names on, a name wider than its place stays on the map picture, where
    // scrolling can show it: the Wombat Burrow's at the picture's left edge too.
    Data::mapNamesOn = 1;
    Profile::SetFlagInt("Location.Wombat Burrow", 1);
    GUIList::Delete("location", "");
    locationsBuilt = 0;
    h.Step(3);
    int named = 0;
    for (const GUIItem* item : *GUIList::currentList) {
        const auto* place = dynamic_cast<const GUITextButton*>(item);
        if (place == nullptr || place->id != "location" || place->text.empty()) continue;
        ++named;
        EXPECT_GE(place->x + place->tx, 0) << place->text;
        EXPECT_LE(place->x + place->tx + place->tw, Map()->bg->w) << place->text;
    }
    EXPECT_GE(named, 5);
    h.SaveFrame("map_names");
    Data::mapNamesOn = 0;

    // The corner's hero button opens the character sheet over the map.
    h.Step(30);
    ClickItem(GUIList::Get("profile", "profile"));
    h.Step(2);
    EXPECT_EQ(GUIList::Suspended(), 1);
    h.SaveFrame("map_character_sheet");
}

// The story's words fit the moment: the Henchman greets the hour on the story's clock (minutes
// from 8:00), and Mrs. Pluckett's thanks speak of the distress call the hero answered.
TEST_F(MapTest, TheStorysWordsFitTheHourAndTheCallAnswered) {
    Profile::SetFlagInt("Date.Time", 140);  // 10:20 AM
    const std::string meeting = ReadDialogue("a1_henchman_meet");
    EXPECT_NE(meeting.find("Good morning."), std::string::npos) << meeting;
    EXPECT_EQ(meeting.find("Good afternoon"), std::string::npos);
    for (const std::string game : {"falling", "search"}) {
        Profile::SetFlagString("Game.DistressGame", game);
        const std::string thanks = ReadDialogue("a2_first_rescue");
        EXPECT_NE(thanks.find("Fourteen cats"), std::string::npos) << game;
        EXPECT_EQ(thanks.find("anvil") != std::string::npos, game == "falling") << game;
    }
}

TEST_F(MapTest, CitizensWalkResourcesPayAndABurglarCalledInIsChased) {
    MapScreen* map = Map();
    auto* citizen = dynamic_cast<GUICitizen*>(GUIList::Get("citizen", ""));
    ASSERT_NE(citizen, nullptr);
    const float cx = citizen->xpos.value, cy = citizen->ypos.value;
    h.Step(30);
    EXPECT_TRUE(citizen->xpos.value != cx || citizen->ypos.value != cy);

    // A resource beside a citizen pays one (the hero's ethics are nil) and, the first time, tells
    // the player about them.
    Profile::SetFlagInt("Quest.Easy Money", 1);
    Profile::SetFlagInt("Quest.Zero to Wannabe", 3);
    map->resourceWait = 1;
    h.Step(2);
    GUIItem* resource = GUIList::Get("citizen", "resource");
    ASSERT_NE(resource, nullptr);
    const int wealth = Profile::GetFlagInt("Resource.Money") + Profile::GetFlagInt("Resource.Reputation");
    map->xp = std::clamp(resource->x - 500, 0.0f, map->xp + 1000);  // bring it away from the corner
    h.Step(60);
    ClickItem(resource);
    EXPECT_EQ(Profile::GetFlagInt("Resource.Money") + Profile::GetFlagInt("Resource.Reputation"), wealth + 1);
    h.Step(2);
    EXPECT_NE(GUIList::Get("dialogue", ""), nullptr);
    GUIList::Delete("dialogue", "");
    GUIList::Resume();
    h.Step(30);

    // With the alarm bought a burglar walks in at once, with an arrow until the first fight; a
    // click sends the hero after him, and arriving tells the story "burglar", at no place.
    Profile::SetFlagInt("Upgrade.Burglar Alarm", 1);
    h.Step(10);
    auto* burglar = dynamic_cast<GUIBurglar*>(GUIList::Get("burglar", ""));
    ASSERT_NE(burglar, nullptr);
    EXPECT_NE(GUIList::Get("arrow", "burglar"), nullptr);
    h.Step(60);
    h.SaveFrame("map_burglar");
    // Off the screen's lower left, his arrow stands beside the corner panel, not half under it,
    // and still points at him.
    auto* arrow = dynamic_cast<GUIArrow*>(GUIList::Get("arrow", "burglar"));
    const GUIItem* corner = GUIList::Get("profile", "corner");
    ASSERT_TRUE(arrow && corner);
    arrow->follow = nullptr;
    const int px = -300, py = Data::virtualHeight + 300;
    arrow->ix = px - arrow->xadd;
    arrow->iy = py - arrow->yadd;
    const GUIArrow::Aim aim = arrow->Aiming();
    ASSERT_TRUE(aim.shown);
    const float half = static_cast<float>(std::max(arrow->w, arrow->h)) * 0.5f;
    EXPECT_TRUE(aim.x - half >= corner->x + corner->xadd + corner->w ||
                aim.y + half <= corner->y + corner->yadd)
        << "the arrow at (" << aim.x << ", " << aim.y << ") is under the corner panel";
    EXPECT_NEAR(std::atan2(aim.y - py, aim.x - px), aim.angle * std::numbers::pi / 180.0, 0.02);
    h.Step();
    h.SaveFrame("map_burglar_arrow_off_screen");
    arrow->follow = burglar;
    map->xp = std::clamp(burglar->xpos.value - 500, 0.0f, 334.0f);
    map->yp = std::clamp(burglar->ypos.value - 300, 0.0f, 360.0f);
    // One of the home's people standing over the burglar neither hides him nor takes the click
    // meant for him.
    Profile::SetFlagInt("Game.Host", 1);
    h.Step(5);
    GUIItem* host = GUIList::Get("button", "HostCharacters01");
    ASSERT_NE(host, nullptr);
    host->x = burglar->xpos.value + burglar->xadd - host->w / 2;
    host->y = burglar->ypos.value + burglar->yadd - host->h / 2;
    h.Step();
    h.SaveFrame("map_burglar_over_host");
    h.Click(static_cast<int>(burglar->xpos.value + burglar->xadd),
            static_cast<int>(burglar->ypos.value + burglar->yadd));
    EXPECT_FALSE(map->status.empty());
    for (int i = 0; i < 900 && Profile::GetFlagString("ArriveAt") != "burglar"; ++i) h.Step();
    EXPECT_EQ(Profile::GetFlagString("ArriveAt"), "burglar");
    EXPECT_EQ(Profile::GetFlagString("Location"), "");
}

TEST_F(MapTest, DraggingGlidingANewTripMidHopTheNewDayAndTheActs) {
    MapScreen* map = Map();
    // A drag moves the view with the mouse; let go, it glides on, slows and stops inside the map.
    const float x0 = map->xp;
    h.MouseMove(600, 300);
    h.Step();
    h.MouseButton(0, true);
    h.Step();
    for (int x = 580; x >= 500; x -= 20) {
        h.MouseMove(x, 300);
        h.Step();
    }
    EXPECT_GT(map->xp, x0 + 50);
    h.MouseButton(0, false);
    h.Step();
    const float released = map->xp;
    h.Step(5);
    EXPECT_GT(map->xp, released);
    h.Step(200);
    const float settled = map->xp;
    h.Step(10);
    EXPECT_EQ(map->xp, settled);
    EXPECT_LE(map->xp, static_cast<float>(map->bg->w - Data::virtualWidth));

    // A new place chosen in the middle of a hop: the hop is finished first, then the new trip
    // starts where it ended. The day rolls over on the way and says so.
    Profile::SetFlagInt("Date.Time", 955);
    const std::vector<int> toGym = [] {
        std::vector<int> path;
        for (const auto& node :
             Nodes::GetPath(Locations::Get("Quellfast")->node, Locations::Get("Gym")->node))
            path.push_back(node->value);
        return path;
    }();
    ClickItem(GUIList::Get("location", "Gym"));
    ASSERT_EQ(map->status, "moving");
    ClickItem(GUIList::Get("location", "Docks"));
    std::vector<int> nodes{map->currentNode};
    bool noticed = false;
    for (int i = 0; i < 900 && Profile::GetFlagString("ArriveAt") != "Docks"; ++i) {
        h.Step();
        if (map->currentNode != nodes.back()) nodes.push_back(map->currentNode);
        if (auto* notice = dynamic_cast<GUIParticle*>(GUIList::Get("notice", "")))
            noticed = notice->text == "New day! Jan 2";
    }
    EXPECT_EQ(Profile::GetFlagString("ArriveAt"), "Docks");
    ASSERT_GE(nodes.size(), 3u);
    EXPECT_EQ(nodes[1], toGym.front());
    EXPECT_EQ(nodes.back(), Locations::Get("Docks")->node);
    EXPECT_TRUE(noticed);
    EXPECT_EQ(Profile::GetFlagInt("Date.Day"), 1);

    // A hero whose story has not begun opens the first act card; the sixth act opens the end game
    // once, and the epilogue card after it.
    Profile::SetFlagInt("Flag.Act", 0);
    Profile::SetFlagInt("Flag.ActShow", 0);
    MapScreen::MapScreen_new()->PreStart();
    EXPECT_EQ(briskGame->currentScreen->name, "Act");
    EXPECT_EQ(Profile::GetFlagInt("Flag.Act"), 1);
    Profile::SetFlagInt("Flag.Act", 6);
    Profile::SetFlagInt("Flag.ActShow", 5);
    MapScreen::MapScreen_new()->PreStart();
    EXPECT_EQ(briskGame->currentScreen->name, "Endgame");
    Profile::SetFlagInt("Flag.ActEnd", 1);
    MapScreen::MapScreen_new()->PreStart();
    EXPECT_EQ(briskGame->currentScreen->name, "Act");
    EXPECT_EQ(Profile::GetFlagInt("Flag.ActShow"), 6);
}

}  // namespace
