// Quest announcements, the map's quest button and the quest result sheet.
#include "gui/questpopup.hpp"

#include <algorithm>

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/clearance.hpp"
#include "gui/container.hpp"
#include "gui/gui2.hpp"
#include "gui/popup.hpp"
#include "gui/text.hpp"
#include "gui/textbutton.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "model/quests.hpp"

QuestCallback QuestPopup::questCallback;

namespace {

constexpr int kWhite = 0xffffff;
constexpr int kHeadingColour = 0xe0f0ff;
constexpr int kStageColour = 0xfff0e0;
constexpr int kPriority = 2500;

float TitleY(const GUIItem* title) {
    return static_cast<float>((Data::virtualHeight - title->h) / 2 - title->h);
}

float CentredX(const GUIItem* item) {
    return static_cast<float>((Data::virtualWidth - item->w) / 2);
}

// The announcement's heights: the title above the middle and the step's text below it, both moved
// together as little as it takes to leave the hero's icon, the places' names and an open menu in
// sight.
void PlaceAnnouncement(GUIItem* title, GUIItem* text) {
    const float top = TitleY(title);
    const float below = static_cast<float>(title->h + 8);
    const float height = below + static_cast<float>(text->h);
    const float left = std::min(CentredX(title), CentredX(text));
    const float right = static_cast<float>(Data::virtualWidth) - left;
    title->y = static_cast<float>(TruncToInt(ClearTop(top, height, left, right)));
    text->y = title->y + below;
}

int QuestItemShown() {
    return GUIList::Get("quest", "") != nullptr ? 1 : 0;
}

void FadeOutQuestItems() {
    GUIList::FadeOut("quest", "");
}

}  // namespace

int QuestCallback::Call(GUIItem* /*sender*/) {
    GUIList::Delete("quest", "");
    if (Quests::currentQuest != nullptr && Quests::currentStatus != nullptr) {
        Quests::ShowQuest(*Quests::currentQuest, *Quests::currentStatus, "Current Quest:");
    }
    return 0;
}

void QuestPopup::ShowQuest(QuestItem& quest, QuestStatus& status, const std::string& heading) {
    GUIList::Delete("quest", "");
    GUIList::FadeOut("button", "");
    Audio::PlaySound(10, 1.0f);

    GUIContainer* title = GUIContainer::Create(0, 0);
    title->id = "quest";
    title->name = "title";
    title->AddLast20(GUIText::Create(0, 0, heading, Fonts::Get("on"), kHeadingColour), 0, 0);
    GUIText* name = GUIText::Create(0, static_cast<float>(title->h), quest.id, Fonts::Get("ob"), kWhite);
    title->AddLast20(name, 0, 0);
    name->x = static_cast<float>((title->w - name->w) / 2);
    title->x = -2.0f * static_cast<float>(title->w);

    GUIContainer* text = GUIContainer::Create(0, 0);
    text->id = "quest";
    text->name = "text";
    GUIText* stage = GUIText::Create(0, 0, status.text, Fonts::Get("on"), kStageColour);
    stage->SetWidth(TruncToInt(0.75f * static_cast<float>(Data::virtualWidth)));
    stage->center = 1;
    text->AddLast20(stage, 0, 0);
    text->x = 3.0f * static_cast<float>(Data::virtualWidth);

    PlaceAnnouncement(title, text);
    GUIList::Add(title, kPriority);
    title->Move(CentredX(title), title->y, 500);
    title->FadeOut(500, 250);
    GUIList::Add(text, kPriority);
    text->Move(CentredX(text), text->y, 750);
    text->FadeOut(500, 250);
}

void QuestPopup::ShowMapQuest(QuestItem& quest) {
    GUIText* label = GUIText::Create(8, 8, "Quest:", Fonts::Get("os"), kWhite);
    label->id = "quest";
    GUITextButton* button =
        GUITextButton::Create(8, 0, "", quest.id, Fonts::Get("on"), kHeadingColour, &questCallback, 0);
    button->id = "quest";
    button->name = "current";
    label->x = button->x + static_cast<float>(button->w - label->w) / 2;
    // Half the label down into the button's frame, and two pixels more so the name never touches it.
    button->y = label->y + static_cast<float>(label->h) / 2 + 2;
    GUIList::Add(button, kPriority);
    GUIList::AddAfter(label, button);

    const int target = Profile::GetFlagInt("Game.Clues");
    if (target <= 0) return;
    GUIText* clues = GUIText::Create(0, button->y + static_cast<float>(button->h), "Clues: 50/100",
                                     Fonts::Get("os"), kWhite);
    clues->id = "quest";
    clues->SetPrefix("Clues: ");
    std::string suffix = "/";
    suffix += std::to_string(target);
    clues->SetSuffix(suffix);
    clues->SetFlag("Resource.Clues");
    clues->x = button->x + static_cast<float>(button->w - clues->w) / 2;
    GUIList::AddAfter(clues, label);
}

void QuestPopup::ShowQuestResult(QuestItem& quest) {
    static const FlagList kNone;
    Popup::InitResult("Quest complete!", "Quest '" + quest.id + "' completed! Here are your rewards:",
                      quest.rewards ? *quest.rewards : kNone, 0, 0);
    Audio::PlaySound(26, 1.0f);
}

void QuestPopup::CheckRotate() {
    GUIItem* title = GUIList::Get("quest", "title");
    GUIItem* text = GUIList::Get("quest", "text");
    if (title != nullptr && text != nullptr) {
        PlaceAnnouncement(title, text);
        static_cast<GUIContainer*>(title)->Place(CentredX(title), title->y);
        static_cast<GUIContainer*>(text)->Place(CentredX(text), text->y);
        return;
    }
    if (title != nullptr) {
        auto* box = static_cast<GUIContainer*>(title);
        box->Place(CentredX(box), TitleY(box));
    }
    if (text != nullptr) {
        auto* box = static_cast<GUIContainer*>(text);
        const float below = title != nullptr ? title->y + static_cast<float>(title->h + 8)
                                             : static_cast<float>((Data::virtualHeight - box->h) / 2);
        box->Place(CentredX(box), below);
    }
}

void QuestPopup::KeepClear() {
    GUIItem* title = GUIList::Get("quest", "title");
    GUIItem* text = GUIList::Get("quest", "text");
    // The title comes in from the left; once it is in place the news stays where it is.
    if (title == nullptr || text == nullptr || title->x >= CentredX(title)) return;
    PlaceAnnouncement(title, text);
}

void RegisterQuestViews() {
    Quests::views.showQuest = QuestPopup::ShowQuest;
    Quests::views.showMapQuest = QuestPopup::ShowMapQuest;
    Quests::views.showQuestResult = QuestPopup::ShowQuestResult;
    Quests::views.questItemShown = QuestItemShown;
    Quests::views.fadeOutQuestItems = FadeOutQuestItems;
    Data::hooks.checkRotate.Add(QuestPopup::CheckRotate);
}
