// The puzzle board's moves: clouds of matching neighbours, the move search behind hints, the
// re-deal check and the opponent, the player's dragged chain, and the opponent's turn.
#include <algorithm>
#include <cstdlib>

#include "framework/framework.hpp"
#include "minigames/board_rules.hpp"
#include "model/data2.hpp"
#include "model/powers.hpp"

int BoardRules::InArray(int x, int y, const PosList& list) {
    for (const Pos& p : list)
        if (p.x == x && p.y == y) return 1;
    return 0;
}

int BoardRules::InArrays(int x, int y, const std::vector<PosList>& lists) {
    for (const PosList& list : lists)
        if (InArray(x, y, list)) return 1;
    return 0;
}

// Attribute and bonus tiles join nothing, so they form clouds of one; clue tiles join like the
// plain kinds. Neighbours are visited left, right, above, below, then the two diagonals: the order
// of the cells is the order in which a hint or the opponent marks them.
void BoardRules::Fill(int column, int row, int kind, PosList& out, std::vector<unsigned char>& mark) {
    if (kind >= kTileStrength && kind <= kTileBonus) return;
    if (!Inside(column, row)) return;
    const size_t i = static_cast<size_t>(row * tw + column);
    if (!bg[i].active) return;
    const int k = board[i].index;
    if (kind != -1 && kind != k) return;
    if (mark[i]) return;
    mark[i] = 1;
    out.emplace_back(column, row);
    const int diagonal = row % 2 == 1 ? column + 1 : column - 1;
    Fill(column - 1, row, k, out, mark);
    Fill(column + 1, row, k, out, mark);
    Fill(column, row - 1, k, out, mark);
    Fill(column, row + 1, k, out, mark);
    Fill(diagonal, row - 1, k, out, mark);
    Fill(diagonal, row + 1, k, out, mark);
}

void BoardRules::GetCloud(int column, int row, PosList& list, int kind) {
    std::vector<unsigned char> mark(board.size(), 0);
    for (const Pos& p : list)
        if (Inside(p.x, p.y)) mark[static_cast<size_t>(p.y * tw + p.x)] = 1;
    Fill(column, row, kind, list, mark);
}

std::optional<PosList> BoardRules::GetMove(float weightPhysical, float weightElemental, float weightMental) {
    // Clouds never overlap, so one mark per cell serves every fill.
    seen.assign(board.size(), 0);
    cloudCells.clear();
    cloudStarts.clear();
    for (int row = 0; row < th; ++row)
        for (int column = 0; column < tw; ++column) {
            if (seen[static_cast<size_t>(row * tw + column)]) continue;
            const size_t start = cloudCells.size();
            Fill(column, row, -1, cloudCells, seen);
            if (cloudCells.size() - start >= 3)
                cloudStarts.push_back(static_cast<int>(start));
            else
                cloudCells.resize(start);
        }
    const int count = static_cast<int>(cloudStarts.size());
    if (count == 0) return std::nullopt;
    auto cloudEnd = [&](int j) {
        return j + 1 < count ? cloudStarts[static_cast<size_t>(j + 1)] : static_cast<int>(cloudCells.size());
    };
    int chosen = 0;
    if (weightPhysical == 1.0f && weightElemental == 1.0f && weightMental == 1.0f) {
        chosen = BoardRandomIndex(count);
    } else {
        float best = 0;
        for (int j = 0; j < count; ++j) {
            const Pos& first = cloudCells[static_cast<size_t>(cloudStarts[static_cast<size_t>(j)])];
            const int kind = board[static_cast<size_t>(first.y * tw + first.x)].index;
            const float weight = kind == kTilePhysical    ? weightPhysical
                                 : kind == kTileElemental ? weightElemental
                                 : kind == kTileMental    ? weightMental
                                                          : 0.5f;
            const float score =
                static_cast<float>(cloudEnd(j) - cloudStarts[static_cast<size_t>(j)]) * weight;
            if (j == 0 || score > best) {
                best = score;
                chosen = j;
            }
        }
    }
    return PosList(cloudCells.begin() + cloudStarts[static_cast<size_t>(chosen)],
                   cloudCells.begin() + cloudEnd(chosen));
}

int BoardRules::LegalMove(const Tile& tile) const {
    if (marked.IsEmpty()) return 1;
    const Tile* last = marked.GetLast();
    const int rows = std::abs(tile.yp - last->yp);
    const int columns = std::abs(tile.xp - last->xp);
    if (rows >= 2 || columns >= 2) return 0;
    // A diagonal step goes one column left from an even row and one column right from an odd one.
    if (rows != 0 && columns != 0 && tile.xp + (tile.yp % 2 == 1 ? 2 : 0) != last->xp + 1) return 0;
    return tile.index == last->index ? 1 : 0;
}

int BoardRules::UpdatePlayer() {
    const float dt = Data::frameMs;
    const int n = marked.Size();
    int result = 0;

    // After a long chain the board settles (blasts, the bonus tile) before the move counts.
    if (switch_) {
        if (bonus == 0 && stable == 1) {
            switch_ = 0;
            return type == kTraining ? 0 : 1;
        }
        if (type == kBattle) return 0;
    }

    // Hints: after 5000 ms of rest some move is shown as a chain that grows one tile per 100 ms.
    if (hintState == kHintIdle && stable) {
        hintWait = 5000;
        hintState = kHintWaiting;
    }
    if (hintState == kHintWaiting && stable) {
        hintWait -= dt;
        if (hintWait <= 0) {
            if (marked.IsEmpty()) {
                hintMove = GetMove(1.0f, 1.0f, 1.0f);
                hintState = kHintShowing;
            } else {
                hintState = kHintSuppressed;
            }
        }
    }
    if (hintState == kHintShowing && hintMove && !hintMove->empty()) {
        hintWait -= dt;
        if (hintWait <= 0) {
            hintWait = 100;
            const Pos next = hintMove->front();
            hintMove->erase(hintMove->begin());
            if (Tile* tile = TileAt(next.x, next.y)) marked.Add(tile);
        }
    }

    if (Data::mouseHeld) {
        if (hintState == kHintShowing) {
            marked.Clear2();
            hintMove.reset();
        }
        // Hints switched off in the options stay off for the whole board.
        if (hintState != kHintsOff) hintState = kHintSuppressed;
        // A press still held from before the board came is not a move.
        if (!ok) return 0;
        const float mx = Data::mouseVX;
        const float my = Data::mouseVY;
        const float bx = BoardX();
        const float by = BoardY();
        if (mx >= bx && mx < bx + static_cast<float>(Width()) && my > by &&
            my < by + static_cast<float>(Height())) {
            for (size_t i = 0; i < board.size(); ++i) {
                Tile& tile = board[i];
                if (tile.state != 1 || !tile.movable) continue;
                const float cx = bx + static_cast<float>(bg[i].x);
                const float cy = by + static_cast<float>(bg[i].y);
                if (!(mx >= cx && mx < cx + kCellWidth && my > cy && my < cy + kCellHeight)) continue;
                if (!marked.IsEmpty() && marked.GetLast() == &tile) continue;
                if (!LegalMove(tile)) continue;
                const int size = marked.Size();
                if (size >= 2 && marked.Get2(size - 2) == &tile) {
                    // Stepping back onto the tile before shortens the chain.
                    marked.RemoveAt(size - 1);
                    continue;
                }
                if (marked.Contains5(&tile)) continue;
                marked.Add(&tile);
                PlaySound(14, std::min(2.0f, static_cast<float>(marked.Size()) / 20.0f + 0.95f));
            }
        }
        return 0;
    }

    if (hintState == kHintSuppressed) hintState = kHintIdle;
    if (n >= 3 && hintState != kHintShowing) {
        for (Tile* tile : marked) Explode(*tile, 16, 0.75f, 0);
        if (actor) actor->Award(marked, TruncToInt(BoardX()), TruncToInt(BoardY()), type);
        CheckBonus(marked);
        if (bonus) {
            switch_ = 1;
            result = 0;
        } else {
            result = 1;
        }
        // Every completed chain is one of a training's moves at once.
        if (type == kTraining) result = 1;
    }
    if (hintState != kHintShowing) marked.Clear2();
    ok = 1;
    return result;
}

int BoardRules::UpdateOpponent() {
    const float dt = Data::frameMs;
    if (switch_ && bonus == 0) {
        switch_ = 0;
        return 1;
    }
    if (wait > 0) {
        wait -= dt;
        return 0;
    }
    if (!actor) return 0;

    // The opponent saves for one power at a time; an opponent without powers only makes moves.
    if (!opponentPower && !actor->powers.IsEmpty())
        opponentPower = actor->powers.Get2(BoardRandomIndex(actor->powers.Size()));
    if (opponentPower && !opponentPower->power) opponentPower.reset();
    if (opponentPower) {
        const Power* power = opponentPower->power;
        const int slot = power->ChargeSlot();
        if (slot >= 0) {
            FloatObject& charge = actor->values[static_cast<size_t>(slot)];
            const int have = TruncToInt(charge.value);
            const int cost = power->cost(opponentPower->level);
            if (have > cost) {
                charge.value = static_cast<float>(have - cost);
                const std::shared_ptr<PuzzleActorPower> fired = std::move(opponentPower);
                opponentPower.reset();
                switch_ = 1;
                OpponentFires(*fired);
                return 0;
            }
        }
    }

    if (!opponentMove) {
        opponentMove = GetMove(actor->physical, actor->elemental, actor->mental);
        // No move at all: the board deals anew through "No moves!".
        if (opponentMove) wait = 500;
        return 0;
    }
    if (!opponentMove->empty()) {
        const Pos next = opponentMove->front();
        opponentMove->erase(opponentMove->begin());
        if (Tile* tile = TileAt(next.x, next.y)) marked.Add(tile);
        PlaySound(14, 1.0f);
        wait = opponentMove->empty() ? 500.0f : 100.0f;
        return 0;
    }
    for (Tile* tile : marked) Explode(*tile, 16, 0.75f, 0);
    actor->Award(marked, TruncToInt(BoardX()), TruncToInt(BoardY()), type);
    opponentMove.reset();
    CheckBonus(marked);
    marked.Clear2();
    if (bonus) {
        switch_ = 1;
        return 0;
    }
    return 1;
}
