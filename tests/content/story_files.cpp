// The story's data files as the game reads them: every XML file baked into the data folder parses
// with the game's own strict XML reader and holds plain ASCII only. (Whether each speech bubble
// holds its text is the content checker's.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/exception.hpp"
#include "core/xml.hpp"
#include "tests/content/content_check.hpp"

namespace {

const std::string kData = BRISK_DATA_ROOT "/data/";

// Every XML file the content tree bakes into the data folder ("data/act1.xml", "dialogues/main.xml",
// ...), found in the source so that a file nobody bakes is not silently skipped.
std::vector<std::string> BakedXmlFiles(const std::string& folder = "") {
    const std::filesystem::path files = std::filesystem::path(BRISK_SOURCE_ROOT) / "content" / "files";
    std::vector<std::string> out;
    if (!std::filesystem::is_directory(files / folder)) return out;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(files / folder))
        if (entry.is_regular_file() && entry.path().extension() == ".xml")
            out.push_back(std::filesystem::relative(entry.path(), files).generic_string());
    std::sort(out.begin(), out.end());
    return out;
}

struct Parsed {
    std::unique_ptr<XMLDocument> doc;
    std::string problem;  // why there is no document
};

Parsed ParseFile(const std::string& path) {
    Parsed out;
    const std::string text = content_check::ReadText(kData + path);
    if (text.empty()) {
        out.problem = "missing or empty";
        return out;
    }
    try {
        XMLParser parser;
        out.doc = parser.ParseString(text);
        if (out.doc == nullptr || out.doc->Root() == nullptr) out.problem = "no root element";
    } catch (const BriskException& e) {
        out.problem = e.Message();
        out.doc.reset();
    }
    return out;
}

}  // namespace

TEST(StoryFiles, EveryFileParsesWithTheGamesReaderAndIsPlainAscii) {
    const std::vector<std::string> files = BakedXmlFiles();
    EXPECT_FALSE(files.empty());
    for (const std::string& path : files) {
        const Parsed parsed = ParseFile(path);
        if (!parsed.problem.empty()) {
            ADD_FAILURE() << path << ": " << parsed.problem;
            continue;
        }
        // Curly quotes and dashes from a word processor would draw as junk glyphs; "|" would cut
        // the save state wherever the text becomes a flag.
        const std::string text = content_check::ReadText(kData + path);
        int line = 1;
        for (const char c : text) {
            const auto u = static_cast<unsigned char>(c);
            if (c == '\n') ++line;
            if ((u < 32 && c != '\n' && c != '\r' && c != '\t') || u > 126 || c == '|') {
                ADD_FAILURE() << path << " line " << line << ": character code " << int(u);
                break;
            }
        }
    }
}

// Every distress game keeps which it was, for the thanks that follow it.
TEST(StoryFiles, EveryDistressGameTellsWhichItWas) {
    const std::string text = content_check::ReadText(kData + "data/actions.xml");
    int games = 0;
    for (size_t at = text.find("<action game=\""); at != std::string::npos;
         at = text.find("<action game=\"", at + 1)) {
        const size_t from = at + 14;
        const std::string game = text.substr(from, text.find('"', from) - from);
        const std::string action = text.substr(at, text.find("</action>", at) - at);
        EXPECT_NE(action.find("<flag name=\"Game.DistressGame\" value=\"" + game + "\"/>"), std::string::npos)
            << action;
        ++games;
    }
    EXPECT_GE(games, 12);
}
