// Writing the soak's save points as the story passes them.
#include "tests/support/save_points.hpp"

#include <filesystem>
#include <fstream>

#include "model/profile.hpp"
#include "tests/support/screen_kind.hpp"

namespace harness {

SavePoints::SavePoints(std::string folder) : folder_(std::move(folder)) {
    if (!folder_.empty()) std::filesystem::create_directories(folder_);
}

void SavePoints::Watch() {
    if (folder_.empty() || !Profile::saveData) return;
    const std::string kind = ScreenKind();
    if (kind != previousKind_ && !previousState_.empty()) {
        if (kind == "Act") {
            Write("act-" + std::to_string(Profile::GetFlagInt("Flag.Act")));
        } else if (kind != "Map" && kind != "Title" && kind != "Load" && kind != "loading") {
            Write(kind);
        }
    }
    previousKind_ = kind;
    // Only a hero's state is worth starting from.
    if (Profile::currentSlot >= 0) previousState_ = Profile::saveData->ToString();
}

void SavePoints::Write(const std::string& name) {
    if (!written.insert(name).second) return;
    std::ofstream(std::filesystem::path(folder_) / (name + ".txt"), std::ios::binary) << previousState_;
}

}  // namespace harness
