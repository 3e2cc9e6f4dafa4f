#pragma once
// The globe meter: a round gauge on "Meters1" whose liquid rises in proportion to a value, either a
// profile value it follows or a number its owner sets, with an optional number drawn on it (the
// job and battle panels).
//
// Numbered operations: `Init18` resets a pooled globe at a place with its look (the frame of the
// empty globe), the profile key it follows (none: the owner sets the value) and its maximum.
#include <memory>
#include <string>

#include "gui/item.hpp"
#include "gui/itempool.hpp"

class GameImage;
class GUIText;

class GUIMeterGlobe : public GUIItem {
  public:
    static GUIMeterGlobe* Create(float x, float y, int index, const std::string& key, int max);

    void Clear2() override;
    int Update2() override;
    void Render() override;

    // The value shown when no profile key is followed.
    void SetValue(float v);
    void Init18(float x, float y, int index, const std::string& key, int max);
    // Shows the value on the globe followed by `suffix`.
    void SetText(const std::string& suffix);

    float set = 0;
    GameImage* img = nullptr;
    // Frame of the empty globe; the full one is index + 3.
    int index = 0;
    // The profile key followed ("" for none). The globe keeps the key and looks the flag up each
    // frame: the store recycles its flag items.
    std::string flag;
    FloatObject var;
    int destVar = 0;
    int max = 1000;
    std::string suffix;
    GUIText* text = nullptr;

    static std::unique_ptr<GUIPool<GUIMeterGlobe>> pool;

  private:
    void FreeText();
    int shownValue = 0;
};
