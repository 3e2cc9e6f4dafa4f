// The act card, the intro cutscene and the end-game screen in the running game: what they count
// and clear, how a click or the skip button ends them, where they lead, and the end game's pages,
// score and credits clicked through. Frames are saved for a look.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/animation.hpp"
#include "gui/audio2.hpp"
#include "gui/container.hpp"
#include "gui/gui2.hpp"
#include "gui/hero.hpp"
#include "gui/image.hpp"
#include "gui/text.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"
#include "screens/act.hpp"
#include "screens/cutscene.hpp"
#include "screens/endgame.hpp"
#include "screens/interlude.hpp"
#include "tests/support/harness.hpp"

namespace {

// Where the interludes lead: a blank screen that counts its starts.
class Arrival : public GameScreen {
  public:
    explicit Arrival(int* starts) : GameScreen("arrival"), starts(starts) {}
    void Start() override {
        StartGui();
        ++*starts;
    }
    void Update2() override { UpdateGui(); }
    void Render() override { platform::Cls(0, 0, 0); }
    int* starts;
};

class Interludes : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(h.Start());
        for (const char* id : Fonts::Ids()) Fonts::Set(id, std::make_unique<GlyphFont>(Fonts::FileFor(id)));
        auto& images = *briskGame->images;
        for (const char* file :
             {"Act.jpg", "FramePopup.png", "FrameSpeech.png", "SuperheroU.jpg", "ComicBorder.png",
              "CharacterTimeMaster.png", "CharacterShadow.png", "FXLightning3.png"})
            images.Load3(file);
        images.Load3("Rays.png", "", true);
        images.Load3("Particle32x32.png", "", true);
        images.LoadAnim2("HealthBar.png", 168, 32, 2);
        images.LoadAnim2("HeroMale1.png", 256, 256, 4);
        images.LoadAnim2("Characters01.png", 256, 256, 4);
        images.LoadAnim2("Buttons01.png", 200, 96, 3);
        for (int sound = 0; sound < Audio::kSoundCount; ++sound)
            briskGame->sounds->Load5(std::string(Audio::SoundName(sound)) + ".ogg");
        Profile::currentSlot = 0;
        Profile::slotFlags = Profile::saveData->Profiles.Get2(0);
        Profile::Init();
        Profile::SetFlagString("Name", "Rook");
        Profile::SetFlagString("CharacterPortrait", "HeroMale1");
        InterludeExits::exits.map = [this] { return std::make_shared<Arrival>(&maps); };
        InterludeExits::exits.gameLoading = [this] { return std::make_shared<Arrival>(&loads); };
    }
    void TearDown() override { InterludeExits::exits = {}; }
    void Press(bool down) {
        h.MouseButton(0, down);
        h.Step();
    }
    // Lets about `ms` of game time pass in frames of a quarter second.
    void Pass(int ms) {
        for (int t = 0; t < ms; t += 250) {
            h.AdvanceClock(234);
            h.Step();
        }
    }
    // Steps until an arrival started, at most `frames`.
    bool Arrived(const int& starts, int frames) {
        for (int i = 0; i < frames && starts == 0; ++i) h.Step();
        return starts > 0;
    }

    harness::Harness h;
    int maps = 0, loads = 0;
};

TEST_F(Interludes, ActCardsCountClearAndLeaveOnAReleasedClick) {
    Profile::SetFlagInt("ID.a1_start", 1);
    h.MouseMove(500, 300);
    Press(true);  // held from the screen before
    auto card = ActScreen::ActScreen_new();
    card->PreStart();
    EXPECT_EQ(Profile::GetFlagInt("Flag.ActShow"), 1);
    EXPECT_EQ(card->title, "Act I");
    EXPECT_EQ(card->text, "\"Call to Adventure\"");
    EXPECT_EQ(Profile::GetFlagInt("ID.a1_start"), 0);
    h.Step(60);
    h.SaveFrame("act_card");
    EXPECT_EQ(maps, 0);  // the held press does not skip it
    Press(false);
    Press(true);
    EXPECT_TRUE(Arrived(maps, 10));
    Press(false);

    // Left alone, a card returns to the map after eight seconds; the sixth is the epilogue's.
    Profile::SetFlagInt("Flag.ActShow", 5);
    maps = 0;
    auto epilogue = ActScreen::ActScreen_new();
    epilogue->PreStart();
    EXPECT_EQ(epilogue->title, "Epilogue");
    EXPECT_EQ(epilogue->text, "\"The End?\"");
    Pass(7000);
    EXPECT_EQ(maps, 0);
    EXPECT_TRUE(Arrived(maps, 120));
}

// Played through, every caption of the intro stands on dark ground (the wall, the monitor's
// screen): none is written over the pale lockers or the console's coloured buttons, where white
// letters do not read.
TEST_F(Interludes, TheIntroCaptionsStandOnDarkGround) {
    const std::string scene = "intro_1_wide";
    CutsceneScreen::CutsceneScreen_new(scene, "title")->PreStart();
    // The bare scene, as it stands when the first caption starts to type.
    std::vector<uint8_t> bare;
    std::set<std::string> seen;
    const int vw = Data::virtualWidth, vh = Data::virtualHeight;
    for (int frame = 0; frame < 60 * 40; ++frame) {
        h.Step();
        const auto* player = dynamic_cast<const GUIAnimation*>(GUIList::Get(scene, ""));
        if (player == nullptr) break;
        for (const auto& caption : player->text) {
            if (bare.empty()) bare = h.ReadPixels(0, 0, vw, vh);
            if (!seen.insert(caption->text).second) continue;
            int light = 0, all = 0;
            for (int y = std::max(0, caption->y); y < std::min(vh, caption->y + caption->h); ++y) {
                for (int x = std::max(0, caption->x); x < std::min(vw, caption->x + caption->w); ++x) {
                    const uint8_t* p = &bare[(static_cast<size_t>(y) * vw + x) * 4];
                    light += p[0] + p[1] + p[2] > 3 * 120 ? 1 : 0;
                    ++all;
                }
            }
            EXPECT_LT(light * 100, all)
                << "\"" << caption->text << "\" over light ground: " << light << " of " << all;
        }
    }
    EXPECT_EQ(seen.size(), 7u);
}

TEST_F(Interludes, TheIntroSkippedLeadsToTheGameLoading) {
    CutsceneScreen::CutsceneScreen_new("intro_1_wide", "map")->PreStart();
    h.Step(60 * 9);
    h.SaveFrame("intro_playing");
    EXPECT_EQ(loads, 0);
    EXPECT_EQ(Audio::IsPlaying(), 1);
    GUIItem* skip = GUIList::Get("skip", "");
    ASSERT_NE(skip, nullptr);
    // The button stands inside the comic panel's white border, not across it.
    EXPECT_LE(skip->x + skip->w, Data::virtualWidth - 22);
    EXPECT_LE(skip->y + skip->h, Data::virtualHeight - 22);
    h.MouseMove(TruncToInt(skip->x) + skip->w / 2, TruncToInt(skip->y) + skip->h / 2);
    h.Step();
    Press(true);
    Press(false);
    EXPECT_TRUE(Arrived(loads, 30));
    EXPECT_EQ(Audio::IsPlaying(), 0);

    // A scene followed by anything but the map leaves its screen empty.
    loads = 0;
    auto other = CutsceneScreen::CutsceneScreen_new("no such scene", "title");
    other->PreStart();
    h.Step(30);
    EXPECT_EQ(other->stopped, 1);
    EXPECT_EQ(loads, 0);
}

TEST_F(Interludes, TheEndGameScoresShowsItsEndingAndRollsTheCredits) {
    Profile::SetFlagInt("Game.Sidekick", 1);
    Profile::SetFlagInt("Villain.Henchman", 1);
    Profile::SetFlagInt("Level.Attribute.Strength", 2);
    Profile::SetFlagInt("Date.Month", 1);
    auto end = EndGameScreen::EndGameScreen_new();
    end->PreStart();
    EXPECT_EQ(end->total, 2 * 250 + 500);
    EXPECT_EQ(Profile::GetFlagInt("Game.Total"), 1000);
    EXPECT_EQ(Profile::GetFlagInt("Flag.ActEnd"), 1);

    const auto clickThrough = [&](int expectedState, const char* frame) {
        h.Step(90);
        h.SaveFrame(frame);
        EXPECT_EQ(end->state, expectedState);
        Press(true);
        Press(false);
        h.Step(40);
    };
    // The first page's texts stand clear of the hero's picture, beside it or below it.
    h.Step(90);
    const auto* page = dynamic_cast<GUIContainer*>(GUIList::Get("result", ""));
    ASSERT_NE(page, nullptr);
    const GUIHero* hero = nullptr;
    for (GUIItem* item : page->items) hero = hero ? hero : dynamic_cast<GUIHero*>(item);
    ASSERT_TRUE(hero && hero->image);
    // The picture as drawn: scaled about the middle of the widget's box.
    const float s = hero->scale.value;
    const float left = hero->x - (s - 1) * static_cast<float>(hero->w) * 0.5f;
    const float top = hero->y - (s - 1) * static_cast<float>(hero->h) * 0.5f;
    const float width = s * static_cast<float>(hero->image->w);
    const float height = s * static_cast<float>(hero->image->h);
    int pageTexts = 0;
    for (GUIItem* item : page->items) {
        const auto* text = dynamic_cast<GUIText*>(item);
        if (text == nullptr || text->font != Fonts::Get("n")) continue;
        ++pageTexts;
        EXPECT_TRUE(text->x >= left + width || text->y >= top + height) << text->text;
        EXPECT_LE(text->x + text->w, page->w) << text->text;
    }
    EXPECT_EQ(pageTexts, 2);
    // The portrait is the character sheet's: the rank and the health bar lie on the hero's chest,
    // in the lowest part of the picture, not over the face and chin.
    int onChest = 0;
    for (GUIItem* item : page->items) {
        const auto* text = dynamic_cast<GUIText*>(item);
        const auto* picture = dynamic_cast<GUIImage*>(item);
        const bool bar = picture != nullptr && picture->image == briskGame->images->Find("HealthBar");
        if (!bar && (text == nullptr || text->font != Fonts::Get("os"))) continue;
        EXPECT_GE(item->y, top + height * 0.6f) << (text ? text->text : "the health bar");
        ++onChest;
    }
    EXPECT_EQ(onChest, 3);
    clickThrough(1, "end_ending1");
    clickThrough(3, "end_ending2");
    // The score table's continue button waits for the second row of the count-up.
    h.Step(60);
    Press(true);
    Press(false);
    EXPECT_EQ(end->state, 5);
    Pass(17000);
    h.SaveFrame("end_score");
    EXPECT_FLOAT_EQ(end->values[8].value, 1000);
    EXPECT_FLOAT_EQ(end->values[1].value, 500);
    Press(true);
    Press(false);
    Pass(4000);
    ASSERT_TRUE(end->text);
    Press(true);  // shows the note whole
    Press(false);
    h.SaveFrame("end_thanks");
    Press(true);  // closes it
    Press(false);
    EXPECT_FALSE(end->text);
    Pass(12000);
    EXPECT_EQ(end->state, 7);
    EXPECT_NE(GUIList::Get("credits", ""), nullptr);
    h.SaveFrame("end_credits");
    // Rolling up, no line is drawn across the act picture's gold rules (a rule 14 pixels inside
    // its top and bottom edges, the picture at the screen's height): on the rule's row, under a
    // line that reaches over it, no letter's white or dark outline shows.
    int crossings = 0;
    for (int t = 0; t < 12000; t += 125) {
        h.AdvanceClock(109);
        h.Step();
        for (GUIItem* item : *GUIList::currentList) {
            const auto* line = dynamic_cast<const GUIContainer*>(item);
            if (line == nullptr || line->id != "credits" || line->items.IsEmpty()) continue;
            const GUIItem* words = line->items.Get2(0);
            for (const int rule : {14, Data::virtualHeight - 15}) {
                if (line->y + words->y > rule || line->y + words->y + words->h < rule + 1) continue;
                ++crossings;
                const int left = TruncToInt(line->x + words->x), width = words->w;
                const std::vector<uint8_t> row = h.ReadPixels(left, rule, width, 1);
                int letters = 0;
                for (int x = 0; x < width; ++x) {
                    const uint8_t* p = &row[static_cast<size_t>(x) * 4];
                    letters += p[2] > 220 || p[0] + p[1] + p[2] < 150 ? 1 : 0;
                }
                EXPECT_EQ(letters, 0)
                    << static_cast<const GUIText*>(words)->text << " across the rule at " << rule;
            }
        }
    }
    EXPECT_GT(crossings, 0);
    Press(true);  // a click ends the credits and fades back to the map
    Press(false);
    EXPECT_TRUE(Arrived(maps, 120));
}

}  // namespace
