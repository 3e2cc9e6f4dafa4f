// The GUI's start-up registration: where the GUI's modules add their start-up steps and hooks.
#include "gui/wiring.hpp"

#include "framework/main.hpp"
#include "gui/animations.hpp"

// The GUI's tables load at their own slots (gameHooks.loadTables.Add(TableStep::kDialogues, ...)),
// its globals through gameHooks.initGlobals.
void RegisterGui() {
    gameHooks.initGlobals.Add(AnimationList::InitGlobals);
    gameHooks.loadTables.Add(TableStep::kAnimations, AnimationList::Init);
}
