#include "gui/time.hpp"

#include <gtest/gtest.h>

TEST(ClockText, MorningNoonAndNight) {
    EXPECT_EQ(ClockText(0), "8:00AM");
    EXPECT_EQ(ClockText(125), "10:05AM");
    EXPECT_EQ(ClockText(239), "11:59AM");
    // The hour after noon is 12, never 0.
    EXPECT_EQ(ClockText(240), "12:00PM");
    EXPECT_EQ(ClockText(270), "12:30PM");
    EXPECT_EQ(ClockText(299), "12:59PM");
    EXPECT_EQ(ClockText(300), "1:00PM");
    EXPECT_EQ(ClockText(959), "11:59PM");
}
