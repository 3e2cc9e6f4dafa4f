// The screens' start-up registration: where the screens add their start-up steps and hooks.
#include "screens/wiring.hpp"

#include "framework/main.hpp"

// No screen of the game exists yet; the splash screen will start the game from
// gameHooks.firstScreen.
void RegisterScreens() {}
