// The real game in a real window, opened straight on the city map with a fresh hero: for looking at
// the map (and playing it under a virtual X server) before the title screen leads there.
// BRALLWICK_WINDOWED=1 keeps it in a window; BRALLWICK_PREVIEW_STRENGTH=n gives the hero n points
// of strength as the map opens (a level-up to look at).
#include <cstdlib>
#include <cstring>

#include "framework/main.hpp"
#include "model/profile.hpp"
#include "platform/engine.hpp"
#include "screens/map.hpp"
#include "tests/support/game_assets.hpp"

void WireGame();

int main() {
    platform::EngineOptions options;
    const char* windowed = std::getenv("BRALLWICK_WINDOWED");
    options.forceWindowed = windowed && *windowed && std::strcmp(windowed, "0") != 0;
    WireGame();
    gameHooks.firstScreen = [] {
        harness::LoadGameAssets();
        harness::MakeHero("Rook");
        if (const char* strength = std::getenv("BRALLWICK_PREVIEW_STRENGTH")) {
            Profile::AddFlagInt("Attribute.Strength", std::atoi(strength));
        }
        MapScreen::MapScreen_new()->PreStart();
    };
    return platform::RunProgram(InitGlobals, RunMain, options);
}
