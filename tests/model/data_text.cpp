// Multi-line text layout with the two-character break code, name substitution and name cleaning.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/glyphfont.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/random.hpp"

namespace {

// Every printable character 10 pixels wide and 20 high, except "g", which hangs 4 lower.
std::unique_ptr<GlyphFont> MonoFont() {
    auto font = std::make_unique<GlyphFont>();
    for (int c = 32; c < 127; ++c) {
        auto ch = std::make_unique<Char>();
        ch->width = 10;
        ch->height = 20;
        ch->xAdvance = 10;
        if (c == 'g') ch->height = 24;
        font->chars[static_cast<size_t>(c)] = std::move(ch);
    }
    return font;
}

// "\\n" as the game writes it: backslash, n.
std::string B(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '|') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

TEST(DataText, WrapsAtTheWidthAndAtBreakCodes) {
    auto font = MonoFont();
    GlyphFont* f = font.get();
    // Exactly the width still fits; one character more wraps, dropping the space.
    EXPECT_EQ(Data::ExTextSplit("aaaaa", f, 50), "aaaaa");
    EXPECT_EQ(Data::ExTextSplit("aa bb", f, 50), "aa bb");
    EXPECT_EQ(Data::ExTextSplit("aa bbb", f, 50), B("aa|bbb"));
    EXPECT_EQ(Data::ExTextSplit("aaa bbb ccc", f, 70), B("aaa bbb|ccc"));
    // A break code in the middle of a line ends it there.
    EXPECT_EQ(Data::ExTextSplit(B("aa|bb cc"), f, 100), B("aa|bb cc"));
    // A text that never wraps keeps exactly its breaks: blank lines, a break at the end.
    EXPECT_EQ(Data::ExTextSplit(B("aa||bb"), f, 100), B("aa||bb"));
    EXPECT_EQ(Data::ExTextSplit(B("aa|"), f, 100), B("aa|"));
    EXPECT_EQ(Data::ExTextSplit(B("aa||"), f, 100), B("aa||"));
    EXPECT_EQ(Data::ExTextSplit(B("|"), f, 100), B("|"));
    EXPECT_EQ(Data::ExTextSplit("", f, 100), "");
    // Runs of spaces inside a line are kept.
    EXPECT_EQ(Data::ExTextSplit("a  b", f, 100), "a  b");
}

TEST(DataText, AWordWiderThanTheWidthGetsALineOfItsOwn) {
    auto font = MonoFont();
    GlyphFont* f = font.get();
    EXPECT_EQ(Data::ExTextSplit("abcdefgh", f, 50), "abcdefgh");
    EXPECT_EQ(Data::ExTextSplit("aa abcdefgh bb", f, 50), B("aa|abcdefgh|bb"));
    // Alone on its line, the space after it is spent: the next word starts a line of its own.
    EXPECT_EQ(Data::ExTextSplit("abcdefgh bb cc", f, 50), B("abcdefgh|bb cc"));
    // Overflowing and followed by a break: old line, the word, then the rest; never two lines run
    // together and never an extra blank line.
    EXPECT_EQ(Data::ExTextSplit(B("aa abcdefgh|bb"), f, 50), B("aa|abcdefgh|bb"));
    EXPECT_EQ(Data::ExTextSplit(B("abcdefgh|bb"), f, 50), B("abcdefgh|bb"));
    EXPECT_EQ(Data::ExTextSplit(B("abcdefgh||bb"), f, 50), B("abcdefgh||bb"));
}

TEST(DataText, WrappedLinesFitAndLoseNothingButTheSpacesTheyBreakAt) {
    auto font = MonoFont();
    GlyphFont* f = font.get();
    const std::string text =
        "When the city sleeps the hero walks the rooftops and listens for the faint cries of "
        "citizens in peril while the clock tower counts the hours until dawn";
    for (int width = 80; width <= 400; width += 13) {
        const std::string wrapped = Data::ExTextSplit(text, f, width);
        std::string joined;
        for (const std::string& line : Data::SplitLines(wrapped)) {
            EXPECT_LE(f->TextWidth(line), width) << width << ": " << line;
            EXPECT_FALSE(line.empty());
            if (!joined.empty()) joined += ' ';
            joined += line;
        }
        EXPECT_EQ(joined, text) << width;
    }
}

TEST(DataText, MeasuresTheWidestLineAndTheSumOfLineHeights) {
    auto font = MonoFont();
    GlyphFont* f = font.get();
    EXPECT_EQ(Data::ExTextWidth(B("ab|abcd|a"), f), 40);
    EXPECT_EQ(Data::ExTextWidth("", f), 0);
    EXPECT_EQ(Data::ExTextHeight(B("ab|cd"), f), 40);
    EXPECT_EQ(Data::ExTextHeight(B("ab|gg"), f), 44);
    // A blank line counts as the height of "A"; three breaks in a row are two blank lines.
    EXPECT_EQ(Data::ExTextHeight(B("ab||cd"), f), 60);
    EXPECT_EQ(Data::ExTextHeight(B("ab|||cd"), f), 80);
    EXPECT_EQ(Data::ExTextHeight(B("ab| |cd"), f), 60);
    // Before the first break and after the last there is no blank line, only an empty one.
    EXPECT_EQ(Data::ExTextHeight(B("||ab"), f), 40);
    EXPECT_EQ(Data::ExTextHeight(B("ab||"), f), 40);
    EXPECT_EQ(Data::ExTextHeight(B("|"), f), 0);
    EXPECT_EQ(Data::ExTextHeight("", f), 0);
    EXPECT_EQ(Data::ExTextWidth("abc", nullptr), 0);
}

class DataNames : public ::testing::Test {
  protected:
    void SetUp() override {
        InitProfileGlobals();
        Data::InitGlobals();
        Data::yearText = "2026";
        Profile::SetFlagString("Name", "Brallwick");
        Profile::SetFlagString("RealName", "Dana Quell");
    }
    void TearDown() override {
        InitProfileGlobals();
        Data::InitGlobals();
    }
};

TEST_F(DataNames, PlaceholdersAreReplacedEverywhere) {
    EXPECT_EQ(Data::MingleWords("$NAME$ meets $NAME$ in $YEAR$, alias of $REALNAME$."),
              "Brallwick meets Brallwick in 2026, alias of Dana Quell.");
    EXPECT_EQ(Data::MingleWords("$NAME"), "$NAME");
    EXPECT_EQ(Data::MingleWords(""), "");
}

TEST_F(DataNames, TheExclamationDrawsAnAdjectiveThenANounOnEveryCall) {
    // The words as the seed gives them: adjective first, then noun.
    platform::SetSeed(4242);
    const int adjective = static_cast<int>(platform::Rnd(0.0f, 7.0f));
    const int noun = static_cast<int>(platform::Rnd(0.0f, 5.0f));
    const float third = platform::Rnd();
    const std::string expected = std::string(Data::exclamationAdjectives[static_cast<size_t>(adjective)]) +
                                 " " + Data::exclamationNouns[static_cast<size_t>(noun)];

    platform::SetSeed(4242);
    EXPECT_EQ(Data::MingleWords("$EXCLAMATION$, $NAME$! $EXCLAMATION$!"),
              expected + ", Brallwick! " + expected + "!");
    EXPECT_EQ(platform::Rnd(), third);

    // Without placeholders the text is unchanged and the generator still moved twice.
    platform::SetSeed(4242);
    EXPECT_EQ(Data::MingleWords("Nothing to see."), "Nothing to see.");
    EXPECT_EQ(platform::Rnd(), third);

    // Over many calls every word turns up and nothing falls outside the tables.
    std::vector<int> seen(12, 0);
    platform::SetSeed(77);
    for (int call = 0; call < 400; ++call) {
        const std::string words = Data::MingleWords("$EXCLAMATION$");
        bool known = false;
        for (size_t a = 0; a < 7; ++a) {
            for (size_t n = 0; n < 5; ++n) {
                if (words == std::string(Data::exclamationAdjectives[a]) + " " + Data::exclamationNouns[n]) {
                    ++seen[a];
                    ++seen[7 + n];
                    known = true;
                }
            }
        }
        ASSERT_TRUE(known) << words;
    }
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_GT(seen[i], 0) << i;
}

TEST(DataFixString, CurrencySignsBecomeTheirCodesAndOtherWideCharactersGo) {
    // The euro sign has a code; the yen sign is below 256 and stays.
    EXPECT_EQ(Data::FixString(U"Cash\u20AC\u00A5"), U"CashEUR\u00A5");
    EXPECT_EQ(Data::FixString(U"\u20B9x\u20A9"), U"INRxKRW");
    EXPECT_EQ(Data::FixString(U"a\u20A1b\u20B0c\u20B6\u20B7\U0001F600"), U"abc");
    EXPECT_EQ(Data::FixString(U"Plain"), U"Plain");
    // 256 itself is allowed.
    EXPECT_EQ(Data::FixString(U"\u0100"), U"\u0100");
    EXPECT_EQ(Data::HasProblem(U"\u0100"), 0);
    EXPECT_EQ(Data::HasProblem(U"ab\u0101"), 1);
    // A name of nothing but unnamed characters cleans to an empty name in one pass, so a loop
    // that cleans while there is a problem always ends.
    const std::u32string hopeless = U"\u4E2D\u6587";
    EXPECT_EQ(Data::FixString(hopeless), U"");
    std::u32string name = hopeless;
    int passes = 0;
    while (Data::HasProblem(name) && passes < 5) {
        name = Data::FixString(name);
        ++passes;
    }
    EXPECT_EQ(passes, 1);
    EXPECT_EQ(Data::Fix(U"abc", 1, U"XY"), U"aXYc");
    EXPECT_EQ(Data::Fix(U"abc", 2, U""), U"ab");
}

}  // namespace
