// A quest played through the real game over a stand-in for the city map (its per-frame quest and
// trophy checks and its escape key): it starts, its clue hunt ends, its dungeon is explored with
// the mouse, the loot comes home and the quest's reward earns a trophy that the trophies popup then
// lists. And a dungeon left by the escape key loses its loot and gives later gains back to the real
// keys. Frames are saved for a look.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/container.hpp"
#include "gui/gui2.hpp"
#include "gui/text.hpp"
#include "gui/trophypopup.hpp"
#include "minigames/dungeon.hpp"
#include "model/actions.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "model/quests.hpp"
#include "model/trophies.hpp"
#include "platform/graphics.hpp"
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

// The map's frame as far as quests, trophies and the escape key go.
class MapStandIn : public GameScreen {
  public:
    MapStandIn() : GameScreen("Map") {}
    void Start() override { StartGui(); }
    void Update2() override {
        UpdateGui();
        if (Data::backPressed) {
            Data::backPressed = 0;
            Data::ExitScreen(std::make_shared<TitleStandIn>(), 500);
        }
        auto up = [](const char* id) { return GUIList::Get(id, "") != nullptr; };
        if (GUIList::Suspended()) {
            if (!up("dialogue") && !up("popup") && !up("result")) Quests::Check(0);
            return;
        }
        if (!up("result")) {
            Quests::Check(1);
            if (!GUIList::Get("quest", "text")) Trophies::Check();
        }
    }
    void Render() override {
        platform::Cls(30, 60, 30);
        RenderGui();
    }
};

// clang-format off
const char* kQuests =
    "<quests><quest id=\"Cellar Rats\"><conditions><flag name=\"Flag.Act\" value=\"1\" type=\"higher\"/></conditions>"
    "<status id=\"hunt\" clues=\"2\" text=\"Find two clues about the rats.\"><conditions>"
    "<flag name=\"Resource.Clues\" value=\"2\" type=\"higher\"/></conditions></status>"
    "<status id=\"cellar\" text=\"Clear the cellar under the Docks.\"><conditions><flag name=\"Game.Dungeon\" value=\"1\"/>"
    "</conditions><dungeon location=\"Docks\" description=\"A cellar.\" w=\"4\" h=\"3\" startx=\"0\" starty=\"1\">"
    "<tile x=\"1\" y=\"1\"/>"
    "<tile id=\"t_note\" x=\"1\" y=\"0\" index=\"5\" optional=\"1\"><action id=\"t_note\"><flags>"
    "<flag name=\"Attribute.Essence\" add=\"5\"/></flags></action></tile>"
    "<tile id=\"t_chest\" x=\"2\" y=\"1\" index=\"4\"><action id=\"t_chest\"><flags>"
    "<flag name=\"Attribute.Strength\" add=\"30\"/><flag name=\"Resource.Money\" add=\"100\"/></flags></action></tile>"
    "</dungeon></status><rewards><flag name=\"Resource.Reputation\" add=\"20\"/></rewards></quest></quests>";
const char* kTrophies =
    "<trophies><trophy id=\"Rat Catcher\" text=\"Cleared a cellar.\" index=\"3\"><conditions>"
    "<flag name=\"Quest.Cellar Rats\" value=\"3\" type=\"higher\"/></conditions></trophy>"
    "<trophy id=\"Far Off\" text=\"Not yet.\" index=\"5\"><conditions><flag name=\"Flag.Never\" value=\"1\"/>"
    "</conditions></trophy></trophies>";
// clang-format on

class QuestDungeon : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(h.Start());
        for (const char* id : Fonts::Ids()) Fonts::Set(id, std::make_unique<GlyphFont>(Fonts::FileFor(id)));
        auto& images = *briskGame->images;
        images.LoadAnim2("DungeonTiles64x64.png", 64, 64, 6);
        images.LoadAnim2("Medals44x85.png", 44, 85, 16);
        images.LoadAnim2("Buttons01.png", 200, 96, 3);
        images.LoadAnim2("Icons02.png", 56, 56, 7);
        images.Load3("Particle32x32.png", "", true);
        for (const char* file : {"FramePopup.png", "Street.jpg"}) images.Load3(file);
        images.LoadAtlas("Atlas02.txt", 1);
        for (int sound = 0; sound < Audio::kSoundCount; ++sound)
            briskGame->sounds->Load5(std::string(Audio::SoundName(sound)) + ".ogg");

        Profile::currentSlot = 0;
        Profile::slotFlags = Profile::saveData->Profiles.Get2(0);
        Profile::Init();
        Profile::SetFlagInt("Flag.intro_dungeon", 1);
        Quests::InitGlobals();
        Quests::Load(Write("quests.xml", kQuests));
        Trophies::InitGlobals();
        Trophies::Load(Write("trophies.xml", kTrophies));
        Trophies::Clear();
        std::make_shared<MapStandIn>()->PreStart();
        h.Step(2);
    }

    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = h.AppDataFolder() + "/" + name;
        std::ofstream(path) << text;
        return path;
    }

    void Click(int x, int y) {
        h.MouseMove(x, y);
        h.Step();
        h.MouseButton(0, true);
        h.Step();
        h.MouseButton(0, false);
        h.Step(2);
    }

    bool WaitFor(const std::function<bool()>& done, int frames = 600) {
        for (int i = 0; i < frames && !done(); ++i) h.Step();
        return done();
    }

    GUIGameDungeon* Game() { return dynamic_cast<GUIGameDungeon*>(GUIList::Get("dungeon", "")); }

    // Clicks the offered tile of the cell once the game is ready for it.
    void ClickCell(int col, int row) {
        GUIGameDungeon* game = Game();
        ASSERT_NE(game, nullptr);
        const std::string cell = std::to_string(game->board.Index(col, row));
        // Between events: no message, no event pending or running, the tile offered anew.
        ASSERT_TRUE(WaitFor([&] {
            GUIItem* tile = GUIList::Get("tile", cell);
            return tile && tile->active && !GUIList::Get("result", "") && game->activate == -1 &&
                   !game->currentAction;
        })) << "cell "
            << col << "," << row << " is not offered";
        Click(game->mx + col * 64 + 32, game->my + row * 64 + 32);
    }

    // A dungeon of the quest's stage, opened as the map's answer to the offer does.
    void OpenDungeon() {
        Profile::SetFlagInt("Flag.Act", 1);
        Profile::AddFlagInt("Resource.Clues", 2);
        ASSERT_TRUE(WaitFor([] { return Quests::currentDungeon != nullptr; }));
        Actions::starters.dungeon(*Quests::currentDungeon);
        h.Step(40);
        ASSERT_NE(Game(), nullptr);
    }

    harness::Harness h;
};

TEST_F(QuestDungeon, AQuestRunsThroughItsClueHuntAndDungeonToItsRewardAndATrophy) {
    Profile::SetFlagInt("Flag.Act", 1);
    h.Step();
    ASSERT_NE(GUIList::Get("quest", "title"), nullptr);
    EXPECT_EQ(Profile::GetFlagInt("Game.Clues"), 2) << "the first stage's clue hunt starts";
    h.Step(30);
    h.SaveFrame("quest_new");
    // Once the boxes have gone, the map's quest button (with the clue counter) shows the quest again.
    ASSERT_TRUE(WaitFor([] { return GUIList::Get("quest", "current") != nullptr; }));
    h.Step(30);
    h.SaveFrame("quest_button");
    GUIItem* button = GUIList::Get("quest", "current");
    Click(TruncToInt(button->x) + button->w / 2, TruncToInt(button->y) + button->h / 2);
    EXPECT_NE(GUIList::Get("quest", "title"), nullptr);

    Profile::AddFlagInt("Resource.Clues", 2);
    ASSERT_TRUE(WaitFor([] { return Quests::currentDungeon != nullptr; }));
    EXPECT_EQ(Profile::GetFlagInt("Resource.Clues") + Profile::GetFlagInt("Game.Clues"), 0);
    Actions::starters.dungeon(*Quests::currentDungeon);
    h.Step(40);
    h.SaveFrame("dungeon_entered");

    const int strength = Profile::GetFlagInt("Attribute.Strength");
    const int essence = Profile::GetFlagInt("Attribute.Essence");
    const int money = Profile::GetFlagInt("Resource.Money");
    ClickCell(1, 1);
    ClickCell(1, 0);
    h.Step(20);
    h.SaveFrame("dungeon_event");
    ClickCell(2, 1);
    ASSERT_TRUE(WaitFor([] { return Profile::GetFlagInt("ID.t_chest") == 1; }));
    // The last required event clears the dungeon: the loot comes home with the sheet.
    ASSERT_TRUE(WaitFor([] { return GUIList::Get("result", "") != nullptr; }));
    h.Step(60);
    h.SaveFrame("dungeon_loot");
    EXPECT_EQ(Profile::dungeonMode, 0);
    EXPECT_EQ(Profile::GetFlagInt("Attribute.Strength"), strength + 30);
    EXPECT_EQ(Profile::GetFlagInt("Resource.Money"), money + 100);
    EXPECT_EQ(Profile::GetFlagInt("Attribute.Essence"), essence + 5);
    EXPECT_EQ(Profile::GetFlag("Dungeon.Attribute.Strength"), nullptr);

    // Closing the loot sheet ends the dungeon; the cleared dungeon ends the quest, with its reward.
    GUIItem* sheet = GUIList::Get("result", "");
    Click(TruncToInt(sheet->x) + sheet->w / 2, TruncToInt(sheet->y) + sheet->h - 40);
    ASSERT_TRUE(WaitFor([] { return Profile::GetFlagInt("Quest.Cellar Rats") == 3; }));
    EXPECT_EQ(Profile::GetFlagString("Goto"), "Map");
    EXPECT_EQ(Profile::GetFlagInt("Resource.Reputation"), 20);
    EXPECT_EQ(Profile::GetFlagInt("Game.Dungeon"), 0);
    h.Step(60);
    h.SaveFrame("quest_complete");

    // The dungeon leaves after the quest's sheet; back on the map the reward earns the trophy.
    sheet = GUIList::Get("result", "");
    ASSERT_NE(sheet, nullptr);
    Click(TruncToInt(sheet->x) + sheet->w / 2, TruncToInt(sheet->y) + sheet->h - 40);
    ASSERT_TRUE(WaitFor([] { return !GUIList::Suspended() && !GUIList::Get("dungeon", ""); }));
    ASSERT_TRUE(WaitFor([] { return GUIList::Get("trophy", "") != nullptr; }));
    EXPECT_EQ(Profile::GetGlobalFlagInt("Trophy.Rat Catcher"), 1);
    EXPECT_EQ(Profile::GetGlobalFlagInt("Trophy.Far Off"), 0);
    h.Step(40);
    h.SaveFrame("trophy_notice");

    TrophyPopup::ShowPopup();
    h.Step(40);
    h.SaveFrame("trophies_popup");
    auto* popup = dynamic_cast<GUIContainer*>(GUIList::Get("options", "trophies"));
    ASSERT_NE(popup, nullptr);
    int earned = 0, locked = 0;
    for (GUIItem* child : popup->items) {
        auto* text = dynamic_cast<GUIText*>(child);
        if (!text) continue;
        earned += text->text.find("Catcher") != std::string::npos;  // wrapped to the cell
        locked += text->text == "Locked" && text->alpha.value == 0.5f;
    }
    EXPECT_EQ(earned, 1);
    EXPECT_EQ(locked, 1);
}

TEST_F(QuestDungeon, EscapeInsideADungeonLosesTheLootAndLaterGainsAreReal) {
    OpenDungeon();
    const int essence = Profile::GetFlagInt("Attribute.Essence");
    ClickCell(1, 1);
    ClickCell(1, 0);
    ASSERT_TRUE(WaitFor([] { return Profile::GetFlagInt("Dungeon.Attribute.Essence") == 5; }));
    EXPECT_EQ(Profile::GetFlagInt("Attribute.Essence"), essence);

    // "Back" asks first; staying keeps the loot and the dungeon.
    ASSERT_TRUE(WaitFor([] { return GUIList::Get("back", "") && !GUIList::Get("result", ""); }));
    GUIItem* back = GUIList::Get("back", "");
    Click(TruncToInt(back->x) + back->w / 2, TruncToInt(back->y) + back->h / 2);
    ASSERT_TRUE(WaitFor([] { return GUIList::Get("result", "") != nullptr; }));
    h.Step(30);
    h.SaveFrame("dungeon_leave");
    auto* leave = static_cast<GUIContainer*>(GUIList::Get("result", ""));
    GUIItem* stay = leave->Get3("popup", "cancel");
    ASSERT_NE(stay, nullptr);
    Click(TruncToInt(leave->x + stay->x) + stay->w / 2, TruncToInt(leave->y + stay->y) + stay->h / 2);
    h.Step(30);
    ASSERT_NE(Game(), nullptr);
    EXPECT_EQ(Profile::dungeonMode, 1);

    // Escape on the map under the dungeon goes back to the title.
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
