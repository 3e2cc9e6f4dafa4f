#pragma once
// One run of the layout check at one layout: the game started headless on the data folder, and
// a look at a screen as it stands, which judges the frame and keeps the findings.
#include <functional>
#include <string>
#include <vector>

#include "tests/checker/layout.hpp"
#include "tests/support/harness.hpp"

namespace layout {

class Visit {
  public:
    // wide: the 1000 x 600 layout, else the 800 x 600 one (widescreen off).
    Visit(const std::string& root, bool wide, std::vector<std::string>& findings);
    // Saves each frame looked at as a PNG too (for a person to look at).
    void KeepFrames() { keepFrames_ = true; }
    // Between looks the game draws only every eighth frame (a long wait, such as the credits'
    // roll, passes sooner); a look draws every frame it looks at.
    void Hurry(bool hurry);
    ~Visit();

    harness::Harness& Game() { return game_; }
    bool Wide() const { return wide_; }
    // Starts the game (after the caller wrote its save state); false, with a finding, when it did not
    // start or did not open at the layout's size.
    bool Start();
    // Draws the screen as it stands twice, with and without its texts, and judges it. Text still
    // being typed is let finish first (`typing` frames at most). `rolling`: the texts roll up the
    // screen.
    void Look(const std::string& screen, bool rolling = false, int typing = 20);
    // The visit could not reach a screen: that is a finding too, or the check would pass unseen.
    void Lost(const std::string& what);
    // Lets the game run until `up` tells that `screen` is up, for `frames` frames at most; false,
    // with a finding, when it never comes up.
    bool Await(const std::string& screen, const std::function<bool()>& up, int frames = 120);

  private:
    std::string Where(const std::string& screen) const;

    harness::Harness game_;
    bool wide_;
    bool keepFrames_ = false;
    bool hurry_ = false;
    std::vector<std::string>& findings_;
};

// The game started on the save of a veteran in the middle slot (the first slot free), at rest on
// its title; false, with a finding, when it did not get there.
bool OpenTitle(Visit& visit);

// The title and its popups (slots, creation, options, trophies), the intro, the act cards and the
// end game's pages, score and credits.
void VisitOwnScreens(Visit& visit);

// A game under way: the map and its messages, a place and its menu, a quest, a dialogue, the
// boards, the hero's popups, the distress games and their results, and a dungeon.
void VisitGameScreens(Visit& visit);

// Which screens a run visits: those of the title and around it, those of a game under way, or both.
enum class Visited { OutOfGame, InGame, Both };

// Every visit at both layouts; one line per finding. With keepFrames every frame looked at is saved.
std::vector<std::string> CheckLayout(const std::string& root, bool keepFrames = false,
                                     Visited which = Visited::Both);

}  // namespace layout
