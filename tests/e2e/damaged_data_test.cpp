// The game on damaged copies of its data: for every XML data file, a copy without the file, one
// with the file cut in half and one where an id the file names is changed to one nothing holds;
// for the fonts, the same; and hostile files (pictures declaring vast sizes, nesting thousands
// deep, absurd font metrics, a file far larger than any content). The game never crashes: it
// prints a line naming the file, then either plays on without the broken piece or, for a table
// it cannot play without, ends with the reader's fatal error.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "tests/support/data_copy.hpp"
#include "tests/support/harness.hpp"

namespace {

// Every table the game reads at start-up. Without any of them the story cannot be finished.
const char* const kFiles[] = {
    "data/preactions.xml", "data/act1.xml",      "data/act2.xml",      "data/act3.xml",
    "data/act4.xml",       "data/act5.xml",      "data/act6.xml",      "data/actions.xml",
    "dialogues/main.xml",  "dialogues/act1.xml", "dialogues/act2.xml", "dialogues/act3.xml",
    "dialogues/act4.xml",  "dialogues/act5.xml", "dialogues/act6.xml", "data/powers.xml",
    "data/locations.xml",  "data/quests.xml",    "data/upgrades.xml",  "data/trophies.xml",
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

// What a player sees of the opening: the game started as played and run to the title (a click now
// and then skips the splash pictures) and `titleFrames` frames of it, or until it ended.
struct Opening {
    bool title = false;
    int status = 0;
    std::string report;
    std::string printed;
};

Opening OpenToTitle(const harness::DataCopy& copy, int titleFrames = 30) {
    Opening opening;
    harness::Harness game;
    game.SetDataRoot(copy.Root());
    game.OpenAsPlayed();
    testing::internal::CaptureStdout();
    bool runs = game.Start();
    auto atTitle = [] { return briskGame->currentScreen && briskGame->currentScreen->name == "Title"; };
    for (int frame = 0; runs && frame < 2000 && !atTitle(); ++frame) {
        game.MouseButton(0, frame % 20 == 10);
        runs = game.Step();
    }
    opening.title = runs && atTitle() && game.Step(titleFrames);
    opening.printed = testing::internal::GetCapturedStdout();
    opening.status = game.ExitStatus();
    opening.report = game.LastReport();
    return opening;
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
        const Opening opening = OpenToTitle(*copy);
        EXPECT_TRUE(opening.title) << opening.report;
        EXPECT_NE(opening.printed.find(path), std::string::npos) << opening.printed;
    }
}

// Hostile files, made small here: a picture header that declares a vast size, with nothing behind.
std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

std::string BigEndian(uint32_t v, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
}

uint32_t Crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string PngDeclaring(uint32_t w, uint32_t h) {
    const std::string ihdr = "IHDR" + BigEndian(w, 4) + BigEndian(h, 4) + Bytes({8, 6, 0, 0, 0});
    const std::string idat = "IDAT";
    return Bytes({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}) + BigEndian(13, 4) + ihdr +
           BigEndian(Crc32(ihdr), 4) + BigEndian(0, 4) + idat + BigEndian(Crc32(idat), 4);
}

std::string JpegDeclaring(uint32_t w, uint32_t h) {
    return Bytes({0xFF, 0xD8, 0xFF, 0xC0, 0, 17, 8}) + BigEndian(h, 2) + BigEndian(w, 2) +
           Bytes({3, 1, 0x11, 0, 2, 0x11, 0, 3, 0x11, 0, 0xFF, 0xDA, 0, 12, 3, 1, 0, 2, 0, 3, 0, 0, 63, 0}) +
           std::string(64, '\0');
}

// The first line of `text` that holds both `first` and `second`.
std::string LineWith(const std::string& text, const std::string& first, const std::string& second) {
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(at, end - at);
        if (line.find(first) != std::string::npos && line.find(second) != std::string::npos) return line;
        at = end + 1;
    }
    return "";
}

TEST(HostileData, VastPicturesAndAbsurdFontsAreRefusedAndNestedOrHugeTablesEndStartUpNamingTheFile) {
    {
        SCOPED_TRACE("pictures declaring 16384 x 16384, a font with absurd metrics");
        harness::DataCopy copy;
        copy.Write("Yikes24.png", PngDeclaring(16384, 16384));
        copy.Write("Splash1.jpg", JpegDeclaring(16384, 16384));
        const std::string font = copy.Read("Yikes16.txt");
        const size_t at = font.find("\n65,") + 1;
        ASSERT_NE(at, 0u);
        const std::string glyph = font.substr(at, font.find('\n', at) - at);
        ASSERT_TRUE(copy.Replace("Yikes16.txt", glyph, "65,0,0,20,2147483647,0,2147483647,2147483647,0"));
        // The opening as played: the first splash picture loads with the first frame.
        harness::Harness game;
        game.SetDataRoot(copy.Root());
        game.OpenAsPlayed();
        testing::internal::CaptureStdout();
        const bool runs = game.Start() && game.Step(30) && game.Running();
        GlyphFont small("Yikes16");
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(runs) << game.LastReport();
        for (const char* file : {"Yikes24.png", "Splash1.jpg"})
            EXPECT_NE(LineWith(printed, "Error loading image", file).find("16384x16384"), std::string::npos)
                << printed;
        EXPECT_NE(LineWith(printed, "Font Yikes16", "beyond"), "") << printed;
        EXPECT_GE(small.TextWidth("AAAA"), 0);
        EXPECT_LT(small.TextHeight("A"), 1000);
    }

    // Each of these ends start-up, naming the file and what is wrong with it. (Empty text: the real
    // file grown past 32 MB by a hole that takes no disk.)
    auto nested = [](const std::string& open, const std::string& element, const std::string& close) {
        std::string text = open;
        for (int i = 0; i < 30000; ++i) text += "<" + element + ">\n";
        for (int i = 0; i < 30000; ++i) text += "</" + element + ">";
        return text + close;
    };
    std::string chain = "<actions><location id=\"City-Act1\">";
    for (int i = 0; i < 100; ++i) chain += "<action>";
    for (int i = 0; i < 100; ++i) chain += "</action>";
    chain += "</location></actions>";
    const std::tuple<const char*, std::string, const char*> endings[] = {
        {"data/act1.xml",
         nested("<actions>\n<location id=\"City-Act1\">\n", "action", "</location></actions>"), " at line "},
        {"dialogues/act2.xml",
         nested("<dialogues>\n<dialogue id=\"deep\">\n", "text", "</dialogue></dialogues>"), " at line "},
        {"data/act3.xml", chain, "in location \"City-Act1\""},
        {"data/act4.xml", "", " MB"},
    };
    for (const auto& [file, text, told] : endings) {
        SCOPED_TRACE(file);
        harness::DataCopy copy;
        if (text.empty()) {
            std::filesystem::resize_file(copy.Root() + "/data/" + file, std::uintmax_t{33} << 20);
        } else {
            copy.Write(file, text);
        }
        const Outcome outcome = Play(copy);
        EXPECT_FALSE(outcome.runs);
        EXPECT_EQ(outcome.status, 1);
        const std::string line = LineWith(outcome.printed, "Error loading", file);
        EXPECT_NE(line.find(told), std::string::npos) << outcome.printed;
    }
}

// Damaged files of every kind, each told in one line that names the file and what is wrong with
// it: steps scaled past all reason (refused at load), a track that is no music, a picture cut short,
// and, ending the game, a table empty, missing, saved as UTF-16 or broken at a line, no data folder
// at all, and an atlas empty or cut short. A report that ends the game shows no raw addresses.
TEST(HostileData, EachDamagedFileIsToldInALineNamingItAndWhatIsWrongWithIt) {
    {
        SCOPED_TRACE("played on");
        harness::DataCopy copy;
        ASSERT_TRUE(copy.Replace("animations/fx.xml", "scale=\"0.6\"", "scale=\"1e8\""));
        ASSERT_TRUE(copy.Replace("animations/fx.xml", "scale=\"1\"", "scale=\"1e39\""));
        ASSERT_TRUE(copy.Replace("animations/main.xml", "scale=\"50\"", "scale=\"100000000\""));
        copy.Write("music/a_champions_call.ogg", "not music");
        const std::string splash = copy.Read("Splash1.jpg");
        copy.Write("Splash1.jpg", splash.substr(0, splash.size() / 3));
        // The title's music starts with its logo, after a moment.
        const Opening opening = OpenToTitle(copy, 150);
        const std::string& out = opening.printed;
        EXPECT_TRUE(opening.title) << opening.report;
        EXPECT_NE(LineWith(out, "animations/fx.xml", "scale \"1e8\" refused (more than a hundred"), "")
            << out;
        EXPECT_NE(LineWith(out, "animations/fx.xml", "scale \"1e39\" refused (not a number)"), "") << out;
        EXPECT_NE(LineWith(out, "animations/main.xml", "scale \"100000000\" refused"), "") << out;
        EXPECT_NE(LineWith(out, "Error Playing Music - Music must be in the data\\music folder",
                           "music/a_champions_call.ogg: the file is not an Ogg file"),
                  "")
            << out;
        EXPECT_NE(LineWith(out, "Image Splash1.jpg", "is damaged (Premature end of JPEG file)"), "") << out;
    }

    harness::DataCopy reference;
    const std::string act5 = reference.Read("data/act5.xml");
    const size_t quote = act5.find(" id=\"", act5.find('\n', act5.size() / 2));
    ASSERT_NE(quote, std::string::npos);
    const auto line = 1 + std::count(act5.begin(), act5.begin() + static_cast<std::ptrdiff_t>(quote), '\n');
    std::string utf16 = "\xFF\xFE";
    for (char c : reference.Read("data/powers.xml")) utf16 += std::string(1, c) + '\0';
    const std::string atlas = reference.Read("graphics/Atlas03.txt");
    const std::string noTags = "XMLParser.ParseString: Something seriously wrong... no tags!";
    using Damage = std::function<void(harness::DataCopy&)>;
    const std::tuple<const char*, Damage, std::string, std::string> endings[] = {
        {"an empty table", [](auto& c) { c.Write("data/act1.xml", ""); },
         "Error loading data/act1.xml: the file is empty - ", noTags},
        {"a missing table", [](auto& c) { c.Remove("data/act2.xml"); },
         "Error loading data/act2.xml: the file is missing (<root>/data/data/act2.xml)", noTags},
        {"no data folder", [](auto& c) { std::filesystem::remove_all(c.Root() + "/data"); },
         ": there is no data folder (<root>/data)", noTags},
        {"a table saved as UTF-16", [&](auto& c) { c.Write("data/powers.xml", utf16); },
         "Error loading data/powers.xml: the file is saved as UTF-16 text", "Unexpected double quote"},
        {"a quote inside an unquoted value",
         [&](auto& c) { c.Write("data/act5.xml", std::string(act5).replace(quote, 5, " id=x\"")); },
         "Error loading data/act5.xml at line " + std::to_string(line) + " - XMLParser.GetTagContents",
         "Unexpected double quote"},
        {"an empty atlas", [](auto& c) { c.Write("graphics/Atlas03.txt", ""); },
         "Error loading Atlas graphics/Atlas03.txt: the file is empty", "Atlas03.txt 0=0"},
        {"an atlas cut short",
         [&](auto& c) { c.Write("graphics/Atlas03.txt", atlas.substr(0, atlas.size() / 2)); },
         "Atlas graphics/Atlas03.txt is damaged at line ", "not found in the ImageBank"},
    };
    for (const auto& [what, damage, told, report] : endings) {
        SCOPED_TRACE(what);
        harness::DataCopy copy;
        damage(copy);
        const Opening opening = OpenToTitle(copy);
        EXPECT_FALSE(opening.title);
        EXPECT_EQ(opening.status, 1);
        std::string line = told;
        if (const size_t root = line.find("<root>"); root != std::string::npos)
            line.replace(root, 6, copy.Root());
        EXPECT_NE(opening.printed.find(line), std::string::npos) << opening.printed;
        EXPECT_NE(opening.report.find(report), std::string::npos) << opening.report;
        EXPECT_FALSE(std::regex_search(opening.printed, std::regex("0x[0-9a-f]{6}"))) << opening.printed;
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
