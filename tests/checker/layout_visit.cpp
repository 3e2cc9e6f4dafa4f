// Starting the game at a layout and looking at what a screen draws.
#include "tests/checker/layout_visit.hpp"

#include <cmath>
#include <map>

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/gui2.hpp"
#include "gui/textbutton.hpp"
#include "model/data2.hpp"
#include "platform/testing.hpp"
#include "screens/map.hpp"

namespace layout {

namespace {

// A line drawn at this strength or more is at full strength, whatever blink or fade it is in.
constexpr float kFullStrength = 0.97f;

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

// The height of the capitals of the font whose page is `page`, in its texels: the rows of its
// "H" that hold ink. Zero for a picture that is no font's page.
float CapitalTexels(const platform::Image* page) {
    for (const char* id : Fonts::Ids()) {
        const GlyphFont* font = Fonts::Get(id);
        if (font == nullptr || font->image[0].get() != page || page == nullptr) continue;
        const Char* h = font->chars['H'].get();
        if (h == nullptr) return 0;
        int rows = 0;
        for (int y = 0; y < h->height; ++y) {
            bool ink = false;
            for (int x = 0; x < h->width && !ink; ++x) {
                unsigned char texel[4];
                ink = platform::KeptTexel(page, h->x + x, h->y + y, texel) && texel[3] >= 64;
            }
            rows += ink ? 1 : 0;
        }
        return static_cast<float>(rows);
    }
    return 0;
}

// The places' names as the map draws them: the captions of its place buttons, on the map's own
// list or on one a popup has set aside.
std::vector<PlaceName> PlaceNames() {
    std::vector<GUIItemList*> lists;
    if (GUIList::currentList) lists.push_back(GUIList::currentList.get());
    for (const auto& layer : GUIList::layers)
        if (layer) lists.push_back(layer.get());
    std::vector<PlaceName> names;
    for (GUIItemList* list : lists) {
        for (int i = 0; i < list->Size(); ++i) {
            const auto* place = dynamic_cast<const GUITextButton*>(list->Get2(i));
            if (place == nullptr || place->id != "location" || place->font == nullptr || place->text.empty())
                continue;
            const float x = place->x + static_cast<float>(place->xadd + place->tx);
            const float y = place->y + static_cast<float>(place->yadd + place->ty);
            const Box area{x - 2, y - 2, x + static_cast<float>(place->tw) + 2,
                           y + static_cast<float>(Data::ExTextHeight(place->text, place->font)) + 2};
            for (const std::string& line : Data::SplitLines(place->text)) names.push_back({line, area});
        }
    }
    return names;
}

// Marks the lines drawn higher up than in `before` (the same words, as wide, at the same sides).
void MarkRising(std::vector<DrawnText>& texts, const std::vector<DrawnText>& before) {
    for (DrawnText& text : texts) {
        for (const DrawnText& earlier : before) {
            if (earlier.text == text.text && std::abs(earlier.box.x0 - text.box.x0) <= 0.5f &&
                std::abs(earlier.box.x1 - text.box.x1) <= 0.5f && earlier.box.y0 - text.box.y0 >= 1)
                text.rising = true;
        }
    }
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

void Visit::Hurry(bool hurry) {
    hurry_ = hurry;
    game_.RenderEvery(hurry ? 8 : 1);
}

bool Visit::Await(const std::string& screen, const std::function<bool()>& up, int frames) {
    for (int frame = 0; frame < frames && !up(); ++frame) game_.Step();
    if (up()) return true;
    Lost(screen);
    return false;
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
    std::map<const platform::Image*, float> caps;
    FrameRecorder recorder(
        [&names](const platform::Image* image) {
            const auto found = names.find(image);
            return found == names.end() ? std::string() : found->second;
        },
        HoldsText,
        [&caps](const platform::Image* image) {
            const auto found = caps.find(image);
            return found != caps.end() ? found->second : caps[image] = CapitalTexels(image);
        });
    game_.RenderEvery(1);
    platform::WatchDraws(&recorder);
    // Until four frames in a row draw the same words (a caption typing letter by letter draws its
    // newest letter apart from the rest, and may show one letter for a frame or two), and no line
    // is caught halfway through a blink or a fade: such a line is judged at the strength it
    // reaches, not at a passing moment of it.
    Frame glance;
    glance.width = width;
    glance.height = height;
    std::vector<std::string> before;
    std::vector<float> strengths;
    std::vector<DrawnText> firstGlance;
    for (int wait = 0, same = 0, steady = 0; wait < typing && (same < 3 || !steady); ++wait) {
        glance.texts.clear();
        glance.holders.clear();
        glance.pictures.clear();
        recorder.Begin(&glance, false);
        game_.Step();
        std::vector<std::string> words;
        std::vector<float> alphas;
        for (const DrawnText& text : glance.texts) {
            words.push_back(text.text);
            alphas.push_back(text.alpha);
        }
        same = words == before ? same + 1 : 0;
        steady = same > 0;
        for (size_t i = 0; steady && i < alphas.size(); ++i)
            steady = alphas[i] >= kFullStrength || std::fabs(alphas[i] - strengths[i]) < 0.01f;
        if (wait == 0) firstGlance = glance.texts;
        before = std::move(words);
        strengths = std::move(alphas);
    }
    // The frame judged, looked at closely.
    Frame frame;
    frame.width = width;
    frame.height = height;
    frame.rolling = rolling;
    recorder.Begin(&frame, true);
    game_.Step();
    recorder.End();
    platform::WatchDraws(nullptr);
    frame.pixels = game_.ReadPixels(0, 0, width, height);
    MarkRising(frame.texts, firstGlance);
    // The places' names lie on the map and move with it.
    if (dynamic_cast<MapScreen*>(briskGame->currentScreen.get()) != nullptr) frame.placeNames = PlaceNames();
    if (keepFrames_) {
        std::string name = "layout " + Where(screen);
        for (char& c : name) {
            if (c == ' ' || c == ',') c = '_';
        }
        game_.SaveFrame(name);
    }
    for (std::string& line : Judge(frame, Where(screen))) findings_.push_back(std::move(line));
    if (hurry_) game_.RenderEvery(8);
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
