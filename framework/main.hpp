#pragma once
// The program's entry road and its one application object: the global initialiser, the main
// function, the Game class, the window and graphics-mode natives and the statistics-id file.
#include <string>

#include "core/hooks.hpp"
#include "framework/framework.hpp"

// The window's size in pixels, taken right after the window opens.
extern int windowWidth;
extern int windowHeight;
// The image-bank entry of the logo, loaded at start-up.
extern GameImage* logoImage;

// The one font loaded at start-up, before any screen: "Yikes24" into the "n" slot.
constexpr const char* kDefaultFontName = "Yikes24";

// Gives every module-level and class-level variable its initial value. Called by the engine before
// anything else, and again when it stops, so that what a run made goes while everything it points
// into is still there; tests call it again (with the engine stopped) to start from a clean program.
// What the last run left goes first, in the reverse of the order it was made (`GameHooks`).
void InitGlobals();
// The program's main entry after InitGlobals.
void RunMain();

// The data tables of start-up, in the order they load; a later table may look up what an earlier
// one loaded. The order crosses layers (the dialogues, animations and particles of the GUI come
// between the model's quests and upgrades), so each table's module adds its loader at its own slot:
// `gameHooks.loadTables.Add(TableStep::kDialogues, DialogueList::Init)`.
enum class TableStep {
    kNodes,
    kLocations,
    kPowers,
    kActions,
    kQuests,
    kDialogues,
    kAnimations,
    kParticles,
    kUpgrades,
    kCount
};

// The start-up and life-cycle steps that belong to the layers above the framework. The framework
// may not include those layers, so each layer adds its steps to these lists from its own
// `Register...` function (model/wiring.cpp, gui/wiring.cpp, screens/wiring.cpp,
// minigames/wiring.cpp), and `WireGame` calls those in layer order; the program wires once before
// it runs, and so does every test harness. A list runs its steps in the order they were added, so
// a layer adds its steps in the order the start-up gives them; an empty list keeps the framework's
// own default. core/hooks.hpp has the rules.
struct GameHooks {
    // The first steps of InitGlobals, in the order added, before the game and its screens go:
    // whatever is still in play gives back what it holds (the item list, every listed, queued and
    // held item), while every object those point into is still there.
    StepList<> endPlay;
    // Then, after the game, each layer lets go of the objects it made (its pools), the last made
    // first. Run from the last step added to the first, so a higher layer's objects, which point
    // into a lower one's, go before them; a layer's own step takes its objects down in the reverse
    // of the order its initGlobals steps make them.
    StepList<> releaseGlobals;
    // A step of InitGlobals: every layer's module and class globals get their initial values.
    StepList<> initGlobals;
    // Game.OnCreate before the graphics mode opens, in this order: Data.Init, Profile.Load,
    // Trophies.Init, Data.SetResolutionRatio (all of the model).
    StepList<> beforeGraphics;
    // The size and full-screen choice of the graphics mode; each step may change what the ones
    // before it chose. Empty: 1000 x 600 in a window.
    StepList<int&, int&, int&> graphicsMode;
    // Game.OnCreate after the window, the logo and the default font: the data tables, by slot.
    SlotSteps<TableStep> loadTables;
    // Game.OnCreate's last step: start the first screen. Empty: the blank screen.
    StepList<> firstScreen;
    // Game.OnUpdate after the engine delivered the finished requests: whatever waits for a reply
    // gives up on one that is overdue.
    StepList<> pollAsync;
    // Game.OnResume after the music resumed (the frame clock restarts).
    StepList<> onResume;
    // Game.OnBack (the back request).
    StepList<> onBack;
    // Game.OnClose (the window closed, or the program told to end) before the program ends: the
    // profile is saved.
    StepList<> onClose;
};
extern GameHooks gameHooks;

// Registers every layer's steps and services, lowest layer first. Defined by the highest layer
// (minigames/wiring.cpp); calling it again adds nothing twice.
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

// Native helpers of the game; only the static operations are used. The ones below the wheel are
// the natives of phones and browsers: on the desktop each does nothing and answers 0 or "".
class brisk {
  public:
    static double systemMillisecs();
    static void setGraphics(int w, int h, int fullscreen);
    static void setMouse(int x, int y);
    static float realMod(float a, float b);
    // The change of the wheel position since the previous call.
    static int mouseZ();
    // Does nothing on the desktop: the wheel needs no setting up.
    static void mouseZInit() {}
    // Does nothing on the desktop: there is no on-screen keyboard.
    static int showKeyboard() { return 0; }
    // Does nothing on the desktop: no web page is opened.
    static int launchBrowser(const std::string& /*url*/) { return 0; }
    // Does nothing on the desktop: no mail is written.
    static int launchEmail(const std::string& /*address*/, const std::string& /*subject*/,
                           const std::string& /*text*/) {
        return 0;
    }
    // Does nothing on the desktop: it cannot vibrate.
    static int startVibrate(int /*ms*/) { return 0; }
    // Does nothing on the desktop: it cannot vibrate.
    static int stopVibrate() { return 0; }
    // Does nothing on the desktop: it has no position.
    static int startGps() { return 0; }
    // Does nothing on the desktop: the game shows its own messages.
    static int showAlertDialog(const std::string& /*title*/, const std::string& /*message*/) { return 0; }
    // Does nothing on the desktop: music is never moved to a position.
    static int SeekMusic(int /*ms*/) { return 0; }
    // Does nothing on the desktop: "" (no position).
    static std::string getLatitiude() { return ""; }
    // Does nothing on the desktop: "" (no position).
    static std::string getLongitude() { return ""; }
    // Does nothing on the desktop: "" (typed text comes through the key events).
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
