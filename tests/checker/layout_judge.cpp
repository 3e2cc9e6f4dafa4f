// Recording what a frame draws and judging its texts: overlaps, texts leaving what holds them or
// the screen, and texts too faint against what lies beneath them.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tests/checker/layout.hpp"

namespace layout {

namespace {

constexpr float kSlack = 0.5f;  // quads land on fractions of a pixel
constexpr double kMinContrast = 3.0;
// A pixel belongs to a text's ink when drawing the text changed it at all (beyond rounding), so a text
// too faint to see is judged too.
constexpr int kInkChange = 3;

bool Within(const Box& inner, const Box& outer) {
    return inner.x0 >= outer.x0 - kSlack && inner.y0 >= outer.y0 - kSlack && inner.x1 <= outer.x1 + kSlack &&
           inner.y1 <= outer.y1 + kSlack;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

double Linear(uint8_t channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const uint8_t* p) {
    return 0.2126 * Linear(p[0]) + 0.7152 * Linear(p[1]) + 0.0722 * Linear(p[2]);
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

// The contrast that the best-contrasted tenth of the text's ink reaches against the pixels beneath
// it (the solid middle of plain strokes, or the outline of an outlined text, which is what carries
// it over a light ground); negative when too little of the text shows to tell.
double InkContrast(const Frame& frame, const Box& box, std::vector<double>& scratch) {
    scratch.clear();
    const int x0 = std::max(0, static_cast<int>(std::floor(box.x0)));
    const int y0 = std::max(0, static_cast<int>(std::floor(box.y0)));
    const int x1 = std::min(frame.width, static_cast<int>(std::ceil(box.x1)));
    const int y1 = std::min(frame.height, static_cast<int>(std::ceil(box.y1)));
    const size_t expected = static_cast<size_t>(frame.width) * frame.height * 4;
    if (frame.withText.size() < expected || frame.withoutText.size() < expected) return -1;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const size_t at = (static_cast<size_t>(y) * frame.width + x) * 4;
            const uint8_t* ink = &frame.withText[at];
            const uint8_t* under = &frame.withoutText[at];
            int change = 0;
            for (int c = 0; c < 3; ++c) change = std::max(change, std::abs(ink[c] - under[c]));
            if (change >= kInkChange) scratch.push_back(Contrast(ink, under));
        }
    }
    if (scratch.size() < 4) return -1;
    const size_t tenth = scratch.size() * 9 / 10;
    std::nth_element(scratch.begin(), scratch.begin() + static_cast<long>(tenth), scratch.end());
    return scratch[tenth];
}

// A popup's title is set across the top edge of its frame: it leaves the frame only upwards, by less
// than half its height, and stays between the frame's sides.
bool HeadingOn(const Box& text, const Box& frame) {
    return text.y0 < frame.y0 && text.y1 > frame.y0 + text.Height() * 0.5f && text.y1 <= frame.y1 &&
           text.x0 >= frame.x0 - kSlack && text.x1 <= frame.x1 + kSlack;
}

const DrawnText& FirstCopy(const Frame& frame, const std::string& words) {
    for (const DrawnText& text : frame.texts) {
        if (text.text == words) return text;
    }
    return frame.texts.front();
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

double Contrast(const uint8_t* a, const uint8_t* b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void FrameRecorder::Begin(Frame* frame, bool hideText) {
    frame_ = frame;
    hideText_ = hideText;
    inText_ = false;
    order_ = 0;
    lastImage_ = nullptr;
}

void FrameRecorder::End() {
    frame_ = nullptr;
}

bool FrameRecorder::Quad(const platform::Image* image, float x0, float y0, float x1, float y1) {
    if (!frame_) return true;
    const Box box{x0, y0, x1, y1};
    const int order = order_++;
    if (inText_) {
        if (!textHasGlyph_) current_.firstLetter = box;
        textHasGlyph_ = true;
        current_.box.Add(box);
        return !hideText_;
    }
    const platform::Image* previous = lastImage_;
    lastImage_ = image;
    const std::string name = image ? pictureName_(image) : "panel";
    if (box.Empty()) return true;
    frame_->pictures.push_back({name, box, order});
    if (image && !holdsText_(name)) return true;
    // The pieces of one frame picture (its quarters) come one after another and touch: one holder.
    if (image && image == previous && !frame_->holders.empty()) {
        DrawnHolder& last = frame_->holders.back();
        Box grown = last.box;
        grown.x0 -= 1, grown.y0 -= 1, grown.x1 += 1, grown.y1 += 1;
        if (last.order == order - 1 && grown.Overlaps(box)) {
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
    textHasGlyph_ = false;
    current_ = DrawnText{};
    current_.text.assign(text, length);
    current_.order = order_;
}

void FrameRecorder::TextEnds() {
    if (!frame_ || !inText_) return;
    inText_ = false;
    lastImage_ = nullptr;
    if (textHasGlyph_) frame_->texts.push_back(current_);
}

// What a popup or a speech is laid on: a bubble, a popup's frame, or the picture a popup such as
// the power-up tree has for its frame. Nothing under it is meant to be read while it is up.
bool PopupGround(const std::string& name) {
    for (const char* kind : {"BUBBLE", "FRAME", "LEVELUPBG"}) {
        if (name.rfind(kind, 0) == 0) return true;
    }
    return false;
}

// A text wholly under a popup's ground drawn after it (a place's name under a dialogue or under
// the power-up tree, a popup waiting behind another) is hidden on purpose, so it is not judged.
// Under anything else (a button, a panel) a hidden text is a fault and is judged as drawn.
bool Covered(const Frame& frame, const DrawnText& text) {
    for (const DrawnHolder& holder : frame.holders) {
        const bool hides = PopupGround(holder.name);
        if (hides && holder.order > text.order && Within(text.box, holder.box)) return true;
    }
    return false;
}

// A picture drawn after a button's caption, over part of its words.
const DrawnHolder* CoverOfCaption(const Frame& frame, const DrawnText& text, const DrawnHolder* holder) {
    if (holder == nullptr || holder->name.find("BUTTON") == std::string::npos) return nullptr;
    for (const DrawnHolder& picture : frame.pictures) {
        if (picture.order > text.order && picture.box.Overlaps(text.box, kSlack)) return &picture;
    }
    return nullptr;
}

bool OnMap(const Frame& frame, const DrawnText& text) {
    return std::find(frame.onMap.begin(), frame.onMap.end(), text.text) != frame.onMap.end();
}

std::vector<std::string> Judge(const Frame& frame, const std::string& where) {
    std::vector<std::string> findings;
    // Rolling lines come in at the bottom and leave at the top: only the sides bound them.
    const float big = frame.rolling ? 1e6f : 0;
    const Box visible{0, 0, static_cast<float>(frame.width), static_cast<float>(frame.height)};
    const Box screen{0, -big, visible.x1, visible.y1 + big};
    std::vector<double> scratch;
    for (size_t i = 0; i < frame.texts.size(); ++i) {
        const DrawnText& text = frame.texts[i];
        if (Covered(frame, text)) continue;
        const std::string said = where + ": " + Quoted(text.text) + " " + text.box.Describe();
        const DrawnHolder* holder = HolderOf(frame, text);
        if (!Within(text.box, OnMap(frame, text) ? Box{-1e6f, -1e6f, 1e6f, 1e6f} : screen)) {
            findings.push_back(said + " reaches outside the screen");
        } else if (holder && !Within(text.box, holder->box) && !HeadingOn(text.box, holder->box)) {
            findings.push_back(said + " crosses the edge of " + holder->name + " " + holder->box.Describe());
        }
        if (const DrawnHolder* cover = CoverOfCaption(frame, text, holder))
            findings.push_back(said + " is covered by " + (cover->name.empty() ? "a picture" : cover->name) +
                               " " + cover->box.Describe());
        for (size_t j = i + 1; j < frame.texts.size(); ++j) {
            const DrawnText& other = frame.texts[j];
            // The same words on the same spot are a text and its shadow or echo.
            if (other.text == text.text || Covered(frame, other)) continue;
            if (text.box.Overlaps(other.box, kSlack))
                findings.push_back(said + " and " + Quoted(other.text) + " " + other.box.Describe() + " overlap");
        }
        // The same words drawn more than once (a title and its fading echoes) are read from their
        // clearest copy.
        double contrast = -1;
        for (const DrawnText& copy : frame.texts) {
            if (copy.text == text.text) contrast = std::max(contrast, InkContrast(frame, copy.box, scratch));
        }
        // Only the first copy reports; a rolling line is judged once it is wholly in sight.
        if (&text != &FirstCopy(frame, text.text) || (frame.rolling && !Within(text.box, visible))) contrast = -1;
        if (std::find(frame.dimmed.begin(), frame.dimmed.end(), text.text) != frame.dimmed.end()) contrast = -1;
        if (contrast >= 0 && contrast < kMinContrast) {
            char ratio[32];
            std::snprintf(ratio, sizeof ratio, "%.1f:1", contrast);
            findings.push_back(said + " reads poorly: contrast " + ratio + " with what lies beneath");
        }
    }
    return findings;
}

}  // namespace layout
