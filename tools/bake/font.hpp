#pragma once
// Bitmap fonts: fonts.txt describes each font; FreeType renders it into one glyph page and the
// game's font text file.
#include <string>
#include <vector>

namespace bake {

struct FontSpec {
    std::string name;      // output <name>.txt / <name>.png
    std::string face;      // font file
    std::string fallback;  // font file for glyphs the face lacks (may be empty)
    int size = 0;          // nominal pixel size (the em)
    int outline = 0;       // dark outline width in px, 0 = plain
    int lineHeight = 0;    // the tallest line the glyphs may make, outline included (0: as the em makes it)
    unsigned ink = 0x1b1b2f;
    bool autohint = false;  // FreeType's auto-hinter sets stems and heights on whole pixels
    std::string line;  // the source line, so editing one font re-bakes only that one
    int lineNumber = 0;
};

// Parses fonts.txt; throws BakeError naming the file and line on bad input.
std::vector<FontSpec> ReadFontList(const std::string& fontsFile);

void BakeFont(const FontSpec& spec, const std::string& outDir);

}  // namespace bake
