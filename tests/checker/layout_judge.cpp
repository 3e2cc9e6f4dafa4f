// Judging the texts of a recorded frame: overlaps, texts leaving what holds them or the screen,
// texts hidden under what is drawn after them, texts too faint or too small to read.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tests/checker/layout.hpp"

namespace layout {

namespace {

constexpr float kSlack = 0.5f;  // quads land on fractions of a pixel
// The contrast a glyph must reach against what lies under it; a meter's number over the meter's
// fill, which changes under it as the meter fills, must reach more.
constexpr double kMinContrast = 3.0;
constexpr double kMeterContrast = 4.5;
// Capitals shorter than this on the screen are too small to read comfortably.
constexpr float kMinCapHeight = 8.0f;
// Fewer pixels than this of a text's ink are too few to tell anything by.
constexpr int kSomePixels = 4;

bool Within(const Box& inner, const Box& outer) {
    return inner.x0 >= outer.x0 - kSlack && inner.y0 >= outer.y0 - kSlack && inner.x1 <= outer.x1 + kSlack &&
           inner.y1 <= outer.y1 + kSlack;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

bool StartsWith(const std::string& name, const char* kind) {
    return name.rfind(kind, 0) == 0;
}

// A meter's fill: a panel laid inside an earlier holder (its track) from the track's left edge, as
// tall as the track (both within a thin border) and shorter. It is part of the meter, not a holder
// of its own: a meter's number is set on the whole track, whatever share of it the fill covers.
bool MeterFill(const Frame& frame, const DrawnHolder& fill) {
    constexpr float kBorder = 3.0f;
    for (const DrawnHolder& track : frame.holders) {
        if (track.order >= fill.order) break;
        if (Within(fill.box, track.box) && fill.box.x0 - track.box.x0 <= kBorder &&
            fill.box.y0 - track.box.y0 <= kBorder && track.box.y1 - fill.box.y1 <= kBorder &&
            fill.box.x1 < track.box.x1 - kBorder)
            return true;
    }
    return false;
}

// The smallest holder drawn before the text that holds its middle or its first letter's middle.
const DrawnHolder* HolderOf(const Frame& frame, const DrawnText& text) {
    const float mx = (text.box.x0 + text.box.x1) * 0.5f, my = (text.box.y0 + text.box.y1) * 0.5f;
    const float fx = (text.firstLetter.x0 + text.firstLetter.x1) * 0.5f;
    const DrawnHolder* best = nullptr;
    for (const DrawnHolder& holder : frame.holders) {
        if (holder.order > text.order) break;
        if (!holder.box.Holds(mx, my) && !holder.box.Holds(fx, my)) continue;
        if (MeterFill(frame, holder)) continue;
        if (!best || holder.box.Width() * holder.box.Height() < best->box.Width() * best->box.Height())
            best = &holder;
    }
    return best;
}

// A popup's title is set across the top edge of its frame: it leaves the frame only upwards, by less
// than half its height, and stays between the frame's sides. Nothing else is drawn so.
bool HeadingOn(const Box& text, const DrawnHolder& holder) {
    const Box& frame = holder.box;
    const bool popupFrame = StartsWith(holder.name, "FRAME") || StartsWith(holder.name, "LEVELUPBG");
    return popupFrame && text.y0 < frame.y0 && text.y1 > frame.y0 + text.Height() * 0.5f &&
           text.y1 <= frame.y1 && text.x0 >= frame.x0 - kSlack && text.x1 <= frame.x1 + kSlack;
}

// What a popup or a speech is laid on: a bubble, a popup's frame, or the picture a popup such as
// the power-up tree has for its frame. Nothing it hides is meant to be read while it is up.
bool PopupGround(const std::string& name) {
    return StartsWith(name, "BUBBLE") || StartsWith(name, "FRAME") || StartsWith(name, "LEVELUPBG");
}

// The text is hidden by the ground of a popup drawn after it (a place's name under a dialogue or
// under the power-up tree, a popup waiting behind another): the ground lies over it and the frame
// as shown no longer shows it. Hidden under anything else (a button, a panel) it is a fault and
// is judged; seen through a ground, it is judged as well.
bool HiddenByPopup(const Frame& frame, const DrawnText& text) {
    for (const DrawnHolder& ground : frame.holders) {
        if (ground.order > text.order && PopupGround(ground.name) && ground.box.Overlaps(text.box))
            return !StillShows(frame, text);
    }
    return false;
}

// A popup's ground is drawn after the text: the text lies behind the popup, and what the popup
// lays over it (its frame, its figures, its bars) is the popup's doing.
bool BehindPopup(const Frame& frame, const DrawnText& text) {
    for (const DrawnHolder& ground : frame.holders)
        if (ground.order > text.order && PopupGround(ground.name)) return true;
    return false;
}

// The first picture, panel, line or oval drawn after the text that hides some of its ink.
const DrawnHolder* CoverOf(const Frame& frame, const DrawnText& text) {
    if (BehindPopup(frame, text)) return nullptr;
    for (const DrawnHolder& picture : frame.pictures) {
        if (picture.order <= text.order || !picture.box.Overlaps(text.box, kSlack)) continue;
        if (HiddenInk(frame, text, picture.box) >= kSomePixels) return &picture;
    }
    return nullptr;
}

// Drawn at half strength or less: the game dims what cannot be used now (a power not paid for,
// the fighter who waits for the other) and lays faint copies of a title round it, on purpose.
bool Faint(const DrawnText& text) {
    return text.alpha <= 0.55f;
}

// The same words drawn again at nearly the same spot, or faintly about it: a text and its shadow
// or echo. A copy cut short by a clip (a meter number's ring, drawn only over the fill) keeps one
// of its ends where the whole copy has it.
bool Echo(const DrawnText& a, const DrawnText& b) {
    if (a.text != b.text) return false;
    if (Faint(a) || Faint(b)) return true;
    const float near = std::max(3.0f, std::min(a.box.Height(), b.box.Height()) * 0.25f);
    // Compared doubled, so a middle is its two ends summed.
    const auto close = [near](float p, float q) { return std::fabs(p - q) * 0.5f <= near; };
    return (close(a.box.x0 + a.box.x1, b.box.x0 + b.box.x1) || close(2 * a.box.x0, 2 * b.box.x0) ||
            close(2 * a.box.x1, 2 * b.box.x1)) &&
           close(a.box.y0 + a.box.y1, b.box.y0 + b.box.y1);
}

// The same words drawn over one another at one spot (a title and its fading copies): read as one.
bool SameSpot(const DrawnText& a, const DrawnText& b) {
    return a.text == b.text && std::fabs(a.box.x0 - b.box.x0) <= 1 && std::fabs(a.box.x1 - b.box.x1) <= 1 &&
           std::fabs(a.box.y0 - b.box.y0) <= 1 && std::fabs(a.box.y1 - b.box.y1) <= 1;
}

// The same words drawn again over the text, at nearly the same spot: the text is its shadow, and
// the copy over it is what is read.
bool Underlay(const Frame& frame, size_t i, const std::vector<bool>& hidden) {
    const DrawnText& text = frame.texts[i];
    for (size_t j = i + 1; j < frame.texts.size(); ++j) {
        const DrawnText& over = frame.texts[j];
        if (!hidden[j] && !Faint(over) && over.text == text.text && Echo(text, over) && !SameSpot(text, over))
            return true;
    }
    return false;
}

bool OnMap(const Frame& frame, const DrawnText& text) {
    const float mx = (text.box.x0 + text.box.x1) * 0.5f, my = (text.box.y0 + text.box.y1) * 0.5f;
    for (const layout::PlaceName& place : frame.placeNames)
        if (place.words == text.text && place.area.Holds(mx, my)) return true;
    return false;
}

// How well a text reads: its worst glyph, measured against what that glyph must reach.
struct Reading {
    double contrast = -1;  // negative: nothing to tell
    double needed = kMinContrast;
    Box glyph;
    bool Poor() const { return contrast >= 0 && contrast < needed; }
    double Margin() const { return contrast < 0 ? 1e9 : contrast / needed; }
};

Reading Read(const DrawnText& text, const std::vector<Box>& fills, std::vector<double>& scratch) {
    // Thin letters (an "l", a stop) tell only when nothing else in the line does.
    Reading worst, worstThin;
    for (size_t g = 0; g < text.glyphs.size(); ++g) {
        const DrawnGlyph& glyph = text.glyphs[g];
        bool thin = false;
        const double contrast = GlyphContrast(text, g, scratch, &thin);
        if (contrast < 0) continue;
        Reading reading{contrast, kMinContrast, glyph.box};
        const float mx = (glyph.box.x0 + glyph.box.x1) * 0.5f, my = (glyph.box.y0 + glyph.box.y1) * 0.5f;
        for (const Box& fill : fills)
            if (fill.Holds(mx, my)) reading.needed = kMeterContrast;
        Reading& kept = thin ? worstThin : worst;
        if (kept.contrast < 0 || reading.Margin() < kept.Margin()) kept = reading;
    }
    return worst.contrast >= 0 ? worst : worstThin;
}

}  // namespace

std::vector<std::string> Judge(const Frame& frame, const std::string& where) {
    std::vector<std::string> findings;
    const Box visible{0, 0, static_cast<float>(frame.width), static_cast<float>(frame.height)};
    // A line rolling up the screen comes in at the bottom and leaves at the top: only the sides
    // bound it. A place's name goes wherever the map is dragged.
    const Box rollingBounds{0, -1e6f, visible.x1, 1e6f};
    const Box nowhere{-1e6f, -1e6f, 1e6f, 1e6f};
    std::vector<Box> fills;
    for (const DrawnHolder& holder : frame.holders)
        if (MeterFill(frame, holder)) fills.push_back(holder.box);
    std::vector<double> scratch;
    std::vector<bool> hidden(frame.texts.size());
    for (size_t i = 0; i < frame.texts.size(); ++i) hidden[i] = HiddenByPopup(frame, frame.texts[i]);
    for (size_t i = 0; i < frame.texts.size(); ++i) {
        const DrawnText& text = frame.texts[i];
        if (hidden[i]) continue;
        const std::string said = where + ": " + Quoted(text.text) + " " + text.box.Describe();
        const DrawnHolder* holder = HolderOf(frame, text);
        // On a rolling screen a line rises, or stops and fades out as it leaves.
        const bool rolling = frame.rolling && (text.rising || text.alpha < 1);
        const bool onMap = OnMap(frame, text);
        const Box& bounds = onMap ? nowhere : rolling ? rollingBounds : visible;
        // A place's name may run past the screen's edge with the map: what shows of it is judged.
        const Box shows = onMap ? Box{std::max(text.box.x0, visible.x0), std::max(text.box.y0, visible.y0),
                                      std::min(text.box.x1, visible.x1), std::min(text.box.y1, visible.y1)}
                                : text.box;
        if (!Within(text.box, bounds)) {
            findings.push_back(said + " reaches outside the screen");
        } else if (holder && !Within(shows, holder->box) && !HeadingOn(text.box, *holder)) {
            findings.push_back(said + " crosses the edge of " + holder->name + " " + holder->box.Describe());
        }
        if (const DrawnHolder* cover = CoverOf(frame, text))
            findings.push_back(said + " is covered by " + (cover->name.empty() ? "a picture" : cover->name) +
                               " " + cover->box.Describe());
        for (size_t j = i + 1; j < frame.texts.size(); ++j) {
            const DrawnText& other = frame.texts[j];
            if (hidden[j] || Echo(text, other)) continue;
            if (text.box.Overlaps(other.box, kSlack))
                findings.push_back(said + " and " + Quoted(other.text) + " " + other.box.Describe() + " overlap");
        }
        // Copies drawn over one another at one spot read as one: the first tells, from the clearest.
        bool first = true;
        for (size_t j = 0; j < i && first; ++j) first = !SameSpot(frame.texts[j], text);
        if (!first || Underlay(frame, i, hidden)) continue;
        if (text.capHeight > 0 && text.capHeight < kMinCapHeight - 0.01f) {
            char size[96];
            std::snprintf(size, sizeof size, " is too small: its capitals stand %.0f px tall, under %.0f",
                          static_cast<double>(text.capHeight), static_cast<double>(kMinCapHeight));
            findings.push_back(said + size);
        }
        // A line rolling by is judged once it is wholly in sight; what the game dims is meant to
        // stand back.
        if ((rolling && !Within(text.box, visible)) || Faint(text)) continue;
        Reading reading = Read(text, fills, scratch);
        for (size_t j = i + 1; j < frame.texts.size(); ++j) {
            if (!SameSpot(text, frame.texts[j]) || hidden[j]) continue;
            const Reading copy = Read(frame.texts[j], fills, scratch);
            if (copy.Margin() > reading.Margin()) reading = copy;
        }
        if (reading.Poor()) {
            char ratio[160];
            std::snprintf(
                ratio, sizeof ratio, " reads poorly: contrast %.1f:1 with what lies beneath%s, worst at %s",
                reading.contrast, reading.needed > kMinContrast ? " (over a meter's fill, 4.5:1)" : "",
                reading.glyph.Describe().c_str());
            findings.push_back(said + ratio);
        }
    }
    return findings;
}

}  // namespace layout
