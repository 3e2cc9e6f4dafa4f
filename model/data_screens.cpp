// Leaving a screen: the fade-in of a new screen and the fade-out towards the next one.
#include <memory>

#include "framework/framework.hpp"
#include "model/data2.hpp"

void Data::InitScreen() {
    if (briskGame && briskGame->screenFade) briskGame->screenFade->Start2(25, false, false, false, true);
}

void Data::ExitScreen(std::shared_ptr<Screen> screen, int ms) {
    if (!briskGame || !briskGame->screenFade) return;
    ScreenFade& fade = *briskGame->screenFade;
    if (fade.active) {
        // A second exit while one is under way is dropped: changing the next screen under a
        // running fade-out would send the player somewhere the fade did not start for.
        if (fade.fadeOut) return;
        // A screen that leaves while it is still fading in (a request made once, in its first
        // frames) must still leave, or the game would stay on it for good.
        fade.active = false;
        fade.ratio = 1.0f;
        if (briskGame->currentScreen) briskGame->currentScreen->PostFadeIn();
    }
    briskGame->nextScreen = std::move(screen);
    fade.Start2(static_cast<float>(ms), true, false, false, true);
}
