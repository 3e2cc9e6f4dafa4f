// The game's opening as a player meets it, through injected input: the splash row, the loading
// screen and the title; the hero slots, a hero deleted after a second thought, a creation left
// and taken up again with a typed name, a body and colours, which leaves for the intro. Then the
// options: volumes, the display switches, and the settings found again after a restart. Frames
// are saved for a look.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "framework/keyedbank.hpp"
#include "framework/main.hpp"
#include "gui/container.hpp"
#include "gui/containerbutton.hpp"
#include "gui/gui2.hpp"
#include "gui/slider.hpp"
#include "gui/text.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/app.hpp"
#include "platform/storage.hpp"
#include "screens/character.hpp"
#include "screens/cutscene.hpp"
#include "screens/splash.hpp"
#include "tests/gui/gui_fixture.hpp"
#include "tests/support/harness.hpp"

namespace {

class TitleFlow : public ::testing::Test {
  protected:
    std::string ScreenName() const { return briskGame->currentScreen ? briskGame->currentScreen->name : ""; }

    // Steps until `done` holds, at most `frames` frames.
    bool Until(const std::function<bool()>& done, int frames) {
        for (int i = 0; i < frames && !done(); ++i) {
            if (!h.Step()) return false;
        }
        return done();
    }

    // Lets about `ms` of game time pass in frames of a quarter second.
    void Pass(int ms) {
        for (int t = 0; t < ms; t += 250) {
            h.AdvanceClock(234);
            h.Step();
        }
    }

    // Moves the mouse to a point of an item (fractions of its size); a child of a popup is placed
    // relative to the popup.
    void MoveTo(const GUIItem* item, const GUIItem* parent = nullptr, float fx = 0.5f, float fy = 0.5f) {
        const float px = parent ? parent->x : 0, py = parent ? parent->y : 0;
        const float vx = px + item->x + static_cast<float>(item->w) * fx;
        const float vy = py + item->y + static_cast<float>(item->h) * fy;
        // From the virtual screen to the window, which may be larger and bordered.
        const float m = briskGame->multi;
        if (briskGame->aspectRatioOn && m > 0) {
            h.MouseMove(static_cast<int>((vx - SCREEN_WIDTH * 0.5f) * m + DEVICE_WIDTH * 0.5f),
                        static_cast<int>((vy - SCREEN_HEIGHT * 0.5f) * m + DEVICE_HEIGHT * 0.5f));
        } else {
            h.MouseMove(static_cast<int>(vx * SCREENX_RATIO), static_cast<int>(vy * SCREENY_RATIO));
        }
        h.Step(2);
    }

    void Click(const GUIItem* item, const GUIItem* parent = nullptr) {
        ASSERT_NE(item, nullptr);
        MoveTo(item, parent);
        h.MouseButton(0, true);
        h.Step(2);
        h.MouseButton(0, false);
        h.Step(2);
    }

    void Type(int key) {
        h.Key(key, true);
        h.Key(key, false);
        h.Step();
    }

    // The title at rest, with every button up.
    bool TitleIdle() {
        return Until(
                   [] {
                       return GUIList::Get("button", "exit") != nullptr &&
                              GUIList::Get("options", "") == nullptr;
                   },
                   600) &&
               Until([] { return GUIList::Get("button", "exit")->alpha.value == 1.0f; }, 60);
    }

    static GUIContainer* Popup(const char* id) { return static_cast<GUIContainer*>(GUIList::Get(id, "")); }

    static GUIItem* SlotChild(const char* name, int slot) {
        GUIContainer* select = Popup("select");
        if (!select) return nullptr;
        for (GUIItem* item : select->items) {
            if (item->name == name && item->data == slot) return item;
        }
        return nullptr;
    }

    // The words of every text on a slot card.
    static std::string CardText(int slot) {
        auto* card = static_cast<GUIContainerButton*>(SlotChild("character", slot));
        std::string all;
        if (!card) return all;
        for (GUIItem* item : card->container->items) {
            if (auto* text = dynamic_cast<GUIText*>(item)) all += text->text + "|";
        }
        return all;
    }

    std::string SavedState() const {
        // The game writes the state on its own thread: read it once the write has landed.
        platform::FinishStateWrites();
        std::ifstream in(std::filesystem::path(h.AppDataFolder()) / "Brallwick - Quellfast" / ".vantlestate");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    harness::Harness h;
};

// A state with one hero in the middle slot, windowed.
std::string StateWithHero() {
    InitGlobals();
    Profile::InitGlobal();
    Profile::SetGlobalFlagInt("Fullscreen", 0);
    Profile::slotFlags = Profile::saveData->Profiles.Get2(1);
    Profile::SetFlagString("Name", "Old Timer");
    Profile::SetFlagInt("TimePlayed", 3725);
    Profile::SetFlagInt("Flag.Act", 3);
    const std::string state = Profile::saveData->ToString();
    InitGlobals();
    return state;
}

TEST_F(TitleFlow, FromTheSplashThroughTheSlotsToANewHerosIntro) {
    h.WriteState(StateWithHero());
    h.OpenAsPlayed();
    ASSERT_TRUE(h.Start());
    ASSERT_EQ(ScreenName(), "Splash");

    // A button held from before the picture does not skip it; pressed again once released, it does.
    h.MouseButton(0, true);
    h.Step(30);
    auto splash = std::static_pointer_cast<SplashScreen>(briskGame->currentScreen);
    EXPECT_EQ(splash->fading, 0);
    h.MouseButton(0, false);
    h.Step(3);
    h.MouseButton(0, true);
    h.Step(2);
    h.MouseButton(0, false);
    EXPECT_EQ(splash->fading, 1);
    h.SaveFrame("title_splash");

    // The baked row has more than one picture, and the last leads to the loading screen.
    ASSERT_TRUE(Until([&] { return briskGame->currentScreen != splash; }, 120));
    EXPECT_EQ(ScreenName(), "Splash");
    ASSERT_TRUE(Until([&] { return ScreenName() == "Load"; }, 400));
    h.Step(40);
    h.SaveFrame("title_loading");
    ASSERT_TRUE(Until([&] { return ScreenName() == "Title"; }, 400));
    // Everything the title and the game draw is in memory now, the city's and the boards' too.
    for (const char* image : {"TitleLogo", "Street", "Map", "TileBg70x80", "Tiles64x64", "TileMarker3",
                              "Bubble", "HeroFemale2", "CharacterCreationColormap"})
        EXPECT_NE(briskGame->images->Get(UpperKey(image)), nullptr) << image;
    for (const char* font : {"oxb", "ob", "on", "os", "oxs", "b", "n", "s"})
        EXPECT_NE(Fonts::Get(font), nullptr);
    ASSERT_TRUE(TitleIdle());
    h.SaveFrame("title_idle");

    // The slots: the stored hero's card tells its play time and act.
    Click(GUIList::Get("button", "play"));
    ASSERT_TRUE(Until([] { return Popup("select") != nullptr; }, 30));
    h.Step(40);
    h.SaveFrame("title_slots");
    EXPECT_NE(CardText(1).find("Play time: 01:02:05"), std::string::npos) << CardText(1);
    EXPECT_NE(CardText(1).find("Act III"), std::string::npos);
    EXPECT_NE(CardText(0).find("No character data!"), std::string::npos);
    EXPECT_EQ(SlotChild("delete", 0), nullptr);

    // Delete, then think better of it: nothing changes.
    const std::string before = SavedState();
    Click(SlotChild("delete", 1), Popup("select"));
    ASSERT_TRUE(Until([] { return Popup("popup") != nullptr; }, 30));
    h.Step(30);
    h.SaveFrame("title_delete_question");
    Click(Popup("popup")->Get3("select", "cancel"), Popup("popup"));
    ASSERT_TRUE(Until([] { return Popup("select") != nullptr && Popup("popup") == nullptr; }, 30));
    EXPECT_EQ(SavedState(), before);
    EXPECT_EQ(Profile::saveData->GetFlagString(1, "Name"), "Old Timer");

    // Delete for real: saved at once, and the slot is empty in the reopened selection.
    h.Step(30);
    Click(SlotChild("delete", 1), Popup("select"));
    ASSERT_TRUE(Until([] { return Popup("popup") != nullptr; }, 30));
    h.Step(30);
    Click(Popup("popup")->Get3("select", "ok"), Popup("popup"));
    ASSERT_TRUE(Until([] { return Popup("select") != nullptr && Popup("popup") == nullptr; }, 30));
    EXPECT_EQ(SavedState().find("Old Timer"), std::string::npos);
    EXPECT_FALSE(SavedState().empty());
    EXPECT_NE(CardText(1).find("No character data!"), std::string::npos);

    // An empty slot opens the creation; escape leaves it for the selection again, and time spent
    // on the title afterwards belongs to no hero.
    h.Step(30);
    Click(SlotChild("character", 0), Popup("select"));
    ASSERT_TRUE(Until([] { return Popup("character") != nullptr; }, 30));
    h.Step(10);
    Type(27);
    ASSERT_TRUE(Until([] { return Popup("select") != nullptr; }, 30));
    const int globalTime = Profile::GetGlobalFlagInt("TimePlayed");
    Pass(3000);
    EXPECT_GT(Profile::GetGlobalFlagInt("TimePlayed"), globalTime);
    EXPECT_EQ(Profile::saveData->GetFlagInt(0, "TimePlayed"), 0);

    // Create: a typed name (with characters a name cannot have), another body, a detail colour.
    Click(SlotChild("character", 0), Popup("select"));
    ASSERT_TRUE(Until([] { return Popup("character") != nullptr; }, 30));
    h.Step(40);
    EXPECT_EQ(CharacterCreation::heroName, "Justice Gal");
    for (int i = 0; i < 11; ++i) Type(8);
    Type(8);
    EXPECT_EQ(CharacterCreation::heroName, "");
    h.Text("Rook-7 @Nightly! Watcher");
    h.Step(30);
    EXPECT_EQ(CharacterCreation::heroName, "Rook-7 Nightly! W");
    GUIContainer* creation = Popup("character");
    Click(creation->Get3("character", "right"), creation);
    EXPECT_EQ(Profile::GetFlagString("CharacterPortrait"), "HeroFemale2");
    EXPECT_EQ(Profile::GetFlagInt("CharacterIcon"), 3);
    Click(creation->Get3("character", "col2"), creation);
    GUIItem* grid = creation->Get3("grid", "");
    h.MouseMove(static_cast<int>(creation->x + grid->x) + 30, static_cast<int>(creation->y + grid->y) + 50);
    h.Step();
    h.MouseButton(0, true);
    h.Step(2);
    h.MouseButton(0, false);
    h.Step();
    EXPECT_EQ(Profile::GetFlagInt("CharacterColor2"),
              static_cast<int>(CharacterCreation::colorPalette[2 * 8 + 1]));
    EXPECT_EQ(Profile::GetFlagInt("CharacterColor1"), 0x202020);
    h.SaveFrame("title_creation");
    // The portrait stays inside the frame: beside it the popup's ground shows up to the border.
    const GUIItem* left = creation->Get3("character", "left");
    EXPECT_EQ(guitest::LeftBorderCovered(h, *creation, static_cast<int>(creation->y + left->y),
                                         static_cast<int>(creation->y + left->y) + left->h / 2),
              0);

    Click(creation->Get3("character", "ok"), creation);
    EXPECT_EQ(Profile::currentSlot, 0);
    EXPECT_EQ(Profile::saveData->GetFlagString(0, "Name"), "Rook-7 Nightly! W");
    EXPECT_EQ(Profile::saveData->GetFlagString(0, "RealName"), "Bobbi Bland");
    // Creating saves nothing yet.
    EXPECT_EQ(SavedState().find("Rook-7"), std::string::npos);
    ASSERT_TRUE(Until([&] { return ScreenName() == "Cutscene"; }, 120));
    EXPECT_EQ(std::static_pointer_cast<CutsceneScreen>(briskGame->currentScreen)->anim, "intro_1_wide");
}

TEST_F(TitleFlow, OptionsSwitchVolumesAndDisplayAndKeepThemAfterARestart) {
    h.OpenAsPlayed();
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(Until([&] { return ScreenName() == "Title"; }, 1200));
    ASSERT_TRUE(TitleIdle());
    Click(GUIList::Get("button", "options"));
    ASSERT_TRUE(Until([] { return Popup("options") != nullptr; }, 30));
    h.Step(40);
    h.SaveFrame("title_options");
    GUIContainer* options = Popup("options");

    // Full screen and back to the window, live.
    Click(options->Get3("options", "fullscreen"), options);
    EXPECT_EQ(Profile::GetGlobalFlagInt("Fullscreen"), 1);
    EXPECT_EQ(windowWidth, platform::DesktopWidth());
    h.Step(2);
    h.SaveFrame("title_options_fullscreen");
    Click(options->Get3("options", "fullscreen"), options);
    EXPECT_EQ(Profile::GetGlobalFlagInt("Fullscreen"), 0);
    EXPECT_EQ(windowWidth, 1000);

    // Widescreen off: a narrower virtual screen, the popup centred in it; on again: as before.
    Click(options->Get3("options", "widescreen"), options);
    h.Step(2);
    EXPECT_EQ(Data::virtualWidth, 800);
    EXPECT_EQ(windowWidth, 800);
    EXPECT_NEAR(options->x + static_cast<float>(options->w) / 2, 400, 1);
    h.SaveFrame("title_options_narrow");
    Click(options->Get3("options", "widescreen"), options);
    h.Step(2);
    EXPECT_EQ(Data::virtualWidth, 1000);
    EXPECT_NEAR(options->x + static_cast<float>(options->w) / 2, 500, 1);
    Click(options->Get3("options", "names"), options);
    EXPECT_EQ(Data::mapNamesOn, 1);

    // The music slider pulled into its first tenth: silence, in the settings and in the mixer.
    auto* music = static_cast<GUISlider*>(options->Get3("options", "music"));
    MoveTo(music, options, 0.5f);
    h.MouseButton(0, true);
    h.Step();
    MoveTo(music, options, 0.05f);
    h.MouseButton(0, false);
    h.Step();
    EXPECT_EQ(Profile::GetGlobalFlagInt("MusicVolume"), 0);
    EXPECT_EQ(briskGame->musicVolume, 0);
    // The sound slider at its far end: full volume.
    auto* sound = static_cast<GUISlider*>(options->Get3("options", "sound"));
    MoveTo(sound, options, 0.5f);
    h.MouseButton(0, true);
    h.Step();
    MoveTo(sound, options, 0.97f);
    h.MouseButton(0, false);
    h.Step();
    EXPECT_EQ(Profile::GetGlobalFlagInt("SoundVolume"), 100);

    // "OK" saves; the title builds its buttons again.
    Click(options->Get3("options", "ok"), options);
    ASSERT_TRUE(TitleIdle());

    h.Stop();
    h.OpenAsPlayed();
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(Profile::GetGlobalFlagInt("MusicVolume"), 0);
    EXPECT_EQ(Profile::GetGlobalFlagInt("SoundVolume"), 100);
    EXPECT_EQ(Profile::GetGlobalFlagInt("MapNames"), 1);
    EXPECT_EQ(Profile::GetGlobalFlagInt("Fullscreen"), 0);
    EXPECT_EQ(Data::virtualWidth, 1000);
}

TEST(ColourGrid, CellsAreHalfOpenAndAPictureLargerThanTheGridStaysInThePalette) {
    // 30, 50 pixels in: row 3, column 2.
    EXPECT_EQ(CharacterCreation::PaletteIndexAt(30, 50, 192, 192), 2 * 8 + 1);
    // The right and bottom edges belong to no cell.
    EXPECT_EQ(CharacterCreation::PaletteIndexAt(192, 10, 192, 192), -1);
    EXPECT_EQ(CharacterCreation::PaletteIndexAt(10, 192, 192, 192), -1);
    EXPECT_EQ(CharacterCreation::PaletteIndexAt(191.5f, 191.5f, 192, 192), 63);
    // A grid picture with more than eight cells a side: the outer cells take the last colour.
    EXPECT_EQ(CharacterCreation::PaletteIndexAt(250, 250, 256, 256), 63);
    EXPECT_EQ(CharacterCreation::PaletteIndexAt(-0.5f, 10, 192, 192), -1);
}

}  // namespace
