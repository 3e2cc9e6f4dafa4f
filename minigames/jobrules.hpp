#pragma once
// The arithmetic of the job and training games, apart from the screen: the job's clock and bonus,
// its win test, and what a finished job or training pays. Plain classes: the flag values a reward
// is measured against come from a lookup the caller passes (the profile in the game).
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "model/profile.hpp"

class PuzzleActor;

// One line of a result: the profile key and the amount added to it.
struct RewardLine {
    std::string name;
    int value = 0;
};

using RewardLines = std::vector<RewardLine>;

// The entries of an action's reward list as lines (none for a missing list).
RewardLines LinesOf(const FlagList* list);

// The current value of a profile key.
using FlagLookup = std::function<int(const std::string& key)>;

// Meter order of a job: [0] mental, [1] elemental, [2] physical.
class JobRules {
  public:
    // A job without its own numbers: a minute, a bonus of up to 15 and five of each colour.
    static constexpr int kDefaultSeconds = 60;
    static constexpr int kDefaultMoney = 15;
    static constexpr int kDefaultTarget = 5;

    JobRules();
    // `seconds` of play for up to `money` of bonus.
    JobRules(int seconds, int money, const std::array<int, 3>& meterTargets);

    float time = 0;
    float maxtime = 0;
    int maxMoney = 0;
    std::array<int, 3> targets{};

    // The share of the clock left, 0 to 1. A job without time has none left: its bonus and its
    // scaled rewards are 0 rather than the result of dividing by zero.
    float Fraction() const;
    // The bonus money the time left is worth now; 0 when the job offers none.
    float Bonus() const;
    // Runs the clock down by `ms`, never below 0.
    void Tick(float ms);
    // All three meters have reached their targets (charges above a target do not matter).
    bool Filled(const PuzzleActor& player) const;

    // What a finished job pays, in the order the result sheet lists it: money, reputation and
    // clues collected on the board (each only when above 0), then every positive reward scaled by
    // the time left, then every cost at its full amount as far as the key has something to lose.
    static RewardLines Rewards(const PuzzleActor& player, float fraction, const RewardLines& positive,
                               const RewardLines& negative, const FlagLookup& current);
    // A cost of `amount` (a negative number) against a key now at `current`: it never takes the key
    // below 0, and a key already at 0 or below loses nothing (a cost must never turn into a gain).
    static int Cost(int amount, int current);
};

class TrainingRules {
  public:
    // A training without its own numbers.
    static constexpr int kDefaultMoves = 10;

    // The charge slot an attribute's tiles pay into: Strength 5, Essence 6, Intelligence 7,
    // Constitution 8, Ethics 9; any other name 0.
    static int AttributeToValue(const std::string& name);
    // True for the five attributes a training deals tiles of. Any other reward has no tile, so
    // the training neither shows nor pays it.
    static bool IsAttribute(const std::string& name);
    // The label of a reward's panel line: the part after the first "." ("Attribute.Strength"
    // gives "Strength").
    static std::string Label(const std::string& name);

    // What a finished training pays: clues collected, then each raised attribute's collected
    // amount (when above 0), then each lowered attribute's (when below 0, and never taking the
    // attribute below 0). A key listed once is not listed again, so a name in both lists counts
    // from the raised side.
    static RewardLines Rewards(const PuzzleActor& player, const RewardLines& positive,
                               const RewardLines& negative, const FlagLookup& current);
};
