// Meters and the hero portrait on the running game: attribute meters counting through a level
// with their sounds, globes and bars without a maximum, and the portrait in three colour sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

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

// The number on a meter reads at 4.5:1 glyph by glyph against what lies under it, on the light
// fills of the sheets, on a dark one and on the track: its letter (the brightest quarter of the
// pixels a glyph inks), each pixel against the same pixel drawn without the number.
TEST(Meters, TheNumberOnAMeterReadsOverItsFillAndOverItsTrack) {
    harness::Harness h;
    auto screen = guitest::StartScreen(h);
    ASSERT_TRUE(screen);
    guitest::LoadWidgetArt();
    // value (the fill ends at its share of the bar), colour, small
    const std::array<std::array<int, 3>, 7> cases = {{{48, 0xc0ffc0, 0},
                                                      {99, 0xc0c0ff, 0},
                                                      {45, 0xffc0c0, 0},
                                                      {50, 0xc0ffc0, 1},
                                                      {60, 0xff80ff, 1},
                                                      {0, 0xc0c0ff, 1},
                                                      {55, 0x604080, 0}}};
    std::vector<GUIMeterAttribute*> meters;
    During(h, *screen, [&] {
        for (size_t i = 0; i < cases.size(); ++i) {
            const std::string key = "Attribute.Meter" + std::to_string(i);
            Profile::SetFlagInt(key, cases[i][0]);
            meters.push_back(GUIMeterAttribute::Create(300, 60 + 70 * static_cast<float>(i), cases[i][1], key,
                                                       0, cases[i][2]));
            GUIList::Add(meters.back(), 10);
        }
    });
    h.Step(40);
    h.SaveFrame("meters_numbers");
    const std::vector<uint8_t> shown = h.ReadPixels(0, 0, 1000, 600);
    for (GUIMeterAttribute* m : meters) m->text->font = nullptr;
    h.Step();
    const std::vector<uint8_t> under = h.ReadPixels(0, 0, 1000, 600);
    const auto luminance = [](const uint8_t* p) {
        double l = 0;
        for (int c = 0; c < 3; ++c) {
            const double v = p[c] / 255.0;
            l += (c == 0   ? 0.2126
                  : c == 1 ? 0.7152
                           : 0.0722) *
                 (v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
        }
        return l;
    };
    const GlyphFont& font = *Fonts::Get("oxs");
    int judged = 0;
    for (const GUIMeterAttribute* m : meters) {
        int pen = TruncToInt(m->text->x), previous = 0;
        for (const unsigned char c : m->text->text) {
            const Char& g = *font.GetChar(c);
            if (const KernPair* pair = font.FindKernPair(previous, c)) pen += pair->amount;
            std::vector<std::pair<double, double>> ink;  // brightness, contrast with the ground
            for (int y = TruncToInt(m->text->y) + g.yOffset;
                 y < TruncToInt(m->text->y) + g.yOffset + g.height; ++y) {
                for (int x = pen + g.xOffset; x < pen + g.xOffset + g.width; ++x) {
                    const uint8_t *a = &shown[(y * 1000 + x) * 4], *b = &under[(y * 1000 + x) * 4];
                    if (std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]) <= 60) continue;
                    const double la = luminance(a), lb = luminance(b);
                    ink.emplace_back(la, (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05));
                }
            }
            pen += g.xAdvance;
            previous = c;
            ASSERT_GE(ink.size(), 8u) << m->text->text;
            std::sort(ink.rbegin(), ink.rend());
            std::vector<double> letter;
            for (size_t i = 0; i < ink.size() / 4; ++i) letter.push_back(ink[i].second);
            std::nth_element(letter.begin(), letter.begin() + letter.size() / 2, letter.end());
            EXPECT_GE(letter[letter.size() / 2], 4.5) << "\"" << c << "\" of " << m->text->text;
            ++judged;
        }
    }
    EXPECT_EQ(judged, 6 * 6 + 5);
}
