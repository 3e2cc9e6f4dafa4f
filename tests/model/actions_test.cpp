// The action files and the action engine, on the tests' own small story.
#include "model/actions.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/xml.hpp"
#include "model/actionrefs.hpp"
#include "model/board.hpp"
#include "model/quests.hpp"
#include "platform/storage.hpp"
#include "profile_fixture.hpp"

namespace {

using profiletest::ProfileTest;

class ActionsTest : public ProfileTest {
  protected:
    void SetUp() override {
        ProfileTest::SetUp();
        Actions::InitGlobals();
        Actions::starters = ActionStarters{};
        Profile::Init();
        Profile::flagsDirty = 0;
        Actions::starters.dialogue = [this](ActionItemDialogue&, const std::string& id) {
            started.push_back("dialogue " + id);
        };
        Actions::starters.showNumber = [this](const ActionNumber& n) {
            numbers.push_back(n.text + "/" + std::to_string(n.paletteEntry));
        };
        Actions::starters.popup = [this](ActionItemPopup& popup, const std::vector<ActionItem*>& offered) {
            started.push_back("popup " + popup.id + " " + std::to_string(offered.size()));
        };
        Actions::starters.button = [this](ActionItemButton& button) {
            Actions::actionButtons.Add(&button);
            started.push_back("button " + button.ButtonName());
        };
    }
    void TearDown() override {
        Actions::starters = ActionStarters{};
        for (int k = 0; k < static_cast<int>(ReferenceKind::kCount); ++k) {
            ActionReferences::SetLookup(static_cast<ReferenceKind>(k), nullptr);
        }
        ActionReferences::makeBattlePower = nullptr;
        Actions::InitGlobals();
        ProfileTest::TearDown();
    }

    static ActionItem* Only(const std::string& xml) {
        Actions::LoadText("test.xml", "<actions><location id=\"L\">" + xml + "</location></actions>");
        return Actions::actionLocations.back()->actions.GetLast().get();
    }
    // One engine step after a flag change.
    static int Step() {
        Profile::flagsDirty = 1;
        return Actions::Check("");
    }

    std::vector<std::string> started;
    std::vector<std::string> numbers;
};

TEST_F(ActionsTest, EachKindReadsItsOwnFieldsAndTheFirstKindAttributeDecides) {
    auto* both = Only(R"(<action job="j" dialogue="d1" id="x" remove="no"/>)");
    EXPECT_EQ(both->Kind(), ActionKind::Dialogue);
    EXPECT_EQ(both->value, "d1");
    EXPECT_EQ(both->remove, 1);  // only "false" clears it
    EXPECT_EQ(Only(R"(<action remove="false"/>)")->remove, 0);

    auto* job = static_cast<ActionItemJob*>(Only(
        R"(<action job="dig" bg="B" money="40" time="$10" target_ment="1" target_elem="2" target_phys="3">)"
        R"(<positive><flag name="Skill.Science" add="5"/></positive><negative/></action>)"));
    EXPECT_EQ(job->money, 40);
    EXPECT_EQ(job->time, 16);
    EXPECT_EQ(job->targets[0] + job->targets[1] * 10 + job->targets[2] * 100, 321);
    ASSERT_TRUE(job->positive);
    EXPECT_EQ(job->positive->Get2(0)->add, 1);
    EXPECT_FALSE(job->negative);

    auto* battle =
        static_cast<ActionItemBattle*>(Only(R"(<action battle="" image="Foe" constitution="4.9"/>)"));
    EXPECT_EQ(battle->constitution, 4);
    EXPECT_EQ(battle->music, -1);
    EXPECT_FLOAT_EQ(battle->mental, 1.0f);
    EXPECT_EQ(battle->image, "Foe");

    // A choice keeps its own kind; a random's "action" children are alternatives, not its chain.
    auto* popup = static_cast<ActionItemPopup*>(
        Only(R"(<action popup="" title="T"><choice id="Fight" battle="" /><choice id="Run"/></action>)"));
    ASSERT_EQ(popup->choices.Size(), 2);
    EXPECT_EQ(popup->choices.Get2(0)->Kind(), ActionKind::Battle);
    EXPECT_EQ(popup->choices.Get2(0)->type, "choice");
    auto* random = static_cast<ActionItemRandom*>(Only(R"(<action random=""><action/><action/></action>)"));
    EXPECT_EQ(random->actions.Size(), 2);
    EXPECT_FALSE(random->nextAction);

    Actions::LoadText("test.xml", R"(<a><City-Act3 id="City-Act3"><action arrow="true" guiid="location"/>)"
                                  R"(</City-Act3><x id="Dungeon"><action arrow="1"/></x></a>)");
    auto& locations = Actions::actionLocations;
    auto* onMap = static_cast<ActionItemArrow*>(locations[locations.size() - 2]->actions.Get2(0).get());
    auto* elsewhere = static_cast<ActionItemArrow*>(locations.back()->actions.Get2(0).get());
    EXPECT_EQ(onMap->map + onMap->add * 10, 11);
    EXPECT_EQ(elsewhere->map + elsewhere->add * 10, 0);
}

TEST_F(ActionsTest, FlagAndConditionListsFollowTheGrammar) {
    auto* a =
        Only(R"(<action><flags/><conditions>)"
             R"(<flag name="Flag.Act" value="2" type="higher" or="1"/><flag name="Quest.Q" value="3"/>)"
             R"(<flag name="A" value="1" or=""/></conditions>)"
             R"(<flags><flag name="M" value="1" add="2"/><flag name="N" add="-3"/><flag name="O"/></flags>)"
             R"(<action id="n1"/><action id="n2"/></action>)");
    ASSERT_TRUE(a->conditions);
    ASSERT_EQ(a->conditions->Size(), 2);  // the chain left open at the end still counts
    EXPECT_EQ(a->conditions->Get2(0)->name, "Quest.Q");
    EXPECT_EQ(a->conditions->Get2(0)->eor->name, "Flag.Act");
    ASSERT_TRUE(a->flags);  // the later flags element replaced the empty one
    ASSERT_EQ(a->flags->Size(), 2);
    EXPECT_EQ(a->flags->Get2(0)->value, "1");  // value wins over add
    EXPECT_EQ(a->flags->Get2(1)->add, 1);
    EXPECT_EQ(a->nextAction->id, "n2");

    // Either side of the or-chain lets the action fire; the other entry must hold too.
    Profile::SetFlagInt("Quest.Q", 3);
    EXPECT_EQ(a->Check(), 0);
    Profile::SetFlagInt("Flag.Act", 2);
    EXPECT_EQ(a->Check(), 0);
    Profile::SetFlagInt("A", 1);
    EXPECT_EQ(a->Check(), 1);
    Profile::SetFlagInt("Quest.Q", 4);
    Profile::SetFlagInt("Flag.Act", 1);
    EXPECT_EQ(a->Check(), 0);
}

TEST_F(ActionsTest, BadFilesAndUnknownIdsAreToldOnceWithTheirFile) {
    ActionReferences::SetLookup(ReferenceKind::Dialogue, [](const std::string& id) { return id == "hello"; });
    ActionReferences::SetLookup(ReferenceKind::Location, [](const std::string& id) { return id == "Gym"; });
    ActionReferences::SetLookup(ReferenceKind::Quest, [](const std::string& id) { return id == "Easy"; });
    ActionReferences::makeBattlePower = [](const std::string& id, int level) {
        return id == "Jab" ? std::make_shared<PuzzleActorPower>(nullptr, level) : nullptr;
    };
    testing::internal::CaptureStdout();
    // A broken or missing file ends start-up, after a line naming it.
    EXPECT_THROW(Actions::LoadText("data/act2.xml", "<actions><location id=\"x\"></actions>"),
                 XMLParseException);
    EXPECT_THROW(Actions::Load("data/no-such-file.xml"), XMLParseException);
    Actions::LoadText("data/act1.xml",
                      R"(<actions><location><action/></location><location id="City-Act1">)"
                      R"(<action id="a1" dialogue="helo"><conditions>)"
                      R"(<flag name="ArriveAt" value="Gmy"/><flag name="ArriveAt" value="burglar"/>)"
                      R"(<flag name="Quest.Easy" value="1"/></conditions>)"
                      R"(<flags><flag name="Quest.Hard" add="1"/><flag name="Quest.Hard" add="1"/>)"
                      R"(</flags><action dialogue="hello"/></action>)"
                      R"(<action battle="" image="F"><power id="Jab" level="2"/>)"
                      R"(<power id="Nope" level="1"/></action></location></actions>)");
    // The events of a quest's dungeon are actions too.
    XMLParser parser;
    const auto event = parser.ParseString(R"(<action id="chest" dialogue="hullo"/>)");
    auto quest = std::make_shared<QuestItem>();
    quest->statuses.Add(std::make_shared<QuestStatus>());
    quest->statuses.Get2(0)->dungeon = std::make_shared<Dungeon>();
    quest->statuses.Get2(0)->dungeon->tiles.Add(std::make_shared<DungeonTile>());
    quest->statuses.Get2(0)->dungeon->tiles.Get2(0)->action =
        Actions::ParseAction(event->Root(), "", "data/quests.xml");
    Quests::allQuests.Add(quest);
    EXPECT_EQ(ActionReferences::CheckAll(), 4);
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string missing =
        std::filesystem::absolute(platform::MapPath(platform::DataPath("data/no-such-file.xml")))
            .lexically_normal();
    EXPECT_EQ(
        out,
        "Error loading data/act2.xml at line 1 - XMLParser.ParseString: Closing tag \"actions\" does not "
        "match opening tag \"location\"\n"
        "Error loading data/no-such-file.xml: the file is missing (" +
            missing +
            ") - XMLParser.ParseString: Something "
            "seriously wrong... no tags!\n"
            "Actions: data/act1.xml: <location> without an id is skipped\n"
            "Actions: data/act1.xml: action (no id) in location \"City-Act1\" names unknown power \"Nope\" "
            "(left out)\n"
            "Actions: data/act1.xml: action \"a1\" names unknown dialogue \"helo\"\n"
            "Actions: data/act1.xml: action \"a1\" names unknown location \"Gmy\"\n"
            "Actions: data/act1.xml: action \"a1\" names unknown quest \"Hard\"\n"
            "Actions: data/quests.xml: action \"chest\" names unknown dialogue \"hullo\"\n");
    Quests::InitGlobals();
    // The readable file still loaded.
    ASSERT_EQ(Actions::actionLocations.size(), 1u);
    ASSERT_EQ(Actions::actionLocations[0]->actions.Size(), 2);
    auto* battle = static_cast<ActionItemBattle*>(Actions::actionLocations[0]->actions.Get2(1).get());
    ASSERT_EQ(battle->powers.Size(), 1);
    EXPECT_EQ(battle->powers.Get2(0)->level, 2);
}

TEST_F(ActionsTest, TheEngineFiresTheFirstHoldingActionAndRunsItsChain) {
    Actions::LoadText("data/act1.xml", R"(<actions>
      <location id="City-Act1">
        <action id="gym" dialogue="gym_talk"><conditions><flag name="ArriveAt" value="Gym"/></conditions>
          <flags><flag name="Attribute.Strength" add="5"/><flag name="Resource.Money" add="-30"/>
                 <flag name="Resource.Reputation" add="2"/><flag name="Flag.Seen" value="yes"/></flags>
          <action><conditions><flag name="Game.JobWin" value="1"/></conditions>
            <flags><flag name="Flag.Act" value="2"/></flags></action>
        </action>
        <action id="later" dialogue="never"/>
      </location>
      <location id="City-Act2"><action id="two" dialogue="act2_talk"/></location>
      <location id="City"><action id="any" dialogue="city_talk"/></location>
    </actions>)");
    Profile::SetFlagInt("Flag.Act", 1);
    Profile::flagsDirty = 0;
    EXPECT_EQ(Actions::Check(""), 0);  // nothing changed, nothing runs
    EXPECT_TRUE(started.empty());

    Profile::SetFlagString("ArriveAt", "Gym");
    EXPECT_EQ(Actions::Check(""), 1);
    EXPECT_EQ(started, std::vector<std::string>{"dialogue gym_talk"});
    EXPECT_EQ(Profile::GetFlagInt("ID.gym"), 1);
    EXPECT_EQ(Profile::GetFlagInt("Attribute.Strength"), 5);
    EXPECT_EQ(Profile::GetFlagString("Flag.Seen"), "yes");
    EXPECT_EQ(numbers, (std::vector<std::string>{"Strength +5/2", "-$30/4", "+2/1"}));

    // The chain waits for its condition; a failed continuation ends it and saves.
    Profile::SetFlagInt("Game.JobWin", 1);
    EXPECT_EQ(Actions::Check(""), 1);
    EXPECT_EQ(Profile::GetFlagInt("Flag.Act"), 2);
    EXPECT_FALSE(Exists(StateFile()));
    EXPECT_EQ(Step(), 1);  // chain over (saved), then the new act's first action
    EXPECT_TRUE(Exists(StateFile()));
    EXPECT_EQ(started.back(), "dialogue act2_talk");

    // Back in act 1 the done action is no candidate; "later" comes before the shared "City" one.
    Profile::SetFlagInt("Flag.Act", 1);
    EXPECT_EQ(Step(), 1);
    EXPECT_EQ(Step(), 1);
    EXPECT_EQ(started.back(), "dialogue city_talk");
    EXPECT_EQ(started[started.size() - 2], "dialogue never");
    EXPECT_EQ(Step(), 0);
}

TEST_F(ActionsTest, StoppedOrDoneCandidatesNeverHoldTheMapUp) {
    Actions::LoadText("data/act1.xml", R"(<actions><location id="City-Act1">
        <action id="again" remove="false" dialogue="d"/>
        <action id="next" dialogue="e"/></location></actions>)");
    Profile::SetFlagInt("Flag.Act", 1);
    Profile::SetFlagString("Flag.StopActions", "1");
    EXPECT_EQ(Step(), 1);
    EXPECT_TRUE(started.empty());
    Profile::SetFlagString("Flag.StopActions", "");
    EXPECT_EQ(Step(), 1);
    EXPECT_EQ(Step(), 1);  // "again" is done: it leaves the candidates although it is kept
    EXPECT_EQ(Step(), 1);
    EXPECT_EQ(started, (std::vector<std::string>{"dialogue d", "dialogue e"}));
    EXPECT_EQ(Step(), 0);
}

TEST_F(ActionsTest, PopupsButtonsAndRandomPicksAnswerSafely) {
    auto* popup = static_cast<ActionItemPopup*>(Only(R"(<action id="ask" popup="" text="?">
        <choice id="Yes"><conditions><flag name="Ok" value="1"/></conditions>
          <flags><flag name="Said" value="yes"/></flags></choice>
        <choice id="No"><flags><flag name="Said" value="no"/></flags></choice></action>)"));
    Profile::SetFlagString("Game.ForceChoice", "Yes");  // its conditions fail: asked as usual
    popup->Activate();
    EXPECT_EQ(started.back(), "popup ask 1");
    EXPECT_EQ(Profile::GetFlagString("Game.ForceChoice"), "Yes");
    Profile::SetFlagInt("Ok", 1);
    popup->Activate();
    EXPECT_EQ(Profile::GetFlagString("Said"), "yes");
    EXPECT_EQ(Profile::GetFlagString("Game.ForceChoice"), "");

    // Answering: a choice runs once; a click on what is no longer offered finds nothing.
    popup->Activate();
    ActionItem* no = Actions::FindChoice("No");
    ASSERT_NE(no, nullptr);
    Actions::AnswerChoice(no);
    EXPECT_EQ(Profile::GetFlagString("Said"), "no");
    EXPECT_EQ(Profile::GetFlagInt("ID.No"), 0);  // choices set no done-marker
    EXPECT_EQ(Actions::FindChoice("No"), nullptr);

    // Leaving while the question is open takes its done-marker back.
    popup->Activate();
    EXPECT_EQ(Profile::GetFlagInt("ID.ask"), 1);
    Actions::ReleasePendingAnswers();
    EXPECT_EQ(Profile::GetFlagString("ID.ask"), "");

    // Nothing to offer: no popup at all.
    Profile::SetFlagInt("Ok", 0);
    auto* closed = Only(R"(<action popup=""><choice id="Yes"><conditions><flag name="Ok" value="1"/>)"
                        R"(</conditions></choice></action>)");
    const size_t shown = started.size();
    testing::internal::CaptureStdout();
    closed->Activate();
    EXPECT_NE(testing::internal::GetCapturedStdout().find("offers no choice"), std::string::npos);
    EXPECT_EQ(started.size(), shown);
    EXPECT_EQ(Actions::pendingPopup, nullptr);

    auto* button = Only(R"(<action id="b" button="Gym"><action><flags><flag name="Went" value="1"/>)"
                        R"(</flags></action></action>)");
    button->Activate();
    EXPECT_EQ(Actions::currentAction, nullptr);
    ActionItem* clicked = Actions::FindButton("Gym");
    ASSERT_EQ(clicked, button);
    Actions::AnswerButton(clicked);
    EXPECT_EQ(Profile::GetFlagInt("Went"), 1);
    EXPECT_EQ(Actions::FindButton("Gym"), nullptr);  // a stale button answers nothing

    auto* random =
        Only(R"(<action id="r" random=""><flags><flag name="Rolled" value="1"/></flags>)"
             R"(<action><conditions><flag name="Never" value="1"/></conditions></action></action>)");
    random->Activate();
    EXPECT_EQ(Profile::GetFlagInt("Rolled") + Profile::GetFlagInt("ID.r"), 2);

    auto* lone = static_cast<ActionItemDialogue*>(Only(R"(<action dialogue="$"/>)"));
    auto* indirect = static_cast<ActionItemDialogue*>(Only(R"(<action dialogue="$Game.Next$"/>)"));
    Profile::SetFlagString("Game.Next", "chosen");
    EXPECT_EQ(lone->DialogueId(), "$");
    EXPECT_EQ(indirect->DialogueId(), "chosen");
}

}  // namespace
