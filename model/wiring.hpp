#pragma once
// The model's start-up registration: its steps of the game's start-up and life cycle, and the
// services it gives the modules below it.

// Called by WireGame after the framework's registration and before the GUI's.
void RegisterModel();
