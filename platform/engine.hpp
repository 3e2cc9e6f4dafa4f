#pragma once
// The engine's entry and frame loop, and the driven mode that tests use to run the real program
// one frame at a time with a fake clock.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct EngineOptions {
    bool headless = false;       // offscreen video, dummy audio, software renderer
    bool fakeClock = false;      // the clock advances only by Step / AdvanceClock
    bool messageBoxes = true;    // off: message-box texts go to standard error
    bool forceWindowed = false;  // full-screen requests open a window of the requested size
    std::string dataRoot;        // working folder for "./data" ("" = the process's own)
    std::string appDataFolder;   // per-user application-data folder ("" = the system's)
};

// The program: creates the engine, sets the title "Brallwick - Quellfast", runs initGlobals and
// runMain inside one guard, then the frame loop until the window closes or the program ends.
// Returns the exit status (0 for a normal end or EndApp, 1 for an uncaught error or a failed
// graphics mode).
int RunProgram(void (*initGlobals)(), void (*runMain)(), const EngineOptions& options);

// Driven mode: the same start-up and frame body, stepped by the caller without sleeping.
namespace driver {

// Starts the program; the first call to Step runs OnCreate and the first render.
bool Start(void (*initGlobals)(), void (*runMain)(), const EngineOptions& options);
// Runs n loop iterations (events, update, render). False once the program has ended.
bool Step(int frames = 1);
bool Running();
// Runs n loop iterations at the update rate, resting between them as the program's own loop does
// (with the fake clock: without resting, like Step).
bool StepPaced(int frames);
int ExitStatus();
// The text of the last uncaught-error report ("" when none).
const std::string& LastReport();
// Tears the engine down (window, audio, app registration) so the next test starts clean.
void Stop();

void AdvanceClock(int64_t ms);  // fake clock only
// Steps draw only every n-th frame from now on (1: every frame); RenderNow draws the current one.
void RenderEvery(int n);
void RenderNow();

// Events travel through SDL's own queue, so they take the real input path.
void InjectMouseMove(int x, int y);
void InjectMouseButton(int button, bool down);  // 0 left, 1 right, 2 middle
void InjectKey(int key, bool down);              // the engine's key codes
void InjectText(const std::string& utf8);
void InjectFocus(bool gained);
void InjectQuit();
void InjectResize(int width, int height);

// RGBA pixels of the last rendered frame (device pixels), row by row.
std::vector<uint8_t> ReadPixels(int x, int y, int w, int h);
bool SaveFramePNG(const std::string& file);

}  // namespace driver
}  // namespace platform
