// The puzzle board's rules: dealing, refilling, moving and exploding tiles, and the board's own
// per-frame step. The moves (clouds, chains, hints and the opponent's turn) are in board_moves.cpp.
#include "minigames/board_rules.hpp"

#include <algorithm>

#include "framework/framework.hpp"
#include "minigames/jobrules.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/random.hpp"

int BoardRandomIndex(int n) {
    if (n <= 0) return 0;
    return std::min(n - 1, TruncToInt(platform::Rnd(0.0f, static_cast<float>(n))));
}

BoardRules::BoardRules(int columns, int rows, int boardType)
    : tw(std::max(1, columns)), th(std::max(1, rows)), type(boardType) {
    bg.resize(static_cast<size_t>(tw * th));
    board.resize(static_cast<size_t>(tw * th));
    clues = Profile::GetFlagInt("Game.Clues") > 0 ? 1 : 0;
}

Tile* BoardRules::TileAt(int column, int row) {
    if (!Inside(column, row)) return nullptr;
    return &board[static_cast<size_t>(row * tw + column)];
}

void BoardRules::Initialize() {
    created = 1;
    if (Profile::GetGlobalFlagInt("Hints") == 0) hintState = kHintsOff;
    for (int row = 0; row < th; ++row)
        for (int column = 0; column < tw; ++column) {
            const size_t i = static_cast<size_t>(row * tw + column);
            BgTile& cell = bg[i];
            cell = BgTile();
            cell.x = CellX(column, row);
            cell.y = CellY(row);
            Tile& tile = board[i];
            tile = Tile();
            tile.xp = column;
            tile.yp = row;
            tile.dx = cell.x + 3;
            tile.dy = cell.y + 8;
            tile.state = -1;
        }
    InitBoard();
}

void BoardRules::InitBoard() {
    for (size_t i = 0; i < board.size(); ++i) {
        if (!bg[i].active) continue;
        Tile& tile = board[i];
        tile.x = static_cast<float>(tile.dx);
        // The whole board drops in from about one screen above.
        tile.y = static_cast<float>(tile.dy) -
                 platform::Rnd(0.95f, 1.05f) * static_cast<float>(Data::virtualHeight);
        tile.movable = 1;
        tile.index = GetIndex(tile);
        tile.state = 0;
        tile.speed = 0;
        tile.alpha = 0;
        tile.bounce = 0;
    }
}

int BoardRules::GetIndex(Tile& tile) {
    const int n = type == kTraining ? 3 : type == kJob ? 4 : 5;
    int kind = 0;
    if (clues) {
        kind = BoardRandomIndex(n + 1);
        if (kind == n) kind = kTileClue;
    } else {
        kind = BoardRandomIndex(n);
    }
    // A training deals about one tile in ten as an attribute tile of one of its rewards, never in
    // the bottom row (a tile that lands there is paid at once). A training without rewards, or a
    // reward that is no attribute, leaves the plain tile.
    if (type == kTraining && tile.yp < th - 1 && platform::Rnd(0.0f, 9999.0f) > 9000.0f && actor &&
        !actor->flags.IsEmpty()) {
        const FlagItem* entry = actor->flags.Get2(BoardRandomIndex(actor->flags.Size()));
        // The attribute tile the reward pays into; 0 for any other reward.
        const int attribute = entry ? TrainingRules::AttributeToValue(entry->name) : 0;
        if (attribute != 0) {
            kind = attribute;
            tile.value = entry->GetInt();
            tile.movable = 0;
        }
    }
    return kind;
}

void BoardRules::UpdateBoard() {
    const float dt = Data::frameMs;
    pop = 0;
    counter += dt;
    if (!created) Initialize();
    if (stable) {
        // Once per period of rest: a board without any cloud of three is dealt anew.
        if (!shuffle) {
            if (!GetMove(1.0f, 1.0f, 1.0f)) {
                stable = 0;
                for (Tile& tile : board)
                    if (tile.state >= 0) Explode(tile, 6, 1.0f, 1);
                InitBoard();
                ShowNoMoves();
                return;
            }
            shuffle = 1;
        }
    } else {
        shuffle = 0;
    }
    stable = 1;
    if (inited) {
        UpdateTiles();
        return;
    }
    FadeInBackground(dt);
}

void BoardRules::FadeInBackground(float dt) {
    // The cells fade in as a wave from the top-left corner; tiles wait for the last of them.
    inited = 1;
    for (int row = 0; row < th; ++row)
        for (int column = 0; column < tw; ++column) {
            const size_t i = static_cast<size_t>(row * tw + column);
            BgTile& cell = bg[i];
            if (!cell.active || cell.alpha >= 1.0f) continue;
            bool grows = false;
            if (row == 0 && column == 0)
                grows = true;
            else if (row == 0)
                grows = bg[i - 1].alpha >= 0.25f;
            else if (column == 0)
                grows = bg[i - static_cast<size_t>(tw)].alpha >= 0.25f;
            else
                grows = bg[i - static_cast<size_t>(tw) - 1].alpha >= 0.25f;
            if (!grows) continue;
            cell.alpha = std::min(1.0f, cell.alpha + dt * 0.0025f);
            inited = 0;
        }
}

bool BoardRules::CanDrop(const Tile* tile) const {
    return tile && (tile->state == 1 || (tile->state == 2 && tile->bounce == 1));
}

void BoardRules::UpdateFalling() {
    for (int row = th - 1; row >= 0; --row)
        for (int column = 0; column < tw; ++column) {
            const size_t i = static_cast<size_t>(row * tw + column);
            Tile& tile = board[i];
            if (!bg[i].active || tile.state != -1) continue;
            stable = 0;
            if (row == 0) {
                tile.x = static_cast<float>(tile.dx);
                tile.y = -platform::Rnd(200.0f, 256.0f);
                tile.index = GetIndex(tile);
                tile.state = 0;
                tile.speed = 0;
                tile.alpha = 0;
                tile.bounce = 0;
                continue;
            }
            // The two cells of the row above that touch this one, on the left and on the right.
            const bool odd = row % 2 == 1;
            Tile* left = TileAt(odd ? column : column - 1, row - 1);
            Tile* right = TileAt(odd ? column + 1 : column, row - 1);
            const bool leftDrops = CanDrop(left);
            const bool rightDrops = CanDrop(right);
            const Tile* beside = TileAt(column + 1, row);
            const bool besideEmpty = beside && beside->state == -1;
            if (leftDrops && (besideEmpty || !rightDrops))
                tile.Copy(*left);
            else if (rightDrops && !leftDrops)
                tile.Copy(*right);
            else if (leftDrops && rightDrops)
                tile.Copy(platform::Rnd(0.0f, 1000.0f) < 500.0f ? *right : *left);
        }
}

void BoardRules::UpdateTiles() {
    const float dt = Data::frameMs;
    if (!bonus) UpdateFalling();
    bonus = 0;
    for (int row = th - 1; row >= 0; --row)
        for (int column = 0; column < tw; ++column) {
            Tile& tile = board[static_cast<size_t>(row * tw + column)];
            if (tile.state >= 0 && tile.alpha < 1.0f) tile.alpha = std::min(1.0f, tile.alpha + dt * 0.0025f);
            switch (tile.state) {
                case 10:
                    bonus = 1;
                    stable = 0;
                    if (tile.wait > 0) tile.wait -= dt;
                    if (tile.wait <= 0) {
                        Explode(tile, 16, 0.75f, 0);
                        CreditAlone(tile);
                        bonus = 0;
                    }
                    break;
                case 12:
                    bonus = 1;
                    stable = 0;
                    tile.wait += dt;
                    if (tile.wait >= 250) {
                        Explode(tile, 16, 0.75f, 0);
                        CreditAlone(tile);
                        bonus = 0;
                    }
                    break;
                case 0:
                    stable = 0;
                    if (tile.speed >= 0 && tile.speed < 2.0f)
                        tile.speed = std::min(2.0f, tile.speed + dt * 0.001f);
                    else if (tile.speed < 0)
                        tile.speed += dt * 0.005f;
                    tile.y += dt * tile.speed;
                    if (tile.speed > 0 && tile.y >= static_cast<float>(tile.dy)) {
                        if (tile.bounce) {
                            tile.y = static_cast<float>(tile.dy);
                            tile.state = 1;
                            tile.speed = 0;
                        } else {
                            PlaySound(33, 1.0f);
                            tile.bounce = 1;
                            tile.speed = -tile.speed * 0.5f;
                        }
                    }
                    break;
                case 2:
                    stable = 0;
                    if (tile.speed >= 0 && tile.speed < 1.5f)
                        tile.speed = std::min(1.5f, tile.speed + dt * 0.001f);
                    else if (tile.speed < 0)
                        tile.speed += dt * 0.0015f;
                    tile.y += dt * tile.speed;
                    if (tile.speed > 0) {
                        if (tile.x < static_cast<float>(tile.dx))
                            tile.x += tile.speed * dt * 0.55f;
                        else if (tile.y < static_cast<float>(tile.dy))
                            tile.x -= tile.speed * dt * 0.55f;
                    }
                    if (tile.speed > 0 && tile.y >= static_cast<float>(tile.dy)) {
                        if (tile.bounce) {
                            tile.x = static_cast<float>(tile.dx);
                            tile.y = static_cast<float>(tile.dy);
                            tile.speed = 0;
                            // An attribute tile that reaches the bottom row flashes and pays out.
                            if (tile.special == 0 && tile.movable == 0 && row == th - 1) {
                                tile.state = 10;
                                tile.wait = 500;
                                PlaySound(29, 1.0f);
                            } else {
                                tile.state = 1;
                            }
                        } else {
                            tile.bounce = 1;
                            tile.speed = -tile.speed * 0.5f;
                        }
                    }
                    break;
                default:
                    break;
            }
        }

    // A bonus tile goes off, with every movable neighbour, as soon as the board is at rest.
    for (int row = th - 1; row >= 0; --row)
        for (int column = 0; column < tw; ++column) {
            Tile& tile = board[static_cast<size_t>(row * tw + column)];
            if (tile.special != 1) continue;
            tile.wait += dt;
            if (stable != 1 || bonus != 0) continue;
            Explode(tile, 16, 0.75f, 0);
            stable = 0;
            const int diagonal = row % 2 == 1 ? column + 1 : column - 1;
            const int around[6][2] = {{column - 1, row}, {column + 1, row},   {column, row - 1},
                                      {column, row + 1}, {diagonal, row - 1}, {diagonal, row + 1}};
            for (const auto& cell : around) {
                Tile* neighbour = TileAt(cell[0], cell[1]);
                if (!neighbour || !neighbour->movable || neighbour->state < 0) continue;
                neighbour->state = 12;
                neighbour->wait = 400;
            }
        }
}

void BoardRules::CreditAlone(Tile& tile) {
    // Credited through a list of its own: the chain the player may be dragging meanwhile stays as
    // it is and is neither credited nor dropped.
    if (!actor) return;
    alone.Clear2();
    alone.Add(&tile);
    actor->Award(alone, TruncToInt(BoardX()), TruncToInt(BoardY()), type);
}

void BoardRules::Explode(Tile& tile, int count, float scale, int keepBackground) {
    tile.special = 0;
    tile.movable = 1;
    tile.state = -1;
    Bang(BoardX() + tile.x + 32.0f, BoardY() + tile.y + 32.0f, count, scale);
    BgTile& cell = bg[static_cast<size_t>(tile.yp * tw + tile.xp)];
    if (!keepBackground && cell.index == 1) cell.index = 0;
    stable = 0;
    if (!pop) {
        pop = 1;
        PlayPop();
    }
}

void BoardRules::CheckBonus(const TileChain& chain) {
    const int n = chain.Size();
    if (n <= 4) return;
    const char* praise = nullptr;
    if (n >= 10) {
        praise = platform::Rnd(0.0f, 999.0f) >= 500.0f ? "Spectacular!" : "Outstanding!";
    } else {
        const int r = TruncToInt(platform::Rnd(0.0f, 1499.0f));
        praise = r >= 1000 ? "Yeah!" : r >= 500 ? "Smashing!" : "Awesome!";
    }
    ShowPraise(praise);

    inChain.assign(board.size(), 0);
    for (const Tile* tile : chain) inChain[static_cast<size_t>(tile->yp * tw + tile->xp)] = 1;
    collected.clear();
    float delay = 250;
    int i = 0;
    for (Tile* tile : chain) {
        // The middle of a chain of ten or more stays behind as the bonus tile.
        if (n >= 10 && i == n / 2) {
            tile->x = static_cast<float>(tile->dx);
            tile->y = static_cast<float>(tile->dy);
            tile->state = 1;
            tile->special = 1;
            tile->index = kTileBonus;
            tile->movable = 0;
            PlaySound(30, 1.0f);
        }
        ++i;
        const int column = tile->xp;
        const int row = tile->yp;
        const int diagonal = row % 2 == 1 ? column + 1 : column - 1;
        const int around[6][2] = {{column - 1, row},   {column + 1, row}, {column, row - 1},
                                  {diagonal, row - 1}, {column, row + 1}, {diagonal, row + 1}};
        for (const auto& cell : around) {
            Tile* neighbour = TileAt(cell[0], cell[1]);
            if (!neighbour) continue;
            unsigned char& mark = inChain[static_cast<size_t>(cell[1] * tw + cell[0])];
            if (mark) continue;
            mark = 2;
            neighbour->wait = delay;
            delay += 100;
            collected.push_back(neighbour);
        }
    }
    // Only tiles that are there go off: an empty cell beside the chain has nothing to blast.
    for (Tile* neighbour : collected)
        if (neighbour->movable && neighbour->state >= 0) neighbour->state = 10;
    bonus = 1;
}
