// The statistics-id file and the small natives.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "framework/main.hpp"
#include "platform/storage.hpp"
#include "tests/support/harness.hpp"

using harness::Harness;

TEST(Natives, TheStatisticsIdIsSavedAndLoadedFromThePerUserFolder) {
    Harness h;
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(LoadID(), "");
    SaveID("abc-123");
    EXPECT_EQ(LoadID(), "abc-123");
    std::string file = h.AppDataFolder() + "/Brallwick - Quellfast/id.txt";
    ASSERT_TRUE(std::filesystem::exists(file));
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "abc-123");
    SaveID("77");
    EXPECT_EQ(LoadID(), "77");
    EXPECT_EQ(GetPlatform(), "windows");
}

TEST(Natives, SavingAnIdWithoutTheApplicationDataFolderDoesNothing) {
    Harness h;
    ASSERT_TRUE(h.Start());
    std::filesystem::remove_all(h.AppDataFolder());
    SaveID("abc");
    EXPECT_FALSE(std::filesystem::exists(h.AppDataFolder()));
    EXPECT_EQ(LoadID(), "");
}
