// Writing the soak's save points as the story passes them.
#include "tests/support/save_points.hpp"

#include <filesystem>
#include <fstream>
#include <utility>

#include "model/profile.hpp"
#include "tests/support/screen_kind.hpp"

namespace harness {

SavePoints::SavePoints(std::string folder) : folder_(std::move(folder)) {
    if (!folder_.empty()) std::filesystem::create_directories(folder_);
}

void SavePoints::Watch() {
    if (folder_.empty() || !Profile::saveData) return;
    const std::string kind = ScreenKind();
    if (kind != previousKind_) {
        if (kind == "Act") {
            Write("act-" + std::to_string(Profile::GetFlagInt("Flag.Act")));
        } else if (kind != "Map" && kind != "Title" && kind != "Load" && kind != "loading") {
            Write(kind);
        }
    }
    previousKind_ = kind;
    // Only a hero's state is worth starting from.
    if (Profile::currentSlot < 0) return;
    recent_.push_back({Profile::saveData->ToString(), !Profile::GetFlagString("ArriveAt").empty()});
    if (recent_.size() > 8) recent_.pop_front();
}

void SavePoints::Write(const std::string& name) {
    if (recent_.empty() || !written.insert(name).second) return;
    // A game that opens on arriving somewhere (a distress call, a dungeon's door, a villain's
    // lair) is started again by the last state in which the hero was still arriving; anything
    // else by the last state before it showed.
    const Noted* start = &recent_.back();
    for (auto it = recent_.rbegin(); it != recent_.rend(); ++it) {
        if (it->arriving) {
            start = &*it;
            break;
        }
    }
    std::ofstream(std::filesystem::path(folder_) / (name + ".txt"), std::ios::binary) << start->state;
}

}  // namespace harness
