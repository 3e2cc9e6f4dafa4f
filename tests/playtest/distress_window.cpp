// Plays one distress call in a real window, for trying the games by hand (or by a scripted mouse)
// before the city map can send the hero to one: the real program with its real clock, a stand-in
// for the map under the game, and a distress action of the kind and difficulty asked for. When the
// game has gone, the stand-in's green ground shows; closing the window ends the program, which
// prints the flags the call left.
//
//   distress_window GAME DIFFICULTY [full]     (run where "data" lives)
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "framework/main.hpp"
#include "gui/gui2.hpp"
#include "model/actions.hpp"
#include "model/profile.hpp"
#include "platform/engine.hpp"
#include "platform/graphics.hpp"
#include "platform/storage.hpp"
#include "tests/support/game_art.hpp"

namespace {

class MapStandIn : public GameScreen {
  public:
    MapStandIn() : GameScreen("Map") {}
    void Start() override { StartGui(); }
    void Update2() override { UpdateGui(); }
    void Render() override {
        platform::Cls(30, 60, 30);
        RenderGui();
    }
};

// A per-user folder holding the settings with full screen on or off.
std::string UserFolder(bool fullScreen) {
    namespace fs = std::filesystem;
    std::string folder = (fs::temp_directory_path() / "brallwick-window-XXXXXX").string();
    if (!mkdtemp(folder.data())) return "";
    InitGlobals();
    Profile::InitGlobal();
    Profile::SetGlobalFlagInt("Fullscreen", fullScreen ? 1 : 0);
    const std::string saved = Profile::saveData->ToString();
    InitGlobals();
    fs::create_directories(fs::path(folder) / platform::kGameFolderName);
    std::ofstream(fs::path(folder) / platform::kGameFolderName / ".vantlestate", std::ios::binary) << saved;
    return folder;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s falling|car|search|tree DIFFICULTY [full]\n", argv[0]);
        return 2;
    }
    const std::string game = argv[1];
    const bool full = argc > 3 && std::string(argv[3]) == "full";
    WireGame();
    platform::EngineOptions options;
    options.appDataFolder = UserFolder(full);
    if (!platform::driver::Start(&InitGlobals, &RunMain, options) || !platform::driver::Step(1)) return 1;
    harness::LoadDistressArt();
    Profile::currentSlot = 0;
    Profile::slotFlags = Profile::saveData->Profiles.Get2(0);
    Profile::Init();
    Profile::SetFlagString("Name", "Rook");
    Profile::SetFlagString("CharacterPortrait", "Characters01");
    Profile::SetFlagInt("CharacterIcon", 0);
    std::make_shared<MapStandIn>()->PreStart();
    platform::driver::Step(2);

    ActionItemGameDistress action;
    action.minigame = game;
    action.difficulty = std::atoi(argv[2]);
    action.Activate();
    bool reported = false;
    while (platform::driver::Running() && platform::driver::Step(1)) {
        if (!reported && !GUIList::Get("distress", "") && !GUIList::Suspended()) {
            reported = true;
            std::printf("left: DistressWin=%d DistressFail=%d Reputation=%d Money=%d Clues=%d Ethics=%d Time=%d\n",
                        Profile::GetFlagInt("Game.DistressWin"), Profile::GetFlagInt("Game.DistressFail"),
                        Profile::GetFlagInt("Resource.Reputation"), Profile::GetFlagInt("Resource.Money"),
                        Profile::GetFlagInt("Resource.Clues"), Profile::GetFlagInt("Attribute.Ethics"),
                        Profile::GetFlagInt("Date.Time"));
            std::fflush(stdout);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
    }
    platform::driver::Stop();
    std::filesystem::remove_all(options.appDataFolder);
    return 0;
}
