// Plays one distress call in a real window, for trying the games by hand (or by a scripted mouse)
// before the city map can send the hero to one: the real program with its real clock, a stand-in
// for the map under the game, and a distress action of the kind and difficulty asked for. When the
// game has gone, the stand-in's green ground shows; closing the window ends the program, which
// prints the flags the call left.
//
//   distress_window GAME DIFFICULTY [full]     (run where "data" lives)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "gui/gui2.hpp"
#include "model/actions.hpp"
#include "model/profile.hpp"
#include "tests/support/game_art.hpp"
#include "tests/support/window_game.hpp"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s falling|car|search|tree DIFFICULTY [full]\n", argv[0]);
        return 2;
    }
    const std::string game = argv[1];
    harness::WindowGame window;
    if (!window.Start(argc > 3 && std::string(argv[3]) == "full")) return 1;
    harness::LoadDistressArt();
    Profile::SetFlagString("CharacterPortrait", "Characters01");
    Profile::SetFlagInt("CharacterIcon", 0);
    window.OpenMap();

    ActionItemGameDistress action;
    action.minigame = game;
    action.difficulty = std::atoi(argv[2]);
    action.Activate();
    bool reported = false;
    window.Run([&reported] {
        if (reported || GUIList::Get("distress", "") || GUIList::Suspended()) return;
        reported = true;
        std::printf("left: DistressWin=%d DistressFail=%d Reputation=%d Money=%d Clues=%d Ethics=%d Time=%d\n",
                    Profile::GetFlagInt("Game.DistressWin"), Profile::GetFlagInt("Game.DistressFail"),
                    Profile::GetFlagInt("Resource.Reputation"), Profile::GetFlagInt("Resource.Money"),
                    Profile::GetFlagInt("Resource.Clues"), Profile::GetFlagInt("Attribute.Ethics"),
                    Profile::GetFlagInt("Date.Time"));
        std::fflush(stdout);
    });
    return 0;
}
