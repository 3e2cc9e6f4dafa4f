#include "tests/support/probe_screen.hpp"

#include "framework/framework.hpp"
#include "platform/graphics.hpp"

namespace harness {

void ProbeScreen::Render() {
    ++renders;
    platform::SetColor(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b));
    platform::DrawRect(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    platform::SetColor(255, 255, 255);
}

void ProbeScreen::Update2() {
    ++updates;
    if (nextUpdate) {
        auto action = std::move(nextUpdate);
        nextUpdate = nullptr;
        action();
    }
    if (onUpdate) onUpdate();
}

void ProbeScreen::PostFadeOut() {
    ++postFadeOuts;
    updatesAtPostFadeOut = updates;
    Screen::PostFadeOut();
}

std::shared_ptr<ProbeScreen> StartProbe(const std::string& name, int r, int g, int b) {
    auto screen = std::make_shared<ProbeScreen>(name, r, g, b);
    screen->PreStart();
    return screen;
}

}  // namespace harness
