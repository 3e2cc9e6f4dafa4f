#pragma once
// The dialogue table: every scripted conversation of the game, read once at start-up from the
// dialogue files, each a named list of steps that the dialogue player runs.
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/actions.hpp"

class XMLElement;

// One step of a dialogue.
class DialogueElement {
  public:
    // The step's tag: music, enter, move, text, goto, label, flag, wait or exit.
    std::string type;
    // Actor id, label name, jump target or music number, by tag.
    std::string id;
    // 1: the player stops after this step; 0: the next step runs in the same frame.
    int block = 1;
    std::string image;
    int index = 0;
    int x = 0;
    // enter: 1 on the left side. flag: 1 sets the value, 0 adds it.
    int left = 0;
    // The spoken text, or the flag name of a flag step.
    std::string text;
    // text, goto and flag steps: all must hold; null holds.
    std::unique_ptr<CompareList> conditions;
    // wait: milliseconds. flag: the number set or added.
    int value = 0;

    // 1 when every condition holds (an absent list holds).
    int ConditionsHold() const;
};

// One dialogue: its id and its steps in document order.
class DialogueItem {
  public:
    DialogueItem() = default;
    explicit DialogueItem(std::string dialogueId) : id(std::move(dialogueId)) {}

    std::string id;
    std::vector<DialogueElement> elements;
    // Where it was read, for reports.
    std::string file;
};

class DialogueList {
  public:
    // The whole table in load order: file order, then document order.
    static std::vector<std::unique_ptr<DialogueItem>> dialogues;

    static const std::vector<std::string>& Files();

    // Loads the seven dialogue files in order and offers the table to the load-time checks of
    // the actions.
    static void Init();
    // A file that is missing or malformed throws (XMLParseException) after a line "Error loading "
    // + path with the reason: the story cannot be finished without it, so start-up ends there.
    static void Load(const std::string& path);
    // The same for text already read (path names it in reports).
    static void LoadText(const std::string& path, const std::string& text);
    static void ParseDialogue(const XMLElement* element, const std::string& file);
    // Sets the step's conditions from the element's "conditions" children (the last one wins).
    static void ParseConditions(const XMLElement* element, DialogueElement& step, const std::string& file);
    // Once every table has loaded: one line for each quest, upgrade or place that a step's
    // conditions or flag names and no table holds.
    static void CheckReferences();
    // The first dialogue in table order with exactly that id, or null.
    static DialogueItem* Get(const std::string& id);

    static void InitGlobals();

  private:
    // First index of each id, so lookups need not walk the table.
    static std::unordered_map<std::string, size_t> firstIndex;
};
