#include "core/glyphfont.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
