#pragma once
// The pulsing status caption over a fighter's portrait for the whole battle: "Shield up!" while the
// fighter holds shield points, "Frozen!" while it is frozen (both, on two lines). Pooled; it leaves
// the item list with its portrait's panel.
//
// Numbered operations: `Init20` resets a pooled caption on its portrait and fighter.
#include <memory>
#include <string>

#include "gui/item.hpp"
#include "gui/itempool.hpp"

class GlyphFont;
class PuzzleActor;

class GUIBattleEffect : public GUIItem {
  public:
    // The caption over `portrait` (an item of the list) for `actor`, who must outlive it.
    static GUIBattleEffect* Create(GUIItem* portrait, PuzzleActor* actor);

    void Init20(GUIItem* portrait, PuzzleActor* actor);
    void Clear2() override;
    // The text from the fighter's shield and freeze, sized and centred on the portrait.
    void UpdateText();
    int Update2() override;
    void Render() override;

    GUIItem* portrait = nullptr;
    PuzzleActor* actor = nullptr;
    std::string text;
    GlyphFont* font = nullptr;
    int r = 255, g = 255, b = 255;
    // Milliseconds since it came up: the pulse.
    float count = 0;
    int tx = 0, ty = 0;

    static std::unique_ptr<GUIPool<GUIBattleEffect>> pool;
};
