// Image and sound loaders that never return Null, and the program's end.
#include "core/loaders.hpp"

#include "core/helpers.hpp"
#include "platform/app.hpp"

platform::ImagePtr LoadImageChecked(const std::string& path, int flags) {
    platform::ImagePtr image = platform::LoadImage(path, 1, flags);
    RequireNotNull(image, "Error loading bitmap " + path);
    return image;
}

platform::ImagePtr LoadFramedImage(const std::string& path, int w, int h, int frames) {
    platform::ImagePtr image = platform::LoadImage(path, w, h, frames);
    RequireNotNull(image, "Error loading bitmap " + path);
    return image;
}

platform::SamplePtr LoadSoundChecked(const std::string& path) {
    platform::SamplePtr sound = platform::LoadSound(path);
    RequireNotNull(sound, "Error loading sound " + path);
    return sound;
}

void ExitApp() {
    platform::EndApp();
}
