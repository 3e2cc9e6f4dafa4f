#pragma once
// The content checker: starts the game headless on a data folder, so every table loads through the
// game's own loaders and start-up checks, then follows every reference the data makes (dialogues,
// powers, effects, quests, upgrades, locations, nodes, pictures, sounds and music), the ids the
// program itself asks for, whether every font reads cleanly, and whether each speech bubble holds
// its text in the baked fonts.
#include <string>
#include <vector>

namespace checker {

// One line per problem, each naming the file and the element. `root` is the folder that holds
// "data". A data folder the game cannot start on gives the game's own fatal report as one line.
std::vector<std::string> CheckDataFolder(const std::string& root);

// The parts of the check, run on the tables the game loaded; each adds its lines to `out`.
// The ids the program looks up by name.
void CheckNamedIds(std::vector<std::string>& out);
// Pictures, sounds and music the tables name, against the files of `dataFolder` and the regions
// of its atlases.
void CheckPicturesAndSounds(const std::string& dataFolder, std::vector<std::string>& out);
// Every speech bubble and narration box holds its text at 1000 x 600 (and in the tall bubble).
void CheckBubbles(const std::string& dataFolder, std::vector<std::string>& out);

}  // namespace checker
