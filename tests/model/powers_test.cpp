// Powers: the data file with its bad entries, and the damage, cost, shield and freeze numbers of
// the game's own powers worked out by hand.
#include "model/powers.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/exception.hpp"
#include "model/board.hpp"
#include "platform/random.hpp"
#include "platform/storage.hpp"
#include "tests/model/profile_fixture.hpp"

namespace {

class PowersTest : public profiletest::ProfileTest {
  protected:
    void SetUp() override {
        ProfileTest::SetUp();
        Powers::InitGlobals();
    }
    void TearDown() override {
        Powers::InitGlobals();
        platform::SetDataRoot(savedRoot);
        ProfileTest::TearDown();
    }
    // Loads a powers file of this text from a data folder of the test's own; returns what it printed.
    std::string LoadText(const std::string& xml) {
        std::filesystem::create_directories(folder + "/data/data");
        std::ofstream(folder + "/data/data/powers.xml") << xml;
        platform::SetDataRoot(folder);
        testing::internal::CaptureStdout();
        Powers::Init();
        return testing::internal::GetCapturedStdout();
    }
    // The game's own powers, as baked.
    void LoadGame() {
        testing::internal::CaptureStdout();
        Powers::Init();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    }
    static PuzzleActor& Holding(PuzzleActor& actor, const char* id, int level) {
        actor.powers.Add(std::make_shared<PuzzleActorPower>(Powers::Get(id), level));
        return actor;
    }

    std::string savedRoot = platform::DataRoot();
};

int Lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST_F(PowersTest, BadEntriesGiveOneLineEachNamingTheFileAndArePassedOverOrReadAsZero) {
    const std::string out = LoadText(
        "<powers>"
        "<power player='' id='Jab' fx='f' attribute='Attribute.Strength' damage_base='4.5x' "
        "cost_base='lots'/>"
        "<power fx='f' attribute='Attribute.Strength'/>"
        "<power id='Jab' fx='f' attribute='Attribute.Essence'/>"
        "<thing id='Glare' fx='f' attribute='Attribute.Charm' special='sparkle'/>"
        "</powers>");
    // 15 missing hero attacks + no id + twice + colour + special + one bad number.
    EXPECT_EQ(Lines(out), 20) << out;
    EXPECT_NE(out.find("Powers: data/powers.xml: power \"Jab\": cost_base=\"lots\" is no number"),
              std::string::npos);
    EXPECT_NE(out.find("appears twice"), std::string::npos);
    EXPECT_NE(out.find("\"Attribute.Charm\" is no power colour"), std::string::npos);
    EXPECT_NE(out.find("the hero's attack \"Left Hook\" is missing"), std::string::npos);
    ASSERT_EQ(Powers::powers.Size(), 2);
    Power* jab = Powers::Get("Jab");
    ASSERT_NE(jab, nullptr);
    EXPECT_TRUE(jab->IsPlayerPower());
    EXPECT_EQ(jab->attribute, "Attribute.Strength");  // the first "Jab" holds
    EXPECT_EQ(jab->damage_base, 4.5f);
    EXPECT_EQ(jab->cost_base, 0.0f);
    EXPECT_FALSE(Powers::Get("Glare")->IsPlayerPower());
    EXPECT_EQ(Powers::Get("jab"), nullptr);

    // A file the parser refuses still ends start-up, after a line that names it.
    testing::internal::CaptureStdout();
    std::ofstream(folder + "/data/data/powers.xml") << "<powers><power id='x'></powers>";
    EXPECT_THROW(Powers::Init(), XMLParseException);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Error loading data/powers.xml at line 1 - "),
              std::string::npos);
}

TEST_F(PowersTest, TheGamesPowersHitAsWorkedOutByHand) {
    LoadGame();
    PuzzleActor hero, thug;
    // Strength, "Left Hook" 5/2: Damage 3 gives h = 9, 7.2 .. 10.8, so 7 .. 11. Cost: Strength
    // level 4 less twice Cost 1 is 2: 6 + 1 + 0.5 -> 7.
    Profile::SetFlagInt("Power.Physical.Damage", 3);
    Profile::SetFlagInt("Power.Physical.Cost", 1);
    Power* hook = Powers::Get("Left Hook");
    EXPECT_EQ(hook->minDamage(0), 7);
    EXPECT_EQ(hook->maxDamage(0), 11);
    EXPECT_EQ(hook->cost(4), 7);
    EXPECT_EQ(hook->cost(2), 1);  // n falls to 0

    // Strength with a shield, "Clobbering Time": Damage 3 (h 9) + Fire 2 (h 6): 7.2 + 4.8 = 12 and
    // 10.8 + 7.2 = 18. Stone 2: 6 + 3 = 9 shield points.
    Profile::SetFlagInt("Power.Physical.Fire", 2);
    Profile::SetFlagInt("Power.Physical.Stone", 2);
    Power* clobber = Powers::Get("Clobbering Time");
    EXPECT_EQ(clobber->minDamage(0), 12);
    EXPECT_EQ(clobber->maxDamage(0), 18);
    EXPECT_EQ(clobber->effectDescription(), "Shield for 9 damage");
    EXPECT_EQ(clobber->effect(hero, thug), "Shield up!");
    EXPECT_EQ(hero.protect, 9);

    // Essence with a freeze, "Energy Strike" 4/3, freeze 1/0.5: Energy 2 gives h = 7, 5.6 .. 8.4,
    // so 6 .. 8; Freeze 3 gives 1 + 0.5 x 2 = 2 rounds.
    Profile::SetFlagInt("Power.Elemental.Energy", 2);
    Profile::SetFlagInt("Power.Elemental.Freeze", 3);
    Power* strike = Powers::Get("Energy Strike");
    EXPECT_EQ(strike->minDamage(0), 6);
    EXPECT_EQ(strike->maxDamage(0), 8);
    EXPECT_EQ(strike->effectDescription(), "Freeze for 2 round(s)");
    EXPECT_EQ(strike->effect(hero, thug), "Freeze!");
    EXPECT_EQ(thug.freeze, 2);

    // Intelligence, "Mind Blast" 4/2: Bolt 1 gives 3.2 .. 4.8, so 3 .. 5; the freeze level is
    // Confusion 1 + 1.5 x Control 1 = 2.5, so 1 + 0.5 x 1.5 = 1.75 -> 2 more rounds.
    Profile::SetFlagInt("Power.Mental.Bolt", 1);
    Profile::SetFlagInt("Power.Mental.Confusion", 1);
    Profile::SetFlagInt("Power.Mental.Control", 1);
    Power* blast = Powers::Get("Mind Blast");
    EXPECT_EQ(blast->minDamage(0), 3);
    EXPECT_EQ(blast->maxDamage(0), 5);
    blast->effect(hero, thug);
    EXPECT_EQ(thug.freeze, 4);
    // With no tree level at all: at least 1, at most 3.
    Profile::SetFlagInt("Power.Mental.Bolt", 0);
    EXPECT_EQ(blast->minDamage(0), 1);
    EXPECT_EQ(blast->maxDamage(0), 3);

    // Opponents: "Union Punch" 3/1.5 at level 3 is 6 +- 1.2, so 5 .. 7, cost 6 + 2 + 0.5 -> 8;
    // "Hard Hat" at level 2 shields 3 + 1.5 + 0.5 -> 5; "Pocket Sand" freezes 1 round at any level.
    Holding(thug, "Union Punch", 3);
    Holding(thug, "Hard Hat", 2);
    Holding(thug, "Pocket Sand", 4);
    Power* punch = Powers::Get("Union Punch");
    EXPECT_EQ(punch->getLevel(thug), 3);
    EXPECT_EQ(punch->minDamage(3), 5);
    EXPECT_EQ(punch->maxDamage(3), 7);
    EXPECT_EQ(punch->cost(3), 8);
    EXPECT_EQ(punch->cost(0), 6);
    EXPECT_EQ(Powers::Get("Hard Hat")->effect(thug, hero), "Shield up!");
    EXPECT_EQ(thug.protect, 5);
    hero.freeze = 0;
    Powers::Get("Pocket Sand")->effect(thug, hero);
    EXPECT_EQ(hero.freeze, 1);
}

TEST_F(PowersTest, AShieldSoaksOnceAndResistanceFollowsTheDominantRating) {
    LoadGame();
    Profile::SetFlagInt("Power.Physical.Damage", 3);  // "Left Hook" hits 7 .. 11
    Power* hook = Powers::Get("Left Hook");
    PuzzleActor hero, target;

    // Mental dominant: Strength does extra, Int(0.5 x 7) = 3; a shield of 5 soaks it all, then 2 of
    // the hit. The hit shows net, the "Blocked" number shows all 5, and the health loss
    // damage + extra - resisted takes the 5 off once.
    target.physical = 1, target.elemental = 2, target.mental = 4;
    target.protect = 5;
    platform::SetSeed(77);
    EXPECT_EQ(hook->effect(hero, target), "");
    EXPECT_EQ(hook->extraDamage(hero, target), 0);
    const int hit = hook->damage(hero, target);
    EXPECT_GE(hit, 7 - 2);
    EXPECT_LE(hit, 11 - 2);
    EXPECT_EQ(target.protect, 0);
    EXPECT_EQ(hook->blocked(hero, target), 5);
    EXPECT_EQ(target.toBlock, 0);
    EXPECT_EQ(hook->resisted(hero, target), 0);

    // Elemental dominant resists Strength by Int(0.5 x 11) = 5; no extra.
    target.elemental = 9;
    EXPECT_EQ(hook->extraDamage(hero, target), 0);
    EXPECT_EQ(hook->resisted(hero, target), 5);
    EXPECT_EQ(hook->blocked(hero, target), 5);
    // A tie for the highest rating: neither rule.
    target.physical = 9;
    EXPECT_EQ(target.Dominant(), -1);
    EXPECT_EQ(hook->blocked(hero, target), 0);

    // Every draw lies in [min, max], and both ends come up.
    int low = 100, high = 0;
    for (int i = 0; i < 2000; ++i) {
        const int r = hook->damage(hero, target);
        low = std::min(low, r);
        high = std::max(high, r);
    }
    EXPECT_EQ(low, 7);
    EXPECT_EQ(high, 11);
}

}  // namespace
