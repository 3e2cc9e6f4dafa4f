// Every line a character speaks must fit its speech bubble, and narration must stay well inside
// the screen, when set in the baked fonts with the longest texts the name substitutions can bring.
// The bubble frames are the atlas regions the dialogue player draws.
#include <algorithm>
#include <string>

#include "core/glyphfont.hpp"
#include "gui/dialogue.hpp"
#include "gui/dialogues.hpp"
#include "model/data2.hpp"
#include "tests/checker/checker.hpp"
#include "tests/content/content_check.hpp"

namespace checker {

namespace {

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

void CheckBubbles(const std::string& dataFolder, std::vector<std::string>& out) {
    GlyphFont body("Yikes24");    // the "n" font of every dialogue text
    GlyphFont prompt("Yikes16");  // the "s" font of "Click to continue"
    const content_check::Atlas bubbles =
        content_check::ParseAtlas(content_check::ReadText(dataFolder + "graphics/Atlas02.txt"));
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
    if (!size("Bubble", wideW, wideH) || !size("Bubble2", tallW, tallH)) {
        out.push_back("graphics/Atlas02.txt: no speech bubble regions \"Bubble\" and \"Bubble2\"");
        return;
    }
    size("SnowGlobe", globeW, globeH);
    const int promptH = prompt.TextHeight("Click to continue");
    const int letterH = body.TextHeight("A");
    if (letterH <= 0) {
        out.push_back("Yikes24.txt: the dialogue font does not load");
        return;
    }
    for (const auto& dialogue : DialogueList::dialogues) {
        const std::string where = dialogue->file + ": dialogue \"" + dialogue->id + "\": ";
        for (const DialogueElement& step : dialogue->elements) {
            if (step.type != "text") continue;
            const std::string text = MakeRoomForPicture(Substitute(step.text), globeH, letterH);
            if (step.id.empty()) {
                // Narration boxes grow with their text; keep them well inside the screen.
                const std::string wrapped = Data::ExTextSplit(text, &body, 300);
                if (Data::ExTextHeight(wrapped, &body) + 16 + promptH > 360)
                    out.push_back(where + "narration too long: " + step.text);
                continue;
            }
            // Wide bubble (1000 x 600): the text is centred and ends above the prompt.
            const std::string wide = Data::ExTextSplit(text, &body, wideW * 3 / 4);
            const int wideTh = Data::ExTextHeight(wide, &body);
            if ((wideH - wideTh) / 2 + wideTh > DialogueText::BubblePromptTop(wideH, promptH, 0))
                out.push_back(where + "too long for the wide bubble: " + step.text);
            if (Data::ExTextWidth(wide, &body) > wideW * 3 / 4)
                out.push_back(where + "a word wider than the bubble: " + step.text);
            // Tall bubble (screens taller than wide).
            const std::string tall = Data::ExTextSplit(text, &body, tallW * 3 / 4);
            const int tallTh = Data::ExTextHeight(tall, &body);
            if (static_cast<int>((tallH - tallTh) * 0.425) + tallTh >
                DialogueText::BubblePromptTop(tallH, promptH, 1))
                out.push_back(where + "too long for the tall bubble: " + step.text);
        }
    }
}

}  // namespace checker
