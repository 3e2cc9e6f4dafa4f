#pragma once
// The frame the job and the training share: a full-screen GUI item over the city map that hides
// the map and sets it aside while it runs, waits a moment, builds its board and side panel, shows
// its start message (or, the first time, the tutorial dialogue), dims the board while a message or
// popup is up, ends with a message, the result sheet and the flags the story reads, and fades
// away, bringing the map back. Each game supplies what differs: its panel, its clock or moves,
// what decides it and what it pays.
#include <memory>
#include <string>

#include "gui/item.hpp"
#include "minigames/jobrules.hpp"

class GameImage;
class GUIBoard;
class GUIContainer;
class GUIText;
class PuzzleActor;

// The map under a full-screen game: fading it out, and whether the map draws itself.
class MapCover {
  public:
    // Fades out the map's own items; the map makes them again when its logic next runs.
    static void FadeOutMap();
    // 1: the map draws itself; 0: a game covers it completely.
    static void SetMapVisible(int visible);
    static int MapVisible();
    // The frame step every full-screen game shares: the map is hidden while the game is fully
    // shown; once a finished game has faded out, its music stops (when `stopMusic`) and the item
    // list it suspended comes back, once. True while the game is still active.
    static bool FollowGame(const GUIItem& game, int& resumed, bool stopMusic);

    static void InitGlobals();
};

// A full-screen game's background: scaled to the screen height and centred, at the given alpha.
void DrawGameBackground(GameImage* bg, float alpha);

// The opening of the frame every puzzle game (the job, the training, the battle) takes after its
// escape key and its turn: the map cover followed, nothing more while the game is leaving, and the
// moment's wait before the board counted down. True when the game goes on to its own step.
bool PuzzleFrameGoesOn(const GUIItem& game, int& resumed, int left, float& wait);

// A message or popup over the board (the dialogue, the result sheet, a player's or a power's
// popup): the board dims and play holds meanwhile.
bool BoardCovered();

// A puzzle game given up with the escape key: the time it took passes, and the game, its board and
// everything it put up fade away.
void FadeAwayGivenUp(GUIItem& game, GUIBoard* board);

// The white message of a puzzle game, wrapped and centred, as the item "message" of `id`; the
// caller places it, adds it and lets it fade.
GUIText* CreateGameMessage(const std::string& text, const std::string& id);

// Numbered steps: `Update2` is the game's frame (the item's fade first).
class GUIPuzzleGame : public GUIItem {
  public:
    // What tells one game from the other.
    struct Kind {
        int music = 0;
        // The first game of this kind plays the dialogue instead of the start message.
        const char* tutorialFlag = "";
        const char* tutorialDialogue = "";
        const char* startText = "";
        const char* winText = "";
    };

    ~GUIPuzzleGame() override;

    int Update2() override;
    // The background, scaled to the screen height and centred, at the game's alpha.
    void Render() override;
    // Landscape: the board at the right, the panel centred in the room left of it. Portrait: the
    // panel at the top, the board below. A result sheet is centred on the screen.
    void UpdatePos();
    // On the frame the screen turns: lay out again and centre the message on the board.
    void CheckRotate();
    // The white message in the middle of the board, fading after about three seconds.
    void ShowMessage(const std::string& text);
    // The start message, or the tutorial dialogue the first time this kind of game is played.
    void InitStartMessage();
    void InitWinMessage();

    GameImage* bg = nullptr;
    // The charges of this one game, a fresh actor each time.
    std::shared_ptr<PuzzleActor> player;
    int success = 1;
    float wait = 500;
    int done = 0;
    std::shared_ptr<GUIBoard> board;
    int result = 0;
    // The game has ended (left with its flags set, or aborted): what is left is its fade-out.
    int left = 0;

    // The result sheet with these lines and the bonus money, then every line added to the profile
    // (its items back in the flag pool) and the bonus paid. The distress games and the battle pay
    // through it too.
    static void PayResult(const std::string& title, const std::string& text, const RewardLines& lines,
                          int bonusMoney);

  protected:
    // Construction steps shared by both games: the map set aside, the music, the id "popup", the
    // background and a fresh actor. The game fades in once its own set-up is done.
    GUIPuzzleGame(const Kind& kind, const std::string& bgName);

    // Builds the board and the side panel (with the board it adds).
    virtual void InitPopup() = 0;
    // Shows and pays the results.
    virtual void InitResult() = 0;
    // The back request: the outcome flags the story reads are cleared.
    virtual void ClearOutcome() = 0;
    // The leave step: the outcome flags and counters of a played game.
    virtual void SetOutcome() = 0;
    // Each frame the board is dealt, before the decision: the clock and meters.
    virtual void Play() {}
    // True on the frame the game is decided (meters full, moves used up).
    virtual bool Decided() = 0;
    // The board reports a finished move.
    virtual void Moved() {}

    // InitPopup's shared parts: the board of that tile type, and the panel framed, added and laid
    // out.
    void AddBoard(int type);
    void AddPanel(GUIContainer* panel);

    Kind kind;

  private:
    void Abort();
    // The end step, once the board is at rest after the decision.
    void EndStep();
    int resumed = 0;
};
