// The cutscene player on the running game with the baked scripts: the intro plays its pictures,
// moves, captions, sounds and pauses to its end, at 1000 x 600 and in a 4:3 window; "Skip >>" and
// the escape key end it at once; every effect script plays.
#include "gui/animation.hpp"

#include <gtest/gtest.h>

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "framework/main.hpp"
#include "gui/audio2.hpp"
#include "gui/particledot.hpp"
#include "model/data2.hpp"
#include "tests/gui/gui_fixture.hpp"

namespace {

// The comic's pictures, sounds and caption font, as the loading screens leave them, and a hero.
std::shared_ptr<guitest::TestScreen> StartIntro(harness::Harness& h) {
    auto screen = guitest::StartScreen(h);
    if (!screen) return nullptr;
    auto& images = *briskGame->images;
    for (const char* file : {"SuperheroU.jpg", "ComicBorder.png", "FXLightning3.png"}) images.Load3(file);
    images.Load3("CharacterTimeMaster.png", "", true);
    images.LoadAnim2("Characters01.png", 256, 256, 4);
    images.LoadAnim2("HeroMale1.png", 256, 256, 4);
    for (const char* s : {"Fireworks", "Count", "Alert2", "IntroEnd"})
        briskGame->sounds->Load5(std::string(s) + ".ogg");
    auto font = std::make_unique<GlyphFont>();
    font->LoadFont("YikesH32");
    Fonts::Set("on", std::move(font));
    Profile::SetFlagString("CharacterPortrait", "HeroMale1");
    Profile::SetFlagString("Name", "Captain Kettle");
    return screen;
}

std::shared_ptr<GUIAnimation> Play(harness::Harness& h, guitest::TestScreen& screen,
                                   const AnimationItem* script) {
    std::shared_ptr<GUIAnimation> player;
    guitest::During(h, screen, [&] {
        player = std::make_shared<GUIAnimation>(script, 1);
        GUIList::AddLast(player);
    });
    return player;
}

bool OnList(const std::string& id) {
    return GUIList::Get(id, "") != nullptr;
}

// Steps until done() or the script's pauses plus 2 s have passed; the milliseconds it took.
template <class Done>
int RunUntil(harness::Harness& h, const AnimationItem& script, Done done) {
    int limit = 2000;
    for (const AnimationElement& e : script.elements) limit += e.type == "wait" ? e.time : 0;
    int frames = 0;
    while (!done() && frames * 1000 / 60 < limit) {
        h.Step();
        ++frames;
    }
    return frames * 1000 / 60;
}

TEST(AnimationPlayer, TheIntroPlaysToItsEndAndTheMusicPlaysOn) {
    harness::Harness h;
    auto screen = StartIntro(h);
    ASSERT_TRUE(screen);
    const AnimationItem* script = AnimationList::Get("intro_1_wide");
    auto player = Play(h, *screen, script);
    h.Step(100);
    EXPECT_EQ(Audio::currentMusic, 5);
    EXPECT_FLOAT_EQ(player->objects[0]->alpha.value, 1.0f);  // the base has faded in over 1.5 s
    ASSERT_EQ(player->text.size(), 1u);
    const float typed = player->text[0]->count;
    h.Step(30);
    EXPECT_NEAR(player->text[0]->count - typed, 25.0f, 1.0f);  // 50 characters a second
    h.SaveFrame("anim_intro_wide_1");

    // The strike: sparks, a bang, and the new hero's own body in black, growing to full size.
    RunUntil(h, *script, [&] { return player->getObject("hero") != nullptr; });
    AnimationObject* hero = player->getObject("hero");
    EXPECT_EQ(hero->image, briskGame->images->Get("HEROMALE1"));
    EXPECT_EQ(hero->r.value + hero->g.value + hero->b.value, 0.0f);
    EXPECT_TRUE(briskGame->sounds->Get("FIREWORKS")->IsPlaying());
    EXPECT_GT(GUIParticleDot::InUse(), 60);
    h.Step(20);
    h.SaveFrame("anim_intro_wide_2");
    h.Step(80);
    EXPECT_FLOAT_EQ(hero->scale.value, 1.0f);
    const harness::Rgba body = h.Pixel(500, 500);
    EXPECT_LT(body.r + body.g + body.b, 40);

    // The last caption, on the monitor: the hero's name is put in.
    RunUntil(h, *script,
             [&] { return !player->text.empty() && player->text.back()->text.rfind("Brallwick w", 0) == 0; });
    EXPECT_EQ(player->text.back()->text, "Brallwick was about to meet Captain Kettle!");
    EXPECT_EQ(player->getObject("watcher"), nullptr);  // gone the moment it exits
    h.Step(60);
    h.SaveFrame("anim_intro_wide_3");
    RunUntil(h, *script, [] { return !OnList("intro_1_wide"); });
    EXPECT_FALSE(OnList("intro_1_wide"));
    EXPECT_FALSE(OnList("skip"));
    EXPECT_TRUE(player->objects.empty());
    EXPECT_EQ(Audio::musicPlaying, 1);
}

TEST(AnimationPlayer, SkipAndEscapeEndTheSceneAtOnceAndStopTheMusic) {
    harness::Harness h;
    auto screen = StartIntro(h);
    ASSERT_TRUE(screen);
    auto player = Play(h, *screen, AnimationList::Get("intro_1_wide"));
    h.Step(200);
    h.MouseMove(900, 550);  // "Skip >>", bottom right; it fires on the release
    h.MouseButton(0, true);
    h.Step(2);
    ASSERT_TRUE(OnList("intro_1_wide"));
    h.MouseButton(0, false);
    h.Step();
    EXPECT_FALSE(OnList("intro_1_wide"));
    EXPECT_FALSE(OnList("skip"));
    EXPECT_EQ(Audio::currentMusic, -1);

    player = Play(h, *screen, AnimationList::Get("intro_1_wide"));
    h.Step(10);
    ASSERT_GT(player->wait, 0);
    h.Key(27, true);
    h.Step();
    EXPECT_FALSE(OnList("intro_1_wide"));
    EXPECT_FALSE(OnList("skip"));
    EXPECT_EQ(Audio::musicPlaying, 0);
    EXPECT_EQ(Data::backPressed, 0);
}

TEST(AnimationPlayer, EveryEffectScriptPlaysItsPicturesToItsEnd) {
    harness::Harness h;
    auto screen = guitest::StartScreen(h);
    ASSERT_TRUE(screen);
    for (const char* fx : {"Ball1", "Ball2", "Ball3", "Beam1", "Beam2", "Bite1", "Bite2", "Bullet1",
                           "Confusion1", "Confusion2", "FireArrow", "Fist1", "Icicle", "Knife", "Lightning1",
                           "Lightning2", "MentalBall1", "Render"}) {
        briskGame->images->Load3(std::string("FX") + fx + ".png", "", true);
    }
    briskGame->images->Load3("FXLightning3.png");
    for (const auto& effect : AnimationList::effects) {
        auto player = Play(h, *screen, effect.get());
        player->posItems = {{"left", 128, 440}, {"right", 872, 440}};  // where the fighters stand
        size_t most = 0;
        const int ms = RunUntil(h, *effect, [&] {
            for (const auto& o : player->objects) EXPECT_NE(o->image, nullptr) << effect->id << " " << o->id;
            if (player->objects.size() > most && most == 0) h.SaveFrame("anim_fx_" + effect->id);
            most = std::max(most, player->objects.size());
            return !OnList(effect->id);
        });
        EXPECT_FALSE(OnList(effect->id)) << effect->id << " after " << ms << " ms";
        EXPECT_GE(most, 1u) << effect->id;
    }
}

TEST(AnimationPlayer, TheIntroIn4To3ShowsTheNarrowCut) {
    harness::Harness h;
    InitGlobals();
    Profile::InitGlobal();
    Profile::SetGlobalFlagInt("Fullscreen", 0);
    Profile::SetGlobalFlagInt("Widescreen", 0);
    h.WriteState(Profile::saveData->ToString());
    auto screen = StartIntro(h);
    ASSERT_TRUE(screen);
    ASSERT_EQ(Data::virtualWidth, 800);
    auto player = Play(h, *screen, AnimationList::Get("intro_1"));
    h.Step(100);
    // The base centred, the panel's dark rim on both edges.
    EXPECT_GT(h.Pixel(400, 300).b, 40);
    EXPECT_LT(h.Pixel(3, 300).b, 60);
    EXPECT_LT(h.Pixel(796, 300).b, 60);
    h.SaveFrame("anim_intro_4to3_1");
    h.Step(700);
    h.SaveFrame("anim_intro_4to3_2");
}

}  // namespace
