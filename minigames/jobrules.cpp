// The job's clock, bonus and win test, and the rewards of finished jobs and trainings.
#include "minigames/jobrules.hpp"

#include <algorithm>

#include "framework/framework.hpp"
#include "model/board.hpp"

namespace {

bool Listed(const RewardLines& lines, const std::string& name) {
    return std::any_of(lines.begin(), lines.end(), [&](const RewardLine& line) { return line.name == name; });
}

// The board's money, reputation and clues, each when the player collected any.
void AddCollected(RewardLines& lines, const PuzzleActor& player, bool moneyAndReputation) {
    if (moneyAndReputation) {
        const int money = TruncToInt(player.values[kTileMoney].value);
        if (money > 0) lines.push_back({"Resource.Money", money});
        const int reputation = TruncToInt(player.values[kTileReputation].value);
        if (reputation > 0) lines.push_back({"Resource.Reputation", reputation});
    }
    const int clues = TruncToInt(player.values[kTileClue].value);
    if (clues > 0) lines.push_back({"Resource.Clues", clues});
}

int Lookup(const FlagLookup& current, const std::string& key) {
    return current ? current(key) : 0;
}

}  // namespace

RewardLines LinesOf(const FlagList* list) {
    RewardLines lines;
    if (!list) return lines;
    for (const FlagItem* item : *list) {
        if (item) lines.push_back({item->name, item->GetInt()});
    }
    return lines;
}

JobRules::JobRules()
    : JobRules(kDefaultSeconds, kDefaultMoney, {kDefaultTarget, kDefaultTarget, kDefaultTarget}) {}

JobRules::JobRules(int seconds, int money, const std::array<int, 3>& meterTargets)
    : time(static_cast<float>(seconds) * 1000.0f),
      maxtime(static_cast<float>(seconds) * 1000.0f),
      maxMoney(money),
      targets(meterTargets) {}

float JobRules::Fraction() const {
    if (maxtime <= 0 || time <= 0) return 0;
    return std::min(1.0f, time / maxtime);
}

float JobRules::Bonus() const {
    if (maxMoney <= 0) return 0;
    return Fraction() * static_cast<float>(maxMoney);
}

void JobRules::Tick(float ms) {
    if (time > 0) time = std::max(0.0f, time - ms);
}

bool JobRules::Filled(const PuzzleActor& player) const {
    return TruncToInt(player.values[kTileMental].value) >= targets[0] &&
           TruncToInt(player.values[kTileElemental].value) >= targets[1] &&
           TruncToInt(player.values[kTilePhysical].value) >= targets[2];
}

int JobRules::Cost(int amount, int current) {
    return std::max(amount, -std::max(current, 0));
}

RewardLines JobRules::Rewards(const PuzzleActor& player, float fraction, const RewardLines& positive,
                              const RewardLines& negative, const FlagLookup& current) {
    RewardLines lines;
    AddCollected(lines, player, true);
    for (const RewardLine& entry : positive)
        lines.push_back({entry.name, TruncToInt(static_cast<double>(entry.value) * fraction)});
    for (const RewardLine& entry : negative)
        lines.push_back({entry.name, Cost(entry.value, Lookup(current, entry.name))});
    return lines;
}

int TrainingRules::AttributeToValue(const std::string& name) {
    if (name == "Attribute.Strength") return kTileStrength;
    if (name == "Attribute.Essence") return kTileEssence;
    if (name == "Attribute.Intelligence") return kTileIntelligence;
    if (name == "Attribute.Constitution") return kTileConstitution;
    if (name == "Attribute.Ethics") return kTileEthics;
    return 0;
}

bool TrainingRules::IsAttribute(const std::string& name) {
    return AttributeToValue(name) != 0;
}

std::string TrainingRules::Label(const std::string& name) {
    const size_t dot = name.find('.');
    if (dot == std::string::npos) return name;
    const size_t end = name.find('.', dot + 1);
    return name.substr(dot + 1, end == std::string::npos ? std::string::npos : end - dot - 1);
}

RewardLines TrainingRules::Rewards(const PuzzleActor& player, const RewardLines& positive,
                                   const RewardLines& negative, const FlagLookup& current) {
    RewardLines lines;
    AddCollected(lines, player, false);
    const auto collected = [&](const std::string& name) {
        return TruncToInt(player.values[static_cast<size_t>(AttributeToValue(name))].value);
    };
    for (const RewardLine& entry : positive) {
        if (!IsAttribute(entry.name) || Listed(lines, entry.name)) continue;
        const int value = collected(entry.name);
        if (value > 0) lines.push_back({entry.name, value});
    }
    for (const RewardLine& entry : negative) {
        if (!IsAttribute(entry.name) || Listed(lines, entry.name)) continue;
        const int value = JobRules::Cost(collected(entry.name), Lookup(current, entry.name));
        if (value < 0) lines.push_back({entry.name, value});
    }
    return lines;
}
