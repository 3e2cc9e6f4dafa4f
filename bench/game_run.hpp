#pragma once
// The real game started headless for a benchmark (run from the build folder, where "data" lives):
// a per-user folder of its own with full screen off, so the game opens its 1000 x 600 window, and
// a fake clock. Everything is stopped and reset when it goes.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "framework/main.hpp"
#include "model/profile.hpp"
#include "platform/engine.hpp"
#include "platform/storage.hpp"

class RunningGame {
  public:
    RunningGame() {
        namespace fs = std::filesystem;
        if (!fs::exists("data/Yikes24.txt")) return;
        std::string pattern = (fs::temp_directory_path() / "brallwick-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) return;
        user_ = pattern;
        WireGame();
        InitGlobals();
        Profile::InitGlobal();
        Profile::SetGlobalFlagInt("Fullscreen", 0);
        const std::string saved = Profile::saveData->ToString();
        InitGlobals();
        fs::create_directories(fs::path(user_) / platform::kGameFolderName);
        std::ofstream(fs::path(user_) / platform::kGameFolderName / ".vantlestate", std::ios::binary) << saved;
        platform::EngineOptions options;
        options.headless = options.fakeClock = true;
        options.messageBoxes = false;
        options.appDataFolder = user_;
        started_ = platform::driver::Start(&InitGlobals, &RunMain, options) && platform::driver::Step(1);
    }
    ~RunningGame() {
        if (started_) platform::driver::Stop();
        InitGlobals();
        std::error_code ignored;
        if (!user_.empty()) std::filesystem::remove_all(user_, ignored);
    }
    RunningGame(const RunningGame&) = delete;
    RunningGame& operator=(const RunningGame&) = delete;

    // The game runs (with its data folder found).
    bool Started() const { return started_; }

  private:
    std::string user_;
    bool started_ = false;
};
