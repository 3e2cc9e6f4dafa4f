#pragma once
// The GUI's start-up registration: its steps of the game's start-up and life cycle (its globals,
// the dialogue, animation and particle tables) and what it hooks into the model.

// Called by WireGame after the model's registration and before the screens'.
void RegisterGui();
