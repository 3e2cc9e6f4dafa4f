// How a line's ink reads: glyph by glyph, its letter against what lies right round it, as the
// line was drawn and as the frame finally shows it.
#include <algorithm>
#include <cmath>

#include "tests/checker/layout.hpp"

namespace layout {

namespace {

// Ink drawn over so that a channel moves by more than this is hidden (a faint tint laid over it
// is not).
constexpr int kHidden = 40;
// A letter with less body than this is too thin (an "l", a stop) to tell its colour by.
constexpr size_t kThin = 8;
// What lies within this many pixels of a letter is what it is drawn on.
constexpr int kRound = 2;
// A glyph whose pattern of light and dark the frame as shown keeps this closely (a correlation)
// still shows.
constexpr double kKept = 0.6;

double Linear(uint8_t channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const uint8_t* p) {
    return 0.2126 * Linear(p[0]) + 0.7152 * Linear(p[1]) + 0.0722 * Linear(p[2]);
}

bool Changed(const uint8_t* a, const uint8_t* b, int by) {
    for (int c = 0; c < 3; ++c)
        if (std::abs(a[c] - b[c]) > by) return true;
    return false;
}

// The kind of the line's ink at screen pixel (x, y): the strongest any of its glyphs lays there
// (a letter or its edge over a rim, a rim over nothing).
DrawnGlyph::Ink LineInk(const DrawnText& text, int x, int y) {
    const auto rank = [](DrawnGlyph::Ink ink) {
        return ink == DrawnGlyph::kRim ? 1 : ink == DrawnGlyph::kClear ? 0 : 2;
    };
    DrawnGlyph::Ink strongest = DrawnGlyph::kClear;
    for (const DrawnGlyph& glyph : text.glyphs) {
        if (glyph.w == 0 || x < glyph.x || y < glyph.y || x >= glyph.x + glyph.w || y >= glyph.y + glyph.h)
            continue;
        const auto ink = static_cast<DrawnGlyph::Ink>(
            glyph.ink[static_cast<size_t>(y - glyph.y) * glyph.w + (x - glyph.x)]);
        if (rank(ink) > rank(strongest)) strongest = ink;
    }
    return strongest;
}

double Median(std::vector<double>& values) {
    const auto middle = values.begin() + static_cast<long>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

double Ratio(double a, double b) {
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The contrast of glyph `g`'s letter with what lies right round it, its pixels' colours told by
// `colour(index in the glyph, screen x, screen y)`.
template <typename Colour>
double Read(const DrawnText& text, size_t g, std::vector<double>& scratch, bool* thin, Colour colour) {
    const DrawnGlyph& glyph = text.glyphs[g];
    const size_t count = static_cast<size_t>(glyph.w) * glyph.h;
    if (glyph.w == 0 || glyph.ink.size() != count || glyph.after.size() != count * 4) return -1;
    // The letter as it shows, from its darker quarter to its lighter: a letter with a bevel or a
    // gradient reads by whichever end stands out.
    scratch.clear();
    for (size_t i = 0; i < count; ++i) {
        if (glyph.ink[i] != DrawnGlyph::kBody) continue;
        scratch.push_back(Luminance(
            colour(i, glyph.x + static_cast<int>(i % glyph.w), glyph.y + static_cast<int>(i / glyph.w))));
    }
    if (scratch.size() < 2) return -1;
    if (thin) *thin = scratch.size() < kThin;
    std::sort(scratch.begin(), scratch.end());
    const double dark = scratch[scratch.size() / 4], light = scratch[scratch.size() * 3 / 4];
    // What it is drawn on, right round it (a shadow drawn before it included), and its outline
    // where the font has one: the letter reads against the better of the two. No letter of the
    // line counts as what lies round another.
    std::vector<double> ground, rim;
    for (int y = 0; y < glyph.h; ++y) {
        for (int x = 0; x < glyph.w; ++x) {
            const size_t at = static_cast<size_t>(y) * glyph.w + x;
            const int sx = glyph.x + x, sy = glyph.y + y;
            const DrawnGlyph::Ink ink = LineInk(text, sx, sy);
            if (ink == DrawnGlyph::kRim && glyph.ink[at] == DrawnGlyph::kRim) {
                rim.push_back(Luminance(colour(at, sx, sy)));
                continue;
            }
            if (ink != DrawnGlyph::kClear) continue;
            bool near = false;
            for (int dy = -kRound; dy <= kRound && !near; ++dy) {
                for (int dx = -kRound; dx <= kRound && !near; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    near = nx >= 0 && ny >= 0 && nx < glyph.w && ny < glyph.h &&
                           glyph.ink[static_cast<size_t>(ny) * glyph.w + nx] == DrawnGlyph::kBody;
                }
            }
            if (near) ground.push_back(Luminance(colour(at, sx, sy)));
        }
    }
    const auto against = [dark, light](std::vector<double>& round) {
        if (round.size() < 2) return -1.0;
        const double l = Median(round);
        return std::max(Ratio(dark, l), Ratio(light, l));
    };
    // A rim carries the letter only where it runs round it, not where a speck of one shows.
    const double onRim = rim.size() * 4 >= scratch.size() ? against(rim) : -1.0;
    return std::max(against(ground), onRim);
}

bool WholeFrame(const Frame& frame) {
    return frame.pixels.size() >= static_cast<size_t>(frame.width) * frame.height * 4;
}

}  // namespace

double GlyphContrast(const DrawnText& text, size_t g, std::vector<double>& scratch, bool* thin) {
    const DrawnGlyph& glyph = text.glyphs[g];
    return Read(text, g, scratch, thin, [&glyph](size_t i, int, int) { return &glyph.after[i * 4]; });
}

bool StillShows(const Frame& frame, const DrawnText& text) {
    if (!WholeFrame(frame)) return true;
    // A glyph still shows where the frame as shown keeps its pattern of light and dark: seen
    // through a tint, the two go together; under a cover, what shows has nothing to do with it.
    int seen = 0, told = 0;
    for (const DrawnGlyph& glyph : text.glyphs) {
        const size_t count = static_cast<size_t>(glyph.w) * glyph.h;
        if (glyph.w == 0 || glyph.after.size() != count * 4) continue;
        double sa = 0, sn = 0, saa = 0, snn = 0, san = 0;
        for (size_t i = 0; i < count; ++i) {
            const int x = glyph.x + static_cast<int>(i % glyph.w),
                      y = glyph.y + static_cast<int>(i / glyph.w);
            const double a = Luminance(&glyph.after[i * 4]);
            const double n = Luminance(&frame.pixels[(static_cast<size_t>(y) * frame.width + x) * 4]);
            sa += a, sn += n, saa += a * a, snn += n * n, san += a * n;
        }
        const double c = static_cast<double>(count);
        const double va = saa - sa * sa / c, vn = snn - sn * sn / c, cov = san - sa * sn / c;
        // A glyph on a ground of its own colour has no pattern to keep.
        if (va <= 1e-6 * c) continue;
        ++told;
        seen += vn > 1e-6 * c && cov / std::sqrt(va * vn) >= kKept ? 1 : 0;
    }
    return told == 0 || seen * 2 >= told;
}

int HiddenInk(const Frame& frame, const DrawnText& text, const Box& within) {
    if (!WholeFrame(frame)) return 0;
    int hidden = 0;
    for (const DrawnGlyph& glyph : text.glyphs) {
        const size_t count = static_cast<size_t>(glyph.w) * glyph.h;
        if (glyph.w == 0 || glyph.ink.size() != count || glyph.after.size() != count * 4) continue;
        for (size_t i = 0; i < count; ++i) {
            if (glyph.ink[i] == DrawnGlyph::kClear) continue;
            const int x = glyph.x + static_cast<int>(i % glyph.w),
                      y = glyph.y + static_cast<int>(i / glyph.w);
            if (!within.Holds(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f)) continue;
            const uint8_t* now = &frame.pixels[(static_cast<size_t>(y) * frame.width + x) * 4];
            if (Changed(now, &glyph.after[i * 4], kHidden)) ++hidden;
        }
    }
    return hidden;
}

}  // namespace layout
