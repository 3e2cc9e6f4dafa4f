// The dialogue files: their grammar, the table they fill and the lookup by id.
#include "gui/dialogues.hpp"

#include <set>

#include "core/exception.hpp"
#include "core/strings.hpp"
#include "core/xml.hpp"
#include "core/xmlfile.hpp"
#include "gui/audio2.hpp"
#include "model/actionrefs.hpp"
#include "platform/app.hpp"
#include "platform/storage.hpp"

std::vector<std::unique_ptr<DialogueItem>> DialogueList::dialogues;
std::unordered_map<std::string, size_t> DialogueList::firstIndex;

namespace {

void Report(const std::string& file, const std::string& message) {
    platform::PrintLine("Dialogues: " + file + ": " + message);
}

bool KnownTag(const std::string& tag) {
    static const std::set<std::string> tags = {"music", "enter", "move", "text", "goto",
                                               "label", "flag",  "wait", "exit"};
    return tags.count(tag) != 0;
}

// A jump to a label the dialogue does not have runs on after the jump; worth telling the author.
void ReportLostJumps(const DialogueItem& dialogue) {
    std::set<std::string> labels;
    for (const DialogueElement& step : dialogue.elements) {
        if (step.type == "label") labels.insert(step.id);
    }
    for (const DialogueElement& step : dialogue.elements) {
        if (step.type == "goto" && labels.count(step.id) == 0) {
            Report(dialogue.file,
                   "dialogue \"" + dialogue.id + "\" jumps to unknown label \"" + step.id + "\"");
        }
    }
}

// A speaker, a move or an exit of someone who never enters shows a bubble pointing nowhere or
// does nothing; a music number the audio table lacks plays nothing. Both are worth telling.
void ReportStrangersAndSilence(const DialogueItem& dialogue) {
    std::set<std::string> cast;
    for (const DialogueElement& step : dialogue.elements) {
        if (step.type == "enter") cast.insert(step.id);
    }
    std::set<std::string> told;
    for (const DialogueElement& step : dialogue.elements) {
        const bool actorStep =
            (step.type == "text" && !step.id.empty()) || step.type == "move" || step.type == "exit";
        if (actorStep && cast.count(step.id) == 0 && told.insert(step.id).second) {
            Report(dialogue.file, "dialogue \"" + dialogue.id + "\" has \"" + step.id + "\" <" + step.type +
                                      "> without entering");
        }
        if (step.type == "music" && Audio::MusicName(StringToInt(step.id))[0] == '\0') {
            Report(dialogue.file,
                   "dialogue \"" + dialogue.id + "\" plays music \"" + step.id + "\", which is no track");
        }
    }
}

}  // namespace

int DialogueElement::ConditionsHold() const {
    if (!conditions) return 1;
    for (const FlagCompare* compare : *conditions) {
        if (compare == nullptr || !compare->Check()) return 0;
    }
    return 1;
}

const std::vector<std::string>& DialogueList::Files() {
    static const std::vector<std::string> files = {
        "dialogues/main.xml", "dialogues/act1.xml", "dialogues/act2.xml", "dialogues/act3.xml",
        "dialogues/act4.xml", "dialogues/act5.xml", "dialogues/act6.xml"};
    return files;
}

void DialogueList::Init() {
    for (const std::string& file : Files()) Load(file);
    ActionReferences::SetLookup(ReferenceKind::Dialogue,
                                [](const std::string& id) { return DialogueList::Get(id) != nullptr; });
}

void DialogueList::Load(const std::string& path) {
    LoadText(path, platform::LoadString(path));
}

void DialogueList::LoadText(const std::string& path, const std::string& text) {
    // The story's scenes live in these files: without one it cannot be finished, so start-up ends,
    // and a line says which file it was.
    const std::unique_ptr<XMLDocument> doc = ParseXMLFile(path, text);
    for (const XMLElement* child : doc->Root()->Children()) ParseDialogue(child, path);
}

void DialogueList::ParseConditions(const XMLElement* element, DialogueElement& step,
                                   const std::string& file) {
    for (const XMLElement* child : element->Children()) {
        if (child->Name() == "conditions") step.conditions = Actions::ParseConditions(child, file);
    }
}

void DialogueList::ParseDialogue(const XMLElement* element, const std::string& file) {
    if (!element->HasAttribute("id")) {
        Report(file, "<" + element->Name() + "> without an id is skipped");
        return;
    }
    auto dialogue = std::make_unique<DialogueItem>(element->GetAttribute("id", ""));
    dialogue->file = file;
    for (const XMLElement* child : element->Children()) {
        const std::string& tag = child->Name();
        if (!KnownTag(tag)) {
            Report(file, "dialogue \"" + dialogue->id + "\" has an unknown step <" + tag + ">, skipped");
            continue;
        }
        DialogueElement step;
        step.type = tag;
        if (child->HasAttribute("id")) step.id = child->GetAttribute("id", "");
        step.block = child->HasAttribute("block") ? (child->GetAttribute("block", "") == "true" ? 1 : 0) : 1;
        auto intAttr = [child](const char* name) { return StringToInt(child->GetAttribute(name, "")); };
        if (tag == "enter" || tag == "move") {
            step.image = child->GetAttribute("image", "");
            step.index = intAttr("index");
            step.x = intAttr("x");
            if (tag == "enter") step.left = child->HasAttribute("right") ? 0 : 1;
        } else if (tag == "text") {
            step.text = child->GetAttribute("text", "");
        } else if (tag == "flag") {
            step.text = child->GetAttribute("name", "");
            if (child->HasAttribute("value")) {
                step.left = 1;
                step.value = intAttr("value");
            }
            // Adding wins when a step gives both.
            if (child->HasAttribute("add")) {
                step.left = 0;
                step.value = intAttr("add");
            }
            if (step.text.empty())
                Report(file, "dialogue \"" + dialogue->id + "\" has a flag step without a name");
        } else if (tag == "wait") {
            step.value = intAttr("value");
        }
        if (tag == "text" || tag == "goto" || tag == "flag") ParseConditions(child, step, file);
        dialogue->elements.push_back(std::move(step));
    }
    ReportLostJumps(*dialogue);
    ReportStrangersAndSilence(*dialogue);
    firstIndex.emplace(dialogue->id, dialogues.size());
    dialogues.push_back(std::move(dialogue));
}

DialogueItem* DialogueList::Get(const std::string& id) {
    auto found = firstIndex.find(id);
    return found == firstIndex.end() ? nullptr : dialogues[found->second].get();
}

void DialogueList::InitGlobals() {
    dialogues.clear();
    firstIndex.clear();
}

void DialogueList::CheckReferences() {
    for (const auto& dialogue : dialogues) {
        int number = 0;
        for (const DialogueElement& step : dialogue->elements) {
            ++number;
            const std::string where =
                "dialogue \"" + dialogue->id + "\" step " + std::to_string(number) + " <" + step.type + ">";
            ActionReferences::CheckConditions(dialogue->file, where, step.conditions.get());
            if (step.type == "flag") ActionReferences::CheckFlagName(dialogue->file, where, step.text);
        }
    }
}
