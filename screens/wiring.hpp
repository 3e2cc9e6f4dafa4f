#pragma once
// The screens' start-up registration: the first screen of the game and what the screens hook into
// the layers below.

// Called by WireGame after the GUI's registration and before the mini-games'.
void RegisterScreens();
