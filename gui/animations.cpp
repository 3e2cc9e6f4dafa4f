// The table of scripted animations: the cutscenes of "animations/main.xml" and the battle effect
// scripts of "animations/fx.xml", read once at start-up into one shared step type.
#include "gui/animations.hpp"

#include <cmath>

#include "core/exception.hpp"
#include "core/strings.hpp"
#include "core/xml.hpp"
#include "core/xmlfile.hpp"
#include "framework/framework.hpp"
#include "model/powers.hpp"
#include "platform/app.hpp"
#include "platform/storage.hpp"

std::vector<std::unique_ptr<AnimationItem>> AnimationList::animations;
std::vector<std::unique_ptr<AnimationItem>> AnimationList::effects;
std::string AnimationList::loadingFile;
std::vector<std::string> AnimationList::missingEffects;

namespace {

// The sound and music numbers the audio table knows.
constexpr int kLastSound = 34;
constexpr int kLastMusic = 11;

// What an effect asks for when its power names no script: nothing to show.
const AnimationItem kEmptyEffect;

// The largest scale a step may ask for, in hundredths: a hundred times natural size either way
// already covers the screen many times over (the game's own steps stay below four). A larger one,
// or one that is no number at all, is a slip in the file, and a picture drawn at it is vast.
constexpr float kMostScale = 10000.0f;

// The two files differ in their units: cutscenes write final integers ("50" is half
// transparent), effects write decimals (alpha "0.5", time "0.25" seconds, scale "1.2").
int ScaledDecimal(const std::string& text, float factor) {
    return TruncToInt(StringToFloat(text) * factor);
}

void Report(const std::string& file, const std::string& script, size_t step, const AnimationElement& e,
            const std::string& fault) {
    platform::PrintLine(file + ": \"" + script + "\" step " + std::to_string(step + 1) + " <" + e.type +
                        ">: " + fault);
}

// A step's scale in hundredths, as `hundredths` read it from `written`; a scale past the bound
// is refused with a line, and the step keeps its default size (unset).
int CheckedScale(const std::string& file, const AnimationItem& item, const AnimationElement& e,
                 const std::string& written, float hundredths) {
    if (std::isfinite(hundredths) && std::fabs(hundredths) <= kMostScale) return TruncToInt(hundredths);
    const std::string why =
        std::isfinite(hundredths) ? "more than a hundred times natural size" : "not a number";
    Report(file, item.id, item.elements.size(), e,
           "scale \"" + written + "\" refused (" + why + "); the step keeps its default size");
    return AnimationElement::unset;
}

// Numbers that the players would hand to the audio table; an unknown one is worth a line now,
// while the file is being read, rather than silence deep in a battle.
void CheckAudioIds(const std::string& file, const AnimationItem& item) {
    for (size_t i = 0; i < item.elements.size(); ++i) {
        const AnimationElement& e = item.elements[i];
        int n = StringToInt(e.id);
        if (e.type == "sound" && (n < 0 || n > kLastSound)) {
            Report(file, item.id, i, e, "no sound number \"" + e.id + "\" (0 to 34)");
        } else if (e.type == "music" && (n < 0 || n > kLastMusic)) {
            Report(file, item.id, i, e, "no music number \"" + e.id + "\" (0 to 11)");
        }
    }
}

const AnimationItem* FindItem(const std::vector<std::unique_ptr<AnimationItem>>& list,
                              const std::string& id) {
    for (const auto& item : list) {
        if (item->id == id) return item.get();
    }
    return nullptr;
}

// Reads and parses one file, handing every child of its root to parse. A file the parser cannot
// read ends the start-up as every data file does; the line first says which file it was.
template <class Parse>
void ReadFile(const std::string& path, Parse parse) {
    const std::unique_ptr<XMLDocument> doc =
        ParseXMLFile(path, platform::LoadString(platform::DataPath(path)));
    for (const XMLElement* child : doc->Root()->Children()) parse(child);
}

}  // namespace

void AnimationList::InitGlobals() {
    animations.clear();
    effects.clear();
    loadingFile.clear();
    missingEffects.clear();
}

void AnimationList::Init() {
    Load("animations/main.xml");
    LoadFX("animations/fx.xml");
    // The powers are read before the animations: a power whose effect is missing is named now
    // rather than found out in the middle of a battle (where it plays an empty script).
    for (const auto& power : Powers::powers) {
        if (power != nullptr && FindItem(effects, power->fx) == nullptr) {
            platform::PrintLine(std::string(Powers::kFile) + ": power \"" + power->id +
                                "\" plays the effect \"" + power->fx +
                                "\", which animations/fx.xml does not hold");
        }
    }
}

void AnimationList::Load(const std::string& path) {
    loadingFile = path;
    ReadFile(path, ParseAnimation);
}

void AnimationList::LoadFX(const std::string& path) {
    loadingFile = path;
    ReadFile(path, ParseFX);
}

void AnimationList::ParseAnimation(const XMLElement* element) {
    if (!element->HasAttribute("id")) return;
    const std::string file = loadingFile.empty() ? "animations/main.xml" : loadingFile;
    auto item = AnimationItem::AnimationItem_new(element->GetAttribute("id"));
    if (element->HasAttribute("w")) item->w = StringToInt(element->GetAttribute("w"));
    if (element->HasAttribute("h")) item->h = StringToInt(element->GetAttribute("h"));
    for (const XMLElement* child : element->Children()) {
        AnimationElement e = AnimationElement::AnimationElement_new();
        e.type = child->Name();
        auto text = [&](const char* name, std::string& field) {
            if (child->HasAttribute(name)) field = child->GetAttribute(name);
        };
        auto number = [&](const char* name, int& field) {
            if (child->HasAttribute(name)) field = StringToInt(child->GetAttribute(name));
        };
        text("id", e.id);
        text("image", e.image);
        text("pos", e.pos);
        number("index", e.index);
        number("x", e.x);
        number("y", e.y);
        number("alpha", e.alpha);
        if (child->HasAttribute("scale")) {
            const std::string written = child->GetAttribute("scale");
            e.scale = CheckedScale(file, *item, e, written, static_cast<float>(StringToInt(written)));
        }
        number("time", e.time);
        number("color", e.color);
        // Presence is the switch: center="" and flip="no" both turn it on.
        if (child->HasAttribute("center")) e.center = 1;
        if (child->HasAttribute("flip")) e.flip = 1;
        item->elements.push_back(std::move(e));
    }
    CheckAudioIds(file, *item);
    animations.push_back(std::move(item));
}

void AnimationList::ParseFX(const XMLElement* element) {
    if (!element->HasAttribute("id")) return;
    const std::string file = loadingFile.empty() ? "animations/fx.xml" : loadingFile;
    auto item = AnimationItem::AnimationItem_new(element->GetAttribute("id"));
    for (const XMLElement* child : element->Children()) {
        AnimationElement e = AnimationElement::AnimationElement_new();
        e.type = child->Name();
        auto has = [&](const char* name) { return child->HasAttribute(name) != 0; };
        auto get = [&](const char* name) { return child->GetAttribute(name); };
        if (has("id")) e.id = get("id");
        if (has("image")) e.image = get("image");
        if (has("index")) e.index = StringToInt(get("index"));
        if (has("center")) e.center = 1;
        if (has("x")) e.x = StringToInt(get("x"));
        if (has("y")) e.y = StringToInt(get("y"));
        if (has("alpha")) e.alpha = ScaledDecimal(get("alpha"), 100.0f);
        if (has("time")) e.time = ScaledDecimal(get("time"), 1000.0f);
        if (has("scale"))
            e.scale = CheckedScale(file, *item, e, get("scale"), StringToFloat(get("scale")) * 100.0f);
        // The side is named by presence; a step naming both stands on the left.
        if (has("left")) {
            e.pos = "left";
        } else if (has("right")) {
            e.pos = "right";
        }
        if (has("special")) e.special = get("special");
        if (has("item")) e.item = get("item");
        if (has("blend")) e.blend = get("blend");
        if (has("percent")) e.percent = StringToFloat(get("percent"));
        item->elements.push_back(std::move(e));
    }
    CheckAudioIds(file, *item);
    for (size_t i = 0; i < item->elements.size(); ++i) {
        const AnimationElement& e = item->elements[i];
        if (e.type == "fx" && e.id != "smallimpact" && e.id != "bigimpact" && e.id != "sideimplosion") {
            Report(file, item->id, i, e, "no impact kind \"" + e.id + "\"");
        }
    }
    effects.push_back(std::move(item));
}

const AnimationItem* AnimationList::Get(const std::string& id) {
    return FindItem(animations, id);
}

const AnimationItem* AnimationList::GetFX(const std::string& id) {
    const AnimationItem* item = FindItem(effects, id);
    if (item) return item;
    // One line per missing id: a battle may fire the same power many times.
    for (const std::string& reported : missingEffects) {
        if (reported == id) return &kEmptyEffect;
    }
    missingEffects.push_back(id);
    platform::PrintLine("AnimationList.GetFX: no effect \"" + id +
                        "\" in animations/fx.xml; nothing is shown");
    return &kEmptyEffect;
}
