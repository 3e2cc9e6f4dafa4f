// The story's data files as the game reads them: every XML file baked into the data folder parses
// with the game's own strict XML reader and holds plain ASCII only, and every speech bubble's text
// fits inside its bubble when set in the baked fonts.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/exception.hpp"
#include "core/glyphfont.hpp"
#include "core/xml.hpp"
#include "model/data2.hpp"
#include "platform/storage.hpp"
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

// The longest texts the substitutions can bring: a hero name of the full 17 characters, the
// program's civilian name and its longest exclamation.
std::string Substitute(std::string text) {
    const std::pair<const char*, const char*> words[] = {{"$NAME$", "Captain Wonderful"},
                                                         {"$REALNAME$", "Bobbi Bland"},
                                                         {"$EXCLAMATION$", "Voluptuous thundering turnips"},
                                                         {"$YEAR$", "2025"}};
    for (const auto& [key, word] : words) {
        for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at))
            text.replace(at, std::string(key).size(), word);
    }
    return text;
}

// The dialogue player swaps an inline picture tag for enough blank lines to hold the picture.
std::string MakeRoomForPicture(std::string text, int pictureHeight, int letterHeight) {
    const auto open = text.find("<IMG:");
    if (open == std::string::npos) return text;
    const auto close = text.find('>', open);
    if (close == std::string::npos) return text;
    const int lines = std::max(1, pictureHeight / letterHeight) + 2;
    std::string room;
    for (int i = 0; i < lines; ++i) room += "\\n ";
    return text.replace(open, close - open + 1, room);
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

TEST(StoryFiles, EverySpeechBubbleHoldsItsText) {
    struct RootGuard {
        std::string previous = platform::DataRoot();
        RootGuard() { platform::SetDataRoot(BRISK_DATA_ROOT); }
        ~RootGuard() { platform::SetDataRoot(previous); }
    } root;
    GlyphFont body("Yikes24");   // the "n" font of every dialogue text
    GlyphFont prompt("Yikes16"); // the "s" font of "Click to continue"
    const content_check::Atlas bubbles =
        content_check::ParseAtlas(content_check::ReadText(kData + "graphics/Atlas02.txt"));
    auto size = [&](const std::string& name, int& w, int& h) {
        for (const auto& region : bubbles.regions)
            if (region.name == name) {
                w = region.width;
                h = region.height;
                return true;
            }
        return false;
    };
    int wideW = 0, wideH = 0, tallW = 0, tallH = 0, globeW = 0, globeH = 0;
    ASSERT_TRUE(size("Bubble", wideW, wideH));
    ASSERT_TRUE(size("Bubble2", tallW, tallH));
    size("SnowGlobe", globeW, globeH);
    const int promptH = prompt.TextHeight("Click to continue");
    const int letterH = body.TextHeight("A");
    ASSERT_GT(letterH, 0) << "the dialogue font did not load";
    int bubblesMeasured = 0;

    for (const std::string& path : BakedXmlFiles("dialogues")) {
        const Parsed parsed = ParseFile(path);
        if (!parsed.problem.empty()) continue;  // reported by the test above
        for (XMLElement* dialogue : parsed.doc->Root()->Children()) {
            const std::string id = dialogue->GetAttribute("id");
            for (XMLElement* step : dialogue->Children()) {
                if (step->Name() != "text") continue;
                const std::string text =
                    MakeRoomForPicture(Substitute(step->GetAttribute("text")), globeH, letterH);
                const std::string speaker = step->GetAttribute("id");
                if (speaker.empty()) {
                    // Narration boxes grow with their text; keep them well inside the screen.
                    const std::string wrapped = Data::ExTextSplit(text, &body, 300);
                    EXPECT_LE(Data::ExTextHeight(wrapped, &body) + 16 + promptH, 360)
                        << path << " dialogue " << id << ": narration too long: " << text;
                    continue;
                }
                ++bubblesMeasured;
                // Wide bubble (1000 x 600): the text is centred, the prompt sits three prompt
                // lines above the bubble's bottom.
                const std::string wide = Data::ExTextSplit(text, &body, wideW * 3 / 4);
                const int wideTh = Data::ExTextHeight(wide, &body);
                EXPECT_LE((wideH - wideTh) / 2 + wideTh, wideH - 3 * promptH)
                    << path << " dialogue " << id << ": too long for the wide bubble: " << text;
                EXPECT_LE(Data::ExTextWidth(wide, &body), wideW * 3 / 4)
                    << path << " dialogue " << id << ": a word wider than the bubble: " << text;
                // Tall bubble (screens taller than wide).
                const std::string tall = Data::ExTextSplit(text, &body, tallW * 3 / 4);
                const int tallTh = Data::ExTextHeight(tall, &body);
                EXPECT_LE(int((tallH - tallTh) * 0.425) + tallTh, tallH - 5 * promptH)
                    << path << " dialogue " << id << ": too long for the tall bubble: " << text;
            }
        }
    }
    EXPECT_GT(bubblesMeasured, 0) << "no dialogue has a speech bubble";
}
