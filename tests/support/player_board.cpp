// The player at the puzzle board: in a fight it fires any power the hero can pay for; otherwise it
// asks the board's own move search which cloud of tiles to take (weighted towards the colours a job
// still lacks), walks the longest chain of neighbours through that cloud, and drags it with the
// mouse, cell centre by cell centre.
#include <cstdlib>

#include "framework/framework.hpp"
#include "gui/gui2.hpp"
#include "minigames/board.hpp"
#include "minigames/puzzlebattle.hpp"
#include "minigames/puzzlegame.hpp"
#include "minigames/puzzlejob.hpp"
#include "tests/support/player.hpp"

namespace harness {

namespace {

// Neighbours on the board: the same row or an adjacent one, where the diagonal step leads one
// column left from an even row and one right from an odd row.
bool Adjacent(const Pos& a, const Pos& b) {
    const int rows = std::abs(a.y - b.y), columns = std::abs(a.x - b.x);
    if (rows > 1 || columns > 1 || (rows == 0 && columns == 0)) return false;
    return rows == 0 || columns == 0 || b.x + (b.y % 2 == 1 ? 2 : 0) == a.x + 1;
}

// The longest simple path of neighbours through the cloud (bounded search; clouds are small).
class ChainSearch {
  public:
    explicit ChainSearch(const PosList& cloud) : cells(cloud), used(cloud.size(), 0) {}

    PosList Longest() {
        for (size_t start = 0; start < cells.size() && budget > 0; ++start) {
            path.clear();
            Walk(start);
        }
        return best;
    }

  private:
    void Walk(size_t i) {
        if (--budget < 0) return;
        used[i] = 1;
        path.push_back(cells[i]);
        if (path.size() > best.size()) best = path;
        for (size_t j = 0; j < cells.size(); ++j)
            if (!used[j] && Adjacent(cells[i], cells[j])) Walk(j);
        path.pop_back();
        used[i] = 0;
    }

    const PosList& cells;
    std::vector<char> used;
    PosList path;
    PosList best;
    int budget = 20000;
};

// A puzzle-board game on screen, whichever kind: its board, and whether the board waits for the
// player's chain now.
struct Table {
    GUIItem* game = nullptr;
    GUIBoard* board = nullptr;
    bool playersTurn = false;
};

Table TableOnScreen() {
    GUIItem* item = GUIList::Get("popup", "");
    if (auto* g = dynamic_cast<GUIPuzzleGame*>(item)) return {g, g->board.get(), !g->done && !g->left};
    if (auto* b = dynamic_cast<GUIPuzzleBattle*>(item))
        return {b, b->board.get(), !b->done && !b->left && b->playerTurn == 1 && !BattleState::effectRunning};
    return {};
}

// A board at rest that takes the player's chain.
bool Ready(const Table& t) {
    const GUIBoard* b = t.board;
    if (!t.playersTurn || !b || !b->inited || !b->stable || b->bonus || b->switch_) return false;
    if (b->alpha.value < 1.0f || (!b->marked.IsEmpty() && b->hintState != BoardRules::kHintShowing)) return false;
    // The game holds while its messages and popups are up.
    for (const char* id : {"dialogue", "result", "playerpopup", "powerpopup"})
        if (GUIList::Get(id, "")) return false;
    for (const Tile& tile : b->board)
        if (tile.state != 1 || tile.y != tile.dy) return false;
    return true;
}

// How much the player wants each colour: a job's meters still short of their targets count most.
void Weights(const GUIItem& game, float& physical, float& elemental, float& mental) {
    physical = elemental = mental = 1.5f;
    const auto* job = dynamic_cast<const GUIPuzzleJob*>(&game);
    if (!job || !job->player) return;
    auto want = [&](int kind, int target) {
        return TruncToInt(job->player->values[static_cast<size_t>(kind)].value) < target ? 3.0f : 0.1f;
    };
    mental = want(kTileMental, job->rules.targets[0]);
    elemental = want(kTileElemental, job->rules.targets[1]);
    physical = want(kTilePhysical, job->rules.targets[2]);
}

}  // namespace

PosList LongestChain(const PosList& cloud) {
    return ChainSearch(cloud).Longest();
}

bool Player::PlayPuzzle() {
    const Table table = TableOnScreen();
    if (table.game == nullptr) return false;
    if (!Ready(table)) {
        Step();
        return true;
    }
    // In a fight, a power the hero can pay for goes first.
    if (auto power = Find("power"); power && BattleState::powerButtonsShown) {
        Click(*power);
        return true;
    }
    GUIBoard& b = *table.board;
    float physical = 0, elemental = 0, mental = 0;
    Weights(*table.game, physical, elemental, mental);
    const std::optional<PosList> cloud = b.GetMove(physical, elemental, mental);
    // No move at all: the board deals anew by itself.
    const PosList chain = cloud ? LongestChain(*cloud) : PosList{};
    if (chain.size() < 3) {
        Step();
        return true;
    }
    for (size_t i = 0; i < chain.size(); ++i) {
        const BgTile& cell = b.bg[static_cast<size_t>(chain[i].y * b.tw + chain[i].x)];
        MoveTo(b.x + static_cast<float>(cell.x + BoardRules::kCellWidth / 2),
               b.y + static_cast<float>(cell.y + BoardRules::kCellHeight / 2));
        if (i == 0) h.MouseButton(0, true);
        Step();
    }
    h.MouseButton(0, false);
    Step();
    return true;
}

}  // namespace harness
