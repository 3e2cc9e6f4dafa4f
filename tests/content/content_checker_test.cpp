// The content checker on damaged copies of the baked data: each broken reference comes out as one
// line naming its file and element, and references the game did not follow at start-up before
// (the events of dungeon tiles, quest conditions) are followed too.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "tests/checker/checker.hpp"
#include "tests/support/data_copy.hpp"

namespace {

// The first match of `pattern` in the copy's file: the whole match, then its groups; empty when
// nothing matches.
std::vector<std::string> Find(const harness::DataCopy& copy, const std::string& file,
                              const std::string& pattern) {
    const std::string text = copy.Read(file);
    std::smatch match;
    if (!std::regex_search(text, match, std::regex(pattern))) return {};
    return std::vector<std::string>(match.begin(), match.end());
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines) all += line + "\n";
    return all;
}

}  // namespace

TEST(ContentChecker, NamesEachBrokenReferenceWithItsFileAndElement) {
    harness::DataCopy copy;
    // An action that names a dialogue nobody wrote.
    const std::vector<std::string> talk =
        Find(copy, "data/act1.xml", R"re(<action id="([^"]+)" dialogue="([^"]+)")re");
    ASSERT_FALSE(talk.empty());
    const std::string talker = talk[1];
    ASSERT_TRUE(
        copy.Replace("data/act1.xml", talk[0], "<action id=\"" + talker + "\" dialogue=\"no_such_talk\""));

    // An opponent with a power the power table lacks.
    const std::vector<std::string> power = Find(copy, "data/act1.xml", R"re(<power id="([^"]+)")re");
    ASSERT_FALSE(power.empty());
    ASSERT_TRUE(copy.Replace("data/act1.xml", power[0], "<power id=\"Noodle Slap\""));

    // A place on a corner of the city no street reaches.
    const std::vector<std::string> place =
        Find(copy, "data/locations.xml", R"re(<location id="([^"]+)" node="(\d+)")re");
    ASSERT_FALSE(place.empty());
    const std::string placeId = place[1];
    ASSERT_TRUE(copy.Replace("data/locations.xml", place[0], "<location id=\"" + placeId + "\" node=\"99\""));

    // A dungeon tile's event and a quest condition naming what does not exist.
    const std::vector<std::string> tile = Find(copy, "data/quests.xml", R"re(<action dialogue="([^"]+)")re");
    ASSERT_FALSE(tile.empty());
    ASSERT_TRUE(copy.Replace("data/quests.xml", tile[0], "<action dialogue=\"no_such_burrow\""));
    const std::vector<std::string> upgrade = Find(copy, "data/quests.xml", R"re(name="Upgrade\.([^"]+)")re");
    ASSERT_FALSE(upgrade.empty());
    ASSERT_TRUE(copy.Replace("data/quests.xml", upgrade[0], "name=\"Upgrade.Jetpack\""));

    // A font the loading screen reads, with a glyph of absurd metrics.
    const std::vector<std::string> glyph = Find(copy, "Yikes16.txt", R"re(\n65,[^\n]*)re");
    ASSERT_FALSE(glyph.empty());
    ASSERT_TRUE(copy.Replace("Yikes16.txt", glyph[0], "\n65,0,0,20,2147483647,0,0,2147483647,0"));

    const std::vector<std::string> lines = checker::CheckDataFolder(copy.Root());
    const std::string all = Joined(lines);
    EXPECT_TRUE(Has(
        lines, "Actions: data/act1.xml: action \"" + talker + "\" names unknown dialogue \"no_such_talk\""))
        << all;
    EXPECT_NE(all.find("data/act1.xml: action "), std::string::npos) << all;
    EXPECT_NE(all.find(" names unknown power \"Noodle Slap\" (left out)"), std::string::npos) << all;
    EXPECT_NE(all.find("data/locations.xml: location \"" + placeId + "\" stands on node 99"),
              std::string::npos)
        << all;
    EXPECT_NE(all.find("Actions: data/quests.xml: dungeon tile \""), std::string::npos) << all;
    EXPECT_NE(all.find("names unknown dialogue \"no_such_burrow\""), std::string::npos) << all;
    EXPECT_NE(all.find("Actions: data/quests.xml: quest \""), std::string::npos) << all;
    EXPECT_NE(all.find("names unknown upgrade \"Jetpack\""), std::string::npos) << all;
    EXPECT_NE(all.find("Font Yikes16: Yikes16.txt has 1 lines with numbers beyond"), std::string::npos)
        << all;
}
