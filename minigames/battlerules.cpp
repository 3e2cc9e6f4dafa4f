// Handicap, hits and spoils of a battle.
#include "minigames/battlerules.hpp"

#include <algorithm>

#include "framework/framework.hpp"
#include "model/board.hpp"
#include "model/powers.hpp"

int BattleRules::HandicapAfterWin(int handicap) {
    if (handicap > 1) return handicap - 2;
    if (handicap > 0) return handicap - 1;
    return handicap;
}

int BattleRules::HandicapAfterLoss(int handicap) {
    return handicap < kMaxHandicap ? handicap + 1 : handicap;
}

BattleHit BattleRules::Fire(const Power& power, PuzzleActor& attacker, PuzzleActor& target, int opponentAttacks,
                            int handicap) {
    BattleHit hit;
    hit.effect = power.effect(attacker, target);
    hit.extra = static_cast<float>(power.extraDamage(attacker, target));
    hit.damage = static_cast<float>(power.damage(attacker, target));
    const float resisted = static_cast<float>(power.resisted(attacker, target));
    hit.blocked = static_cast<float>(power.blocked(attacker, target));
    const float ease = 2.0f * static_cast<float>(std::clamp(handicap, 0, kMaxHandicap));
    if (opponentAttacks) {
        for (float* amount : {&hit.extra, &hit.damage})
            if (*amount > 0) *amount = std::max(1.0f, *amount - ease);
    } else if (hit.damage > 0) {
        hit.damage += ease;
    }
    hit.loss = std::max(0.0f, hit.damage + hit.extra - resisted);
    return hit;
}

int BattleRules::RewardLevel(int derived, int burglarAlarm, const PuzzleActor& opponent) {
    if (derived) return burglarAlarm >= 3 ? 30 : burglarAlarm == 2 ? 15 : 5;
    return TruncToInt(std::max({opponent.physical, opponent.elemental, opponent.mental}));
}

RewardLines BattleRules::Spoils(const PuzzleActor& player, int rewardLevel, float constitutionRoll) {
    RewardLines lines;
    const auto add = [&lines](const char* name, int value) {
        if (value > 0) lines.push_back({name, value});
    };
    add("Resource.Money", TruncToInt(player.values[kTileMoney].value));
    add("Resource.Reputation", TruncToInt(player.values[kTileReputation].value));
    add("Resource.Clues", TruncToInt(player.values[kTileClue].value));
    const float total = static_cast<float>(player.totalValues[0] + player.totalValues[1] + player.totalValues[2]);
    if (total > 0) {
        const char* names[3] = {"Attribute.Strength", "Attribute.Essence", "Attribute.Intelligence"};
        for (size_t i = 0; i < 3; ++i)
            add(names[i], TruncToInt(static_cast<float>(player.totalValues[i]) / total *
                                     static_cast<float>(rewardLevel) * 2.0f));
    }
    add("Attribute.Constitution", TruncToInt(constitutionRoll * static_cast<float>(rewardLevel)));
    return lines;
}
