#pragma once
// The table of scripted animations: the cutscenes of "animations/main.xml" and the battle effect
// scripts of "animations/fx.xml", read once at start-up into one shared step type.
#include <memory>
#include <string>
#include <vector>

class XMLElement;

// One step of a script. Numbers a step does not give hold `unset`.
class AnimationElement {
  public:
    static constexpr int unset = -65535;

    AnimationElement() = default;
    static AnimationElement AnimationElement_new() { return AnimationElement(); }

    std::string type;
    // The object, sound, music or effect the step refers to; for a cutscene caption, the caption.
    std::string id;
    std::string image;
    int index = 0;
    int x = unset;
    int y = unset;
    // Cutscenes: a named position. Effects: "left" or "right".
    std::string pos;
    int alpha = unset;  // hundredths
    int scale = unset;  // hundredths
    int time = unset;   // milliseconds
    int center = 0;
    int flip = 0;
    int color = unset;  // 0xRRGGBB
    // Effect-script words and fraction.
    std::string special;
    std::string item;
    std::string blend;
    float percent = 0.0f;
};

// One script: its name, the scene size its coordinates are written for (cutscenes only), and its
// steps in file order.
class AnimationItem {
  public:
    AnimationItem() = default;
    explicit AnimationItem(std::string itemId) : id(std::move(itemId)) {}
    static std::unique_ptr<AnimationItem> AnimationItem_new(const std::string& itemId) {
        return std::make_unique<AnimationItem>(itemId);
    }
    static std::unique_ptr<AnimationItem> AnimationItem_new2() { return std::make_unique<AnimationItem>(); }

    std::string id;
    int w = 0;
    int h = 0;
    std::vector<AnimationElement> elements;
};

class AnimationList {
  public:
    // Reads both files: the cutscenes first, then the effects.
    static void Init();
    // One direct child of main.xml's root: an animation, skipped without an id.
    static void ParseAnimation(const XMLElement* element);
    static void Load(const std::string& path);
    // One direct child of fx.xml's root: an effect, skipped without an id.
    static void ParseFX(const XMLElement* element);
    static void LoadFX(const std::string& path);

    // The first cutscene of that exact id, or null.
    static const AnimationItem* Get(const std::string& id);
    // The first effect of that exact id. An id no effect has gives an empty script (the effect
    // shows nothing and ends), never null: the power's damage is dealt before its script plays,
    // so a missing picture must not end the battle.
    static const AnimationItem* GetFX(const std::string& id);

    static std::vector<std::unique_ptr<AnimationItem>> animations;
    static std::vector<std::unique_ptr<AnimationItem>> effects;

    // Empties both tables (program start, and every test).
    static void InitGlobals();

  private:
    // The file being read, for the lines that report bad steps.
    static std::string loadingFile;
    // Effect ids already reported missing.
    static std::vector<std::string> missingEffects;
};
