// The loading screens in the running game: a picture missing from the data folder stops the game
// with its file named, the escape key ends it while it loads, and the loading screen of the game
// finds everything already loaded by the title's and goes on to the city map at once.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "framework/framework.hpp"
#include "model/profile.hpp"
#include "screens/loadscreen.hpp"
#include "tests/support/game_assets.hpp"
#include "tests/support/harness.hpp"

namespace {

namespace fs = std::filesystem;

std::string ScreenName() {
    return briskGame && briskGame->currentScreen ? briskGame->currentScreen->name : "";
}

// Steps the game from its start, skipping the splash pictures with clicks, until `done` holds or
// the game ends; at most `frames` frames.
bool PlayUntil(harness::Harness& h, bool (*done)(), int frames) {
    for (int i = 0; i < frames && h.Running() && !done(); ++i) {
        if (ScreenName() == "Splash") h.MouseButton(0, i % 4 == 1);
        h.Step();
    }
    return h.Running() && done();
}

// A copy of the baked data folder (made of links) without one picture.
class DataWithout {
  public:
    explicit DataWithout(const std::string& picture) {
        root_ = fs::temp_directory_path() / ("brallwick-data-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        const fs::path baked = fs::path(BRISK_DATA_ROOT) / "data";
        for (const auto& entry : fs::directory_iterator(baked)) {
            if (entry.path().filename() != "graphics") {
                fs::create_directories(root_ / "data");
                fs::create_symlink(entry.path(), root_ / "data" / entry.path().filename());
            }
        }
        fs::create_directories(root_ / "data" / "graphics");
        for (const auto& entry : fs::directory_iterator(baked / "graphics")) {
            if (entry.path().filename() != picture)
                fs::create_symlink(entry.path(), root_ / "data" / "graphics" / entry.path().filename());
        }
    }
    ~DataWithout() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    std::string Root() const { return root_.string(); }

  private:
    fs::path root_;
};

TEST(Loading, APictureMissingFromTheDataStopsTheGameNamingIt) {
    DataWithout data("TileMarker3.png");
    harness::Harness h;
    h.SetDataRoot(data.Root());
    h.OpenAsPlayed();
    ASSERT_TRUE(h.Start());
    EXPECT_FALSE(PlayUntil(
        h, [] { return ScreenName() == "Title"; }, 1500));
    EXPECT_FALSE(h.Running());
    EXPECT_NE(h.LastReport().find("graphics/TileMarker3.png"), std::string::npos) << h.LastReport();
}

TEST(Loading, TheEscapeKeyEndsTheGameWhileItLoads) {
    harness::Harness h;
    h.OpenAsPlayed();
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(PlayUntil(
        h, [] { return ScreenName() == "Load"; }, 600));
    h.MouseButton(0, false);
    h.Step(10);
    h.Key(27, true);
    h.Key(27, false);
    h.Step(3);
    EXPECT_FALSE(h.Running());
    EXPECT_EQ(h.ExitStatus(), 0);
    EXPECT_TRUE(h.LastReport().empty()) << h.LastReport();
}

TEST(Loading, AfterTheTitlesLoadingTheGamesLoadingGoesOnToTheMapAtOnce) {
    harness::Harness h;
    h.OpenAsPlayed();
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(PlayUntil(
        h, [] { return ScreenName() == "Title"; }, 1500));
    // A hero of the first act, as the slots hand one over.
    harness::MakeHero("Rook");
    LoadScreen::LoadScreen_new("game")->PreStart();
    ASSERT_EQ(ScreenName(), "Load");
    h.Step();
    EXPECT_EQ(ScreenName(), "Map");
    h.Step(30);
    h.SaveFrame("loading_map_after_title");
}

}  // namespace
