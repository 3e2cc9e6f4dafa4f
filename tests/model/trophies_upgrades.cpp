// Trophies earned one notice at a time and kept for every character; base upgrade levels found by
// what the hero owns, with lines the base does not sell reported at load.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "tests/model/table_fixture.hpp"

namespace {

std::vector<std::string> notices;
int noticeOnScreen = 0;

using TrophyRules = tabletest::TableTest;
using UpgradeRules = tabletest::TableTest;

TEST_F(TrophyRules, OneTrophyPerCheckEachAfterTheLastNoticeAndEarnedForEveryCharacter) {
    notices.clear();
    noticeOnScreen = 0;
    Trophies::views.show = [](const TrophyItem& t) {
        notices.push_back(t.id + " " + std::to_string(t.index));
    };
    Trophies::views.noticeShowing = [] { return noticeOnScreen; };
    Trophies::Load(
        Write("trophies.xml",
              "<trophies><trophy id=\"Old\" index=\"1\"/><trophy id=\"Never\" index=\"2\"><conditions>"
              "<flag name=\"Game.X\" value=\"9\"/></conditions></trophy><trophy id=\"Free\" index=\"3\"/>"
              "<trophy id=\"Worker\" index=\"4\"><conditions><flag name=\"Game.JobCount\" value=\"5\" "
              "type=\"higher\" or=\"1\"/><flag name=\"Game.Boss\" value=\"1\"/></conditions></trophy>"
              "</trophies>"));
    Profile::SetGlobalFlagInt("Trophy.Old", 1);
    Trophies::Clear();
    ASSERT_EQ(Trophies::pending.Size(), 3);

    Profile::SetFlagInt("Game.Boss", 1);
    Trophies::Check();
    EXPECT_EQ(notices, (std::vector<std::string>{"Free 3"}));
    EXPECT_EQ(Profile::GetGlobalFlagInt("Trophy.Free"), 1);
    noticeOnScreen = 1;
    Trophies::Check();
    EXPECT_EQ(notices.size(), 1u) << "the next trophy waits until the notice has gone";
    noticeOnScreen = 0;
    Trophies::Check();
    Trophies::Check();
    EXPECT_EQ(notices, (std::vector<std::string>{"Free 3", "Worker 4"}));
    EXPECT_EQ(Profile::GetGlobalFlagInt("Trophy.Worker"), 1);

    // Another character: what was earned stays earned.
    Profile::slotFlags = std::make_shared<FlagList>();
    Trophies::Clear();
    ASSERT_EQ(Trophies::pending.Size(), 1);
    EXPECT_EQ(Trophies::pending.Get2(0)->id, "Never");
}

TEST_F(UpgradeRules, TheNextAndTheOwnedLevelFollowTheProfileAndUnknownLinesAreReported) {
    const std::string path =
        Write("upgrades.xml",
              "<upgrades>\n"
              " <upgrade id=\"Heroic Power\" level=\"1\" cost=\"50\" text=\"One.\"/>\n"
              " <upgrade id=\"Heroic Power\" level=\"2\" cost=\"200\" text=\"Two.\">\n"
              "  <conditions><flag name=\"Quest.Easy\" value=\"1\"/></conditions>\n"
              "  <conditions><flag name=\"Quest.Easy\" value=\"3\" type=\"higher\"/></conditions>\n"
              " </upgrade>\n"
              " <upgrade id=\"Laser Moat\" level=\"1\" cost=\"10\"/>\n"
              "</upgrades>\n");
    testing::internal::CaptureStdout();
    Upgrades::Load(path);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              path + ": upgrade \"Laser Moat\" is not one of the base's upgrades; it is left out\n");
    ASSERT_EQ(Upgrades::upgrades.Size(), 2);

    ASSERT_NE(Upgrades::Get("Heroic Power", 0), nullptr);
    EXPECT_EQ(Upgrades::Get("Heroic Power", 0)->cost, 50);
    EXPECT_EQ(Upgrades::Get("Heroic Power", 0)->Check(), 1) << "no conditions: always for sale";
    EXPECT_EQ(Upgrades::Get("Heroic Power", 1), nullptr) << "nothing owned yet";

    Profile::SetFlagInt("Upgrade.Heroic Power", 1);
    EXPECT_EQ(Upgrades::Get("Heroic Power", 1)->text, "One.");
    UpgradeItem* next = Upgrades::Get("Heroic Power", 0);
    ASSERT_NE(next, nullptr);
    // The last conditions child counts.
    Profile::SetFlagInt("Quest.Easy", 1);
    EXPECT_EQ(next->Check(), 0);
    Profile::SetFlagInt("Quest.Easy", 3);
    EXPECT_EQ(next->Check(), 1);

    // Complete lines, and the "new upgrade" message asking for a line that does not exist.
    Profile::SetFlagInt("Upgrade.Heroic Power", 2);
    EXPECT_EQ(Upgrades::Get("Heroic Power", 0), nullptr);
    EXPECT_EQ(Upgrades::Get("Laser Moat", 1), nullptr);
    Profile::SetFlagInt("Upgrade.Heroic Power", INT_MAX);
    EXPECT_EQ(Upgrades::Get("Heroic Power", 0), nullptr);
}

}  // namespace
