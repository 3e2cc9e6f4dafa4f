#pragma once
// What the player is looking at, in the words of a play log: the screen's own name, or on the city
// map the game or popup over it (a job, a training, a battle, one of the four distress games, a
// dungeon, the power-up tree, the base).
#include <string>
#include <vector>

namespace harness {

// "" before the first screen. On the map a game over the map wins over the map itself, and a fight
// inside a dungeon is a battle.
std::string ScreenKind();

// Every kind the story leads to, in story order: the soak must reach each of them.
const std::vector<std::string>& StoryKinds();

}  // namespace harness
