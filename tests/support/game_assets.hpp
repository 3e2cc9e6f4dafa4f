#pragma once
// What the game's loading screen brings in before the title: every sound, the eight fonts and the
// pictures of the game's load list, loaded straight into the banks. Tests that show a game screen
// without going through the loading screen start from here.
#include <string>
#include <utility>
#include <vector>

namespace harness {

// A data folder under `folder` that is the baked one with some files of "data/data/" replaced:
// each pair is a file name there and its text. Returns the folder to pass to SetDataRoot.
std::string DataRootWith(const std::string& folder, const std::vector<std::pair<std::string, std::string>>& files);

void LoadGameAssets();

// A fresh hero in slot 0, the way character creation leaves one: a name, a body and the first act
// already announced, so the map opens at once.
void MakeHero(const char* name);

}  // namespace harness
