// The per-frame update inside the running program: the frame clock, play time, input state,
// rotation, the tween registry, screen fades and the start-up steps the model adds.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/collections.hpp"
#include "core/glyphfont.hpp"
#include "core/tween.hpp"
#include "framework/main.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/app.hpp"
#include "platform/storage.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/probe_screen.hpp"

using harness::Harness;
using harness::StartProbe;

namespace {

// A running program whose current screen runs the per-frame update as every game screen does.
class DataFrame : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(h.Start());
        probe = StartProbe("probe", 0, 0, 0);
        probe->onUpdate = [] { Data::Update(1); };
    }
    void TearDown() override { Data::hooks = DataHooks{}; }

    // Plays slot 0, so its play time counts.
    static void PlaySlot0() {
        Profile::currentSlot = 0;
        Profile::slotFlags = Profile::saveData->Profiles.Get2(0);
    }

    Harness h;
    std::shared_ptr<harness::ProbeScreen> probe;
};

TEST_F(DataFrame, FirstFrameLastsNothingAndAStallCountsAsPlayTimeAFrameLater) {
    PlaySlot0();
    const int globalBefore = Profile::GetGlobalFlagInt("TimePlayed");
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(Data::frameMs, 0.0f);
    EXPECT_EQ(Data::frameMsInt, 0);

    // Driven outside the frame loop so that nothing but the stall moves the clock.
    Data::ResetUpdate();
    Profile::playTimeAccumulator = 0;
    Profile::uploadTimer = 0;
    h.AdvanceClock(2500);
    Data::Update(0);
    EXPECT_EQ(Data::frameMsInt, 2500);
    EXPECT_EQ(Data::frameMs, 2500.0f);
    // The stall is the previous frame's time for the next update.
    EXPECT_EQ(Profile::playTimeAccumulator, 0.0f);
    Data::Update(0);
    EXPECT_EQ(Data::frameMsInt, 0);
    EXPECT_EQ(Profile::GetGlobalFlagInt("TimePlayed"), globalBefore + 2);
    EXPECT_EQ(Profile::GetFlagInt("TimePlayed"), 2);
    EXPECT_EQ(Profile::playTimeAccumulator, 500.0f);
    EXPECT_EQ(Profile::uploadTimer, 2500.0f);
}

TEST_F(DataFrame, ResumingKeepsThePauseOutOfTheFrameTime) {
    ASSERT_TRUE(h.Step(3));
    EXPECT_GT(Data::frameMsInt, 0);
    EXPECT_LT(Data::frameMsInt, 40);
    h.Focus(false);
    ASSERT_TRUE(h.Step());
    h.AdvanceClock(60000);
    h.Focus(true);
    ASSERT_TRUE(h.Step());
    EXPECT_LT(Data::frameMsInt, 40);
    EXPECT_LT(Profile::uploadTimer, 1000.0f);
}

TEST_F(DataFrame, EscapeAndTheBackHookRaiseTheBackRequestUntilConsumed) {
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(Data::backPressed, 0);
    h.Key(27, true);
    ASSERT_TRUE(h.Step());
    h.Key(27, false);
    EXPECT_EQ(Data::backPressed, 1);
    ASSERT_TRUE(h.Step(2));
    EXPECT_EQ(Data::backPressed, 1);
    Data::backPressed = 0;
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(Data::backPressed, 0);
    // The engine's back key reaches the game through Game.OnBack.
    briskGame->OnBack();
    EXPECT_EQ(Data::backPressed, 1);
}

TEST_F(DataFrame, TheEngineCloseKeySavesTheProfileBeforeTheEnd) {
    ASSERT_TRUE(h.Step());
    Profile::SetGlobalFlagInt("MusicVolume", 13);
    EXPECT_THROW(briskGame->OnClose(), platform::AppExit);
    EXPECT_NE(platform::LoadState().find("MusicVolume|13"), std::string::npos) << platform::LoadState();
}

struct Dot {
    int x, y;
    float size;
    int colour;
    float drag;
};
std::vector<Dot> dots;

TEST_F(DataFrame, MouseStateInVirtualCoordinatesAndTheTrail) {
    dots.clear();
    Data::hooks.trailDot = [](int x, int y, float size, int colour, float drag) {
        dots.push_back({x, y, size, colour, drag});
    };
    h.MouseMove(300, 200);
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(Data::mouseHeld, 0);
    EXPECT_EQ(Data::mouseVX, 300.0f);
    EXPECT_EQ(Data::mouseVY, 200.0f);
    EXPECT_TRUE(dots.empty());

    h.MouseButton(0, true);
    ASSERT_TRUE(h.Step(30));
    EXPECT_EQ(Data::mouseHeld, 1);
    // About one dot per 20 ms of frames while held.
    EXPECT_GE(dots.size(), 15u);
    EXPECT_LE(dots.size(), 30u);
    for (const Dot& d : dots) {
        EXPECT_GE(d.x, 292);
        EXPECT_LE(d.x, 308);
        EXPECT_GE(d.y, 192);
        EXPECT_LE(d.y, 208);
        EXPECT_GE(d.size, 1.0f);
        EXPECT_LT(d.size, 5.0f);
        const float r = d.drag / 0.0075f;
        EXPECT_EQ(d.colour, r >= 1.0f ? 0xC0C0FF : 0xFFC0C0);
    }
    h.MouseButton(0, false);
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(Data::mouseHeld, 0);
    const size_t held = dots.size();
    ASSERT_TRUE(h.Step(5));
    EXPECT_EQ(dots.size(), held);

    // The splash screen's update draws no trail.
    probe->onUpdate = [] { Data::Update(0); };
    h.MouseButton(0, true);
    ASSERT_TRUE(h.Step(10));
    EXPECT_EQ(Data::mouseHeld, 1);
    EXPECT_EQ(dots.size(), held);
}

int rotations = 0;

TEST_F(DataFrame, ATurnedDeviceSwapsTheVirtualSizeButASquareOneNeverTurns) {
    rotations = 0;
    Data::hooks.checkRotate = [] { ++rotations; };
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(Data::screenRotated, 0);
    // The window was last seen the other way up.
    windowWidth = 600;
    windowHeight = 1000;
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(Data::screenRotated, 1);
    EXPECT_EQ(rotations, 1);
    EXPECT_EQ(Data::virtualWidth, 600);
    EXPECT_EQ(Data::virtualHeight, 1000);
    EXPECT_EQ(windowWidth, 1000);
    EXPECT_EQ(windowHeight, 600);
    EXPECT_EQ(SCREEN_WIDTH, 600);
    EXPECT_EQ(SCREEN_HEIGHT, 1000);
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(Data::screenRotated, 0);

    h.Resize(700, 700);
    ASSERT_TRUE(h.Step());
    ASSERT_EQ(platform::DeviceWidth(), 700);
    ASSERT_EQ(platform::DeviceHeight(), 700);
    windowWidth = windowHeight = 700;
    ASSERT_TRUE(h.Step(3));
    EXPECT_EQ(Data::screenRotated, 0);
    EXPECT_EQ(rotations, 1);
    EXPECT_EQ(Data::virtualWidth, 600);
}

TEST_F(DataFrame, AFinishedTweenLeavesItsTargetExactlyAtTheEnd) {
    ASSERT_TRUE(h.Step());
    FloatObject x;
    Data::AddTween(&x, 500, 0, 100);
    ASSERT_EQ(Data::tweenRegistry.size(), 1u);
    Data::ResetUpdate();
    h.AdvanceClock(250);
    Data::Update(0);
    EXPECT_FLOAT_EQ(x.value, 50.0f);
    h.AdvanceClock(251);
    Data::Update(0);
    EXPECT_EQ(x.value, 100.0f);
    EXPECT_TRUE(Data::tweenRegistry.empty());

    // Values that frames of 17 ms never land on exactly still end exactly.
    FloatObject alpha(0.1f);
    Data::AddTween(&alpha, 300, 0.1f, 0.7f);
    FloatObject down(100.0f);
    Data::AddTween(&down, 400, 100.0f, 0.0f);
    float last = 100.0f;
    for (int frame = 0; frame < 30; ++frame) {
        ASSERT_TRUE(h.Step());
        EXPECT_LE(down.value, last);
        last = down.value;
    }
    EXPECT_EQ(alpha.value, 0.7f);
    EXPECT_EQ(down.value, 0.0f);
    EXPECT_TRUE(Data::tweenRegistry.empty());
    for (int i = 0; i < Tween::kPoolSize; ++i) EXPECT_EQ(Tween::Get(i)->active, 0) << i;
}

TEST_F(DataFrame, KillTweensStopsTheValueWhereItIsAndTheLaterTweenWins) {
    ASSERT_TRUE(h.Step());
    FloatObject x;
    FloatObject other;
    Data::AddTween(&x, 400, 0, 100);
    Data::AddTween(&other, 400, 0, 100);
    Data::ResetUpdate();
    h.AdvanceClock(100);
    Data::Update(0);
    EXPECT_FLOAT_EQ(x.value, 25.0f);
    Data::KillTweens(&x);
    ASSERT_EQ(Data::tweenRegistry.size(), 1u);
    EXPECT_EQ(Data::tweenRegistry[0].var, &other);
    h.AdvanceClock(100);
    Data::Update(0);
    EXPECT_FLOAT_EQ(x.value, 25.0f);
    EXPECT_FLOAT_EQ(other.value, 50.0f);

    // Two tweens on one value: the later one in the registry sets it each frame.
    Data::AddTween(&x, 1000, 0, 10);
    Data::AddTween(&x, 1000, 500, 1500);
    h.AdvanceClock(500);
    Data::Update(0);
    EXPECT_FLOAT_EQ(x.value, 1000.0f);
    Data::KillTweens(&x);
    Data::KillTweens(&other);
    EXPECT_TRUE(Data::tweenRegistry.empty());
    EXPECT_EQ(Tween::FindEmpty() >= 0, true);
    int running = 0;
    for (int i = 0; i < Tween::kPoolSize; ++i) running += Tween::Get(i)->active;
    EXPECT_EQ(running, 0);
}

TEST_F(DataFrame, WithThePoolExhaustedATweenJumpsToItsEndInsteadOfWaitingForever) {
    ASSERT_TRUE(h.Step());
    std::vector<FloatObject> values(Tween::kPoolSize);
    for (FloatObject& v : values) Data::AddTween(&v, 10000, 0, 1);
    ASSERT_EQ(Data::tweenRegistry.size(), static_cast<size_t>(Tween::kPoolSize));
    FloatObject late(3.0f);
    testing::internal::CaptureStdout();
    Data::AddTween(&late, 500, 3, 9);
    Data::AddTween(&late, 500, 9, 4);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(late.value, 4.0f);
    EXPECT_EQ(Data::tweenRegistry.size(), static_cast<size_t>(Tween::kPoolSize));
    for (const TweenItem& item : Data::tweenRegistry) EXPECT_NE(item.tween, nullptr);
    // Said once, not for every animation that follows.
    EXPECT_EQ(out, "No free tween: values jump to their end\n");
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(late.value, 4.0f);
    for (FloatObject& v : values) Data::KillTweens(&v);
}

TEST_F(DataFrame, ExitScreenFadesOutThenStartsTheNextScreenAndInitScreenFadesIn) {
    ASSERT_TRUE(h.Step());
    auto next = std::make_shared<harness::ProbeScreen>("next", 0, 0, 255);
    Data::ExitScreen(next, 500);
    ASSERT_TRUE(briskGame->screenFade->active);
    EXPECT_TRUE(briskGame->screenFade->fadeOut);
    EXPECT_EQ(briskGame->nextScreen, next);
    // A second request while the fade runs changes nothing.
    auto other = std::make_shared<harness::ProbeScreen>("other", 0, 255, 0);
    Data::ExitScreen(other, 100);
    EXPECT_EQ(briskGame->nextScreen, next);
    const int updatesBefore = probe->updates;
    ASSERT_TRUE(h.Step(29));
    // Screen updates go on during the fade.
    EXPECT_EQ(probe->updates, updatesBefore + 29);
    EXPECT_EQ(briskGame->currentScreen, probe);
    // 500 ms are 30 frames at 60 per second; the fade ends in the update after them.
    int frames = 29;
    while (briskGame->currentScreen == probe && frames < 40) {
        ASSERT_TRUE(h.Step());
        ++frames;
    }
    EXPECT_GE(frames, 31);
    EXPECT_LE(frames, 32);
    EXPECT_EQ(briskGame->currentScreen, next);
    EXPECT_EQ(probe->kills, 1);
    EXPECT_EQ(other->starts, 0);

    Data::InitScreen();
    ASSERT_TRUE(briskGame->screenFade->active);
    EXPECT_FALSE(briskGame->screenFade->fadeOut);
    EXPECT_EQ(briskGame->screenFade->ratio, 0.0f);
    ASSERT_TRUE(h.Step(3));
    EXPECT_FALSE(briskGame->screenFade->active);
    EXPECT_EQ(next->postFadeIns, 1);

    // Leaving during the fade-in still leaves.
    Data::InitScreen();
    auto third = std::make_shared<harness::ProbeScreen>("third", 255, 0, 0);
    Data::ExitScreen(third, 0);
    EXPECT_TRUE(briskGame->screenFade->fadeOut);
    EXPECT_EQ(briskGame->nextScreen, third);
    ASSERT_TRUE(h.Step(2));
    EXPECT_EQ(briskGame->currentScreen, third);
    EXPECT_EQ(third->starts, 1);
}

TEST(DataStartUp, StartUpLoadsTheProfileAndOpensTheModeTheSettingsAsk) {
    {
        // A store whose player chose the narrow screen, in a window.
        WireGame();
        InitGlobals();
        Profile::InitGlobal();
        Profile::SetGlobalFlagInt("Fullscreen", 0);
        Profile::SetGlobalFlagInt("Widescreen", 0);
        Profile::SetGlobalFlagInt("MapNames", 1);
        const std::string state = Profile::saveData->ToString();
        Harness h;
        h.WriteState(state);
        ASSERT_TRUE(h.Start());
        EXPECT_EQ(Data::virtualWidth, 800);
        EXPECT_EQ(Data::mapNamesOn, 1);
        EXPECT_EQ(platform::DeviceWidth(), 800);
        EXPECT_EQ(platform::DeviceHeight(), 600);
        EXPECT_EQ(SCREEN_WIDTH, 800);
        EXPECT_EQ(windowWidth, 800);
        EXPECT_FALSE(Data::yearText.empty());
        EXPECT_EQ(Data::yearText, std::to_string(platform::CurrentYear()));
        // The tween pool is filled and the level rules reach the profile.
        EXPECT_NE(Tween::Get(0), nullptr);
        EXPECT_EQ(Profile::services.getLevel, &Data::GetLevel);
        EXPECT_EQ(Profile::services.getReputationLevel, &Data::GetReputationLevel);
        ASSERT_NE(Fonts::Get("n"), nullptr);
        EXPECT_EQ(Fonts::Get("n")->name, "");
    }
    {
        // A first run: full screen, the first listed size that opens.
        Harness h;
        h.NoSavedState();
        h.SetModeFilter(
            [](int w, int hgt, bool fullscreen) { return fullscreen && w == 1280 && hgt == 720; });
        ASSERT_TRUE(h.Start());
        EXPECT_EQ(Data::virtualWidth, 1000);
        EXPECT_EQ(platform::DeviceWidth(), 1280);
        EXPECT_EQ(platform::DeviceHeight(), 720);
        EXPECT_EQ(windowWidth, 1280);
        EXPECT_EQ(SCREEN_WIDTH, 1000);
        EXPECT_TRUE(briskGame->aspectRatioOn);
    }
}

}  // namespace
