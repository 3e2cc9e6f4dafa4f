#pragma once
// The one-operation handler through which buttons, checkboxes, sliders and walkers report what
// the player did. Each screen, popup family and mini-game has its own kind, held once for the whole
// program, and tells its senders apart by their `id`, `name`, `data` and `value`.
class GUIItem;

class Callback {
  public:
    virtual ~Callback() = default;
    // The handler itself (its name in the game's design is the class's own, which C++ keeps for
    // constructors). The sender is the item that fired; the result is not read by the callers.
    virtual int Call(GUIItem* sender) = 0;
};
