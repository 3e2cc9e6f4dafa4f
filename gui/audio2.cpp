// The sound and music table and its volumes.
#include "gui/audio2.hpp"

#include <set>

#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/app.hpp"
#include "platform/audio.hpp"
#include "platform/random.hpp"

int Audio::musicPlaying = 0;
int Audio::currentMusic = -1;

namespace {

constexpr const char* kSounds[Audio::kSoundCount] = {
    "Fireworks",    "MouseOver", "Pop1",          "Pop2",    "Pop3",        "Stunner",  "Tick",
    "Tick2",        "Click",     "Collect",       "FadeIn",  "BaseUpgrade", "Building", "Cinematic",
    "EnemyCollect", "Fist2",     "GameLose",      "Cover",   "Grab",        "Gun",      "OTick",
    "OTick2",       "Siren",     "electricshock", "Fire",    "Lightning",   "Rotate",   "Sweep",
    "Swap",         "Alert2",    "Alert23",       "Alert35", "Count",       "Drop",     "IntroEnd"};

constexpr const char* kTracks[Audio::kMusicCount] = {
    "a_champions_call", "First Report Edit", "boys_will_be_boys",
    "theyre_after_me",  "GameWin",           "adventure",
    "unbreakable",      "on_fire",           "look_ahead",
    "we_can",           "unbreakable",       "on_fire"};

// Each unknown number is told once, so a script that repeats it does not flood the log.
std::set<int> toldSounds;
std::set<int> toldMusic;

}  // namespace

void Audio::InitGlobals() {
    musicPlaying = 0;
    currentMusic = -1;
    toldSounds.clear();
    toldMusic.clear();
}

const char* Audio::SoundName(int id) {
    return id >= 0 && id < kSoundCount ? kSounds[id] : "";
}

const char* Audio::MusicName(int id) {
    return id >= 0 && id < kMusicCount ? kTracks[id] : "";
}

void Audio::PlaySound(int id, float rate) {
    GameSound* sound = nullptr;
    if (id >= 0 && id < kSoundCount && briskGame && briskGame->sounds) {
        sound = briskGame->sounds->Get(UpperKey(kSounds[id]));
    }
    if (sound == nullptr) {
        if (toldSounds.insert(id).second) {
            platform::PrintLine("Audio.PlaySound: no sound " + std::to_string(id) +
                                (id >= 0 && id < kSoundCount ? std::string(" (") + kSounds[id] + ")" : ""));
        }
        return;
    }
    sound->volume = static_cast<float>(Profile::GetGlobalFlagInt("SoundVolume")) / 100.0f;
    sound->rate = rate;
    sound->Play(-1, false);
}

void Audio::PlayMusic(int id) {
    if (id == currentMusic) return;
    if (id < 0 || id >= kMusicCount) {
        if (toldMusic.insert(id).second)
            platform::PrintLine("Audio.PlayMusic: no music " + std::to_string(id));
        return;
    }
    currentMusic = id;
    musicPlaying = 1;
    if (!briskGame) return;
    briskGame->MusicPlay(std::string(kTracks[id]) + Data::musicExtension, 1);
    const float volume = static_cast<float>(Profile::GetGlobalFlagInt("MusicVolume")) / 100.0f;
    briskGame->MusicSetVolume(TruncToInt(volume * 100.0f));
}

void Audio::StopMusic() {
    musicPlaying = 0;
    currentMusic = -1;
    platform::StopMusic();
}

int Audio::IsPlaying() {
    return musicPlaying;
}

void Audio::PlayTick() {
    PlaySound(platform::Rnd(0.0f, 999.0f) >= 500 ? 6 : 7, 1.0f);
}

void Audio::PlayOTick() {
    PlaySound(platform::Rnd(0.0f, 999.0f) >= 500 ? 20 : 21, 1.0f);
}

void Audio::PlayPop() {
    const int n = TruncToInt(platform::Rnd(0.0f, 599.0f));
    PlaySound(n >= 400 ? 2 : (n < 200 ? 4 : 3), 1.0f);
    PlaySound(9, 1.0f);
}
