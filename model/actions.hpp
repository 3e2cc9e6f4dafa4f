#pragma once
// The story as data: the action files of every act, the action kinds with their fields, and the
// action engine that picks the next action of the current act and starts it.
//
// The engine lives in the model, but most kinds open something that belongs to a higher layer
// (a dialogue, a popup with choices, buttons, an arrow, a mini-game). Those layers fill
// `Actions::starters` from their own start-up registration; a kind whose starter is not set yet
// prints one line and starts nothing, so the story data can run before every screen exists.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/collections.hpp"
#include "model/profile.hpp"

class XMLElement;
class PuzzleActorPower;
class Dungeon;

using CompareList = ArrayList<FlagCompare*>;

// Which class an action element became (the first kind attribute it carries).
enum class ActionKind { Plain, Dialogue, Job, Training, Battle, Button, Popup, Random, Game, Arrow };

class ActionItem;
using ActionPtr = std::shared_ptr<ActionItem>;
using ActionList = ArrayList<ActionPtr>;

// The base of every action: what it changes, when it may fire, its done-marker and its chain.
class ActionItem {
  public:
    ActionItem() = default;
    virtual ~ActionItem() = default;
    ActionItem(const ActionItem&) = delete;
    ActionItem& operator=(const ActionItem&) = delete;

    // "choice" for the choices of a popup (they set no done-marker).
    std::string type;
    // The text of the kind attribute (dialogue id, button caption, ...).
    std::string value;
    // The done-marker is "ID." + id.
    std::string id;
    // 1: leaves the candidates when selected; 0: stays selectable.
    int remove = 1;
    // Applied on activation; null when the element had no flag. Items belong to the flag pool.
    std::unique_ptr<FlagList> flags;
    // All must hold; null holds.
    std::unique_ptr<CompareList> conditions;
    ActionPtr nextAction;

    // Where the action was read, for the load-time reports.
    std::string file;
    std::string locationId;

    virtual ActionKind Kind() const { return ActionKind::Plain; }
    // 1 when `conditions` is null or every compare holds.
    virtual int Check() const;
    // Marks the action done, applies its flags and makes it the running chain; each kind then
    // starts what it opens.
    virtual void Activate();

    // "ID." + id, or "" without an id.
    std::string DoneFlag() const;
    // How reports name the action: its id, or the location it sits in when it has none.
    std::string Describe() const;
};

class ActionItemDialogue : public ActionItem {
  public:
    ActionKind Kind() const override { return ActionKind::Dialogue; }
    void Activate() override;
    // The dialogue to play: `value`, or, for "$key$", the text of the slot flag key (a value
    // that is just "$" names no flag and plays the dialogue "$").
    std::string DialogueId() const;
};

class ActionItemJob : public ActionItem {
  public:
    std::string bg;
    int money = 0;
    int time = 0;
    // Meter targets: mental, elemental, physical.
    int targets[3] = {0, 0, 0};
    std::unique_ptr<FlagList> positive;
    std::unique_ptr<FlagList> negative;

    ActionKind Kind() const override { return ActionKind::Job; }
    void Activate() override;
};

class ActionItemTraining : public ActionItem {
  public:
    std::string bg;
    int moves = 0;
    std::unique_ptr<FlagList> positive;
    std::unique_ptr<FlagList> negative;

    ActionKind Kind() const override { return ActionKind::Training; }
    void Activate() override;
};

class ActionItemBattle : public ActionItem {
  public:
    std::string name;
    std::string bg;
    int music = -1;
    std::string win;
    std::string image;
    int index = 0;
    float physical = 1.0f;
    float elemental = 1.0f;
    float mental = 1.0f;
    int constitution = 1;
    // The opponent's powers. A power id that names no power was reported at load and left out.
    ArrayList<std::shared_ptr<PuzzleActorPower>> powers;

    ActionKind Kind() const override { return ActionKind::Battle; }
    void Activate() override;
};

class ActionItemButton : public ActionItem {
  public:
    std::string image;
    int index = 0;
    std::string category;

    ActionKind Kind() const override { return ActionKind::Button; }
    void Activate() override;
    // The button's GUI name: `value` + `image`.
    std::string ButtonName() const { return value + image; }
};

class ActionItemPopup : public ActionItem {
  public:
    std::string title;
    std::string text;
    ActionList choices;

    ActionKind Kind() const override { return ActionKind::Popup; }
    void Activate() override;
    // The choices whose conditions hold, in order.
    std::vector<ActionItem*> OfferedChoices() const;
};

class ActionItemRandom : public ActionItem {
  public:
    ActionList actions;

    ActionKind Kind() const override { return ActionKind::Random; }
    void Activate() override;
};

class ActionItemGameDistress : public ActionItem {
  public:
    int difficulty = 0;
    std::string attribute;
    std::string title;
    std::string text;
    std::string minigame;

    ActionKind Kind() const override { return ActionKind::Game; }
    void Activate() override;
};

class ActionItemArrow : public ActionItem {
  public:
    int add = 0;
    int map = 0;
    std::string guiID;
    std::string guiName;

    ActionKind Kind() const override { return ActionKind::Arrow; }
    void Activate() override;
};

// One location element of an action file: its key and its actions in file order.
class ActionLocation {
  public:
    std::string id;
    ActionList actions;
    std::string file;
};

// A floating number shown when an action's flags change an attribute, money or reputation.
struct ActionNumber {
    int x = 0;
    int y = 0;
    std::string text;
    // An entry of the program's 10-colour text palette.
    int paletteEntry = 0;
    int angle = 270;
    float speed = 0.75f;
    int fadeSpeed = 1500;
    const char* font = "on";
    int priority = 0;
};

// What the layers above the model do when an action starts. Each is set by the layer that owns
// the screen; an unset entry means that screen does not exist yet.
struct ActionStarters {
    // Fades out the map's panels and plays the dialogue (modal).
    std::function<void(ActionItemDialogue& action, const std::string& dialogueId)> dialogue;
    std::function<void(ActionItemJob&)> job;
    std::function<void(ActionItemTraining&)> training;
    std::function<void(ActionItemBattle&)> battle;
    // The map's fade-out that every distress game starts with.
    std::function<void()> fadeOutMap;
    // The distress mini-games by their `game` name ("falling", "car", "search", "tree").
    std::map<std::string, std::function<void(ActionItemGameDistress&)>> distress;
    // Shows the button unless one of that name is on screen, appending the action to
    // `Actions::actionButtons` when it does, and lays out the rows of buttons.
    std::function<void(ActionItemButton&)> button;
    // Shows the modal popup with the offered choices (already appended to `actionButtons`).
    std::function<void(ActionItemPopup&, const std::vector<ActionItem*>& offered)> popup;
    std::function<void(ActionItemArrow&)> arrow;
    // The tile dungeon of a quest stage, when the player accepts the map's offer.
    std::function<void(Dungeon&)> dungeon;
    // Removes the action buttons from the screen.
    std::function<void()> clearButtons;
    std::function<void(const ActionNumber&)> showNumber;
};

// The action table and the engine's state; class members only.
class Actions {
  public:
    // Every location of every file, in load order.
    static std::vector<std::unique_ptr<ActionLocation>> actionLocations;
    // The last activated action whose chain may continue.
    static ActionItem* currentAction;
    // The button actions and popup choices offered on screen.
    static ArrayList<ActionItem*> actionButtons;
    // The selectable actions for `actionKey`.
    static ArrayList<ActionItem*> actionCandidates;
    static std::string actionKey;
    // The popup waiting for the player's answer, or null.
    static ActionItemPopup* pendingPopup;

    static ActionStarters starters;

    // The action files, in the order they load.
    static const std::vector<std::string>& Files();

    // Loads every action file in order.
    static void Init();
    // Parses one file and appends its locations. A file that is missing, malformed or nested too
    // deep throws (XMLParseException) after a line "Error loading " + path with the reason: the
    // story cannot be finished without it, so start-up ends there.
    static void Load(const std::string& path);
    // The same for text already read (path names it in reports).
    static void LoadText(const std::string& path, const std::string& text);
    static void ParseLocation(const XMLElement* element, const std::string& file);
    // A new action of the element's kind; never null.
    static ActionPtr ParseAction(const XMLElement* element, const std::string& locationId,
                                 const std::string& file = "");
    // Null when the element has no usable flag child.
    static std::unique_ptr<FlagList> ParseFlags(const XMLElement* element, const std::string& file = "");
    static std::unique_ptr<CompareList> ParseConditions(const XMLElement* element,
                                                        const std::string& file = "");

    // One step of the engine: 1 when it is busy (an action ran, or actions are stopped), 0 when
    // nothing was done.
    static int Check(const std::string& key);
    // When no chain runs: takes the action buttons off the screen and forgets the candidates.
    static void Clear();

    // The button action a click on the button of that GUI name answers, or null when the
    // button is stale (no offered action has that name any more).
    static ActionItem* FindButton(const std::string& name);
    // The offered popup choice of that id, or null.
    static ActionItem* FindChoice(const std::string& name);
    // Runs what a click on an action button starts: the button's next action, unchecked.
    static void AnswerButton(ActionItem* action);
    // Runs the chosen popup choice.
    static void AnswerChoice(ActionItem* choice);
    // Leaving the map while a popup or action buttons wait for an answer: their done-markers are
    // taken back, so the question is asked again when the game is continued.
    static void ReleasePendingAnswers();
    // The hero sets off from the place whose menu is offered: its buttons go, as a click on them
    // would start the place's work wherever the hero is by then, and their done-markers are taken
    // back, so the menu is offered again on coming back.
    static void LeavePlace();

    // One printed line about the action data.
    static void Report(const std::string& file, const std::string& message);

    // The program's initial values (the registered starters stay).
    static void InitGlobals();

  private:
    static void Rebuild(const std::string& key, const std::string& secondKey);
};
