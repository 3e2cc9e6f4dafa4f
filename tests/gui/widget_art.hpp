#pragma once
// What the meters, portraits, options widgets, clock and popups draw and play, loaded the way the
// resource loader will: every font slot, the frames, gauges, bars, option icons, the body pictures
// and the sounds of counting and levels. Also a counter of sound plays across frames.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/item.hpp"
#include "gui/text.hpp"
#include "platform/audio.hpp"

namespace guitest {

inline void LoadWidgetArt() {
    for (const char* id : Fonts::Ids()) Fonts::Set(id, std::make_unique<GlyphFont>(Fonts::FileFor(id)));
    auto& images = *briskGame->images;
    images.Load3("FramePopup.png");
    images.Load3("FrameSpeech.png");
    images.Load3("Arrow.png", "", true);
    images.LoadAnim2("Meters1.png", 86, 89, 6);
    images.LoadAnim2("HealthBar.png", 168, 32, 2);
    images.LoadAnim2("OptionsIcons64x64.png", 64, 64, 3);
    for (const char* body : {"HeroMale1.png", "HeroFemale1.png", "HeroFemale2.png"}) {
        images.LoadAnim2(body, 256, 256, 4);
    }
    images.LoadAtlas("Atlas03.txt", 1);
    for (const char* s : {"Rotate", "GameLose", "Count"}) briskGame->sounds->Load5(std::string(s) + ".ogg");
}

// Counts the plays of table sounds: call Poll after every frame; a sound found playing is counted
// and stopped, so its next play is seen again.
class SoundCounter {
  public:
    void Poll() {
        for (int id : ids) {
            GameSound* s = briskGame->sounds->Get(UpperKey(Audio::SoundName(id)));
            if (s != nullptr && platform::ChannelState(s->channel) == 1) {
                ++plays[id];
                platform::StopChannel(s->channel);
            }
        }
    }
    std::vector<int> ids = {8, 16, 26, 32};
    std::map<int, int> plays;
};

// The text a container child shows, when it is a text.
inline std::string TextOf(GUIItem* item) {
    auto* t = dynamic_cast<GUIText*>(item);
    return t ? t->text : std::string();
}

}  // namespace guitest
