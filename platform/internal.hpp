#pragma once
// Engine-private state shared by the engine layer's own sources. Nothing above platform/ includes
// this header.
#include <SDL.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/engine.hpp"
#include "platform/imagecodec.hpp"

namespace platform {

// A decoded picture on its way to (or living on) the renderer. Pixels wait in `pending` only
// while no renderer exists; once uploaded they are dropped to keep the heap small.
struct Texture {
    SDL_Texture* sdl = nullptr;
    int w = 0, h = 0;
    std::vector<uint8_t> pending;  // RGBA8, w * h * 4
    Texture();
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;
};

namespace detail {

struct Matrix {
    float a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;  // x' = a x + c y + e, y' = b x + d y + f
    Matrix operator*(const Matrix& n) const {
        return {a * n.a + c * n.b, b * n.a + d * n.b,     a * n.c + c * n.d,
                b * n.c + d * n.d, a * n.e + c * n.f + e, b * n.e + d * n.f + f};
    }
    void Apply(float x, float y, float& ox, float& oy) const {
        ox = a * x + c * y + e;
        oy = b * x + d * y + f;
    }
};

inline constexpr int kKeyCount = 512;
inline constexpr int kCharQueue = 64;

struct InputState {
    int mouseX = 0, mouseY = 0, mouseZ = 0;
    std::array<int, 3> mouseHit{}, mouseDown{};
    std::array<bool, 3> mouseReleasePending{}, mousePressedThisDrain{};
    std::array<int, kKeyCount> keyHit{}, keyDown{};
    std::array<bool, kKeyCount> keyReleasePending{}, keyPressedThisDrain{};
    std::array<int, kCharQueue> chars{};
    int charHead = 0, charCount = 0;
    bool getCharCalled = false;
};

struct Engine {
    EngineOptions options;
    bool up = false;      // SDL initialised
    bool driven = false;  // stepped by the driver instead of RunProgram's paced loop
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* whiteTexture = nullptr;  // the texel untextured shapes are drawn with
    // The largest picture the renderer can take, asked once when it is made.
    PictureLimits pictureLimits;
    std::string title = "Brallwick - Quellfast";
    int updateRate = 60;

    // Clock: program-relative. Real mode counts from `startNs`; fake mode only moves on Step and
    // AdvanceClock.
    int64_t startNs = 0;
    int64_t fakeMs = 0;
    int64_t fakeRemainder = 0;

    bool created = false;
    // Driven runs may draw only every n-th frame (drawing is most of a headless frame's cost).
    int renderEvery = 1;
    int sinceRender = 0;
    bool suspended = false;
    bool running = false;
    bool quitRequested = false;
    int exitStatus = 0;
    std::string lastReport;

    InputState input;
    std::unordered_set<Texture*> textures;
    std::function<bool(int, int, bool)> modeFilter;
};

Engine& E();

// Lifecycle helpers used by the loop (engine.cpp) and implemented by the concern that owns them.
void ResetGraphicsState();             // graphics.cpp: white, alpha 1, normal blend, no scissor, identity
void UploadTexture(Texture& texture);  // images.cpp
void DestroyAllTextures();             // images.cpp: before the renderer goes away
void CloseGraphics();                  // app.cpp: textures, renderer, window
void ResetInput();                     // input.cpp
void HandleInputEvent(const SDL_Event& event);  // input.cpp
void BeginInputDrain();              // input.cpp: deferred releases, hit counters, the GetChar queue
int SdlKeyToCode(SDL_Keycode key);   // input.cpp: -1 when unmapped
SDL_Keycode CodeToSdlKey(int code);  // input.cpp: SDLK_UNKNOWN when unmapped
void ClearAsyncQueue();              // app.cpp
int64_t NowNs();                     // app.cpp: a steady clock

}  // namespace detail

// storage.cpp: the bytes of a data file, and a working-folder path as the file system sees it.
bool ReadDataFile(const std::string& path, std::string& bytes);
std::string ResolveWorkingPath(const std::string& path);

namespace detail {}  // namespace detail
}  // namespace platform
