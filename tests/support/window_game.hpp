#pragma once
// The real program in a real window with its real clock, for trying a game by hand (or by a
// scripted mouse) before the city map can send the hero to it: settings with full screen on or
// off in a per-user folder of its own, the hero in the first slot, and a stand-in for the map.
#include <functional>
#include <string>

namespace harness {

class WindowGame {
  public:
    WindowGame() = default;
    ~WindowGame();
    WindowGame(const WindowGame&) = delete;
    WindowGame& operator=(const WindowGame&) = delete;

    // Opens the window and runs the first frame; the hero "Rook" is in the first slot. False when
    // the program did not start.
    bool Start(bool fullScreen);
    // Puts the map's stand-in up (after the caller's own art and flags).
    void OpenMap();
    // Runs frames at 60 a second until the window is closed, calling `frame` after each.
    void Run(const std::function<void()>& frame);

  private:
    std::string folder_;
    bool started_ = false;
};

}  // namespace harness
