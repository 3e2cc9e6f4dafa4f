#pragma once
// Screens: one full-screen state of the program at a time, started through PreStart, switched
// through a timed fade to and from black, and registered by upper-cased name.
#include <map>
#include <memory>
#include <string>

#include "core/briskdata.hpp"
#include "platform/graphics.hpp"

// Update2 is a screen's per-frame logic (the frame itself belongs to the application, which
// calls it once per update of the current screen).
class Screen : public std::enable_shared_from_this<Screen> {
  public:
    explicit Screen(const std::string& name);
    virtual ~Screen() = default;
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // Layers with a negative index, in order, up to the first that is not negative.
    virtual void RenderBackgroundLayers();
    virtual void Render() = 0;
    // Layers with an index of 0 or more.
    virtual void RenderForegroundLayers();
    // Drawn after the virtual transform is popped, in device pixels.
    virtual void ExtraRender() {}
    virtual void DebugRender() {}
    virtual void OnTouchHit(int /*x*/, int /*y*/, int /*pointer*/) {}
    virtual void OnTouchClick(int /*x*/, int /*y*/, int /*pointer*/) {}
    virtual void OnTouchFling(int /*releaseX*/, int /*releaseY*/, float /*velocityX*/, float /*velocityY*/,
                              float /*velocitySpeed*/, int /*pointer*/) {}
    virtual void OnTouchReleased(int /*x*/, int /*y*/, int /*pointer*/) {}
    virtual void OnTouchDragged(int /*x*/, int /*y*/, int /*dx*/, int /*dy*/, int /*pointer*/) {}
    virtual void OnTouchLongPress(int /*x*/, int /*y*/, int /*pointer*/) {}
    virtual void OnAnyKeyHit() {}
    virtual void OnKeyHit(int /*key*/) {}
    virtual void OnAnyKeyDown() {}
    virtual void OnKeyDown(int /*key*/) {}
    virtual void OnAnyKeyReleased() {}
    virtual void OnKeyReleased(int /*key*/) {}
    virtual void OnMouseHit(int /*x*/, int /*y*/, int /*button*/) {}
    virtual void OnMouseDown(int /*x*/, int /*y*/, int /*button*/) {}
    virtual void OnMouseReleased(int /*x*/, int /*y*/, int /*button*/) {}
    // Screens release their own things.
    virtual void Kill() {}
    // Screens load their own resources.
    virtual void Load() {}
    virtual void Start() = 0;
    virtual void PreStart();
    virtual void PostFadeOut();
    virtual void PostFadeIn() {}
    virtual void Update2() = 0;
    virtual void Suspend() {}
    virtual void Resume() {}
    // A null screen leads to the exit screen.
    virtual void FadeToScreen(std::shared_ptr<Screen> screen, float fadeTime, bool fadeSound, bool fadeMusic,
                              bool allowScreenUpdate);
    virtual void Back(float fadeTime, bool fadeSound, bool fadeMusic, bool allowScreenUpdate);

    std::string name;
    std::shared_ptr<BriskDataLayers> layers;
    std::string backScreenName;
    bool autoFadeIn = false;
    float autoFadeInTime = 50.0f;
    bool autoFadeInSound = false;
    bool autoFadeInMusic = false;
    std::string musicPath;
    int musicFlag = 0;
};

// Started screens by upper-cased name; walked in key order. Set2 stores a screen under a name.
class Screens {
  public:
    void Set2(const std::string& name, std::shared_ptr<Screen> screen);
    // Raises the assertion "Screen 'NAME' not found in the Screens map" for a name never started.
    std::shared_ptr<Screen> Find(const std::string& name);

    std::map<std::string, std::shared_ptr<Screen>> map;
};

// The fade between screens. ratio 1 shows the picture fully, 0 is black. Start2 starts a fade
// and Update2 is its per-frame step.
class ScreenFade {
  public:
    void Render();
    void CalcRatio();
    void Start2(float fadeTime, bool fadeOut, bool fadeSound, bool fadeMusic, bool allowScreenUpdate);
    void Update2();

    bool active = false;
    float ratio = 1.0f;
    float counter = 0;
    float fadeTime = 0;  // frames
    bool fadeMusic = false;
    bool fadeOut = false;
    bool fadeSound = false;
    bool allowScreenUpdate = true;
};

// Started by a fade to a null screen: ends the program.
class ExitScreen : public Screen {
  public:
    ExitScreen();
    void Start() override;
    void Render() override;
    void Update2() override {}
};

class LoadingBar {
  public:
    void Draw();
    void Progress();

    platform::ImagePtr emptyImage;
    platform::ImagePtr fullImage;
    int x = 0, y = 0;
    float position = 0;  // pixels of the full image shown
    int currentStep = 0;
    float stepSize = 0;
    float steps = 0;
    bool finished = false;
};

// A bare loading screen that steps its bar on the space key and fades to its destination.
class LoadingScreen : public Screen {
  public:
    LoadingScreen();
    void Start() override;
    void Render() override;
    void Update2() override;

    std::unique_ptr<LoadingBar> loadingBar;
    bool finished = false;
    std::shared_ptr<Screen> destination;
    platform::ImagePtr image;
};
