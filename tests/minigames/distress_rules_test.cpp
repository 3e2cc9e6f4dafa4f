// The rules of the four distress games: spawning, scoring, hits, the clock, the end of play and
// what an abandoned or finished game pays.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "minigames/gamecar.hpp"
#include "minigames/gamefalling.hpp"
#include "minigames/gamesearch.hpp"
#include "minigames/gametree.hpp"

namespace {

// Draws the given fractions of each range in turn (0.5 once they run out).
DistressRandom Scripted(std::vector<float> fractions) {
    auto left = std::make_shared<std::vector<float>>(fractions.rbegin(), fractions.rend());
    return [left](float low, float high) {
        float f = 0.5f;
        if (!left->empty()) {
            f = left->back();
            left->pop_back();
        }
        return low + f * (high - low);
    };
}

// A generator whose rounding lands on the excluded end of every range.
float RoundsUp(float, float high) {
    return high;
}

DistressInput Frame(float ms, float x = 0, float y = 0, bool held = false) {
    return DistressInput{ms, x, y, held};
}

int Count(const std::vector<DistressEvent>& events, DistressEvent::Kind kind) {
    return static_cast<int>(
        std::count_if(events.begin(), events.end(), [&](auto& e) { return e.kind == kind; }));
}

}  // namespace

TEST(DistressRules, AbandonedGamesFailAndPayNothingWhileFinishedOnesPayInTheResultOrder) {
    FallingRules aborted(2, true, Scripted({}), 1000, 600);
    aborted.bonus = 12;
    EXPECT_TRUE(aborted.Back());
    std::array<DistressPlay::Reward, 4> list{};
    EXPECT_EQ(aborted.done, 1);
    EXPECT_EQ(aborted.success, 0);
    EXPECT_EQ(aborted.Rewards(list), 0);

    SearchRules won(2, true, Scripted({}), 1000, 600);
    won.clock.shown = true;
    won.Update(Frame(30000));
    won.Play(Frame(16));
    won.bonus = 7;
    won.clues = 2;
    EXPECT_FALSE(won.Back());  // the end of play decided it
    EXPECT_EQ(won.success, 1);
    ASSERT_EQ(won.Rewards(list), 4);
    EXPECT_STREQ(list[0].name, "Resource.Reputation");
    EXPECT_EQ(list[0].value, 7);
    EXPECT_STREQ(list[1].name, "Resource.Clues");
    EXPECT_EQ(list[2].value, 3);  // money: half, truncated
    EXPECT_STREQ(list[3].name, "Attribute.Ethics");
    EXPECT_EQ(list[3].value, 3);
    won.bonus = 1;
    won.clues = 0;
    ASSERT_EQ(won.Rewards(list), 1);
    EXPECT_STREQ(list[0].name, "Resource.Reputation");
}

TEST(DistressRules, DrawsNeverReachTheExcludedEnd) {
    FallingRules falling(1, false, RoundsUp, 1000, 600);
    EXPECT_EQ(falling.target, 13);
    falling.Play(Frame(16));
    ASSERT_EQ(falling.falling.size(), 1u);
    EXPECT_EQ(falling.falling[0].frame, 5);
    EXPECT_LT(falling.falling[0].x, 1000 - 128);
    CarRules car(1, false, RoundsUp, 1000, 600);
    EXPECT_EQ(car.target, 23);
    car.Play(Frame(16));
    ASSERT_EQ(car.objects.size(), 1u);
    EXPECT_EQ(car.objects[0].r, 273);
    EXPECT_EQ(car.objects[0].img, 2);
    SearchRules search(1, false, RoundsUp, 1000, 600);
    // Every crook draw lands on the last walker.
    EXPECT_EQ(
        std::count_if(search.persons.begin(), search.persons.end(), [](auto& p) { return p.type == 1; }), 1);
    EXPECT_EQ(search.persons.back().type, 1);
    search.persons[0].type = 0;
    search.persons[0].xpos = search.persons[0].ypos = 100;
    search.Update(Frame(0, 100, 100, false));
    search.Update(Frame(0, 100, 100, true));
    ASSERT_EQ(Count(search.Events(), DistressEvent::kWord), 1);
    EXPECT_EQ(search.Events()[0].value, 3);
}

TEST(DistressRules, FallingSignsAreCountedOnceAndHitOnlyOnOtherFramesOneLeavingPerFrame) {
    FallingRules game(2, true, Scripted({}), 1000, 600);
    game.SetHeroBody(450, 100);
    // The pair keeps clear of the edges.
    game.Update(Frame(16, 0, 0, true));
    EXPECT_EQ(game.heroX, 16);
    EXPECT_EQ(game.ladyX, 48);
    game.Update(Frame(16, 500, 0, true));
    game.Play(Frame(16));
    ASSERT_EQ(game.falling.size(), 1u);
    // 2.0 at 1.5 for a screen taller than 480, and 1.5 more for one wider than 800.
    EXPECT_FLOAT_EQ(game.falling[0].speed, 4.5f);
    EXPECT_FLOAT_EQ(game.speed, 2.5f);
    // Right over the hero's point, crossing the counting line this frame: counted, not a hit.
    game.falling[0].x = 484 - 64;
    game.falling[0].y = 440;
    game.Update(Frame(0));
    EXPECT_EQ(game.bonus, 6);
    EXPECT_EQ(game.clues, 1);
    EXPECT_EQ(game.done, 0);
    EXPECT_EQ(Count(game.Events(), DistressEvent::kReward), 1);
    game.Update(Frame(0));
    EXPECT_EQ(game.done, 1);
    EXPECT_EQ(game.success, 1);  // a hit still ends the call well
    EXPECT_EQ(game.bonus, 6);

    FallingRules rain(1, false, Scripted({}), 1000, 600);
    rain.falling = {Sign{1, 0, 700, 0, 2, 1}, Sign{2, 0, 700, 0, 2, 1}};
    rain.count = rain.target;
    rain.Update(Frame(16));
    EXPECT_EQ(rain.falling.size(), 1u);
    rain.Play(Frame(16));
    EXPECT_EQ(rain.done, 0);
    rain.Update(Frame(16));
    rain.Play(Frame(16));
    EXPECT_EQ(rain.done, 1);
    EXPECT_EQ(rain.success, 1);
}

TEST(DistressRules, CarsCountOnEnteringTheBandAndAHitEndsPlayOnceEveryCarMoved) {
    // 16 cars; the first comes at once, heading 86 degrees (down) as the third car (picture draw 3).
    CarRules game(1, true, Scripted({0.0f, 0.0f, 0.0f, 0.5f, 0.8f}), 800, 600);
    game.Play(Frame(0));
    ASSERT_EQ(game.objects.size(), 1u);
    EXPECT_EQ(game.objects[0].r, 86);
    EXPECT_EQ(game.objects[0].img, 2);
    EXPECT_EQ(game.objects[0].y, -256);
    // Far from the hero, it is counted as soon as it is 48 units onto the road.
    game.objects[0].y = 47;
    game.objects[0].x = 0;
    game.delay = 1000;
    game.Play(Frame(0));
    EXPECT_EQ(game.bonus, 0);
    game.objects[0].y = 48;
    game.Play(Frame(0));
    EXPECT_EQ(game.bonus, 2);
    EXPECT_EQ(game.clues, 1);
    game.Play(Frame(0));
    EXPECT_EQ(game.bonus, 2);

    // A car on the hero and another entering the road: the hit ends play, the other still counts.
    Driver hit = game.objects[0];
    hit.x = game.px;
    hit.y = game.py;
    Driver entering = hit;
    entering.data = 0;
    entering.r = 270;
    entering.x = 700;
    entering.y = 500;
    game.objects = {hit, entering};
    game.Play(Frame(0));
    EXPECT_EQ(game.done, 1);
    EXPECT_EQ(game.success, 1);
    EXPECT_EQ(game.bonus, 4);

    // The hero reaches the held mouse in 250 ms and stays once it is let go.
    CarRules glide(1, false, Scripted({}), 800, 600);
    glide.Update(Frame(0, 600, 100, true));
    glide.Update(Frame(125, 600, 100, false));
    EXPECT_FLOAT_EQ(glide.px, 500);
    glide.Update(Frame(200, 0, 0, false));
    EXPECT_FLOAT_EQ(glide.px, 600);
    EXPECT_FLOAT_EQ(glide.py, 100);
}

TEST(DistressRules, CrowdSearchPicksOncePerPressAgainstAClockThatRunsOnlyWhileShown) {
    SearchRules game(3, true, Scripted({}), 1000, 600);
    char text[16];
    game.Update(Frame(5000));
    EXPECT_EQ(game.clock.time, 30000);
    game.clock.shown = true;
    game.Update(Frame(17930));
    game.clock.Text(text);
    EXPECT_STREQ(text, "12.07");
    // Two walkers under the mouse, the crook first in the list: one press takes the crook only.
    for (Person& p : game.persons) p.xpos = p.xdest = p.ypos = p.ydest = 900;
    Person& crook = game.persons[3];
    Person& citizen = game.persons[4];
    crook.type = 1;
    citizen.type = 0;
    crook.xpos = crook.xdest = citizen.xpos = citizen.xdest = 200;
    crook.ypos = crook.ydest = citizen.ypos = citizen.ydest = 200;
    game.Update(Frame(0, 210, 210, false));
    game.Update(Frame(0, 210, 210, true));
    EXPECT_EQ(crook.active, 0);
    EXPECT_EQ(citizen.active, 1);
    EXPECT_EQ(game.bonus, 6);
    EXPECT_EQ(game.clues, 1);
    game.Update(Frame(16, 210, 210, true));
    EXPECT_EQ(citizen.active, 1);
    game.Update(Frame(0, 210, 210, false));
    game.Update(Frame(0, 210, 210, true));
    EXPECT_EQ(citizen.active, 0);
    EXPECT_EQ(Count(game.Events(), DistressEvent::kWord), 1);
    EXPECT_EQ(game.bonus, 6);

    // The caught crook stands and swells for about 2.7 s, then fades in 400 ms and walks again
    // as a citizen.
    game.Update(Frame(2600));
    EXPECT_EQ(crook.active, 0);
    EXPECT_GT(crook.Scale(), 1.8f);
    game.Update(Frame(100));
    game.Update(Frame(290));
    EXPECT_EQ(crook.active, 0);
    game.Update(Frame(20));
    EXPECT_EQ(crook.active, 1);
    EXPECT_EQ(crook.type, 0);

    game.Play(Frame(0));
    EXPECT_EQ(game.done, 0);
    game.Update(Frame(10000));
    game.Play(Frame(0));
    EXPECT_EQ(game.done, 1);
    EXPECT_EQ(game.success, 1);  // the clock running out ends the search well
}

TEST(DistressRules, TreeBlowsAreWeighedByTheRingAndANewOneWaitsForTheFadeAndARelease) {
    TreeRules game(2, true, Scripted({}), 1000, 600);
    auto blow = [&](float holdMs) {
        game.Update(Frame(0, 500, 300, true), true);
        game.Update(Frame(holdMs, 500, 300, true), true);
        game.Update(Frame(0, 500, 300, false), false);
        return std::vector<DistressEvent>(game.Events());
    };
    // Held without a free button or before the ring has faded: nothing charges.
    game.Update(Frame(16, 0, 0, true), true);
    EXPECT_EQ(game.ring, 0);
    game.Update(Frame(0), false);
    // A ring of exactly 0.8 of the largest: the 3x band, two cats, a clue.
    auto events = blow(330);
    EXPECT_EQ(game.bonus, 6);
    EXPECT_EQ(game.clues, 1);
    EXPECT_EQ(Count(events, DistressEvent::kCat), 2);
    EXPECT_FLOAT_EQ(game.angleStrength, 40);
    // Straight away, the ring still shows: no new blow.
    EXPECT_EQ(Count(blow(100), DistressEvent::kExplosion), 0);
    game.Update(Frame(1000), false);
    // Exactly half: too weak.
    events = blow(150);
    EXPECT_EQ(Count(events, DistressEvent::kTooWeak), 1);
    EXPECT_EQ(game.bonus, 6);
    game.Update(Frame(1000), false);
    // Held past the top, the ring starts again at 75, and the charging sound played once.
    game.Update(Frame(0, 500, 300, true), true);
    EXPECT_EQ(Count(game.Events(), DistressEvent::kSound), 1);
    game.Update(Frame(440, 500, 300, true), true);
    game.Update(Frame(20, 500, 300, true), true);
    EXPECT_EQ(game.ring, TreeRules::kRingStart);
    EXPECT_EQ(Count(game.Events(), DistressEvent::kSound), 0);
    int r, g, b;
    TreeRules::RingColour(TreeRules::kRingMax, r, g, b);
    EXPECT_EQ(r, 255);
    EXPECT_GT(g, 0);

    game.clock.shown = true;
    game.Update(Frame(30000), false);
    game.Play(Frame(0));
    EXPECT_EQ(game.done, 1);
    EXPECT_EQ(game.success, 1);
}
