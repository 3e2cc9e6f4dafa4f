// The input cache: mouse hits, holds and releases reach the current screen in order, a click is
// never lost, a click that moves from one screen to the next, keys stay quiet unless monitored,
// and the touch gestures' decisions.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "framework/main.hpp"
#include "tests/framework/bank_fixtures.hpp"
#include "tests/support/harness.hpp"

using bankfix::DataFolder;
using bankfix::RecordingScreen;
using harness::Harness;
using Events = std::vector<std::string>;

namespace {

class InputCacheTest : public ::testing::Test {
  protected:
    void SetUp() override {
        h.SetDataRoot(data.Root());
        ASSERT_TRUE(h.Start()) << h.LastReport();
        screen = std::make_shared<RecordingScreen>("first");
        screen->PreStart();
    }

    DataFolder data;
    Harness h;
    std::shared_ptr<RecordingScreen> screen;
};

}  // namespace

TEST_F(InputCacheTest, AClickGivesHitThenDownAndLaterReleased) {
    h.MouseMove(300, 200);
    ASSERT_TRUE(h.Step());
    EXPECT_TRUE(screen->Take().empty());

    h.MouseButton(0, true);
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(screen->Take(), (Events{"hit 300,200 0", "down 300,200 0"}));
    const InputCache& cache = *briskGame->inputCache;
    EXPECT_EQ(cache.mouseHitCount, 1);
    EXPECT_EQ(cache.mouseHitTime[0], cache.mouseDownTime[0]);

    h.MouseMove(310, 205);
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(screen->Take(), (Events{"down 310,205 0"}));

    h.MouseButton(0, false);
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(screen->Take(), (Events{"released 310,205 0"}));
    EXPECT_GT(cache.mouseReleasedTime[0], cache.mouseDownTime[0]);
    ASSERT_TRUE(h.Step());
    EXPECT_TRUE(screen->Take().empty());

    // The right button while the left is held: lists hold the buttons in order.
    h.MouseButton(0, true);
    h.MouseButton(1, true);
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(screen->Take(), (Events{"hit 310,205 0", "hit 310,205 1", "down 310,205 0", "down 310,205 1"}));
}

TEST_F(InputCacheTest, APressAndReleaseWithinOneFrameIsStillAClick) {
    h.MouseMove(50, 60);
    h.MouseButton(0, true);
    h.MouseButton(0, false);
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(screen->Take(), (Events{"hit 50,60 0", "down 50,60 0"}));
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(screen->Take(), (Events{"released 50,60 0"}));
}

TEST_F(InputCacheTest, AClickThatStartsOnOneScreenEndsOnTheNext) {
    auto next = std::make_shared<RecordingScreen>("second");
    // The first screen answers the press by starting the next one, as a button would.
    screen->onEvent = [&](const std::string& line) {
        if (line.rfind("hit", 0) == 0) next->PreStart();
    };
    h.MouseMove(100, 100);
    h.MouseButton(0, true);
    ASSERT_TRUE(h.Step());
    // The frame's events went to the screen the frame began with.
    EXPECT_EQ(screen->Take(), (Events{"hit 100,100 0", "down 100,100 0"}));
    EXPECT_EQ(briskGame->currentScreen, next);

    ASSERT_TRUE(h.Step());
    EXPECT_EQ(next->Take(), (Events{"down 100,100 0"}));
    h.MouseButton(0, false);
    ASSERT_TRUE(h.Step());
    // The new screen sees the release of a press it never saw begin; the old one sees nothing.
    EXPECT_EQ(next->Take(), (Events{"released 100,100 0"}));
    EXPECT_TRUE(screen->Take().empty());
}

TEST_F(InputCacheTest, KeysReachTheScreenOnlyWhenMonitored) {
    h.Key(65, true);
    ASSERT_TRUE(h.Step());
    h.Key(65, false);
    ASSERT_TRUE(h.Step());
    EXPECT_TRUE(screen->Take().empty());

    InputCache& cache = *briskGame->inputCache;
    cache.monitorKey[65] = 1;
    cache.monitorKey[27] = 1;
    cache.monitorKeyCount = 2;
    h.Key(65, true);
    h.Key(27, true);
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(screen->Take(),
              (Events{"anykeyhit", "keyhit 27", "keyhit 65", "anykeydown", "keydown 27", "keydown 65"}));
    // The enumerators walk the same lists.
    ASSERT_TRUE(cache.keyHitEnumerator.HasNext());
    EXPECT_EQ(cache.keyHitEnumerator.NextObject()->key, 27);
    EXPECT_EQ(cache.keyHitEnumerator.NextObject()->key, 65);
    EXPECT_FALSE(cache.keyHitEnumerator.HasNext());
    h.Key(27, false);
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(screen->Take(), (Events{"anykeydown", "keydown 65", "anykeyreleased", "keyreleased 27"}));
    EXPECT_EQ(cache.keyReleasedWrapper.wrappedEnum->NextObject()->key, 27);
}

TEST(TouchData, SpeedDecidesBetweenAFlingAndAPlainRelease) {
    Harness h;
    DataFolder data;
    h.SetDataRoot(data.Root());
    ASSERT_TRUE(h.Start());
    auto release = [](int dx, int ms) {
        InputCache cache;
        RecordingScreen screen("probe");
        deltaTimer->currentticks = 1000;
        cache.touchData[0].Reset(0, 0);
        deltaTimer->currentticks = 1000 + ms;
        cache.touchX[0] = static_cast<float>(dx);
        cache.currentTouchReleased[0] = 0;
        cache.touchReleasedCount = 1;
        cache.HandleEvents(&screen);
        return screen.events;
    };
    EXPECT_EQ(release(30, 100), (Events{"fling 30,0 0", "touchreleased 30,0 0"}));  // 300 px/s
    EXPECT_EQ(release(40, 200), (Events{"touchreleased 40,0 0"}));                  // 200 px/s
    EXPECT_EQ(release(20, 10), (Events{"click 20,0 0", "touchreleased 20,0 0"}));   // within 20 px

    // Held still for a second: one long press, and its release is no click.
    {
        InputCache cache;
        RecordingScreen screen("probe");
        cache.touchX[0] = 7;
        cache.currentTouchHit[0] = cache.currentTouchDown[0] = 0;
        cache.touchHitCount = cache.touchDownCount = 1;
        for (int ms = 0; ms <= 1200; ms += 100) {
            deltaTimer->currentticks = ms;
            cache.HandleEvents(&screen);
            cache.touchHitCount = 0;
        }
        cache.touchDownCount = 0;
        cache.currentTouchReleased[0] = 0;
        cache.touchReleasedCount = 1;
        cache.HandleEvents(&screen);
        const Events& e = screen.events;
        EXPECT_EQ(std::count(e.begin(), e.end(), "longpress 7,0 0"), 1);
        // Hit and drag at 0 ms, a drag every 100 ms, the long press right after the drag at 1000 ms.
        ASSERT_GT(e.size(), 12u);
        EXPECT_EQ(e[12], "longpress 7,0 0");
        EXPECT_EQ(e.back(), "touchreleased 7,0 0");
        EXPECT_EQ(std::count(e.begin(), e.end(), "click 7,0 0"), 0);
    }

    // The ring keeps the last ten samples; the first sample alone has no speed.
    TouchData touch;
    deltaTimer->currentticks = 0;
    touch.Reset(5, 5);
    EXPECT_EQ(touch.touchVelocitySpeed, 0);
    for (int i = 1; i <= 12; ++i) {
        deltaTimer->currentticks = i * 10;
        touch.Update3(5 + i * 3, 5 + i * 4);
    }
    EXPECT_EQ(touch.flingSampleCount, 10);
    EXPECT_EQ(touch.flingSampleNext, 3);
    EXPECT_FLOAT_EQ(touch.touchVelocityX, 300);
    EXPECT_FLOAT_EQ(touch.touchVelocityY, 400);
    EXPECT_FLOAT_EQ(touch.touchVelocitySpeed, 500);
}
