// Meters and the hero portrait on the running game: attribute meters counting through a level
// with their sounds, globes and bars without a maximum, and the portrait in three colour sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "gui/hero.hpp"
#include "gui/meterattribute.hpp"
#include "gui/meterglobe.hpp"
#include "gui/meterhealth.hpp"
#include "gui/text.hpp"
#include "platform/testing.hpp"
#include "tests/gui/gui_fixture.hpp"
#include "tests/gui/widget_art.hpp"

using guitest::During;

namespace {

// Where the glyphs of the watched lines land on the screen. A line drawn more than once in a frame
// (its shadow first) is the same words each time: `hide` leaves out the copy drawn last, the one on
// top, and the frame then shows what lies under it.
class GlyphWatcher : public platform::DrawWatcher {
  public:
    struct Box {
        float x0, y0, x1, y1;
        std::string text;
        int copy;
    };
    void BeginFrame() { copies.clear(); }
    bool Quad(const platform::Image*, float x0, float y0, float x1, float y1) override {
        if (!watching) return true;
        if (!hide) boxes.push_back({x0, y0, x1, y1, line, copy});
        return !(hide && copy == lastCopy[line]);
    }
    void TextBegins(const char* text, size_t length) override {
        line.assign(text, length);
        watching = watched.count(line) != 0;
        if (!watching) return;
        copy = copies[line]++;
        if (!hide) lastCopy[line] = copy;
    }
    void TextEnds() override { watching = false; }
    // The glyphs of the copies drawn last.
    std::vector<Box> TopGlyphs() const {
        std::vector<Box> top;
        for (const Box& b : boxes)
            if (b.copy == lastCopy.at(b.text)) top.push_back(b);
        return top;
    }

    std::set<std::string> watched;
    bool hide = false;
    std::vector<Box> boxes;

  private:
    std::map<std::string, int> copies, lastCopy;
    std::string line;
    int copy = 0;
    bool watching = false;
};

double Luminance(const uint8_t* p) {
    double l = 0;
    for (int c = 0; c < 3; ++c) {
        const double v = p[c] / 255.0;
        l += std::array<double, 3>{0.2126, 0.7152, 0.0722}[static_cast<size_t>(c)] *
             (v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
    }
    return l;
}

double Contrast(const uint8_t* a, const uint8_t* b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

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

// The progress number on a meter reads at 4.5:1 against what lies under each of its glyphs: the
// fill, the empty track, or both for a glyph where the fill ends, on the light fills of the result
// and character sheets and on a dark one. A glyph is judged by its letter, the brightest quarter of
// the pixels it inks, each against the pixel under it.
TEST(Meters, TheNumberOnAMeterReadsOverItsFillAndOverItsTrack) {
    harness::Harness h;
    auto screen = guitest::StartScreen(h);
    ASSERT_TRUE(screen);
    guitest::LoadWidgetArt();
    struct Case {
        const char* key;
        int value, colour, small;
    };
    // Filled to under the number, past it, and not at all; the sheets' colours and a dark one. Every
    // value lies in the first level (0 to 100), so the fill ends at the value's share of the bar.
    const std::array<Case, 8> cases = {{{"Attribute.Strength", 48, 0xc0ffc0, 0},
                                        {"Attribute.Essence", 99, 0xc0ffc0, 0},
                                        {"Skill.Learning", 52, 0xc0c0ff, 0},
                                        {"Attribute.Ethics", 45, 0xffc0c0, 0},
                                        {"Attribute.Intelligence", 50, 0xc0ffc0, 1},
                                        {"Resource.Reputation", 60, 0xff80ff, 1},
                                        {"Skill.Science", 0, 0xc0c0ff, 1},
                                        {"Attribute.Constitution", 55, 0x604080, 0}}};
    for (const Case& c : cases) Profile::SetFlagInt(c.key, c.value);
    std::vector<GUIMeterAttribute*> meters;
    During(h, *screen, [&] {
        for (size_t i = 0; i < cases.size(); ++i) {
            const Case& c = cases[i];
            auto* m =
                GUIMeterAttribute::Create(200 + 400 * static_cast<float>(i / 4),
                                          100 + 60 * static_cast<float>(i % 4), c.colour, c.key, 0, c.small);
            GUIList::Add(m, 10);
            meters.push_back(m);
        }
    });
    h.Step(40);
    h.SaveFrame("meters_numbers");
    GlyphWatcher glyphs;
    for (const GUIMeterAttribute* m : meters) glyphs.watched.insert(m->text->text);
    platform::WatchDraws(&glyphs);
    glyphs.BeginFrame();
    h.Step();
    const std::vector<uint8_t> shown = h.ReadPixels(0, 0, 1000, 600);
    glyphs.hide = true;
    glyphs.BeginFrame();
    h.Step();
    const std::vector<uint8_t> under = h.ReadPixels(0, 0, 1000, 600);
    platform::WatchDraws(nullptr);

    int judged = 0, overFill = 0;
    const auto at = [](const std::vector<uint8_t>& px, int x, int y) { return &px[(y * 1000 + x) * 4]; };
    for (const GlyphWatcher::Box& box : glyphs.TopGlyphs()) {
        const int left = static_cast<int>(std::floor(box.x0)), right = static_cast<int>(std::ceil(box.x1));
        const int top = static_cast<int>(std::floor(box.y0)), bottom = static_cast<int>(std::ceil(box.y1));
        // (brightness, contrast with the pixel under it) of every pixel the glyph inks
        std::vector<std::pair<double, double>> ink;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const uint8_t *a = at(shown, x, y), *b = at(under, x, y);
                if (std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]) <= 60) continue;
                ink.emplace_back(Luminance(a), Contrast(a, b));
            }
        }
        // A sliver of a glyph (a pixel or two of its edge) is read with its neighbours.
        if (ink.size() < 16) continue;
        std::sort(ink.begin(), ink.end(), [](const auto& p, const auto& q) { return p.first > q.first; });
        std::vector<double> letter;
        for (size_t i = 0; i < ink.size() / 4; ++i) letter.push_back(ink[i].second);
        std::nth_element(letter.begin(), letter.begin() + letter.size() / 2, letter.end());
        EXPECT_GE(letter[letter.size() / 2], 4.5)
            << "\"" << box.text << "\" glyph at x " << left << ", y " << top;
        ++judged;
        for (size_t i = 0; i < cases.size(); ++i) {
            const GUIMeterAttribute& m = *meters[i];
            const float fillRight =
                m.x + 4 + static_cast<float>(cases[i].value) / 100 * static_cast<float>(m.w - 5);
            overFill += box.text == m.text->text && (box.x0 + box.x1) / 2 < fillRight;
        }
    }
    // Every meter's number was seen, glyph by glyph, many of them over a fill.
    EXPECT_GE(judged, 40);
    EXPECT_GE(overFill, 15);
}
