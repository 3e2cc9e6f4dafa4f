// A quest played through the real game on the real city map, with a small story of the tests' own:
// it starts, a trip to the gym ends its clue hunt, the dungeon it then offers at the docks is
// explored with the mouse, the loot comes home, and the quest's reward earns a trophy that the
// trophies popup lists. And a dungeon left by the escape key loses its loot and gives later gains
// back to the real keys. Frames are saved for a look.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>

#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/container.hpp"
#include "gui/gui2.hpp"
#include "gui/text.hpp"
#include "minigames/dungeon.hpp"
#include "model/profile.hpp"
#include "model/quests.hpp"
#include "platform/graphics.hpp"
#include "platform/testing.hpp"
#include "screens/map.hpp"
#include "tests/support/game_assets.hpp"
#include "tests/support/harness.hpp"

namespace {

class TitleStandIn : public GameScreen {
  public:
    TitleStandIn() : GameScreen("Title") {}
    void Start() override { StartGui(); }
    void Update2() override { UpdateGui(); }
    void Render() override {
        platform::Cls(0, 0, 40);
        RenderGui();
    }
};

// The pictures drawn in a frame.
struct PictureWatch : platform::DrawWatcher {
    bool Draw(const platform::WatchedDraw& draw) override {
        drawn.insert(draw.image);
        return true;
    }
    void TextBegins(const char*, size_t) override {}
    void TextEnds() override {}
    bool Drew(const char* picture) const {
        const GameImage* image = briskGame->images->Find(picture);
        return image != nullptr && drawn.count(image->image.get()) != 0;
    }
    std::set<const platform::Image*> drawn;
};

const char* kStory = R"(<actions><location id="City-Act1">
  <action id="t_tip"><conditions><flag name="ArriveAt" value="Gym"/></conditions>
    <flags><flag name="Resource.Clues" add="2"/></flags></action>
</location></actions>)";

const char* kQuests = R"(<quests><quest id="Cellar Rats">
  <conditions><flag name="Flag.Act" value="1" type="higher"/></conditions>
  <status id="hunt" clues="2" text="Find two clues about the rats.">
    <conditions><flag name="Resource.Clues" value="2" type="higher"/></conditions></status>
  <status id="cellar" text="Clear the cellar under the Docks.">
    <conditions><flag name="Game.Dungeon" value="1"/></conditions>
    <dungeon location="Docks" description="Squeaks from below. Go in?" w="4" h="3" startx="0" starty="1">
      <tile x="1" y="1"/>
      <tile id="t_job" x="0" y="0" index="3" optional="1"><action id="t_job" job="crates" bg="Arena" money="10"
        time="60" target_ment="2" target_elem="2" target_phys="2"/></tile>
      <tile id="t_note" x="1" y="0" index="5" optional="1"><action id="t_note"><flags>
        <flag name="Attribute.Essence" add="5"/></flags></action></tile>
      <tile id="t_chest" x="2" y="1" index="4"><action id="t_chest"><flags>
        <flag name="Attribute.Strength" add="30"/><flag name="Resource.Money" add="100"/></flags></action></tile>
    </dungeon></status>
  <rewards><flag name="Resource.Reputation" add="20"/></rewards>
</quest></quests>)";

const char* kTrophies = R"(<trophies>
  <trophy id="Rat Catcher" text="Cleared a cellar." index="3"><conditions>
    <flag name="Quest.Cellar Rats" value="3" type="higher"/></conditions></trophy>
  <trophy id="Far Off" text="Not yet." index="5"><conditions><flag name="Flag.Never" value="1"/></conditions></trophy>
</trophies>)";

class QuestDungeon : public ::testing::Test {
  protected:
    void SetUp() override {
        h.SetDataRoot(harness::DataRootWith(h.AppDataFolder(), {{"preactions.xml", "<actions/>"},
                                                                {"act1.xml", kStory},
                                                                {"actions.xml", "<actions/>"},
                                                                {"quests.xml", kQuests},
                                                                {"trophies.xml", kTrophies}}));
        ASSERT_TRUE(h.Start());
        harness::LoadGameAssets();
        harness::MakeHero("Rook");
        for (const char* place : {"Quellfast", "Gym", "Docks"})
            Profile::SetFlagInt(std::string("Location.") + place, 1);
        Profile::SetFlagString("Location", "Quellfast");
        Profile::SetFlagInt("Flag.intro_dungeon", 1);
    }
    void TearDown() override { MapScreen::links = {}; }

    void OpenMap() {
        MapScreen::MapScreen_new()->PreStart();
        h.Step(30);
    }

    void Click(int x, int y) {
        h.Click(x, y);
        h.Step();
    }
    // Clicks the middle of an item (inside a container: of the container's child).
    void ClickItem(const GUIItem* item, const GUIItem* in = nullptr) {
        ASSERT_NE(item, nullptr);
        const float x = item->x + item->xadd + (in ? in->x + in->xadd : 0);
        const float y = item->y + item->yadd + (in ? in->y + in->yadd : 0);
        Click(TruncToInt(x) + item->w / 2, TruncToInt(y) + item->h / 2);
    }
    // "Click to continue" of the sheet that is up.
    void CloseSheet() {
        auto* sheet = static_cast<GUIContainer*>(GUIList::Get("result", ""));
        ASSERT_NE(sheet, nullptr);
        ClickItem(sheet->Get3("result", "ok"), sheet);
    }
    bool WaitFor(const std::function<bool()>& done, int frames = 900) {
        for (int i = 0; i < frames && !done(); ++i) h.Step();
        return done();
    }
    bool WalkTo(const std::string& place) {
        ClickItem(GUIList::Get("location", place));
        return WaitFor(
            [&] { return Profile::GetFlagString("ArriveAt") == place || GUIList::Get("popup", ""); });
    }

    GUIGameDungeon* Game() { return dynamic_cast<GUIGameDungeon*>(GUIList::Get("dungeon", "")); }

    // Walks to the dungeon on offer and goes in.
    void EnterDungeon() {
        ASSERT_TRUE(WaitFor([] { return Quests::currentDungeon != nullptr; }));
        ASSERT_TRUE(WalkTo("Docks"));
        ASSERT_TRUE(WaitFor([] { return GUIList::Get("popup", "") != nullptr; }));
        auto* offer = static_cast<GUIContainer*>(GUIList::Get("popup", ""));
        ClickItem(offer->Get3("dungeon", "ok"), offer);
        ASSERT_TRUE(WaitFor([this] { return Game() != nullptr && Game()->wait <= 0; }));
    }

    // Clicks the offered tile of the cell once the game is ready for it: no message, no event
    // pending or running, the tile offered anew.
    void ClickCell(int col, int row) {
        GUIGameDungeon* game = Game();
        ASSERT_NE(game, nullptr);
        const std::string cell = std::to_string(game->board.Index(col, row));
        ASSERT_TRUE(WaitFor([&] {
            GUIItem* tile = GUIList::Get("tile", cell);
            return tile && tile->active && !GUIList::Get("result", "") && game->activate == -1 &&
                   !game->currentAction;
        })) << "cell "
            << col << "," << row << " is not offered";
        Click(game->mx + col * 64 + 32, game->my + row * 64 + 32);
    }

    harness::Harness h;
};

TEST_F(QuestDungeon, AQuestRunsThroughItsClueHuntAndDungeonToItsRewardAndATrophy) {
    OpenMap();
    ASSERT_TRUE(WaitFor([] { return GUIList::Get("quest", "title") != nullptr; }));
    EXPECT_EQ(Profile::GetFlagInt("Game.Clues"), 2) << "the first stage's clue hunt starts";
    h.Step(40);
    h.SaveFrame("quest_new");
    // The news lands clear of the hero, who stands just where its title would be in the middle.
    const GUIItem* hero = GUIList::Get("player", "");
    ASSERT_NE(hero, nullptr);
    for (const char* box : {"title", "text"}) {
        const GUIItem* news = GUIList::Get("quest", box);
        ASSERT_NE(news, nullptr);
        const float top = hero->y + static_cast<float>(hero->yadd);
        EXPECT_TRUE(news->y >= top + static_cast<float>(hero->h) ||
                    news->y + static_cast<float>(news->h) <= top)
            << "the quest's " << box << " lies on the hero";
    }
    // Once the boxes have gone, the quest button (with the clue counter) shows the quest again.
    ASSERT_TRUE(WaitFor([] { return GUIList::Get("quest", "current") != nullptr; }));
    h.Step(30);
    h.SaveFrame("quest_button");
    ClickItem(GUIList::Get("quest", "current"));
    EXPECT_NE(GUIList::Get("quest", "title"), nullptr);

    ASSERT_TRUE(WalkTo("Gym"));
    ASSERT_TRUE(WaitFor([] { return Quests::currentDungeon != nullptr; }));
    EXPECT_EQ(Profile::GetFlagInt("Resource.Clues") + Profile::GetFlagInt("Game.Clues"), 0);
    EnterDungeon();
    h.SaveFrame("dungeon_entered");

    // A game started by an event fades in over the dungeon and fades out back to it (given up by
    // the escape key): the city map, with the dungeon's back button on it, never shows through.
    PictureWatch watch;
    platform::WatchDraws(&watch);
    ClickCell(0, 0);
    ASSERT_TRUE(WaitFor([] { return GUIList::Get("popup", "") != nullptr; }));
    int fading = 0;
    for (int i = 0; i < 120; ++i) {
        if (i == 60) {
            h.Key(27, true);
            h.Step();
            h.Key(27, false);
        }
        watch.drawn.clear();
        h.Step();
        const GUIItem* game = GUIList::Get("popup", "");
        if (game == nullptr || game->alpha.value >= 1.0f) continue;
        ++fading;
        // The dungeon's street covers the whole screen, the map under it too.
        EXPECT_TRUE(watch.Drew("Street")) << "the map shows through the game at " << game->alpha.value;
    }
    platform::WatchDraws(nullptr);
    EXPECT_GT(fading, 8);
    ASSERT_TRUE(WaitFor([] { return GUIList::Get("popup", "") == nullptr; }));

    const int strength = Profile::GetFlagInt("Attribute.Strength");
    const int essence = Profile::GetFlagInt("Attribute.Essence");
    const int money = Profile::GetFlagInt("Resource.Money");
    ClickCell(1, 1);
    ClickCell(1, 0);
    h.Step(20);
    h.SaveFrame("dungeon_event");
    ClickCell(2, 1);
    // The last required event clears the dungeon: the loot comes home with the sheet.
    ASSERT_TRUE(WaitFor([] { return GUIList::Get("result", "") && Profile::dungeonMode == 0; }));
    h.Step(60);
    h.SaveFrame("dungeon_loot");
    EXPECT_EQ(Profile::GetFlagInt("Attribute.Strength"), strength + 30);
    EXPECT_EQ(Profile::GetFlagInt("Attribute.Essence"), essence + 5);
    EXPECT_EQ(Profile::GetFlagInt("Resource.Money"), money + 100);
    EXPECT_EQ(Profile::GetFlag("Dungeon.Attribute.Strength"), nullptr);

    // Closing the loot sheet ends the dungeon; the cleared dungeon ends the quest, with its reward.
    CloseSheet();
    ASSERT_TRUE(WaitFor([] { return Profile::GetFlagInt("Quest.Cellar Rats") == 3; }));
    EXPECT_EQ(Profile::GetFlagInt("Resource.Reputation"), 20);
    EXPECT_EQ(Profile::GetFlagInt("Game.Dungeon"), 0);
    h.Step(60);
    h.SaveFrame("quest_complete");
    CloseSheet();
    // The quest finished inside the dungeon sends the map back to its start; the reward's trophy
    // is announced on the new map, not to the one that is leaving.
    const Screen* map = briskGame->currentScreen.get();
    ASSERT_TRUE(WaitFor([map] { return briskGame->currentScreen.get() != map; }));
    ASSERT_TRUE(WaitFor([] { return GUIList::Get("trophy", "") != nullptr; }));
    EXPECT_EQ(Game(), nullptr);
    EXPECT_EQ(Profile::GetGlobalFlagInt("Trophy.Rat Catcher"), 1);
    EXPECT_EQ(Profile::GetGlobalFlagInt("Trophy.Far Off"), 0);
    h.Step(40);
    h.SaveFrame("trophy_notice");
    ASSERT_NE(GUIList::Get("trophy", ""), nullptr);

    // The title's trophies button shows it earned, the other one locked.
    h.Key(27, true);
    h.Step();
    h.Key(27, false);
    ASSERT_TRUE(WaitFor([] {
        GUIItem* button = GUIList::Get("button", "trophies");
        return button && button->alpha.value == 1.0f;
    }));
    ClickItem(GUIList::Get("button", "trophies"));
    h.Step(40);
    h.SaveFrame("trophies_popup");
    auto* popup = dynamic_cast<GUIContainer*>(GUIList::Get("options", "trophies"));
    ASSERT_NE(popup, nullptr);
    int earned = 0, locked = 0;
    for (GUIItem* child : popup->items) {
        auto* text = dynamic_cast<GUIText*>(child);
        if (!text) continue;
        earned += text->text.find("Catcher") != std::string::npos;  // wrapped to the cell
        locked += text->text == "Locked" && text->alpha.value < 1.0f;  // dimmed
    }
    EXPECT_EQ(earned, 1);
    EXPECT_EQ(locked, 1);
}

TEST_F(QuestDungeon, EscapeInsideADungeonLosesTheLootAndLaterGainsAreReal) {
    // A title that leaves the game's state as it finds it: what is dropped, the dungeon drops.
    MapScreen::links.title = [] {
        return std::static_pointer_cast<Screen>(std::make_shared<TitleStandIn>());
    };
    Profile::SetFlagInt("Quest.Cellar Rats", 2);
    Profile::SetFlagInt("Flag.intro_dungeon", 0);
    OpenMap();
    EnterDungeon();
    const int essence = Profile::GetFlagInt("Attribute.Essence");
    // The first dungeon opens with its introduction: a click meant for it uncovers nothing, and
    // escape ends it without leaving the map.
    ASSERT_TRUE(WaitFor([] { return GUIList::Get("dialogue", "") != nullptr; }));
    Click(340 + 64 + 32, 204 + 64 + 32);
    EXPECT_EQ(GUIGameDungeon::clickedColumn, -1);
    h.Key(27, true);
    h.Step();
    h.Key(27, false);
    ASSERT_TRUE(WaitFor([] { return GUIList::Get("dialogue", "") == nullptr; }));
    EXPECT_EQ(briskGame->currentScreen->name, "Map");
    ClickCell(1, 1);
    ClickCell(1, 0);
    ASSERT_TRUE(WaitFor([] { return Profile::GetFlagInt("Dungeon.Attribute.Essence") == 5; }));
    EXPECT_EQ(Profile::GetFlagInt("Attribute.Essence"), essence);

    // "Back" asks first; staying keeps the loot and the dungeon.
    ASSERT_TRUE(WaitFor([] { return GUIList::Get("back", "") && !GUIList::Get("result", ""); }));
    h.Step(5);  // seen before it is clicked: a button made under a press does not take it
    ClickItem(GUIList::Get("back", ""));
    ASSERT_TRUE(WaitFor([] { return GUIList::Get("result", "") != nullptr; }));
    h.Step(30);
    h.SaveFrame("dungeon_leave");
    auto* leave = static_cast<GUIContainer*>(GUIList::Get("result", ""));
    ClickItem(leave->Get3("popup", "cancel"), leave);
    h.Step(30);
    ASSERT_NE(Game(), nullptr);
    EXPECT_EQ(Profile::dungeonMode, 1);

    // The escape key is the map's: it saves and leaves for the title, under the dungeon.
    h.Key(27, true);
    h.Step();
    h.Key(27, false);
    ASSERT_TRUE(WaitFor([] { return briskGame->currentScreen->name == "Title"; }));
    h.Step(2);
    EXPECT_EQ(Profile::dungeonMode, 0);
    EXPECT_EQ(Profile::GetFlag("Dungeon.Attribute.Essence"), nullptr);
    EXPECT_EQ(Profile::GetFlagInt("Attribute.Essence"), essence);
    Profile::AddFlagInt("Attribute.Essence", 10);
    EXPECT_EQ(Profile::GetFlagInt("Attribute.Essence"), essence + 10);
}

}  // namespace
