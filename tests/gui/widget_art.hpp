#pragma once
// What meters, portraits, options controls, the clock and popups draw and play, loaded the way the
// resource loader will (every font slot, frames, gauges, bars, option icons, bodies, sounds), and
// small helpers of their tests: a click, a reward list, a sender recorder and a sound counter.
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/callback.hpp"
#include "model/profile.hpp"
#include "platform/audio.hpp"
#include "tests/support/harness.hpp"

namespace guitest {

inline void LoadWidgetArt() {
    for (const char* id : Fonts::Ids()) Fonts::Set(id, std::make_unique<GlyphFont>(Fonts::FileFor(id)));
    auto& images = *briskGame->images;
    images.Load3("FramePopup.png");
    images.Load3("Arrow.png", "", true);
    images.LoadAnim2("Meters1.png", 86, 89, 6);
    images.LoadAnim2("HealthBar.png", 168, 32, 2);
    images.LoadAnim2("OptionsIcons64x64.png", 64, 64, 3);
    for (const char* body : {"HeroMale1.png", "HeroFemale2.png"}) images.LoadAnim2(body, 256, 256, 4);
    images.LoadAtlas("Atlas03.txt", 1);
    for (const char* s : {"Rotate", "GameLose", "Count"}) briskGame->sounds->Load5(std::string(s) + ".ogg");
}

// "Key=value Key=value ..." as a list of pooled flag items; they go back to the pool with the list.
struct Rewards {
    explicit Rewards(const std::string& text) {
        std::istringstream in(text);
        for (std::string word; in >> word;) {
            const size_t eq = word.find('=');
            list.Add(FlagItem::Create2(word.substr(0, eq), std::stoi(word.substr(eq + 1))));
        }
    }
    ~Rewards() {
        for (FlagItem* f : list) f->inUse = 0;
    }
    FlagList list;
};

class Recorder : public Callback {
  public:
    int Call(GUIItem* sender) override {
        senders.push_back(sender);
        return 0;
    }
    std::vector<GUIItem*> senders;
};

// Counts plays of table sounds: Poll after every frame counts a sound found playing and stops it,
// so that its next play is seen again.
struct SoundCounter {
    void Poll() {
        for (int id : {16, 26, 32}) {
            GameSound* s = briskGame->sounds->Get(UpperKey(Audio::SoundName(id)));
            if (s != nullptr && platform::ChannelState(s->channel) == 1) {
                ++plays[id];
                platform::StopChannel(s->channel);
            }
        }
    }
    std::map<int, int> plays;
};

}  // namespace guitest
