#pragma once
// The pictures, sounds and fonts the puzzle-board games and dialogues draw with, loaded into the
// running program's banks the way the loading screen fills them, for tests that open those games
// without going through the loading screen.
namespace harness {

void LoadPuzzleArt();
// What only the board games draw over the game's load list: the chain markers and the battle
// effects.
void LoadBattleBoardArt();
// The puzzle games' art and what the four distress games draw besides.
void LoadDistressArt();

}  // namespace harness
