// check_content [--allow FILE] [folder]: checks the data folder under `folder` (default: the working
// folder) and prints one line per problem; the exit status is 1 when there is any. The lines of
// FILE (one per line, "#" starts a comment) are problems already known: they are printed as such
// and do not fail the check.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "tests/checker/checker.hpp"

int main(int argc, char** argv) {
    // The game is started without a window or a sound device.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::set<std::string> known;
    std::string folder = ".";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--allow" && i + 1 < argc) {
            std::ifstream in(argv[++i]);
            for (std::string line; std::getline(in, line);) {
                if (!line.empty() && line[0] != '#') known.insert(line);
            }
        } else {
            folder = arg;
        }
    }
    const std::string root = std::filesystem::absolute(folder).string();
    int failures = 0;
    for (const std::string& line : checker::CheckDataFolder(root)) {
        const bool allowed = known.count(line) != 0;
        std::printf("%s%s\n", allowed ? "(known) " : "", line.c_str());
        if (!allowed) ++failures;
    }
    if (failures == 0) std::printf("The data folder in %s is sound.\n", root.c_str());
    return failures == 0 ? 0 : 1;
}
