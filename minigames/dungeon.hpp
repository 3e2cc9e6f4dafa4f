#pragma once
// The tile dungeon of a quest stage: a full-screen GUI item over the city map. The hero starts in
// the entry cell and uncovers neighbouring cells by clicking them; cells with an event (a battle,
// a treasure, another scripted action) run their action chain on the way. While it runs, gains go
// to the "Dungeon." copies of their keys: the loot is paid when every required event is done, and
// leaving early (the "Back" button, or the game leaving the screen under it) loses it.
#include <memory>
#include <string>

#include "gui/callback.hpp"
#include "gui/item.hpp"
#include "minigames/dungeonboard.hpp"

class ActionItem;
class Dungeon;
class GameImage;

// The tile, back and leave buttons report here; the game reads the switches in its frame.
class DungeonCallback : public Callback {
  public:
    int Call(GUIItem* sender) override;
};

class GUIGameDungeon : public GUIItem {
  public:
    static std::shared_ptr<GUIGameDungeon> GUIGameDungeon_new(Dungeon* dungeon);
    explicit GUIGameDungeon(Dungeon& dungeon);
    ~GUIGameDungeon() override;

    int Update2() override;
    void Render() override;
    // Taken out of the list before it finished (the screen under it left): gains stop going to the
    // dungeon and what was found is dropped.
    void Clear2() override;
    void CheckRotate();
    // The two-line event message.
    void ShowMessage(const std::string& upper, const std::string& lower);
    // Offers the cell as a clickable tile.
    void CheckButton(int col, int row);
    // The loot sheet: every "Dungeon." gain paid to its real key.
    // Whether the game an event started is fully shown over the dungeon.
    bool GameCovers() const;
    void InitResult();

    int mw = 0;
    int mx = 0;
    int mh = 0;
    int my = 0;
    float wait = 500;
    int battle = 0;
    ActionItem* currentAction = nullptr;
    Dungeon* dungeon = nullptr;
    int activate = -1;
    // The cell of the pending event: it starts there even when another tile is clicked while its
    // message shows.
    int eventColumn = -1;
    int eventRow = -1;
    DungeonBoard board;
    int dirty = 0;
    int xpos = 0;
    int ypos = 0;
    int result = 0;
    GameImage* bg = nullptr;
    GameImage* tiles = nullptr;

    // The switches the buttons set: the clicked cell (-1 when none), the leave popup answered with
    // "I want out!", the dungeon cleared, the "Back" button pressed.
    static int clickedColumn;
    static int clickedRow;
    static int leaveConfirmed;
    static int cleared;
    static int backPressed;
    static DungeonCallback callback;

    static void InitGlobals();

  private:
    // The click step; true when the frame ends with it.
    bool HandleClick();
    void Leave();
    void ShowLeavePopup();
    void PlaceGrid();
    // This game turned the dungeon mode on and has not turned it off yet.
    int modeOn = 0;
    int resumed = 0;
};

// Accepting a quest stage's dungeon on the map opens it.
void RegisterDungeon();
