#pragma once
// The application object and its frame cycle: one update and one render of the current screen per
// frame, a fixed virtual screen mapped onto the window with a uniform scale and black borders, the
// delta timer, the frames-per-second counter, the mouse tracker and the particle cache.
#include <memory>
#include <string>
#include <vector>

#include "framework/banks.hpp"
#include "framework/inputcache.hpp"
#include "framework/screen.hpp"
#include "platform/app.hpp"
#include "platform/graphics.hpp"

class DeltaTimer;

// Window size, virtual size, their halves and the device/virtual ratios.
extern float DEVICE_WIDTH;
extern float DEVICE_HEIGHT;
extern float SCREEN_WIDTH;
extern float SCREEN_HEIGHT;
extern float SCREEN_WIDTH2;
extern float SCREEN_HEIGHT2;
extern float SCREENX_RATIO;
extern float SCREENY_RATIO;
extern std::unique_ptr<DeltaTimer> deltaTimer;
extern float defaultFadeTime;
// Seed of the engine's random generator: 1234 until start-up replaces it by the millisecond clock.
extern int randomSeed;
class BriskApp;
extern BriskApp* briskGame;

// Gives every global of this module its initial value (the program's start, and every test).
void InitFrameworkGlobals();

// Float to int the way the game rules want it: toward zero, NaN as 0, saturated to the int range,
// so a division by a zero size can never become undefined behaviour.
int TruncToInt(double value);

class DeltaTimer {
  public:
    explicit DeltaTimer(float fps);
    void UpdateDelta();

    float targetfps = 60;
    // Milliseconds are kept in double: a float stops resolving single milliseconds after about
    // four and a half hours of play, which would make every later delta jitter.
    double lastticks = 0;
    float delta = 0;
    double frametime = 0;
    double currentticks = 0;
};

class FPSCounter {
  public:
    static void Update();
    // "FPS: " and the last second's count, in the default font; (ax, ay) is the anchor within the
    // text, 0 top/left to 1 bottom/right.
    static void Draw(float x, float y, float ax, float ay);

    static double startTime;
    static int fpsCount;
    static int totalFPS;
};

// The mouse position as the previous frame left it; Update2 is its per-frame step.
class BriskMouse {
  public:
    BriskMouse();
    void Update2();

    int lastX = 0;
    int lastY = 0;
};

class HitBox {
  public:
    float x = 0, y = 0, w = 0, h = 0;
};

class Sprite {
  public:
    virtual ~Sprite() = default;

    GameImage* image = nullptr;  // an image-bank entry; the bank owns it
    float x = 0, y = 0;
    float alpha = 1.0f;
    HitBox hitBox;
    bool visible = true;
};

class Particle : public Sprite {
  public:
    // Fills every slot of the cache with a new particle.
    static void Cache();

    static int MAX_PARTICLES;
    static std::vector<std::unique_ptr<Particle>> particles;
};

class BriskApp : public platform::App {
  public:
    BriskApp();
    ~BriskApp() override;

    void OnCreate() override;
    void OnSuspend() override;
    void OnResume() override;
    void OnUpdate() override;
    void OnRender() override;
    void OnBack() override;

    virtual void SetScreenSize(float w, float h, bool useAspectRatio);
    virtual void ResetFixedRateLogic();
    virtual void Create() {}
    virtual void DrawDebug() {}
    virtual void DrawFPS();
    virtual void ReadInputs();
    virtual void OverrideUpdate() {}
    virtual void SetEngineMusicVolume(float v);
    virtual void ResetDelta();
    virtual float CalcAnimLength(float ms);
    virtual void MusicPlay(const std::string& file, int flags);
    virtual void Update(float fixedDelta);
    virtual void MusicSetVolume(int v);

    std::unique_ptr<Screens> screens;
    std::shared_ptr<ExitScreen> exitScreen;
    std::shared_ptr<LoadingScreen> loadingScreen;
    std::unique_ptr<ScreenFade> screenFade;
    std::unique_ptr<ImageBank> images;
    std::unique_ptr<SoundBank> sounds;
    std::unique_ptr<InputCache> inputCache;
    std::unique_ptr<BriskMouse> briskMouse;
    bool virtualResOn = true;
    bool aspectRatioOn = false;
    float aspectRatio = 0;
    bool deviceChanged = false;
    int mouseX = 0, mouseY = 0;
    int FPS = 60;
    bool useFixedRateLogic = false;
    float frameRate = 200.0f;
    double ms = 0, numTicks = 0, lastNumTicks = 0, lastTime = 0;
    float multi = 0;
    float heightBorder = 0, widthBorder = 0;
    float vsx = 0, vsy = 0, vsw = 0, vsh = 0;
    float virtualScaledW = 0, virtualScaledH = 0;
    float virtualXOff = 0, virtualYOff = 0;
    bool autoCls = false;
    std::shared_ptr<Screen> currentScreen;
    bool debugOn = false;
    std::string musicFile;
    int musicOkay = 0;
    int musicVolume = 100;
    float engineMusicVolume = 1.0f;
    int soundVolume = 100;
    bool drawFPSOn = false;
    int mouseHit = 0;
    bool debugKeyOn = false;
    int debugKey = 112;
    double tmpMs = 0;
    int maxMs = 50;
    std::shared_ptr<Screen> nextScreen;

  private:
    void RecomputeView();
};
