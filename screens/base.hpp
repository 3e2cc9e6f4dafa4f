#pragma once
// The hero's base: a popup that sells the next level of each of the four upgrade lines for money,
// with a level bar per line, the price or why the level is not on sale yet, and a hint arrow at
// the line the story is waiting for. A purchase closes the popup and tells the map, which then
// announces the upgrade.
#include <string>

#include "gui/callback.hpp"

class GUIContainer;

// "ok" closes the popup; "upgrade" (the line in `id`) buys that line's next level.
class BaseCallback : public Callback {
  public:
    int Call(GUIItem* sender) override;
};

class Base {
  public:
    static BaseCallback baseCallback;

    static void InitBase();
    // One row: icon, level bar with the line's name, and the buy button when a level is left.
    static void AddUpgrade(GUIContainer* container, const std::string& id, const std::string& iconImage,
                           int iconFrame, int money);
    // Tells, once at start-up, each line the base shows whose levels in the upgrade data do not run
    // 1, 2, 3... without a gap: the row would show as complete from the missing level on.
    static void CheckLines();
};
