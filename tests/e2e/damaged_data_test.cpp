// The game on damaged copies of its data: for every XML data file, a copy without the file, one
// with the file cut in half and one where an id the file names is changed to one nothing holds;
// for the fonts, the same; and hostile files (pictures declaring vast sizes, nesting thousands
// deep, absurd font metrics, a file far larger than any content). The game never crashes: it
// prints a line naming the file, then either plays on without the broken piece or, for a table
// it cannot play without, ends with the reader's fatal error.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "framework/framework.hpp"
#include "tests/support/data_copy.hpp"
#include "tests/support/harness.hpp"

namespace {

// Every table the game reads at start-up. Without any of them the story cannot be finished.
const char* const kFiles[] = {
    "data/preactions.xml", "data/act1.xml",      "data/act2.xml",       "data/act3.xml",
    "data/act4.xml",       "data/act5.xml",      "data/act6.xml",       "data/actions.xml",
    "dialogues/main.xml",  "dialogues/act1.xml", "dialogues/act2.xml",  "dialogues/act3.xml",
    "dialogues/act4.xml",  "dialogues/act5.xml", "dialogues/act6.xml",  "data/powers.xml",
    "data/locations.xml",  "data/quests.xml",    "data/upgrades.xml",   "data/trophies.xml",
    "animations/main.xml", "animations/fx.xml",
};

// The references a file makes, most telling first; the first one the file holds is the one broken.
// Its captured part is replaced by a name that nothing holds.
const char* const kReferences[] = {
    R"re(dialogue="([^"$]+)")re",   // an action's dialogue
    R"re(fx="([^"]+)")re",          // a power's effect script
    R"re(node="(\d+)")re",          // a place's crossing
    R"re(<sound id="(\d+)")re",     // a script's sound
    R"re(<goto id="([^"]+)")re",    // a dialogue's jump
    R"re(<text id="([^"]+)")re",    // a dialogue's speaker
    R"re(<flag name="([^"]+)")re",  // a key: made to name a quest nobody wrote
};

std::string BreakOneReference(const std::string& text) {
    for (const char* reference : kReferences) {
        std::smatch match;
        if (!std::regex_search(text, match, std::regex(reference))) continue;
        const std::string pattern = reference;
        std::string unknown = "zz_nobody";
        if (pattern.find("node") != std::string::npos) unknown = "99";
        if (pattern.find("sound") != std::string::npos) unknown = "99";
        if (pattern.find("flag") != std::string::npos) unknown = "Quest.Zz Nobody";
        const auto at = static_cast<size_t>(match.position(1));
        return text.substr(0, at) + unknown + text.substr(at + match.length(1));
    }
    return "";
}

struct Outcome {
    bool started = false;
    bool runs = false;
    int status = 0;
    std::string report;
    std::string printed;
};

// Starts the game on the copy and lets it run a second of frames.
Outcome Play(const harness::DataCopy& copy) {
    Outcome outcome;
    harness::Harness game;
    game.SetDataRoot(copy.Root());
    testing::internal::CaptureStdout();
    outcome.started = game.Start();
    outcome.runs = outcome.started && game.Step(60) && game.Running();
    outcome.printed = testing::internal::GetCapturedStdout();
    outcome.status = game.ExitStatus();
    outcome.report = game.LastReport();
    return outcome;
}

class DamagedData : public testing::TestWithParam<const char*> {};

TEST_P(DamagedData, AMissingOrBrokenTableEndsStartUpNamingItAndAnUnknownIdIsToldAndPlayedOn) {
    const std::string path = GetParam();

    harness::DataCopy missing;
    missing.Remove(path);
    harness::DataCopy halved;
    const std::string whole = halved.Read(path);
    ASSERT_FALSE(whole.empty()) << path << " is not in the baked data";
    halved.Write(path, whole.substr(0, whole.size() / 2));
    harness::DataCopy unknown;
    const std::string broken = BreakOneReference(whole);
    ASSERT_FALSE(broken.empty()) << path << " names nothing another table holds";
    unknown.Write(path, broken);

    for (const auto& [how, copy] :
         {std::pair<const char*, const harness::DataCopy*>{"missing", &missing}, {"cut in half", &halved}}) {
        SCOPED_TRACE(path + " " + how);
        const Outcome outcome = Play(*copy);
        EXPECT_NE(outcome.printed.find(path), std::string::npos) << outcome.printed;
        EXPECT_FALSE(outcome.runs);
        EXPECT_EQ(outcome.status, 1);
        // A missing file reads as empty text, which the reader refuses with its "no tags" error.
        const std::string error = copy == &missing
                                      ? "XMLParser.ParseString: Something seriously wrong... no tags!"
                                      : "XMLParseException: XMLParser.";
        EXPECT_NE(outcome.report.find(error), std::string::npos) << outcome.report;
    }

    SCOPED_TRACE(path + " with an unknown id");
    const Outcome outcome = Play(unknown);
    EXPECT_TRUE(outcome.runs) << outcome.report;
    EXPECT_NE(outcome.printed.find(path), std::string::npos) << outcome.printed;
}

// The bitmap fonts, read at start-up ("n") and by the loading screen (the rest): without one, or
// with part of one, the game goes on to the title and draws what it can.
class DamagedFont : public testing::TestWithParam<const char*> {};

TEST_P(DamagedFont, TheGameNamesTheFileAndReachesTheTitle) {
    const std::string path = std::string(GetParam()) + ".txt";
    harness::DataCopy missing;
    missing.Remove(path);
    harness::DataCopy halved;
    const std::string whole = halved.Read(path);
    ASSERT_FALSE(whole.empty()) << path << " is not in the baked data";
    // Cut inside a line, as a copy that broke off would be.
    size_t half = whole.size() / 2;
    if (whole[half - 1] == '\n') half -= 2;
    halved.Write(path, whole.substr(0, half));
    // A glyph for a code no font can have.
    harness::DataCopy unknown;
    const std::string glyph = "\n65,";
    ASSERT_TRUE(unknown.Replace(path, glyph, "\n300,"));

    for (const auto& [how, copy] : {std::pair<const char*, const harness::DataCopy*>{"missing", &missing},
                                    {"cut in half", &halved},
                                    {"with an unknown glyph", &unknown}}) {
        SCOPED_TRACE(path + " " + how);
        harness::Harness game;
        game.SetDataRoot(copy->Root());
        game.OpenAsPlayed();
        testing::internal::CaptureStdout();
        bool title = game.Start();
        for (int frame = 0; title && frame < 2000; ++frame) {
            if (briskGame->currentScreen && briskGame->currentScreen->name == "Title") break;
            // A click now and then skips the splash pictures.
            game.MouseButton(0, frame % 20 == 10);
            title = game.Step();
        }
        title =
            title && briskGame->currentScreen && briskGame->currentScreen->name == "Title" && game.Step(30);
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(title) << game.LastReport();
        EXPECT_NE(printed.find(path), std::string::npos) << printed;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFont, DamagedFont,
                         testing::Values("YikesH96", "YikesH64", "YikesH32", "YikesH24", "YikesH16",
                                         "Yikes32", "Yikes24", "Yikes16"));

INSTANTIATE_TEST_SUITE_P(EveryFile, DamagedData, testing::ValuesIn(kFiles), [](const auto& info) {
    std::string name = info.param;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
});

}  // namespace
