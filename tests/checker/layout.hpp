#pragma once
// The layout check: the game started headless on a data folder visits its screens and popups at
// the wide (1000 x 600) and the narrow (800 x 600) layout. On each, one frame is drawn while the
// check watches every draw: where each glyph of every line of text lands, with the pixels round it
// just before its line was drawn and just after. Every line is judged by the box its glyphs
// really cover:
//   - two texts overlap (the same words drawn again at nearly the same spot, or faintly about it,
//     are a text and its shadow or echo);
//   - a text crosses the edge of what holds it: the smallest button, popup frame, bubble, bar or
//     filled panel drawn before it that holds the text's middle or its first letter (a popup's
//     title set across its frame's top edge, as popups are drawn, does not count; a meter's fill
//     counts as the track it lies on);
//   - a picture, panel, line or oval drawn after a text hides some of its ink (unless the text
//     lies behind a popup, whose frame, figures and bars are laid over what is behind it);
//   - a text lies (partly) outside the screen (a line rolling up the screen, as the credits do,
//     only outside its sides; a place's name where the map draws it, nowhere);
//   - a glyph's letter stands out from what lies right round it by less than 3:1, or 4.5:1 over a
//     meter's fill (copies drawn over one another at one spot read from the clearest; a shadow
//     under its text and what is drawn at half strength or less are not read);
//   - its capitals stand under 8 pixels tall on the screen.
// A text that a bubble, a popup frame or the picture a popup is laid on, drawn after it, hides
// from the frame as shown is hidden on purpose and not judged. Every finding is one line naming
// the screen, the text and where it is.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/testing.hpp"

namespace layout {

struct Box {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    float Width() const { return x1 - x0; }
    float Height() const { return y1 - y0; }
    bool Empty() const { return x1 <= x0 || y1 <= y0; }
    bool Holds(float x, float y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
    // Overlaps by more than `slack` pixels both ways.
    bool Overlaps(const Box& o, float slack = 0) const {
        return std::min(x1, o.x1) - std::max(x0, o.x0) > slack && std::min(y1, o.y1) - std::max(y0, o.y0) > slack;
    }
    void Add(const Box& o);
    std::string Describe() const;
};

// One glyph as it landed: the whole pixels of its box on the screen with a ring of kRing more round
// it (x, y, w, h), what they showed before its line was drawn and once it was (RGBA rows), and
// what of the glyph lies on each.
struct DrawnGlyph {
    static constexpr int kRing = 2;
    enum Ink : uint8_t {
        kClear,  // none of its ink, or next to none
        kEdge,   // the soft edge of its letter
        kRim,    // the dark outline of an outlined font
        kBody,   // the letter itself
    };
    Box box;
    int x = 0, y = 0, w = 0, h = 0;
    std::vector<uint8_t> under, after;
    std::vector<uint8_t> ink;  // an Ink per pixel
};

struct DrawnText {
    std::string text;
    Box box;          // the union of its glyphs on the screen
    Box firstLetter;  // its first drawn glyph
    int order = 0;    // place in the frame's drawing order
    // The strength it was drawn at: the game shows what cannot be used now (a power not paid for,
    // the fighter who waits for the other) at half strength.
    float alpha = 1;
    // The height of its font's capitals as drawn on the screen; 0 when the font does not tell.
    float capHeight = 0;
    std::vector<DrawnGlyph> glyphs;
    // Drawn higher up than a few frames before, as a line rolling up the screen is.
    bool rising = false;
};

// A quad that can hold text: a picture (named by the image bank) or a filled panel.
struct DrawnHolder {
    std::string name;
    Box box;
    int order = 0;
};

// Words drawn as one of the places' names on the map, within `area`.
struct PlaceName {
    std::string words;
    Box area;
};

// What one frame drew, on a screen of width x height pixels.
struct Frame {
    int width = 0, height = 0;
    std::vector<DrawnText> texts;
    std::vector<DrawnHolder> holders;
    // Every picture, panel, line and oval drawn outside the texts, named by the bank ("" when it
    // names none; "panel", "line" and "oval" for shapes).
    std::vector<DrawnHolder> pictures;
    // The frame as it was shown (RGBA rows).
    std::vector<uint8_t> pixels;
    // Lines roll up through the screen (they enter and leave it at the bottom and top).
    bool rolling = false;
    // The places' names on the map the player drags about: whether they are in sight is the
    // view's doing, not the layout's, so the screen's edges do not bound them.
    std::vector<PlaceName> placeNames;
};

// Watches the render pass and fills a frame's texts, holders and pictures. A close look also reads
// the pixels under and over every glyph.
class FrameRecorder : public platform::DrawWatcher {
  public:
    // The bank name of a picture ("" for one the bank does not name); whether a picture of that
    // name can hold text; the height of the capitals of the font whose page a picture is, in its
    // texels (0 for a picture that is no font's page).
    using Names = std::function<std::string(const platform::Image*)>;
    using Holds = std::function<bool(const std::string&)>;
    using Caps = std::function<float(const platform::Image*)>;
    FrameRecorder(Names pictureName, Holds holdsText, Caps capsOf)
        : pictureName_(std::move(pictureName)),
          holdsText_(std::move(holdsText)),
          capsOf_(std::move(capsOf)) {}
    void Begin(Frame* frame, bool closely);
    void End();

    bool Draw(const platform::WatchedDraw& draw) override;
    void TextBegins(const char* text, size_t length) override;
    void TextEnds() override;

  private:
    void Glyph(const platform::WatchedDraw& draw);

    Names pictureName_;
    Holds holdsText_;
    Caps capsOf_;
    Frame* frame_ = nullptr;
    bool closely_ = false;
    bool inText_ = false;
    DrawnText current_;
    int order_ = 0;
    const platform::Image* lastImage_ = nullptr;
};

// The findings of one frame, each line starting with `where` (the screen and layout).
std::vector<std::string> Judge(const Frame& frame, const std::string& where);

// The contrast between the letter of the line's glyph `g` and what lies right round it, as the
// line shows them; negative when too little of either lies on the screen to tell. `thin` tells a
// letter too thin to tell well (an "l", a stop).
double GlyphContrast(const DrawnText& text, size_t g, std::vector<double>& scratch, bool* thin = nullptr);

// Whether the frame as shown still shows the line: half its glyphs keep there the pattern they
// were drawn with, whatever was drawn over them after.
bool StillShows(const Frame& frame, const DrawnText& text);

// How many pixels of the line's ink within `within` something drawn after it hides in the frame
// as shown.
int HiddenInk(const Frame& frame, const DrawnText& text, const Box& within);

}  // namespace layout
