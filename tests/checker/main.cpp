// check_content [folder]: checks the data folder under `folder` (default: the working folder) and
// prints one line per problem; the exit status is 1 when there is any.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/checker/checker.hpp"

int main(int argc, char** argv) {
    // The game is started without a window or a sound device.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const std::string root = std::filesystem::absolute(argc > 1 ? argv[1] : ".").string();
    const std::vector<std::string> problems = checker::CheckDataFolder(root);
    for (const std::string& line : problems) std::printf("%s\n", line.c_str());
    if (problems.empty()) std::printf("The data folder in %s is sound.\n", root.c_str());
    return problems.empty() ? 0 : 1;
}
