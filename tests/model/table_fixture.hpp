#pragma once
// A clean model state for the data-table tests, and data files written to a temporary folder that
// the loaders read by absolute path.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "model/locations.hpp"
#include "model/nodes.hpp"
#include "model/profile.hpp"
#include "model/quests.hpp"
#include "model/trophies.hpp"
#include "model/upgrades.hpp"

namespace tabletest {

class TableTest : public ::testing::Test {
  protected:
    void SetUp() override { Reset(); }
    void TearDown() override {
        Reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    static void Reset() {
        InitProfileGlobals();
        Actions::InitGlobals();
        Nodes::InitGlobals();
        Locations::InitGlobals();
        Quests::InitGlobals();
        Quests::views = QuestViews{};
        Trophies::InitGlobals();
        Trophies::views = TrophyViews{};
        Upgrades::InitGlobals();
    }
    std::string Write(const std::string& name, const std::string& text) {
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/" + name) << text;
        return folder + "/" + name;
    }
    const std::string folder =
        std::filesystem::temp_directory_path().string() + "/table-test-" + std::to_string(::getpid());
};

}  // namespace tabletest
