// Recording what a frame draws: where every picture, panel, line and oval lands, and where every
// glyph of every line of text lands with the pixels under it before its line was drawn and after.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/engine.hpp"
#include "platform/graphics.hpp"
#include "tests/checker/layout.hpp"

namespace layout {

namespace {

// Texels this dark in an outlined font's page are its rim, not the body of its letters.
constexpr int kRimTexel = 48;
// Texels weaker than this (0-255) hold next to none of a glyph's ink.
constexpr int kSomeInk = 64;
// A channel that moved by more than this changed.
constexpr int kChange = 3;

const char* ShapeName(platform::WatchedDraw::Kind kind) {
    switch (kind) {
        case platform::WatchedDraw::Kind::kLine:
            return "line";
        case platform::WatchedDraw::Kind::kOval:
            return "oval";
        default:
            return "panel";
    }
}

}  // namespace

void Box::Add(const Box& o) {
    if (Empty()) {
        *this = o;
        return;
    }
    x0 = std::min(x0, o.x0);
    y0 = std::min(y0, o.y0);
    x1 = std::max(x1, o.x1);
    y1 = std::max(y1, o.y1);
}

std::string Box::Describe() const {
    char text[64];
    std::snprintf(text, sizeof text, "(x %d-%d, y %d-%d)", static_cast<int>(std::lround(x0)),
                  static_cast<int>(std::lround(x1)), static_cast<int>(std::lround(y0)),
                  static_cast<int>(std::lround(y1)));
    return text;
}

void FrameRecorder::Begin(Frame* frame, bool closely) {
    frame_ = frame;
    closely_ = closely;
    inText_ = false;
    order_ = 0;
    lastImage_ = nullptr;
}

void FrameRecorder::End() {
    frame_ = nullptr;
}

// A glyph about to be drawn: where it lands, and on a close look what lies there now and where
// the font's ink will cover it.
void FrameRecorder::Glyph(const platform::WatchedDraw& draw) {
    const Box box{draw.x0, draw.y0, draw.x1, draw.y1};
    if (current_.glyphs.empty()) {
        current_.firstLetter = box;
        // The font's capitals, at the size this glyph is drawn at.
        const float caps = capsOf_ ? capsOf_(draw.image) : 0;
        if (caps > 0 && draw.texelsHigh > 0) current_.capHeight = caps * box.Height() / draw.texelsHigh;
    }
    current_.box.Add(box);
    DrawnGlyph& glyph = current_.glyphs.emplace_back();
    glyph.box = box;
    if (!closely_) return;
    const int ring = DrawnGlyph::kRing;
    const int x0 = std::max(0, static_cast<int>(std::floor(box.x0)) - ring);
    const int y0 = std::max(0, static_cast<int>(std::floor(box.y0)) - ring);
    const int x1 = std::min(frame_->width, static_cast<int>(std::ceil(box.x1)) + ring);
    const int y1 = std::min(frame_->height, static_cast<int>(std::ceil(box.y1)) + ring);
    if (x1 <= x0 || y1 <= y0) return;
    glyph.x = x0, glyph.y = y0, glyph.w = x1 - x0, glyph.h = y1 - y0;
    glyph.under = platform::driver::ReadPixels(x0, y0, glyph.w, glyph.h);
    if (glyph.under.size() != static_cast<size_t>(glyph.w) * glyph.h * 4) {
        glyph.w = glyph.h = 0;
        glyph.under.clear();
        return;
    }
    // The font's texel under each pixel's middle (the glyph drawn upright, stretched to its box).
    const size_t count = static_cast<size_t>(glyph.w) * glyph.h;
    std::vector<uint8_t> alpha(count, 0);
    glyph.ink.assign(count, DrawnGlyph::kClear);
    int strongest = 0;
    const float sx = draw.texelsWide / box.Width(), sy = draw.texelsHigh / box.Height();
    for (int y = 0; y < glyph.h; ++y) {
        for (int x = 0; x < glyph.w; ++x) {
            const float px = static_cast<float>(x0 + x) + 0.5f, py = static_cast<float>(y0 + y) + 0.5f;
            if (!box.Holds(px, py)) continue;
            const float u = draw.u + (px - box.x0) * sx, v = draw.v + (py - box.y0) * sy;
            unsigned char texel[4];
            if (!platform::KeptTexel(draw.image, static_cast<int>(std::floor(u)),
                                     static_cast<int>(std::floor(v)), texel)) {
                // A font that keeps no pixels: its ink is found from what drawing it changed.
                glyph.ink.clear();
                return;
            }
            const size_t at = static_cast<size_t>(y) * glyph.w + x;
            alpha[at] = texel[3];
            if (texel[3] >= kSomeInk && std::max({texel[0], texel[1], texel[2]}) < kRimTexel) {
                glyph.ink[at] = DrawnGlyph::kRim;
            } else {
                strongest = std::max(strongest, static_cast<int>(texel[3]));
            }
        }
    }
    // The letter is its strong ink; its softer ink is the letter's edge.
    for (size_t i = 0; i < count; ++i) {
        if (glyph.ink[i] == DrawnGlyph::kRim || alpha[i] < kSomeInk) continue;
        glyph.ink[i] = alpha[i] * 2 >= strongest ? DrawnGlyph::kBody : DrawnGlyph::kEdge;
    }
}

bool FrameRecorder::Draw(const platform::WatchedDraw& draw) {
    if (!frame_) return true;
    const Box box{draw.x0, draw.y0, draw.x1, draw.y1};
    const int order = order_++;
    if (inText_) {
        if (!box.Empty()) Glyph(draw);
        return true;
    }
    const platform::Image* previous = lastImage_;
    const platform::Image* image = draw.image;
    lastImage_ = image;
    const std::string name = image ? pictureName_(image) : ShapeName(draw.kind);
    if (box.Empty() || !std::isfinite(box.x0 + box.x1 + box.y0 + box.y1)) return true;
    frame_->pictures.push_back({name, box, order});
    if (image ? !holdsText_(name) : draw.kind != platform::WatchedDraw::Kind::kRect) return true;
    // The pieces of one frame picture (its quarters) come one after another and touch: one holder.
    // The same picture laid over the last one from its left edge, as tall and shorter (a meter's
    // fill on its track), is not one of its pieces.
    if (image && image == previous && !frame_->holders.empty()) {
        DrawnHolder& last = frame_->holders.back();
        Box grown = last.box;
        grown.x0 -= 1, grown.y0 -= 1, grown.x1 += 1, grown.y1 += 1;
        const bool fill = std::fabs(box.x0 - last.box.x0) <= 1 && std::fabs(box.y0 - last.box.y0) <= 1 &&
                          std::fabs(box.y1 - last.box.y1) <= 1 && box.x1 < last.box.x1 - 1;
        if (last.order == order - 1 && grown.Overlaps(box) && !fill) {
            last.box.Add(box);
            last.order = order;
            return true;
        }
    }
    frame_->holders.push_back({name, box, order});
    return true;
}

void FrameRecorder::TextBegins(const char* text, size_t length) {
    if (!frame_) return;
    inText_ = true;
    current_ = DrawnText{};
    current_.text.assign(text, length);
    current_.order = order_;
    current_.alpha = platform::GetAlpha();
}

void FrameRecorder::TextEnds() {
    if (!frame_ || !inText_) return;
    inText_ = false;
    lastImage_ = nullptr;
    if (current_.glyphs.empty()) return;
    if (closely_) {
        for (size_t i = 0; i < current_.glyphs.size(); ++i) {
            DrawnGlyph& glyph = current_.glyphs[i];
            if (glyph.w == 0) continue;
            glyph.after = platform::driver::ReadPixels(glyph.x, glyph.y, glyph.w, glyph.h);
            if (glyph.after.size() != glyph.under.size()) glyph.after = glyph.under;
            // Where an earlier glyph of the line lies too, what was there before the line is what
            // that glyph found.
            for (int y = 0; y < glyph.h; ++y) {
                for (int x = 0; x < glyph.w; ++x) {
                    const int sx = glyph.x + x, sy = glyph.y + y;
                    for (size_t j = 0; j < i; ++j) {
                        const DrawnGlyph& earlier = current_.glyphs[j];
                        if (earlier.w == 0 || sx < earlier.x || sy < earlier.y ||
                            sx >= earlier.x + earlier.w || sy >= earlier.y + earlier.h)
                            continue;
                        const size_t from =
                            (static_cast<size_t>(sy - earlier.y) * earlier.w + (sx - earlier.x)) * 4;
                        const size_t to = (static_cast<size_t>(y) * glyph.w + x) * 4;
                        std::copy_n(&earlier.under[from], 4, &glyph.under[to]);
                        break;
                    }
                }
            }
        }
        for (DrawnGlyph& glyph : current_.glyphs) {
            const size_t count = static_cast<size_t>(glyph.w) * glyph.h;
            if (glyph.w == 0 || glyph.ink.size() == count) continue;
            glyph.ink.assign(count, DrawnGlyph::kClear);
            for (size_t i = 0; i < count; ++i) {
                for (int c = 0; c < 3; ++c)
                    if (std::abs(glyph.after[i * 4 + c] - glyph.under[i * 4 + c]) > kChange)
                        glyph.ink[i] = DrawnGlyph::kBody;
            }
        }
    }
    frame_->texts.push_back(std::move(current_));
    current_ = DrawnText{};
}

}  // namespace layout
