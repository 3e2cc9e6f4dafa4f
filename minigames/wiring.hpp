#pragma once
// The mini-games' start-up registration, and the one place that wires the whole game.

// Called by WireGame last.
void RegisterMinigames();
