// Load-time checks of the ids that actions name in the other data tables.
#include "model/actionrefs.hpp"

#include <algorithm>
#include <array>
#include <set>

#include "model/actions.hpp"
#include "model/board.hpp"
#include "model/locations.hpp"
#include "model/powers.hpp"
#include "model/quests.hpp"
#include "model/trophies.hpp"
#include "model/upgrades.hpp"

std::function<std::shared_ptr<PuzzleActorPower>(const std::string&, int)> ActionReferences::makeBattlePower;

namespace {

std::array<ActionReferences::Lookup, static_cast<size_t>(ReferenceKind::kCount)> lookups;

const char* KindWord(ReferenceKind kind) {
    switch (kind) {
        case ReferenceKind::Dialogue:
            return "dialogue";
        case ReferenceKind::Power:
            return "power";
        case ReferenceKind::Quest:
            return "quest";
        case ReferenceKind::Upgrade:
            return "upgrade";
        case ReferenceKind::Location:
            return "location";
        default:
            return "id";
    }
}

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

// Collects the reports of one walk, so an id named twice by the same action is told once.
class Walk {
  public:
    int lines = 0;

    // Where a reference stands: the file and the element in words ("action \"a1\"", "quest \"Q\"").
    struct Place {
        std::string file;
        std::string element;
    };

    void Need(const Place& at, ReferenceKind kind, const std::string& id) {
        if (id.empty() || ActionReferences::Exists(kind, id)) return;
        std::string key = at.file + '\n' + at.element + '\n' + KindWord(kind) + '\n' + id;
        if (!told.insert(key).second) return;
        Actions::Report(at.file, at.element + " names unknown " + KindWord(kind) + " \"" + id + "\"");
        ++lines;
    }

    // Keys that carry an id in their name ("Quest.X", "Upgrade.X", "Location.X") or in their value.
    void Key(const Place& at, const std::string& name, const std::string& value, bool equality) {
        if (StartsWith(name, "Quest.")) Need(at, ReferenceKind::Quest, name.substr(6));
        if (StartsWith(name, "Upgrade.")) Need(at, ReferenceKind::Upgrade, name.substr(8));
        if (StartsWith(name, "Location.")) Need(at, ReferenceKind::Location, name.substr(9));
        if (!equality) return;
        if (name == "MoveTo" || name == "Game.NewLocation") Need(at, ReferenceKind::Location, value);
        // Walkers announce themselves on arrival too; those two are no places on the map.
        if (name == "ArriveAt" && value != "burglar" && value != "distress") {
            Need(at, ReferenceKind::Location, value);
        }
        if (name == "Dialogue" || name == "Game.WinDialogue" || name == "Game.LoseDialogue") {
            Need(at, ReferenceKind::Dialogue, value);
        }
    }

    void Flags(const Place& at, const FlagList* list) {
        if (list == nullptr) return;
        for (const FlagItem* item : *list)
            Key(at, item->name, item->add ? std::string() : item->value, !item->add);
    }

    void Conditions(const Place& at, const CompareList* list) {
        if (list == nullptr) return;
        for (const FlagCompare* head : *list) {
            for (const FlagCompare* c = head; c != nullptr; c = c->eor) {
                Key(at, c->name, c->value, c->type == FlagCompare::kEqual || c->type == FlagCompare::kNot);
            }
        }
    }

    // A quest's conditions and rewards and each stage's conditions (the events of its dungeons are
    // actions, walked with the others).
    void Quest(const QuestItem& quest) {
        const Place at{Quests::kFile, "quest \"" + quest.id + "\""};
        Conditions(at, quest.conditions.get());
        Flags(at, quest.rewards.get());
        for (const auto& status : quest.statuses) {
            const Place stage{Quests::kFile, "quest \"" + quest.id + "\" stage \"" + status->id + "\""};
            Conditions(stage, status->conditions.get());
        }
    }

    // The action's own references first, then its conditions and flags; what hangs below it is
    // visited on its own.
    void Action(const ActionItem& action, const std::string& where) {
        const Place at{action.file, where};
        switch (action.Kind()) {
            case ActionKind::Dialogue: {
                const auto& dialogue = static_cast<const ActionItemDialogue&>(action);
                // A "$key$" dialogue is chosen in play from a flag.
                if (!IsIndirect(dialogue.value)) Need(at, ReferenceKind::Dialogue, dialogue.value);
                break;
            }
            case ActionKind::Arrow: {
                const auto& arrow = static_cast<const ActionItemArrow&>(action);
                if (arrow.guiID == "location") Need(at, ReferenceKind::Location, arrow.guiName);
                break;
            }
            default:
                break;
        }
        Conditions(at, action.conditions.get());
        Flags(at, action.flags.get());
        switch (action.Kind()) {
            case ActionKind::Job: {
                const auto& job = static_cast<const ActionItemJob&>(action);
                Flags(at, job.positive.get());
                Flags(at, job.negative.get());
                break;
            }
            case ActionKind::Training: {
                const auto& training = static_cast<const ActionItemTraining&>(action);
                Flags(at, training.positive.get());
                Flags(at, training.negative.get());
                break;
            }
            default:
                break;
        }
    }

    static bool IsIndirect(const std::string& value) {
        return value.size() >= 2 && value.front() == '$' && value.back() == '$';
    }

  private:
    std::set<std::string> told;
};

// The action, then its choices or alternatives, then the rest of its chain. An action without an
// id of its own in a dungeon tile is told by its tile.
void Visit(const ActionItem& action, const std::string& tile, const ActionReferences::Visitor& visit) {
    visit(action, tile.empty() || !action.id.empty() ? "action " + action.Describe() : tile);
    if (action.Kind() == ActionKind::Popup) {
        for (const ActionPtr& choice : static_cast<const ActionItemPopup&>(action).choices) {
            if (choice) Visit(*choice, tile, visit);
        }
    } else if (action.Kind() == ActionKind::Random) {
        for (const ActionPtr& alternative : static_cast<const ActionItemRandom&>(action).actions) {
            if (alternative) Visit(*alternative, tile, visit);
        }
    }
    if (action.nextAction) Visit(*action.nextAction, tile, visit);
}

}  // namespace

void ActionReferences::ForEachAction(const Visitor& visit) {
    for (const auto& location : Actions::actionLocations) {
        for (const ActionPtr& action : location->actions) {
            if (action) Visit(*action, "", visit);
        }
    }
    for (const auto& quest : Quests::allQuests) {
        for (const auto& status : quest->statuses) {
            if (!status->dungeon) continue;
            for (const auto& tile : status->dungeon->tiles) {
                if (!tile->action) continue;
                Visit(*tile->action, "dungeon tile \"" + tile->id + "\" of quest \"" + quest->id + "\"",
                      visit);
            }
        }
    }
}

void ActionReferences::SetLookup(ReferenceKind kind, Lookup lookup) {
    lookups[static_cast<size_t>(kind)] = std::move(lookup);
}

bool ActionReferences::HasLookup(ReferenceKind kind) {
    return static_cast<bool>(lookups[static_cast<size_t>(kind)]);
}

bool ActionReferences::Exists(ReferenceKind kind, const std::string& id) {
    const Lookup& lookup = lookups[static_cast<size_t>(kind)];
    return !lookup || lookup(id);
}

void ActionReferences::RegisterModelLookups() {
    // The tables of the model, each through its owner's lookup; dialogues register from the
    // dialogue table itself.
    SetLookup(ReferenceKind::Power, [](const std::string& id) { return Powers::Get(id) != nullptr; });
    SetLookup(ReferenceKind::Location, [](const std::string& id) { return Locations::Get(id) != nullptr; });
    SetLookup(ReferenceKind::Quest, [](const std::string& id) {
        for (const auto& quest : Quests::allQuests) {
            if (quest->id == id) return true;
        }
        return false;
    });
    // "Upgrade." keys name the base's lines.
    SetLookup(ReferenceKind::Upgrade, [](const std::string& id) {
        return std::find(Upgrades::kLines.begin(), Upgrades::kLines.end(), id) != Upgrades::kLines.end();
    });
    makeBattlePower = [](const std::string& id, int level) -> std::shared_ptr<PuzzleActorPower> {
        Power* power = Powers::Get(id);
        if (power == nullptr) return nullptr;
        return std::make_shared<PuzzleActorPower>(power, level);
    };
}

int ActionReferences::CheckAll() {
    Walk walk;
    ForEachAction(
        [&walk](const ActionItem& action, const std::string& where) { walk.Action(action, where); });
    for (const auto& quest : Quests::allQuests) walk.Quest(*quest);
    for (const auto& upgrade : Upgrades::upgrades) {
        walk.Conditions(
            {Upgrades::kFile, "upgrade \"" + upgrade->id + "\" level " + std::to_string(upgrade->level)},
            upgrade->conditions.get());
    }
    for (const auto& trophy : Trophies::trophies) {
        walk.Conditions({Trophies::kFile, "trophy \"" + trophy->id + "\""}, trophy->conditions.get());
    }
    return walk.lines;
}

int ActionReferences::CheckConditions(const std::string& file, const std::string& element,
                                      const CompareList* list) {
    Walk walk;
    walk.Conditions({file, element}, list);
    return walk.lines;
}

int ActionReferences::CheckFlagName(const std::string& file, const std::string& element, const std::string& name) {
    Walk walk;
    walk.Key({file, element}, name, "", false);
    return walk.lines;
}

int ActionReferences::CheckAction(const ActionItem& action) {
    Walk walk;
    Visit(action, "",
          [&walk](const ActionItem& each, const std::string& where) { walk.Action(each, where); });
    return walk.lines;
}

void ActionReferences::AddBattlePower(ActionItemBattle& battle, const std::string& powerId, int level) {
    if (!makeBattlePower) {
        Actions::Report(battle.file, "battle " + battle.Describe() + " cannot take power \"" + powerId +
                                         "\": the game has no power table yet");
        return;
    }
    std::shared_ptr<PuzzleActorPower> power = makeBattlePower(powerId, level);
    if (!power) {
        Actions::Report(battle.file, "action " + battle.Describe() + " names unknown power \"" + powerId +
                                         "\" (left out)");
        return;
    }
    battle.powers.Add(power);
}
