#include "core/tween.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace {

class TweenTest : public ::testing::Test {
protected:
    void SetUp() override {
        Tween::InitGlobals();
        Tween::CacheTweens();
    }
};

TEST_F(TweenTest, LinearRunsToItsEndAndIsDestroyedByTheUpdatePassingIt) {
    Tween* t = Tween::CreateLinear(500, 0, 100, 0);
    ASSERT_NE(t, nullptr);
    t->nextType = Tween::kNextDestroy;
    for (int i = 0; i < 5; ++i) Tween::UpdateTween(t->thisIndex, 50);
    EXPECT_FLOAT_EQ(t->value, 50);
    Tween::UpdateTween(t->thisIndex, 250);  // exactly at the end: still running
    EXPECT_EQ(t->active, 1);
    EXPECT_FLOAT_EQ(t->value, 100);
    Tween::UpdateTween(t->thisIndex, 1);
    EXPECT_EQ(t->active, 0);
    EXPECT_FLOAT_EQ(t->value, 100);  // left as the previous update made it
}

TEST_F(TweenTest, DecreasingTweenFollowsItsRatio) {
    Tween* t = Tween::CreateLinear(400, 100, 0, 100);
    Tween::UpdateTween(t->thisIndex, 100);
    EXPECT_FLOAT_EQ(t->value, 75);
    Tween::UpdateTween(t->thisIndex, 200);
    EXPECT_FLOAT_EQ(t->value, 25);
}

TEST_F(TweenTest, RestartingTweenKeepsItsPhase) {
    Tween* t = Tween::CreateLinear(100, 0, 10, 0);
    Tween::UpdateTween(t->thisIndex, 250);
    EXPECT_EQ(t->currentTicks, 50);
    EXPECT_FLOAT_EQ(t->value, 5);
    Tween* u = Tween::CreateLinear(100, 0, 10, 0);
    Tween::UpdateTween(u->thisIndex, 200);  // lands exactly on the end of the second lap
    EXPECT_EQ(u->currentTicks, 100);
    Tween::UpdateTween(u->thisIndex, 100000 + 30);  // a long stall costs no more than its phase
    EXPECT_EQ(u->currentTicks, 30);
    EXPECT_EQ(u->active, 1);
}

TEST_F(TweenTest, ExhaustedPoolGivesNullAndReusesTheLastDestroyedSlot) {
    for (int i = 0; i < Tween::kPoolSize; ++i) ASSERT_NE(Tween::CreateLinear(100, 0, 1, 0), nullptr);
    EXPECT_EQ(Tween::FindEmpty(), -1);
    EXPECT_EQ(Tween::CreateLinear(100, 0, 1, 0), nullptr);
    Tween::DestroyTween(17);
    Tween* again = Tween::CreateLinear(100, 0, 1, 0);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->thisIndex, 17);
}

TEST_F(TweenTest, ZeroLengthTweensNeverDivideOrSpin) {
    Tween* once = Tween::CreateLinear(0, 0, 8, 3);
    once->nextType = Tween::kNextDestroy;
    Tween::UpdateTween(once->thisIndex, 0);  // a 0 ms frame: still at its initial value
    EXPECT_EQ(once->active, 1);
    EXPECT_FLOAT_EQ(once->value, 3);
    Tween::UpdateTween(once->thisIndex, 16);
    EXPECT_EQ(once->active, 0);

    Tween* looping = Tween::CreateLinear(0, 0, 8, 3);  // restarting: would loop forever
    Tween::UpdateAll(16);
    EXPECT_EQ(looping->active, 0);
    EXPECT_FLOAT_EQ(looping->value, 8);
}

TEST_F(TweenTest, BadIndicesAndHugeFrameTimesAreHarmless) {
    EXPECT_FLOAT_EQ(Tween::CalcValue(-1), 0.0f);
    EXPECT_FLOAT_EQ(Tween::CalcValue(Tween::kPoolSize), 0.0f);
    Tween::UpdateTween(Tween::kPoolSize + 3, 10);
    Tween::DestroyTween(-5);
    EXPECT_EQ(Tween::FindEmpty(), 0);  // the search start was not moved by the bad index

    Tween* t = Tween::CreateLinear(100, 0, 10, 0);
    t->nextType = Tween::kNextDestroy;
    Tween::UpdateTween(t->thisIndex, 50);
    Tween::UpdateTween(t->thisIndex, std::numeric_limits<int>::max());  // a stall of weeks
    EXPECT_EQ(t->active, 0);
    EXPECT_FLOAT_EQ(t->value, 5);
}

TEST_F(TweenTest, UpdateAllAdvancesOnlyRunningTweens) {
    Tween* a = Tween::CreateLinear(100, 0, 100, 0);
    Tween* b = Tween::CreateLinear(100, 0, 100, 0);
    Tween::DestroyTween(b->thisIndex);
    Tween::UpdateAll(40);
    EXPECT_FLOAT_EQ(a->value, 40);
    EXPECT_EQ(b->currentTicks, 0);
}

}  // namespace
