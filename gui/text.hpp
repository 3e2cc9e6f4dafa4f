#pragma once
// A line or a wrapped block of bitmap-font text, optionally showing a live number or a live
// profile value between a prefix and a suffix.
//
// Numbered operations: `Init7` resets a pooled text at a place with its text, font and colour.
#include <memory>
#include <string>

#include "gui/item.hpp"
#include "gui/itempool.hpp"

class GlyphFont;

class GUIText : public GUIItem {
  public:
    static GUIText* Create(float x, float y, const std::string& text, GlyphFont* font, int colour);

    int Update2() override;
    void Render() override;

    // Sets the text and measures it; a right-aligned text (left 0) keeps its right edge.
    void SetText(const std::string& t);
    void Init7(float x, float y, const std::string& text, GlyphFont* font, int colour);
    // Wraps the text to `width` pixels and draws it with the game's line layout from then on.
    void SetWidth(int width);
    void SetPrefix(const std::string& p);
    void SetSuffix(const std::string& s);
    // Shows the current character's flag `key` from the next update on, whatever the flag's value
    // becomes and whether or not the flag exists yet.
    void SetFlag(const std::string& key);
    // Shows the integer part of a live number.
    void SetVariable(FloatObject* v);

    std::string prefix;
    std::string suffix;
    std::string text;
    GlyphFont* font = nullptr;
    int r = 0, g = 0, b = 0;
    int ex = 0;
    int center = 0;
    FloatObject* var = nullptr;
    // The flag shown. The text holds the key, not the flag item: the store recycles its items, and
    // a flag set after binding must still appear.
    std::string flagKey;
    int flagBound = 0;
    int left = 1;

    static std::unique_ptr<GUIPool<GUIText>> pool;

  private:
    // Sets the text to prefix + middle + suffix unless it already reads so (no text is built then).
    void ShowLive(const char* middle, size_t length);
};
