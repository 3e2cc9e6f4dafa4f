// Bitmap fonts: loading glyph metrics and kerning, measuring and drawing text, and the font slots.
#include "core/glyphfont.hpp"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

#include "core/strings.hpp"
#include "platform/app.hpp"
#include "platform/storage.hpp"

namespace {

std::string_view Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
    return s.substr(b, e - b);
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

// No glyph of a page the renderer can hold measures or moves more than this; a font file with a
// larger number is damaged, and sums of such numbers would overflow.
constexpr int kMaxMetric = 8192;

bool Sane(int value) {
    return value >= -kMaxMetric && value <= kMaxMetric;
}

// Past this the pen has left every screen; drawing stops before the offset could overflow.
constexpr int kFarPen = 1 << 24;

const std::array<const char*, Fonts::kSlots> kIds = {"oxb", "ob", "on", "os", "oxs", "b", "n", "s"};
const std::array<const char*, Fonts::kSlots> kFiles = {"YikesH96", "YikesH64", "YikesH32", "YikesH24",
                                                       "YikesH16", "Yikes32",  "Yikes24",  "Yikes16"};
std::array<std::unique_ptr<GlyphFont>, Fonts::kSlots> slots;

int SlotIndex(const std::string& id) {
    for (int i = 0; i < Fonts::kSlots; ++i)
        if (id == kIds[i]) return i;
    return -1;
}

}  // namespace

void Char::Draw3(const platform::ImagePtr& page, int penX, int penY) const {
    if (!page) return;
    platform::DrawImageRect(page, static_cast<float>(penX + xOffset), static_cast<float>(penY + yOffset),
                            static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                            static_cast<float>(height), 0);
}

GlyphFont::GlyphFont(const std::string& fontName) {
    if (!fontName.empty()) {
        LoadFont(fontName);
        name = fontName;
    }
}

void GlyphFont::LoadFont(const std::string& fontName) {
    ForgetLines();
    iniText = platform::LoadString(platform::DataPath(fontName + ".txt"));
    // Without its text file the font has no glyphs and draws nothing; worth one line.
    if (iniText.empty()) {
        platform::PrintLine("Font " + fontName + ": " + fontName + ".txt is missing or empty");
    } else if (iniText.back() != '\n') {
        // Every line of a font file ends with a line break; one without is the end of a file cut
        // short.
        platform::PrintLine("Font " + fontName + ": " + fontName + ".txt ends in the middle of a line");
    }
    int dropped = 0;
    int unreadable = 0;
    int absurd = 0;
    std::vector<int> fields;
    const std::string_view text = iniText;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t nl = text.find('\n', pos);
        if (nl == std::string_view::npos) nl = text.size();
        std::string_view line = Trim(text.substr(pos, nl - pos));
        pos = nl + 1;
        if (line.empty() || StartsWith(line, "id,") || StartsWith(line, "first,")) continue;
        fields.clear();
        size_t start = 0;
        for (;;) {
            size_t comma = line.find(',', start);
            fields.push_back(StringToInt(Trim(line.substr(start, comma - start))));
            if (comma == std::string_view::npos) break;
            start = comma + 1;
        }
        if (fields.size() >= 3 && !std::all_of(fields.begin(), fields.end(), Sane)) {
            ++absurd;
            continue;
        }
        if (fields.size() == 3) {
            KernPair& pair = kernPairs[fields[0]][fields[1]];
            pair.first = std::to_string(fields[0]);
            pair.second = std::to_string(fields[1]);
            pair.amount = fields[2];
        } else if (fields.size() >= 8) {
            // Glyph ids beyond the 256-entry table (a font exported with other code pages) are
            // dropped rather than written past it; a line without its page field reads page 0.
            int id = fields[0];
            if (id < 0 || id > 255) {
                ++dropped;
                continue;
            }
            auto glyph = std::make_unique<Char>();
            glyph->x = fields[1];
            glyph->y = fields[2];
            glyph->width = fields[3];
            glyph->height = fields[4];
            glyph->xOffset = fields[5];
            glyph->yOffset = fields[6];
            glyph->xAdvance = fields[7];
            glyph->page = fields.size() >= 9 ? fields[8] : 0;
            if (glyph->height > height) height = glyph->height;
            if (glyph->yOffset < heightOffset) heightOffset = glyph->yOffset;
            chars[id] = std::move(glyph);
        } else {
            ++unreadable;
        }
    }
    if (unreadable > 0) {
        platform::PrintLine("Font " + fontName + ": " + fontName + ".txt has " + std::to_string(unreadable) +
                            " lines that are neither a glyph nor a kerning pair");
    }
    // Game texts are plain printable ASCII: a font without all of it (one cut short, say) leaves
    // gaps in them.
    int gaps = 0;
    for (int c = 32; c < 127; ++c) {
        if (!chars[c]) ++gaps;
    }
    if (gaps > 0 && !iniText.empty()) {
        platform::PrintLine("Font " + fontName + ": " + fontName + ".txt has no glyph for " +
                            std::to_string(gaps) + " of the printable characters");
    }
    if (absurd > 0) {
        platform::PrintLine("Font " + fontName + ": " + fontName + ".txt has " + std::to_string(absurd) +
                            " lines with numbers beyond " + std::to_string(kMaxMetric) +
                            " pixels; they are left out");
    }
    if (dropped > 0) {
        platform::PrintLine("Font " + fontName + ": " + fontName + ".txt has " + std::to_string(dropped) +
                            " glyphs outside codes 0 to 255; they are left out");
    }
    // The page's pixels stay at hand: lines drawn again are put together from them.
    image[0] = platform::LoadImage(platform::DataPath(fontName + ".png"), 1, platform::kKeepPixels);
    if (!image[0] && !iniText.empty()) {
        platform::PrintLine("Font " + fontName + " has no page image; its text will not be drawn");
    }
}

int GlyphFont::TextWidth(const std::string& text) const {
    // Every advance is bounded, but a text may be as long as a data file.
    int64_t width = 0;
    for (unsigned char c : text) {
        if (chars[c]) width += chars[c]->xAdvance;
    }
    return static_cast<int>(std::clamp<int64_t>(width, INT_MIN, INT_MAX));
}

int GlyphFont::TextHeight(const std::string& text) const {
    int result = 0;
    bool any = false;
    for (unsigned char c : text) {
        if (!chars[c]) continue;
        int h = chars[c]->height + chars[c]->yOffset;
        if (!any || h > result) result = h;
        any = true;
    }
    return any ? result : 0;
}

const KernPair* GlyphFont::FindKernPair(int first, int second) const {
    auto outer = kernPairs.find(first);
    if (outer == kernPairs.end()) return nullptr;
    auto inner = outer->second.find(second);
    return inner == outer->second.end() ? nullptr : &inner->second;
}

void GlyphFont::ForgetLines() {
    drawnLines.clear();
    seenLines.fill(SeenLine{});
    seenNext = 0;
}

namespace {

// At most this many lines are kept per font; a screen that shows more than this at once keeps
// working, only with fewer of its lines remembered.
constexpr size_t kMaxLines = 512;
// A line not drawn in this many of the font's draws, or for this long, is off the screen: its slot
// goes to a new line before another slot is made. The time matters on screens that draw few lines
// of a font: a banner's line that went a moment ago gives its slot to the line after it.
constexpr uint32_t kStaleDraws = 512;
constexpr int64_t kStaleMs = 250;
// The draws a line waits for its slot: lines drawn no longer than this are not worth putting
// together.
constexpr int kDrawsBeforeKept = 4;

}  // namespace

GlyphFont::DrawnLine* GlyphFont::SlotForNewLine(int w, int h) {
    // The slot drawn least lately, and the one of those off the screen whose picture has room for
    // this line (so that its texture is kept).
    DrawnLine* oldest = nullptr;
    DrawnLine* roomy = nullptr;
    for (DrawnLine& line : drawnLines) {
        if (line.hash == 0) return &line;
        if (!oldest || line.lastUse < oldest->lastUse) oldest = &line;
        const bool stale = drawCount - line.lastUse > kStaleDraws || drawMs - line.lastMs > kStaleMs;
        if (stale && (!roomy || line.lastUse < roomy->lastUse) && platform::PictureFits(line.picture, w, h))
            roomy = &line;
    }
    if (roomy) return roomy;
    const bool stale = oldest && (drawCount - oldest->lastUse > kStaleDraws || drawMs - oldest->lastMs > kStaleMs);
    if (oldest && (stale || drawnLines.size() >= kMaxLines)) return oldest;
    if (drawnLines.capacity() < kMaxLines) drawnLines.reserve(kMaxLines);
    return &drawnLines.emplace_back();
}

bool GlyphFont::DrawRemembered(const std::string& text, int x, int y) {
    if (!image[0] || text.empty() || !platform::UnitScale()) return false;
    ++drawCount;
    drawMs = platform::Millisecs();
    const size_t hash = std::hash<std::string>{}(text) | 1;  // 0 marks an empty slot
    DrawnLine* found = nullptr;
    for (DrawnLine& line : drawnLines) {
        if (line.hash == hash && line.kerning == useKerning && line.text == text) {
            found = &line;
            break;
        }
    }
    if (!found) {
        // A line being typed out changes every few frames: it is drawn glyph by glyph until it
        // has held still for a few draws, and only then gets a slot.
        SeenLine* seen = nullptr;
        for (SeenLine& line : seenLines) {
            if (line.hash == hash) seen = &line;
        }
        if (!seen) {
            seenLines[seenNext++ % seenLines.size()] = SeenLine{hash, 1};
            return false;
        }
        if (++seen->draws < kDrawsBeforeKept) return false;
        seen->hash = 0;
        // The glyphs laid out exactly as DrawText lays them out, and the box they fill.
        pieces.clear();
        int pen = 0, previous = 0;
        int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
        for (unsigned char c : text) {
            const Char* glyph = chars[c].get();
            if (!glyph) continue;
            if (useKerning) {
                if (const KernPair* pair = FindKernPair(previous, c)) pen += pair->amount;
            }
            if (glyph->page == 0) {
                pieces.push_back(platform::Piece{platform::Rect{glyph->x, glyph->y, glyph->width, glyph->height},
                                                 pen + glyph->xOffset, glyph->yOffset});
                if (glyph->width > 0 && glyph->height > 0) {
                    left = std::min(left, pen + glyph->xOffset);
                    top = std::min(top, glyph->yOffset);
                    right = std::max(right, pen + glyph->xOffset + glyph->width);
                    bottom = std::max(bottom, glyph->yOffset + glyph->height);
                }
            }
            pen += glyph->xAdvance;
            previous = c;
        }
        found = right > left ? SlotForNewLine(right - left, bottom - top) : SlotForNewLine(0, 0);
        found->hash = 0;
        found->shows =
            !pieces.empty() && platform::RecomposeImage(found->picture, image[0], pieces.data(), static_cast<int>(pieces.size()));
        // A page without its pixels cannot be put together: the glyphs are drawn one by one.
        if (!found->shows && !pieces.empty()) return false;
        // Room for a longer line than this one, so that the slot's string seldom grows again.
        if (found->text.capacity() < text.size()) found->text.reserve((text.size() + 63) / 64 * 64);
        found->text.assign(text);
        found->hash = hash;
        found->kerning = useKerning;
        found->advance = pen;
    }
    found->lastUse = drawCount;
    found->lastMs = drawMs;
    if (found->shows) platform::DrawImage(found->picture, static_cast<float>(x), static_cast<float>(y));
    xOffset = found->advance;
    return true;
}

template <typename DrawGlyph>
void GlyphFont::WalkGlyphs(const std::string& text, DrawGlyph draw) {
    xOffset = 0;
    int previous = 0;
    for (unsigned char c : text) {
        const Char* glyph = chars[c].get();
        if (!glyph) continue;
        if (useKerning) {
            if (const KernPair* pair = FindKernPair(previous, c)) xOffset += pair->amount;
        }
        // Only the one page exists; glyphs that claim another page are measured but not drawn.
        if (glyph->page == 0 && image[0]) draw(*glyph, xOffset);
        xOffset += glyph->xAdvance;
        if (xOffset > kFarPen || xOffset < -kFarPen) break;
        previous = c;
    }
}

void GlyphFont::DrawText(const std::string& text, int x, int y) {
    // A watched frame (the layout check) sees each glyph's own box, so it skips the kept lines.
    if (!platform::BeginText(text.data(), text.size()) && DrawRemembered(text, x, y)) return;
    WalkGlyphs(text, [&](const Char& glyph, int pen) { glyph.Draw3(image[0], x + pen, y); });
    platform::EndText();
}

void GlyphFont::DrawTextIn(const std::string& text, int x, int y, float left, float top, float right,
                           float bottom) {
    // Drawn glyph by glyph: a remembered line is one picture, which cannot be cut at a glyph.
    platform::BeginText(text.data(), text.size());
    WalkGlyphs(text, [&](const Char& glyph, int pen) {
        const float glyphLeft = static_cast<float>(x + pen + glyph.xOffset);
        const float glyphTop = static_cast<float>(y + glyph.yOffset);
        const float x0 = std::max(left, glyphLeft);
        const float x1 = std::min(right, glyphLeft + static_cast<float>(glyph.width));
        const float y0 = std::max(top, glyphTop);
        const float y1 = std::min(bottom, glyphTop + static_cast<float>(glyph.height));
        if (x0 >= x1 || y0 >= y1) return;
        platform::DrawImageRect(image[0], x0, y0, static_cast<float>(glyph.x) + (x0 - glyphLeft),
                                static_cast<float>(glyph.y) + (y0 - glyphTop), x1 - x0, y1 - y0, 0);
    });
    platform::EndText();
}

void GlyphFont::DrawText2(const std::string& text, int x, int y, int align) {
    switch (align) {
        case 0:
            DrawText(text, x, y);
            break;
        case 1:
            DrawText(text, x - TextWidth(text) / 2, y);
            break;
        case 2:
            DrawText(text, x - TextWidth(text), y);
            break;
        default:
            break;
    }
}

const std::array<const char*, Fonts::kSlots>& Fonts::Ids() {
    return kIds;
}

const char* Fonts::FileFor(const std::string& id) {
    int i = SlotIndex(id);
    return i < 0 ? "" : kFiles[i];
}

GlyphFont* Fonts::Get(const std::string& id) {
    int i = SlotIndex(id);
    return i < 0 ? nullptr : slots[i].get();
}

bool Fonts::Set(const std::string& id, std::unique_ptr<GlyphFont> font) {
    int i = SlotIndex(id);
    if (i < 0) return false;
    slots[i] = std::move(font);
    return true;
}

void Fonts::Reset() {
    for (auto& slot : slots) slot.reset();
}
