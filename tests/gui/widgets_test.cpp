// Widgets on the running game: a container of texts, an image and the four buttons in the baked
// art, hovered and clicked with the mouse; live texts; the sound and music table.
#include <gtest/gtest.h>

#include <vector>

#include "core/glyphfont.hpp"
#include "gui/audio2.hpp"
#include "gui/button.hpp"
#include "gui/click.hpp"
#include "gui/container.hpp"
#include "gui/containerbutton.hpp"
#include "gui/image.hpp"
#include "gui/primitive.hpp"
#include "gui/text.hpp"
#include "gui/textbutton.hpp"
#include "model/profile.hpp"
#include "platform/audio.hpp"
#include "tests/gui/gui_fixture.hpp"
#include "tests/gui/widget_art.hpp"

using guitest::During;
using guitest::Recorder;
using guitest::StartScreen;

namespace {

// The sound of a table id is playing on its channel at the given volume.
void ExpectPlaying(int id, float volume) {
    GameSound* s = briskGame->sounds->Get(UpperKey(Audio::SoundName(id)));
    ASSERT_NE(s, nullptr) << id;
    EXPECT_EQ(platform::ChannelState(s->channel), 1) << Audio::SoundName(id);
    EXPECT_FLOAT_EQ(s->volume, volume) << Audio::SoundName(id);
}

void StopAllSounds() {
    for (int c = 0; c < platform::kSoundChannels; ++c) platform::StopChannel(c);
}

std::vector<uint8_t> Area(harness::Harness& h, int x, int y, int w, int hh) {
    return h.ReadPixels(x, y, w, hh);
}

}  // namespace

TEST(Widgets, EachButtonHoversPressesAndFiresOnceWithItselfAsSenderAndItsSounds) {
    harness::Harness h;
    auto screen = StartScreen(h);
    ASSERT_TRUE(screen);
    Profile::SetGlobalFlagInt("SoundVolume", 75);
    Recorder rec;
    GlyphFont* font = Fonts::Get("n");
    ASSERT_NE(font, nullptr);

    GUIContainer* panel = nullptr;
    GUITextButton* ok = nullptr;
    GUIButton* icon = nullptr;
    GUIContainerButton* card = nullptr;
    GUIImage* badFrame = nullptr;
    During(h, *screen, [&] {
        panel = GUIContainer::Create(60, 60);
        panel->AddLast20(GUIText::Create(0, 0, "Panel of widgets", font, 0xffffff));
        panel->AddLast20(GUIImage::Create(0, 40, "Icons02", 3));
        ok = GUITextButton::Create(0, 110, "Buttons01", "OK", Fonts::Get("n"), 0xd0e0ff, &rec, 0);
        ok->id = "panel";
        ok->name = "ok";
        panel->AddLast20(ok);
        badFrame = GUIImage::Create(0, 220, "Icons02", 99);  // a frame the picture lacks
        panel->AddLast20(badFrame);
        GUIList::Add(panel, 10);

        icon = GUIButton::Create(420, 100, "Buttons02", &rec);
        icon->name = "icon";
        GUIList::Add(icon, 20);

        GUIContainer* face = GUIContainer::Create(0, 0);
        face->AddLast20(GUIPrimitive::Create(0, 0, 320, 80, "box", 0x303060, 1));
        face->AddLast20(GUIText::Create(20, 25, "A character card", font, 0xffffff));
        card = GUIContainerButton::Create(420, 320, face, &rec);
        card->name = "card";
        GUIList::Add(card, 30);
    });
    h.Step(40);                // faded in
    EXPECT_EQ(panel->w, 200);  // grown around its widest child, the button
    EXPECT_EQ(panel->h, 220 + 56);
    h.SaveFrame("widgets_idle");
    const auto okIdle = Area(h, 60, 170, 200, 96);
    const auto iconIdle = Area(h, 410, 90, 84, 84);
    const auto cardIdle = Area(h, 400, 300, 360, 120);
    // The frame the picture lacks draws nothing.
    EXPECT_EQ(h.Pixel(80, 300).r, 20);

    // The text button: hover shows its second frame and plays "Building"; press and release fire
    // it once with "Click" and "OTick".
    StopAllSounds();
    h.MouseMove(160, 218);
    h.Step();
    EXPECT_EQ(ok->state, "over");
    EXPECT_NE(Area(h, 60, 170, 200, 96), okIdle);
    ExpectPlaying(12, 0.75f);
    h.MouseButton(0, true);
    h.Step();
    EXPECT_EQ(ok->state, "press");
    ExpectPlaying(8, 0.75f);
    h.SaveFrame("widgets_ok_pressed");
    h.MouseButton(0, false);
    h.Step();
    ASSERT_EQ(rec.senders.size(), 1u);
    EXPECT_EQ(rec.senders[0], ok);
    EXPECT_EQ(rec.senders[0]->id, "panel");
    EXPECT_EQ(rec.senders[0]->name, "ok");
    ExpectPlaying(20, 0.75f);
    h.Step(5);
    EXPECT_EQ(rec.senders.size(), 1u);

    // Pressed elsewhere, moved onto the picture button and released there: no click.
    h.MouseMove(300, 500);
    h.MouseButton(0, true);
    h.Step();
    h.MouseMove(452, 132);
    h.Step();
    h.MouseButton(0, false);
    h.Step();
    EXPECT_EQ(rec.senders.size(), 1u);
    // Hovered it grows about its centre ("MouseOver"); a real click fires it.
    StopAllSounds();
    h.MouseMove(450, 130);
    h.Step();
    ExpectPlaying(1, 0.75f);
    h.Step(11);
    EXPECT_FLOAT_EQ(icon->scale.value, 1.1f);
    EXPECT_NE(Area(h, 410, 90, 84, 84), iconIdle);
    h.SaveFrame("widgets_icon_hover");
    h.MouseButton(0, true);
    h.Step();
    h.MouseButton(0, false);
    h.Step();
    ASSERT_EQ(rec.senders.size(), 2u);
    EXPECT_EQ(rec.senders[1], icon);

    // The card lights its bright frame under the mouse and fires on a click.
    h.MouseMove(580, 360);
    h.Step(12);
    EXPECT_FLOAT_EQ(card->frameAlpha.value, 1.0f);
    EXPECT_NE(Area(h, 400, 300, 360, 120), cardIdle);
    h.SaveFrame("widgets_card_hover");
    h.MouseButton(0, true);
    h.Step();
    h.MouseButton(0, false);
    h.Step();
    ASSERT_EQ(rec.senders.size(), 3u);
    EXPECT_EQ(rec.senders[2], card);
    h.Step(12);
    EXPECT_FLOAT_EQ(card->frameAlpha.value, 1.0f);  // fired, and hovered again (no second sound)
    h.MouseMove(900, 580);
    h.Step(12);
    EXPECT_FLOAT_EQ(card->frameAlpha.value, 0.0f);

    // A button made under a press already under way (a click on the map as a popup comes up over
    // it) does not take that press; the next click on it is its own.
    h.MouseMove(140, 498);
    h.MouseButton(0, true);
    h.Step();
    GUITextButton* late = nullptr;
    During(h, *screen, [&] {
        late = GUITextButton::Create(40, 450, "Buttons01", "Late", font, 0xffffff, &rec, 0);
        GUIList::Add(late, 40);
    });
    h.Step(2);  // it looks, the press still held
    h.MouseButton(0, false);
    h.Step(2);
    EXPECT_EQ(rec.senders.size(), 3u);
    h.MouseButton(0, true);
    h.Step();
    h.MouseButton(0, false);
    h.Step();
    ASSERT_EQ(rec.senders.size(), 4u);
    EXPECT_EQ(rec.senders[3], late);

    // "Click to continue" made while the mouse is held fires only after a release, a press and a
    // release, wherever they are.
    h.MouseMove(900, 50);
    h.MouseButton(0, true);
    h.Step();
    GUIClickButton* more = nullptr;
    During(h, *screen, [&] {
        more = GUIClickButton::Create(700, 560, "Click to continue", font, 0xffffff, &rec);
        GUIList::Add(more, 5);
    });
    h.MouseButton(0, false);
    h.Step(2);
    EXPECT_EQ(rec.senders.size(), 4u);
    h.MouseButton(0, true);
    h.Step();
    h.MouseButton(0, false);
    h.Step();
    ASSERT_EQ(rec.senders.size(), 5u);
    EXPECT_EQ(rec.senders[4], more);

    // Clearing the list gives the container's children back too.
    const int texts = GUIText::pool->InUse();
    During(h, *screen, [] { GUIList::Clear(); });
    EXPECT_EQ(GUIText::pool->InUse(), texts - 2);  // panel caption and card caption
    EXPECT_EQ(GUIContainer::pool->InUse(), 0);
}

TEST(Widgets, LiveTextsFollowTheirFlagAndNumberInTheNextFrame) {
    harness::Harness h;
    auto screen = StartScreen(h);
    ASSERT_TRUE(screen);
    GlyphFont* font = Fonts::Get("n");
    FloatObject counter(12.7f);
    GUIText* money = nullptr;
    GUIText* count = nullptr;
    GUIText* score = nullptr;
    During(h, *screen, [&] {
        money = GUIText::Create(100, 100, "", font, 0xffff80);
        money->SetPrefix("$");
        money->SetFlag("Resource.Money");  // not set yet
        GUIList::Add(money, 1);
        count = GUIText::Create(100, 150, "", font, 0xffffff);
        count->SetVariable(&counter);
        count->SetSuffix(" left");
        GUIList::Add(count, 1);
        score = GUIText::Create(600, 200, "9", font, 0xffffff);
        score->left = 0;  // keeps its right edge
        GUIList::Add(score, 1);
    });
    h.Step();
    EXPECT_EQ(money->text, "$");
    EXPECT_EQ(count->text, "12 left");

    Profile::SetFlagInt("Resource.Money", 250);
    const float right = score->x + static_cast<float>(score->w);
    score->SetText("10");
    EXPECT_FLOAT_EQ(score->x + static_cast<float>(score->w), right);
    h.Step();
    EXPECT_EQ(money->text, "$250");
    h.SaveFrame("widgets_live_text");
    const auto shown250 = h.ReadPixels(100, 100, 120, 30);
    Profile::SetFlagInt("Resource.Money", 7);
    counter.value = 3.2f;
    h.Step();
    EXPECT_EQ(money->text, "$7");
    EXPECT_EQ(count->text, "3 left");
    EXPECT_EQ(money->w, font->TextWidth("$7"));
    EXPECT_NE(h.ReadPixels(100, 100, 120, 30), shown250);
}

TEST(Widgets, SoundAndMusicTablePlaysByNumberAtTheSetVolumes) {
    harness::Harness h;
    auto screen = StartScreen(h);
    ASSERT_TRUE(screen);
    Profile::SetGlobalFlagInt("SoundVolume", 40);
    Profile::SetGlobalFlagInt("MusicVolume", 50);

    StopAllSounds();
    Audio::PlaySound(8, 1.0f);
    ExpectPlaying(8, 0.4f);
    Audio::PlayTick();
    GameSound* tick = briskGame->sounds->Get("TICK");
    GameSound* tick2 = briskGame->sounds->Get("TICK2");
    EXPECT_TRUE(platform::ChannelState(tick->channel) == 1 || platform::ChannelState(tick2->channel) == 1);

    // Unknown numbers play nothing and are told once.
    testing::internal::CaptureStdout();
    Audio::PlaySound(35, 1.0f);
    Audio::PlaySound(35, 1.0f);
    Audio::PlaySound(-1, 1.0f);
    Audio::PlayMusic(12);
    Audio::PlayMusic(12);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out,
              "Audio.PlaySound: no sound 35\nAudio.PlaySound: no sound -1\nAudio.PlayMusic: no music 12\n");
    EXPECT_EQ(Audio::IsPlaying(), 0);

    // Music by id: the same id again does nothing; another id of the same track restarts it.
    Audio::PlayMusic(6);
    EXPECT_EQ(briskGame->musicFile, "unbreakable.ogg");
    EXPECT_EQ(briskGame->musicVolume, 50);
    EXPECT_EQ(platform::MusicState(), 1);
    briskGame->musicFile.clear();
    Audio::PlayMusic(6);
    EXPECT_EQ(briskGame->musicFile, "");
    Audio::PlayMusic(10);
    EXPECT_EQ(briskGame->musicFile, "unbreakable.ogg");
    Audio::StopMusic();
    EXPECT_EQ(platform::MusicState(), 0);
    EXPECT_EQ(Audio::IsPlaying(), 0);
    Audio::PlayMusic(10);
    EXPECT_EQ(platform::MusicState(), 1);
    EXPECT_EQ(Audio::currentMusic, 10);
}
