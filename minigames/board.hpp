#pragma once
// The puzzle board as the player sees it: a GUI item that wraps the board's rules, draws the cells,
// tiles, chains and hints, plays the board's sounds, bursts exploding tiles into sparks, floats the
// gains and praise, and hands an opponent's paid power to the battle. Also the state the battle,
// its board and its effects share.
#include <memory>
#include <string>

#include "core/hooks.hpp"
#include "gui/item.hpp"
#include "minigames/board_rules.hpp"

class GameImage;
class Power;

// What the battle, its board and its effects share; one battle runs at a time.
class BattleState {
  public:
    // 1 from the moment a power's effect starts until the battle's next update after it ended; the
    // board draws nothing meanwhile.
    static int effectRunning;
    static int powerButtonsShown;
    static int blockedShown;
    static int extraShown;
    static std::shared_ptr<PuzzleActor> player;
    static std::shared_ptr<PuzzleActor> opponent;
    // Plays an opponent's power against the player (the effect adds itself at priority 1900 with
    // the player and the opponent, the opponent attacking). The battle's effects add it.
    static StepList<Power&> showOpponentPower;

    static void InitGlobals();
};

// Numbered steps: `Update2` is the item's per-frame step (its fade-out, then the board's own),
// `SetActor2` sets the actor the chains are credited to.
class GUIBoard : public GUIItem, public BoardRules {
  public:
    // Sized and centred on the virtual screen, dimmed; the cells are made by the first update.
    GUIBoard(const std::string& id, const std::string& name, int columns, int rows, int type);
    ~GUIBoard() override;

    int faded = 0;
    GameImage* tileBg = nullptr;
    GameImage* tiles = nullptr;
    GameImage* mark = nullptr;
    GameImage* mark2 = nullptr;
    GameImage* mark3 = nullptr;

    // Dims the board (alpha 0.5) while the player may not move, or brings it back to full.
    void Fade(int on);
    int Update2() override;
    void Render() override;

    float BoardX() const override { return x; }
    float BoardY() const override { return y; }

  protected:
    void PlaySound(int id, float rate) override;
    void PlayPop() override;
    void Bang(float x, float y, int count, float scale) override;
    void ShowNoMoves() override;
    void ShowPraise(const char* text) override;
    void OpponentFires(PuzzleActorPower& power) override;

  private:
    void RenderTile(const Tile& tile, float drawAlpha);
};

// Floats a chain's gain over the board (what a credited actor shows).
void ShowBoardGain(const std::string& text, int big, int colour, int x, int y);
