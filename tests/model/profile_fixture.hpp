#pragma once
// A clean profile store in a temporary per-user folder for each test.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "model/profile.hpp"
#include "platform/storage.hpp"

namespace profiletest {

// The level tables as the game defines them: 0, 100, 200, then each the sum of the two before.
inline int TableLevel(int value, int last) {
    long long a = 0, b = 100;
    if (value < 0) return -1;
    for (int i = 0; i < last; ++i) {
        // value lies in [a, b) -> level i
        if (value < b) return i;
        const long long next = i == 0 ? 200 : a + b;
        a = b;
        b = next;
    }
    return last;
}
inline int TestGetLevel(int value) {
    return TableLevel(value, 99);
}
inline int TestGetReputationLevel(int value) {
    return TableLevel(value, 16);
}

class ProfileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/profile-test-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        ASSERT_NE(made, nullptr);
        folder = made;
        platform::SetAppDataFolder(folder);
        InitProfileGlobals();
        Profile::services = ProfileServices{};
    }
    void TearDown() override {
        Profile::services = ProfileServices{};
        InitProfileGlobals();
        platform::SetAppDataFolder("");
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // The level services as the level module registers them.
    static void UseLevels() {
        Profile::services.getLevel = &TestGetLevel;
        Profile::services.getReputationLevel = &TestGetReputationLevel;
    }

    // Plays slot `slot` the way the character selection binds it.
    static void Choose(int slot) {
        Profile::currentSlot = slot;
        Profile::slotFlags = Profile::saveData->Profiles.Get2(slot);
    }

    std::string UserFolder() const { return platform::UserFolder(); }
    std::string StateFile() const { return platform::StateFilePath(); }
    std::string BadFile() const { return platform::UserFolder() + "/.vantlestate.bad"; }

    // Both wait for a save still on its way to the disk, as the game's own reads do.
    void WriteStateFile(const std::string& bytes) const {
        platform::FinishStateWrites();
        std::filesystem::create_directories(UserFolder());
        std::ofstream out(StateFile(), std::ios::binary);
        out << bytes;
    }
    static std::string ReadFile(const std::string& path) {
        platform::FinishStateWrites();
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static bool Exists(const std::string& path) {
        platform::FinishStateWrites();
        return std::filesystem::exists(path);
    }

    std::string folder;
};

}  // namespace profiletest
