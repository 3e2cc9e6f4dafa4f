// The GUI's start-up registration: where the GUI's modules add their start-up steps and hooks.
#include "gui/wiring.hpp"

#include "framework/main.hpp"
#include "gui/animations.hpp"
#include "gui/dialogues.hpp"
#include "model/actionrefs.hpp"

namespace {

// Every table has loaded once the upgrades have (the last of them, and a model table, so its step
// was added before this one): now the ids the actions name can be looked up.
void CheckActionReferences() {
    ActionReferences::CheckAll();
}

}  // namespace

// The GUI's tables load at their own slots (gameHooks.loadTables.Add(TableStep::kDialogues, ...)),
// its globals through gameHooks.initGlobals.
void RegisterGui() {
    gameHooks.initGlobals.Add(DialogueList::InitGlobals);
    gameHooks.initGlobals.Add(AnimationList::InitGlobals);
    gameHooks.loadTables.Add(TableStep::kDialogues, DialogueList::Init);
    gameHooks.loadTables.Add(TableStep::kAnimations, AnimationList::Init);
    gameHooks.loadTables.Add(TableStep::kUpgrades, CheckActionReferences);
}
