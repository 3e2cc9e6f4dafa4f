#pragma once
// Runs the real program headless, frame by frame, with a fake clock and a temporary per-user
// folder: inject input, step frames without sleeping, read pixels and save frames as PNG. Every
// harness starts from freshly initialised globals and leaves them reset.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace harness {

struct Rgba {
    int r = 0, g = 0, b = 0, a = 0;
};

class Harness {
  public:
    Harness();
    ~Harness();
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;

    // The working folder whose "data" the program reads (default: the build's baked data). Set it
    // before Start.
    void SetDataRoot(const std::string& root) { dataRoot_ = root; }

    // Starts the program and runs its first frame (start-up and the first render, no update).
    // False when the program ended during start-up. Unless the test writes a state of its own
    // (WriteState) or asks for none (NoSavedState) first, the saved settings are the defaults with
    // full screen off, so the game opens a window of the virtual size. Start-up ends on a blank
    // screen that leaves the frame to the test, unless the test asked for the game's own opening.
    bool Start();
    // Start-up opens the game as a player sees it: the splash row, the loading and the title.
    void OpenAsPlayed() { asPlayed_ = true; }
    // The save state the program finds at start-up (written into this run's per-user folder).
    void WriteState(const std::string& state);
    // Start-up finds no save state at all: a first run, full screen by default.
    void NoSavedState();
    // Runs n whole frames (events, update, render). False once the program has ended.
    bool Step(int frames = 1);
    bool Running() const;
    int ExitStatus() const;
    const std::string& LastReport() const;
    void AdvanceClock(int64_t ms);
    // Draws only every n-th stepped frame (drawing is most of a frame's cost); a saved frame is
    // drawn afresh.
    void RenderEvery(int n);

    void MouseMove(int x, int y);
    void MouseButton(int button, bool down);
    // A left click at (x, y): the mouse moved there, pressed and released, a frame after each.
    void Click(int x, int y);
    void Key(int key, bool down);
    void Text(const std::string& utf8);
    void Focus(bool gained);
    void Quit();
    void Resize(int width, int height);

    // Which graphics modes may open (width, height, full screen); the rest fail as if the display
    // refused them. Applies to opens from now on, start-up included.
    void SetModeFilter(std::function<bool(int, int, bool)> filter);

    Rgba Pixel(int x, int y) const;
    std::vector<uint8_t> ReadPixels(int x, int y, int w, int h) const;
    // Saves the last frame as <build>/frames/<name>.png and returns the file's path ("" on failure).
    std::string SaveFrame(const std::string& name) const;

    // The temporary per-user application-data folder of this run.
    const std::string& AppDataFolder() const { return appData_; }

    // Ends the engine and resets every global of the program (the destructor does it too).
    void Stop();

  private:
    std::string appData_;
    std::string dataRoot_ = BRISK_DATA_ROOT;
    bool started_ = false;
    bool asPlayed_ = false;
    int renderEvery_ = 1;
};

}  // namespace harness
