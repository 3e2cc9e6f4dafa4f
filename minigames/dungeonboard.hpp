#pragma once
// The rules of the tile dungeon: a grid of cells seen from above, the tiles of a quest stage's
// dungeon lying on some of them (cells without a tile are walls), which cells the player may
// click next, when an event is finished and when the dungeon is cleared. Progress of the events is
// read from their done flags ("ID." + tile id) in the profile.
#include <string>
#include <vector>

class Dungeon;
class DungeonTile;

class DungeonBoard {
  public:
    // Cell states, which are also the picture frames of the cells.
    enum State { kHidden = 0, kEntered = 1, kStarted = 2, kBattle = 3, kTreasure = 4, kOther = 5 };

    // A fresh grid: every cell hidden but the entry, which is entered.
    explicit DungeonBoard(const Dungeon& dungeon);

    int Columns() const { return w; }
    int Rows() const { return h; }
    bool Inside(int col, int row) const { return col >= 0 && row >= 0 && col < w && row < h; }
    int Cell(int col, int row) const { return board[Index(col, row)]; }
    void SetCell(int col, int row, int state) { board[Index(col, row)] = state; }
    int Index(int col, int row) const { return col + row * w; }

    // The tile lying on the cell (the first one the data gives there), or null for a wall.
    const DungeonTile* TileAt(int col, int row) const;
    // A tile with an action that is not done: clicking it starts an event.
    bool IsEvent(int col, int row) const;
    // 1 when the cell's event is finished or it has no tile (the cell is then entered), 2 when not.
    int CheckCleared(int col, int row);
    // Whether the cell may be offered as a tile to click: inside the grid, with a tile, and not an
    // entered cell whose tile is finished.
    bool Offered(int col, int row) const;
    // Every tile with an id that is not optional is done.
    bool Cleared() const;

  private:
    // The index of the cell's tile in the dungeon's list, or -1.
    int TileIndex(int col, int row) const;
    // The done flag of the tile of that index (0 for a tile without an id).
    int Done(int tile) const;

    const Dungeon& dungeon;
    int w;
    int h;
    std::vector<int> board;
    // Per cell: the index of its tile in the dungeon's list, or -1.
    std::vector<int> tileOf;
    // Per tile: "ID." + its id (empty without an id), made once so the per-frame checks build no
    // text.
    std::vector<std::string> doneKeys;
};
