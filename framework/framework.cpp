// The application object's frame cycle, virtual screen, timers, mouse tracker and particle cache.
#include "framework/framework.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/exception.hpp"
#include "core/glyphfont.hpp"
#include "framework/main.hpp"
#include "platform/audio.hpp"
#include "platform/input.hpp"
#include "platform/random.hpp"

float DEVICE_WIDTH = 0;
float DEVICE_HEIGHT = 0;
float SCREEN_WIDTH = 0;
float SCREEN_HEIGHT = 0;
float SCREEN_WIDTH2 = 0;
float SCREEN_HEIGHT2 = 0;
float SCREENX_RATIO = 1.0f;
float SCREENY_RATIO = 1.0f;
std::unique_ptr<DeltaTimer> deltaTimer;
float defaultFadeTime = 600.0f;
int randomSeed = 1234;
BriskApp* briskGame = nullptr;

double FPSCounter::startTime = 0;
int FPSCounter::fpsCount = 0;
int FPSCounter::totalFPS = 0;

int Particle::MAX_PARTICLES = 800;
std::vector<std::unique_ptr<Particle>> Particle::particles;

void InitFrameworkGlobals() {
    briskGame = nullptr;
    DEVICE_WIDTH = DEVICE_HEIGHT = 0;
    SCREEN_WIDTH = SCREEN_HEIGHT = 0;
    SCREEN_WIDTH2 = SCREEN_HEIGHT2 = 0;
    SCREENX_RATIO = SCREENY_RATIO = 1.0f;
    deltaTimer.reset();
    Particle::MAX_PARTICLES = 800;
    Particle::particles.clear();
    Particle::particles.resize(Particle::MAX_PARTICLES);
    FPSCounter::startTime = 0;
    FPSCounter::fpsCount = 0;
    FPSCounter::totalFPS = 0;
    defaultFadeTime = 600.0f;
    randomSeed = 1234;
    platform::SetSeed(randomSeed);
    InitBankGlobals();
}

int TruncToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

namespace {

// Runs one hook body. A game exception is printed with its causes and raised again as a runtime
// error carrying only its short text, which is what the uncaught-error report shows.
template <class Body>
void Guarded(Body&& body) {
    try {
        body();
    } catch (const BriskException& e) {
        platform::PrintLine(e.ToString2(true));
        throw platform::RuntimeError(e.ToString2(false));
    }
}

// Maps a device coordinate through a ratio; a ratio of 0 (no window yet, or a minimised one)
// maps to 0 instead of dividing by it.
int MapByRatio(int device, float ratio) {
    if (ratio == 0 || std::isnan(ratio)) return 0;
    return TruncToInt(device / ratio);
}

}  // namespace

// --- DeltaTimer, FPSCounter, BriskMouse, Particle -------------------------------------------

DeltaTimer::DeltaTimer(float fps) : targetfps(fps) {
    lastticks = static_cast<double>(platform::Millisecs());
}

void DeltaTimer::UpdateDelta() {
    currentticks = static_cast<double>(platform::Millisecs());
    frametime = currentticks - lastticks;
    delta = static_cast<float>(frametime / (1000.0 / targetfps));
    if (delta > 5.0f) {
        delta = 1;
        if (briskGame && briskGame->debugOn)
            platform::PrintLine("WARNING DELTA GREATER THAN 5!!! Reseting it to 1");
    }
    lastticks = currentticks;
}

void FPSCounter::Update() {
    double now = static_cast<double>(platform::Millisecs());
    if (now - startTime < 1000) {
        fpsCount += 1;
    } else {
        totalFPS = fpsCount;
        fpsCount = 0;
        startTime = now;
    }
}

void FPSCounter::Draw(float x, float y, float ax, float ay) {
    GlyphFont* font = Fonts::Get("n");
    if (!font) return;
    const std::string text = "FPS: " + std::to_string(totalFPS);
    font->DrawText(text, TruncToInt(x - static_cast<float>(font->TextWidth(text)) * ax),
                   TruncToInt(y - static_cast<float>(font->TextHeight(text)) * ay));
}

BriskMouse::BriskMouse() {
    brisk::mouseZInit();
}

void BriskMouse::Update2() {
    lastX = briskGame->mouseX;
    lastY = briskGame->mouseY;
}

void Particle::Cache() {
    particles.resize(static_cast<size_t>(std::max(MAX_PARTICLES, 0)));
    for (auto& slot : particles) slot = std::make_unique<Particle>();
}

// --- BriskApp ------------------------------------------------------------------------------------

BriskApp::BriskApp() {
    briskGame = this;
    screens = std::make_unique<Screens>();
    exitScreen = std::make_shared<ExitScreen>();
    loadingScreen = std::make_shared<LoadingScreen>();
    screenFade = std::make_unique<ScreenFade>();
    images = std::make_unique<ImageBank>();
    sounds = std::make_unique<SoundBank>();
    inputCache = std::make_unique<InputCache>();
    briskMouse = std::make_unique<BriskMouse>();
}

BriskApp::~BriskApp() {
    if (briskGame == this) briskGame = nullptr;
}

void BriskApp::OnCreate() {
    Guarded([this] {
        DEVICE_WIDTH = static_cast<float>(platform::DeviceWidth());
        DEVICE_HEIGHT = static_cast<float>(platform::DeviceHeight());
        SetScreenSize(DEVICE_WIDTH, DEVICE_HEIGHT, false);
        deviceChanged = true;
        mouseX = MapByRatio(platform::MouseX(), SCREENX_RATIO);
        mouseY = MapByRatio(platform::MouseY(), SCREENY_RATIO);
        // The clock's low 32 bits: saturating would give every run on a machine that has been up for
        // more than 24.8 days the same seed, and so the same "random" game.
        randomSeed = static_cast<int>(static_cast<uint32_t>(static_cast<int64_t>(brisk::systemMillisecs())));
        platform::SetSeed(randomSeed);
        deltaTimer = std::make_unique<DeltaTimer>(static_cast<float>(FPS));
        platform::SetUpdateRate(FPS);
        Particle::Cache();
        if (useFixedRateLogic) ResetFixedRateLogic();
        Create();
    });
}

void BriskApp::OnSuspend() {
    Guarded([this] {
        if (auto screen = currentScreen) screen->Suspend();
    });
}

void BriskApp::OnResume() {
    Guarded([this] {
        ResetDelta();
        if (auto screen = currentScreen) screen->Resume();
    });
}

void BriskApp::OnBack() {
    Guarded([this] {
        if (auto screen = currentScreen) screen->Back(defaultFadeTime, false, false, true);
    });
}

void BriskApp::SetScreenSize(float w, float h, bool useAspectRatio) {
    SCREEN_WIDTH = w;
    SCREEN_HEIGHT = h;
    SCREEN_WIDTH2 = w / 2;
    SCREEN_HEIGHT2 = h / 2;
    // Before the window exists the virtual size may be 0: a ratio of 0 then says "no mapping yet".
    SCREENX_RATIO = w != 0 ? DEVICE_WIDTH / w : 0;
    SCREENY_RATIO = h != 0 ? DEVICE_HEIGHT / h : 0;
    if (SCREENX_RATIO != 1.0f || SCREENY_RATIO != 1.0f) {
        virtualResOn = true;
        aspectRatioOn = useAspectRatio;
        aspectRatio = w != 0 ? h / w : 0;
    }
    if (static_cast<float>(platform::DeviceWidth()) != SCREEN_WIDTH ||
        static_cast<float>(platform::DeviceHeight()) != SCREEN_HEIGHT) {
        deviceChanged = true;
    }
}

void BriskApp::ResetFixedRateLogic() {
    ms = 1000.0 / frameRate;
    numTicks = 0;
    lastNumTicks = 1;
    lastTime = static_cast<double>(platform::Millisecs());
    if (deltaTimer) deltaTimer->delta = 1;
}

void BriskApp::ReadInputs() {
    if (aspectRatioOn) {
        if (multi == 0 || std::isnan(multi)) {
            mouseX = 0;
            mouseY = 0;
        } else {
            mouseX = TruncToInt((platform::MouseX() - DEVICE_WIDTH * 0.5) / multi + SCREEN_WIDTH * 0.5);
            mouseY = TruncToInt((platform::MouseY() - DEVICE_HEIGHT * 0.5) / multi + SCREEN_HEIGHT * 0.5);
        }
    } else {
        mouseX = MapByRatio(platform::MouseX(), SCREENX_RATIO);
        mouseY = MapByRatio(platform::MouseY(), SCREENY_RATIO);
    }
    mouseHit = platform::MouseHit(0);
    inputCache->ReadInput();
    // Hold the screen for the call: a hook may start the next screen.
    if (auto screen = currentScreen) inputCache->HandleEvents(screen.get());
    if (debugKeyOn && platform::KeyHit(debugKey)) debugOn = !debugOn;
}

void BriskApp::OnUpdate() {
    Guarded([this] {
        ReadInputs();
        OverrideUpdate();
        if (!useFixedRateLogic) {
            Update(0);
            return;
        }
        double now = static_cast<double>(platform::Millisecs());
        if (now >= lastTime) {
            tmpMs = std::min(now - lastTime, static_cast<double>(maxMs));
            numTicks = ms > 0 ? tmpMs / ms : 0;
        } else {
            numTicks = lastNumTicks;
        }
        lastTime = now;
        lastNumTicks = numTicks;
        int whole = static_cast<int>(std::floor(numTicks));
        for (int i = 0; i < whole; ++i) Update(1.0f);
        float rest = static_cast<float>(std::fmod(numTicks, 1.0));
        if (rest > 0) Update(rest);
    });
}

void BriskApp::Update(float fixedDelta) {
    deltaTimer->UpdateDelta();
    if (useFixedRateLogic) deltaTimer->delta = fixedDelta;
    if (screenFade->active) screenFade->Update2();
    // Hold the screen while it runs: its update may start another screen that replaces it.
    if (auto screen = currentScreen) {
        if (!screenFade->active || screenFade->allowScreenUpdate) screen->Update2();
    }
}

void BriskApp::RecomputeView() {
    float deviceW = static_cast<float>(platform::DeviceWidth());
    float deviceH = static_cast<float>(platform::DeviceHeight());
    // A window without size (minimised, or not open yet) keeps the previous view: every formula
    // below would divide by zero.
    if (deviceW <= 0 || deviceH <= 0 || SCREEN_WIDTH <= 0 || SCREEN_HEIGHT <= 0) return;
    DEVICE_WIDTH = deviceW;
    DEVICE_HEIGHT = deviceH;
    deviceChanged = false;
    if (DEVICE_HEIGHT / DEVICE_WIDTH >= aspectRatio) {
        multi = DEVICE_WIDTH / SCREEN_WIDTH;
        heightBorder = (DEVICE_HEIGHT - SCREEN_HEIGHT * multi) * 0.5f;
        widthBorder = 0;
    } else {
        multi = DEVICE_HEIGHT / SCREEN_HEIGHT;
        widthBorder = (DEVICE_WIDTH - SCREEN_WIDTH * multi) * 0.5f;
        heightBorder = 0;
    }
    vsx = std::max(0.0f, widthBorder);
    vsy = std::max(0.0f, heightBorder);
    vsw = std::min(DEVICE_WIDTH - 2 * widthBorder, DEVICE_WIDTH);
    vsh = std::min(DEVICE_HEIGHT - 2 * heightBorder, DEVICE_HEIGHT);
    virtualScaledW = SCREEN_WIDTH * multi;
    virtualScaledH = SCREEN_HEIGHT * multi;
    virtualXOff = (DEVICE_WIDTH - virtualScaledW) * 0.5f / multi;
    virtualYOff = (DEVICE_HEIGHT - virtualScaledH) * 0.5f / multi;
}

void BriskApp::OnRender() {
    Guarded([this] {
        FPSCounter::Update();
        if (virtualResOn) {
            platform::PushMatrix();
            if (aspectRatioOn) {
                if (deviceChanged || static_cast<float>(platform::DeviceWidth()) != DEVICE_WIDTH ||
                    static_cast<float>(platform::DeviceHeight()) != DEVICE_HEIGHT) {
                    RecomputeView();
                }
                platform::SetScissor(0, 0, DEVICE_WIDTH, DEVICE_HEIGHT);
                platform::Cls(0, 0, 0);
                platform::SetScissor(vsx, vsy, vsw, vsh);
                platform::Scale(multi, multi);
                platform::Translate(virtualXOff, virtualYOff);
            } else {
                platform::Scale(SCREENX_RATIO, SCREENY_RATIO);
            }
        }
        if (autoCls) platform::Cls(0, 0, 0);
        // Hold the screen for the pass, whatever it starts meanwhile.
        auto screen = currentScreen;
        if (screen) {
            screen->RenderBackgroundLayers();
            screen->Render();
            screen->RenderForegroundLayers();
        }
        if (virtualResOn) {
            if (aspectRatioOn) platform::SetScissor(0, 0, DEVICE_WIDTH, DEVICE_HEIGHT);
            platform::PopMatrix();
        }
        if (screen) {
            screen->ExtraRender();
            if (screenFade->active) screenFade->Render();
            screen->DebugRender();
        }
        if (debugOn) DrawDebug();
        if (drawFPSOn) DrawFPS();
        briskMouse->Update2();
    });
}

void BriskApp::DrawFPS() {
    FPSCounter::Draw(2, 2, 0, 0);
}

void BriskApp::SetEngineMusicVolume(float v) {
    if (!(v >= 0)) v = 0;
    if (v > 1) v = 1;
    engineMusicVolume = v;
    platform::SetMusicVolume(v);
}

void BriskApp::ResetDelta() {
    if (!deltaTimer) return;
    deltaTimer->currentticks = static_cast<double>(platform::Millisecs());
    deltaTimer->lastticks = deltaTimer->currentticks;
}

float BriskApp::CalcAnimLength(float ms) {
    return ms / (1000.0f / static_cast<float>(FPS));
}

void BriskApp::MusicPlay(const std::string& file, int flags) {
    musicFile = file;
    musicOkay = platform::PlayMusic("music/" + file, flags);
    // The fixed text alone names neither the track nor what is wrong with it.
    if (musicOkay == -1)
        platform::PrintLine("Error Playing Music - Music must be in the data\\music folder; music/" + file +
                            ": " + platform::MusicFault("music/" + file));
}

void BriskApp::MusicSetVolume(int v) {
    musicVolume = std::clamp(v, 0, 100);
    SetEngineMusicVolume(static_cast<float>(musicVolume) / 100.0f);
}
