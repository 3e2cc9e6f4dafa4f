#pragma once
// A screen for tests: fills the virtual screen with one colour and counts what the frame cycle
// and the fades call on it. An optional action runs inside its update.
#include <functional>
#include <memory>
#include <string>

#include "framework/screen.hpp"

namespace harness {

class ProbeScreen : public Screen {
  public:
    ProbeScreen(const std::string& name, int r, int g, int b) : Screen(name), r(r), g(g), b(b) {}

    void Start() override { ++starts; }
    void Render() override;
    void Update2() override;
    void Kill() override { ++kills; }
    void PostFadeOut() override;
    void PostFadeIn() override { ++postFadeIns; }

    int r, g, b;
    int starts = 0, renders = 0, updates = 0, kills = 0, postFadeOuts = 0, postFadeIns = 0;
    // The number of updates this screen had seen when its fade-out ended.
    int updatesAtPostFadeOut = -1;
    std::function<void()> onUpdate;
    // Runs once, inside the next update: where the game itself starts fades and switches screens.
    std::function<void()> nextUpdate;
};

// Makes a probe screen and starts it at once, so it becomes the current screen.
std::shared_ptr<ProbeScreen> StartProbe(const std::string& name, int r, int g, int b);

}  // namespace harness
