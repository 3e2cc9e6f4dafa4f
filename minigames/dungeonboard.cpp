// The tile dungeon's grid and the state of its events.
#include "minigames/dungeonboard.hpp"

#include "model/profile.hpp"
#include "model/quests.hpp"

DungeonBoard::DungeonBoard(const Dungeon& d)
    : dungeon(d),
      w(d.w),
      h(d.h),
      board(static_cast<size_t>(d.w * d.h), kHidden),
      tileOf(static_cast<size_t>(d.w * d.h), -1) {
    // The quest table lets in only grids with cells, entries inside them and tiles inside them.
    for (int i = 0; i < d.tiles.Size(); ++i) {
        const DungeonTile& tile = *d.tiles.Get2(i);
        doneKeys.push_back(tile.id.empty() ? std::string() : "ID." + tile.id);
        if (!Inside(tile.x, tile.y)) continue;
        int& slot = tileOf[static_cast<size_t>(Index(tile.x, tile.y))];
        if (slot < 0) slot = i;
    }
    if (Inside(d.startx, d.starty)) SetCell(d.startx, d.starty, kEntered);
}

int DungeonBoard::TileIndex(int col, int row) const {
    return Inside(col, row) ? tileOf[static_cast<size_t>(Index(col, row))] : -1;
}

const DungeonTile* DungeonBoard::TileAt(int col, int row) const {
    const int i = TileIndex(col, row);
    return i < 0 ? nullptr : dungeon.tiles.Get2(i).get();
}

int DungeonBoard::Done(int tile) const {
    const std::string& key = doneKeys[static_cast<size_t>(tile)];
    return key.empty() ? 0 : Profile::GetFlagInt(key);
}

bool DungeonBoard::IsEvent(int col, int row) const {
    const int i = TileIndex(col, row);
    return i >= 0 && dungeon.tiles.Get2(i)->action &&
           (doneKeys[static_cast<size_t>(i)].empty() || Done(i) <= 0);
}

int DungeonBoard::CheckCleared(int col, int row) {
    const int i = TileIndex(col, row);
    if (i < 0) return 1;
    if (!doneKeys[static_cast<size_t>(i)].empty() && Done(i) <= 0) return 2;
    SetCell(col, row, kEntered);
    return 1;
}

bool DungeonBoard::Offered(int col, int row) const {
    const int i = TileIndex(col, row);
    if (i < 0) return false;
    return !(Cell(col, row) == kEntered && (doneKeys[static_cast<size_t>(i)].empty() || Done(i) == 1));
}

bool DungeonBoard::Cleared() const {
    for (int i = 0; i < dungeon.tiles.Size(); ++i) {
        if (doneKeys[static_cast<size_t>(i)].empty() || dungeon.tiles.Get2(i)->optional != 0) continue;
        if (Done(i) < 1) return false;
    }
    return true;
}
