// Starting the game at a layout and looking at what a screen draws.
#include "tests/checker/layout_visit.hpp"

#include <map>

#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "model/locations.hpp"
#include "screens/map.hpp"
#include "model/data2.hpp"
#include "platform/testing.hpp"

namespace layout {

namespace {

// The pictures that hold text: buttons, popup and speech frames, bubbles, bars and panels (by the
// start of their bank names). Icons, portraits and backgrounds hold none.
bool HoldsText(const std::string& key) {
    static const char* const kinds[] = {"BUTTON",     "TITLEBUTTON", "PROFILEBUTTON", "FRAME",   "BUBBLE",
                                        "TILEBG",     "COMICBORDER", "HEALTHBAR",     "TIMEBAR", "UPGRADEBAR",
                                        "LEVELUPBG",  "OPTIONSBAR",  "BACK",          "CORNER"};
    for (const char* kind : kinds) {
        if (key.rfind(kind, 0) == 0) return true;
    }
    return false;
}

}  // namespace

Visit::Visit(const std::string& root, bool wide, std::vector<std::string>& findings)
    : wide_(wide), findings_(findings) {
    game_.SetDataRoot(root);
}

Visit::~Visit() {
    platform::WatchDraws(nullptr);
}

std::string Visit::Where(const std::string& screen) const {
    return screen + (wide_ ? " at 1000x600" : " at 800x600");
}

bool Visit::Start() {
    if (!game_.Start()) {
        findings_.push_back(Where("start-up") + ": the game does not start: " + game_.LastReport());
        return false;
    }
    return true;
}

void Visit::Lost(const std::string& what) {
    findings_.push_back(Where(what) + ": not reached, so not checked");
}

void Visit::Look(const std::string& screen, bool rolling, int typing) {
    const int width = Data::virtualWidth, height = Data::virtualHeight;
    if (static_cast<int>(DEVICE_WIDTH) != width || static_cast<int>(DEVICE_HEIGHT) != height ||
        width != (wide_ ? 1000 : 800)) {
        findings_.push_back(Where(screen) + ": the window is not the layout's size");
        return;
    }
    std::map<const platform::Image*, std::string> names;
    for (const auto& [key, entry] : briskGame->images->map) {
        if (entry && entry->image) names[entry->image.get()] = key;
    }
    FrameRecorder recorder(
        [&names](const platform::Image* image) {
            const auto found = names.find(image);
            return found == names.end() ? std::string() : found->second;
        },
        HoldsText);
    platform::WatchDraws(&recorder);
    Frame frame;
    frame.width = width;
    frame.height = height;
    frame.rolling = rolling;
    frame.dimmed = std::move(dimmed_);
    dimmed_.clear();
    // Until four frames in a row draw the same words (a caption typing letter by letter draws its
    // newest letter apart from the rest, and may show one letter for a frame or two).
    std::vector<std::string> before;
    for (int wait = 0, same = 0; wait < typing && same < 3; ++wait) {
        frame.texts.clear();
        frame.holders.clear();
        frame.pictures.clear();
        recorder.Begin(&frame, false);
        game_.Step();
        std::vector<std::string> words;
        for (const DrawnText& text : frame.texts) words.push_back(text.text);
        same = words == before ? same + 1 : 0;
        before = std::move(words);
    }
    // The places' names lie on the map and move with it.
    if (dynamic_cast<MapScreen*>(briskGame->currentScreen.get()) != nullptr) {
        for (const auto& place : Locations::locations) {
            if (place) frame.onMap.push_back(place->id);
        }
    }
    frame.withText = game_.ReadPixels(0, 0, width, height);
    if (keepFrames_) {
        std::string name = "layout " + Where(screen);
        for (char& c : name) {
            if (c == ' ' || c == ',') c = '_';
        }
        game_.SaveFrame(name);
    }
    Frame hidden;
    recorder.Begin(&hidden, true);
    game_.Step();
    frame.withoutText = game_.ReadPixels(0, 0, width, height);
    recorder.End();
    platform::WatchDraws(nullptr);
    for (std::string& line : Judge(frame, Where(screen))) findings_.push_back(std::move(line));
}

std::vector<std::string> CheckLayout(const std::string& root, bool keepFrames, Visited which) {
    std::vector<std::string> findings;
    for (bool wide : {true, false}) {
        // Each half starts a game of its own, so the two can run side by side.
        if (which != Visited::InGame) {
            Visit visit(root, wide, findings);
            if (keepFrames) visit.KeepFrames();
            VisitOwnScreens(visit);
        }
        if (which != Visited::OutOfGame) {
            Visit visit(root, wide, findings);
            if (keepFrames) visit.KeepFrames();
            VisitGameScreens(visit);
        }
    }
    return findings;
}

}  // namespace layout
