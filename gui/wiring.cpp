// The GUI's start-up registration: where the GUI's modules add their start-up steps and hooks.
#include "gui/wiring.hpp"

#include "framework/main.hpp"

// Nothing of the GUI takes part in start-up yet. Its tables load at their own slots
// (gameHooks.loadTables.Add(TableStep::kDialogues, ...)), its globals through gameHooks.initGlobals.
void RegisterGui() {}
