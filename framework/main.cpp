// The program's start-up and life cycle (the Game), the graphics mode and the natives.
#include "framework/main.hpp"

#include <cmath>
#include <memory>

#include "core/glyphfont.hpp"
#include "core/helpers.hpp"
#include "core/tween.hpp"
#include "platform/app.hpp"
#include "platform/audio.hpp"
#include "platform/input.hpp"
#include "platform/storage.hpp"

int windowWidth = 0;
int windowHeight = 0;
GameImage* logoImage = nullptr;
int brisk::lastMouseZ = 0;
GameHooks gameHooks;

namespace {

// The one application object; it lives until the program ends (or a test starts afresh).
std::unique_ptr<Game> theGame;

// The virtual screen when no upper layer chooses one from the display settings.
constexpr int kVirtualWidth = 1000;
constexpr int kVirtualHeight = 600;

}  // namespace

void InitGlobals() {
    gameHooks.endPlay.Run();
    theGame.reset();
    gameHooks.releaseGlobals.RunReversed();
    InitFrameworkGlobals();
    windowWidth = 0;
    windowHeight = 0;
    logoImage = nullptr;
    brisk::lastMouseZ = 0;
    Tween::InitGlobals();
    Fonts::Reset();
    gameHooks.initGlobals.Run();
}

void RunMain() {
    Main();
}

void Main() {
    theGame = std::make_unique<Game>();
}

// --- Game ----------------------------------------------------------------------------------------

void Game::OnCreate() {
    BriskApp::OnCreate();
    platform::SetUpdateRate(60);
    gameHooks.beforeGraphics.Run();
    int width = kVirtualWidth;
    int height = kVirtualHeight;
    int fullscreen = 0;
    gameHooks.graphicsMode.Run(width, height, fullscreen);
    SetGraphicsMode(width, height, fullscreen);
    SetScreenSize(static_cast<float>(width), static_cast<float>(height), true);
    deviceChanged = true;
    windowWidth = TruncToInt(DEVICE_WIDTH);
    windowHeight = TruncToInt(DEVICE_HEIGHT);
    images->Load3("Logo1.png", "", false, false, false, 0, 0, 0, false, "");
    logoImage = images->Get(UpperKey(StripPathAndExtension("Logo1.png")));
    auto font = std::make_unique<GlyphFont>();
    font->LoadFont(kDefaultFontName);
    Fonts::Set("n", std::move(font));
    gameHooks.loadTables.Run();
    if (!gameHooks.firstScreen.Empty()) {
        gameHooks.firstScreen.Run();
    } else {
        std::make_shared<BlankScreen>()->PreStart();
    }
}

void Game::OnUpdate() {
    BriskApp::OnUpdate();
    platform::UpdateAsyncEvents();
    gameHooks.pollAsync.Run();
}

void Game::OnSuspend() {
    platform::PauseMusic();
}

void Game::OnResume() {
    platform::ResumeMusic();
    gameHooks.onResume.Run();
}

void Game::OnClose() {
    gameHooks.onClose.Run();
    platform::EndApp();
}

// The desktop engine never delivers the back key; the escape key reaches the game through the
// per-frame key state instead.
void Game::OnBack() {
    gameHooks.onBack.Run();
}

BlankScreen::BlankScreen() : Screen("blank") {}

void BlankScreen::Render() {
    platform::Cls(0, 0, 0);
}

// --- Natives -------------------------------------------------------------------------------------

double brisk::systemMillisecs() {
    return platform::SystemMillisecs();
}

void brisk::setGraphics(int w, int h, int fullscreen) {
    platform::OpenGraphics(w, h, fullscreen != 0 ? 32 : 0, 60, 0);
}

void brisk::setMouse(int x, int y) {
    platform::SetMousePosition(x, y);
}

float brisk::realMod(float a, float b) {
    return std::fmod(a, b);
}

int brisk::mouseZ() {
    int position = platform::MouseZ();
    int change = position - lastMouseZ;
    lastMouseZ = position;
    return change;
}

int SetWindowIcon(const std::string& file) {
    platform::SetWindowIcon(file);
    return 0;
}

bool TryGraphicsMode(int w, int h, int fullscreen) {
    return platform::OpenGraphics(w, h, fullscreen == 1 ? 32 : 0, 60, 0);
}

int SetGraphicsMode(int w, int h, int fullscreen) {
    struct Size {
        int w, h;
    };
    auto opened = [](const Size& size) {
        DEVICE_WIDTH = static_cast<float>(size.w);
        DEVICE_HEIGHT = static_cast<float>(size.h);
        SetWindowIcon("data/icon.ico");
        return 0;
    };
    if (fullscreen != 0) {
        const Size tries[] = {
            {platform::DesktopWidth(), platform::DesktopHeight()}, {1920, 1080}, {1280, 720}, {1024, 768}};
        for (const Size& size : tries) {
            if (TryGraphicsMode(size.w, size.h, 1)) return opened(size);
        }
    } else if (TryGraphicsMode(w, h, 0)) {
        return opened({w, h});
    }
    platform::NotifyUser("Error: Failed to set graphics mode!", true);
    // Without graphics there is no game: end with a failure status the launcher can see.
    throw platform::AppExit{1};
}

std::string LoadID() {
    auto file = platform::OpenFileForRead(platform::UserFolder() + "/id.txt");
    if (!file) return "";
    std::string id = file->ReadLine();
    file->Close();
    return id;
}

int SaveID(const std::string& id) {
    platform::MakeDirectory(platform::UserFolder());
    auto file = platform::OpenFileForWrite(platform::UserFolder() + "/id.txt");
    if (!file) return 0;
    file->WriteLine(id);
    file->Close();
    return 0;
}

std::string GetPlatform() {
    return "windows";
}
