// The career popups on the running game, clicked as a player would: points spent on the power-up
// tree (nodes opened by rank and by the node below, picks taken back, the attack decided), base
// upgrades bought and refused, the character sheet with its attack cards, and the floating number.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "framework/main.hpp"
#include "gui/button.hpp"
#include "gui/container.hpp"
#include "gui/image.hpp"
#include "gui/meterattribute.hpp"
#include "gui/particle.hpp"
#include "gui/text.hpp"
#include "gui/textbutton.hpp"
#include "model/actions.hpp"
#include "model/powers.hpp"
#include "model/upgrades.hpp"
#include "screens/base.hpp"
#include "screens/level.hpp"
#include "screens/menu.hpp"
#include "tests/gui/gui_fixture.hpp"
#include "tests/gui/widget_art.hpp"

using guitest::During;

namespace {

std::shared_ptr<guitest::TestScreen> Start(harness::Harness& h) {
    auto screen = guitest::StartScreen(h);
    if (!screen) return nullptr;
    guitest::LoadWidgetArt();
    auto& images = *briskGame->images;
    images.LoadAnim2("UpgradeIcons64x64.png", 64, 64, 4);
    images.LoadAnim2("UpgradeBar.png", 165, 40, 2);
    images.LoadAnim2("Tiles64x64.png", 64, 64, 12);
    return screen;
}

GUIContainer* Shown(const std::string& id) {
    return dynamic_cast<GUIContainer*>(GUIList::Get(id, ""));
}

// A click on the middle of a container's child, on screen.
void ClickOn(harness::Harness& h, const GUIContainer* c, const GUIItem* child) {
    ASSERT_NE(child, nullptr);
    guitest::Click(h, static_cast<int>(c->x + child->x) + child->w / 2,
                   static_cast<int>(c->y + child->y) + child->h / 2);
}

GUIItem* Node(const std::string& key) {
    return Shown("result")->Get3("option", key);
}

// The texts of a container, in alphabetical order.
std::vector<std::string> Texts(const GUIContainer* c) {
    std::vector<std::string> texts;
    for (GUIItem* child : c->items) {
        if (auto* t = dynamic_cast<GUIText*>(child)) texts.push_back(t->text);
    }
    std::sort(texts.begin(), texts.end());
    return texts;
}

GUIText* TextOf(const GUIContainer* c, const std::string& text) {
    for (GUIItem* child : c->items) {
        auto* t = dynamic_cast<GUIText*>(child);
        if (t && t->text == text) return t;
    }
    return nullptr;
}

int Flag(const char* key) {
    return Profile::GetFlagInt(key);
}

}  // namespace

TEST(PowerUpTree, PointsGoOnNodesOpenedByRankAndTheNodeBelowAndPicksCanBeTakenBack) {
    harness::Harness h;
    auto screen = Start(h);
    ASSERT_TRUE(screen);
    Profile::SetFlagInt("Level.Attribute.Strength", 2);
    Profile::SetFlagInt("Level.Resource.Reputation", 2);
    During(h, *screen, [] { Level::InitPowerUp("Attribute.Strength"); });
    h.Step(40);
    h.SaveFrame("career_powerup_open");
    ASSERT_NE(Shown("result"), nullptr);
    EXPECT_EQ(GUIList::Suspended(), 1);
    EXPECT_EQ(Node("Power.Physical.Damage")->active, 1);
    EXPECT_EQ(Node("Power.Physical.Cost")->active, 1) << "rank 2 opens the second row";
    EXPECT_EQ(Node("Power.Physical.Fire")->active, 0) << "Fire waits for Damage";
    EXPECT_EQ(Node("Power.Physical.Stone")->active, 0) << "the third row waits for rank 5";
    EXPECT_EQ(static_cast<GUIButton*>(Node("Power.Physical.Stone"))->image,
              briskGame->images->Get("LEVELUPPHYSICAL4S"));
    EXPECT_EQ(Level::okButton->active, 0);
    // Nothing spent yet: the card names the attack at level 0, without numbers.
    EXPECT_EQ(Texts(Shown("preview")), (std::vector<std::string>{"Left Hook", "Level 0", "Power Preview"}));

    ClickOn(h, Shown("result"), Node("Power.Physical.Damage"));
    EXPECT_EQ(Flag("Power.Physical.Damage"), 1);
    EXPECT_EQ(Node("Power.Physical.Fire")->active, 1) << "Damage has a level now";
    ClickOn(h, Shown("result"), Node("Power.Physical.Fire"));
    EXPECT_EQ(Flag("Power.Physical.Fire"), 1);
    EXPECT_EQ(Flag("PowerUp.Attribute.Strength"), 2);
    EXPECT_EQ(Level::powerPoints, 0);
    EXPECT_EQ(Node("Power.Physical.Damage")->active, 0) << "no points left";
    EXPECT_EQ(Level::okButton->active, 1);
    EXPECT_EQ(Profile::GetFlagString("Power.Attribute.Strength"), "Fire Punch");
    const Power* fire = Powers::Get("Fire Punch");
    ASSERT_NE(fire, nullptr);
    EXPECT_NE(TextOf(Shown("preview"), "Damage: " + std::to_string(fire->minDamage(2)) + " - " +
                                           std::to_string(fire->maxDamage(2)) +
                                           "\\nCost: " + std::to_string(fire->cost(2))),
              nullptr);
    h.SaveFrame("career_powerup_spent");

    ClickOn(h, Shown("result"), Level::undoButton);
    EXPECT_EQ(Flag("Power.Physical.Damage"), 0);
    EXPECT_EQ(Flag("Power.Physical.Fire"), 0);
    EXPECT_EQ(Flag("PowerUp.Attribute.Strength"), 0);
    EXPECT_EQ(Level::powerPoints, 2);
    EXPECT_EQ(Level::okButton->active, 0);
    EXPECT_EQ(Level::undoButton->active, 0);

    ClickOn(h, Shown("result"), Node("Power.Physical.Damage"));
    ClickOn(h, Shown("result"), Node("Power.Physical.Damage"));
    EXPECT_EQ(Flag("Power.Physical.Damage"), 2);
    ClickOn(h, Shown("result"), Level::okButton);
    h.Step();
    EXPECT_EQ(GUIList::Suspended(), 0);
    EXPECT_EQ(Shown("result"), nullptr);
    EXPECT_EQ(Shown("preview"), nullptr);
    EXPECT_EQ(Flag("PowerUp.Attribute.Strength"), 2) << "OK keeps the picks";
    EXPECT_EQ(Profile::GetFlagString("Power.Attribute.Strength"), "Left Hook");
}

TEST(PowerUpTree, TheTreesLevelsDecideTheAttack) {
    InitProfileGlobals();
    struct Case {
        const char* attribute;
        std::vector<std::pair<const char*, int>> levels;
        const char* attack;
    };
    const std::vector<Case> cases = {
        {"Attribute.Strength", {{"Power.Physical.Damage", 2}}, "Left Hook"},
        {"Attribute.Strength", {{"Power.Physical.Damage", 3}}, "Power Punch"},
        {"Attribute.Strength", {{"Power.Physical.Damage", 2}, {"Power.Physical.Fire", 1}}, "Fire Punch"},
        {"Attribute.Strength", {{"Power.Physical.Fire", 2}, {"Power.Physical.Stone", 1}}, "Clobbering Time"},
        {"Attribute.Strength", {{"Power.Physical.Stone", 1}}, "Clobbering Time"},
        {"Attribute.Strength", {{"Power.Physical.Fire", 1}, {"Power.Physical.Beam", 1}}, "Power Blitz"},
        {"Attribute.Essence", {{"Power.Elemental.Energy", 3}}, "Energy Strike"},
        {"Attribute.Essence", {{"Power.Elemental.Electric", 1}}, "Electro Blast"},
        {"Attribute.Essence",
         {{"Power.Elemental.Electric", 1}, {"Power.Elemental.Thunder", 1}},
         "Thunder Storm"},
        {"Attribute.Essence", {{"Power.Elemental.Freeze", 1}}, "Energy Strike"},
        {"Attribute.Essence", {{"Power.Elemental.Freeze", 1}, {"Power.Elemental.Thunder", 1}}, "Ragnarok"},
        {"Attribute.Intelligence", {{"Power.Mental.Bolt", 1}}, "Psycho Bolt"},
        {"Attribute.Intelligence", {{"Power.Mental.Bolt", 1}, {"Power.Mental.Confusion", 1}}, "Mind Blast"},
        {"Attribute.Intelligence", {{"Power.Mental.Bolt", 1}, {"Power.Mental.Blast", 1}}, "Meltdown"},
        {"Attribute.Intelligence",
         {{"Power.Mental.Bolt", 1}, {"Power.Mental.Confusion", 1}, {"Power.Mental.Blast", 1}},
         "Psycho Strike"},
        {"Attribute.Intelligence", {{"Power.Mental.Control", 1}}, "Soul Crusher"},
    };
    for (const Case& c : cases) {
        InitProfileGlobals();
        for (const auto& [key, level] : c.levels) Profile::SetFlagInt(key, level);
        Level::DecidePower(c.attribute);
        EXPECT_EQ(Profile::GetFlagString(std::string("Power.") + c.attribute), c.attack) << c.attack;
    }
    InitProfileGlobals();
    Level::DecidePower("Attribute.Ethics");
    EXPECT_EQ(Profile::GetFlagString("Power.Attribute.Ethics"), "") << "no tree, no attack";
}

// Story data can raise the signal with any key, or without points to spend: the tree never traps
// the player, and an attack the power table lacks shows as a name only.
TEST(PowerUpTree, AKeyWithoutATreeOpensNothingAndATreeWithoutPointsClosesAtOnce) {
    harness::Harness h;
    auto screen = Start(h);
    ASSERT_TRUE(screen);
    During(h, *screen, [] { Level::InitPowerUp("Attribute.Ethics"); });
    h.Step(5);
    EXPECT_EQ(GUIList::Suspended(), 0);
    EXPECT_EQ(Shown("result"), nullptr);

    for (int i = 0; i < Powers::powers.Size(); ++i) {
        if (Powers::powers.Get2(i)->id == "Psycho Bolt") Powers::powers.RemoveAt(i);
    }
    During(h, *screen, [] { Level::InitPowerUp("Attribute.Intelligence"); });
    h.Step(40);
    ASSERT_NE(Shown("result"), nullptr);
    EXPECT_EQ(Texts(Shown("preview")), (std::vector<std::string>{"Level 0", "Power Preview", "Psycho Bolt"}));
    EXPECT_EQ(Node("Power.Mental.Bolt")->active, 0);
    ASSERT_EQ(Level::okButton->active, 1);
    ClickOn(h, Shown("result"), Level::okButton);
    h.Step();
    EXPECT_EQ(GUIList::Suspended(), 0);
}

TEST(BaseUpgrades, ALevelIsBoughtOnceWithItsPriceAndTheNextWaitsForItsConditions) {
    harness::Harness h;
    auto screen = Start(h);
    ASSERT_TRUE(screen);
    Profile::SetFlagInt("Resource.Money", 100);
    Profile::SetFlagInt("Quest.Easy Money", 3);
    Profile::SetFlagInt("Quest.Raise the Alarm", 2);
    Profile::SetFlagInt("Upgrade.Heroic Power", 3);
    During(h, *screen, [] { Base::InitBase(); });
    h.Step(40);
    h.SaveFrame("career_base_open");
    GUIContainer* base = Shown("result");
    ASSERT_NE(base, nullptr);
    auto* training = dynamic_cast<GUITextButton*>(base->Get3("Training Mastery", "upgrade"));
    auto* alarm = dynamic_cast<GUITextButton*>(base->Get3("Burglar Alarm", "upgrade"));
    auto* distress = dynamic_cast<GUITextButton*>(base->Get3("Distress-o-Meter", "upgrade"));
    ASSERT_TRUE(training && alarm && distress);
    EXPECT_EQ(alarm->text, "Upgrade\\n$100");
    EXPECT_EQ(alarm->active, 1) << "money equal to the price is enough";
    EXPECT_EQ(distress->text, "Not\\navailable!");
    EXPECT_EQ(distress->active, 0);
    EXPECT_EQ(base->Get3("Heroic Power", "upgrade"), nullptr) << "a complete line sells nothing";
    ASSERT_NE(GUIList::Get("result", "arrow"), nullptr) << "the story points at the training";

    ClickOn(h, base, alarm);
    h.Step();
    EXPECT_EQ(Flag("Resource.Money"), 0);
    EXPECT_EQ(Flag("Upgrade.Burglar Alarm"), 1);
    EXPECT_EQ(Profile::GetFlagString("Game.NewUpgrade"), "Burglar Alarm");
    EXPECT_EQ(GUIList::Suspended(), 0);
    EXPECT_EQ(Shown("result"), nullptr);

    Profile::SetFlagInt("Resource.Money", 1000);
    During(h, *screen, [] { Base::InitBase(); });
    h.Step(40);
    base = Shown("result");
    alarm = dynamic_cast<GUITextButton*>(base->Get3("Burglar Alarm", "upgrade"));
    ASSERT_NE(alarm, nullptr);
    EXPECT_EQ(alarm->text, "Not\\navailable!") << "level 2 waits for the second act";
    // Neither an unsellable level nor a line the table does not know buys anything.
    Base::baseCallback.Call(alarm);
    alarm->id = "Laser Moat";
    Base::baseCallback.Call(alarm);
    EXPECT_EQ(Flag("Resource.Money"), 1000);
    EXPECT_EQ(Flag("Upgrade.Burglar Alarm"), 1);
    EXPECT_EQ(GUIList::Suspended(), 1);
    ClickOn(h, base, base->Get3("result", "ok"));
    h.Step();
    EXPECT_EQ(GUIList::Suspended(), 0);
}

TEST(BaseUpgrades, LinesWithoutAFirstLevelOrWithAGapAreToldAtLoad) {
    harness::Harness h;
    auto screen = Start(h);
    ASSERT_TRUE(screen);
    const std::string path = h.AppDataFolder() + "/upgrades.xml";
    std::ofstream(path)
        << "<upgrades><upgrade id=\"Burglar Alarm\" level=\"1\"/><upgrade id=\"Burglar Alarm\" "
           "level=\"3\"/><upgrade id=\"Training Mastery\" level=\"2\"/>"
           "<upgrade id=\"Heroic Power\" level=\"1\"/></upgrades>";
    Upgrades::InitGlobals();
    Upgrades::Load(path);
    testing::internal::CaptureStdout();
    Base::CheckLines();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("\"Training Mastery\" has no level 1"), std::string::npos) << out;
    EXPECT_NE(out.find("\"Burglar Alarm\" has no level 2"), std::string::npos) << out;
    EXPECT_NE(out.find("\"Distress-o-Meter\" has no level 1"), std::string::npos) << out;
    EXPECT_EQ(out.find("Heroic Power"), std::string::npos) << out;
}

TEST(CharacterSheet, ShowsHealthPlayTimeMetersAndACardPerKnownAttackAndClosesOnAClick) {
    harness::Harness h;
    auto screen = Start(h);
    ASSERT_TRUE(screen);
    Profile::SetFlagString("Name", "Brall");
    Profile::SetFlagString("CharacterPortrait", "HeroMale1");
    Profile::SetFlagInt("TimePlayed", 3723);
    Profile::SetFlagInt("Level.Attribute.Constitution", 3);
    Profile::SetFlagString("Power.Attribute.Strength", "Power Punch");
    Profile::SetFlagString("Power.Attribute.Essence", "Laser Eyes");
    Profile::SetFlagString("Power.Attribute.Intelligence", "Mind Blast");
    Profile::SetFlagInt("Level.Attribute.Strength", 4);
    During(h, *screen, [] { Menu::ShowCharacterInfo(); });
    h.Step(40);
    h.SaveFrame("career_sheet");
    GUIContainer* sheet = Shown("result");
    ASSERT_NE(sheet, nullptr);
    EXPECT_NE(TextOf(sheet, "35"), nullptr);
    EXPECT_NE(TextOf(sheet, "Play time: 01:02:03"), nullptr);
    EXPECT_NE(TextOf(sheet, "Brall"), nullptr);
    EXPECT_NE(TextOf(sheet, "Level 4"), nullptr);
    EXPECT_EQ(TextOf(sheet, "Laser Eyes"), nullptr) << "an attack the table lacks has no card";
    int meters = 0;
    for (GUIItem* child : sheet->items) meters += dynamic_cast<GUIMeterAttribute*>(child) != nullptr;
    EXPECT_EQ(meters, 10);
    const GUIText* punch = TextOf(sheet, "Power Punch");
    const GUIText* blast = TextOf(sheet, "Mind Blast");
    ASSERT_TRUE(punch && blast);
    const float punchMiddle = punch->x + punch->w / 2.0f, blastMiddle = blast->x + blast->w / 2.0f;
    EXPECT_NEAR(blastMiddle - punchMiddle, 128, 1);
    EXPECT_NEAR((punchMiddle + blastMiddle) / 2, sheet->w / 2.0f, 41) << "centred under the meters' sheet";

    guitest::Click(h, 20, 20);
    h.Step();
    EXPECT_EQ(GUIList::Suspended(), 0);
    EXPECT_EQ(Shown("result"), nullptr);
}

TEST(FloatingNumber, AnActionsRewardFloatsUpCentredInItsPaletteColourAndFades) {
    harness::Harness h;
    auto screen = Start(h);
    ASSERT_TRUE(screen);
    ASSERT_TRUE(static_cast<bool>(Actions::starters.showNumber));
    ActionNumber reward;
    reward.x = 500;
    reward.y = 300;
    reward.text = "+25";
    reward.paletteEntry = 1;
    GUIParticle* shown = nullptr;
    During(h, *screen, [&] {
        Actions::starters.showNumber(reward);
        ActionNumber odd = reward;
        odd.paletteEntry = 42;
        Actions::starters.showNumber(odd);
    });
    h.Step();
    for (GUIItem* item : *GUIList::currentList) {
        auto* p = dynamic_cast<GUIParticle*>(item);
        if (p && p->r == 0xff && p->g == 0x80 && p->b == 0xff) shown = p;
    }
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->priority, 2000);
    EXPECT_NEAR(shown->x + shown->w / 2.0f, 500, 1);
    const float startY = shown->y;
    h.Step(20);
    EXPECT_LT(shown->y, startY) << "drifts upward";
    h.Step(200);
    for (GUIItem* item : *GUIList::currentList) EXPECT_EQ(dynamic_cast<GUIParticle*>(item), nullptr);
}
