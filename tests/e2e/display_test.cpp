// The virtual screen in windows of several sizes, and the graphics-mode fall-backs.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "framework/main.hpp"
#include "platform/app.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/probe_screen.hpp"

using harness::Harness;
using harness::StartProbe;

namespace {

bool IsBlack(const harness::Rgba& p) {
    return p.r == 0 && p.g == 0 && p.b == 0;
}
bool IsRed(const harness::Rgba& p) {
    return p.r == 255 && p.g == 0 && p.b == 0;
}

// What the options will do when full screen is switched on: open it and map the virtual screen.
void GoFullScreen() {
    SetGraphicsMode(1000, 600, 1);
    briskGame->SetScreenSize(1000, 600, true);
}

}  // namespace

TEST(Display, WidescreenInA1920x1080WindowHasSideBorders) {
    Harness h;
    h.SetModeFilter([](int w, int h, bool fullscreen) { return !fullscreen || (w == 1920 && h == 1080); });
    ASSERT_TRUE(h.Start());
    StartProbe("red", 255, 0, 0);
    GoFullScreen();
    EXPECT_EQ(DEVICE_WIDTH, 1920);
    EXPECT_EQ(DEVICE_HEIGHT, 1080);
    EXPECT_TRUE(briskGame->virtualResOn);
    EXPECT_TRUE(briskGame->aspectRatioOn);
    // The view is computed by the next render; the update before it has no scale yet.
    ASSERT_TRUE(h.Step());
    h.MouseMove(960, 540);
    ASSERT_TRUE(h.Step());

    EXPECT_FLOAT_EQ(briskGame->multi, 1.8f);
    EXPECT_FLOAT_EQ(briskGame->widthBorder, 60);
    EXPECT_FLOAT_EQ(briskGame->heightBorder, 0);
    EXPECT_FLOAT_EQ(briskGame->vsx, 60);
    EXPECT_FLOAT_EQ(briskGame->vsy, 0);
    EXPECT_FLOAT_EQ(briskGame->vsw, 1800);
    EXPECT_FLOAT_EQ(briskGame->vsh, 1080);
    EXPECT_EQ(briskGame->mouseX, 500);
    EXPECT_EQ(briskGame->mouseY, 300);

    // 60-pixel black borders left and right, the picture between them.
    for (int y : {0, 540, 1079}) {
        EXPECT_TRUE(IsBlack(h.Pixel(0, y)));
        EXPECT_TRUE(IsBlack(h.Pixel(59, y)));
        EXPECT_TRUE(IsRed(h.Pixel(60, y)));
        EXPECT_TRUE(IsRed(h.Pixel(1859, y)));
        EXPECT_TRUE(IsBlack(h.Pixel(1860, y)));
        EXPECT_TRUE(IsBlack(h.Pixel(1919, y)));
    }
    EXPECT_FALSE(h.SaveFrame("display_1920x1080").empty());

    // The corners of the picture map back to the corners of the virtual screen.
    h.MouseMove(60, 0);
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(briskGame->mouseX, 0);
    EXPECT_EQ(briskGame->mouseY, 0);
    h.MouseMove(1859, 1079);
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(briskGame->mouseX, 999);
    EXPECT_EQ(briskGame->mouseY, 599);
}

TEST(Display, WidescreenIn1024x768HasBordersAboveAndBelow) {
    Harness h;
    h.SetModeFilter([](int w, int h, bool fullscreen) { return !fullscreen || (w == 1024 && h == 768); });
    ASSERT_TRUE(h.Start());
    StartProbe("red", 255, 0, 0);
    GoFullScreen();
    ASSERT_TRUE(h.Step());
    EXPECT_FLOAT_EQ(briskGame->multi, 1.024f);
    EXPECT_FLOAT_EQ(briskGame->heightBorder, 76.8f);
    EXPECT_FLOAT_EQ(briskGame->widthBorder, 0);
    EXPECT_FLOAT_EQ(briskGame->vsx, 0);
    EXPECT_FLOAT_EQ(briskGame->vsy, 76.8f);
    EXPECT_FLOAT_EQ(briskGame->vsw, 1024);
    EXPECT_FLOAT_EQ(briskGame->vsh, 614.4f);

    EXPECT_TRUE(IsBlack(h.Pixel(512, 0)));
    EXPECT_TRUE(IsBlack(h.Pixel(512, 75)));
    EXPECT_TRUE(IsRed(h.Pixel(0, 78)));
    EXPECT_TRUE(IsRed(h.Pixel(1023, 685)));
    EXPECT_TRUE(IsBlack(h.Pixel(512, 695)));
    EXPECT_TRUE(IsBlack(h.Pixel(512, 767)));
    EXPECT_FALSE(h.SaveFrame("display_1024x768").empty());

    h.MouseMove(512, 384);
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(briskGame->mouseX, 500);
    EXPECT_EQ(briskGame->mouseY, 300);
}

TEST(Display, AWindowOfTheVirtualSizeIsDrawnOneToOne) {
    Harness h;
    ASSERT_TRUE(h.Start());
    StartProbe("red", 255, 0, 0);
    h.MouseMove(123, 456);
    ASSERT_TRUE(h.Step());
    EXPECT_FLOAT_EQ(SCREENX_RATIO, 1);
    EXPECT_FLOAT_EQ(SCREENY_RATIO, 1);
    EXPECT_TRUE(briskGame->virtualResOn);
    EXPECT_FALSE(briskGame->aspectRatioOn);
    EXPECT_EQ(briskGame->mouseX, 123);
    EXPECT_EQ(briskGame->mouseY, 456);
    EXPECT_TRUE(IsRed(h.Pixel(0, 0)));
    EXPECT_TRUE(IsRed(h.Pixel(999, 599)));
    // The mouse tracker keeps the position of the previous frame.
    h.MouseMove(10, 20);
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(briskGame->briskMouse->lastX, 10);
    EXPECT_EQ(briskGame->briskMouse->lastY, 20);
}

TEST(Display, FullScreenFallsBackThroughTheListedSizes) {
    Harness h;
    std::vector<std::pair<int, int>> tried;
    h.SetModeFilter([&](int w, int h, bool fullscreen) {
        if (!fullscreen) return true;
        tried.emplace_back(w, h);
        return w == 1280 && h == 720;
    });
    ASSERT_TRUE(h.Start());
    SetGraphicsMode(640, 480, 1);
    const std::vector<std::pair<int, int>> expected = {
        {platform::DesktopWidth(), platform::DesktopHeight()}, {1920, 1080}, {1280, 720}};
    EXPECT_EQ(tried, expected);
    EXPECT_EQ(DEVICE_WIDTH, 1280);
    EXPECT_EQ(DEVICE_HEIGHT, 720);
    EXPECT_EQ(platform::DeviceWidth(), 1280);
    EXPECT_TRUE(h.Step());
}

TEST(Display, NoFullScreenModeAtAllEndsTheProgramWithStatus1) {
    Harness h;
    std::vector<std::pair<int, int>> tried;
    h.SetModeFilter([&](int w, int h, bool fullscreen) {
        if (!fullscreen) return true;
        tried.emplace_back(w, h);
        return false;
    });
    ASSERT_TRUE(h.Start());
    try {
        SetGraphicsMode(1000, 600, 1);
        FAIL() << "no mode opened, yet the program went on";
    } catch (const platform::AppExit& exit) {
        EXPECT_EQ(exit.status, 1);
    }
    EXPECT_EQ(tried.size(), 4u);
    EXPECT_EQ(tried.back(), std::make_pair(1024, 768));
}

TEST(Display, AWindowThatCannotOpenEndsStartUpWithoutFallBacks) {
    Harness h;
    std::vector<std::pair<int, int>> tried;
    h.SetModeFilter([&](int w, int h, bool fullscreen) {
        tried.emplace_back(fullscreen ? -w : w, h);
        return false;
    });
    testing::internal::CaptureStderr();
    bool running = h.Start();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(running);
    EXPECT_EQ(h.ExitStatus(), 1);
    EXPECT_NE(err.find("Error: Failed to set graphics mode!"), std::string::npos) << err;
    const std::vector<std::pair<int, int>> expected = {{1000, 600}};
    EXPECT_EQ(tried, expected);
}
