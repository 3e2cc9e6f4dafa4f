#pragma once
// The program's entry road and its one application object: the global initialiser, the main
// function, the Game class, the window and graphics-mode natives and the statistics-id file.
#include <string>

#include "framework/framework.hpp"

// The window's size in pixels, taken right after the window opens.
extern int windowWidth;
extern int windowHeight;
// The image-bank entry of the logo, loaded at start-up.
extern GameImage* logoImage;

// The one font loaded at start-up, before any screen: "Yikes24" into the "n" slot.
constexpr const char* kDefaultFontName = "Yikes24";

// Gives every module-level and class-level variable its initial value. Called by the engine before
// anything else; tests call it again (with the engine stopped) to start from a clean program.
void InitGlobals();
// The program's main entry after InitGlobals.
void RunMain();

// The start-up and life-cycle steps that belong to the layers above the framework (the model's
// Data and Profile; later the GUI and the screens). The framework may not include those layers, so
// they register their steps here instead: the program calls WireGame() once before it runs (and
// so does the test harness), and the highest layer that exists defines WireGame to fill the hooks
// in. Each hook runs only when set; an unset hook keeps the framework's own default. Later layers
// add their steps to these same hooks rather than adding new ones beside them.
struct GameHooks {
    // Part of InitGlobals: the upper layers' module and class globals get their initial values.
    void (*initGlobals)() = nullptr;
    // Game.OnCreate before the graphics mode opens: Data.Init, Profile.Load, Trophies.Init,
    // Data.SetResolutionRatio.
    void (*beforeGraphics)() = nullptr;
    // The size and full-screen choice of the graphics mode; unset: 1000 x 600 in a window.
    void (*graphicsMode)(int& width, int& height, int& fullscreen) = nullptr;
    // Game.OnCreate after the window, the logo and the default font: the data tables, in order.
    void (*loadTables)() = nullptr;
    // Game.OnCreate's last step: start the first screen; unset: the blank screen.
    void (*firstScreen)() = nullptr;
    // Game.OnUpdate after the engine delivered the finished requests: whatever waits for a
    // reply gives up on one that is overdue.
    void (*pollAsync)() = nullptr;
    // Game.OnResume after the music resumed (the frame clock restarts).
    void (*onResume)() = nullptr;
    // Game.OnBack (the back request).
    void (*onBack)() = nullptr;
    // Game.OnClose before the program ends (the profile is saved).
    void (*onClose)() = nullptr;
};
extern GameHooks gameHooks;

// Fills gameHooks. Defined by the highest layer of the program.
void WireGame();
// Creates the one Game.
void Main();

class Game : public BriskApp {
  public:
    Game() = default;

    void OnResize() override {}
    void OnCreate() override;
    void OnSuspend() override;
    void OnResume() override;
    void OnUpdate() override;
    void OnClose() override;
    void OnBack() override;
};

// The screen that start-up ends on while the game has no screen of its own to show: black.
class BlankScreen : public Screen {
  public:
    BlankScreen();
    void Start() override {}
    void Render() override;
    void Update2() override {}
};

// Native helpers of the game; only the static operations are used.
class brisk {
  public:
    static double systemMillisecs();
    static void setGraphics(int w, int h, int fullscreen);
    static void setMouse(int x, int y);
    static float realMod(float a, float b);
    // The change of the wheel position since the previous call.
    static int mouseZ();
    static void mouseZInit() {}
    static int showKeyboard() { return 0; }
    static int launchBrowser(const std::string& /*url*/) { return 0; }
    static int launchEmail(const std::string& /*address*/, const std::string& /*subject*/,
                           const std::string& /*text*/) {
        return 0;
    }
    static int startVibrate(int /*ms*/) { return 0; }
    static int stopVibrate() { return 0; }
    static int startGps() { return 0; }
    static int showAlertDialog(const std::string& /*title*/, const std::string& /*message*/) { return 0; }
    static int SeekMusic(int /*ms*/) { return 0; }
    static std::string getLatitiude() { return ""; }
    static std::string getLongitude() { return ""; }
    static std::string getInputString() { return ""; }

    static int lastMouseZ;
};

// Sets the first icon of an .ico file as the window's icon (the engine has one window).
int SetWindowIcon(const std::string& file);
// Opens graphics at w x h, full screen when fullscreen is 1, else windowed; 60 Hz.
bool TryGraphicsMode(int w, int h, int fullscreen);
// Full screen tries the desktop size, then 1920x1080, 1280x720 and 1024x768; windowed tries w x h
// once. The size that opened becomes DEVICE_WIDTH x DEVICE_HEIGHT. When nothing opens, the user is
// told and the program ends with status 1.
int SetGraphicsMode(int w, int h, int fullscreen);
// The statistics id: the first line of "id.txt" in the per-user folder, "" without the file.
std::string LoadID();
int SaveID(const std::string& id);
std::string GetPlatform();
