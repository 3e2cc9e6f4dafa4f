// The frame loop's order, its ways to end, suspend/resume, the clock and graphics modes.
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>

#include "engine_fixture.hpp"
#include "platform/async.hpp"
#include "platform/graphics.hpp"
#include "platform/pacer.hpp"

using namespace testapp;
namespace drv = platform::driver;

namespace {

struct GameError : platform::ThrowableObject {
    std::string Describe() const override { return "XMLParseException: no tags in data/act1.xml"; }
};

}  // namespace

TEST_F(EngineTest, CreateAndOneRenderComeBeforeTheFirstUpdate) {
    HookApp& app = StartWindow(64, 48);
    EXPECT_EQ(platform::DeviceWidth(), 0) << "no window before OnCreate";
    ASSERT_TRUE(drv::Step(1));
    EXPECT_EQ(std::string(app.log.begin(), app.log.end()), "CR");
    EXPECT_EQ(platform::DeviceWidth(), 64);
    EXPECT_EQ(platform::DeviceHeight(), 48);
    ASSERT_TRUE(drv::Step(2));
    EXPECT_EQ(std::string(app.log.begin(), app.log.end()), "CRURUR");
    EXPECT_EQ(app.creates, 1);
}

TEST_F(EngineTest, FakeClockAdvancesBySixtiethsAndOnRequest) {
    HookApp& app = StartWindow(32, 32);
    std::vector<int64_t> seen;
    app.update = [&] { seen.push_back(platform::Millisecs()); };
    ASSERT_TRUE(drv::Step(4));
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], 16);
    EXPECT_EQ(seen[1], 33);
    EXPECT_EQ(seen[2], 50);
    drv::AdvanceClock(1000);
    ASSERT_TRUE(drv::Step(1));
    EXPECT_EQ(seen.back(), 1066);
}

TEST_F(EngineTest, ClosingTheWindowGoesThroughOnCloseAndEndsWithStatusZero) {
    HookApp& app = StartWindow(32, 32);
    ASSERT_TRUE(drv::Step(2));
    const int updates = app.updates;
    drv::InjectQuit();
    EXPECT_FALSE(drv::Step(1));
    EXPECT_FALSE(drv::Running());
    EXPECT_EQ(drv::ExitStatus(), 0);
    EXPECT_EQ(app.closes, 1) << "the game's close handler saves";
    EXPECT_EQ(app.updates, updates) << "the quit ends the loop before the update";
    EXPECT_TRUE(drv::LastReport().empty());
}

TEST_F(EngineTest, UncaughtRuntimeErrorReportsAndEndsWithStatusOne) {
    HookApp& app = StartWindow(32, 32);
    app.update = [] { platform::Error("ERROR: No available objects [GUIText]!"); };
    testing::internal::CaptureStdout();
    EXPECT_FALSE(drv::Step(3));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(drv::ExitStatus(), 1);
    EXPECT_NE(out.find("Vantle Runtime Error : ERROR: No available objects [GUIText]!\n\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(drv::LastReport().rfind("ERROR: No available objects [GUIText]!", 0), 0u);
    EXPECT_EQ(platform::DeviceWidth(), 0) << "graphics are closed by the report";
    EXPECT_EQ(app.updates, 1);
}

TEST_F(EngineTest, ThrownObjectShowsFixedTextAndItsDescription) {
    HookApp& app = StartWindow(32, 32);
    app.create = [] { throw GameError(); };
    testing::internal::CaptureStdout();
    EXPECT_FALSE(drv::Step(1));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(drv::ExitStatus(), 1);
    EXPECT_EQ(out.find("Vantle Runtime Error"), std::string::npos);
    EXPECT_NE(out.find("XMLParseException: no tags in data/act1.xml"), std::string::npos);
    EXPECT_EQ(drv::LastReport().rfind("Uncaught Vantle Exception\n\nXMLParseException: no tags", 0), 0u)
        << drv::LastReport();
    EXPECT_EQ(app.renders, 0);
}

TEST_F(EngineTest, StandardExceptionBecomesARuntimeError) {
    HookApp& app = StartWindow(32, 32);
    app.render = [] { throw std::out_of_range("vector index"); };
    testing::internal::CaptureStdout();
    EXPECT_FALSE(drv::Step(1));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(drv::ExitStatus(), 1);
    EXPECT_NE(out.find("Vantle Runtime Error : vector index"), std::string::npos);
}

TEST_F(EngineTest, EndAppAndEmptyErrorEndQuietlyWithStatusZero) {
    for (int variant = 0; variant < 2; ++variant) {
        HookApp& app = StartWindow(32, 32);
        app.update = [variant] {
            if (variant == 0) platform::EndApp();
            platform::Error("");
        };
        testing::internal::CaptureStdout();
        EXPECT_FALSE(drv::Step(5));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(drv::ExitStatus(), 0);
        EXPECT_EQ(app.updates, 1);
        EXPECT_TRUE(drv::LastReport().empty());
        TearDown();
    }
}

TEST_F(EngineTest, ErrorDuringStartUpIsReported) {
    BeforeMain() = [] { throw platform::RuntimeError("bad start"); };
    testing::internal::CaptureStdout();
    EXPECT_FALSE(drv::Start(InitNothing, MakeApp, Options()));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(drv::ExitStatus(), 1);
    EXPECT_NE(out.find("Vantle Runtime Error : bad start"), std::string::npos);
    EXPECT_EQ(Current(), nullptr);
}

TEST_F(EngineTest, SecondAppIsRefused) {
    ASSERT_TRUE(drv::Start(InitNothing, MakeApp, Options()));
    try {
        HookApp second;
        FAIL() << "a second App was accepted";
    } catch (const platform::RuntimeError& e) {
        EXPECT_STREQ(e.what(), "App has already been created");
    }
    EXPECT_EQ(platform::App::Current(), Current());
    drv::Stop();
    HookApp afterReset;  // the reset frees the slot for the next test's app
    EXPECT_EQ(platform::App::Current(), &afterReset);
}

TEST_F(EngineTest, FocusLossSuspendsUpdatesButNotRenders) {
    HookApp& app = StartWindow(32, 32);
    ASSERT_TRUE(drv::Step(2));
    app.log.clear();
    drv::InjectFocus(false);
    drv::InjectFocus(false);  // a second loss is no second suspend
    ASSERT_TRUE(drv::Step(3));
    EXPECT_EQ(std::string(app.log.begin(), app.log.end()), "SRRR");
    drv::InjectFocus(true);
    ASSERT_TRUE(drv::Step(2));
    EXPECT_EQ(std::string(app.log.begin(), app.log.end()), "SRRREURUR");
    EXPECT_EQ(app.suspends, 1);
    EXPECT_EQ(app.resumes, 1);
}

TEST_F(EngineTest, GraphicsModesAndTheModeFilter) {
    ASSERT_TRUE(drv::Start(InitNothing, MakeApp, Options()));
    HookApp& app = *Current();
    std::vector<std::string> tried;
    platform::SetModeFilter([&](int w, int h, bool fs) {
        tried.push_back(std::to_string(w) + "x" + std::to_string(h) + (fs ? "F" : "W"));
        return !(w == 1024 && h == 768);
    });
    bool desktopOpened = true, fallbackOpened = false, windowedOpened = false;
    int afterFallback = 0;
    app.create = [&] {
        // The offscreen desktop is 1024 x 768; the filter refuses it, so the game's next size opens.
        EXPECT_EQ(platform::DesktopWidth(), 1024);
        EXPECT_EQ(platform::DesktopHeight(), 768);
        desktopOpened = platform::OpenGraphics(1024, 768, 32, 60, 0);
        fallbackOpened = platform::OpenGraphics(1280, 720, 32, 60, 0);
        afterFallback = platform::DeviceWidth();
        windowedOpened = platform::OpenGraphics(200, 100, 0, 60, 0);
    };
    ASSERT_TRUE(drv::Step(1));
    EXPECT_FALSE(desktopOpened);
    EXPECT_TRUE(fallbackOpened);
    EXPECT_EQ(afterFallback, 1280);
    EXPECT_TRUE(windowedOpened);
    EXPECT_EQ(platform::DeviceWidth(), 200);
    EXPECT_EQ(platform::DeviceHeight(), 100);
    EXPECT_EQ(tried, (std::vector<std::string>{"1024x768F", "1280x720F", "200x100W"}));
}

TEST_F(EngineTest, HeadlessFullScreenWithoutFilterOpensOnlyTheDesktopSize) {
    ASSERT_TRUE(drv::Start(InitNothing, MakeApp, Options()));
    HookApp& app = *Current();
    bool big = true, desktop = false;
    app.create = [&] {
        big = platform::OpenGraphics(1920, 1080, 32, 60, 0);
        desktop = platform::OpenGraphics(1024, 768, 32, 60, 0);
    };
    ASSERT_TRUE(drv::Step(1));
    EXPECT_FALSE(big);
    EXPECT_TRUE(desktop);
    EXPECT_EQ(platform::DeviceWidth(), 1024);
    EXPECT_EQ(platform::DeviceHeight(), 768);
}

TEST_F(EngineTest, ResizeReachesOnResizeAndTheDeviceSize) {
    HookApp& app = StartWindow(80, 60);
    ASSERT_TRUE(drv::Step(1));
    drv::InjectResize(60, 80);
    ASSERT_TRUE(drv::Step(1));
    EXPECT_GE(app.resizes, 1);
    EXPECT_EQ(platform::DeviceWidth(), 60);
    EXPECT_EQ(platform::DeviceHeight(), 80);
}

TEST_F(EngineTest, AsyncCompletionsArriveOnlyThroughThePoll) {
    HookApp& app = StartWindow(16, 16);
    std::vector<int> delivered;
    app.update = [&] { platform::UpdateAsyncEvents(); };
    ASSERT_TRUE(drv::Step(1));
    std::thread worker([&] {
        platform::PostAsyncCompletion([&] { delivered.push_back(1); });
        platform::PostAsyncCompletion([&] { delivered.push_back(2); });
    });
    worker.join();
    EXPECT_TRUE(delivered.empty());
    ASSERT_TRUE(drv::Step(1));
    EXPECT_EQ(delivered, (std::vector<int>{1, 2}));
}

TEST_F(EngineTest, RunProgramPacesItsOwnLoopAndReturnsTheStatus) {
    for (bool fake : {true, false}) {
        platform::EngineOptions options = Options();
        options.fakeClock = fake;
        static int updatesBeforeExit;
        updatesBeforeExit = 0;
        BeforeMain() = nullptr;
        auto initGlobals = [] {};
        auto runMain = [] {
            MakeApp();
            Current()->create = [] { ASSERT_TRUE(platform::OpenGraphics(32, 32, 0, 60, 0)); };
            Current()->update = [] {
                if (++updatesBeforeExit == 3) platform::EndApp();
            };
        };
        EXPECT_EQ(platform::RunProgram(initGlobals, runMain, options), 0);
        EXPECT_EQ(updatesBeforeExit, 3);
        EXPECT_EQ(Current()->renders, 3) << "one render before the first update, none after the exit";
        platform::ResetAppRegistration();
        delete Current();
        Current() = nullptr;
    }
    auto failing = [] {
        MakeApp();
        Current()->update = [] { throw platform::RuntimeError("boom"); };
    };
    testing::internal::CaptureStdout();
    EXPECT_EQ(platform::RunProgram(nullptr, failing, Options()), 1);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Vantle Runtime Error : boom"), std::string::npos);
}

// The loop's schedule, frame by frame: 1 ms of work a frame at 60 a second, one frame of 50 ms.
TEST(FramePacer, RestsToFixedDeadlinesAndNotAtAllWhileCatchingUpAfterAStall) {
    constexpr int64_t kMs = 1000000;
    platform::FramePacer pacer;
    pacer.Start(0, 60);
    const int64_t period = pacer.Period();
    EXPECT_EQ(period, 16666666);
    int64_t now = 0;
    std::vector<int> restless;  // the frames that went on without resting
    for (int frame = 1; frame <= 12; ++frame) {
        now += frame == 4 ? 50 * kMs : kMs;
        const int64_t until = pacer.RestUntil(now);
        ASSERT_GE(until, now) << "frame " << frame;
        ASSERT_LE(until - now, period) << "frame " << frame;
        if (until == now) restless.push_back(frame);
        if (frame > 6) {
            EXPECT_EQ(until, frame * period)
                << "back on the schedule it had before the stall, frame " << frame;
        }
        now = until;
    }
    // Frame 4 ended at 100 ms, past its own deadline (66.7 ms) and those of frames 5 and 6: they
    // ran back to back, and frame 7 was ahead of its deadline again.
    EXPECT_EQ(restless, (std::vector<int>{4, 5, 6}));

    // A new rate starts a new schedule from now.
    pacer.Start(now, 30);
    EXPECT_EQ(pacer.RestUntil(now + kMs), now + 33333333);
}

// The same loop with frame 4 stalled: how many frames went on without resting, and how long
// after the end of frame 4 frame 5 rested until.
std::pair<int, int64_t> AfterStall(int64_t stallNs) {
    platform::FramePacer pacer;
    pacer.Start(0, 60);
    int restless = 0;
    int64_t now = 0, stallEnd = 0, fifthRest = 0;
    for (int frame = 1; frame <= 1000; ++frame) {
        now += frame == 4 ? stallNs : 1000000;
        const int64_t until = pacer.RestUntil(now);
        restless += until == now ? 1 : 0;
        if (frame == 4) stallEnd = now;
        if (frame == 5) fifthRest = until - stallEnd;
        now = until;
    }
    return {restless, fifthRest};
}

TEST(FramePacer, CatchesUpAFewLateFramesButStartsOverAfterALongStall) {
    constexpr int64_t kMs = 1000000;
    constexpr int64_t kMost = platform::FramePacer::kMaxCatchUp;
    const int64_t period = 16666666;
    // Frame 4 began on its schedule at 3 periods; stalled kMost + 1 periods, it ended kMost
    // periods past its deadline, as late as may still be caught up: every missed deadline runs.
    EXPECT_EQ(AfterStall((kMost + 1) * period).first, 1 + kMost);
    // Any later (a millisecond, ten seconds, ten minutes), the late frame goes on at once and the
    // schedule starts over from its end.
    for (const int64_t stall : {(kMost + 1) * period + kMs, 10000 * kMs, 600000 * kMs})
        EXPECT_EQ(AfterStall(stall), std::make_pair(1, period)) << stall / kMs << " ms";
}
