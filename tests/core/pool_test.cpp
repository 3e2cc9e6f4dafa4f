// The pool of pooled objects: lowest free first, explicit release, growth without moving anything.
#include "core/pool.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct Dot {
    PoolMark inUse;
    int tag = 0;
};

TEST(Pool, HandsOutTheLowestFreeObjectAcrossGrowthWithoutMovingAny) {
    // 25 a chunk: chunks and the pool's 64-object words do not line up.
    Pool<Dot> pool("Dot", 25);
    EXPECT_EQ(pool.Size(), 0);
    std::vector<Dot*> dots;
    testing::internal::CaptureStdout();
    for (int i = 0; i < 150; ++i) {
        dots.push_back(pool.Acquire());
        dots.back()->tag = i;
    }
    // Five growths, one plain note naming the pool: nothing has gone wrong.
    const std::string note = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::count(note.begin(), note.end(), '\n'), 1) << note;
    EXPECT_NE(note.find("Dot"), std::string::npos) << note;
    EXPECT_EQ(note.find("ERROR"), std::string::npos) << note;
    EXPECT_EQ(pool.Size(), 150);
    EXPECT_EQ(pool.InUse(), 150);
    for (int i = 0; i < 150; ++i) {
        ASSERT_EQ(&pool.At(i), dots[static_cast<size_t>(i)]);
        ASSERT_EQ(dots[static_cast<size_t>(i)]->tag, i);
    }

    // Freed in any order, through the mark or the pool; handed out again lowest first.
    dots[130]->inUse = 0;
    pool.Release(dots[70]);
    dots[3]->inUse = 0;
    dots[3]->inUse = 0;  // a second release changes nothing
    EXPECT_EQ(pool.InUse(), 147);
    EXPECT_EQ(pool.Acquire(), dots[3]);
    EXPECT_EQ(dots[3]->inUse, 1);
    EXPECT_EQ(pool.Acquire(), dots[70]);
    EXPECT_EQ(pool.Acquire(), dots[130]);
    EXPECT_EQ(pool.InUse(), 150);

    // An object its user marks busy by hand is not handed out.
    dots[10]->inUse = 0;
    dots[11]->inUse = 0;
    dots[10]->inUse = 1;
    EXPECT_EQ(pool.InUse(), 149);
    EXPECT_EQ(pool.Acquire(), dots[11]);

    // Full again: it grows after its last object, still without a second line.
    testing::internal::CaptureStdout();
    Dot* next = pool.Acquire();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(next, &pool.At(150));
    EXPECT_EQ(pool.Size(), 175);

    // A fresh pool after Reset starts over and reports running dry again.
    pool.Reset();
    EXPECT_EQ(pool.Size(), 0);
    EXPECT_EQ(pool.InUse(), 0);
    for (int i = 0; i < 25; ++i) pool.Acquire();
    testing::internal::CaptureStdout();
    pool.Acquire();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), note);
}

TEST(Pool, AnObjectMadeOutsideAPoolKeepsAPlainMark) {
    Dot loose;
    loose.inUse = 1;
    EXPECT_EQ(loose.inUse, 1);
    loose.inUse = 0;
    EXPECT_EQ(loose.inUse, 0);
}

}  // namespace
