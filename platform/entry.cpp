// The program's main: the engine runs the game's initialiser and main inside its loop.
#include <cstdlib>
#include <cstring>

#include "platform/engine.hpp"

void InitGlobals();
void RunMain();
// Registers the upper layers' start-up steps with the game; defined by the highest layer.
void WireGame();

namespace {

bool EnvOn(const char* name) {
    const char* value = std::getenv(name);
    return value && *value && std::strcmp(value, "0") != 0;
}

}  // namespace

int main() {
    platform::EngineOptions options;
    options.headless = EnvOn("BRALLWICK_HEADLESS");
    options.forceWindowed = EnvOn("BRALLWICK_WINDOWED");
    options.messageBoxes = !options.headless;
    WireGame();
    return platform::RunProgram(InitGlobals, RunMain, options);
}
