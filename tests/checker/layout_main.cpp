// check_layout [folder] [--frames] [--in-game | --out-of-game]: visits every screen of the game on
// the data folder under `folder` (default: the working folder) at both layouts and prints one line
// per text that overlaps another, leaves what holds it or the screen, lies hidden under what is
// drawn after it, reads poorly or is too small, and per screen it could not reach; the exit status
// is 1 when there is any. With --frames every frame it looked at is saved as a PNG under the
// build's frames folder; --in-game visits only the screens of a game under way, --out-of-game only
// the title, its popups, the cards and the end (the two halves can run side by side).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/checker/layout_visit.hpp"

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::string folder = ".";
    bool keepFrames = false;
    layout::Visited which = layout::Visited::Both;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--frames")
            keepFrames = true;
        else if (std::string(argv[i]) == "--in-game")
            which = layout::Visited::InGame;
        else if (std::string(argv[i]) == "--out-of-game")
            which = layout::Visited::OutOfGame;
        else
            folder = argv[i];
    }
    const std::string root = std::filesystem::absolute(folder).string();
    const std::vector<std::string> findings = layout::CheckLayout(root, keepFrames, which);
    for (const std::string& line : findings) std::printf("%s\n", line.c_str());
    if (findings.empty()) std::printf("Every screen reads cleanly at both layouts.\n");
    return findings.empty() ? 0 : 1;
}
