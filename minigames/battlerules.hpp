#pragma once
// The arithmetic of a battle, apart from the screen: how the handicap follows wins and losses and
// eases the hits, what one fired power takes from its target's health, and what a won battle pays.
#include <string>

#include "minigames/jobrules.hpp"

class Power;
class PuzzleActor;

// One power fired: the numbers the effect shows and the health it takes.
struct BattleHit {
    // The special's text ("Shield up!", "Freeze!"), empty for a plain attack.
    std::string effect;
    float extra = 0;
    float damage = 0;
    // The "Blocked" number: the resistance share plus what a shield soaked.
    float blocked = 0;
    // What the target's health loses (never below 0).
    float loss = 0;
};

class BattleRules {
  public:
    // "Game.Handicap" runs from 0 to 3.
    static constexpr int kMaxHandicap = 3;

    static int HandicapAfterWin(int handicap);
    static int HandicapAfterLoss(int handicap);

    // Fires the power of `attacker` at `target`: applies its special (shield, freeze), asks its
    // numbers in the game's order and eases them by the handicap (an opponent's hits lose 2 per
    // point, never below 1; the hero's damage gains 2 per point). A shield soaks its points inside
    // the damage only once; the resistance share comes off the health loss.
    static BattleHit Fire(const Power& power, PuzzleActor& attacker, PuzzleActor& target, int opponentAttacks,
                          int handicap);

    // The size of the attribute rewards: with any rating derived from the hero, 5, 15 or 30 by the
    // "Burglar Alarm" upgrade; otherwise the opponent's highest rating.
    static int RewardLevel(int derived, int burglarAlarm, const PuzzleActor& opponent);

    // What a won battle pays, in the order the sheet lists it: money, reputation and clues collected,
    // the three attributes shared out by the power charges earned (none when none was earned), and
    // Constitution by `constitutionRoll` (a draw in [1.5, 2.5)) times the reward level. Only amounts
    // above 0 are listed.
    static RewardLines Spoils(const PuzzleActor& player, int rewardLevel, float constitutionRoll);
};
