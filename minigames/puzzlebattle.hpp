#pragma once
// The battle: the hero fights an opponent in turns on the battle board. Matched tiles charge both
// fighters' three power colours and the money, reputation and clue counters; the hero fires powers
// with buttons once a charge covers a power's cost, the opponent fires its own by itself, and each
// power plays its effect. The fight ends when one fighter's health reaches 0; a won battle pays its
// spoils and sets the flags the story reads. Started by a battle action over the city map, which it
// hides and sets aside while it runs.
#include <array>
#include <memory>
#include <string>

#include "gui/callback.hpp"
#include "gui/item.hpp"

class ActionItemBattle;
class GameImage;
class GUIBoard;
class GUIMeterGlobe;
class GUIPuzzleBattle;
class GUITextButton;
class PuzzleActor;

// The power buttons' handler.
class BattleCallback : public Callback {
  public:
    int Call(GUIItem* sender) override;

    GUIPuzzleBattle* battle = nullptr;
};

// Numbered steps: `Update2` is the battle's frame (the item's fade first), `Clear2` drops the
// fighters when the list lets the battle go.
class GUIPuzzleBattle : public GUIItem {
  public:
    // Sets up the fight from the action (null: an opponent measured against the hero).
    explicit GUIPuzzleBattle(ActionItemBattle* battle);
    static std::shared_ptr<GUIPuzzleBattle> GUIPuzzleBattle_new(ActionItemBattle* battle) {
        return std::make_shared<GUIPuzzleBattle>(battle);
    }
    ~GUIPuzzleBattle() override;

    int Update2() override;
    // The background, scaled to the screen height and centred, at the battle's alpha.
    void Render() override;
    void Clear2() override;

    // Enables each power button the hero can pay now, and points at them the first time.
    void CheckPowers();
    // The power buttons, in one row (row 1) or with the third starting a second row (row 0).
    void AddPowers(int row);
    void UpdatePos();
    void CheckRotate();
    void InitLoseMessage();
    // The spoils of a won battle: shown on the result sheet, then added to the profile.
    void InitResult();
    // The board, both fighters' portraits with their health and status, and both meter panels.
    void InitPopup();
    void InitStartMessage();
    // The side to move shown in full, the other at half, the board dimmed while the opponent moves.
    void CheckBoardFade(int always);
    void InitMessage(const std::string& text);

    BattleCallback battleCallback;
    ActionItemBattle* battle = nullptr;
    GameImage* bg = nullptr;
    int rewardLevel = 0;
    float time = 120000;
    float maxtime = 120000;
    int success = 1;
    float wait = 500;
    int done = 0;
    std::shared_ptr<GUIBoard> board;
    std::array<GUITextButton*, 3> powers{};
    int powerCount = 0;
    int playerTurn = 1;
    // The hero's charges and the opponent's: mental, elemental, physical.
    std::array<GUIMeterGlobe*, 3> meters{};
    std::array<GUIMeterGlobe*, 3> opponentMeters{};
    int cleanup = 0;
    int result = 0;
    int dialogue = 0;
    int inited = 0;
    int no_powers = 0;
    // The battle has ended (left with its flags set, or abandoned): only its fade-out is left.
    int left = 0;

  private:
    void Abandon();
    void Decide();
    // Once the fight is decided and the board rests: clean up, pay, play the closing dialogue and
    // leave with the flags.
    void Finish();
    void Turns();
    void PassTurn(int toPlayer);
    // A message in the middle of the board (or of the screen) that fades away.
    void ShowMessage(const std::string& text, const char* itemId, float fadeWait, int onBoard);
    // The panel of one fighter: portrait, status caption, health and name.
    void AddPortrait(PuzzleActor& fighter, const char* panelId, float x, const std::string& shownName);
    void AddMeters(PuzzleActor& fighter, const char* panelId, std::array<GUIMeterGlobe*, 3>& globes, int withCounters);
    int resumed = 0;
};
