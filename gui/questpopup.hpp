#pragma once
// The quests on screen: the title and text boxes that announce a new, advanced or current quest,
// the map's quest button with its clue counter, and the "Quest complete!" sheet. The quest rules
// call these through `Quests::views`.
#include <string>

#include "gui/callback.hpp"

class QuestItem;
class QuestStatus;

// The map's quest button: shows the current quest and stage again.
class QuestCallback : public Callback {
  public:
    int Call(GUIItem* sender) override;
};

class QuestPopup {
  public:
    static void ShowQuest(QuestItem& quest, QuestStatus& status, const std::string& heading);
    static void ShowMapQuest(QuestItem& quest);
    static void ShowQuestResult(QuestItem& quest);
    // On the frame the screen turns: the boxes stop sliding and sit centred.
    static void CheckRotate();
    // While the news slides in, its height follows what it must leave in sight beneath: news that
    // came before the map had its hero and places back finds its clear place before it arrives.
    static void KeepClear();

    static QuestCallback questCallback;
};

// Fills `Quests::views`.
void RegisterQuestViews();
