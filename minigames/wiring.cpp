// The whole game's wiring, lowest layer first, and the mini-games' own start-up registration.
#include "minigames/wiring.hpp"

#include "framework/main.hpp"
#include "framework/wiring.hpp"
#include "gui/wiring.hpp"
#include "minigames/board.hpp"
#include "model/wiring.hpp"
#include "screens/wiring.hpp"

// The battle's shared state starts empty, and chains float their gains over the board.
void RegisterMinigames() {
    gameHooks.initGlobals.Add(BattleState::InitGlobals);
    PuzzleActor::showGain.Add(ShowBoardGain);
}

void WireGame() {
    RegisterFramework();
    RegisterModel();
    RegisterGui();
    RegisterScreens();
    RegisterMinigames();
}
