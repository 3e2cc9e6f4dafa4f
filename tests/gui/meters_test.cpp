// Meters and the hero portrait on the running game: attribute meters counting through a level
// with their sounds, globes and bars without a maximum, and the portrait in three colour sets.
#include <gtest/gtest.h>

#include <array>

#include "gui/hero.hpp"
#include "gui/meterattribute.hpp"
#include "gui/meterglobe.hpp"
#include "gui/meterhealth.hpp"
#include "gui/text.hpp"
#include "tests/gui/gui_fixture.hpp"
#include "tests/gui/widget_art.hpp"

using guitest::During;

TEST(Meters, AttributeMetersCountThroughALevelWithOneTickAFrameAndTheirLevelSounds) {
    harness::Harness h;
    auto screen = guitest::StartScreen(h);
    ASSERT_TRUE(screen);
    guitest::LoadWidgetArt();
    Profile::SetFlagInt("Attribute.Strength", 95);
    Profile::SetFlagInt("Attribute.Ethics", 102);
    Profile::SetFlagInt("Attribute.Essence", -20);
    GUIMeterAttribute *up = nullptr, *along = nullptr, *down = nullptr, *below = nullptr;
    During(h, *screen, [&] {
        up = GUIMeterAttribute::Create(200, 100, 0xc0ffc0, "Attribute.Strength", 10, 0);
        along = GUIMeterAttribute::Create(200, 150, 0xc0c0ff, "Skill.Learning", 50, 0);
        down = GUIMeterAttribute::Create(200, 200, 0xffc0c0, "Attribute.Ethics", -5, 1);
        below = GUIMeterAttribute::Create(200, 250, 0xffc0c0, "Attribute.Essence", 0, 0);
        for (GUIMeterAttribute* m : {up, along, down, below}) GUIList::Add(m, 10);
    });
    guitest::SoundCounter sounds;
    h.Step(2);
    sounds.Poll();
    EXPECT_EQ(up->attribute->text, "Strength:");
    EXPECT_EQ(up->level->text, "Lvl 0");
    EXPECT_EQ(up->text->text, "95/100");
    EXPECT_EQ(down->level->text, "Lvl 1");
    // A value below the first level reads as an empty level 0.
    EXPECT_EQ(below->level->text, "Lvl 0");
    EXPECT_EQ(below->text->text, "0/100");
    // It ticks while it waits to count; no level has changed yet.
    EXPECT_EQ(sounds.plays.count(26) + sounds.plays.count(16), 0u);
    for (int i = 0; i < 90; ++i) {
        h.Step();
        sounds.Poll();
        if (i == 45) h.SaveFrame("meters_counting");
    }
    EXPECT_EQ(up->level->text, "Lvl 1");
    EXPECT_EQ(up->text->text, "5/100");
    EXPECT_EQ(along->text->text, "50/100");
    EXPECT_EQ(down->level->text, "Lvl 0");
    EXPECT_EQ(sounds.plays[26], 1);  // "Rotate": the one level gained
    EXPECT_EQ(sounds.plays[16], 1);  // "GameLose": the one level lost
    // Two meters counted up for a second and a quarter: ticks every 50 to 75 ms of one shared
    // clock, not one clock per meter.
    EXPECT_GE(sounds.plays[32], 12);
    EXPECT_LE(sounds.plays[32], 21);
}

TEST(Meters, GaugesWithoutAMaximumShowFullAndThePortraitWearsThePlayersColoursAndBody) {
    harness::Harness h;
    auto screen = guitest::StartScreen(h);
    ASSERT_TRUE(screen);
    guitest::LoadWidgetArt();
    FloatObject health(40), none(7), empty(0);
    GUIMeterGlobe* over = nullptr;
    GUIMeterHealth *bar = nullptr, *zero = nullptr;
    During(h, *screen, [&] {
        GUIList::Add(GUIMeterGlobe::Create(100, 100, 0, "", 1000), 10);
        GUIList::Add(GUIMeterGlobe::Create(250, 100, 0, "Job.Target", 0), 10);
        over = GUIMeterGlobe::Create(400, 100, 1, "", 1000);
        over->SetText("%");
        over->SetValue(2000);
        GUIList::Add(over, 10);
        bar = GUIMeterHealth::Create(100, 300, &health, 40, "HealthBar");
        GUIList::Add(bar, 10);
        GUIList::Add(GUIMeterHealth::Create(100, 360, &none, 0, "HealthBar"), 10);
        zero = GUIMeterHealth::Create(100, 420, &empty, 40, "HealthBar");
        zero->prefix = "HP ";
        GUIList::Add(zero, 10);
    });
    h.Step(40);
    h.SaveFrame("meters_globes_bars");
    EXPECT_EQ(h.ReadPixels(100, 100, 86, 89), h.ReadPixels(250, 100, 86, 89));
    EXPECT_FLOAT_EQ(over->var.value, 1000);
    EXPECT_EQ(over->text->text, "1000%");
    // Left of the number: a full bar, a bar without a maximum, and an empty one.
    EXPECT_EQ(h.ReadPixels(100, 300, 48, 32), h.ReadPixels(100, 360, 48, 32));
    EXPECT_NE(h.ReadPixels(100, 300, 48, 32), h.ReadPixels(100, 420, 48, 32));
    EXPECT_EQ(zero->text->text, "0");
    health.value = 20;
    empty.value = 3;
    h.Step();
    EXPECT_EQ(bar->text->text, "20");
    EXPECT_EQ(zero->text->text, "HP 3");

    Profile::SetFlagString("CharacterPortrait", "HeroMale1");
    GUIHero* hero = nullptr;
    During(h, *screen, [&] {
        hero = GUIHero::Create(700, 300);
        GUIList::Add(hero, 10);
    });
    // Reddish, greenish and bluish sets: each tints the portrait toward its own channel.
    std::array<std::array<long, 3>, 3> sums{};
    for (int s = 0; s < 3; ++s) {
        for (int layer = 1; layer <= 3; ++layer) {
            const int colour = (0x90 + 0x20 * layer) << (16 - 8 * s);
            Profile::SetFlagInt("CharacterColor" + std::to_string(layer), colour);
        }
        h.Step();
        h.SaveFrame("hero_colours_" + std::to_string(s));
        const auto px = h.ReadPixels(700, 300, 256, 256);
        for (size_t i = 0; i < px.size(); ++i) {
            if (i % 4 < 3) sums[s][i % 4] += px[i];
        }
    }
    for (int s = 0; s < 3; ++s) {
        EXPECT_GT(sums[s][s], sums[(s + 1) % 3][s]);
        EXPECT_GT(sums[s][s], sums[(s + 2) % 3][s]);
    }
    // Another body shows from the next frame; a body the bank lacks draws nothing.
    const auto male = h.ReadPixels(700, 300, 256, 256);
    Profile::SetFlagString("CharacterPortrait", "HeroFemale2");
    h.Step();
    EXPECT_NE(h.ReadPixels(700, 300, 256, 256), male);
    Profile::SetFlagString("CharacterPortrait", "NoSuchBody");
    h.Step();
    EXPECT_EQ(hero->image, nullptr);
    EXPECT_EQ(h.Pixel(828, 428).r, 20);
}
