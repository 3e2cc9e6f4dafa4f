// The whole game's wiring, lowest layer first, and the mini-games' own start-up registration.
#include "minigames/wiring.hpp"

#include "framework/main.hpp"
#include "framework/wiring.hpp"
#include "gui/wiring.hpp"
#include "model/wiring.hpp"
#include "screens/wiring.hpp"

// No mini-game takes part in start-up yet.
void RegisterMinigames() {}

void WireGame() {
    RegisterFramework();
    RegisterModel();
    RegisterGui();
    RegisterScreens();
    RegisterMinigames();
}
