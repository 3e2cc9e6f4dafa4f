// The action engine: which action of the current act fires next, how a chain continues, and what
// activating each kind of action does.
#include <string>

#include "model/actions.hpp"
#include "model/data2.hpp"
#include "platform/random.hpp"

namespace {

void NoScreen(const ActionItem& action, const char* kind) {
    Actions::Report(action.file, std::string(kind) + " action " + action.Describe() +
                                     " starts nothing: the game has no such screen yet");
}

std::string Prefixed(const char* prefix, long long n) {
    std::string text(prefix);
    text += std::to_string(n);
    return text;
}

// Attribute, money and reputation changes float up from the middle of the screen.
void ShowNumberFor(const FlagItem& item) {
    if (!Actions::starters.showNumber) return;
    const std::string& name = item.name;
    const long long n = item.GetInt();
    ActionNumber number;
    number.x = static_cast<int>(Data::virtualWidth * 0.5);
    number.y = static_cast<int>(Data::virtualHeight * 0.5);
    if (name.rfind("Attribute.", 0) == 0) {
        std::string part = name.substr(10);
        part = part.substr(0, part.find('.'));
        if (n >= 1) {
            number.text = part + " +" + std::to_string(n);
            number.paletteEntry = 2;
        } else {
            number.text = part + " " + std::to_string(n);
            number.paletteEntry = 4;
        }
    } else if (name == "Resource.Money") {
        // A loss shows in the colour of a lowered attribute.
        number.text = n >= 1 ? Prefixed("$", n) : Prefixed("-$", -n);
        number.paletteEntry = n >= 1 ? 0 : 4;
    } else if (name == "Resource.Reputation") {
        number.text = n >= 1 ? Prefixed("+", n) : std::to_string(n);
        number.paletteEntry = n >= 1 ? 1 : 4;
    } else {
        return;
    }
    Actions::starters.showNumber(number);
}

}  // namespace

// --- ActionItem ----------------------------------------------------------------------------------

int ActionItem::Check() const {
    if (!conditions) return 1;
    for (const FlagCompare* compare : *conditions) {
        if (compare == nullptr || !compare->Check()) return 0;
    }
    return 1;
}

std::string ActionItem::DoneFlag() const {
    return id.empty() ? std::string() : "ID." + id;
}

std::string ActionItem::Describe() const {
    if (!id.empty()) return "\"" + id + "\"";
    return "(no id) in location \"" + locationId + "\"";
}

void ActionItem::Activate() {
    if (!id.empty() && type != "choice") Profile::SetFlagInt(DoneFlag(), 1);
    if (flags) {
        for (const FlagItem* item : *flags) {
            if (item == nullptr) continue;
            if (item->add) {
                Profile::AddFlagInt(item->name, item->GetInt());
            } else {
                Profile::SetFlagString(item->name, item->value);
            }
            ShowNumberFor(*item);
        }
    }
    Actions::currentAction = this;
}

// --- Kinds ---------------------------------------------------------------------------------------

std::string ActionItemDialogue::DialogueId() const {
    // Only a real "$key$" is an indirection: a lone "$" has no key between its ends.
    if (value.size() >= 2 && value.front() == '$' && value.back() == '$') {
        return Profile::GetFlagString(value.substr(1, value.size() - 2));
    }
    return value;
}

void ActionItemDialogue::Activate() {
    ActionItem::Activate();
    if (Actions::starters.dialogue) {
        Actions::starters.dialogue(*this, DialogueId());
    } else {
        NoScreen(*this, "dialogue");
    }
}

void ActionItemJob::Activate() {
    ActionItem::Activate();
    if (Actions::starters.job) {
        Actions::starters.job(*this);
    } else {
        NoScreen(*this, "job");
    }
}

void ActionItemTraining::Activate() {
    ActionItem::Activate();
    if (Actions::starters.training) {
        Actions::starters.training(*this);
    } else {
        NoScreen(*this, "training");
    }
}

void ActionItemBattle::Activate() {
    ActionItem::Activate();
    if (Actions::starters.battle) {
        Actions::starters.battle(*this);
    } else {
        NoScreen(*this, "battle");
    }
}

void ActionItemGameDistress::Activate() {
    ActionItem::Activate();
    if (Actions::starters.fadeOutMap) Actions::starters.fadeOutMap();
    auto game = Actions::starters.distress.find(minigame);
    if (game != Actions::starters.distress.end() && game->second) {
        game->second(*this);
    } else if (minigame == "falling" || minigame == "car" || minigame == "search" || minigame == "tree") {
        NoScreen(*this, minigame.c_str());
    }
    // Any other name was reported at load and starts nothing.
}

void ActionItemRandom::Activate() {
    ActionItem::Activate();
    std::vector<ActionItem*> holding;
    for (const ActionPtr& alternative : actions) {
        if (alternative && alternative->Check()) holding.push_back(alternative.get());
    }
    if (holding.empty()) return;
    const int count = static_cast<int>(holding.size());
    int pick = static_cast<int>(platform::Rnd(0.0f, static_cast<float>(count)));
    if (pick < 0) pick = 0;
    if (pick >= count) pick = count - 1;
    holding[static_cast<size_t>(pick)]->Activate();
}

void ActionItemButton::Activate() {
    ActionItem::Activate();
    if (Actions::starters.button) {
        Actions::starters.button(*this);
    } else {
        NoScreen(*this, "button");
    }
    // A button holds no chain: what follows starts from its click.
    Actions::currentAction = nullptr;
}

std::vector<ActionItem*> ActionItemPopup::OfferedChoices() const {
    std::vector<ActionItem*> offered;
    for (const ActionPtr& choice : choices) {
        if (choice && choice->Check()) offered.push_back(choice.get());
    }
    return offered;
}

void ActionItemPopup::Activate() {
    ActionItem::Activate();
    Actions::actionButtons.Clear2();
    const std::string forced = Profile::GetFlagString("Game.ForceChoice");
    if (!forced.empty()) {
        for (const ActionPtr& choice : choices) {
            if (choice && choice->Check() && choice->id == forced) {
                Profile::SetFlagString("Game.ForceChoice", "");
                choice->Activate();
                return;
            }
        }
    }
    const std::vector<ActionItem*> offered = OfferedChoices();
    if (offered.empty()) {
        // A popup without a button could only be left by quitting, which would lose the answer.
        Actions::Report(file, "popup action " + Describe() + " offers no choice now and is not shown");
        return;
    }
    if (!Actions::starters.popup) {
        NoScreen(*this, "popup");
        return;
    }
    for (ActionItem* choice : offered) Actions::actionButtons.Add(choice);
    Actions::pendingPopup = this;
    Actions::starters.popup(*this, offered);
}

void ActionItemArrow::Activate() {
    ActionItem::Activate();
    if (Actions::starters.arrow) {
        Actions::starters.arrow(*this);
    } else {
        NoScreen(*this, "arrow");
    }
}

// --- Engine --------------------------------------------------------------------------------------

void Actions::Rebuild(const std::string& key, const std::string& secondKey) {
    actionButtons.Clear2();
    actionCandidates.Clear2();
    actionKey = key;
    for (const auto& location : actionLocations) {
        if (location->id != key && (secondKey.empty() || location->id != secondKey)) continue;
        for (const ActionPtr& action : location->actions) {
            if (!action) continue;
            if (action->id.empty() || Profile::GetFlagInt(action->DoneFlag()) == 0) {
                actionCandidates.Add(action.get());
            }
        }
    }
}

int Actions::Check(const std::string& key) {
    if (Profile::flagsDirty == 0) return 0;
    Profile::flagsDirty = 0;

    if (currentAction != nullptr) {
        ActionItem* next = currentAction->nextAction.get();
        if (next != nullptr && next->Check()) {
            next->Activate();
            return 1;
        }
        currentAction = nullptr;
        Profile::Save(0);
    }

    // Asked every frame: the key is made once (it is too long for a string's own buffer).
    static const std::string stopKey = "Flag.StopActions";
    if (!Profile::GetFlagString(stopKey).empty()) return 1;

    std::string locationKey = key;
    std::string secondKey;
    if (key.empty()) {
        locationKey = "City-Act" + std::to_string(Profile::GetFlagInt("Flag.Act"));
        secondKey = "City";
    }
    if (locationKey != actionKey) Rebuild(locationKey, secondKey);

    const int count = actionCandidates.Size();
    for (int i = 0; i < count; ++i) {
        ActionItem* candidate = actionCandidates.Get2(i);
        if (!candidate->Check()) continue;
        const bool done = !candidate->id.empty() && Profile::GetFlagInt(candidate->DoneFlag()) != 0;
        // A candidate that is done leaves whatever its `remove` says: kept, it would stay first
        // and keep the engine busy forever, and the map with it.
        if (candidate->remove == 1 || done) actionCandidates.RemoveAt(i);
        if (!done) candidate->Activate();
        return 1;
    }

    if (!key.empty() && currentAction == nullptr && actionButtons.IsEmpty()) actionKey.clear();
    return 0;
}

void Actions::Clear() {
    if (currentAction != nullptr) return;
    if (starters.clearButtons) starters.clearButtons();
    actionButtons.Clear2();
    actionCandidates.Clear2();
    actionKey.clear();
}

ActionItem* Actions::FindButton(const std::string& name) {
    for (ActionItem* action : actionButtons) {
        if (action == nullptr || action->type == "choice") continue;
        const std::string actionName = action->Kind() == ActionKind::Button
                                           ? static_cast<ActionItemButton*>(action)->ButtonName()
                                           : action->value;
        if (actionName == name) return action;
    }
    return nullptr;
}

ActionItem* Actions::FindChoice(const std::string& name) {
    for (ActionItem* action : actionButtons) {
        if (action != nullptr && action->type == "choice" && action->id == name) return action;
    }
    return nullptr;
}

void Actions::AnswerButton(ActionItem* action) {
    if (action == nullptr || !action->nextAction) return;
    actionButtons.Clear2();
    action->nextAction->Activate();
}

void Actions::AnswerChoice(ActionItem* choice) {
    if (choice == nullptr) return;
    pendingPopup = nullptr;
    actionButtons.Clear2();
    choice->Activate();
}

void Actions::LeavePlace() {
    bool offered = false;
    for (ActionItem* action : actionButtons) {
        if (action == nullptr || action->type == "choice") continue;
        if (!action->id.empty()) Profile::SetFlagString(action->DoneFlag(), "");
        offered = true;
    }
    if (!offered) return;
    if (starters.clearButtons) starters.clearButtons();
    actionButtons.Clear2();
    actionCandidates.Clear2();
    actionKey.clear();
}

void Actions::ReleasePendingAnswers() {
    bool pending = false;
    if (pendingPopup != nullptr) {
        if (!pendingPopup->id.empty()) Profile::SetFlagString(pendingPopup->DoneFlag(), "");
        pending = true;
    }
    for (ActionItem* action : actionButtons) {
        if (action == nullptr || action->type == "choice") continue;
        if (!action->id.empty()) Profile::SetFlagString(action->DoneFlag(), "");
        pending = true;
    }
    if (!pending) return;
    // The question is asked anew when the map next starts: the engine forgets the half-run
    // chain and builds its candidates again.
    pendingPopup = nullptr;
    currentAction = nullptr;
    actionButtons.Clear2();
    actionCandidates.Clear2();
    actionKey.clear();
}
