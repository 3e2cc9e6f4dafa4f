#pragma once
// The splash row: "Splash1.jpg", "Splash2.jpg", ... each fades in over a second, stands until two
// and a half seconds after it appeared (or until a click or the escape key), then fades out and
// makes way for the next. The first missing number ends the row and the title's loading begins.
#include <memory>

#include "core/collections.hpp"
#include "framework/screen.hpp"
#include "platform/graphics.hpp"

class SplashScreen : public Screen {
  public:
    // SplashScreen_new: the picture of the current splash number.
    SplashScreen();
    ~SplashScreen() override;
    static std::shared_ptr<SplashScreen> SplashScreen_new() { return std::make_shared<SplashScreen>(); }

    void Start() override;
    void Update2() override;
    void Render() override;

    // Null when the picture is missing.
    platform::ImagePtr image;
    int stopped = 0;
    int done = 0;
    FloatObject alpha{0.0f};
    // Milliseconds left of the current step.
    float wait = 0;
    int fading = 0;
    // The button and the escape key have been seen up since the picture appeared.
    int ok = 0;

    // The picture shown next; 1 at program start.
    static int number;
    static void InitGlobals() { number = 1; }
};
