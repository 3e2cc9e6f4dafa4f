#pragma once
// Buttons that report a finished click to a callback with themselves as the sender. The image,
// text and container buttons share one hover-press-release machine: a click fires on the release,
// and only when the press began on the button. `GUIButton` is one picture frame that grows under
// the mouse.
//
// Numbered operations: `Init11` resets a pooled image button with its place, picture and callback.
#include <memory>
#include <string>

#include "gui/callback.hpp"
#include "gui/item.hpp"
#include "gui/itempool.hpp"

class GameImage;

// The machine's states: "" idle, "over" hovered, "press" pressed on the button, "down" held after a
// press that began elsewhere (or while input is blocked), "trigger" fired this frame.
class GUIPressable : public GUIItem {
  public:
    // One input step of the machine; 1 in the frame the button fires (nothing below gets the mouse).
    int UpdateAction() override;

    std::string state;
    Callback* callback = nullptr;
    // Input passes still to ignore.
    int wait = 0;
    // 1 once the button has seen the mouse up: only a press begun after that is its own.
    int armed = 0;

  protected:
    virtual int HoverSound() const { return 1; }
    // How the button shows hovering, leaving, pressing and firing: by default its scale.
    virtual void ShowOver();
    virtual void ShowLeave();
    virtual void ShowPress();
    virtual void ShowFire();
    void TweenScale(int ms, float from, float to);
};

class GUIButton : public GUIPressable {
  public:
    static GUIButton* Create(float x, float y, const std::string& imageName, Callback* callback);

    void Render() override;
    void Init11(float x, float y, const std::string& imageName, Callback* callback);

    int frame = 0;
    GameImage* image = nullptr;

    static std::unique_ptr<GUIPool<GUIButton>> pool;
};
