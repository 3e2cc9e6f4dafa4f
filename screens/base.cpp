// The base upgrades popup: its rows, the purchase, and the start-up check of the lines it sells.
#include "screens/base.hpp"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "core/glyphfont.hpp"
#include "gui/arrow.hpp"
#include "gui/audio2.hpp"
#include "gui/container.hpp"
#include "gui/gui2.hpp"
#include "gui/image.hpp"
#include "gui/popup.hpp"
#include "gui/text.hpp"
#include "gui/textbutton.hpp"
#include "model/data2.hpp"
#include "model/datafile.hpp"
#include "model/profile.hpp"
#include "model/upgrades.hpp"

BaseCallback Base::baseCallback;

namespace {

constexpr int kWhite = 0xffffff;
constexpr int kRowHeight = 64;
constexpr int kBarX = 64;
constexpr int kButtonX = 229;
// The filled bar shows up to the end of the bought segments (one and two levels bought).
constexpr int kOneLevelWidth = 57;
constexpr int kTwoLevelsWidth = 109;

// The rows top to bottom: the line, its icon, and the story step that points the player at it.
struct Row {
    const char* id;
    int iconFrame;
    const char* hintKey;  // "" for never
    int hintValue;
};

constexpr std::array<Row, 4> kRows = {{
    {"Training Mastery", 1, "Quest.Easy Money", 3},
    {"Burglar Alarm", 0, "Quest.Raise the Alarm", 2},
    {"Distress-o-Meter", 2, "Quest.Zero to Wannabe", 2},
    {"Heroic Power", 3, "", 0},
}};

const Row* RowOf(const std::string& id) {
    for (const Row& row : kRows) {
        if (id == row.id) return &row;
    }
    return nullptr;
}

}  // namespace

void Base::InitBase() {
    GUIContainer* container = GUIContainer::Create(0, 0);
    container->id = "result";
    GUIList::Suspend();
    const int money = Profile::GetFlagInt("Resource.Money");
    for (const Row& row : kRows) AddUpgrade(container, row.id, "UpgradeIcons64x64", row.iconFrame, money);

    GUITextButton* ok = GUITextButton::Create(0, static_cast<float>(container->h), "Buttons01", "OK",
                                              Fonts::Get("on"), kWhite, &baseCallback, 0);
    ok->id = "result";
    ok->name = "ok";
    container->AddLast20(ok, kAlignCentre, 0);
    Popup::AddFrameRounded(container);
    // Named on its top edge, as the power-up popup is.
    GUIText* title = GUIText::Create(0, 0, "Upgrades", Fonts::Get("ob"), kWhite);
    title->x = static_cast<float>((container->w - title->w) / 2);
    title->y = -0.5f * static_cast<float>(title->h);
    container->AddLast20(title);
    GUIList::Add(container, 1700, kAlignCentre, kAlignCentre);
}

void Base::AddUpgrade(GUIContainer* container, const std::string& id, const std::string& iconImage,
                      int iconFrame, int money) {
    const float y = static_cast<float>(container->h);
    const UpgradeItem* next = Upgrades::Get(id, 0);
    container->AddLast20(GUIImage::Create(0, y, iconImage, iconFrame));

    GUIImage* bar = GUIImage::Create(kBarX, y, "UpgradeBar", next ? 1 : 0);
    bar->y = y + static_cast<float>(kRowHeight - bar->h) * 0.5f;
    container->AddLast20(bar);
    if (next && (next->level == 2 || next->level == 3)) {
        GUIImage* filled = GUIImage::Create(kBarX, bar->y, "UpgradeBar", 0);
        filled->SetSubset(0, 0, next->level == 2 ? kOneLevelWidth : kTwoLevelsWidth, filled->h);
        container->AddLast20(filled);
    }
    GUIText* caption = GUIText::Create(0, 0, id, Fonts::Get("oxs"), kWhite);
    caption->x = static_cast<float>(kBarX + (bar->w - caption->w) / 2);
    caption->y = bar->y + static_cast<float>((bar->h - caption->h) / 2);
    container->AddLast20(caption);

    if (next == nullptr) return;
    const bool onSale = next->Check() != 0;
    // A line with a level bought whose next level waits for the story says it is owned: "Not
    // available!" read as if the level just bought had been taken away.
    std::string label = std::string("Not") + Data::kBreak + "available!";
    if (onSale)
        label = std::string("Upgrade") + Data::kBreak + "$" + std::to_string(next->cost);
    else if (next->level > 1)
        label = "Owned";
    GUITextButton* button =
        GUITextButton::Create(kButtonX, y, "Buttons02", label, Fonts::Get("s"), 0, &baseCallback, 0);
    button->id = next->id;
    button->name = "upgrade";
    button->active = onSale && money >= next->cost ? 1 : 0;
    container->AddLast20(button);

    const Row* row = RowOf(id);
    if (row && row->hintKey[0] != '\0' && Profile::GetFlagInt(row->hintKey) == row->hintValue) {
        auto arrow = std::make_shared<GUIArrow>(button, "result", "arrow", 0);
        arrow->follow = button;
        arrow->parent = container;
        GUIList::Add(arrow, 1900, 0, 0);
    }
}

void Base::CheckLines() {
    for (const char* line : Upgrades::kLines) {
        std::vector<int> levels;
        for (const auto& item : Upgrades::upgrades) {
            if (item->id == line) levels.push_back(item->level);
        }
        std::sort(levels.begin(), levels.end());
        int expected = 1;
        for (int level : levels) {
            if (level == expected) ++expected;
        }
        if (expected == 1) {
            ReportDataProblem(Upgrades::kFile, "upgrade \"" + std::string(line) +
                                                   "\" has no level 1; the base shows it as complete");
        } else if (expected <= levels.back()) {
            ReportDataProblem(Upgrades::kFile, "upgrade \"" + std::string(line) + "\" has no level " +
                                                   std::to_string(expected) +
                                                   "; the base stops selling it there");
        }
    }
}

int BaseCallback::Call(GUIItem* sender) {
    if (sender == nullptr) return 0;
    if (sender->name == "ok") {
        GUIList::FadeOut(sender->id, "");
        GUIList::Resume();
    } else if (sender->name == "upgrade") {
        // Asked again rather than trusted from the button: a line id the table does not know,
        // a level already bought or money spent since the popup opened buy nothing.
        const UpgradeItem* next = Upgrades::Get(sender->id, 0);
        if (next == nullptr || next->Check() == 0 || Profile::GetFlagInt("Resource.Money") < next->cost)
            return 0;
        Audio::PlaySound(11, 1.0f);
        Profile::SetFlagInt("Upgrade." + next->id, next->level);
        Profile::AddFlagInt("Resource.Money", -next->cost);
        Profile::SetFlagString("Game.NewUpgrade", next->id);
        GUIList::Resume();
    }
    return 0;
}
