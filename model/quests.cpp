// The quest table and the advancing of quests.
#include "model/quests.hpp"

#include <algorithm>

#include "core/strings.hpp"
#include "core/xml.hpp"
#include "model/datafile.hpp"
#include "model/locations.hpp"
#include "model/profile.hpp"
#include "platform/app.hpp"

ArrayList<std::shared_ptr<QuestItem>> Quests::allQuests;
std::unique_ptr<ArrayList<QuestItem*>> Quests::activeQuests;
QuestItem* Quests::currentQuest = nullptr;
QuestStatus* Quests::currentStatus = nullptr;
Dungeon* Quests::currentDungeon = nullptr;
QuestViews Quests::views;

// --- Stages and quests ---------------------------------------------------------------------------

int QuestStatus::Check() {
    if (dungeon) Quests::currentDungeon = dungeon.get();
    if (conditions) {
        for (int i = 0; i < conditions->Size(); ++i) {
            if (conditions->Get2(i)->Check() != 0) continue;
            if (clues > 0 && Profile::GetFlagInt("Game.Clues") == 0) Profile::SetFlagInt("Game.Clues", clues);
            return 0;
        }
    }
    if (clues > 0) {
        // The hunt is over: its counter starts again from 0. Inside a dungeon the write goes to the
        // loot's copy, which would leave the real counter standing and let the next hunt begin
        // half done; the real counter is reset as well.
        Profile::SetFlagInt("Resource.Clues", 0);
        if (Profile::dungeonMode != 0) {
            Profile::dungeonMode = 0;
            Profile::SetFlagInt("Resource.Clues", 0);
            Profile::dungeonMode = 1;
        }
        Profile::SetFlagInt("Game.Clues", 0);
    }
    if (conditions && dungeon) {
        Quests::currentDungeon = nullptr;
        Profile::SetFlagInt("Game.Dungeon", 0);
    }
    return 1;
}

int QuestItem::Check() const {
    if (!conditions) return 1;
    for (const FlagCompare* compare : *conditions) {
        if (compare->Check() == 0) return 0;
    }
    return 1;
}

int QuestItem::Progress() const {
    return std::max(0, Profile::GetFlagInt(progressKey));
}

// --- Loading -------------------------------------------------------------------------------------

void Quests::InitGlobals() {
    allQuests.Clear2();
    Clear();
}

void Quests::Init() {
    Load(kFile);
}

void Quests::Load(const std::string& path) {
    const auto document = LoadDataFile(path);
    try {
        for (const XMLElement* child : document->Root()->Children()) {
            if (auto quest = ParseQuest(child, path)) allQuests.Add(std::move(quest));
        }
    } catch (const XMLParseException& e) {
        // A dungeon event nested beyond reason; the message cannot know the file.
        platform::PrintLine("Error loading " + path + ": " + e.Message());
        throw;
    }
}

std::shared_ptr<QuestItem> Quests::ParseQuest(const XMLElement* element, const std::string& path) {
    auto quest = std::make_shared<QuestItem>();
    quest->id = element->GetAttribute("id");
    quest->progressKey = "Quest." + quest->id;
    for (const XMLElement* child : element->Children()) {
        if (child->Name() == "status") {
            quest->statuses.Add(ParseStatus(child, path, quest->id));
        } else if (child->Name() == "conditions") {
            quest->conditions = Actions::ParseConditions(child, path);
        } else if (child->Name() == "rewards") {
            quest->rewards = Actions::ParseFlags(child, path);
        }
    }
    // Starting a quest takes its first stage: one without stages could never run.
    if (quest->statuses.IsEmpty() != 0) {
        ReportDataProblem(path, "quest \"" + quest->id + "\" has no status; it is left out");
        return nullptr;
    }
    return quest;
}

std::shared_ptr<QuestStatus> Quests::ParseStatus(const XMLElement* element, const std::string& path,
                                                 const std::string& questId) {
    auto status = std::make_shared<QuestStatus>();
    status->id = element->GetAttribute("id");
    status->text = element->GetAttribute("text");
    if (element->HasAttribute("clues")) status->clues = StringToInt(element->GetAttribute("clues"));
    for (const XMLElement* child : element->Children()) {
        if (child->Name() == "conditions") {
            status->conditions = Actions::ParseConditions(child, path);
        } else if (child->Name() == "dungeon") {
            status->dungeon = ParseDungeon(child, path, questId);
        }
    }
    return status;
}

// The dungeon game keeps one cell per grid square and starts on the entry cell, so a grid without
// cells or larger than the screen shows, an entry outside it or a tile outside it never reach the
// game.
std::shared_ptr<Dungeon> Quests::ParseDungeon(const XMLElement* element, const std::string& path,
                                              const std::string& questId) {
    auto dungeon = std::make_shared<Dungeon>();
    dungeon->location = element->GetAttribute("location");
    dungeon->description = element->GetAttribute("description");
    dungeon->w = StringToInt(element->GetAttribute("w"));
    dungeon->h = StringToInt(element->GetAttribute("h"));
    dungeon->startx = StringToInt(element->GetAttribute("startx"));
    dungeon->starty = StringToInt(element->GetAttribute("starty"));
    const std::string where = "the dungeon of quest \"" + questId + "\"";
    auto inside = [&dungeon](int x, int y) { return x >= 0 && y >= 0 && x < dungeon->w && y < dungeon->h; };
    if (dungeon->w < 1 || dungeon->h < 1 || dungeon->w > Dungeon::kMaxColumns ||
        dungeon->h > Dungeon::kMaxRows) {
        ReportDataProblem(path, where + " is " + std::to_string(dungeon->w) + " x " +
                                    std::to_string(dungeon->h) + " cells; the stage offers no dungeon");
        return nullptr;
    }
    if (!inside(dungeon->startx, dungeon->starty)) {
        ReportDataProblem(path, where + " enters at " + std::to_string(dungeon->startx) + ", " +
                                    std::to_string(dungeon->starty) + ", outside its " +
                                    std::to_string(dungeon->w) + " x " + std::to_string(dungeon->h) +
                                    " cells; the stage offers no dungeon");
        return nullptr;
    }
    if (Locations::Get(dungeon->location) == nullptr) {
        ReportDataProblem(path, where + " is offered at \"" + dungeon->location + "\", which is no location");
    }
    for (const XMLElement* child : element->Children()) {
        auto tile = std::make_shared<DungeonTile>();
        if (child->HasAttribute("id")) tile->id = child->GetAttribute("id");
        tile->optional = child->HasAttribute("optional") != 0 ? 1 : 0;
        tile->x = StringToInt(child->GetAttribute("x"));
        tile->y = StringToInt(child->GetAttribute("y"));
        if (child->HasAttribute("index")) tile->index = StringToInt(child->GetAttribute("index"));
        if (!inside(tile->x, tile->y)) {
            ReportDataProblem(path, where + " has tile \"" + tile->id + "\" at " + std::to_string(tile->x) +
                                        ", " + std::to_string(tile->y) +
                                        ", outside its cells; the tile is left out");
            continue;
        }
        // Only the last child element counts, so only that one is read.
        const XMLElement* event = child->Children().IsEmpty() != 0 ? nullptr : child->Children().Top();
        if (event != nullptr) tile->action = Actions::ParseAction(event, "", path);
        dungeon->tiles.Add(std::move(tile));
    }
    return dungeon;
}

// --- Advancing -----------------------------------------------------------------------------------

void Quests::Clear() {
    activeQuests.reset();
    currentQuest = nullptr;
    currentStatus = nullptr;
    currentDungeon = nullptr;
}

void Quests::BuildActive(bool& resumed) {
    activeQuests = std::make_unique<ArrayList<QuestItem*>>();
    for (int i = 0; i < allQuests.Size(); ++i) {
        QuestItem* quest = allQuests.Get2(i).get();
        const int progress = quest->Progress();
        if (progress > quest->StageCount()) continue;
        activeQuests->Add(quest);
        if (progress > 0) {
            currentQuest = quest;
            currentStatus = quest->statuses.Get2(progress - 1).get();
            resumed = true;
        }
    }
}

void Quests::Check(int showPopup) {
    bool resumed = false;
    if (!activeQuests) BuildActive(resumed);

    if (currentQuest == nullptr) {
        if (showPopup == 0) return;
        QuestItem* next = nullptr;
        for (int i = 0; i < activeQuests->Size(); ++i) {
            if (activeQuests->Get2(i)->Check() != 0) {
                next = activeQuests->Get2(i);
                break;
            }
        }
        if (next == nullptr) return;
        activeQuests->Remove(next);
        const int progress = next->Progress();
        if (progress <= next->StageCount()) {
            currentQuest = next;
            currentStatus = next->statuses.Get2(0).get();
            if (progress == 0) Profile::SetFlagInt(next->progressKey, 1);
            ShowQuest(*next, *currentStatus, "New Quest:");
        }
    }
    // A quest taken off the list as finished (its counter moved on since the list was built)
    // leaves nothing to advance or show.
    if (currentQuest == nullptr) return;

    bool advanced = false;
    while (currentStatus->Check() != 0) {
        advanced = true;
        QuestItem& quest = *currentQuest;
        const int progress = quest.Progress() + 1;
        Profile::SetFlagInt(quest.progressKey, progress);
        if (progress > quest.StageCount()) {
            ShowQuestResult(quest);
            currentQuest = nullptr;
            currentStatus = nullptr;
            if (views.fadeOutQuestItems != nullptr) views.fadeOutQuestItems();
            if (showPopup == 0) Profile::SetFlagString("Goto", "Map");
            return;
        }
        currentStatus = quest.statuses.Get2(progress - 1).get();
    }
    if (advanced || resumed) ShowQuest(*currentQuest, *currentStatus, "Quest Update:");
    if (showPopup == 1 && (views.questItemShown == nullptr || views.questItemShown() == 0)) {
        ShowMapQuest(*currentQuest);
    }
}

void Quests::ShowQuest(QuestItem& quest, QuestStatus& status, const std::string& heading) {
    // The action engine rebuilds its candidates at its next check.
    Actions::actionKey.clear();
    if (views.showQuest != nullptr) views.showQuest(quest, status, heading);
}

void Quests::ShowMapQuest(QuestItem& quest) {
    if (views.showMapQuest != nullptr) views.showMapQuest(quest);
}

void Quests::ShowQuestResult(QuestItem& quest) {
    if (views.showQuestResult != nullptr) views.showQuestResult(quest);
    if (!quest.rewards) return;
    for (int i = 0; i < quest.rewards->Size(); ++i) {
        const FlagItem* reward = quest.rewards->Get2(i);
        Profile::AddFlagInt(reward->name, reward->GetInt());
    }
}

void Quests::CloseQuests() {
    for (int i = 0; i < allQuests.Size(); ++i) {
        const QuestItem* quest = allQuests.Get2(i).get();
        const int progress = Profile::GetFlagInt(quest->progressKey);
        if (progress > 0 && progress <= quest->StageCount()) Profile::SetFlagInt(quest->progressKey, 0);
    }
    Profile::SetFlagInt("Resource.Clues", 0);
    Profile::SetFlagInt("Game.Clues", 0);
}
