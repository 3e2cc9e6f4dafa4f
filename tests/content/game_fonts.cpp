// The baked fonts read through the game's own font loader, not just through the format rules:
// whatever the baker writes, this is what the player's text is set with.
#include <gtest/gtest.h>

#include "core/glyphfont.hpp"
#include "platform/storage.hpp"
#include "tools/bake/manifest.hpp"

TEST(BakedFonts, TheGameReadsEveryFontAtItsNominalSize) {
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
        // The number in the name is the font's pixel size: a line of text is about that tall.
        const std::string digits = std::string(name).substr(std::string(name).find_first_of("0123456789"));
        const int nominal = std::stoi(digits);
        const int lineHeight = font.TextHeight("Ag");
        EXPECT_GE(lineHeight, nominal);
        EXPECT_LE(lineHeight, nominal * 3 / 2);
        // Digits share one width, so counters and timers do not jitter as they change.
        for (char c = '1'; c <= '9'; ++c)
            EXPECT_EQ(font.TextWidth(std::string(1, c)), font.TextWidth("0")) << c;
        // The comic face's kerning reaches the game.
        const KernPair* av = font.FindKernPair('A', 'V');
        ASSERT_NE(av, nullptr);
        EXPECT_LT(av->amount, 0);
    }
    platform::SetDataRoot(previousRoot);
}
