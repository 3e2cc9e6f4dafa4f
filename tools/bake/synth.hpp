#pragma once
#include <string>
namespace bake {
// Renders a sound-effect recipe to an Ogg Vorbis file. False, with `error` naming the problem, on bad input.
bool BakeSoundEffect(const std::string& recipeFile, const std::string& oggFile, std::string& error);
// Renders a music score to an Ogg Vorbis file (a seamless loop).
bool BakeMusicTrack(const std::string& scoreFile, const std::string& oggFile, std::string& error);
}  // namespace bake
