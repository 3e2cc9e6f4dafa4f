// Input through SDL's own event queue: per-frame snapshots, fast clicks, keys and typing.
#include <array>
#include "engine_fixture.hpp"
#include "platform/input.hpp"

using namespace testapp;
namespace drv = platform::driver;

namespace {

struct Seen {
    int x, y, hit, down, hitAgain, touchDown;
};

}  // namespace

TEST_F(EngineTest, FastClickIsHeldOneFrameAndHitCountsAreStableWithinAFrame) {
    HookApp& app = StartWindow(100, 80);
    std::vector<Seen> seen;
    app.update = [&] {
        const int hit = platform::MouseHit(0);
        seen.push_back({platform::MouseX(), platform::MouseY(), hit, platform::MouseDown(0), platform::MouseHit(0),
                        platform::TouchDown(0)});
    };
    ASSERT_TRUE(drv::Step(1));
    // Move, press and release all arrive in one drain.
    drv::InjectMouseMove(40, 30);
    drv::InjectMouseButton(0, true);
    drv::InjectMouseButton(0, false);
    ASSERT_TRUE(drv::Step(3));
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].x, 40);
    EXPECT_EQ(seen[0].y, 30);
    EXPECT_EQ(seen[0].hit, 1);
    EXPECT_EQ(seen[0].hitAgain, 1) << "reading the hit does not clear it";
    EXPECT_EQ(seen[0].down, 1) << "a press released in the same drain is still seen down";
    EXPECT_EQ(seen[0].touchDown, 1) << "touch 0 mirrors the left button";
    EXPECT_EQ(seen[1].hit, 0);
    EXPECT_EQ(seen[1].down, 0) << "the release lands one frame later";
    EXPECT_EQ(seen[2].down, 0);

    // A held button stays down until its release arrives.
    drv::InjectMouseButton(1, true);
    ASSERT_TRUE(drv::Step(2));
    EXPECT_EQ(platform::MouseDown(1), 1);
    EXPECT_EQ(platform::MouseHit(1), 0);
    drv::InjectMouseButton(1, false);
    ASSERT_TRUE(drv::Step(1));
    EXPECT_EQ(platform::MouseDown(1), 0);
}

TEST_F(EngineTest, KeysMapToTheGameCodes) {
    HookApp& app = StartWindow(32, 32);
    std::vector<std::array<int, 4>> seen;  // escape hit, escape down, A hit, F1 hit
    app.update = [&] {
        seen.push_back({platform::KeyHit(27), platform::KeyDown(27), platform::KeyHit(65), platform::KeyHit(112)});
    };
    ASSERT_TRUE(drv::Step(1));
    drv::InjectKey(27, true);
    drv::InjectKey(65, true);
    drv::InjectKey(65, false);
    drv::InjectKey(112, true);
    ASSERT_TRUE(drv::Step(1));
    drv::InjectKey(27, false);
    ASSERT_TRUE(drv::Step(1));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], (std::array<int, 4>{1, 1, 1, 1}));
    EXPECT_EQ(seen[1], (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(platform::KeyDown(112), 1);
    EXPECT_EQ(platform::KeyHit(416), 0) << "the back key is never produced on the desktop";
}

TEST_F(EngineTest, TypedCharactersQueueAndGoStaleWhenUnread) {
    HookApp& app = StartWindow(32, 32);
    bool reading = false;
    std::vector<int> typed;
    app.update = [&] {
        if (!reading) return;
        for (int c = platform::GetChar(); c != 0; c = platform::GetChar()) typed.push_back(c);
    };
    ASSERT_TRUE(drv::Step(1));
    drv::InjectText("old");
    ASSERT_TRUE(drv::Step(2));  // nobody reads: the typing goes stale
    reading = true;
    drv::InjectText("H\xC3\xA9");  // H, e-acute
    drv::InjectKey(8, true);
    drv::InjectKey(13, true);
    ASSERT_TRUE(drv::Step(1));
    EXPECT_EQ(typed, (std::vector<int>{'H', 0xE9, 8, 13}));
    EXPECT_EQ(platform::GetChar(), 0);
}

TEST_F(EngineTest, TypingQueueIsBounded) {
    HookApp& app = StartWindow(32, 32);
    int count = 0;
    app.update = [&] {
        while (platform::GetChar() != 0) ++count;
    };
    ASSERT_TRUE(drv::Step(1));
    drv::InjectText(std::string(500, 'x'));
    ASSERT_TRUE(drv::Step(1));
    EXPECT_GT(count, 0);
    EXPECT_LE(count, 64);
}
