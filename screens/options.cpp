// The options popup.
#include "screens/options.hpp"

#include <string>

#include "core/glyphfont.hpp"
#include "core/helpers.hpp"
#include "framework/framework.hpp"
#include "framework/main.hpp"
#include "gui/checkbox.hpp"
#include "gui/container.hpp"
#include "gui/gui2.hpp"
#include "gui/popup.hpp"
#include "gui/slider.hpp"
#include "gui/text.hpp"
#include "gui/textbutton.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "screens/map.hpp"

OptionsCallback Options::optionsCallback;
int Options::namesChanged = 0;

namespace {

constexpr int kWhite = 0xffffff;

struct Setting {
    const char* label;
    const char* name;
    const char* flag;
};

// In the popup's order; the first two are sliders.
constexpr Setting kSettings[] = {
    {"Music volume:", "music", "MusicVolume"},     {"Sound volume:", "sound", "SoundVolume"},
    {"Fullscreen:", "fullscreen", "Fullscreen"},   {"Widescreen:", "widescreen", "Widescreen"},
    {"High quality:", "quality", "Quality"},       {"Game move hints:", "hints", "Hints"},
    {"Show location names:", "names", "MapNames"},
};

// 1 when the flag was not 1, else 0; stored and returned.
int Toggle(const char* flag) {
    const int now = Profile::GetGlobalFlagInt(flag) == 1 ? 0 : 1;
    Profile::SetGlobalFlagInt(flag, now);
    return now;
}

// Opens the graphics mode for the present settings and maps the virtual screen onto it.
void ApplyGraphicsMode(int fullscreen) {
    SetGraphicsMode(Data::virtualWidth, Data::virtualHeight, fullscreen);
    briskGame->SetScreenSize(static_cast<float>(Data::virtualWidth), static_cast<float>(Data::virtualHeight),
                             true);
    briskGame->deviceChanged = true;
    windowWidth = TruncToInt(DEVICE_WIDTH);
    windowHeight = TruncToInt(DEVICE_HEIGHT);
}

// The volume a slider shows: nothing in the first tenth, full in the last.
int SliderVolume(const GUIItem* sender) {
    const auto* slider = static_cast<const GUISlider*>(sender);
    if (slider->w <= 0) return -1;
    float r = static_cast<float>(slider->pos) / static_cast<float>(slider->w);
    if (r < 0.1f) {
        r = 0;
    } else if (r > 0.9f) {
        r = 1.0f;
    }
    return TruncToInt(r * 100);
}

}  // namespace

void Options::InitOptions() {
    GUIContainer* c = GUIContainer::Create(0, 0);
    c->id = "options";
    GUIList::Suspend();
    GlyphFont* labelFont = Fonts::Get("n");
    int y = 16;
    for (const Setting& setting : kSettings) {
        GUIText* label = GUIText::Create(16, static_cast<float>(y), setting.label, labelFont, 0);
        c->AddLast20(label);
        const int value = Profile::GetGlobalFlagInt(setting.flag);
        GUIItem* control = nullptr;
        const bool slider = setting.name == std::string("music") || setting.name == std::string("sound");
        if (slider) {
            GUISlider* s = GUISlider::Create(256, static_cast<float>(y), 0, &optionsCallback);
            s->pos = TruncToInt(static_cast<float>(s->w) * static_cast<float>(value) / 100.0f);
            control = s;
        } else {
            control = GUICheckbox::Create(256, static_cast<float>(y), value == 1 ? 1 : 0, &optionsCallback);
        }
        control->x -= static_cast<float>(control->w) * 0.5f;
        control->y -= static_cast<float>(control->h - label->h) * 0.5f;
        control->id = "options";
        control->name = setting.name;
        c->AddLast20(control);
        if (setting.name == std::string("sound")) c->w += 16;
        y += 40;
    }
    GUITextButton* ok = GUITextButton::Create(0, static_cast<float>(c->h), "Buttons01", "OK",
                                              Fonts::Get("on"), kWhite, &optionsCallback, 0);
    ok->id = "options";
    ok->name = "ok";
    c->AddLast20(ok, kAlignCentre, 0);
    Popup::AddFrameRounded(c);
    GUIText* title = GUIText::Create(0, 0, "Options", Fonts::Get("ob"), kWhite);
    title->x = static_cast<float>((c->w - title->w) / 2);
    title->y = -static_cast<float>(title->h) * 0.4f;
    c->AddLast20(title);
    GUIList::Add(c, 1700, kAlignCentre, kAlignCentre);
}

int OptionsCallback::Call(GUIItem* sender) {
    if (sender == nullptr) return 0;
    const std::string& name = sender->name;
    if (name == "ok") {
        GUIList::FadeOut(sender->id, "");
        GUIList::Resume();
        Profile::Save(0);
        if (Options::namesChanged) {
            Options::namesChanged = 0;
            GUIList::Delete("location", "");
            Profile::SetFlagInt("Refresh", 1);
            // The map builds them again, without the reveal.
            locationsBuilt = 0;
        }
    } else if (name == "widescreen") {
        const int fullscreen = Profile::GetGlobalFlagInt("Fullscreen");
        Data::virtualWidth = Toggle("Widescreen") == 1 ? 1000 : 800;
        ApplyGraphicsMode(fullscreen);
        Data::screenRotated = 1;
    } else if (name == "fullscreen") {
        ApplyGraphicsMode(Toggle("Fullscreen"));
    } else if (name == "names") {
        Data::mapNamesOn = Toggle("MapNames");
        Options::namesChanged = 1;
    } else if (name == "hints") {
        Data::hintsOn = Toggle("Hints");
    } else if (name == "quality") {
        Data::qualityOn = Toggle("Quality");
    } else if (name == "music") {
        const int v = SliderVolume(sender);
        if (v >= 0 && v != Profile::GetGlobalFlagInt("MusicVolume")) {
            briskGame->MusicSetVolume(v);
            Profile::SetGlobalFlagInt("MusicVolume", v);
        }
    } else if (name == "sound") {
        const int v = SliderVolume(sender);
        if (v >= 0) Profile::SetGlobalFlagInt("SoundVolume", v);
    }
    return 0;
}
