#pragma once
// Readers for the baked formats, written the way the game reads them, for the content tests.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace content_check {

struct Picture {
    bool ok = false;
    std::string error;
    int width = 0, height = 0;
    bool hasAlpha = false;
    std::vector<std::uint8_t> rgba;  // straight RGBA
    const std::uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

Picture LoadPicture(const std::string& file);  // PNG or JPEG by extension
Picture DecodePng(const std::string& bytes);

bool FileExists(const std::string& file);
std::string ReadText(const std::string& file);  // "" when missing

struct Glyph {
    int x, y, width, height, xOffset, yOffset, xAdvance, page;
};
struct Font {
    std::map<int, Glyph> glyphs;
    std::map<std::pair<int, int>, int> kerning;  // (first, second) -> amount
    std::vector<std::string> badLines;           // lines that are neither header, glyph nor kerning pair
};
// The font text rules: lines trimmed; "id,"/"first," headers and blanks skipped; 3 integer fields a
// kerning pair, 9 or more a glyph.
Font ParseFont(const std::string& text);

struct Region {
    std::string name;
    int index = -1;
    int x = 0, y = 0, width = 0, height = 0;
};
struct Atlas {
    std::string page;
    std::vector<Region> regions;
    std::vector<std::string> problems;  // malformed entries
};
// The text atlas rules: page line, three header lines, then 7-line regions until an empty name.
Atlas ParseAtlas(const std::string& text);

// Decodes a whole Ogg Vorbis file; false with a reason when it cannot.
bool DecodeOgg(const std::string& file, double& seconds, std::string& error);

struct IconEntry {
    int width = 0, height = 0;  // 0 in the directory means 256
    std::string png;
};
// Entries of an .ico file; empty when the header is not an icon's.
std::vector<IconEntry> ReadIco(const std::string& bytes);

}  // namespace content_check
