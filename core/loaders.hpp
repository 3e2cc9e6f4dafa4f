#pragma once
// The helpers that call the engine layer: image and sound loaders that never return Null (a
// failed load raises an AssertException) and the program's end.
#include <string>

#include "platform/audio.hpp"
#include "platform/graphics.hpp"

platform::ImagePtr LoadImageChecked(const std::string& path, int flags);
// One image cut into `frames` frames of w x h from its top-left corner, each handled at its centre.
platform::ImagePtr LoadFramedImage(const std::string& path, int w, int h, int frames);
platform::SamplePtr LoadSoundChecked(const std::string& path);

// Ends the program (the engine's EndApp).
[[noreturn]] void ExitApp();
