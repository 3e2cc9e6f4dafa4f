#pragma once
// The real game headless for a frame benchmark: a fresh per-user folder holding windowed settings,
// the engine on a fake clock, one frame run. Run from the build folder, where "data" lives.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "framework/main.hpp"
#include "model/profile.hpp"
#include "platform/engine.hpp"
#include "platform/storage.hpp"

class HeadlessGame {
  public:
    // False (with the reason) when there is no baked data folder or the engine did not start.
    bool Start(std::string& error) {
        namespace fs = std::filesystem;
        if (!fs::exists("data/Yikes24.txt")) {
            error = "no baked data folder here: run from the build folder";
            return false;
        }
        user_ = (fs::temp_directory_path() / "brallwick-bench-XXXXXX").string();
        if (!mkdtemp(user_.data())) {
            error = "no temporary folder";
            return false;
        }
        WireGame();
        InitGlobals();
        Profile::InitGlobal();
        Profile::SetGlobalFlagInt("Fullscreen", 0);
        const std::string saved = Profile::saveData->ToString();
        InitGlobals();
        fs::create_directories(fs::path(user_) / platform::kGameFolderName);
        std::ofstream(fs::path(user_) / platform::kGameFolderName / ".vantlestate") << saved;

        platform::EngineOptions options;
        options.headless = options.fakeClock = true;
        options.messageBoxes = false;
        options.appDataFolder = user_;
        platform::driver::Start(&InitGlobals, &RunMain, options);
        platform::driver::Step(1);
        std::error_code ignored;
        fs::create_directories("frames", ignored);
        return true;
    }

    ~HeadlessGame() {
        if (user_.empty()) return;
        platform::driver::Stop();
        InitGlobals();
        std::error_code ignored;
        std::filesystem::remove_all(user_, ignored);
    }

  private:
    std::string user_;
};
