#pragma once
// Puzzle actors: the participants of a puzzle-board game (the hero in a job, a training or a
// battle, and a battle's opponent) with the charges that matched tiles pay into, a fighter's health,
// shield and freeze, its three power ratings and the powers it may fire; and the tile record that
// the board credits them from.
#include <array>
#include <memory>
#include <string>

#include "core/collections.hpp"
#include "core/hooks.hpp"

class FlagItem;
class Power;

// One cell's tile of the puzzle board. The board (mini-games) owns the cells and moves tiles
// between them; it lives here because an actor is credited from a chain of them.
//
// States: -1 empty cell; 0 new tile falling in from above; 1 resting; 2 sliding down from the cell
// above into this one; 10 delayed explosion counting `wait` down; 12 explosion counting `wait` up.
class Tile {
  public:
    int index = 0;  // kind
    int state = 0;
    int movable = 1;  // 0 for attribute and bonus tiles, which cannot be dragged
    int yp = 0;       // row
    int xp = 0;       // column
    int special = 0;  // 1 for the bonus tile
    float x = 0;      // drawing position relative to the board's origin
    float y = 0;
    int value = 0;  // the amount of an attribute tile
    int dx = 0;     // the cell's resting position
    int dy = 0;
    float wait = 0;   // ms
    float speed = 0;  // pixels per ms
    float alpha = 0;
    int bounce = 0;  // 1 after the first landing

    // Moves the source tile into this cell and leaves the source empty.
    void Copy(Tile& source);
};

using TileChain = ArrayList<Tile*>;

// Tile kinds, one numbering shared by the board, the charges and the puzzle games.
enum TileKind {
    kTilePhysical = 0,
    kTileElemental = 1,
    kTileMental = 2,
    kTileMoney = 3,
    kTileReputation = 4,
    kTileStrength = 5,
    kTileEssence = 6,
    kTileIntelligence = 7,
    kTileConstitution = 8,
    kTileEthics = 9,
    kTileBonus = 10,
    kTileClue = 11,
    kTileKinds = 12
};

// A power at the level an actor holds it.
class PuzzleActorPower {
  public:
    PuzzleActorPower() = default;
    PuzzleActorPower(Power* p, int l) : power(p), level(l) {}

    Power* power = nullptr;
    int level = 0;
};

// How a credited chain shows its gain: a floating text centred on (x, y), in the font "ob" when
// big is 1, else "on". The board that shows texts adds it; with none, nothing is shown.
using GainDisplay = StepList<const std::string&, int, int, int, int>;

class PuzzleActor {
  public:
    PuzzleActor() = default;
    PuzzleActor(const PuzzleActor&) = delete;
    PuzzleActor& operator=(const PuzzleActor&) = delete;

    // Charge per tile kind (the slot is the kind). Boxes, so that meters can bind to them.
    std::array<FloatObject, kTileKinds> values{};
    // Rewards offered by a training (the items belong to the training).
    ArrayList<FlagItem*> flags;
    int maxHealth = 0;
    FloatObject health;
    std::string image;
    int index = 0;
    float physical = 1.0f;
    float elemental = 1.0f;
    float mental = 1.0f;
    ArrayList<std::shared_ptr<PuzzleActorPower>> powers;
    std::string name;
    // The three power charges earned in this game, never lowered by spending.
    std::array<int, 3> totalValues{};
    int freeze = 0;
    int protect = 0;
    int toBlock = 0;

    // Credits one finished chain and floats the gain over the chain's centre. (x, y) is the board's
    // position; the board type decides whether power, money and reputation gains are shown.
    int Award(const TileChain& chain, int x, int y, int boardType);

    // The rating strictly above both others: 0 physical, 1 elemental, 2 mental; -1 on a tie for
    // the highest.
    int Dominant() const;

    static GainDisplay showGain;
};

// The hero as a battle fields it: health from Constitution, ratings from the three attribute
// levels, the attack of each colour the power-up tree chose (an attack name the power table does
// not know is left out, with a line), and the charge head start of the "Heroic Power" upgrade.
std::shared_ptr<PuzzleActor> CreateHeroActor();

// Fills in what a battle's data leaves to the hero's measure: a constitution of -1 gives health
// near the hero's, each rating of -1 becomes at least 2 and near the hero's, and then the held
// powers' levels follow the last derived rating. The data's own name, image, ratings and powers
// must already be set. Returns 1 when any rating was derived.
int DeriveOpponent(PuzzleActor& opponent, const PuzzleActor& hero, int constitution);

// The colour of a tile kind's floating number (kinds 5 to 9 depend on the tile's value).
int GainColour(int kind, int value);
