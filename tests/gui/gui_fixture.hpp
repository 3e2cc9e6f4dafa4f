#pragma once
// The real game, headless, showing a game screen whose frame is the item list's: what the GUI
// tests click through. Tests build their items inside the screen's update (`onUpdate`), as game
// code does.
#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "framework/framework.hpp"
#include "gui/container.hpp"
#include "gui/gui2.hpp"
#include "gui/image.hpp"
#include "gui/particledot.hpp"
#include "platform/graphics.hpp"
#include "tests/support/harness.hpp"

namespace guitest {

class TestScreen : public GameScreen, public ParticleMap {
  public:
    explicit TestScreen(const std::string& name) : GameScreen(name) {}
    void Start() override { StartGui(); }
    void Update2() override {
        UpdateGui();
        if (onUpdate) {
            auto once = std::move(onUpdate);
            onUpdate = nullptr;
            once();
        }
    }
    void Render() override {
        platform::Cls(20, 20, 40);
        RenderGui();
    }
    float MapXP() const override { return xp; }
    float MapYP() const override { return yp; }

    std::function<void()> onUpdate;
    float xp = 0, yp = 0;
};

// A started game showing a fresh TestScreen, with the pictures and sounds the GUI draws loaded.
inline std::shared_ptr<TestScreen> StartScreen(harness::Harness& h, const std::string& name = "guitest") {
    if (!h.Start()) return nullptr;
    auto& images = *briskGame->images;
    images.Load3("Particle32x32.png", "", true);
    images.LoadAnim2("Buttons01.png", 200, 96, 3);
    images.LoadAnim2("Buttons02.png", 64, 64, 3);
    images.Load3("FramePopupBright.png");
    images.LoadAnim2("Icons02.png", 56, 56, 7);
    for (const char* s : {"MouseOver", "Building", "Click", "OTick", "OTick2", "Tick", "Tick2"}) {
        briskGame->sounds->Load5(std::string(s) + ".ogg");
    }
    auto screen = std::make_shared<TestScreen>(name);
    screen->PreStart();
    h.Step();
    return screen;
}

// Runs `fn` inside the next update (after the item list's passes), then that frame's render.
inline void During(harness::Harness& h, TestScreen& s, std::function<void()> fn) {
    s.onUpdate = std::move(fn);
    h.Step();
}

// The pixels just inside a popup's left border, from below its rounded corner down to `bottom`,
// that differ from its ground at the height `groundY`: a picture reaching into the border.
inline int LeftBorderCovered(const harness::Harness& h, const GUIContainer& popup, int bottom, int groundY) {
    float left = 1e9f, top = 1e9f;  // the frame's corners are its topmost, leftmost pictures
    for (const GUIItem* child : popup.items) {
        if (dynamic_cast<const GUIImage*>(child) == nullptr) continue;
        left = std::min(left, child->x);
        top = std::min(top, child->y);
    }
    const int x = static_cast<int>(popup.x + left) + 20;
    const harness::Rgba ground = h.Pixel(x, groundY);
    int covered = 0;
    for (int y = static_cast<int>(popup.y + top) + 40; y < bottom; ++y) {
        const harness::Rgba p = h.Pixel(x, y);
        covered += p.r != ground.r || p.g != ground.g || p.b != ground.b;
    }
    return covered;
}

}  // namespace guitest
