#include "core/glyphfont.hpp"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/app.hpp"
#include "platform/engine.hpp"
#include "platform/graphics.hpp"
#include "platform/imagecodec.hpp"
#include "platform/storage.hpp"

namespace {

namespace fs = std::filesystem;

// Writes font files into a scratch data folder and points the engine's data root at it.
class GlyphFontFiles : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("glyphfont-" + std::to_string(::getpid()));
        fs::create_directories(root / "data");
        previousRoot = platform::DataRoot();
        platform::SetDataRoot(root.string());
    }
    void TearDown() override {
        platform::SetDataRoot(previousRoot);
        fs::remove_all(root);
    }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(root / "data" / name, std::ios::binary) << text;
    }
    fs::path root;
    std::string previousRoot;
};

TEST_F(GlyphFontFiles, ParsesGlyphsKerningAndHeadersAndSkipsJunk) {
    Write("Test.txt",
          "  id,x,y,width,height,xoffset,yoffset,xadvance,page\r\n"
          "65, 0, 0, 14, 17, 0, 3, 15, 0\n"
          "66,14,0,12,20,1,-2,14,0,99,99\n"
          "\n"
          "first,second,amount\n"
          "65,86,-2\n"
          "1,2,3\n"            // three fields: a kerning pair even for small codes
          "67,1,2,3,4\n"       // five fields: ignored
          "300,0,0,5,5,0,0,6,0\n"  // beyond the table: ignored, not written past it
          "-4,0,0,5,5,0,0,6,0\n"
          "68,0,0,9,9,0,0,10\n");  // no page field: page 0
    GlyphFont font("Test");
    EXPECT_EQ(font.name, "Test");
    ASSERT_NE(font.GetChar('A'), nullptr);
    EXPECT_EQ(font.GetChar('A')->xAdvance, 15);
    EXPECT_EQ(font.GetChar('B')->yOffset, -2);
    EXPECT_EQ(font.GetChar('C'), nullptr);
    ASSERT_NE(font.GetChar('D'), nullptr);
    EXPECT_EQ(font.GetChar('D')->page, 0);
    EXPECT_EQ(font.GetChar(1), nullptr);
    EXPECT_EQ(font.height, 20);
    EXPECT_EQ(font.heightOffset, -2);
    ASSERT_NE(font.FindKernPair(65, 86), nullptr);
    EXPECT_EQ(font.FindKernPair(65, 86)->amount, -2);
    EXPECT_EQ(font.FindKernPair(65, 86)->first, "65");
    EXPECT_NE(font.FindKernPair(1, 2), nullptr);
    EXPECT_EQ(font.image[0], nullptr);  // no page image written
}

TEST_F(GlyphFontFiles, MeasuresOnlyKnownCharactersAndIgnoresKerning) {
    Write("M.txt", "65,0,0,10,10,0,2,11,0\n86,0,0,10,12,0,1,9,0\nfirst,second,amount\n65,86,-2\n");
    GlyphFont font("M");
    EXPECT_EQ(font.TextWidth(""), 0);
    EXPECT_EQ(font.TextWidth("???"), 0);
    EXPECT_EQ(font.TextWidth("AV"), 20);
    EXPECT_EQ(font.TextWidth("A\xe9V"), 20);
    EXPECT_EQ(font.TextHeight(""), 0);
    EXPECT_EQ(font.TextHeight("zz"), 0);
    EXPECT_EQ(font.TextHeight("AV"), 13);
    // Kerning moves the pen while drawing: after "AV" it stands 2 pixels short of the width.
    font.DrawText("AV", 0, 0);
    EXPECT_EQ(font.xOffset, 18);
    font.DrawText2("AV", 100, 0, 7);  // unknown alignment draws nothing, pen untouched
    EXPECT_EQ(font.xOffset, 18);
}

TEST_F(GlyphFontFiles, MissingFilesGiveAnEmptyFontThatDrawsNothing) {
    GlyphFont font("Nowhere");
    EXPECT_EQ(font.TextWidth("abc"), 0);
    EXPECT_EQ(font.height, 0);
    EXPECT_EQ(font.heightOffset, 9999);
    font.DrawText("abc", 0, 0);
    EXPECT_EQ(font.xOffset, 0);
}

struct DrawApp : platform::App {
    std::function<void()> draw;
    int renders = 0;
    void OnCreate() override { platform::OpenGraphics(64, 48, 0, 60, 0); }
    void OnRender() override {
        if (++renders == 1) return;
        platform::Cls(0, 0, 0);
        platform::SetColor(255, 255, 255);
        platform::SetAlpha(1.0f);
        if (draw) draw();
    }
};
DrawApp* drawApp = nullptr;
void NoGlobals() {}
void MakeDrawApp() { drawApp = new DrawApp; }

// Where glyphs land on a real frame: offsets, kerning, alignment and pages other than the first.
TEST_F(GlyphFontFiles, GlyphsLandAtPenPlusOffsetsWithKerning) {
    // An 8 x 4 page: the left half red (glyph A), the right half blue (glyphs V and W).
    std::vector<uint8_t> rgba(8 * 4 * 4);
    for (int i = 0; i < 8 * 4; ++i) {
        bool left = i % 8 < 4;
        rgba[static_cast<size_t>(i * 4)] = left ? 255 : 0;
        rgba[static_cast<size_t>(i * 4 + 2)] = left ? 0 : 255;
        rgba[static_cast<size_t>(i * 4 + 3)] = 255;
    }
    ASSERT_TRUE(platform::WritePNG((root / "data" / "P.png").string(), 8, 4, rgba.data()));
    Write("P.txt",
          "65,0,0,4,4,0,1,5,0\n"
          "86,4,0,4,4,1,0,6,0\n"
          "87,4,0,4,4,0,0,6,1\n"  // claims a second page, which a font never has
          "first,second,amount\n65,86,-2\n");
    Write("Q.txt", "65,0,0,4,4,0,0,5,0\n");  // no page image beside it

    platform::EngineOptions options;
    options.headless = true;
    options.fakeClock = true;
    options.messageBoxes = false;
    options.dataRoot = root.string();
    options.appDataFolder = root.string();
    ASSERT_TRUE(platform::driver::Start(NoGlobals, MakeDrawApp, options));
    ASSERT_TRUE(platform::driver::Step(1));
    GlyphFont font("P");
    GlyphFont pageless("Q");
    ASSERT_NE(font.image[0], nullptr);
    EXPECT_EQ(font.TextWidth("W"), 6);  // measured even though it is never drawn
    std::string first = "AV";
    drawApp->draw = [&] {
        font.DrawText(first, 10, 10);
        font.DrawText2("A", 40, 20, 1);  // width 5: the pen starts 2 pixels left of x
        font.DrawText2("A", 60, 30, 2);
        font.DrawText("W", 30, 30);
        pageless.DrawText("AAAA", 0, 40);
    };
    ASSERT_TRUE(platform::driver::Step(2));
    auto colour = [](int x, int y) {
        auto p = platform::driver::ReadPixels(x, y, 1, 1);
        if (p.size() != 4) return 'x';
        if (p[0] > 200 && p[2] < 50) return 'r';
        if (p[2] > 200 && p[0] < 50) return 'b';
        if (p[0] < 50 && p[1] < 50 && p[2] < 50) return '.';
        return '?';
    };
    auto row = [&](int x0, int x1, int y) {
        std::string s;
        for (int x = x0; x <= x1; ++x) s += colour(x, y);
        return s;
    };
    // A at x 10..13 one row down; V kerned 2 left of its measured place, plus its own offset 1.
    EXPECT_EQ(row(9, 18, 10), ".....bbbb.");
    EXPECT_EQ(row(9, 18, 11), ".rrrrbbbb.");
    EXPECT_EQ(row(9, 18, 14), ".rrrr.....");
    EXPECT_EQ(row(36, 43, 21), "..rrrr..");
    EXPECT_EQ(row(54, 60, 31), ".rrrr..");
    EXPECT_EQ(row(29, 35, 31), ".......");  // the second-page glyph draws nothing
    EXPECT_EQ(row(0, 20, 41), std::string(21, '.'));

    // Drawn again unchanged, lines come from one picture of their glyphs: same places, same
    // pen travel. A changed text is laid out afresh.
    const std::vector<std::string> once = {row(9, 18, 10), row(9, 18, 11), row(36, 43, 21), row(54, 60, 31)};
    ASSERT_TRUE(platform::driver::Step(3));
    EXPECT_EQ(once, (std::vector<std::string>{row(9, 18, 10), row(9, 18, 11), row(36, 43, 21), row(54, 60, 31)}));
    first = "VA";
    ASSERT_TRUE(platform::driver::Step(3));
    EXPECT_EQ(row(9, 20, 10), "..bbbb......");
    EXPECT_EQ(row(9, 20, 11), "..bbbb.rrrr.");
    // Many different lines, short and long, pass through the kept ones and take over their places:
    // each, once remembered, looks as it did drawn glyph by glyph. (The digits have no glyph; they
    // only make every line a new one.)
    const std::array<std::string, 3> kinds = {"VA", "AAV", std::string(30, 'A') + "V"};
    int stale = 0;
    for (int i = 0; i < 240; ++i) {
        first = kinds[static_cast<size_t>(i % 3)] + std::to_string(i);
        ASSERT_TRUE(platform::driver::Step(1));
        const std::vector<std::string> byGlyph = {row(9, 30, 10), row(9, 30, 11), row(9, 30, 14)};
        ASSERT_TRUE(platform::driver::Step(4));
        stale += byGlyph == std::vector<std::string>{row(9, 30, 10), row(9, 30, 11), row(9, 30, 14)} ? 0 : 1;
    }
    EXPECT_EQ(stale, 0);

    platform::driver::Stop();
    delete drawApp;
    drawApp = nullptr;
}

TEST(FontSlots, EightSlotsByLoaderId) {
    Fonts::Reset();
    EXPECT_STREQ(Fonts::FileFor("oxb"), "YikesH96");
    EXPECT_STREQ(Fonts::FileFor("n"), "Yikes24");
    EXPECT_STREQ(Fonts::FileFor("x"), "");
    EXPECT_EQ(Fonts::Get("n"), nullptr);
    EXPECT_TRUE(Fonts::Set("n", std::make_unique<GlyphFont>()));
    EXPECT_NE(Fonts::Get("n"), nullptr);
    EXPECT_FALSE(Fonts::Set("huge", std::make_unique<GlyphFont>()));
    EXPECT_EQ(Fonts::Get("huge"), nullptr);
    Fonts::Reset();
    EXPECT_EQ(Fonts::Get("n"), nullptr);
}

}  // namespace
