// The options controls, the clock corner and pointer arrows on the running game: a slider dragged
// and checkboxes pressed with their callbacks' values, the clock running toward the profile's
// time, and arrows beside their targets or at the screen's edge.
#include <gtest/gtest.h>

#include <memory>

#include "gui/arrow.hpp"
#include "gui/checkbox.hpp"
#include "gui/slider.hpp"
#include "gui/text.hpp"
#include "gui/time.hpp"
#include "model/data2.hpp"
#include "tests/gui/gui_fixture.hpp"
#include "tests/gui/widget_art.hpp"

using guitest::During;

namespace {

// What the options popup reads from each sender when it reports.
class Values : public Callback {
  public:
    int Call(GUIItem* sender) override {
        if (auto* s = dynamic_cast<GUISlider*>(sender)) seen.push_back(s->pos);
        if (auto* c = dynamic_cast<GUICheckbox*>(sender)) seen.push_back(c->state * 1000 + c->data);
        return 0;
    }
    std::vector<int> seen;
};

}  // namespace

TEST(Controls, ASliderFollowsTheDragAndEachPressTogglesOneCheckbox) {
    harness::Harness h;
    auto screen = guitest::StartScreen(h);
    ASSERT_TRUE(screen);
    guitest::LoadWidgetArt();
    Values cb;
    GUISlider* slider = nullptr;
    GUICheckbox *music = nullptr, *hints = nullptr;
    During(h, *screen, [&] {
        slider = GUISlider::Create(200, 200, 40, &cb);
        music = GUICheckbox::Create(200, 350, 0, &cb);
        hints = GUICheckbox::Create(300, 350, 1, &cb);
        hints->data = 1;
        for (GUIItem* i : std::initializer_list<GUIItem*>{slider, music, hints}) GUIList::Add(i, 10);
    });
    h.Step(40);
    ASSERT_GT(slider->w, 100);
    // Pressed at the bar's left edge, dragged along it, then beyond its right end.
    h.MouseMove(200, 205);
    h.MouseButton(0, true);
    h.Step();
    h.MouseMove(300, 205);
    h.Step();
    h.MouseMove(200 + slider->w + 40, 205);
    h.Step();
    h.MouseButton(0, false);
    h.Step();
    EXPECT_EQ(cb.seen, (std::vector<int>{0, 100}));
    EXPECT_EQ(slider->pos, 100);

    // A press toggles at once; held and moved onto the other box it leaves that one alone, until
    // a new press there.
    cb.seen.clear();
    h.MouseMove(230, 380);
    h.Step();
    h.MouseButton(0, true);
    h.Step();
    EXPECT_EQ(cb.seen, (std::vector<int>{1000}));
    h.MouseMove(330, 380);
    h.Step(3);
    h.MouseButton(0, false);
    h.Step();
    EXPECT_EQ(cb.seen, (std::vector<int>{1000}));
    h.MouseButton(0, true);
    h.Step();
    EXPECT_EQ(cb.seen, (std::vector<int>{1000, 1}));
    EXPECT_EQ(music->state + hints->state, 1);
    h.SaveFrame("controls_dragged_toggled");
}

TEST(Controls, TheClockRunsTowardTheProfilesTimeAndArrowsPointFromBesideOrTheEdge) {
    harness::Harness h;
    auto screen = guitest::StartScreen(h);
    ASSERT_TRUE(screen);
    guitest::LoadWidgetArt();
    Profile::SetFlagString("Name", "Quill");
    Profile::SetFlagInt("Date.Month", 1);
    Profile::SetFlagInt("Date.Time", 270);
    Profile::SetFlagInt("Resource.Money", 1250);
    Profile::SetFlagInt("Level.Resource.Reputation", -1);
    std::shared_ptr<GUITime> clock;
    During(h, *screen, [&] { GUIList::Add(clock = std::make_shared<GUITime>(), 2000); });
    h.Step(40);
    EXPECT_EQ(clock->dd->text, "Feb 1");
    EXPECT_EQ(clock->dt->text, "12:30PM");
    EXPECT_EQ(clock->sm->text, "1250");
    EXPECT_EQ(clock->drep->text, Profile::RankTitle(0));  // a negative rank shows the first title
    EXPECT_NEAR(clock->dname->x + clock->dname->w, Data::virtualWidth - 8, 1);
    EXPECT_NEAR(clock->sm->x + clock->sm->w, Data::virtualWidth - 8, 1);

    // An hour passes over three seconds of the shown clock; a new day sets it at once.
    Profile::SetFlagInt("Date.Time", 330);
    h.Step(90);
    EXPECT_NEAR(clock->time.value, 300, 3);
    h.Step(95);
    EXPECT_EQ(clock->dt->text, "1:30PM");
    Profile::SetFlagInt("Date.Time", 5);
    Profile::SetFlagInt("Level.Resource.Reputation", 2);
    h.Step();
    EXPECT_EQ(clock->dt->text, "8:05AM");
    EXPECT_EQ(clock->drep->text, Profile::RankTitle(2));

    // Arrows: beside a target on the screen, at the edge for one off it.
    GUIItem inside, outside;
    inside.x = 90, inside.y = 290, inside.w = inside.h = 20;
    outside.x = 1400, outside.y = 500, outside.w = outside.h = 20;
    std::shared_ptr<GUIArrow> arrow;
    During(h, *screen, [&] {
        GUIList::Add(arrow = std::make_shared<GUIArrow>(&inside, "hint", "near", 0), 10);
        GUIList::Add(std::make_shared<GUIArrow>(&outside, "hint", "edge", 0), 10);
    });
    h.Step(45);
    h.SaveFrame("clock_and_arrows");
    // The middle of the arrow's bright pixels in a box of the frame.
    auto centre = [&h](int x, int y, int w, int hh) {
        const auto px = h.ReadPixels(x, y, w, hh);
        long sx = 0, sy = 0, n = 0;
        for (int i = 0; i < w * hh; ++i) {
            if (px[i * 4] + px[i * 4 + 1] + px[i * 4 + 2] > 300) sx += i % w, sy += i / w, ++n;
        }
        return std::pair<double, double>(x + sx / std::max(n, 1L), y + sy / std::max(n, 1L));
    };
    const double len = arrow->h;
    ASSERT_GT(len, 0);
    // One arrow-length right of the target, toward the centre of the screen.
    EXPECT_NEAR(centre(100, 200, 300, 200).first, 100 + len, len * 0.25);
    EXPECT_NEAR(centre(100, 200, 300, 200).second, 300, 6);
    // Clamped 32 pixels inside the right edge.
    EXPECT_NEAR(centre(800, 300, 200, 300).first, Data::virtualWidth - 32, len * 0.25);
}
