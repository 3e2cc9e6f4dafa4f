// The career popups on the running game, clicked as a player would: points spent on the power-up
// tree (nodes opened by rank and by the node below, picks taken back, the attack decided), base
// upgrades bought and refused, the character sheet with its attack cards, and the floating number.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "framework/main.hpp"
#include "gui/container.hpp"
#include "gui/image.hpp"
#include "gui/meterattribute.hpp"
#include "gui/particle.hpp"
#include "gui/text.hpp"
#include "gui/textbutton.hpp"
#include "model/actions.hpp"
#include "model/data2.hpp"
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
    h.Click(static_cast<int>(c->x + child->x) + child->w / 2,
            static_cast<int>(c->y + child->y) + child->h / 2);
}

GUIItem* Node(const std::string& key) {
    return Shown("result")->Get3("option", key);
}

// A text as read, whatever line breaks its wrapping put in.
std::string Plain(std::string s) {
    for (size_t at; (at = s.find("\\n")) != std::string::npos;) s.replace(at, 2, " ");
    return s;
}

// The texts of a container, in alphabetical order.
std::vector<std::string> Texts(const GUIContainer* c) {
    std::vector<std::string> texts;
    for (GUIItem* child : c->items) {
        if (auto* t = dynamic_cast<GUIText*>(child)) texts.push_back(Plain(t->text));
    }
    std::sort(texts.begin(), texts.end());
    return texts;
}

GUIText* TextOf(const GUIContainer* c, const std::string& text) {
    for (GUIItem* child : c->items) {
        auto* t = dynamic_cast<GUIText*>(child);
        if (t && Plain(t->text) == Plain(text)) return t;
    }
    return nullptr;
}

// Every two texts of a container that run into each other (closer side by side than a space of
// their font, which would read as one line), as "a / b" lines.
std::string Overlaps(const GUIContainer* c) {
    std::vector<const GUIText*> texts;
    for (GUIItem* child : c->items) {
        if (auto* t = dynamic_cast<GUIText*>(child); t && !t->text.empty()) texts.push_back(t);
    }
    std::string found;
    for (size_t i = 0; i < texts.size(); ++i) {
        for (size_t j = i + 1; j < texts.size(); ++j) {
            const GUIText *a = texts[i], *b = texts[j];
            const int space = std::max(a->font->TextWidth(" "), b->font->TextWidth(" "));
            if (a->x < b->x + b->w + space && b->x < a->x + a->w + space && a->y < b->y + b->h && b->y < a->y + a->h)
                found += Plain(a->text) + " / " + Plain(b->text) + "\n";
        }
    }
    return found;
}

// Every text of a container drawn over an attack's sign, one a line; "no sign" when none shows.
std::string TextsOverSigns(const GUIContainer* c) {
    std::string found = "no sign";
    for (GUIItem* sign : c->items) {
        const auto* image = dynamic_cast<const GUIImage*>(sign);
        if (image == nullptr || image->image != briskGame->images->Find("Tiles64x64")) continue;
        if (found == "no sign") found.clear();
        for (GUIItem* other : c->items) {
            const auto* t = dynamic_cast<const GUIText*>(other);
            if (t && !t->text.empty() && t->x < sign->x + sign->w && sign->x < t->x + t->w &&
                t->y < sign->y + sign->h && sign->y < t->y + t->h)
                found += Plain(t->text) + "\n";
        }
    }
    return found;
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
    EXPECT_EQ(Node("Power.Physical.Cost")->active, 1) << "rank 2 opens the second row";
    EXPECT_EQ(Node("Power.Physical.Fire")->active, 0) << "Fire waits for Damage";
    EXPECT_EQ(Node("Power.Physical.Stone")->active, 0) << "the third row waits for rank 5";
    EXPECT_EQ(Level::okButton->active, 0);
    // Nothing spent yet: the card names the attack at level 0, without numbers.
    EXPECT_EQ(Texts(Shown("preview")), (std::vector<std::string>{"Left Hook", "Level 0", "Power Preview"}));

    ClickOn(h, Shown("result"), Node("Power.Physical.Damage"));
    EXPECT_EQ(Flag("Power.Physical.Damage"), 1);
    EXPECT_EQ(Node("Power.Physical.Fire")->active, 1) << "Damage has a level now";
    ClickOn(h, Shown("result"), Node("Power.Physical.Fire"));
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
    EXPECT_EQ(TextsOverSigns(Shown("preview")), "");
    h.Step(40);
    h.SaveFrame("career_powerup_spent");

    ClickOn(h, Shown("result"), Level::undoButton);
    EXPECT_EQ(Flag("Power.Physical.Damage"), 0);
    EXPECT_EQ(Flag("PowerUp.Attribute.Strength") + Flag("Power.Physical.Fire"), 0);
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
    EXPECT_EQ(Flag("PowerUp.Attribute.Strength"), 2) << "OK keeps the picks";
    EXPECT_EQ(Profile::GetFlagString("Power.Attribute.Strength"), "Left Hook");
}

TEST(PowerUpTree, TheTreesLevelsDecideTheAttack) {
    // "Colour node=level ...", and the attack those levels give.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Strength Physical.Damage=3", "Power Punch"},
        {"Strength Physical.Fire=2 Physical.Stone=1", "Clobbering Time"},
        {"Strength Physical.Stone=1", "Clobbering Time"},
        {"Strength Physical.Fire=1 Physical.Beam=1", "Power Blitz"},
        {"Essence Elemental.Electric=1", "Electro Blast"},
        {"Essence Elemental.Electric=1 Elemental.Thunder=1", "Thunder Storm"},
        {"Essence Elemental.Freeze=1", "Energy Strike"},
        {"Essence Elemental.Freeze=1 Elemental.Thunder=1", "Ragnarok"},
        {"Intelligence Mental.Bolt=1 Mental.Confusion=1", "Mind Blast"},
        {"Intelligence Mental.Bolt=1 Mental.Blast=1", "Meltdown"},
        {"Intelligence Mental.Bolt=1 Mental.Confusion=1 Mental.Blast=1", "Psycho Strike"},
        {"Intelligence Mental.Control=1", "Soul Crusher"},
        {"Ethics", ""},
    };
    for (const auto& [levels, attack] : cases) {
        InitProfileGlobals();
        std::istringstream in(levels);
        std::string colour, node;
        in >> colour;
        while (in >> node)
            Profile::SetFlagInt("Power." + node.substr(0, node.find('=')),
                                std::stoi(node.substr(node.find('=') + 1)));
        Level::DecidePower("Attribute." + colour);
        EXPECT_EQ(Profile::GetFlagString("Power.Attribute." + colour), attack) << levels;
    }
}

// With every row open, no caption or rank note of any tree is printed over another.
TEST(PowerUpTree, EveryTreesCaptionsAndNotesStandApart) {
    harness::Harness h;
    auto screen = Start(h);
    ASSERT_TRUE(screen);
    Profile::SetFlagInt("Level.Resource.Reputation", 5);
    for (const char* attribute : {"Attribute.Strength", "Attribute.Essence", "Attribute.Intelligence"}) {
        Profile::SetFlagInt(std::string("Level.") + attribute, 1);
        During(h, *screen, [attribute] { Level::InitPowerUp(attribute); });
        h.Step(40);
        h.SaveFrame(std::string("career_tree_") + attribute);
        ASSERT_NE(Shown("result"), nullptr) << attribute;
        EXPECT_EQ(Overlaps(Shown("result")), "") << attribute;
        GUIList::Resume();
        h.Step();
    }
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
    auto* alarm = dynamic_cast<GUITextButton*>(base->Get3("Burglar Alarm", "upgrade"));
    auto* distress = dynamic_cast<GUITextButton*>(base->Get3("Distress-o-Meter", "upgrade"));
    ASSERT_TRUE(alarm && distress);
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
    EXPECT_EQ(alarm->text, "Owned") << "level 2 waits for the second act";
    EXPECT_EQ(alarm->active, 0);
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
    Profile::SetFlagInt("Level.Attribute.Intelligence", 9);
    During(h, *screen, [] { Menu::ShowCharacterInfo(); });
    h.Step(40);
    h.SaveFrame("career_sheet");
    GUIContainer* sheet = Shown("result");
    ASSERT_NE(sheet, nullptr);
    // The portrait stays inside the frame: beside it the sheet's ground shows up to the border.
    const GUIText* time = TextOf(sheet, "Play time: 01:02:03");
    ASSERT_NE(time, nullptr);
    EXPECT_EQ(guitest::LeftBorderCovered(h, *sheet, static_cast<int>(sheet->y + time->y),
                                         static_cast<int>(sheet->y + time->y) + time->h / 2),
              0);
    EXPECT_NE(TextOf(sheet, "Health: 35"), nullptr);
    EXPECT_NE(TextOf(sheet, "Play time: 01:02:03"), nullptr);
    EXPECT_NE(TextOf(sheet, "Level 4"), nullptr);
    EXPECT_EQ(TextOf(sheet, "Laser Eyes"), nullptr) << "an attack the table lacks has no card";
    int meters = 0;
    for (GUIItem* child : sheet->items) meters += dynamic_cast<GUIMeterAttribute*>(child) != nullptr;
    EXPECT_EQ(meters, 10);
    const GUIText* punch = TextOf(sheet, "Power Punch");
    const GUIText* blast = TextOf(sheet, "Mind Blast");
    ASSERT_TRUE(punch && blast);
    const float punchMiddle = punch->x + punch->w / 2.0f, blastMiddle = blast->x + blast->w / 2.0f;
    EXPECT_GE(blastMiddle - punchMiddle, 128);
    EXPECT_NEAR((punchMiddle + blastMiddle) / 2, sheet->w / 2.0f, 41) << "centred under the meters' sheet";
    // Both cards tell damage and cost, side by side, without one card's lines running into the other's
    // or over a sign.
    EXPECT_EQ(Overlaps(sheet), "");
    EXPECT_EQ(TextsOverSigns(sheet), "");

    h.Click(20, 20);
    h.Step();
    EXPECT_EQ(GUIList::Suspended(), 0);
    EXPECT_EQ(Shown("result"), nullptr);

    // Three strong attacks spread wider than the sheet was: it widens, and no line leaves it.
    Profile::SetFlagString("Power.Attribute.Essence", "Energy Strike");
    for (const char* level : {"Level.Attribute.Strength", "Level.Attribute.Essence", "Level.Attribute.Intelligence"})
        Profile::SetFlagInt(level, 20);
    During(h, *screen, [] { Menu::ShowCharacterInfo(); });
    h.Step(40);
    h.SaveFrame("career_sheet_three");
    sheet = Shown("result");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(Overlaps(sheet), "");
    EXPECT_EQ(TextsOverSigns(sheet), "");
    for (GUIItem* child : sheet->items) {
        const auto* text = dynamic_cast<const GUIText*>(child);
        if (text == nullptr || text->y < TextOf(sheet, "Play time: 01:02:03")->y) continue;
        EXPECT_GE(text->x, 0) << text->text;
        EXPECT_LE(text->x + text->w, sheet->w) << text->text;
    }
}

TEST(FloatingNumber, RewardsArrivingTogetherFloatUpApartInTheirPaletteColoursAndFade) {
    harness::Harness h;
    auto screen = Start(h);
    ASSERT_TRUE(screen);
    // One action's rewards arrive in one frame at one place: each stays readable.
    const std::vector<ActionNumber> rewards = {
        {500, 300, "+25", 1}, {500, 300, "Strength +40", 2}, {500, 300, "$25", 0}, {500, 300, "+25", 1}};
    During(h, *screen, [&] {
        for (const ActionNumber& reward : rewards) Actions::starters.showNumber(reward);
    });
    h.Step();
    ASSERT_EQ(GUIList::currentList->Size(), static_cast<int>(rewards.size()));
    std::vector<GUIParticle*> numbers;
    for (int i = 0; i < GUIList::currentList->Size(); ++i) {
        auto* number = dynamic_cast<GUIParticle*>(GUIList::currentList->Get2(i));
        ASSERT_NE(number, nullptr);
        EXPECT_NEAR(number->x + number->w / 2.0f, 500, 1) << number->text;
        for (const GUIParticle* other : numbers) {
            EXPECT_TRUE(number->y >= other->y + other->h || other->y >= number->y + number->h)
                << number->text << " covers " << other->text;
        }
        numbers.push_back(number);
    }
    // The first "+25" is the topmost number: the later ones made way below it.
    GUIParticle* shown = *std::min_element(numbers.begin(), numbers.end(),
                                           [](const GUIParticle* a, const GUIParticle* b) { return a->y < b->y; });
    EXPECT_EQ(shown->text, "+25");
    EXPECT_EQ((shown->r << 16) | (shown->g << 8) | shown->b, 0xff80ff);
    EXPECT_NEAR(shown->y + shown->h / 2.0f, 300, 1) << "the first stays where it was asked";
    const float startY = shown->y;
    h.Step(20);
    EXPECT_LT(shown->y, startY) << "drifts upward";
    h.Step(200);
    EXPECT_TRUE(GUIList::currentList->IsEmpty()) << "and fades away";
}

// With the widescreen setting off the screen is 800 wide: each popup still lies wholly on it, the
// tree leaving room for its card.
TEST(CareerPopups, EachFitsTheNarrowScreen) {
    harness::Harness h;
    InitGlobals();
    Profile::InitGlobal();
    Profile::SetGlobalFlagInt("Fullscreen", 0);
    Profile::SetGlobalFlagInt("Widescreen", 0);
    const std::string narrow = Profile::saveData->ToString();
    InitGlobals();
    h.WriteState(narrow);
    auto screen = Start(h);
    ASSERT_TRUE(screen);
    ASSERT_EQ(Data::virtualWidth, 800);
    Profile::SetFlagInt("Level.Attribute.Essence", 1);
    const std::vector<std::pair<std::function<void()>, std::vector<std::string>>> popups = {
        {[] { Level::InitPowerUp("Attribute.Essence"); }, {"result", "preview"}},
        {Base::InitBase, {"result"}},
        {Menu::ShowCharacterInfo, {"result"}}};
    int shot = 0;
    for (const auto& [open, ids] : popups) {
        During(h, *screen, open);
        h.Step(40);
        h.SaveFrame("career_800_" + std::to_string(shot++));
        float right = 0;
        for (const std::string& id : ids) {
            const GUIItem* item = Shown(id);
            ASSERT_NE(item, nullptr);
            EXPECT_GE(item->x, right) << id << ": on screen, the card beside the tree";
            EXPECT_LE(item->x + item->w, 800) << id;
            EXPECT_TRUE(item->y >= 0 && item->y + item->h <= 600) << id;
            right = item->x + item->w;
        }
        GUIList::Resume();
        h.Step();
    }
}
