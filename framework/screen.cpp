// Screens: starting, fading between and finding them, and the exit and loading screens.
#include "framework/screen.hpp"

#include <algorithm>

#include "core/helpers.hpp"
#include "framework/framework.hpp"
#include "platform/app.hpp"
#include "platform/audio.hpp"
#include "platform/input.hpp"

// --- Screen --------------------------------------------------------------------------------------

Screen::Screen(const std::string& name) : name(name) {}

void Screen::RenderBackgroundLayers() {
    if (!layers) return;
    for (int i = 0; i < layers->Count(); ++i) {
        const auto& layer = layers->Get(i);
        if (!layer) continue;
        if (layer->index >= 0) break;
        layer->Render2(0, 0);
    }
}

void Screen::RenderForegroundLayers() {
    if (!layers) return;
    for (int i = 0; i < layers->Count(); ++i) {
        const auto& layer = layers->Get(i);
        if (layer && layer->index >= 0) layer->Render2(0, 0);
    }
}

void Screen::PreStart() {
    auto self = shared_from_this();
    briskGame->screens->Set2(name, self);
    briskGame->currentScreen = self;
    Load();
    briskGame->images->LoadPreloaded(name);
    briskGame->sounds->LoadPreloaded(name);
    // The loading time must not count as a frame.
    briskGame->ResetDelta();
    if (autoFadeIn) {
        autoFadeIn = false;
        ScreenFade& fade = *briskGame->screenFade;
        fade.Start2(autoFadeInTime, false, autoFadeInSound, autoFadeInMusic, fade.allowScreenUpdate);
    }
    if (!musicPath.empty()) briskGame->MusicPlay(musicPath, musicFlag);
    Start();
}

void Screen::PostFadeOut() {
    // Keep this screen alive to the end of the call: starting the next one may drop the last
    // reference the registry held to it.
    auto self = shared_from_this();
    Kill();
    if (auto next = briskGame->nextScreen) next->PreStart();
}

void Screen::FadeToScreen(std::shared_ptr<Screen> screen, float fadeTime, bool fadeSound, bool fadeMusic,
                          bool allowScreenUpdate) {
    if (briskGame->screenFade->active) return;
    if (!screen) screen = briskGame->exitScreen;
    screen->autoFadeIn = true;
    screen->autoFadeInTime = fadeTime;
    screen->autoFadeInSound = fadeSound;
    screen->autoFadeInMusic = fadeMusic;
    briskGame->nextScreen = screen;
    briskGame->screenFade->Start2(fadeTime, true, fadeSound, fadeMusic, allowScreenUpdate);
}

void Screen::Back(float fadeTime, bool fadeSound, bool fadeMusic, bool allowScreenUpdate) {
    if (backScreenName == "exit") {
        FadeToScreen(nullptr, defaultFadeTime, false, false, true);
    } else if (!backScreenName.empty()) {
        FadeToScreen(briskGame->screens->Find(backScreenName), fadeTime, fadeSound, fadeMusic,
                     allowScreenUpdate);
    }
}

// --- Screens -------------------------------------------------------------------------------------

void Screens::Set2(const std::string& name, std::shared_ptr<Screen> screen) {
    map[UpperKey(name)] = std::move(screen);
}

std::shared_ptr<Screen> Screens::Find(const std::string& name) {
    if (briskGame && briskGame->debugOn) {
        for (const auto& entry : map) platform::PrintLine(entry.first + " is stored in the Screens map.");
    }
    std::string key = UpperKey(name);
    auto it = map.find(key);
    if (it == map.end()) RaiseAssertion("Screen '" + key + "' not found in the Screens map");
    return it->second;
}

// --- ScreenFade ----------------------------------------------------------------------------------

void ScreenFade::Render() {
    if (!active) return;
    platform::SetColor(0, 0, 0);
    platform::SetAlpha(1.0f - ratio);
    platform::DrawRect(0, 0, DEVICE_WIDTH, DEVICE_HEIGHT);
    platform::SetAlpha(1.0f);
    platform::SetColor(255, 255, 255);
}

void ScreenFade::CalcRatio() {
    if (fadeTime <= 0) {
        // A fade without length is over at once; dividing by its length would give NaN.
        ratio = 1.0f;
    } else {
        ratio = counter / fadeTime;
        if (ratio < 0) {
            ratio = 0;
            if (fadeMusic) briskGame->SetEngineMusicVolume(0);
        } else if (ratio > 1) {
            ratio = 1;
            if (fadeMusic)
                briskGame->SetEngineMusicVolume(static_cast<float>(briskGame->musicVolume) / 100.0f);
        }
    }
    if (fadeOut) ratio = 1.0f - ratio;
}

void ScreenFade::Start2(float fadeTime, bool fadeOut, bool fadeSound, bool fadeMusic,
                        bool allowScreenUpdate) {
    if (active) return;
    briskGame->ResetDelta();
    active = true;
    this->fadeTime = briskGame->CalcAnimLength(static_cast<float>(TruncToInt(fadeTime)));
    this->fadeOut = fadeOut;
    this->fadeMusic = fadeMusic;
    this->fadeSound = fadeSound;
    this->allowScreenUpdate = allowScreenUpdate;
    if (fadeOut) {
        ratio = 1.0f;
    } else {
        ratio = 0;
        if (fadeMusic) briskGame->SetEngineMusicVolume(0);
    }
    counter = 0;
}

void ScreenFade::Update2() {
    if (!active) return;
    counter += 1.0f * deltaTimer->delta;
    CalcRatio();
    if (fadeSound) {
        for (int channel = 0; channel < platform::kSoundChannels; ++channel) {
            platform::SetChannelVolume(channel, ratio * static_cast<float>(briskGame->soundVolume) / 100.0f);
        }
    }
    if (fadeMusic)
        briskGame->SetEngineMusicVolume(ratio * static_cast<float>(briskGame->musicVolume) / 100.0f);
    if (counter > fadeTime) {
        briskGame->ResetDelta();
        active = false;
        if (auto screen = briskGame->currentScreen) {
            if (fadeOut) {
                screen->PostFadeOut();
            } else {
                screen->PostFadeIn();
            }
        }
    }
}

// --- Built-in screens ----------------------------------------------------------------------------

ExitScreen::ExitScreen() : Screen("exit") {}

void ExitScreen::Start() {
    platform::EndApp();
}

void ExitScreen::Render() {
    platform::Cls(0, 0, 0);
}

void LoadingBar::Draw() {
    if (emptyImage) platform::DrawImage(emptyImage, static_cast<float>(x), static_cast<float>(y));
    if (fullImage) {
        platform::DrawImageRect(fullImage, static_cast<float>(x), static_cast<float>(y), 0, 0, position,
                                static_cast<float>(fullImage->Height()));
    }
}

void LoadingBar::Progress() {
    currentStep += 1;
    position = static_cast<float>(currentStep) * stepSize;
    if (fullImage) position = std::min(position, static_cast<float>(fullImage->Width()));
    if (static_cast<float>(currentStep) == steps) finished = true;
}

LoadingScreen::LoadingScreen() : Screen("loading"), loadingBar(std::make_unique<LoadingBar>()) {}

void LoadingScreen::Start() {
    finished = false;
    if (!destination) platform::Error("Loading Screen Destination is null!");
}

void LoadingScreen::Render() {
    platform::Cls(0, 0, 0);
    if (image) platform::DrawImage(image, SCREEN_WIDTH2, SCREEN_HEIGHT2);
    loadingBar->Draw();
}

void LoadingScreen::Update2() {
    if (platform::KeyHit(32)) loadingBar->Progress();
    if (loadingBar->finished) {
        finished = true;
        FadeToScreen(destination, defaultFadeTime, false, false, true);
    }
}
