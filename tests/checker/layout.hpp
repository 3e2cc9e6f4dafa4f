#pragma once
// The layout check: the game started headless on a data folder visits its screens and popups at
// the wide (1000 x 600) and the narrow (800 x 600) layout; on each, one frame is drawn with every
// text and once more without, and every line of text is judged by the box its glyphs really cover:
//   - two texts overlap (the same words drawn twice on one spot are a text and its shadow);
//   - a text crosses the edge of what holds it: the smallest button, popup frame, bubble, bar or
//     filled panel drawn before it that holds the text's middle or its first letter (a popup's
//     title set across its frame's top edge, as popups are drawn, does not count; a meter's fill
//     counts as the track it lies on);
//   - a button's caption is partly covered by a picture drawn after it (an arrow, a figure);
//   - a text lies (partly) outside the screen (for rolling lines such as the credits, outside its
//     sides);
//   - a text reads poorly: under 3:1 contrast between its ink and the pixels beneath it, taken
//     from the frame drawn without it, for the best-contrasted tenth of its ink (so an outlined
//     text counts its outline); words drawn more than once count their clearest copy.
// A text wholly covered by a speech bubble, a popup frame or the picture a popup is laid on, drawn
// after it, is hidden on purpose and not judged. Every finding is one line naming the screen, the text and where it is.
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

struct DrawnText {
    std::string text;
    Box box;          // the union of its glyphs on the screen
    Box firstLetter;  // its first drawn glyph
    int order = 0;    // place in the frame's drawing order
};

// A quad that can hold text: a picture (named by the image bank) or a filled panel.
struct DrawnHolder {
    std::string name;
    Box box;
    int order = 0;
};

// What one frame drew, on a screen of width x height pixels, and its pixels (RGBA rows) drawn
// with and without the texts.
struct Frame {
    int width = 0, height = 0;
    std::vector<DrawnText> texts;
    std::vector<DrawnHolder> holders;
    // Every picture and panel drawn outside the texts, named by the bank ("" when it names none).
    std::vector<DrawnHolder> pictures;
    std::vector<uint8_t> withText, withoutText;
    // The lines roll up through the screen (they enter and leave it at the bottom and top).
    bool rolling = false;
    // Words that lie on the map the player drags about (the places' names): whether they are in
    // sight is the view's doing, not the layout's, so the screen's edges do not bound them.
    std::vector<std::string> onMap;
    // Words the game shows at half strength on purpose, as the state of something that cannot be
    // used now (a power not paid for, the fighter whose turn it is not): they are judged for
    // place but not for contrast, as a disabled control is not expected to stand out.
    std::vector<std::string> dimmed;
};

// Watches the render pass and fills a frame's texts and holders. With hideText the glyphs are
// left out of the picture (the frame without texts).
class FrameRecorder : public platform::DrawWatcher {
  public:
    // `pictureName` gives the bank name of a picture ("" for one the bank does not name);
    // `holdsText` tells the names of pictures that can hold text.
    using Names = std::function<std::string(const platform::Image*)>;
    using Holds = std::function<bool(const std::string&)>;
    FrameRecorder(Names pictureName, Holds holdsText)
        : pictureName_(std::move(pictureName)), holdsText_(std::move(holdsText)) {}
    void Begin(Frame* frame, bool hideText);
    void End();

    bool Quad(const platform::Image* image, float x0, float y0, float x1, float y1) override;
    void TextBegins(const char* text, size_t length) override;
    void TextEnds() override;

  private:
    Names pictureName_;
    Holds holdsText_;
    Frame* frame_ = nullptr;
    bool hideText_ = false;
    bool inText_ = false;
    bool textHasGlyph_ = false;
    DrawnText current_;
    int order_ = 0;
    const platform::Image* lastImage_ = nullptr;
};

// The findings of one frame, each line starting with `where` (the screen and layout).
std::vector<std::string> Judge(const Frame& frame, const std::string& where);

// The WCAG contrast ratio of two colours (1 to 21).
double Contrast(const uint8_t* a, const uint8_t* b);

}  // namespace layout
