#pragma once
// An on/off box of the options popup. It toggles on the press (not the release), once per press,
// and reports every toggle to its callback with itself as the sender; the owner reads `state`.
//
// Numbered operations: `Init16` resets a pooled checkbox at a place with its state and callback.
#include <memory>

#include "gui/callback.hpp"
#include "gui/item.hpp"
#include "gui/itempool.hpp"

class GameImage;

class GUICheckbox : public GUIItem {
  public:
    static GUICheckbox* Create(float x, float y, int state, Callback* callback);

    int UpdateAction() override;
    void Render() override;
    void Init16(float x, float y, int state, Callback* callback);

    // "OptionsIcons64x64": frame 0 the empty box, frame 2 the tick.
    GameImage* image = nullptr;
    int state = 0;
    Callback* callback = nullptr;
    // The mouse has been seen up since this box's last press.
    int ok = 0;

    // Set whenever a checkbox sees the mouse up, cleared by the one that takes a press: one press
    // toggles one box, however the mouse moves while held.
    static int checkArmed;

    static std::unique_ptr<GUIPool<GUICheckbox>> pool;
};
