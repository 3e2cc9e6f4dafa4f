// Popups on the running game: a reward sheet over a screen of buttons that it keeps from the
// player until it is clicked away, text popups with their buttons and default handler, and
// frames centred in windows of each shape.
#include "gui/popup.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/main.hpp"
#include "gui/click.hpp"
#include "gui/container.hpp"
#include "gui/image.hpp"
#include "gui/meterattribute.hpp"
#include "gui/text.hpp"
#include "gui/textbutton.hpp"
#include "tests/gui/gui_fixture.hpp"
#include "tests/gui/widget_art.hpp"

using guitest::During;
using guitest::Rewards;

namespace {

// What a finished mini-game does: shows its rewards over the set-aside screen, adds them to the
// profile, and brings the screen back once the sheet has gone.
class RewardGiver : public GUIItem {
  public:
    explicit RewardGiver(const FlagList& r) : rewards(r) {}
    int Update2() override {
        if (shown && GUIList::Get("result", "") == nullptr) GUIList::Resume();
        if (shown) return 0;
        shown = true;
        Popup::InitResult("Great work!", "Job summary:", rewards, 15, 0);
        for (FlagItem* f : rewards) Profile::AddFlagInt(f->name, f->GetInt());
        return 0;
    }
    const FlagList& rewards;
    bool shown = false;
};

// Whether a popup shows a text, or a meter with that label ("meter Learning:").
bool Has(GUIContainer* c, const std::string& shown) {
    for (GUIItem* child : c->items) {
        auto* t = dynamic_cast<GUIText*>(child);
        auto* m = dynamic_cast<GUIMeterAttribute*>(child);
        if ((t && t->text == shown) || (m && "meter " + m->attribute->text == shown)) return true;
    }
    return false;
}

}  // namespace

TEST(Popups, ARewardSheetKeepsTheScreenFromThePlayerUntilItIsClickedAway) {
    harness::Harness h;
    auto screen = guitest::StartScreen(h);
    ASSERT_TRUE(screen);
    guitest::LoadWidgetArt();
    Profile::SetFlagInt("Attribute.Strength", 95);
    guitest::Recorder rec;
    GUITextButton* below = nullptr;
    During(h, *screen, [&] {
        for (int i = 0; i < 4; ++i) {
            below = GUITextButton::Create(740 - 240.0f * i, 500, "Buttons01", "Go", Fonts::Get("on"),
                                          0xffffff, &rec, 0);
            GUIList::Add(below, 10 + i);
        }
    });
    Rewards rewards(
        "Date.Time=30 Resource.Money=120 Resource.Reputation=5 Resource.Clues=1 Skill.Science=0 "
        "Skill.Learning=2 Attribute.Strength=10 Attribute.Ethics=-1");
    During(h, *screen, [&] {
        GUIList::Suspend();
        GUIList::Add(std::make_shared<RewardGiver>(rewards.list), 100);
    });
    h.Step(70);
    h.SaveFrame("popup_result_rewards");
    auto* sheet = dynamic_cast<GUIContainer*>(GUIList::Get("result", ""));
    ASSERT_NE(sheet, nullptr);
    EXPECT_NEAR(sheet->x + sheet->w / 2.0f, 500, 1);
    EXPECT_NEAR(sheet->y + sheet->h / 2.0f, 300, 1);
    // Every reward is on it: a skill given after a zero-valued one still gets its meter.
    for (const char* t : {"Great work!", "Time: 30 minutes", "$120", "+ Bonus $15", "5", "1",
                          "meter Learning:", "meter Strength:", "meter Ethics:"}) {
        EXPECT_TRUE(Has(sheet, t)) << t;
    }
    EXPECT_FALSE(Has(sheet, "meter Science:"));
    // The reward icons, taller than their lines, stand one under another (no star over the coin)
    // and clear of the time line above them.
    std::vector<const GUIItem*> icons;
    const GUIItem* time = nullptr;
    for (GUIItem* child : sheet->items) {
        const auto* picture = dynamic_cast<GUIImage*>(child);
        if (picture && picture->image == briskGame->images->Find("Icons02")) icons.push_back(picture);
        const auto* text = dynamic_cast<GUIText*>(child);
        if (text && text->text == "Time: 30 minutes") time = text;
    }
    ASSERT_EQ(icons.size(), 3u);
    ASSERT_NE(time, nullptr);
    EXPECT_GE(icons[0]->y, time->y + time->h);
    for (size_t i = 1; i < icons.size(); ++i) EXPECT_GE(icons[i]->y, icons[i - 1]->y + icons[i - 1]->h) << i;

    // The buttons below neither light up nor fire: the click dismisses the sheet instead.
    h.MouseMove(120, 548);
    h.Step(3);
    EXPECT_EQ(below->state, "");
    h.Click(120, 548);
    h.Step(30);
    EXPECT_TRUE(rec.senders.empty());
    EXPECT_EQ(GUIList::Get("result", ""), nullptr);
    EXPECT_EQ(GUIList::Suspended(), 0);
    h.Step(2);
    h.Click(120, 548);
    EXPECT_EQ(rec.senders, std::vector<GUIItem*>{below});
}

TEST(Popups, AChoiceReportsItsButtonsAndClickToContinueClosesAModalPopup) {
    harness::Harness h;
    auto screen = guitest::StartScreen(h);
    ASSERT_TRUE(screen);
    guitest::LoadWidgetArt();
    guitest::Recorder rec;
    GUIContainer* choice = nullptr;
    During(h, *screen, [&] {
        choice = Popup::ShowChoice("Distress call", "Someone needs help!\\nGo now?", "Let's go!",
                                   "Not now...", "call", &rec, 1);
    });
    h.Step(40);
    h.SaveFrame("popup_choice");
    GUIItem* ok = choice->Get3("call", "ok");
    GUIItem* cancel = choice->Get3("call", "cancel");
    ASSERT_TRUE(ok && cancel);
    // The two buttons meet at the popup's centre line.
    EXPECT_EQ(ok->x + ok->w, choice->w / 2);
    EXPECT_EQ(cancel->x, choice->w / 2);
    h.Click(TruncToInt(choice->x + cancel->x + 100), TruncToInt(choice->y + cancel->y + 48));
    ASSERT_EQ(rec.senders, std::vector<GUIItem*>{cancel});
    EXPECT_EQ(cancel->id, "call");

    // Without captions: "Click to continue" centred under the text; a click anywhere closes the
    // popup with the default handler and brings back the layer below it.
    GUIContainer* info = nullptr;
    During(h, *screen, [&] {
        info = Popup::CreatePopup("News", "The mayor thanks you.", "", "", "info", nullptr, 1, 1);
    });
    h.Step(40);
    auto* next = dynamic_cast<GUIClickButton*>(info->Get3("info", "ok"));
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->text, "Click to continue");
    EXPECT_NEAR(next->x + next->w / 2.0f, info->w / 2.0f, 1);
    h.Click(10, 10);
    h.Step();
    EXPECT_EQ(GUIList::Get("popup", ""), choice);
    EXPECT_EQ(GUIList::Suspended(), 1);
}

// The sheet lies centred in the window whatever its shape, between the borders of the virtual
// screen. Losses and lone bonuses have their own lines.
TEST(Popups, ARewardSheetIsCentredInWindowsOfEachShape) {
    struct Shape {
        int w, h;
        const char* name;
    };
    for (const Shape s : {Shape{1000, 600, "1000x600"}, Shape{1024, 768, "4x3"}, Shape{1280, 720, "16x9"}}) {
        harness::Harness h;
        h.SetModeFilter([s](int w, int hh, bool full) { return !full || (w == s.w && hh == s.h); });
        auto screen = guitest::StartScreen(h);
        ASSERT_TRUE(screen);
        if (s.w != 1000) {
            SetGraphicsMode(1000, 600, 1);
            briskGame->SetScreenSize(1000, 600, true);
        }
        guitest::LoadWidgetArt();
        Rewards rewards("Resource.Money=-30 Skill.Learning=3");
        GUIContainer* sheet = nullptr;
        During(h, *screen, [&] { sheet = Popup::InitResult("Ouch!", "Not your day.", rewards.list, 0, 3); });
        h.Step(70);
        ASSERT_FALSE(h.SaveFrame(std::string("popup_result_") + s.name).empty());
        EXPECT_TRUE(Has(sheet, "-$30"));
        EXPECT_TRUE(Has(sheet, "Bonus 3"));
        EXPECT_EQ(GUIList::Suspended(), 0);  // the sheet alone is not modal
        // The frame's light fill along the window's middle row.
        const auto row = h.ReadPixels(0, s.h / 2, s.w, 1);
        int left = -1, right = -1;
        for (int x = 0; x < s.w; ++x) {
            if (row[x * 4] + row[x * 4 + 1] + row[x * 4 + 2] > 450) (left < 0 ? left : right) = x;
        }
        EXPECT_NEAR(left + right, s.w - 1, 6) << s.name;
        EXPECT_GT(right - left, s.w / 3) << s.name;
    }
}
