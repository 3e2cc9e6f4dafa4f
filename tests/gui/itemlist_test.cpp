// The item list on the running game: input to the highest item under the mouse, modal layers,
// changes made during a pass, fade-outs that free pooled items, the equal-priority order, particles
// over the items and the mouse trail.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "gui/gui2.hpp"
#include "gui/particledot.hpp"
#include "gui/primitive.hpp"
#include "gui/text.hpp"
#include "model/data2.hpp"
#include "tests/gui/gui_fixture.hpp"

using guitest::During;
using guitest::StartScreen;

namespace {

// A coloured square that takes a press over it.
class Pad : public GUIItem {
  public:
    Pad(const char* padName, int px, int py, int r, int g, int b) : r(r), g(g), b(b) {
        id = "pads";
        name = padName;
        x = static_cast<float>(px);
        y = static_cast<float>(py);
        w = h = 100;
    }
    int Update2() override {
        GUIItem::Update2();
        ++updates;
        return 0;
    }
    int UpdateAction() override {
        ++asked;
        if (!Data::mouseHeld || !MouseOver(1)) return 0;
        ++taken;
        if (onTake) onTake();
        return 1;
    }
    void Render() override {
        platform::SetColor(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b));
        platform::DrawRect(x, y, static_cast<float>(w), static_cast<float>(h));
        platform::SetColor(255, 255, 255);
    }
    int r, g, b;
    int updates = 0, asked = 0, taken = 0;
    std::function<void()> onTake;
};

void Click(harness::Harness& h, int x, int y) {
    h.MouseMove(x, y);
    h.MouseButton(0, true);
    h.Step();
    h.MouseButton(0, false);
    h.Step();
}

bool Near(const harness::Rgba& p, int r, int g, int b) {
    return std::abs(p.r - r) < 8 && std::abs(p.g - g) < 8 && std::abs(p.b - b) < 8;
}

}  // namespace

TEST(ItemList, MouseGoesToTheTopItemAndModalLayersAndQueuesActAsPlayed) {
    harness::Harness h;
    auto screen = StartScreen(h);
    ASSERT_TRUE(screen);

    auto low = std::make_shared<Pad>("low", 100, 100, 200, 0, 0);    // red, under the green one
    auto high = std::make_shared<Pad>("high", 150, 150, 0, 200, 0);  // green
    auto side = std::make_shared<Pad>("side", 400, 100, 0, 0, 200);  // blue
    During(h, *screen, [&] {
        GUIList::Add(low, 10);
        GUIList::Add(high, 20);
        GUIList::Add(side, 5);
    });
    h.Step(3);
    EXPECT_TRUE(Near(h.Pixel(120, 120), 200, 0, 0));
    EXPECT_TRUE(Near(h.Pixel(200, 200), 0, 200, 0));  // the higher priority is drawn on top

    // Over both: the higher one takes the press and the lower one is not even asked.
    const int lowAsked = low->asked;
    Click(h, 180, 180);
    EXPECT_EQ(high->taken, 1);
    EXPECT_EQ(low->taken, 0);
    EXPECT_EQ(low->asked, lowAsked + 1);  // asked only in the frame of the release (no taker then)
    Click(h, 110, 110);
    EXPECT_EQ(low->taken, 1);

    // An item added during the input pass: found at once, drawn and asked from the next update.
    GUIPrimitive* added = nullptr;
    side->onTake = [&] {
        added = GUIPrimitive::Create(700, 100, 100, 100, "box", 0xffff00, 0);
        added->id = "late";
        GUIList::Add(added, 50);
        EXPECT_EQ(GUIList::Get("late", ""), added);
    };
    h.MouseMove(450, 150);
    h.MouseButton(0, true);
    h.Step();
    ASSERT_NE(added, nullptr);
    EXPECT_TRUE(Near(h.Pixel(750, 150), 20, 20, 40));  // not yet in the drawn list
    h.MouseButton(0, false);
    h.Step(40);  // and faded in
    EXPECT_TRUE(Near(h.Pixel(750, 150), 255, 255, 0));

    // A press that opens a popup: suspended from inside the input pass, the old items keep
    // animating and drawing but take no input; the popup does.
    auto popup = std::make_shared<Pad>("popup", 600, 300, 200, 200, 200);
    popup->id = "popup";
    side->onTake = [&] {
        GUIList::Suspend();
        GUIList::Add(popup, 1700);
    };
    Click(h, 450, 150);
    ASSERT_EQ(GUIList::Suspended(), 1);
    EXPECT_EQ(GUIList::Get("pads", "low"), nullptr);  // suspended layers are not searched
    const int lowTaken = low->taken, lowUpdates = low->updates;
    Click(h, 110, 110);
    EXPECT_EQ(low->taken, lowTaken);
    EXPECT_GT(low->updates, lowUpdates);
    EXPECT_TRUE(Near(h.Pixel(120, 120), 200, 0, 0));
    Click(h, 650, 350);
    EXPECT_EQ(popup->taken, 1);

    // Resume takes the popup away; a second Resume with nothing suspended changes nothing.
    During(h, *screen, [] {
        GUIList::Resume();
        GUIList::Resume();
    });
    h.Step();
    EXPECT_EQ(GUIList::Suspended(), 0);
    EXPECT_EQ(GUIList::Get("popup", ""), nullptr);
    EXPECT_TRUE(Near(h.Pixel(650, 350), 20, 20, 40));
    Click(h, 110, 110);
    EXPECT_EQ(low->taken, lowTaken + 1);

    // A fade-out ends with the pooled box back in its pool.
    const int boxesInUse = GUIPrimitive::pool->InUse();
    During(h, *screen, [] { GUIList::FadeOut("late", ""); });
    EXPECT_EQ(GUIList::Get("late", ""), added);
    h.Step(20);  // 200 ms of fade and the next update's queue
    EXPECT_EQ(GUIList::Get("late", ""), nullptr);
    EXPECT_EQ(GUIPrimitive::pool->InUse(), boxesInUse - 1);
    EXPECT_TRUE(Near(h.Pixel(750, 150), 20, 20, 40));

    // Dots are drawn over the items: an explosion brightens the red square additively.
    During(h, *screen, [] { GUIParticleDot::CreateExplosion(140, 130, 60, 0xffff80, 0x8080ff, nullptr); });
    EXPECT_GT(GUIParticleDot::InUse(), 2);
    const harness::Rgba lit = h.Pixel(140, 130);
    EXPECT_GT(lit.g + lit.b, 40);
    EXPECT_GE(lit.r, 200);
    h.Step(12);
    h.SaveFrame("itemlist_explosion");
    h.Step(140);
    EXPECT_EQ(GUIParticleDot::InUse(), 0);

    // Holding the mouse leaves a trail of dots that fade away.
    h.MouseMove(800, 400);
    h.MouseButton(0, true);
    for (int i = 0; i < 10; ++i) {
        h.MouseMove(800 + i * 10, 400);
        h.Step();
    }
    EXPECT_GT(GUIParticleDot::InUse(), 3);
    h.SaveFrame("itemlist_trail");
    h.MouseButton(0, false);
    h.Step(80);
    EXPECT_EQ(GUIParticleDot::InUse(), 0);
}

TEST(ItemList, EqualPrioritiesKeepTheGamesOwnOrderAndPoolsGrowInsteadOfEndingTheGame) {
    harness::Harness h;
    auto screen = StartScreen(h);
    ASSERT_TRUE(screen);

    // Two squares of one priority, overlapping: the game's own sort leaves the one added first
    // on top (a stable order would put the later one there).
    auto a = std::make_shared<Pad>("a", 100, 100, 200, 0, 0);
    auto b = std::make_shared<Pad>("b", 150, 100, 0, 200, 0);
    During(h, *screen, [&] {
        GUIList::Add(a, 10);
        GUIList::Add(b, 10);
    });
    h.Step();
    EXPECT_TRUE(Near(h.Pixel(175, 150), 200, 0, 0));
    ASSERT_EQ(GUIList::currentList->Size(), 2);
    EXPECT_EQ(GUIList::currentList->Get2(1), a.get());

    // More texts than the pool holds: the pool grows, notes it in one line (no error, no listing
    // of the pool), and every text is its own.
    testing::internal::CaptureStdout();
    std::vector<GUIText*> texts;
    for (int i = 0; i < 70; ++i) texts.push_back(GUIText::Create(0, 0, "x", nullptr, 0));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    EXPECT_NE(out.find("GUIText"), std::string::npos) << out;
    EXPECT_EQ(out.find("ERROR"), std::string::npos) << out;
    EXPECT_EQ(std::set<GUIText*>(texts.begin(), texts.end()).size(), 70u);
    // An item waiting in the remove queue is not handed out again before the next update.
    GUIText* gone = texts.front();
    gone->Clear2();
    GUIList::Remove(gone);
    GUIText* next = GUIText::Create(0, 0, "y", nullptr, 0);
    EXPECT_NE(next, gone);
    gone->processed = 1;
    for (GUIText* t : texts) t->Clear2();
    next->Clear2();
    EXPECT_EQ(GUIText::Create(0, 0, "z", nullptr, 0), texts.front());

    // The alignment flags place an item on the 1000 x 600 screen.
    GUIPrimitive* box = GUIPrimitive::Create(0, 0, 100, 50, "box", 0, 0);
    box->padX = 3;
    box->padY = 4;
    GUIList::ModifyPos2(box, kAlignCentre, kAlignBottom);
    EXPECT_EQ(box->x, 450);
    EXPECT_FLOAT_EQ(box->y, 550 - 4 * Data::layoutScaleY);
    GUIList::ModifyPos2(box, kAlignRight, kAlignTop);
    EXPECT_FLOAT_EQ(box->x, 900 - 3 * Data::layoutScaleX);
    EXPECT_FLOAT_EQ(box->y, 4 * Data::layoutScaleY);
}
