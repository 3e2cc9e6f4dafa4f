#pragma once
// The attribute meter: a bar that counts a hero value (attribute, skill or resource) from what the
// profile holds up or down to a new value, showing the progress within the value's level, the
// level itself and a label, with a tick sound while it counts and a sound when the level changes.
//
// Numbered operations: `Init12` resets a pooled meter at a place with its colour, profile key, the
// amount to count by and its size (small or full).
#include <memory>
#include <string>

#include "gui/item.hpp"
#include "gui/itempool.hpp"

class GUIText;

class GUIMeterAttribute : public GUIItem {
  public:
    static GUIMeterAttribute* Create(float x, float y, int colour, const std::string& key, int add,
                                     int small);

    void Clear2() override;
    int Update2() override;
    void Render() override;

    void Init12(float x, float y, int colour, const std::string& key, int add, int small);
    // Level sounds, the counting tick, and the four texts placed around the bar.
    void UpdateText();

    // Milliseconds to the next counting tick.
    float soundCount = 0;
    // The bar colour: three quarters of the given colour.
    int r = 0, g = 0, b = 0;
    // Milliseconds before the count starts.
    float wait = 0;
    int small = 0;
    int oldLevel = -1;
    // The value shown, counting towards destVar.
    FloatObject var;
    int destVar = 0;
    GUIText* attribute = nullptr;
    GUIText* text = nullptr;
    // The number's letters in black, drawn as a ring round `text` (see RenderShadowRing).
    GUIText* textShadow = nullptr;
    GUIText* level = nullptr;

    static std::unique_ptr<GUIPool<GUIMeterAttribute>> pool;

  private:
    // The level of the shown value and where it stands in it. A value below the first threshold
    // (a lowered attribute) shows as an empty level 0, and a level whose span saturated at the top
    // of the table counts as a span of 1, so the bar never reads outside the table or divides by 0.
    struct Standing {
        int level;
        int progress;
        int needed;
    };
    Standing Measure() const;
    void FreeTexts();
    // The shadow drawn as a ring round the number's letters rather than beside them.
    void RenderShadowRing(float fillRight);
    // What the texts show now, so they are only rebuilt when it changes.
    int shownProgress = -1;
    int shownNeeded = -1;
    int shownLevel = -1;
};
