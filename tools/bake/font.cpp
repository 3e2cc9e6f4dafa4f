#include "tools/bake/font.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_STROKER_H
#include <stb/stb_rect_pack.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "tools/bake/common.hpp"
#include "tools/bake/image.hpp"
#include "tools/bake/kerning.hpp"

namespace fs = std::filesystem;

namespace bake {

namespace {

constexpr int kGlyphPadding = 2;

bool IsLatin1Printable(int code) {
    return (code >= 32 && code <= 126) || (code >= 160 && code <= 255);
}

bool IsDigit(int code) {
    return code >= '0' && code <= '9';
}

struct Glyph {
    int code = 0;
    Image picture;  // empty for blank glyphs (space)
    int x = 0, y = 0;
    int xOffset = 0, yOffset = 0, xAdvance = 0;
    bool fromFace = true;  // rendered by the main face (kerning only applies to those)
    FT_UInt index = 0;
};

struct Library {
    FT_Library library = nullptr;
    Library() {
        if (FT_Init_FreeType(&library)) throw BakeError("FreeType would not start");
    }
    ~Library() { FT_Done_FreeType(library); }
};

struct Face {
    FT_Face face = nullptr;
    Face(FT_Library library, const std::string& file, int size) {
        if (FT_New_Face(library, file.c_str(), 0, &face))
            throw BakeError("cannot open the font file " + file);
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size))) {
            FT_Done_Face(face);
            throw BakeError("cannot size the font " + file + " to " + std::to_string(size) + " px");
        }
    }
    ~Face() { FT_Done_Face(face); }
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;
};

struct GlyphHolder {
    FT_Glyph glyph = nullptr;
    ~GlyphHolder() {
        if (glyph) FT_Done_Glyph(glyph);
    }
};

// Renders glyph (consumed copy) to a coverage bitmap; left/top are FreeType's bitmap origin.
struct Coverage {
    int left = 0, top = 0, width = 0, rows = 0;
    std::vector<std::uint8_t> alpha;
    std::uint8_t At(int x, int y) const {  // x, y in canvas coordinates relative to left/top
        if (x < 0 || y < 0 || x >= width || y >= rows) return 0;
        return alpha[static_cast<size_t>(y) * width + x];
    }
};

Coverage Render(FT_Glyph source, FT_Stroker stroker) {
    GlyphHolder copy;
    if (FT_Glyph_Copy(source, &copy.glyph)) throw BakeError("FreeType: cannot copy a glyph");
    if (stroker && FT_Glyph_StrokeBorder(&copy.glyph, stroker, 0, 1))
        throw BakeError("FreeType: cannot stroke a glyph");
    if (FT_Glyph_To_Bitmap(&copy.glyph, FT_RENDER_MODE_NORMAL, nullptr, 1))
        throw BakeError("FreeType: cannot render a glyph");
    auto* bitmapGlyph = reinterpret_cast<FT_BitmapGlyph>(copy.glyph);
    const FT_Bitmap& bitmap = bitmapGlyph->bitmap;
    Coverage c;
    c.left = bitmapGlyph->left;
    c.top = bitmapGlyph->top;
    c.width = static_cast<int>(bitmap.width);
    c.rows = static_cast<int>(bitmap.rows);
    c.alpha.resize(static_cast<size_t>(c.width) * c.rows);
    for (int y = 0; y < c.rows; ++y)
        for (int x = 0; x < c.width; ++x)
            c.alpha[static_cast<size_t>(y) * c.width + x] = bitmap.buffer[y * bitmap.pitch + x];
    return c;
}

bool ParseInt(const std::string& text, int& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || v < -100000 || v > 100000) return false;
    value = static_cast<int>(v);
    return true;
}

}  // namespace

std::vector<FontSpec> ReadFontList(const std::string& fontsFile) {
    std::vector<FontSpec> fonts;
    std::istringstream lines(ReadFile(fontsFile));
    std::string line;
    int lineNumber = 0;
    std::set<std::string> names;
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto hash = line.find('#');
        std::istringstream words(line.substr(0, hash));
        FontSpec spec;
        if (!(words >> spec.name)) continue;
        spec.line = line;
        spec.lineNumber = lineNumber;
        const std::string where = fontsFile + ":" + std::to_string(lineNumber) + ": ";
        std::string word;
        while (words >> word) {
            const auto eq = word.find('=');
            if (eq == std::string::npos) throw BakeError(where + "expected key=value, got \"" + word + "\"");
            const std::string key = word.substr(0, eq), value = word.substr(eq + 1);
            if (key == "face") {
                spec.face = value;
            } else if (key == "fallback") {
                spec.fallback = value;
            } else if (key == "size") {
                if (!ParseInt(value, spec.size) || spec.size < 4 || spec.size > 256)
                    throw BakeError(where + "size must be a whole number of pixels from 4 to 256");
            } else if (key == "outline") {
                if (!ParseInt(value, spec.outline) || spec.outline < 0 || spec.outline > 32)
                    throw BakeError(where + "outline must be a whole number of pixels from 0 to 32");
            } else if (key == "line") {
                if (!ParseInt(value, spec.lineHeight) || spec.lineHeight < 4 || spec.lineHeight > 512)
                    throw BakeError(where + "line must be a whole number of pixels from 4 to 512");
            } else if (key == "ink") {
                char* end = nullptr;
                spec.ink = static_cast<unsigned>(std::strtoul(value.c_str(), &end, 16));
                if (value.size() != 6 || *end != '\0')
                    throw BakeError(where + "ink must be six hex digits, rrggbb");
            } else if (key == "hinting") {
                if (value != "face" && value != "auto")
                    throw BakeError(where + "hinting must be face or auto");
                spec.autohint = value == "auto";
            } else {
                throw BakeError(where + "unknown key \"" + key +
                                "\" (face, fallback, size, outline, line, ink, hinting)");
            }
        }
        if (spec.face.empty()) throw BakeError(where + "the font needs face=<font file>");
        if (spec.size == 0) throw BakeError(where + "the font needs size=<pixels>");
        for (char c : spec.name)
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-')
                throw BakeError(where + "a font name is letters, digits, '_' and '-' only");
        if (!names.insert(spec.name).second)
            throw BakeError(where + "font \"" + spec.name + "\" is listed twice");
        fonts.push_back(spec);
    }
    return fonts;
}

namespace {

// Every glyph of the font rendered at `size` px to the em, with yOffset from the line's top.
struct GlyphSet {
    std::vector<Glyph> glyphs;
    int line = 0;  // the lowest glyph bottom below the line's top: the line the font makes
};

GlyphSet RenderGlyphs(const FontSpec& spec, FT_Library library, Face& face, Face* fallback) {
    FT_Stroker stroker = nullptr;
    if (spec.outline > 0) {
        if (FT_Stroker_New(library, &stroker)) throw BakeError("FreeType: no stroker");
        FT_Stroker_Set(stroker, spec.outline * 64, FT_STROKER_LINECAP_ROUND, FT_STROKER_LINEJOIN_ROUND, 0);
    }
    std::unique_ptr<FT_StrokerRec_, decltype(&FT_Stroker_Done)> strokerOwner(stroker, FT_Stroker_Done);

    const std::uint8_t inkR = (spec.ink >> 16) & 255, inkG = (spec.ink >> 8) & 255, inkB = spec.ink & 255;
    // Transparent pixels carry the colour of the glyph edge so filtering never fringes it.
    const std::uint8_t edgeR = spec.outline > 0 ? inkR : 255, edgeG = spec.outline > 0 ? inkG : 255,
                       edgeB = spec.outline > 0 ? inkB : 255;
    const int ascender = static_cast<int>((face.face->size->metrics.ascender + 63) >> 6) + spec.outline;

    std::vector<Glyph> glyphs;
    for (int code = 32; code <= 255; ++code) {
        if (!IsLatin1Printable(code)) continue;
        FT_Face source = face.face;
        FT_UInt index = FT_Get_Char_Index(source, static_cast<FT_ULong>(code));
        bool fromFace = true;
        if (index == 0 && fallback) {
            source = fallback->face;
            index = FT_Get_Char_Index(source, static_cast<FT_ULong>(code));
            fromFace = false;
        }
        if (index == 0) {
            if (code <= 126)
                throw BakeError("font " + spec.name + ": neither face has a glyph for character " +
                                std::to_string(code));
            continue;
        }
        const FT_Int32 hinting = spec.autohint ? FT_LOAD_FORCE_AUTOHINT : 0;
        if (FT_Load_Glyph(source, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT | hinting))
            throw BakeError("font " + spec.name + ": cannot load the glyph of character " +
                            std::to_string(code));
        GlyphHolder outline;
        if (FT_Get_Glyph(source->glyph, &outline.glyph))
            throw BakeError("font " + spec.name + ": cannot read the glyph of character " +
                            std::to_string(code));

        Glyph g;
        g.code = code;
        g.index = index;
        g.fromFace = fromFace;
        g.xAdvance = static_cast<int>((source->glyph->advance.x + 32) >> 6) + spec.outline;

        const Coverage fill = Render(outline.glyph, nullptr);
        Coverage stroke;
        if (stroker) stroke = Render(outline.glyph, stroker);
        const bool blank = fill.width == 0 && stroke.width == 0;
        if (!blank) {
            int left = fill.left, top = fill.top, right = fill.left + fill.width,
                bottom = fill.top - fill.rows;
            if (stroke.width > 0) {
                left = std::min(left, stroke.left);
                top = std::max(top, stroke.top);
                right = std::max(right, stroke.left + stroke.width);
                bottom = std::min(bottom, stroke.top - stroke.rows);
            }
            g.picture = Image(right - left, top - bottom);
            for (int y = 0; y < g.picture.height; ++y) {
                for (int x = 0; x < g.picture.width; ++x) {
                    // Fill over outline, both straight colours.
                    const double fa = fill.At(x + left - fill.left, y + fill.top - top) / 255.0;
                    const double sa = stroke.At(x + left - stroke.left, y + stroke.top - top) / 255.0;
                    const double a = fa + sa * (1.0 - fa);
                    std::uint8_t* p = g.picture.At(x, y);
                    if (a <= 0.0) {
                        p[0] = edgeR, p[1] = edgeG, p[2] = edgeB, p[3] = 0;
                        continue;
                    }
                    const double inkShare = sa * (1.0 - fa) / a;
                    p[0] = static_cast<std::uint8_t>(255 + (inkR - 255) * inkShare + 0.5);
                    p[1] = static_cast<std::uint8_t>(255 + (inkG - 255) * inkShare + 0.5);
                    p[2] = static_cast<std::uint8_t>(255 + (inkB - 255) * inkShare + 0.5);
                    p[3] = static_cast<std::uint8_t>(a * 255.0 + 0.5);
                }
            }
            g.xOffset = left + spec.outline / 2;
            g.yOffset = top;  // made relative to the line's top once every glyph is known
        }
        glyphs.push_back(std::move(g));
    }

    // Digits share one advance, so counting numbers (meters, money, timers) keep still while they
    // change instead of jittering with every narrow "1". Each digit's ink stands in the middle of
    // that cell: kept where the face's own bearings put it, a digit flush left beside one with room
    // on its left ("3" then "4") read as two numbers with a space between.
    int digitAdvance = 0;
    for (const Glyph& g : glyphs)
        if (IsDigit(g.code)) digitAdvance = std::max(digitAdvance, g.xAdvance);
    for (Glyph& g : glyphs) {
        if (!IsDigit(g.code)) continue;
        if (g.picture.width > 0)
            g.xOffset = static_cast<int>(std::floor((digitAdvance - g.picture.width) / 2.0));
        g.xAdvance = digitAdvance;
    }

    // The line's top: the face's ascender, or higher when an accented capital reaches above it, so
    // no glyph pokes out above the position the text is drawn at.
    int lineTop = ascender;
    for (const Glyph& g : glyphs)
        if (g.picture.width > 0) lineTop = std::max(lineTop, g.yOffset);
    GlyphSet set;
    for (Glyph& g : glyphs) {
        if (g.picture.width == 0) continue;
        g.yOffset = lineTop - g.yOffset;
        set.line = std::max(set.line, g.yOffset + g.picture.height);
    }
    set.glyphs = std::move(glyphs);
    return set;
}

}  // namespace

void BakeFont(const FontSpec& spec, const std::string& outDir) {
    Library library;
    // The em shrinks until the line fits what the layouts give the font.
    int size = spec.size;
    std::unique_ptr<Face> face, fallback;
    GlyphSet set;
    for (;;) {
        face = std::make_unique<Face>(library.library, spec.face, size);
        fallback = spec.fallback.empty() ? nullptr : std::make_unique<Face>(library.library, spec.fallback, size);
        set = RenderGlyphs(spec, library.library, *face, fallback.get());
        if (spec.lineHeight == 0 || set.line <= spec.lineHeight || size <= 4) break;
        --size;
    }
    std::vector<Glyph>& glyphs = set.glyphs;
    const std::uint8_t edgeR = spec.outline > 0 ? (spec.ink >> 16) & 255 : 255,
                       edgeG = spec.outline > 0 ? (spec.ink >> 8) & 255 : 255,
                       edgeB = spec.outline > 0 ? spec.ink & 255 : 255;

    // Pack the glyph pictures, each with a transparent margin, on the smallest page that holds them.
    std::vector<stbrp_rect> rects;
    long long area = 0;
    for (size_t i = 0; i < glyphs.size(); ++i) {
        if (glyphs[i].picture.width == 0) continue;
        stbrp_rect r{};
        r.id = static_cast<int>(i);
        r.w = glyphs[i].picture.width + 2 * kGlyphPadding;
        r.h = glyphs[i].picture.height + 2 * kGlyphPadding;
        area += static_cast<long long>(r.w) * r.h;
        rects.push_back(r);
    }
    int pageW = 0, pageH = 0;
    for (int side = 32; side <= 2048 && pageW == 0; side *= 2) {
        for (int h : {side / 2, side}) {
            if (static_cast<long long>(side) * h < area) continue;
            std::vector<stbrp_node> nodes(static_cast<size_t>(side));
            stbrp_context context;
            stbrp_init_target(&context, side, h, nodes.data(), side);
            if (stbrp_pack_rects(&context, rects.data(), static_cast<int>(rects.size()))) {
                pageW = side;
                pageH = h;
                break;
            }
        }
    }
    if (pageW == 0) throw BakeError("font " + spec.name + ": the glyphs do not fit a 2048 x 2048 page");

    Image page(pageW, pageH);
    for (size_t i = 0; i < page.rgba.size(); i += 4) {
        page.rgba[i] = edgeR;
        page.rgba[i + 1] = edgeG;
        page.rgba[i + 2] = edgeB;
    }
    for (const stbrp_rect& r : rects) {
        Glyph& g = glyphs[static_cast<size_t>(r.id)];
        g.x = r.x + kGlyphPadding;
        g.y = r.y + kGlyphPadding;
        for (int y = 0; y < g.picture.height; ++y)
            std::copy_n(g.picture.At(0, y), static_cast<size_t>(g.picture.width) * 4, page.At(g.x, g.y + y));
    }

    std::ostringstream text;
    text << "id,x,y,width,height,xoffset,yoffset,xadvance,page\n";
    for (const Glyph& g : glyphs)
        text << g.code << "," << g.x << "," << g.y << "," << g.picture.width << "," << g.picture.height << ","
             << g.xOffset << "," << g.yOffset << "," << g.xAdvance << ",0\n";
    // Kerning pairs between glyphs of the main face (fallback glyphs are too rare to be worth it).
    std::vector<FT_UInt> indices;
    for (const Glyph& g : glyphs)
        if (g.fromFace) indices.push_back(g.index);
    const auto kerning = ReadPairKerning(face->face, indices);
    if (!kerning.empty()) {
        text << "first,second,amount\n";
        for (const Glyph& first : glyphs) {
            if (!first.fromFace) continue;
            for (const Glyph& second : glyphs) {
                if (!second.fromFace) continue;
                // Digits sit in cells of their own width now: the face's spacing between two of
                // them was made for its own widths and no longer applies.
                if (IsDigit(first.code) && IsDigit(second.code)) continue;
                const auto it = kerning.find({first.index, second.index});
                if (it == kerning.end()) continue;
                const FT_Long scaled = FT_MulFix(it->second, face->face->size->metrics.x_scale);
                const int amount = static_cast<int>((scaled + (scaled >= 0 ? 32 : -32)) / 64);
                if (amount != 0) text << first.code << "," << second.code << "," << amount << "\n";
            }
        }
    }
    WritePng((fs::path(outDir) / (spec.name + ".png")).string(), page);
    WriteFileAtomic((fs::path(outDir) / (spec.name + ".txt")).string(), text.str());
}

}  // namespace bake
