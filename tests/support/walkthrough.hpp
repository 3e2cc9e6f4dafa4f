#pragma once
// The plan a player follows through the story: on the title it makes a new hero; on the city map
// it follows the story's arrows, catches the walkers the quests ask for, buys the upgrades the
// quests name, and otherwise goes where the quest in progress can be advanced (work for money,
// train for strength and ethics, hunt clues); everything that opens on the way is answered and
// played by the player. The ending is chosen at the story's two big questions.
#include <functional>
#include <string>
#include <vector>

#include "tests/support/player.hpp"

namespace harness {

enum class Ending { Independent, Evil, Sidekick, Time };

// A place to go and the menu buttons to press there, the first one shown.
struct Errand {
    std::string place;
    std::vector<std::string> buttons;
    // The upgrade line to buy in the base's popup.
    std::string upgrade;
    std::string why;
};

class Walkthrough {
  public:
    Walkthrough(Player& player, Ending ending, const std::string& heroName);

    // Plays until reached() holds. False when the program ended or maxFrames passed; `stuck`
    // then tells what the player was doing.
    bool PlayUntil(const std::function<bool()>& reached, int maxFrames);

    // The errand the story asks for now.
    Errand Plan() const;

    std::string stuck;

  private:
    // One decision on the current screen; it always lets at least one frame pass.
    void Turn();
    bool OnTitle();
    bool OnMap();
    // The choice a player aiming at this ending takes among a popup's choices.
    std::string Choose(const std::vector<std::string>& choices) const;

    Player& p;
    Ending ending;
    std::string heroName;
    Errand errand;
    // The place the story's last arrow pointed at, until the hero is there.
    std::string pointed;
    // The hero's name has been typed.
    bool named = false;
    // Frames left before the walk to the errand's place is taken as lost and clicked again.
    int walking = 0;
};

}  // namespace harness
