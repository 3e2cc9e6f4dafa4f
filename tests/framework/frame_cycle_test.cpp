// The frame cycle's timing, music volume and mouse mapping.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "framework/main.hpp"
#include "platform/app.hpp"
#include "platform/random.hpp"
#include "tests/support/harness.hpp"

using harness::Harness;

TEST(FrameCycle, ALongFrameGivesDeltaOneAndNormalFramesMeasureTheirLength) {
    Harness h;
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(h.Step(3));
    // Three frames at 60 per second (16 + 17 + 17 ms) measure one frame each on average.
    float sum = 0;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(h.Step());
        EXPECT_NEAR(deltaTimer->delta, 1.0f, 0.05f);
        sum += deltaTimer->delta;
    }
    EXPECT_NEAR(sum, 3.0f, 1e-4f);

    // A frame of about three target frames keeps its measured delta.
    h.AdvanceClock(34);
    ASSERT_TRUE(h.Step());
    EXPECT_GT(deltaTimer->frametime, 49);
    EXPECT_NEAR(deltaTimer->delta, deltaTimer->frametime / (1000.0 / 60.0), 1e-4);
    EXPECT_GT(deltaTimer->delta, 2.9f);

    // A frame of 100 ms and more (six target frames) counts as one.
    h.AdvanceClock(100);
    ASSERT_TRUE(h.Step());
    EXPECT_GE(deltaTimer->frametime, 100);
    EXPECT_EQ(deltaTimer->delta, 1.0f);

    // ResetDelta makes the next frame measure from now: the stall before it is not counted.
    h.AdvanceClock(40);
    briskGame->ResetDelta();
    ASSERT_TRUE(h.Step());
    EXPECT_LT(deltaTimer->frametime, 18);
}

TEST(FrameCycle, MusicVolumesAreClamped) {
    Harness h;
    ASSERT_TRUE(h.Start());
    BriskApp& app = *briskGame;
    EXPECT_EQ(app.musicVolume, 100);
    EXPECT_EQ(app.engineMusicVolume, 1.0f);

    app.SetEngineMusicVolume(-0.5f);
    EXPECT_EQ(app.engineMusicVolume, 0.0f);
    app.SetEngineMusicVolume(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(app.engineMusicVolume, 0.0f);
    app.SetEngineMusicVolume(1.5f);
    EXPECT_EQ(app.engineMusicVolume, 1.0f);
    app.SetEngineMusicVolume(0.25f);
    EXPECT_EQ(app.engineMusicVolume, 0.25f);

    app.MusicSetVolume(150);
    EXPECT_EQ(app.musicVolume, 100);
    EXPECT_EQ(app.engineMusicVolume, 1.0f);
    app.MusicSetVolume(-20);
    EXPECT_EQ(app.musicVolume, 0);
    EXPECT_EQ(app.engineMusicVolume, 0.0f);
    app.MusicSetVolume(40);
    EXPECT_EQ(app.musicVolume, 40);
    EXPECT_FLOAT_EQ(app.engineMusicVolume, 0.4f);
}

TEST(FrameCycle, AMusicFileThatCannotPlayIsReportedAndRemembered) {
    Harness h;
    ASSERT_TRUE(h.Start());
    testing::internal::CaptureStdout();
    briskGame->MusicPlay("no such track.ogg", 1);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(briskGame->musicFile, "no such track.ogg");
    EXPECT_EQ(briskGame->musicOkay, -1);
    EXPECT_NE(out.find("Error Playing Music - Music must be in the data\\music folder"), std::string::npos)
        << out;
    EXPECT_TRUE(h.Step());
}

TEST(FrameCycle, AWindowWithoutSizeMapsTheMouseToTheOriginAndKeepsTheView) {
    Harness h;
    ASSERT_TRUE(h.Start());
    BriskApp& app = *briskGame;

    // No ratio yet (the state before the window opens): nothing to divide by.
    app.SetScreenSize(0, 0, false);
    EXPECT_TRUE(app.virtualResOn);
    EXPECT_FALSE(app.aspectRatioOn);
    h.MouseMove(300, 200);
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(app.mouseX, 0);
    EXPECT_EQ(app.mouseY, 0);

    // Aspect-ratio mode without a computed scale.
    app.SetScreenSize(1000, 600, true);
    app.aspectRatioOn = true;
    app.multi = 0;
    app.ReadInputs();
    EXPECT_EQ(app.mouseX, 0);
    EXPECT_EQ(app.mouseY, 0);

    // A view that cannot be computed (no device or no virtual size) keeps the previous one
    // instead of dividing by zero.
    app.multi = 1.5f;
    app.widthBorder = 12;
    app.deviceChanged = true;
    DEVICE_WIDTH = 0;
    DEVICE_HEIGHT = 0;
    SCREEN_WIDTH = 0;
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(app.multi, 1.5f);
    EXPECT_EQ(app.widthBorder, 12);
    EXPECT_TRUE(app.deviceChanged);
}

TEST(FrameCycle, StartUpFillsTheParticleCacheAndAnimationLengthsCountFrames) {
    Harness h;
    // The initialiser makes 800 empty slots; start-up fills them.
    ASSERT_EQ(Particle::particles.size(), 800u);
    EXPECT_EQ(Particle::particles[0], nullptr);
    ASSERT_TRUE(h.Start());
    ASSERT_EQ(Particle::particles.size(), 800u);
    for (const auto& particle : Particle::particles) ASSERT_NE(particle, nullptr);
    EXPECT_FLOAT_EQ(Particle::particles[799]->alpha, 1.0f);
    EXPECT_TRUE(Particle::particles[799]->visible);

    EXPECT_FLOAT_EQ(briskGame->CalcAnimLength(600), 36);
    EXPECT_FLOAT_EQ(briskGame->CalcAnimLength(500), 30);
    EXPECT_FLOAT_EQ(briskGame->CalcAnimLength(50), 3);
}

TEST(FrameCycle, TheSeedTakesTheClocksLowBitsWhateverTheUptime) {
    Harness h;
    EXPECT_EQ(randomSeed, 1234);
    EXPECT_EQ(platform::GetSeed(), 1234);
    ASSERT_TRUE(h.Start());
    // A machine up for about 35 days: its millisecond clock is past the int range. Saturating
    // would give every such run the same seed.
    h.AdvanceClock(3'000'000'000LL);
    briskGame->BriskApp::OnCreate();
    const int expected = static_cast<int>(static_cast<uint32_t>(platform::Millisecs()));
    EXPECT_NE(randomSeed, std::numeric_limits<int>::max());
    EXPECT_EQ(randomSeed, expected);
    EXPECT_EQ(platform::GetSeed(), expected);
    h.AdvanceClock(1234);
    briskGame->BriskApp::OnCreate();
    EXPECT_EQ(randomSeed, expected + 1234);
}

TEST(FrameCycle, TheCounterIsDrawnInTheTopLeftCornerWhenSwitchedOn) {
    Harness h;
    ASSERT_TRUE(h.Start());
    auto lit = [&] {
        int count = 0;
        std::vector<uint8_t> p = h.ReadPixels(0, 0, 120, 40);
        for (size_t i = 0; i + 3 < p.size(); i += 4) count += (p[i] | p[i + 1] | p[i + 2]) != 0;
        return count;
    };
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(lit(), 0);
    briskGame->drawFPSOn = true;
    ASSERT_TRUE(h.Step());
    EXPECT_GT(lit(), 20);
    EXPECT_FALSE(h.SaveFrame("fps_counter").empty());
}
