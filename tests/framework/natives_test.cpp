// The statistics-id file and the small natives.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "framework/main.hpp"
#include "platform/storage.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/in_child.hpp"

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

// Whatever is found at "id.txt", or happens while it is written, the id is never lost and nothing
// waits: a pipe or a device there reads as no id (with one line naming it) and the next id saved
// replaces it; a full disk leaves the previous id whole. Each case runs in a child a deadline ends.
TEST(Natives, AnIdFileThatIsNoPlainFileOrCannotBeWrittenHoldsNothingUpAndLosesNoId) {
    std::string pattern = (std::filesystem::temp_directory_path() / "brisk-natives-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const std::string folder = pattern + "/Brallwick - Quellfast", file = folder + "/id.txt";
    platform::SetAppDataFolder(pattern);
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    for (const char* hostile : {"a pipe", "/dev/zero"}) {
        std::filesystem::remove(file);
        if (hostile[0] == '/') std::filesystem::create_symlink(hostile, file);
        ASSERT_TRUE(hostile[0] == '/' || mkfifo(file.c_str(), 0644) == 0);
        const harness::ChildRun run = harness::InChild(
            [] {
                const std::string before = LoadID();
                SaveID("99");
                return before + "|" + LoadID();
            },
            3);
        EXPECT_TRUE(run.finished) << hostile << " at id.txt holds up the start";
        EXPECT_EQ(run.result, "|99") << hostile;
        EXPECT_NE(run.printed.find(file), std::string::npos) << run.printed;
    }

    // A disk that takes no more bytes: the write fails where it is, and says where.
    SaveID("77");
    const harness::ChildRun run = harness::InChild([] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit full{0, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &full);
        SaveID("88");
        return "";
    });
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(LoadID(), "77");
    EXPECT_NE(run.printed.find("Error writing file " + file), std::string::npos) << run.printed;
    EXPECT_EQ(std::count(run.printed.begin(), run.printed.end(), '\n'), 1) << run.printed;
    platform::SetAppDataFolder("");
    std::filesystem::remove_all(pattern);
}
