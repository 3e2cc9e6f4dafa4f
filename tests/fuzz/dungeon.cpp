// Any quest table's dungeons either load or are refused with a line naming the file, and every
// dungeon that loads makes a board the dungeon game can play: each cell asked, each event cleared.
#include <cstddef>
#include <cstdint>

#include "minigames/dungeonboard.hpp"
#include "model/quests.hpp"
#include "tests/fuzz/support.hpp"

namespace {

void Play(const Dungeon& dungeon) {
    DungeonBoard board(dungeon);
    fuzz::Check(board.Inside(dungeon.startx, dungeon.starty));
    fuzz::Check(board.Cell(dungeon.startx, dungeon.starty) == DungeonBoard::kEntered);
    for (int row = -1; row <= board.Rows(); ++row) {
        for (int col = -1; col <= board.Columns(); ++col) {
            const bool offered = board.Offered(col, row);
            fuzz::Check(!offered || board.TileAt(col, row) != nullptr);
            if (board.IsEvent(col, row)) fuzz::Check(board.TileAt(col, row)->action != nullptr);
            if (board.Inside(col, row)) board.CheckCleared(col, row);
        }
    }
    (void)board.Cleared();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartGame();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzz::LoadFile(Quests::kFile, data, size, Quests::Load, [] {
        for (const auto& quest : Quests::allQuests) {
            for (const auto& status : quest->statuses) {
                if (status->dungeon) Play(*status->dungeon);
            }
        }
    });
}
