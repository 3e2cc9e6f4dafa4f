#pragma once
// Load-time checks of the ids that actions name in the other tables (dialogues, powers, quests,
// upgrades, locations), so a typo in a data file is reported once at start-up, with its file and
// action, instead of surfacing deep in play.
//
// Each table's owner provides the lookup ("does this id exist?") through `SetLookup`; a kind
// without a lookup is not checked. Lookups are registrations: they stay set for the whole run. The model's
// own tables are wired in one place, `RegisterModelLookups`.
#include <functional>
#include <memory>
#include <string>

#include "model/actions.hpp"

class ActionItem;
class ActionItemBattle;
class PuzzleActorPower;

enum class ReferenceKind { Dialogue, Power, Quest, Upgrade, Location, kCount };

class ActionReferences {
  public:
    using Lookup = std::function<bool(const std::string& id)>;

    static void SetLookup(ReferenceKind kind, Lookup lookup);
    static bool HasLookup(ReferenceKind kind);
    // True when the table knows the id, or when the kind has no lookup yet.
    static bool Exists(ReferenceKind kind, const std::string& id);

    // Sets the lookups of the model tables that exist.
    static void RegisterModelLookups();

    // Walks every loaded action (chains, choices and alternatives included), the quests (their
    // conditions, rewards, stages and the events of their dungeons), the upgrades' and the
    // trophies' conditions, and prints one line for each unknown id, naming the file and the
    // element. Returns the number of lines.
    static int CheckAll();
    // Visits every loaded action: each location's actions with their choices, alternatives and
    // chains, then the events of the quests' dungeons.
    // Each with the element in words for reports: "action \"a1\"", or the dungeon tile it lies on.
    using Visitor = std::function<void(const ActionItem& action, const std::string& where)>;
    static void ForEachAction(const Visitor& visit);
    // One line for each unknown id that a list of conditions names, told as file + element.
    // Returns the number of lines.
    static int CheckConditions(const std::string& file, const std::string& element, const CompareList* list);
    // The same for the name of one flag that is set or added.
    static int CheckFlagName(const std::string& file, const std::string& element, const std::string& name);
    // The same checks for one action and what hangs below it.
    static int CheckAction(const ActionItem& action);

    // A battle's opponent power: a power that the power table does not know is reported and left
    // out, so the opponent never holds a power without data.
    static void AddBattlePower(ActionItemBattle& battle, const std::string& powerId, int level);

    // Makes an opponent's power at a level from the power table, or null when the table does not
    // know the id. Set with the power table's lookup; unset, no battle power can be read.
    static std::function<std::shared_ptr<PuzzleActorPower>(const std::string& id, int level)> makeBattlePower;
};
