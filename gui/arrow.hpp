#pragma once
// A pointer that shows the player where to go or what to press: it sits one arrow-length from
// its target on the side toward the screen centre (or at the screen's edge when the target is off
// screen), points at it and bobs gently. Not pooled: its owner creates it and adds it to the list.
#include <string>

#include "gui/item.hpp"

class GameImage;

class GUIArrow : public GUIItem {
  public:
    // Points at `target` (none: at nothing until SetPos); `map` makes the pointed spot move with
    // the arrow's own scroll offset (xadd, yadd), as on the scrolling map.
    GUIArrow(const GUIItem* target, const std::string& id, const std::string& name, int map);
    GUIArrow();

    // Points at the centre of an item.
    void SetPos(const GUIItem* item);
    // Points at the item of the list with that id and name. While the list has none (a button
    // the screen makes a frame later, say) the arrow waits unseen and points at the item as soon
    // as it is there; it stops waiting when it is faded out or its screen ends.
    void PointAt(const std::string& targetId, const std::string& targetName);
    int Update2() override;
    void Render() override;

    // Where the arrow stands this frame before it bobs, and the direction from the spot to it in
    // degrees; `shown` is false while it waits unseen (no target yet, or no clear side).
    struct Aim {
        bool shown = false;
        int x = 0, y = 0;
        double angle = 0;
    };
    Aim Aiming() const;

    int map = 0;
    GameImage* image = nullptr;
    // The spot pointed at.
    int ix = 0, iy = 0;
    // An item pointed at afresh every frame (set by the owner).
    const GUIItem* follow = nullptr;
    // An item whose position is added to the spot (set by the owner).
    const GUIItem* parent = nullptr;
    // Milliseconds since creation: the bobbing.
    float counter = 0;

  private:
    // Shows the arrow at the awaited item when the list has it; false while it does not.
    bool FindTarget();

    // The id and name of the item waited for; an empty id once the arrow has its spot.
    std::string waitId, waitName;
};
