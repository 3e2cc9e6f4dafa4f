// The program from its start to its end: the first frame, the ways it ends and their statuses.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "core/exception.hpp"
#include "framework/main.hpp"
#include "platform/app.hpp"
#include "platform/graphics.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/probe_screen.hpp"

using harness::Harness;
using harness::StartProbe;

TEST(Startup, FirstFrameIsRenderedBeforeTheFirstUpdate) {
    Harness h;
    ASSERT_TRUE(h.Start());
    ASSERT_NE(briskGame, nullptr);
    // The first frame: start-up and one render, no update yet.
    ASSERT_TRUE(deltaTimer);
    EXPECT_EQ(deltaTimer->frametime, 0);
    EXPECT_EQ(FPSCounter::fpsCount, 1);
    ASSERT_TRUE(briskGame->currentScreen);
    EXPECT_EQ(briskGame->currentScreen->name, "blank");
    EXPECT_EQ(briskGame->screens->Find("BLANK"), briskGame->currentScreen);

    // A window of the virtual size, with the game's title, drawn 1:1.
    SDL_Window* window = nullptr;
    for (Uint32 id = 1; id < 100000 && !window; ++id) window = SDL_GetWindowFromID(id);
    ASSERT_NE(window, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Brallwick - Quellfast");
    EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN, 0u);
    EXPECT_EQ(platform::DeviceWidth(), 1000);
    EXPECT_EQ(platform::DeviceHeight(), 600);
    EXPECT_EQ(windowWidth, 1000);
    EXPECT_EQ(windowHeight, 600);
    EXPECT_EQ(SCREEN_WIDTH, 1000);
    EXPECT_EQ(SCREEN_HEIGHT, 600);
    EXPECT_EQ(SCREEN_WIDTH2, 500);
    EXPECT_EQ(SCREEN_HEIGHT2, 300);
    EXPECT_EQ(platform::UpdateRate(), 60);

    ASSERT_TRUE(h.Step());
    EXPECT_GT(deltaTimer->frametime, 0);
    EXPECT_EQ(FPSCounter::fpsCount, 2);
    auto px = h.Pixel(500, 300);
    EXPECT_EQ(px.r + px.g + px.b, 0);
}

TEST(Startup, AnErrorInAFrameEndsTheProgramWithTheReportAndStatus1) {
    Harness h;
    ASSERT_TRUE(h.Start());
    auto probe = StartProbe("boom", 0, 0, 255);
    probe->onUpdate = [] { throw platform::RuntimeError("the reactor is melting"); };
    testing::internal::CaptureStdout();
    bool running = h.Step();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_FALSE(running);
    EXPECT_NE(out.find("Vantle Runtime Error : the reactor is melting"), std::string::npos) << out;
    EXPECT_FALSE(h.Running());
    EXPECT_EQ(h.ExitStatus(), 1);
    EXPECT_NE(h.LastReport().find("the reactor is melting"), std::string::npos) << h.LastReport();
}

TEST(Startup, AGameExceptionInAHookIsPrintedInFullThenReportedByItsShortText) {
    Harness h;
    ASSERT_TRUE(h.Start());
    auto probe = StartProbe("assert", 0, 0, 255);
    std::string full, shortText;
    probe->onUpdate = [&] {
        IndexOutOfBoundsException error("outer fault",
                                        std::make_exception_ptr(AssertException("inner fault")));
        full = error.ToString2(true);
        shortText = error.ToString2(false);
        throw error;
    };
    testing::internal::CaptureStdout();
    bool running = h.Step();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_FALSE(running);
    EXPECT_EQ(h.ExitStatus(), 1);
    ASSERT_NE(full.find("Caused by"), std::string::npos);
    EXPECT_NE(out.find(full), std::string::npos) << out;
    EXPECT_NE(h.LastReport().find(shortText), std::string::npos) << h.LastReport();
    EXPECT_EQ(h.LastReport().find("Caused by"), std::string::npos) << h.LastReport();
}

TEST(Startup, ASecondGameIsRefused) {
    Harness h;
    ASSERT_TRUE(h.Start());
    BriskApp* first = briskGame;
    try {
        Main();
        FAIL() << "a second Game was created";
    } catch (const platform::RuntimeError& e) {
        EXPECT_STREQ(e.what(), "App has already been created");
    }
    EXPECT_EQ(briskGame, first);
    EXPECT_TRUE(h.Step());
}

TEST(Startup, AFadeToNoScreenLeadsToTheExitScreenWhichEndsTheProgram) {
    Harness h;
    ASSERT_TRUE(h.Start());
    auto probe = StartProbe("title", 255, 0, 0);
    probe->nextUpdate = [&] { probe->FadeToScreen(nullptr, 100, false, false, true); };
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(briskGame->nextScreen, briskGame->exitScreen);
    int frames = 0;
    while (h.Step() && frames < 100) ++frames;
    EXPECT_FALSE(h.Running());
    EXPECT_EQ(h.ExitStatus(), 0);
    EXPECT_EQ(h.LastReport(), "");
    EXPECT_EQ(probe->kills, 1);
    // 100 ms is 6 frames; the exit screen starts in the 7th update.
    EXPECT_EQ(frames, 6);
}

TEST(Startup, BackWithExitUsesTheDefaultFadeAndEndsTheProgram) {
    Harness h;
    ASSERT_TRUE(h.Start());
    auto probe = StartProbe("title", 255, 0, 0);
    probe->backScreenName = "exit";
    probe->nextUpdate = [&] { probe->Back(10, true, true, false); };
    ASSERT_TRUE(h.Step());
    const ScreenFade& fade = *briskGame->screenFade;
    EXPECT_TRUE(fade.active);
    EXPECT_EQ(fade.fadeTime, 36);
    EXPECT_TRUE(fade.fadeOut);
    EXPECT_FALSE(fade.fadeSound);
    EXPECT_FALSE(fade.fadeMusic);
    EXPECT_TRUE(fade.allowScreenUpdate);
    EXPECT_EQ(briskGame->nextScreen, briskGame->exitScreen);
    int frames = 0;
    while (h.Step() && frames < 200) ++frames;
    EXPECT_EQ(h.ExitStatus(), 0);
    EXPECT_EQ(frames, 36);
}

TEST(Startup, BackFindsItsTargetByName) {
    Harness h;
    ASSERT_TRUE(h.Start());
    auto title = StartProbe("Title", 0, 255, 0);
    auto options = StartProbe("options", 255, 0, 0);
    options->backScreenName = "title";
    options->nextUpdate = [&] { options->Back(100, false, false, true); };
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(briskGame->nextScreen, title);
    EXPECT_TRUE(title->autoFadeIn);
    EXPECT_EQ(title->autoFadeInTime, 100);
    ASSERT_TRUE(h.Step(7));
    EXPECT_EQ(briskGame->currentScreen, title);
    EXPECT_EQ(title->starts, 2);
    EXPECT_EQ(options->kills, 1);
}

TEST(Startup, WhileInactiveTheScreenIsDrawnButNotUpdated) {
    Harness h;
    ASSERT_TRUE(h.Start());
    auto probe = StartProbe("title", 255, 0, 0);
    ASSERT_TRUE(h.Step(2));
    EXPECT_EQ(probe->updates, 2);
    h.Focus(false);
    ASSERT_TRUE(h.Step(3));
    EXPECT_EQ(probe->updates, 2);
    EXPECT_EQ(probe->renders, 5);
    h.Focus(true);
    ASSERT_TRUE(h.Step(2));
    EXPECT_EQ(probe->updates, 4);
}
