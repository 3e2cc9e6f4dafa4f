// The baked fonts read through the game's own font loader, not just through the format rules:
// whatever the baker writes, this is what the player's text is set with.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "core/glyphfont.hpp"
#include "platform/storage.hpp"
#include "tools/bake/manifest.hpp"

namespace {

// The line the font list gives a font.
int LineFor(const std::string& name) {
    std::ifstream list(std::string(BRISK_SOURCE_ROOT) + "/content/fonts/fonts.txt");
    std::string line;
    while (std::getline(list, line)) {
        if (line.rfind(name + " ", 0) != 0) continue;
        const auto at = line.find(" line=");
        return at == std::string::npos ? 0 : std::stoi(line.substr(at + 6));
    }
    return 0;
}

}  // namespace

TEST(BakedFonts, TheGameReadsEveryFontAtTheLineItsScreensExpect) {
    const std::string previousRoot = platform::DataRoot();
    platform::SetDataRoot(BRISK_DATA_ROOT);
    for (const char* name : bake::manifest::kFonts) {
        SCOPED_TRACE(name);
        GlyphFont font(name);
        for (int code = 32; code <= 126; ++code)
            EXPECT_NE(font.GetChar(static_cast<unsigned char>(code)), nullptr) << code;
        // Latin-1 letters of names and texts ("Café", "Über").
        for (int code : {0xc0, 0xc9, 0xdc, 0xe9, 0xf1})
            EXPECT_NE(font.GetChar(static_cast<unsigned char>(code)), nullptr) << code;
        EXPECT_EQ(font.heightOffset, 0) << "a glyph reaches above the line's top";
        // A line is as tall as the screens were laid out for (the font list says how tall), no
        // taller and not needlessly smaller, and the larger fonts stay larger.
        const int lineHeight = font.TextHeight("\xc9g");
        EXPECT_LE(lineHeight, LineFor(name));
        EXPECT_GE(lineHeight, LineFor(name) - 3);
        // Digits share one width, so counters and timers do not jitter as they change.
        for (char c = '1'; c <= '9'; ++c)
            EXPECT_EQ(font.TextWidth(std::string(1, c)), font.TextWidth("0")) << c;
        // Each digit's ink stands in the middle of its cell and no pair of digits is kerned, so a
        // time reads "01:02:34", not "01:02:3 4".
        for (char c = '0'; c <= '9'; ++c) {
            const Char* digit = font.GetChar(static_cast<unsigned char>(c));
            ASSERT_NE(digit, nullptr);
            const int left = digit->xOffset, right = digit->xAdvance - digit->xOffset - digit->width;
            EXPECT_LE(std::abs(left - right), 1)
                << c << ": " << left << " left of its ink, " << right << " right";
            for (char d = '0'; d <= '9'; ++d) EXPECT_EQ(font.FindKernPair(c, d), nullptr) << c << d;
        }
        // The comic face's kerning reaches the game (in the smallest font it rounds away).
        if (LineFor(name) < 16) continue;
        const KernPair* av = font.FindKernPair('A', 'V');
        ASSERT_NE(av, nullptr);
        EXPECT_LT(av->amount, 0);
    }
    platform::SetDataRoot(previousRoot);
}
