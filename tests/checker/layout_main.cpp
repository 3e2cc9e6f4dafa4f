// check_layout [folder]: visits every screen of the game on the data folder under `folder` (default:
// the working folder) at both layouts and prints one line per text that overlaps another, leaves
// what holds it or the screen, or reads poorly; the exit status is 1 when there is any.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/checker/layout_visit.hpp"

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const std::string root = std::filesystem::absolute(argc > 1 ? argv[1] : ".").string();
    const std::vector<std::string> findings = layout::CheckLayout(root);
    for (const std::string& line : findings) std::printf("%s\n", line.c_str());
    if (findings.empty()) std::printf("Every screen reads cleanly at both layouts.\n");
    return findings.empty() ? 0 : 1;
}
