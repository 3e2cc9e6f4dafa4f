// Popups on the running game: a reward sheet over a screen of buttons that it keeps from the
// player until it is dismissed, text popups with their buttons and default handler, the reward
// lines, and the frames centred in windows of several shapes.
#include "gui/popup.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "framework/main.hpp"
#include "gui/click.hpp"
#include "gui/container.hpp"
#include "gui/meterattribute.hpp"
#include "gui/textbutton.hpp"
#include "model/profile.hpp"
#include "tests/gui/gui_fixture.hpp"
#include "tests/gui/widget_art.hpp"

using guitest::During;
using guitest::StartScreen;
using guitest::TextOf;

namespace {

class Recorder : public Callback {
  public:
    int Call(GUIItem* sender) override {
        senders.push_back(sender);
        return 0;
    }
    std::vector<GUIItem*> senders;
};

// What a finished mini-game does: sets the screen aside, shows its rewards, adds them to the
// profile, and brings the screen back once the sheet has gone.
class RewardGiver : public GUIItem {
  public:
    explicit RewardGiver(FlagList* rewards) : rewards_(rewards) {}
    int Update2() override {
        if (!shown_) {
            shown_ = true;
            Popup::InitResult("Great work!", "Job summary:", *rewards_, 15, 0);
            for (FlagItem* f : *rewards_) Profile::AddFlagInt(f->name, f->GetInt());
        } else if (GUIList::Get("result", "") == nullptr) {
            GUIList::Resume();
        }
        return 0;
    }

  private:
    FlagList* rewards_;
    bool shown_ = false;
};

FlagList Rewards(std::initializer_list<std::pair<const char*, int>> values) {
    FlagList list;
    for (const auto& [key, v] : values) list.Add(FlagItem::Create2(key, v));
    return list;
}

std::vector<std::string> Texts(GUIContainer* c) {
    std::vector<std::string> out;
    for (GUIItem* child : c->items) {
        if (!TextOf(child).empty()) out.push_back(TextOf(child));
    }
    return out;
}

std::vector<std::string> MeterLabels(GUIContainer* c) {
    std::vector<std::string> out;
    for (GUIItem* child : c->items) {
        if (auto* m = dynamic_cast<GUIMeterAttribute*>(child)) out.push_back(m->attribute->text);
    }
    return out;
}

bool Has(const std::vector<std::string>& texts, const std::string& t) {
    return std::find(texts.begin(), texts.end(), t) != texts.end();
}

void Click(harness::Harness& h, int x, int y) {
    h.MouseMove(x, y);
    h.Step();
    h.MouseButton(0, true);
    h.Step();
    h.MouseButton(0, false);
    h.Step();
}

}  // namespace

TEST(Popups, ARewardSheetKeepsTheScreenFromThePlayerUntilItIsClickedAway) {
    harness::Harness h;
    auto screen = StartScreen(h);
    ASSERT_TRUE(screen);
    guitest::LoadWidgetArt();
    Profile::SetFlagInt("Skill.Learning", 40);
    Profile::SetFlagInt("Attribute.Strength", 95);
    Profile::SetFlagInt("Attribute.Ethics", 10);
    Recorder rec;
    GUITextButton* below = nullptr;
    During(h, *screen, [&] {
        for (int i = 0; i < 4; ++i) {
            auto* b = GUITextButton::Create(20 + 240.0f * i, 500, "Buttons01", "Go", Fonts::Get("on"),
                                            0xffffff, &rec, 0);
            b->id = "screen";
            GUIList::Add(b, 10 + i);
            if (i == 0) below = b;
        }
    });
    FlagList rewards = Rewards({{"Date.Time", 30},
                                {"Resource.Money", 120},
                                {"Resource.Reputation", 5},
                                {"Resource.Clues", 1},
                                {"Skill.Science", 0},
                                {"Skill.Learning", 2},
                                {"Attribute.Strength", 10},
                                {"Attribute.Ethics", -1}});
    During(h, *screen, [&] {
        GUIList::Suspend();
        GUIList::Add(std::make_shared<RewardGiver>(&rewards), 100);
    });
    h.Step(70);
    auto* sheet = dynamic_cast<GUIContainer*>(GUIList::Get("result", ""));
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(GUIList::Suspended(), 1);
    h.SaveFrame("popup_result_rewards");

    // Every reward is on it: a skill given after a zero-valued one still gets its meter.
    const auto texts = Texts(sheet);
    for (const char* t : {"Great work!", "Time: 30 minutes", "$120", "+ Bonus $15", "5", "1"}) {
        EXPECT_TRUE(Has(texts, t)) << t;
    }
    EXPECT_EQ(MeterLabels(sheet), (std::vector<std::string>{"Learning:", "Strength:", "Ethics:"}));
    EXPECT_NEAR(sheet->x + sheet->w / 2.0f, 500, 1);
    EXPECT_NEAR(sheet->y + sheet->h / 2.0f, 300, 1);
    EXPECT_EQ(Profile::GetFlagInt("Resource.Money"), 120);

    // The buttons below neither light up nor fire: the click dismisses the sheet instead.
    h.MouseMove(120, 548);
    h.Step(3);
    EXPECT_EQ(below->state, "");
    Click(h, 120, 548);
    h.Step(30);
    EXPECT_TRUE(rec.senders.empty());
    EXPECT_EQ(GUIList::Get("result", ""), nullptr);
    EXPECT_EQ(GUIList::Suspended(), 0);

    // The screen is back.
    h.Step(2);
    Click(h, 120, 548);
    ASSERT_EQ(rec.senders.size(), 1u);
    EXPECT_EQ(rec.senders[0], below);
    for (FlagItem* f : rewards) f->inUse = 0;
}

TEST(Popups, TextPopupsPlaceTheirButtonsAndTheDefaultHandlerClosesAModalOne) {
    harness::Harness h;
    auto screen = StartScreen(h);
    ASSERT_TRUE(screen);
    guitest::LoadWidgetArt();
    Recorder rec;
    GUIContainer* choice = nullptr;
    During(h, *screen, [&] {
        choice = Popup::ShowChoice("Distress call", "Someone needs help!\\nGo now?", "Let's go!",
                                   "Not now...", "call", &rec, 1);
    });
    h.Step(40);
    h.SaveFrame("popup_choice");
    auto* ok = dynamic_cast<GUITextButton*>(choice->Get3("call", "ok"));
    auto* cancel = dynamic_cast<GUITextButton*>(choice->Get3("call", "cancel"));
    ASSERT_TRUE(ok && cancel);
    // The two buttons meet at the popup's centre line.
    EXPECT_EQ(ok->x + ok->w, choice->w / 2);
    EXPECT_EQ(cancel->x, choice->w / 2);
    EXPECT_EQ(GUIList::Suspended(), 1);
    Click(h, TruncToInt(choice->x + cancel->x + 100), TruncToInt(choice->y + cancel->y + 48));
    ASSERT_EQ(rec.senders.size(), 1u);
    EXPECT_EQ(rec.senders[0]->id, "call");
    EXPECT_EQ(rec.senders[0]->name, "cancel");

    // An ok-only popup with the default handler: the button is centred, and pressing it closes the
    // popup at once and brings the suspended lists back one by one.
    GUIContainer* note = nullptr;
    During(h, *screen, [&] { note = Popup::CreatePopup("", "Saved.", "OK", "", "note", nullptr, 0, 1); });
    h.Step(40);
    auto* noteOk = note->Get3("note", "ok");
    ASSERT_NE(noteOk, nullptr);
    EXPECT_NEAR(noteOk->x + noteOk->w / 2.0f, note->w / 2.0f, 1);
    Click(h, TruncToInt(note->x + noteOk->x + 100), TruncToInt(note->y + noteOk->y + 48));
    h.Step();
    EXPECT_EQ(GUIList::Get("popup", ""), choice);
    EXPECT_EQ(GUIList::Suspended(), 1);

    // No captions: "Click to continue" centred under the text; a click anywhere confirms it.
    GUIContainer* info = nullptr;
    During(h, *screen, [&] {
        GUIList::Resume();
        info = Popup::CreatePopup("News", "The mayor thanks you.", "", "", "info", nullptr, 1, 1);
    });
    h.Step(40);
    auto* next = dynamic_cast<GUIClickButton*>(info->Get3("info", "ok"));
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->text, "Click to continue");
    EXPECT_NEAR(next->x + next->w / 2.0f, info->w / 2.0f, 1);
    Click(h, 10, 10);
    h.Step();
    EXPECT_EQ(GUIList::Get("popup", ""), nullptr);
    EXPECT_EQ(GUIList::Suspended(), 0);
}

TEST(Popups, RewardLinesShowLossesAndBonusesAlone) {
    harness::Harness h;
    auto screen = StartScreen(h);
    ASSERT_TRUE(screen);
    guitest::LoadWidgetArt();
    FlagList lost = Rewards({{"Resource.Money", -30}, {"Resource.Reputation", -4}});
    FlagList none = Rewards({{"Skill.Science", 0}});
    GUIContainer* a = nullptr;
    GUIContainer* b = nullptr;
    During(h, *screen, [&] {
        a = Popup::InitResult("Ouch", "You lost.", lost, 0, 0);
        b = Popup::InitResult("Tip", "A tip.", none, 5, 3);
    });
    EXPECT_TRUE(Has(Texts(a), "-$30"));
    EXPECT_TRUE(Has(Texts(a), "-4"));
    EXPECT_TRUE(Has(Texts(b), "Bonus $5"));
    EXPECT_TRUE(Has(Texts(b), "Bonus 3"));
    EXPECT_TRUE(MeterLabels(b).empty());
    // Not modal: confirming does not touch the list's layers.
    EXPECT_EQ(GUIList::Suspended(), 0);
    EXPECT_EQ(a->Get3("result", "ok")->data, 1);
    for (FlagList* l : {&lost, &none}) {
        for (FlagItem* f : *l) f->inUse = 0;
    }
}

// The popup's frame is centred in the window whatever its shape, with the borders around the
// virtual screen.
TEST(Popups, FramesAreCentredInWindowsOfEachShape) {
    struct Shape {
        int w, h;
        const char* name;
    };
    for (const Shape s : {Shape{1000, 600, "1000x600"}, Shape{1024, 768, "4x3"}, Shape{1280, 720, "16x9"}}) {
        harness::Harness h;
        h.SetModeFilter([s](int w, int hh, bool full) { return !full || (w == s.w && hh == s.h); });
        auto screen = StartScreen(h);
        ASSERT_TRUE(screen);
        if (s.w != 1000) {
            SetGraphicsMode(1000, 600, 1);
            briskGame->SetScreenSize(1000, 600, true);
        }
        guitest::LoadWidgetArt();
        FlagList rewards = Rewards({{"Resource.Money", 250}, {"Skill.Learning", 3}});
        During(h, *screen, [&] {
            GUIList::Suspend();
            Popup::InitResult("Great work!", "Job summary:", rewards, 0, 0);
        });
        h.Step(70);
        ASSERT_FALSE(h.SaveFrame(std::string("popup_result_") + s.name).empty());
        // The frame's light fill: its extent left and right of the window's centre row.
        const auto row = h.ReadPixels(0, s.h / 2, s.w, 1);
        int left = -1, right = -1;
        for (int x = 0; x < s.w; ++x) {
            const uint8_t* p = &row[static_cast<size_t>(x) * 4];
            if (p[0] + p[1] + p[2] > 450) {
                if (left < 0) left = x;
                right = x;
            }
        }
        ASSERT_GE(left, 0) << s.name;
        EXPECT_NEAR(left + right, s.w - 1, 6) << s.name;
        EXPECT_GT(right - left, s.w / 3) << s.name;
        for (FlagItem* f : rewards) f->inUse = 0;
    }
}
