#pragma once
// The flag lists of the store, as the store and its save-state format both walk them: finding a
// flag by name, giving a whole list back to the pool, and the settings every global list holds.
#include <string>

#include "model/profile.hpp"

// The first flag of that name in the list, or null.
FlagItem* FindFlag(const FlagList& list, const std::string& name);
// Gives every item of the list back to the pool and empties the list.
void ReleaseFlags(FlagList& list);

struct GlobalDefault {
    const char* name;
    int value;
};
// The settings every store holds, in the order a fresh store writes them.
inline constexpr GlobalDefault kGlobalDefaults[] = {
    {"MusicVolume", 50}, {"SoundVolume", 75}, {"Fullscreen", 1}, {"Widescreen", 1},
    {"TimePlayed", 0},   {"Quality", 1},      {"MapNames", 0},   {"Hints", 1}};
