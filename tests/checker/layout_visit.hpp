#pragma once
// One run of the layout check at one layout: the game started headless on the data folder, and
// a look at a screen as it stands, which judges the frame and keeps the findings.
#include <memory>
#include <string>
#include <vector>

#include "tests/checker/layout.hpp"
#include "tests/support/harness.hpp"

namespace layout {

class Visit {
  public:
    // wide: the 1000 x 600 layout, else the 800 x 600 one (widescreen off).
    Visit(const std::string& root, bool wide, std::vector<std::string>& findings);
    ~Visit();

    harness::Harness& Game() { return game_; }
    bool Wide() const { return wide_; }
    // Starts the game (after the caller wrote its save state); false, with a finding, when it did not
    // start or did not open at the layout's size.
    bool Start();
    // Draws the screen as it stands twice, with and without its texts, and judges it.
    void Look(const std::string& screen);
    // The visit could not reach a screen: that is a finding too, or the check would pass unseen.
    void Lost(const std::string& what);

  private:
    std::string Where(const std::string& screen) const;

    harness::Harness game_;
    bool wide_;
    std::vector<std::string>& findings_;
    std::unique_ptr<FrameRecorder> recorder_;
};

// The title and its popups (slots, creation, options, trophies), the intro, the act cards and the
// end game's pages, score and credits.
void VisitOwnScreens(Visit& visit);

// Every visit at both layouts; one line per finding.
std::vector<std::string> CheckLayout(const std::string& root);

}  // namespace layout
