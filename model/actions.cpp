// The action files: loading every act's file, the element grammar of each kind, and the value
// and condition lists that actions, dialogues, quests and trophies share.
#include "model/actions.hpp"

#include <exception>

#include "core/exception.hpp"
#include "core/strings.hpp"
#include "core/xml.hpp"
#include "core/xmlfile.hpp"
#include "framework/framework.hpp"
#include "model/actionrefs.hpp"
#include "platform/app.hpp"
#include "platform/storage.hpp"

std::vector<std::unique_ptr<ActionLocation>> Actions::actionLocations;
ActionItem* Actions::currentAction = nullptr;
ArrayList<ActionItem*> Actions::actionButtons;
ArrayList<ActionItem*> Actions::actionCandidates;
std::string Actions::actionKey;
ActionItemPopup* Actions::pendingPopup = nullptr;
ActionStarters Actions::starters;

namespace {

// The kind attributes, in the order that decides an element's kind.
constexpr const char* kKindAttributes[] = {"dialogue", "job",    "training", "battle", "button",
                                           "popup",    "random", "game",     "arrow"};

std::string Attr(const XMLElement* e, const char* name) {
    return e->GetAttribute(name, "");
}

int IntAttr(const XMLElement* e, const char* name) {
    return StringToInt(e->GetAttribute(name, ""));
}

// Actions inside actions (chains, choices, alternatives) are read, run and freed by recursion;
// the story nests a handful deep, and a file nested beyond this is refused rather than left to
// exhaust the stack.
constexpr int kMaxNesting = 64;

ActionPtr ParseNested(const XMLElement* element, const std::string& locationId, const std::string& file,
                      int depth);

// The flags and conditions of one action, in document order; a later child of a name replaces
// the earlier one.
void ParseCommonChildren(ActionItem& action, const XMLElement* element, bool chainChild, int depth) {
    for (const XMLElement* child : element->Children()) {
        const std::string& name = child->Name();
        if (name == "flags") {
            action.flags = Actions::ParseFlags(child, action.file);
        } else if (name == "conditions") {
            action.conditions = Actions::ParseConditions(child, action.file);
        } else if (name == "action" && chainChild) {
            action.nextAction = ParseNested(child, action.locationId, action.file, depth + 1);
        }
    }
}

ActionPtr MakeKind(const XMLElement* e, const std::string& locationId, const std::string& file) {
    std::string kind;
    for (const char* attribute : kKindAttributes) {
        if (e->HasAttribute(attribute)) {
            kind = attribute;
            break;
        }
    }
    if (kind == "dialogue") {
        auto a = std::make_shared<ActionItemDialogue>();
        a->value = Attr(e, "dialogue");
        return a;
    }
    if (kind == "job") {
        auto a = std::make_shared<ActionItemJob>();
        a->value = Attr(e, "job");
        a->bg = Attr(e, "bg");
        a->money = IntAttr(e, "money");
        a->time = IntAttr(e, "time");
        a->targets[0] = IntAttr(e, "target_ment");
        a->targets[1] = IntAttr(e, "target_elem");
        a->targets[2] = IntAttr(e, "target_phys");
        for (const XMLElement* child : e->Children()) {
            if (child->Name() == "positive") a->positive = Actions::ParseFlags(child, file);
            if (child->Name() == "negative") a->negative = Actions::ParseFlags(child, file);
        }
        return a;
    }
    if (kind == "training") {
        auto a = std::make_shared<ActionItemTraining>();
        a->bg = Attr(e, "bg");
        a->value = Attr(e, "training");
        a->moves = IntAttr(e, "moves");
        for (const XMLElement* child : e->Children()) {
            if (child->Name() == "positive") a->positive = Actions::ParseFlags(child, file);
            if (child->Name() == "negative") a->negative = Actions::ParseFlags(child, file);
        }
        return a;
    }
    if (kind == "battle") {
        auto a = std::make_shared<ActionItemBattle>();
        if (e->HasAttribute("name")) a->name = Attr(e, "name");
        if (e->HasAttribute("music")) a->music = IntAttr(e, "music");
        if (e->HasAttribute("win")) a->win = Attr(e, "win");
        if (e->HasAttribute("image")) a->image = Attr(e, "image");
        if (e->HasAttribute("index")) a->index = IntAttr(e, "index");
        if (e->HasAttribute("physical")) a->physical = StringToFloat(Attr(e, "physical"));
        if (e->HasAttribute("elemental")) a->elemental = StringToFloat(Attr(e, "elemental"));
        if (e->HasAttribute("mental")) a->mental = StringToFloat(Attr(e, "mental"));
        if (e->HasAttribute("constitution")) {
            a->constitution = TruncToInt(StringToFloat(Attr(e, "constitution")));
        }
        a->bg = Attr(e, "bg");
        return a;
    }
    if (kind == "button") {
        auto a = std::make_shared<ActionItemButton>();
        a->value = Attr(e, "button");
        a->image = Attr(e, "image");
        if (e->HasAttribute("index")) a->index = IntAttr(e, "index");
        if (e->HasAttribute("category")) a->category = Attr(e, "category");
        return a;
    }
    if (kind == "popup") {
        auto a = std::make_shared<ActionItemPopup>();
        a->title = Attr(e, "title");
        a->text = Attr(e, "text");
        return a;
    }
    if (kind == "random") return std::make_shared<ActionItemRandom>();
    if (kind == "game") {
        auto a = std::make_shared<ActionItemGameDistress>();
        a->minigame = Attr(e, "game");
        a->difficulty = IntAttr(e, "difficulty");
        a->attribute = Attr(e, "attribute");
        a->title = Attr(e, "title");
        a->text = Attr(e, "text");
        return a;
    }
    if (kind == "arrow") {
        auto a = std::make_shared<ActionItemArrow>();
        a->add = Attr(e, "arrow") == "true" ? 1 : 0;
        a->map = locationId.rfind("City", 0) == 0 ? 1 : 0;
        a->guiID = Attr(e, "guiid");
        a->guiName = Attr(e, "guiname");
        return a;
    }
    return std::make_shared<ActionItem>();
}

// What a kind needs from its element's children besides the common ones.
void ParseKindChildren(ActionItem& action, const XMLElement* e, int depth) {
    switch (action.Kind()) {
        case ActionKind::Battle: {
            auto& battle = static_cast<ActionItemBattle&>(action);
            for (const XMLElement* child : e->Children()) {
                if (child->Name() != "power") continue;
                ActionReferences::AddBattlePower(battle, Attr(child, "id"), IntAttr(child, "level"));
            }
            break;
        }
        case ActionKind::Popup: {
            auto& popup = static_cast<ActionItemPopup&>(action);
            for (const XMLElement* child : e->Children()) {
                if (child->Name() != "choice") continue;
                ActionPtr choice = ParseNested(child, action.locationId, action.file, depth + 1);
                choice->type = "choice";
                popup.choices.Add(choice);
            }
            break;
        }
        case ActionKind::Random: {
            auto& random = static_cast<ActionItemRandom&>(action);
            for (const XMLElement* child : e->Children()) {
                if (child->Name() == "action") {
                    random.actions.Add(ParseNested(child, action.locationId, action.file, depth + 1));
                }
            }
            break;
        }
        default:
            break;
    }
}

// What an author most likely got wrong when an action cannot do what it says.
void ReportMissing(const ActionItem& action, const XMLElement* e) {
    switch (action.Kind()) {
        case ActionKind::Dialogue:
            if (action.value.empty()) {
                Actions::Report(action.file, "action " + action.Describe() + " names no dialogue");
            }
            break;
        case ActionKind::Arrow: {
            const auto& arrow = static_cast<const ActionItemArrow&>(action);
            if (arrow.guiID.empty()) {
                Actions::Report(action.file, "arrow action " + action.Describe() + " has no guiid");
            }
            break;
        }
        case ActionKind::Game: {
            const auto& game = static_cast<const ActionItemGameDistress&>(action);
            if (game.minigame != "falling" && game.minigame != "car" && game.minigame != "search" &&
                game.minigame != "tree") {
                Actions::Report(action.file, "action " + action.Describe() + " names no known mini-game (\"" +
                                                 game.minigame + "\")");
            }
            break;
        }
        case ActionKind::Popup: {
            const auto& popup = static_cast<const ActionItemPopup&>(action);
            if (popup.choices.IsEmpty()) {
                Actions::Report(action.file, "popup action " + action.Describe() + " has no choice");
            }
            break;
        }
        default:
            break;
    }
    (void)e;
}

ActionPtr ParseNested(const XMLElement* element, const std::string& locationId, const std::string& file,
                      int depth) {
    if (depth > kMaxNesting) {
        throw XMLParseException("actions nested deeper than " + std::to_string(kMaxNesting) + " levels" +
                                (locationId.empty() ? "" : " in location \"" + locationId + "\""));
    }
    ActionPtr action = MakeKind(element, locationId, file);
    action->file = file;
    action->locationId = locationId;
    if (element->HasAttribute("id")) action->id = element->GetAttribute("id", "");
    if (element->GetAttribute("remove", "") == "false") action->remove = 0;
    ParseKindChildren(*action, element, depth);
    // A random action's "action" children are its alternatives, not its continuation.
    ParseCommonChildren(*action, element, action->Kind() != ActionKind::Random, depth);
    ReportMissing(*action, element);
    return action;
}

}  // namespace

const std::vector<std::string>& Actions::Files() {
    static const std::vector<std::string> files = {"data/preactions.xml", "data/act1.xml",   "data/act2.xml",
                                                   "data/act3.xml",       "data/act4.xml",   "data/act5.xml",
                                                   "data/act6.xml",       "data/actions.xml"};
    return files;
}

void Actions::Report(const std::string& file, const std::string& message) {
    platform::PrintLine("Actions: " + (file.empty() ? std::string("(data)") : file) + ": " + message);
}

void Actions::Init() {
    for (const std::string& file : Files()) Load(file);
}

void Actions::Load(const std::string& path) {
    LoadText(path, platform::LoadString(path));
}

void Actions::LoadText(const std::string& path, const std::string& text) {
    // Without one of its files the story cannot be finished: start-up ends, and a line says which
    // file it was, which the reader's own message cannot know.
    const std::unique_ptr<XMLDocument> doc = ParseXMLFile(path, text);
    try {
        for (const XMLElement* child : doc->Root()->Children()) ParseLocation(child, path);
    } catch (const BriskException& e) {
        platform::PrintLine("Error loading " + path + ": " + e.Message());
        throw;
    }
}

void Actions::ParseLocation(const XMLElement* element, const std::string& file) {
    if (!element->HasAttribute("id")) {
        Report(file, "<" + element->Name() + "> without an id is skipped");
        return;
    }
    auto location = std::make_unique<ActionLocation>();
    location->id = element->GetAttribute("id", "");
    location->file = file;
    for (const XMLElement* child : element->Children()) {
        if (child->Name() == "action") location->actions.Add(ParseAction(child, location->id, file));
    }
    actionLocations.push_back(std::move(location));
}

ActionPtr Actions::ParseAction(const XMLElement* element, const std::string& locationId,
                               const std::string& file) {
    return ParseNested(element, locationId, file, 1);
}

std::unique_ptr<FlagList> Actions::ParseFlags(const XMLElement* element, const std::string& file) {
    auto list = std::make_unique<FlagList>();
    for (const XMLElement* child : element->Children()) {
        if (child->Name() != "flag") continue;
        const std::string name = child->GetAttribute("name", "");
        if (name.empty()) {
            // A value without a key would be stored under no name at all.
            Report(file, "a <flag> in <" + element->Name() + "> has no name and is skipped");
            continue;
        }
        if (child->HasAttribute("value")) {
            list->Add(FlagItem::Create(name, child->GetAttribute("value", "")));
        } else if (child->HasAttribute("add")) {
            FlagItem* item = FlagItem::Create(name, child->GetAttribute("add", ""));
            item->add = 1;
            list->Add(item);
        } else {
            Report(file, "flag \"" + name + "\" has neither value nor add and is skipped");
        }
    }
    if (list->IsEmpty()) return nullptr;
    return list;
}

std::unique_ptr<CompareList> Actions::ParseConditions(const XMLElement* element, const std::string& file) {
    auto list = std::make_unique<CompareList>();
    FlagCompare* held = nullptr;
    for (const XMLElement* child : element->Children()) {
        if (child->Name() != "flag") continue;
        const std::string name = child->GetAttribute("name", "");
        if (name.empty()) Report(file, "a condition <flag> has no name");
        const std::string typeWord = child->GetAttribute("type", "");
        int type = FlagCompare::kEqual;
        if (typeWord == "higher") {
            type = FlagCompare::kHigher;
        } else if (typeWord == "lower") {
            type = FlagCompare::kLower;
        } else if (typeWord == "not") {
            type = FlagCompare::kNot;
        }
        FlagCompare* compare = FlagCompare::Create(name, child->GetAttribute("value", ""), type);
        // An "or" flag waits for the next one and becomes its alternative.
        compare->eor = held;
        if (child->HasAttribute("or")) {
            held = compare;
        } else {
            held = nullptr;
            list->Add(compare);
        }
    }
    if (held != nullptr) list->Add(held);
    if (list->IsEmpty()) return nullptr;
    return list;
}

void Actions::InitGlobals() {
    // The flag pools are reset with the profile; the lists here only point into them.
    actionLocations.clear();
    currentAction = nullptr;
    actionButtons.Clear2();
    actionCandidates.Clear2();
    actionKey.clear();
    pendingPopup = nullptr;
}
