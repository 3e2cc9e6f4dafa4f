#pragma once
// A player for whole-game tests: it plays the real program through the harness with injected
// input only. What to click is found among the GUI items on screen (by id and name, or by the
// caption a player reads), clicked at its centre; dialogues and popups are read on; puzzle-board
// games are played by asking the board's own move search for a chain and dragging it with the
// mouse. The player keeps a log of the screens it reached and of the frames and game minutes each
// act took.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "minigames/board_rules.hpp"
#include "tests/support/harness.hpp"

class GUIItem;
class GUIPuzzleGame;

namespace harness {

// An item that takes input now, with its rectangle on the virtual screen.
struct ItemBox {
    GUIItem* item = nullptr;
    float x = 0, y = 0;
    int w = 0, h = 0;
    float CentreX() const { return x + static_cast<float>(w) * 0.5f; }
    float CentreY() const { return y + static_cast<float>(h) * 0.5f; }
};

// The longest chain of neighbouring cells through a cloud of one kind, in the order to drag it.
PosList LongestChain(const PosList& cloud);

// Frames and game minutes one act took.
struct ActRecord {
    int frames = 0;
    int minutes = 0;
};

class Player {
  public:
    explicit Player(Harness& harness);

    // Milliseconds each frame takes on the fake clock; the program sees them as its frame time.
    int frameMs = 50;

    // One frame (with the log kept); false once the program has ended.
    bool Step(int frames = 1);
    // Steps until done() holds (checked before each frame); false when it did not within maxFrames.
    bool WaitUntil(const std::function<bool()>& done, int maxFrames);

    // The items of the current list that get input, and inside containers their children, in
    // the order the list asks them (highest priority first).
    std::vector<ItemBox> Items() const;
    // The first item on screen with that id and name (any name when empty).
    std::optional<ItemBox> Find(const std::string& id, const std::string& name = "") const;
    // The first button or caption on screen that reads `caption`.
    std::optional<ItemBox> FindCaption(const std::string& caption) const;

    void MoveTo(float vx, float vy);
    // Moves there, presses and releases the left button, a frame each.
    void ClickAt(float vx, float vy);
    void Click(const ItemBox& box);
    bool Click(const std::string& id, const std::string& name = "");
    bool ClickCaption(const std::string& caption);
    void PressKey(int key);
    // Types the text as the keyboard would, and lets the game read it.
    void Type(const std::string& text);
    // Drags from the middle of the screen by (dx, dy), a few frames on the way.
    void DragBy(float dx, float dy);

    // Chooses among a popup's choices by their names; the default takes the first.
    std::function<std::string(const std::vector<std::string>&)> choose;

    // Answers what waits for the player: a dialogue (clicked on), a choice popup, a text or
    // result popup. True when it clicked something.
    bool Answer();
    // One turn of a puzzle-board game on screen (a job, training or battle): a power fired or a
    // chain dragged when the board waits for the player, else one frame. False when no such game
    // is on screen.
    bool PlayPuzzle();

    // Plays and reads on until nothing waits for an answer any more (no dialogue, popup, result
    // sheet or game, the item list not set aside) for a few frames in a row. False when that did
    // not happen within maxFrames or the program ended.
    bool PlayOn(int maxFrames);

    bool Running() const { return h.Running(); }
    const std::string& LastReport() const { return h.LastReport(); }

    // The current screen's name ("" before the first).
    std::string ScreenName() const;
    // The story's clock in minutes since the first morning.
    static int GameMinutes();

    // Screens in the order they were first reached, and what each act took.
    std::vector<std::string> screensReached;
    std::map<int, ActRecord> acts;
    // The story's clock when the player began.
    int startMinutes = 0;
    int frames = 0;
    // The last clicks, newest last, for telling where a run went astray.
    std::vector<std::string> recentClicks;
    std::string RecentClicks() const;

  private:
    // Adds the frame and the minutes that passed to the current act, and a new screen to the list.
    void Note();
    void Remember(const std::string& what);

    Harness& h;
    int lastMinutes = 0;
};

}  // namespace harness
