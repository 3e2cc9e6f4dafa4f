#pragma once
// Bitmap fonts: a page image of glyphs plus a text file of glyph metrics and kerning pairs.
// Text is one byte per character, so every code has a slot in the 256-entry glyph table.
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics.hpp"

// Pixels added between two characters when drawing (not when measuring).
struct KernPair {
    std::string first, second;  // the character codes as decimal text
    int amount = 0;
};

// One glyph: its rectangle in the page and where it sits relative to the pen.
struct Char {
    int x = 0, y = 0, width = 0, height = 0;
    int xOffset = 0, yOffset = 0, xAdvance = 0, page = 0;

    // Draw3: draws the glyph from the font's page image with the pen at (penX, penY).
    void Draw3(const platform::ImagePtr& image, int penX, int penY) const;
};

// A bitmap font. DrawText draws left-aligned at (x, y); DrawText2 is the same text aligned to x.
class GlyphFont {
  public:
    explicit GlyphFont(const std::string& name = "");

    void LoadFont(const std::string& fontName);
    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;
    void DrawText(const std::string& text, int x, int y);
    // align 0 left, 1 centred, 2 right; any other value draws nothing.
    void DrawText2(const std::string& text, int x, int y, int align);
    // DrawText cut to a rectangle (drawing units): a glyph across its edge shows only its part
    // inside, so that what is drawn round a line (a halo) keeps within what holds it.
    void DrawTextIn(const std::string& text, int x, int y, float left, float top, float right, float bottom);

    const Char* GetChar(unsigned char code) const { return chars[code].get(); }
    const KernPair* FindKernPair(int first, int second) const;

    std::string iniText;
    std::map<int, std::map<int, KernPair>> kernPairs;
    std::array<std::unique_ptr<Char>, 256> chars;
    int height = 0;
    int heightOffset = 9999;
    std::array<platform::ImagePtr, 1> image;
    std::string name;
    int useKerning = 1;
    int xOffset = 0;

  private:
    // A line drawn again unchanged comes from one picture of its glyphs, put together once it has
    // been drawn a few times (a text that changes every frame or two never pays for one). The colour and
    // alpha are not part of the picture: they apply when it is drawn, as they do to glyphs.
    // Each line is kept in a slot made once and reused: when a new line needs room, the slot drawn
    // least lately takes it, its text copied into the string it already has and its picture
    // recomposed in the texture it already has, so a screen of changing lines touches no heap.
    struct DrawnLine {
        std::string text;
        size_t hash = 0;             // of the text; 0 while the slot holds no line
        platform::ImagePtr picture;  // drawn only when `shows`
        bool shows = false;          // false when no glyph of the line shows
        int advance = 0;             // the pen's travel over the line, kerning included
        int kerning = 1;             // the useKerning it was laid out with
        uint32_t lastUse = 0;        // the font's draw count when last drawn
        int64_t lastMs = 0;          // and the engine's clock
    };
    // Runs the pen over the line, kerning included, calling draw(glyph, pen) for each glyph that
    // can show; leaves xOffset at the pen's end.
    template <typename DrawGlyph>
    void WalkGlyphs(const std::string& text, DrawGlyph draw);
    bool DrawRemembered(const std::string& text, int x, int y);
    DrawnLine* SlotForNewLine(int w, int h);  // for a line whose glyphs fill w x h
    void ForgetLines();

    std::vector<DrawnLine> drawnLines;
    struct SeenLine {
        size_t hash = 0;
        int draws = 0;
    };
    std::array<SeenLine, 64> seenLines{};  // lines drawn without a slot yet, latest at seenNext - 1
    size_t seenNext = 0;
    uint32_t drawCount = 0;
    int64_t drawMs = 0;  // the clock at the latest draw
    std::vector<platform::Piece> pieces;  // scratch for putting a line together
};

// The eight program-wide fonts, addressed by the loader ids "oxb", "ob", "on", "os", "oxs", "b",
// "n" and "s". The slots own their fonts until the program ends.
class Fonts {
  public:
    static constexpr int kSlots = 8;
    static const std::array<const char*, kSlots>& Ids();
    // The font file each slot is loaded from ("YikesH96" for "oxb", ...); "" for an unknown id.
    static const char* FileFor(const std::string& id);
    // Null when the slot is empty or the id is not one of the eight.
    static GlyphFont* Get(const std::string& id);
    // False (and the font is dropped) for an id outside the eight.
    static bool Set(const std::string& id, std::unique_ptr<GlyphFont> font);
    static void Reset();
};
