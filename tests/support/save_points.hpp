#pragma once
// Save points for the soak: while a test player goes through the story, the state the game would
// save is written to a folder just before each kind of screen first opens and just before each
// act's card, one text file each (named after the kind, or "act-<n>"). Loaded again, such a state
// puts a new run right at the door of that screen. `make soak-saves` writes the soak's set.
#include <deque>
#include <set>
#include <string>

namespace harness {

class SavePoints {
  public:
    // Writes nothing while the folder is empty.
    explicit SavePoints(std::string folder);

    // Called before every turn of the player: notes the state, and writes the one noted last time
    // when a kind of screen shows for the first time since.
    void Watch();

    // The files written so far.
    std::set<std::string> written;

  private:
    void Write(const std::string& name);

    // A state noted before a turn, and whether the hero was arriving somewhere then.
    struct Noted {
        std::string state;
        bool arriving = false;
    };

    std::string folder_;
    std::string previousKind_;
    // The last few turns' states, newest last.
    std::deque<Noted> recent_;
};

}  // namespace harness
