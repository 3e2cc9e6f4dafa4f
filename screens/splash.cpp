// The splash row.
#include "screens/splash.hpp"

#include <string>

#include "gui/gui2.hpp"
#include "model/data2.hpp"
#include "platform/storage.hpp"
#include "screens/loader.hpp"
#include "screens/loadscreen.hpp"

int SplashScreen::number = 1;

SplashScreen::SplashScreen() : Screen("Splash") {
    // The row ends quietly at the first number without a picture.
    const std::string file = "Splash" + std::to_string(number) + ".jpg";
    if (platform::DataFileExists(file)) image = platform::LoadImage(file);
    // The first picture is the time to start decoding what the loading screen will load.
    if (number == 1) Loader::DecodeAhead("title");
    if (!image) {
        stopped = done = 1;
    } else {
        Data::AddTween(&alpha, 1000, 0.0f, 1.0f);
        wait = 2500;
    }
}

SplashScreen::~SplashScreen() {
    Data::KillTweens(&alpha);
}

void SplashScreen::Start() {
    GUIList::Clear();
    Data::InitScreen();
}

void SplashScreen::Update2() {
    Data::Update(0);
    wait -= Data::frameMs;
    if (done) {
        // An escape meant for the pictures must not end the game on the loading screen.
        Data::backPressed = 0;
        LoadScreen::LoadScreen_new("title")->PreStart();
        return;
    }
    if (fading) {
        if (wait <= 0) {
            ++number;
            SplashScreen_new()->PreStart();
        }
    } else if (wait > 0) {
        if (!Data::backPressed && !Data::mouseHeld) {
            ok = 1;
        } else if (ok) {
            wait = 0;
        }
    } else {
        fading = 1;
        Data::KillTweens(&alpha);
        Data::AddTween(&alpha, 500, alpha.value, 0.0f);
        wait = 700;
    }
    // The splash takes every escape: one pressed while a picture fades is not left for later.
    Data::backPressed = 0;
}

void SplashScreen::Render() {
    platform::Cls(0, 0, 0);
    if (!image) return;
    platform::SetAlpha(alpha.value);
    const float height = static_cast<float>(image->Height());
    const float s = height == static_cast<float>(Data::virtualHeight) ? 1.0f : Data::virtualHeight / height;
    const float x = (static_cast<float>(Data::virtualWidth) - static_cast<float>(image->Width()) * s) / 2;
    platform::DrawImage(image, x, 0, 0, s, s);
    platform::SetAlpha(1.0f);
}
