#pragma once
// Quests: multi-stage stories laid over the action engine, read from "data/quests.xml". A quest
// starts when its conditions hold; each stage completes when its own conditions hold; a stage may
// start a clue hunt or offer a tile dungeon at a place. Progress is the profile counter
// "Quest." + id (0 not started, n: stage n current, above the stage count: finished), so it lives in
// the save state with everything else.
//
// What the quests show (the title and text boxes, the map's quest button, the result popup) are
// GUI items: the GUI registers them in `Quests::views`. The rules below run whether or not those
// are registered: progress, clue hunts and rewards never depend on a popup. The tile events of a
// dungeon are actions, read with the action engine's parser.
#include <memory>
#include <string>

#include "core/collections.hpp"
#include "model/actions.hpp"

class XMLElement;

class DungeonTile {
  public:
    // Its done flag is "ID." + id.
    std::string id;
    // 1: not needed to clear the dungeon.
    int optional = 0;
    // The cell, inside the grid.
    int x = 0;
    int y = 0;
    // The tile picture and event kind.
    int index = 0;
    // The action chain the tile runs, or null for plain floor.
    ActionPtr action;
};

class Dungeon {
  public:
    // The dungeon game shows the whole grid at once, 64 pixels a cell, on a screen at least 800 x
    // 600: a larger grid would leave cells no click can reach.
    static constexpr int kMaxColumns = 12;
    static constexpr int kMaxRows = 9;

    // The place where the dungeon is offered, and the offer's text.
    std::string location;
    std::string description;
    // The grid in cells (1 to kMaxColumns by 1 to kMaxRows) and the entry cell inside it.
    int w = 0;
    int h = 0;
    int startx = 0;
    int starty = 0;
    ArrayList<std::shared_ptr<DungeonTile>> tiles;
};

class QuestStatus {
  public:
    std::string id;
    // The stage's description in the quest popup.
    std::string text;
    // Clues the stage hunts for; 0 for none.
    int clues = 0;
    std::unique_ptr<CompareList> conditions;
    std::shared_ptr<Dungeon> dungeon;

    // 1 when the stage is done. On the way: a dungeon stage becomes the dungeon on offer; the first
    // failing condition of a clue stage starts its hunt ("Game.Clues") unless one runs; a finished
    // clue stage clears the clue counters and a finished dungeon stage withdraws its dungeon and
    // clears "Game.Dungeon".
    int Check();
};

class QuestItem {
  public:
    // The quest's key and its shown name.
    std::string id;
    // The stages in file order; never empty for a loaded quest.
    ArrayList<std::shared_ptr<QuestStatus>> statuses;
    std::unique_ptr<CompareList> conditions;
    std::unique_ptr<FlagList> rewards;
    // "Quest." + id, made once.
    std::string progressKey;

    // 1 when the quest may start.
    int Check() const;
    // The progress counter; below 0 (a damaged save, or a data flag) it counts as not started.
    int Progress() const;
    int StageCount() const { return statuses.Size(); }
};

// What the GUI registers for the quests' popups and the map's quest button.
struct QuestViews {
    // The title and text boxes of a new or advanced quest under the heading; they replace any
    // earlier ones (items "quest"), fade out the action buttons and play sound 10.
    void (*showQuest)(QuestItem& quest, QuestStatus& status, const std::string& heading) = nullptr;
    // The map's quest button (and clue counter while a hunt runs).
    void (*showMapQuest)(QuestItem& quest) = nullptr;
    // The "Quest complete!" popup with the quest's rewards, and sound 26. The rewards are paid by
    // the quests themselves, right after.
    void (*showQuestResult)(QuestItem& quest) = nullptr;
    // 1 while any item with id "quest" exists.
    int (*questItemShown)() = nullptr;
    // Fades out every item with id "quest".
    void (*fadeOutQuestItems)() = nullptr;
};

class Quests {
  public:
    static constexpr const char* kFile = "data/quests.xml";

    static ArrayList<std::shared_ptr<QuestItem>> allQuests;
    // The quests not finished, built from the profile at the first Check after Clear; null until.
    static std::unique_ptr<ArrayList<QuestItem*>> activeQuests;
    static QuestItem* currentQuest;
    static QuestStatus* currentStatus;
    // The dungeon the map offers, or null.
    static Dungeon* currentDungeon;
    static QuestViews views;

    // The program's initial values (the registered views stay).
    static void InitGlobals();
    static void Init();
    static void Load(const std::string& path);
    // Forgets the cached lists; the next Check rebuilds them from the profile.
    static void Clear();
    // Advances the quests. With showPopup 0 (a dungeon runs) no new quest starts and no map button
    // shows, but running stages advance, and a quest finished there sends the map back ("Goto").
    static void Check(int showPopup);
    static void ShowQuest(QuestItem& quest, QuestStatus& status, const std::string& heading);
    static void ShowMapQuest(QuestItem& quest);
    // The result popup, then every reward added to the profile.
    static void ShowQuestResult(QuestItem& quest);
    // At the end of the game: every quest in progress goes back to not started; the clue hunt ends.
    static void CloseQuests();

  private:
    static std::shared_ptr<QuestItem> ParseQuest(const XMLElement* element, const std::string& path);
    static std::shared_ptr<QuestStatus> ParseStatus(const XMLElement* element, const std::string& path,
                                                    const std::string& questId);
    static std::shared_ptr<Dungeon> ParseDungeon(const XMLElement* element, const std::string& path,
                                                 const std::string& questId);
    static void BuildActive(bool& resumed);
};
