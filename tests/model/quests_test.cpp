// Quests advancing through their stages, clue hunts and dungeon stages, resuming from the profile,
// and quest data the game could not use reported at load.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/flaglist.hpp"
#include "tests/model/table_fixture.hpp"

namespace {

// What the quest views were asked to show, one line each.
std::vector<std::string> shown;
int questItemOnScreen = 0;

class QuestRules : public tabletest::TableTest {
  protected:
    void SetUp() override {
        TableTest::SetUp();
        shown.clear();
        questItemOnScreen = 0;
        Quests::views.showQuest = [](QuestItem& q, QuestStatus& s, const std::string& heading) {
            shown.push_back(heading + q.id + "/" + s.id);
        };
        Quests::views.showMapQuest = [](QuestItem& q) { shown.push_back("button " + q.id); };
        Quests::views.showQuestResult = [](QuestItem& q) {
            shown.push_back("result " + q.id + " money " +
                            std::to_string(Profile::GetFlagInt("Resource.Money")));
        };
        Quests::views.questItemShown = [] { return questItemOnScreen; };
        Locations::locations.Add(std::make_shared<LocationItem>());
        Locations::locations.Get2(0)->id = "Docks";
    }
    static int Flag(const std::string& name) { return Profile::GetFlagInt(name); }
    static std::vector<std::string> Take() { return std::exchange(shown, {}); }
};

// clang-format off
const char* kStory =
    "<quests><quest id=\"Raise\"><conditions><flag name=\"Flag.Act\" value=\"1\" type=\"higher\"/></conditions>"
    "<status id=\"job\"><conditions><flag name=\"Game.JobCount\" value=\"1\" type=\"higher\"/></conditions></status>"
    "<status id=\"clues\" clues=\"3\"><conditions><flag name=\"Resource.Clues\" value=\"3\" type=\"higher\"/>"
    "</conditions></status><status id=\"cellar\"><conditions><flag name=\"Game.Dungeon\" value=\"1\"/></conditions>"
    "<dungeon location=\"Docks\" w=\"3\" h=\"2\" starty=\"1\"><tile x=\"1\" y=\"1\"/></dungeon></status>"
    "<rewards><flag name=\"Resource.Money\" add=\"50\"/><flag name=\"Skill.Science\" value=\"2\"/></rewards></quest>"
    "<quest id=\"Next\"><conditions><flag name=\"Flag.Act\" value=\"2\" type=\"higher\"/></conditions>"
    "<status id=\"a\"/><status id=\"b\"/><status id=\"c\"><conditions><flag name=\"Flag.Done\" value=\"1\"/>"
    "</conditions></status></quest></quests>";
// clang-format on

TEST_F(QuestRules, AQuestRunsThroughAClueHuntAndADungeonToItsRewards) {
    Quests::Load(Write("quests.xml", kStory));
    Quests::Check(1);
    EXPECT_TRUE(Take().empty()) << "no quest may start before its conditions hold";
    Profile::SetFlagInt("Flag.Act", 1);
    Quests::Check(1);
    EXPECT_EQ(Take(), (std::vector<std::string>{"New Quest:Raise/job", "button Raise"}));
    EXPECT_EQ(Flag("Quest.Raise"), 1);
    questItemOnScreen = 1;

    Profile::SetFlagInt("Game.JobCount", 1);
    Quests::Check(1);
    EXPECT_EQ(Take(), (std::vector<std::string>{"Quest Update:Raise/clues"}));
    EXPECT_EQ(Flag("Game.Clues"), 3) << "the next stage is checked at once and its hunt starts";
    Profile::SetFlagInt("Game.Clues", 7);
    Quests::Check(1);
    EXPECT_EQ(Flag("Game.Clues"), 7) << "a hunt already running keeps its target";

    Profile::SetFlagInt("Resource.Clues", 3);
    Quests::Check(1);
    EXPECT_EQ(Flag("Resource.Clues") + Flag("Game.Clues"), 0);
    ASSERT_NE(Quests::currentDungeon, nullptr);
    EXPECT_EQ(Quests::currentDungeon->location, "Docks");

    // Inside the dungeon no popup or button is asked for, but the cleared dungeon ends the quest.
    Take();
    Profile::SetFlagInt("Game.Dungeon", 1);
    Quests::Check(0);
    EXPECT_EQ(Take(), (std::vector<std::string>{"result Raise money 0"}));
    EXPECT_EQ(Flag("Resource.Money"), 50);
    EXPECT_EQ(Flag("Skill.Science"), 2) << "every reward adds";
    EXPECT_EQ(Profile::GetFlagString("Goto"), "Map");
    EXPECT_EQ(Flag("Game.Dungeon"), 0);
    EXPECT_EQ(Quests::currentDungeon, nullptr);
    EXPECT_EQ(Flag("Quest.Raise"), 4);

    // A finished quest never comes back, even after the lists are rebuilt; the next one starts.
    Quests::Clear();
    Profile::SetFlagInt("Flag.Act", 2);
    Quests::Check(1);
    Quests::Check(1);
    ASSERT_NE(Quests::currentQuest, nullptr);
    EXPECT_EQ(Quests::currentQuest->id, "Next");
    EXPECT_EQ(Flag("Quest.Raise"), 4);
}

TEST_F(QuestRules, StagesThatHoldCompleteTogetherAndAGameResumesItsStage) {
    Quests::Load(Write("quests.xml", kStory));
    Profile::SetFlagInt("Quest.Raise", 4);
    Profile::SetFlagInt("Flag.Act", 2);
    // A damaged counter below 0 counts as not started.
    Profile::SetFlagInt("Quest.Next", -3);
    Quests::Check(1);
    EXPECT_EQ(Take(), (std::vector<std::string>{"New Quest:Next/a", "Quest Update:Next/c", "button Next"}));
    EXPECT_EQ(Flag("Quest.Next"), 3);

    Quests::Clear();
    questItemOnScreen = 1;
    Quests::Check(1);
    EXPECT_EQ(Take(), (std::vector<std::string>{"Quest Update:Next/c"}));

    Quests::CloseQuests();
    EXPECT_EQ(Flag("Quest.Next"), 0);
    EXPECT_EQ(Flag("Quest.Raise"), 4) << "a finished quest stays finished";
}

TEST_F(QuestRules, AClueHuntEndingInsideADungeonLeavesNoCluesForTheNextHunt) {
    Quests::Load(Write("quests.xml", kStory));
    Profile::SetFlagInt("Quest.Raise", 2);
    Profile::SetFlagInt("Resource.Clues", 3);
    Profile::dungeonMode = 1;
    Profile::AddFlagInt("Resource.Clues", 2);
    Quests::Check(0);
    Profile::dungeonMode = 0;
    EXPECT_EQ(Flag("Quest.Raise"), 3);
    auto loot = Profile::GetDungeon();
    for (const FlagItem* item : *loot) Profile::AddFlagInt(item->name, item->GetInt());
    ReleaseFlags(*loot);
    EXPECT_EQ(Flag("Resource.Clues"), 0);
}

TEST_F(QuestRules, QuestDataTheGameCannotUseIsReportedAtLoad) {
    const std::string path = Write(
        "quests.xml",
        "<quests><quest id=\"Empty\"><rewards><flag name=\"Resource.Money\" add=\"5\"/></rewards></quest>"
        "<quest id=\"Caves\"><status><dungeon location=\"Docks\" w=\"0\" h=\"2\"/></status>"
        "<status><dungeon location=\"Docks\" w=\"2\" h=\"2\" startx=\"2\"/></status>"
        "<status><dungeon location=\"Docks\" w=\"70000\" h=\"70000\"/></status>"
        "<status><dungeon location=\"Moon\" w=\"2\" h=\"2\"><tile id=\"far\" x=\"5\"/>"
        "<tile id=\"t\" x=\"1\" y=\"1\" optional=\"false\"><action id=\"first\"/><action "
        "id=\"last\"/></tile></dungeon></status>"
        "</quest></quests>");
    testing::internal::CaptureStdout();
    Quests::Load(path);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed.rfind(path + ": quest \"Empty\"", 0), 0u) << printed;
    ASSERT_EQ(Quests::allQuests.Size(), 1);
    const QuestItem& caves = *Quests::allQuests.Get2(0);
    EXPECT_EQ(caves.statuses.Get2(0)->dungeon, nullptr);
    EXPECT_EQ(caves.statuses.Get2(1)->dungeon, nullptr);
    EXPECT_EQ(caves.statuses.Get2(2)->dungeon, nullptr) << "a grid larger than the screen shows";
    const Dungeon& kept = *caves.statuses.Get2(3)->dungeon;
    ASSERT_EQ(kept.tiles.Size(), 1);
    EXPECT_EQ(kept.tiles.Get2(0)->optional, 1);
    ASSERT_NE(kept.tiles.Get2(0)->action, nullptr);
    EXPECT_EQ(kept.tiles.Get2(0)->action->id, "last") << "only the last action of a tile counts";
    for (const char* line :
         {"quest \"Empty\" has no status", "\"Caves\" is 0 x 2 cells", "enters at 2, 0",
          "is 70000 x 70000 cells", "at \"Moon\", which is no location", "tile \"far\" at 5, 0"}) {
        EXPECT_NE(printed.find(line), std::string::npos) << line << " in:\n" << printed;
    }
}

}  // namespace
