#pragma once
// The rules of the hexagonal puzzle board, apart from drawing: dealing tiles by board type, the
// refill, falling and sliding tiles, dragged chains of matching neighbours, explosions, blasts and
// bonus tiles, the re-deal when no move is left, the hint search and the opponent's turn.
//
// Everything the rules would show or play goes through the virtual hooks at the end of the class
// (sounds, bursts, messages, an opponent's power); the board the player sees overrides them. The
// frame time and the mouse come from `Data`, random numbers from the engine's generator.
#include <memory>
#include <optional>
#include <vector>

#include "model/board.hpp"

class PuzzleActorPower;

// A background cell.
class BgTile {
  public:
    int x = 0;
    int y = 0;
    int index = 0;  // frame of "TileBg70x80"
    float alpha = 0;
    int active = 1;  // an inactive cell holds no tile
};

// A cell by column (x) and row (y).
class Pos {
  public:
    Pos() = default;
    Pos(int column, int row) : x(column), y(row) {}
    int x = 0;
    int y = 0;
};

using PosList = std::vector<Pos>;

// Numbered steps: `Update2` is the item's per-frame update (in the rules, `UpdateBoard`), and
// `SetActor2` the board's actor setter.
class BoardRules {
  public:
    // Board types.
    static constexpr int kJob = 0;
    static constexpr int kBattle = 2;
    static constexpr int kTraining = 3;
    // Cell geometry in pixels.
    static constexpr int kCellWidth = 66;
    static constexpr int kCellHeight = 60;
    static constexpr int kTileSize = 64;

    // Hint states.
    static constexpr int kHintsOff = -2;
    static constexpr int kHintSuppressed = -1;
    static constexpr int kHintIdle = 0;
    static constexpr int kHintWaiting = 1;
    static constexpr int kHintShowing = 2;

    BoardRules(int columns, int rows, int type);
    virtual ~BoardRules() = default;
    BoardRules(const BoardRules&) = delete;
    BoardRules& operator=(const BoardRules&) = delete;

    int inited = 0;
    int stable = 0;
    int bonus = 0;
    int tw = 0;
    int th = 0;
    int type = 0;
    std::vector<BgTile> bg;
    std::vector<Tile> board;
    int created = 0;
    int shuffle = 0;
    int clues = 0;
    std::shared_ptr<PuzzleActor> actor;
    TileChain marked;
    int switch_ = 0;  // a finished move waits for the board to settle
    int hintState = kHintIdle;
    float hintWait = 0;
    std::optional<PosList> hintMove;
    int ok = 0;
    int pop = 0;
    float wait = 0;
    std::shared_ptr<PuzzleActorPower> opponentPower;
    std::optional<PosList> opponentMove;
    float counter = 0;

    int Width() const { return tw * kCellWidth + 37; }
    int Height() const { return th * kCellHeight + 20; }
    // The cell position of (column, row) relative to the board's origin.
    static int CellX(int column, int row) { return column * kCellWidth + (row % 2 == 1 ? 33 : 0); }
    static int CellY(int row) { return row * kCellHeight; }
    Tile* TileAt(int column, int row);
    bool Inside(int column, int row) const { return column >= 0 && column < tw && row >= 0 && row < th; }

    void SetActor2(std::shared_ptr<PuzzleActor> newActor) { actor = std::move(newActor); }
    static int InArray(int x, int y, const PosList& list);
    static int InArrays(int x, int y, const std::vector<PosList>& lists);
    // Flood fill of one cloud from (column, row) into list; kind -1 takes the first tile's kind.
    void GetCloud(int column, int row, PosList& list, int kind);
    // A cloud of three or more tiles: at random when all weights are 1, else the best by size
    // times the weight of its colour.
    std::optional<PosList> GetMove(float weightPhysical, float weightElemental, float weightMental);
    int LegalMove(const Tile& tile) const;
    void Explode(Tile& tile, int count, float scale, int keepBackground);
    void CheckBonus(const TileChain& chain);
    // The player's input for one update; 1 when the player's move is complete.
    int UpdatePlayer();
    // One update of the opponent's turn (the board's actor); 1 when the turn is over.
    int UpdateOpponent();
    int GetIndex(Tile& tile);
    void InitBoard();
    void Initialize();
    void UpdateFalling();
    void UpdateTiles();
    // The board's own per-frame step: builds the cells, re-deals a board without moves, fades the
    // background in and then moves the tiles.
    void UpdateBoard();

    // The board's origin in virtual-screen pixels.
    virtual float BoardX() const { return originX; }
    virtual float BoardY() const { return originY; }
    float originX = 0;
    float originY = 0;

  protected:
    // What the rules show and play. The defaults do nothing.
    virtual void PlaySound(int /*id*/, float /*rate*/) {}
    virtual void PlayPop() {}
    // A white burst of count dots of the given size centred on (x, y), virtual-screen pixels.
    virtual void Bang(float /*x*/, float /*y*/, int /*count*/, float /*scale*/) {}
    // "No moves!" over the board.
    virtual void ShowNoMoves() {}
    // Praise for a long chain.
    virtual void ShowPraise(const char* /*text*/) {}
    // The opponent has paid for this power and fires it now.
    virtual void OpponentFires(PuzzleActorPower& /*power*/) {}

  private:
    void CreditAlone(Tile& tile);
    bool CanDrop(const Tile* tile) const;
    void FadeInBackground(float dt);
    // Appends the cloud of (column, row) to out; seen marks the cells already taken.
    void Fill(int column, int row, int kind, PosList& out, std::vector<unsigned char>& mark);

    // Scratch for the cloud search, reused so a search does not allocate.
    std::vector<unsigned char> seen;
    std::vector<Pos> cloudCells;
    std::vector<int> cloudStarts;
    std::vector<unsigned char> inChain;
    std::vector<Tile*> collected;
    TileChain alone;
};

// A whole number in [0, n) from the engine's generator; 0 when n is not positive.
int BoardRandomIndex(int n);
