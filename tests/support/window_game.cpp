#include "tests/support/window_game.hpp"

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "framework/main.hpp"
#include "model/profile.hpp"
#include "platform/engine.hpp"
#include "platform/storage.hpp"
#include "tests/support/map_standin.hpp"

namespace harness {

bool WindowGame::Start(bool fullScreen) {
    namespace fs = std::filesystem;
    std::string folder = (fs::temp_directory_path() / "brallwick-window-XXXXXX").string();
    if (!mkdtemp(folder.data())) return false;
    folder_ = folder;
    WireGame();
    InitGlobals();
    Profile::InitGlobal();
    Profile::SetGlobalFlagInt("Fullscreen", fullScreen ? 1 : 0);
    const std::string saved = Profile::saveData->ToString();
    InitGlobals();
    fs::create_directories(fs::path(folder_) / platform::kGameFolderName);
    std::ofstream(fs::path(folder_) / platform::kGameFolderName / ".vantlestate", std::ios::binary) << saved;

    platform::EngineOptions options;
    options.appDataFolder = folder_;
    started_ = platform::driver::Start(&InitGlobals, &RunMain, options) && platform::driver::Step(1);
    if (!started_) return false;
    Profile::currentSlot = 0;
    Profile::slotFlags = Profile::saveData->Profiles.Get2(0);
    Profile::Init();
    Profile::SetFlagString("Name", "Rook");
    return true;
}

void WindowGame::OpenMap() {
    std::make_shared<MapStandIn>()->PreStart();
    platform::driver::Step(2);
}

void WindowGame::Run(const std::function<void()>& frame) {
    while (platform::driver::Running() && platform::driver::Step(1)) {
        frame();
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
    }
}

WindowGame::~WindowGame() {
    if (started_) platform::driver::Stop();
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

}  // namespace harness
