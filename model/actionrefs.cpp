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

    void Need(const ActionItem& action, ReferenceKind kind, const std::string& id) {
        if (id.empty() || ActionReferences::Exists(kind, id)) return;
        std::string key = action.file + '\n' + action.Describe() + '\n' + KindWord(kind) + '\n' + id;
        if (!told.insert(key).second) return;
        Actions::Report(action.file, "action " + action.Describe() + " names unknown " + KindWord(kind) +
                                         " \"" + id + "\"");
        ++lines;
    }

    // Keys that carry an id in their name ("Quest.X", "Upgrade.X", "Location.X") or in their value.
    void Key(const ActionItem& action, const std::string& name, const std::string& value, bool equality) {
        if (StartsWith(name, "Quest.")) Need(action, ReferenceKind::Quest, name.substr(6));
        if (StartsWith(name, "Upgrade.")) Need(action, ReferenceKind::Upgrade, name.substr(8));
        if (StartsWith(name, "Location.")) Need(action, ReferenceKind::Location, name.substr(9));
        if (!equality) return;
        if (name == "MoveTo" || name == "Game.NewLocation") Need(action, ReferenceKind::Location, value);
        // Walkers announce themselves on arrival too; those two are no places on the map.
        if (name == "ArriveAt" && value != "burglar" && value != "distress") {
            Need(action, ReferenceKind::Location, value);
        }
        if (name == "Dialogue" || name == "Game.WinDialogue" || name == "Game.LoseDialogue") {
            Need(action, ReferenceKind::Dialogue, value);
        }
    }

    void Flags(const ActionItem& action, const FlagList* list) {
        if (list == nullptr) return;
        for (const FlagItem* item : *list)
            Key(action, item->name, item->add ? std::string() : item->value, !item->add);
    }

    void Conditions(const ActionItem& action, const CompareList* list) {
        if (list == nullptr) return;
        for (const FlagCompare* head : *list) {
            for (const FlagCompare* c = head; c != nullptr; c = c->eor) {
                Key(action, c->name, c->value,
                    c->type == FlagCompare::kEqual || c->type == FlagCompare::kNot);
            }
        }
    }

    // The action's own references first, then its conditions and flags, then what hangs below it.
    void Action(const ActionItem& action) {
        switch (action.Kind()) {
            case ActionKind::Dialogue: {
                const auto& dialogue = static_cast<const ActionItemDialogue&>(action);
                // A "$key$" dialogue is chosen in play from a flag.
                if (!IsIndirect(dialogue.value)) Need(action, ReferenceKind::Dialogue, dialogue.value);
                break;
            }
            case ActionKind::Arrow: {
                const auto& arrow = static_cast<const ActionItemArrow&>(action);
                if (arrow.guiID == "location") Need(action, ReferenceKind::Location, arrow.guiName);
                break;
            }
            default:
                break;
        }
        Conditions(action, action.conditions.get());
        Flags(action, action.flags.get());
        switch (action.Kind()) {
            case ActionKind::Job: {
                const auto& job = static_cast<const ActionItemJob&>(action);
                Flags(action, job.positive.get());
                Flags(action, job.negative.get());
                break;
            }
            case ActionKind::Training: {
                const auto& training = static_cast<const ActionItemTraining&>(action);
                Flags(action, training.positive.get());
                Flags(action, training.negative.get());
                break;
            }
            case ActionKind::Popup:
                for (const ActionPtr& choice : static_cast<const ActionItemPopup&>(action).choices) {
                    if (choice) Action(*choice);
                }
                break;
            case ActionKind::Random:
                for (const ActionPtr& alternative : static_cast<const ActionItemRandom&>(action).actions) {
                    if (alternative) Action(*alternative);
                }
                break;
            default:
                break;
        }
        if (action.nextAction) Action(*action.nextAction);
    }

    static bool IsIndirect(const std::string& value) {
        return value.size() >= 2 && value.front() == '$' && value.back() == '$';
    }

  private:
    std::set<std::string> told;
};

}  // namespace

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
    for (const auto& location : Actions::actionLocations) {
        for (const ActionPtr& action : location->actions) {
            if (action) walk.Action(*action);
        }
    }
    // The events of the quests' dungeons are actions as well.
    for (const auto& quest : Quests::allQuests) {
        for (const auto& status : quest->statuses) {
            if (!status->dungeon) continue;
            for (const auto& tile : status->dungeon->tiles) {
                if (tile->action) walk.Action(*tile->action);
            }
        }
    }
    return walk.lines;
}

int ActionReferences::CheckAction(const ActionItem& action) {
    Walk walk;
    walk.Action(action);
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
