// The action engine's buttons, choice popups and dialogues on screen, and the handler of their
// clicks.
#include "gui/actioncallback.hpp"

#include <algorithm>
#include <memory>
#include <vector>

#include "core/glyphfont.hpp"
#include "gui/button.hpp"
#include "gui/container.hpp"
#include "gui/dialogue.hpp"
#include "gui/gui2.hpp"
#include "gui/text.hpp"
#include "gui/textbutton.hpp"
#include "model/actions.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/app.hpp"

ActionCallback ActionCallback::actionCallback;

namespace {

void PlayDialogue(ActionItemDialogue& /*action*/, const std::string& dialogueId) {
    for (const char* panel : {"player", "text", "time", "quest"}) GUIList::FadeOut(panel, "");
    GUIList::AddLast(std::make_shared<GUIDialogue>(dialogueId, 1));
}

// A button picture the bank lacks would end the game; the plain button picture stands in.
std::string ButtonImage(const ActionItemButton& action) {
    if (action.image.empty()) return "Buttons01";
    if (FindImage(action.image) != nullptr) return action.image;
    Actions::Report(action.file, "button " + action.Describe() + " names picture \"" + action.image +
                                     "\", which the game does not have");
    return "Buttons01";
}

void ShowButton(ActionItemButton& action) {
    const std::string name = action.ButtonName();
    if (GUIList::Get("button", name) == nullptr) {
        const std::string image = ButtonImage(action);
        GUIItem* item = nullptr;
        if (!action.value.empty()) {
            GUITextButton* button = GUITextButton::Create(0, 0, image, action.value, Fonts::Get("on"),
                                                          0xD0E0FF, &ActionCallback::actionCallback, 0);
            if (!action.image.empty()) {
                button->frame = action.index;
                button->anim = 0;
            }
            item = button;
        } else {
            item = GUIButton::Create(0, 0, image, &ActionCallback::actionCallback);
        }
        item->id = "button";
        item->name = name;
        GUIList::Add(item, 1000);
        Actions::actionButtons.Add(&action);
    }
    UpdatePositions(Data::virtualWidth / 2.0f,
                    static_cast<float>(static_cast<int>(Data::virtualHeight * 0.4)), "");
    UpdatePositions(0, 0, "character");
    UpdatePositions(Data::virtualWidth / 2.0f,
                    static_cast<float>(static_cast<int>(Data::virtualHeight * 0.85)), "back");
}

void ShowPopup(ActionItemPopup& action, const std::vector<ActionItem*>& offered) {
    GUIList::FadeOut("quest", "");
    GUIList::Suspend();
    GUIContainer* c = GUIContainer::Create(0, 0);
    c->id = "popup";
    c->w = 400;
    GUIText* body = GUIText::Create(0, 0, action.text, Fonts::Get("n"), 0);
    body->SetWidth(static_cast<int>(Data::virtualWidth * 0.75));
    body->center = 1;
    c->AddLast20(body, 0, 0);

    float y = static_cast<float>(c->h + 24);
    int n = static_cast<int>(offered.size());
    int inRow = 0;
    for (ActionItem* choice : offered) {
        GUITextButton* button = GUITextButton::Create(0, 0, "Buttons01", choice->id, Fonts::Get("on"),
                                                      0xFFFFFF, &ActionCallback::actionCallback, 0);
        button->id = "choice";
        button->name = choice->id;
        const int bw = button->w;
        const int shift = n < 3 ? inRow - n / 2 : inRow - 1;
        float bx = c->w / 2 - bw / 2 - static_cast<float>(bw * shift);
        if (n > 2 || n % 2 == 0) bx -= bw / 2;
        button->x = bx;
        button->y = y;
        c->AddLast20(button, 0, 0);
        if (++inRow == 2) {
            inRow = 0;
            y += static_cast<int>(button->h * 0.85);
            n -= 2;
        }
    }

    body->x = static_cast<float>(static_cast<int>((c->w - body->w) * 0.5));
    AddFrameQuarters(c, "FramePopup", 40);
    if (!action.title.empty()) {
        GUIText* title = GUIText::Create(0, 0, action.title, Fonts::Get("ob"), 0xFFFFFF);
        title->x = static_cast<float>((c->w - title->w) / 2);
        title->y = -title->h * 0.4f;
        c->AddLast20(title, 0, 0);
    }
    GUIList::Add(c, 1700, kAlignCentre, kAlignCentre);
}

// The map's corner panel (the heads-up display's menu buttons) stands over the bottom-left corner,
// above the buttons: a character standing there rises onto the panel instead of half behind it.
void StandClearOfCorner(GUIItem* item) {
    const GUIItem* corner = GUIList::Get("profile", "corner");
    if (corner == nullptr) return;
    const float left = corner->x + corner->xadd;
    const float top = corner->y + corner->yadd;
    const bool under = item->x < left + static_cast<float>(corner->w) && left < item->x + static_cast<float>(item->w) &&
                       item->y < top + static_cast<float>(corner->h) && top < item->y + static_cast<float>(item->h);
    if (under) item->y = top - static_cast<float>(item->h);
}

void ClearButtons() {
    GUIList::Delete("button", "");
}

}  // namespace

void UpdatePositions(float x, float y, const std::string& category) {
    std::vector<GUIItem*> row;
    for (ActionItem* action : Actions::actionButtons) {
        if (action == nullptr || action->Kind() != ActionKind::Button) continue;
        auto* button = static_cast<ActionItemButton*>(action);
        if (button->category != category) continue;
        if (GUIItem* item = GUIList::Get("button", button->ButtonName())) row.push_back(item);
    }
    if (row.empty()) return;
    const int n = static_cast<int>(row.size());
    const int w = row.front()->w;
    const int h = row.front()->h;
    float x0 = 0;
    float step = 0;
    if (category == "character") {
        x0 = -32;
        y = static_cast<float>(Data::virtualHeight - h);
        step = static_cast<float>(Data::virtualWidth - w + 64);
    } else {
        x0 = static_cast<float>(static_cast<int>(x - 0.5f * std::min(n, 3) * w));
        step = static_cast<float>(w);
    }
    int j = 0;
    for (GUIItem* item : row) {
        item->x = x0 + step * j;
        item->y = y;
        if (category == "character") StandClearOfCorner(item);
        if (++j == 3) {
            j = 0;
            x0 = n < 4 ? x : static_cast<float>(static_cast<int>(x - 0.5f * (n - 3) * step));
            y += item->h;
        }
    }
}

int ActionCallback::Call(GUIItem* sender) {
    if (sender == nullptr) return 0;
    Profile::SetFlagInt("Game.ActionX", static_cast<int>(sender->x + sender->w * 0.5f));
    Profile::SetFlagInt("Game.ActionY", static_cast<int>(sender->y + sender->h * 0.5f));
    if (sender->id != "choice") {
        ActionItem* action = Actions::FindButton(sender->name);
        if (action == nullptr) {
            sender->FadeOut(200, 1);
            return 0;
        }
        GUIList::FadeOut("button", "");
        GUIList::FadeOut("arrow", "");
        Actions::AnswerButton(action);
        return 0;
    }
    ActionItem* choice = Actions::FindChoice(sender->name);
    // A stale choice still closes its popup: a modal popup without an answer would be a dead end.
    GUIList::FadeOut("popup", "");
    GUIList::Resume();
    if (choice != nullptr) Actions::AnswerChoice(choice);
    return 0;
}

void RegisterActionScreens() {
    Actions::starters.dialogue = PlayDialogue;
    Actions::starters.button = ShowButton;
    Actions::starters.popup = ShowPopup;
    Actions::starters.clearButtons = ClearButtons;
}
