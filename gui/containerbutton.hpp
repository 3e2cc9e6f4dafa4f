#pragma once
// A whole container (a card, a character slot) as a button on the shared machine, with a bright
// frame that fades in while the mouse is over it.
//
// Numbered operations: `Init15` resets a pooled container button with its place, container and
// callback.
#include <memory>

#include "gui/button.hpp"
#include "gui/container.hpp"

class GUIContainerButton : public GUIPressable {
  public:
    static GUIContainerButton* Create(float x, float y, GUIContainer* container, Callback* callback);

    // Gives the container and the highlight frame back to their pools with their children.
    void Clear2() override;
    void Render() override;
    void Init15(float x, float y, GUIContainer* container, Callback* callback);

    GUIContainer* container = nullptr;
    // The highlight border, covering the button with "FramePopupBright".
    GUIContainer* frame = nullptr;
    FloatObject frameAlpha{0.0f};

    static std::unique_ptr<GUIPool<GUIContainerButton>> pool;

  protected:
    void ShowOver() override;
    void ShowLeave() override;
    void ShowPress() override;
    void ShowFire() override;

  private:
    void TweenFrame(int ms, float to);
};
