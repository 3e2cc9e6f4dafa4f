// Text laid out by the text services, drawn in the game's own baked font in a headless frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"
#include "tests/support/harness.hpp"

using harness::Harness;

namespace {

// Black, with whatever the test draws on it.
class TextScreen : public Screen {
  public:
    TextScreen() : Screen("text") {}
    void Start() override {}
    void Update2() override {}
    void Render() override {
        platform::Cls(0, 0, 0);
        if (draw) draw();
    }
    std::function<void()> draw;
};

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    int lit = 0;
    bool Empty() const { return lit == 0; }
};

class DataRender : public ::testing::Test {
  protected:
    void SetUp() override {
        // Without the baker in the source tree there is no baked data folder to draw with; once it
        // is there, a missing font is a failure.
        const bool baker =
            std::filesystem::exists(std::string(BRISK_SOURCE_ROOT) + "/tools/bake/CMakeLists.txt");
        const std::string fontFile = std::string(BRISK_DATA_ROOT) + "/data/Yikes24.txt";
        if (!baker && !std::filesystem::exists(fontFile)) GTEST_SKIP() << "no baker, no baked font";
        ASSERT_TRUE(std::filesystem::exists(fontFile)) << fontFile;
        ASSERT_TRUE(h.Start());
        font = Fonts::Get("n");
        ASSERT_NE(font, nullptr);
        ASSERT_GT(font->TextWidth("Hello"), 0);
        screen = std::make_shared<TextScreen>();
        screen->PreStart();
    }

    // Renders one frame and reads it back.
    void Frame(const std::string& saveAs) {
        ASSERT_TRUE(h.Step());
        pixels = h.ReadPixels(0, 0, 1000, 600);
        ASSERT_EQ(pixels.size(), 1000u * 600u * 4u);
        EXPECT_NE(h.SaveFrame(saveAs), "");
    }
    const uint8_t* At(int x, int y) const { return &pixels[(static_cast<size_t>(y) * 1000 + x) * 4]; }
    bool Lit(int x, int y) const {
        const uint8_t* p = At(x, y);
        return p[0] + p[1] + p[2] > 60;
    }
    Box Bounds(int x0, int y0, int x1, int y1) const {
        Box box;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                if (!Lit(x, y)) continue;
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
                ++box.lit;
            }
        }
        return box;
    }
    // Runs of rows that hold lit pixels, as (first, last).
    std::vector<std::pair<int, int>> Bands(int x0, int y0, int x1, int y1) const {
        std::vector<std::pair<int, int>> bands;
        bool inBand = false;
        for (int y = y0; y < y1; ++y) {
            bool any = false;
            for (int x = x0; x < x1 && !any; ++x) any = Lit(x, y);
            if (any && !inBand) bands.push_back({y, y});
            if (any) bands.back().second = y;
            inBand = any;
        }
        return bands;
    }

    Harness h;
    GlyphFont* font = nullptr;
    std::shared_ptr<TextScreen> screen;
    std::vector<uint8_t> pixels;
};

TEST_F(DataRender, WrappedLinesDrawBelowEachOtherInsideTheWidth) {
    const std::string story =
        "$NAME$ stands on the roof of the Gazette.\\nBelow, the city hums and somewhere a cat is stuck "
        "in a tree again.\\n\\nTime to get to work!";
    Profile::SetFlagString("Name", "Captain Quellfast");
    const std::string mingled = Data::MingleWords(story);
    ASSERT_EQ(mingled.find("$NAME$"), std::string::npos);
    const std::string text = Data::ExTextSplit(mingled, font, 300);
    const int lines = static_cast<int>(Data::SplitLines(text).size());
    ASSERT_GE(lines, 5);
    screen->draw = [this, text] { Data::ExDrawText(100, 50, text, font, 0, 300, 10000); };
    Frame("data_text_wrapped");

    const Box all = Bounds(0, 0, 1000, 600);
    ASSERT_FALSE(all.Empty());
    EXPECT_GE(all.left, 95);
    EXPECT_LE(all.right, 100 + 300);
    EXPECT_GE(all.top, 50);
    EXPECT_LE(all.bottom, 50 + Data::ExTextHeight(text, font) + 4);
    // One band of ink per line that has text; the blank line leaves a wider gap.
    const auto bands = Bands(0, 0, 1000, 600);
    EXPECT_EQ(static_cast<int>(bands.size()), lines - 1);
    int widestGap = 0;
    for (size_t i = 1; i < bands.size(); ++i)
        widestGap = std::max(widestGap, bands[i].first - bands[i - 1].second);
    EXPECT_GT(widestGap, font->TextHeight("A"));
    // White text stays white.
    const uint8_t* p = nullptr;
    for (int y = all.top; y <= all.bottom && !p; ++y) {
        for (int x = all.left; x <= all.right && !p; ++x) {
            if (At(x, y)[0] == 255) p = At(x, y);
        }
    }
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[1], 255);
    EXPECT_EQ(p[2], 255);
}

TEST_F(DataRender, TheTypewriterShowsItsNextLetterInGreyAndStopsThere) {
    screen->draw = [this] {
        platform::SetColor(255, 255, 255);
        Data::ExDrawText(100, 100, "Hello\\nworld", font, 0, 300, 1);
        // Drawing carries on in the caller's colour.
        platform::DrawRect(500, 100, 10, 10);
    };
    Frame("data_text_typewriter_1");
    const Box first = Bounds(90, 90, 480, 300);
    ASSERT_FALSE(first.Empty());
    EXPECT_LE(first.right, 100 + font->TextWidth("H") + 4);
    EXPECT_LT(first.bottom, 100 + font->TextHeight("Hello"));
    for (int y = first.top; y <= first.bottom; ++y) {
        for (int x = first.left; x <= first.right; ++x) {
            const uint8_t* q = At(x, y);
            EXPECT_LE(q[0], 128);
            EXPECT_EQ(q[0], q[1]);
            EXPECT_EQ(q[1], q[2]);
        }
    }
    const uint8_t* mark = At(505, 105);
    EXPECT_EQ(mark[0] + mark[1] + mark[2], 3 * 255);

    // Seven characters: all of "Hello", then "w" of the next line in grey.
    screen->draw = [this] { Data::ExDrawText(100, 100, "Hello\\nworld", font, 0, 300, 7); };
    Frame("data_text_typewriter_7");
    const auto bands = Bands(90, 90, 480, 300);
    ASSERT_EQ(bands.size(), 2u);
    const Box second = Bounds(90, bands[1].first, 480, bands[1].second + 1);
    EXPECT_LE(second.right, 100 + font->TextWidth("wo") + 4);
    bool grey = false;
    for (int x = second.left; x <= second.right; ++x) {
        for (int y = second.top; y <= second.bottom; ++y)
            grey = grey || (At(x, y)[0] > 100 && At(x, y)[0] <= 128);
    }
    EXPECT_TRUE(grey);
}

TEST_F(DataRender, CentredLinesSitInTheMiddleOfTheWidth) {
    screen->draw = [this] { Data::ExDrawText(200, 100, "Brallwick\\nsaves the day", font, 1, 600, 1000); };
    Frame("data_text_centred");
    const auto bands = Bands(0, 0, 1000, 600);
    ASSERT_EQ(bands.size(), 2u);
    for (const auto& band : bands) {
        const Box line = Bounds(0, band.first, 1000, band.second + 1);
        const int middle = (line.left + line.right) / 2;
        EXPECT_NEAR(middle, 500, 8);
    }
}

}  // namespace
