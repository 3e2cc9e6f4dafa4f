// Screens: the registry, the fades between screens and the built-in loading screen.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/exception.hpp"
#include "framework/main.hpp"
#include "platform/app.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/probe_screen.hpp"

using harness::Harness;
using harness::ProbeScreen;
using harness::StartProbe;

TEST(Screens, FindNamesTheMissingScreenUpperCased) {
    Screens screens;
    try {
        screens.Find("Options");
        FAIL() << "a missing screen was found";
    } catch (const AssertException& e) {
        EXPECT_EQ(e.Message(), "Screen 'OPTIONS' not found in the Screens map");
    }
}

TEST(Screens, ANameThatDiffersOnlyInCaseReplacesTheEarlierScreen) {
    Screens screens;
    auto first = std::make_shared<ProbeScreen>("Title", 0, 0, 0);
    auto second = std::make_shared<ProbeScreen>("TITLE", 0, 0, 0);
    auto other = std::make_shared<ProbeScreen>("map", 0, 0, 0);
    screens.Set2(first->name, first);
    screens.Set2(other->name, other);
    screens.Set2(second->name, second);
    EXPECT_EQ(screens.map.size(), 2u);
    EXPECT_EQ(screens.Find("title"), second);
    EXPECT_EQ(screens.Find("Map"), other);
    EXPECT_EQ(screens.map.begin()->first, "MAP");
}

TEST(Screens, ASixHundredMillisecondFadeTakes36FramesAndDarkensTheScreen) {
    Harness h;
    ASSERT_TRUE(h.Start());
    auto red = StartProbe("red", 255, 0, 0);
    auto green = std::make_shared<ProbeScreen>("green", 0, 255, 0);
    red->nextUpdate = [&] { red->FadeToScreen(green, 600, false, false, true); };
    ASSERT_TRUE(h.Step());
    const ScreenFade& fade = *briskGame->screenFade;
    ASSERT_TRUE(fade.active);
    EXPECT_EQ(fade.fadeTime, 36);
    EXPECT_EQ(fade.ratio, 1.0f);

    std::vector<int> reds;
    int updatesBefore = red->updates;
    for (int frame = 1; frame <= 36; ++frame) {
        ASSERT_TRUE(h.Step());
        reds.push_back(h.Pixel(500, 300).r);
        if (frame == 18) {
            EXPECT_FALSE(h.SaveFrame("fade_halfway").empty());
        }
        ASSERT_EQ(red->postFadeOuts, 0) << "the fade ended in update " << frame;
    }
    // The old screen keeps updating while it fades (updates allowed), and the overlay darkens it
    // frame by frame until it is black.
    EXPECT_EQ(red->updates - updatesBefore, 36);
    for (size_t i = 1; i < reds.size(); ++i) EXPECT_LE(reds[i], reds[i - 1]);
    EXPECT_NEAR(reds.front(), 255 * 35 / 36, 4);
    EXPECT_NEAR(reds[17], 128, 6);
    EXPECT_LE(reds.back(), 2);

    // The 37th update ends the fade: the old screen is killed and the new one started.
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(red->postFadeOuts, 1);
    EXPECT_EQ(red->kills, 1);
    EXPECT_EQ(red->updatesAtPostFadeOut - updatesBefore, 36);
    EXPECT_EQ(briskGame->currentScreen, green);
    EXPECT_EQ(green->starts, 1);
    EXPECT_EQ(briskGame->screens->Find("GREEN"), green);

    // The new screen fades in over the same time.
    EXPECT_TRUE(fade.active);
    EXPECT_FALSE(fade.fadeOut);
    EXPECT_FALSE(green->autoFadeIn);
    std::vector<int> greens;
    for (int frame = 1; frame <= 37 && green->postFadeIns == 0; ++frame) {
        ASSERT_TRUE(h.Step());
        greens.push_back(h.Pixel(500, 300).g);
    }
    EXPECT_EQ(green->postFadeIns, 1);
    EXPECT_EQ(greens.size(), 37u);
    for (size_t i = 1; i < greens.size(); ++i) EXPECT_GE(greens[i], greens[i - 1]);
    EXPECT_EQ(greens.back(), 255);
    EXPECT_FALSE(fade.active);
}

TEST(Screens, AFadeWithoutScreenUpdatesHoldsTheOldScreenAndASecondFadeIsDropped) {
    Harness h;
    ASSERT_TRUE(h.Start());
    auto red = StartProbe("red", 255, 0, 0);
    auto green = std::make_shared<ProbeScreen>("green", 0, 255, 0);
    auto blue = std::make_shared<ProbeScreen>("blue", 0, 0, 255);
    red->nextUpdate = [&] {
        red->FadeToScreen(green, 100, false, false, false);
        red->FadeToScreen(blue, 600, false, false, true);
    };
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(briskGame->nextScreen, green);
    EXPECT_FALSE(blue->autoFadeIn);
    ASSERT_TRUE(h.Step(6));
    EXPECT_EQ(red->updates, 1);
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(briskGame->currentScreen, green);
    // The fade-in keeps the permission of the fade before it.
    EXPECT_FALSE(briskGame->screenFade->allowScreenUpdate);
    EXPECT_EQ(green->updates, 0);
}

TEST(Screens, AZeroLengthFadeEndsInItsFirstUpdate) {
    Harness h;
    ASSERT_TRUE(h.Start());
    auto red = StartProbe("red", 255, 0, 0);
    auto green = std::make_shared<ProbeScreen>("green", 0, 255, 0);
    red->nextUpdate = [&] { red->FadeToScreen(green, 0, true, true, true); };
    ASSERT_TRUE(h.Step());
    ScreenFade& fade = *briskGame->screenFade;
    EXPECT_EQ(fade.fadeTime, 0);
    // Fully past, never a division by zero.
    fade.CalcRatio();
    EXPECT_EQ(fade.ratio, 0.0f);
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(red->postFadeOuts, 1);
    EXPECT_EQ(briskGame->currentScreen, green);
    // Its fade-in is as short: the picture is fully visible at once and the music back up.
    EXPECT_TRUE(fade.active);
    ASSERT_TRUE(h.Step());
    EXPECT_FALSE(fade.active);
    EXPECT_EQ(green->postFadeIns, 1);
    EXPECT_EQ(fade.ratio, 1.0f);
    EXPECT_EQ(briskGame->engineMusicVolume, 1.0f);
    EXPECT_EQ(h.Pixel(500, 300).g, 255);
}

TEST(Screens, AFadeWithMusicStartsTheFadeInSilentAndEndsAtTheMusicVolume) {
    Harness h;
    ASSERT_TRUE(h.Start());
    auto red = StartProbe("red", 255, 0, 0);
    briskGame->MusicSetVolume(80);
    ScreenFade& fade = *briskGame->screenFade;
    red->nextUpdate = [&] { fade.Start2(100, false, false, true, true); };
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(briskGame->engineMusicVolume, 0.0f);
    ASSERT_TRUE(h.Step(3));
    EXPECT_GT(briskGame->engineMusicVolume, 0.3f);
    EXPECT_LT(briskGame->engineMusicVolume, 0.5f);
    ASSERT_TRUE(h.Step(4));
    EXPECT_FALSE(fade.active);
    EXPECT_FLOAT_EQ(briskGame->engineMusicVolume, 0.8f);
    EXPECT_EQ(red->postFadeIns, 1);
}

TEST(Screens, StartingAScreenRegistersItAndPlaysItsMusic) {
    Harness h;
    ASSERT_TRUE(h.Start());
    auto screen = std::make_shared<ProbeScreen>("Map", 0, 0, 255);
    screen->musicPath = "missing.ogg";
    screen->musicFlag = 1;
    testing::internal::CaptureStdout();
    screen->PreStart();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(briskGame->currentScreen, screen);
    EXPECT_EQ(briskGame->screens->Find("map"), screen);
    EXPECT_EQ(briskGame->musicFile, "missing.ogg");
    EXPECT_EQ(screen->starts, 1);
}

TEST(Screens, TheLoadingScreenNeedsADestinationAndStepsItsBar) {
    Harness h;
    ASSERT_TRUE(h.Start());
    LoadingScreen& loading = *briskGame->loadingScreen;
    try {
        loading.PreStart();
        FAIL() << "a loading screen without destination started";
    } catch (const platform::RuntimeError& e) {
        EXPECT_STREQ(e.what(), "Loading Screen Destination is null!");
    }

    auto green = std::make_shared<ProbeScreen>("green", 0, 255, 0);
    loading.destination = green;
    loading.loadingBar->steps = 2;
    loading.loadingBar->stepSize = 10;
    loading.PreStart();
    EXPECT_EQ(briskGame->currentScreen, briskGame->loadingScreen);
    EXPECT_FALSE(loading.finished);
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(loading.loadingBar->currentStep, 0);

    h.Key(32, true);
    h.Key(32, false);
    ASSERT_TRUE(h.Step());
    EXPECT_EQ(loading.loadingBar->currentStep, 1);
    EXPECT_EQ(loading.loadingBar->position, 10);
    EXPECT_FALSE(loading.loadingBar->finished);
    h.Key(32, true);
    h.Key(32, false);
    ASSERT_TRUE(h.Step());
    EXPECT_TRUE(loading.loadingBar->finished);
    EXPECT_TRUE(loading.finished);
    EXPECT_EQ(briskGame->nextScreen, green);
    ASSERT_TRUE(h.Step(40));
    EXPECT_EQ(briskGame->currentScreen, green);
}

TEST(Screens, LayersBehindStopAtTheFirstFrontLayerAndLayersInFrontAreAllDrawn) {
    Harness h;
    ASSERT_TRUE(h.Start());
    std::vector<std::string> drawn;
    BriskDataObject::imageFinder = [&](const std::string& name) {
        drawn.push_back(name);
        return platform::ImagePtr();
    };
    auto screen = StartProbe("layered", 0, 0, 0);
    screen->layers = std::make_shared<BriskDataLayers>();
    for (auto [index, name] :
         std::vector<std::pair<int, std::string>>{{-2, "A"}, {-1, "B"}, {0, "C"}, {-3, "D"}, {5, "E"}}) {
        auto layer = std::make_shared<BriskDataLayer>();
        layer->index = index;
        auto object = std::make_shared<BriskDataObject>();
        object->imageName = name;
        layer->objects.Push(object);
        screen->layers->Push(layer);
    }
    ASSERT_TRUE(h.Step());
    BriskDataObject::imageFinder = nullptr;
    EXPECT_EQ(drawn, (std::vector<std::string>{"A", "B", "C", "E"}));
}

TEST(Screens, LayersFindTheirPicturesInTheImageBank) {
    Harness h;
    ASSERT_TRUE(h.Start());
    auto screen = StartProbe("layered", 0, 0, 0);
    screen->layers = std::make_shared<BriskDataLayers>();
    auto layer = std::make_shared<BriskDataLayer>();
    auto object = std::make_shared<BriskDataObject>();
    object->imageName = "logo1";  // the logo that start-up put in the bank
    object->scaleX = object->scaleY = 1.0f;
    layer->objects.Push(object);
    screen->layers->Push(layer);
    ASSERT_TRUE(h.Step());
    ASSERT_NE(object->image, nullptr);
    int lit = 0;
    for (int x = 20; x < 380; x += 20) {
        harness::Rgba p = h.Pixel(x, 80);
        if (p.r + p.g + p.b > 60) ++lit;
    }
    EXPECT_GT(lit, 5);
}
