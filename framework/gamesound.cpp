// A sound effect of the sound bank, and the 32 channels that sound effects play on.
#include <algorithm>
#include <iterator>

#include "core/helpers.hpp"
#include "core/loaders.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "platform/app.hpp"
#include "platform/audio.hpp"

int SoundPlayer::channel = 0;
int SoundPlayer::channels[platform::kSoundChannels] = {};

namespace {

bool EndsWith(const std::string& text, const char* suffix) {
    std::string s(suffix);
    return text.size() >= s.size() && text.compare(text.size() - s.size(), s.size(), s) == 0;
}

}  // namespace

void GameSound::Load4(const std::string& file, bool preLoad, const std::string& screenName) {
    path = file;
    this->preLoad = preLoad;
    this->screenName = screenName;
    if (!preLoad) {
        std::string fileName = file;
        static const char* const kExtensions[] = {".wav", ".ogg", ".mp3", ".m4a", ".wma"};
        if (std::none_of(std::begin(kExtensions), std::end(kExtensions),
                         [&](const char* e) { return EndsWith(fileName, e); }))
            fileName += ".wav";
        sound = LoadSoundChecked(SoundBank::path + fileName);
    }
    name = UpperKey(StripPathAndExtension(file));
}

bool GameSound::IsPlaying() const {
    return platform::ChannelState(channel) == 1;
}

void GameSound::Stop() {
    SoundPlayer::PlayerStopChannel(channel);
    if (!loopChannelList.IsEmpty()) {
        for (int looping : loopChannelList) SoundPlayer::PlayerStopChannel(looping);
        loopChannelList.Clear();
    }
}

bool GameSound::Play(int playChannel, bool ignoreDelay) {
    const double now = deltaTimer ? deltaTimer->currentticks : 0.0;
    if (!ignoreDelay && soundDelay != 0 && soundAvailableMillis >= now) return false;
    if (stopChannelBeforePlaying && IsPlaying()) Stop();
    const int soundVolume = briskGame ? briskGame->soundVolume : 100;
    int played = SoundPlayer::PlayFx(sound, pan, rate, volume * static_cast<float>(soundVolume) / 100.0f,
                                     loop, playChannel);
    if (played < 0) return false;
    channel = played;
    if (loop == 1) loopChannelList.Push(channel);
    soundAvailableMillis = TruncToInt(now + soundDelay);
    return true;
}

int SoundPlayer::PlayFx(const platform::SamplePtr& sound, float pan, float rate, float volume, int loop,
                        int playChannel) {
    constexpr int kCount = platform::kSoundChannels;
    if (playChannel == -1) {
        // One full turn at most: when every channel is held by a loop the play is refused (and the
        // cursor is back where it was) rather than searching forever.
        bool found = false;
        for (int tries = 0; tries < kCount && !found; ++tries) {
            channel = (channel + 1) % kCount;
            found = channels[channel] == 0;
        }
        if (!found) {
            platform::PrintLine(
                "SoundPlayer.PlayFx: every sound channel is held by a looping sound; play refused");
            return -1;
        }
    } else {
        if (playChannel < 0 || playChannel >= kCount) {
            platform::PrintLine("SoundPlayer.PlayFx: no sound channel " + std::to_string(playChannel));
            return -1;
        }
        channel = playChannel;
        channels[channel] = 0;
    }
    platform::StopChannel(channel);
    platform::PlaySound(sound, channel, loop ? 1 : 0);
    platform::SetChannelPan(channel, pan);
    platform::SetChannelRate(channel, rate);
    platform::SetChannelVolume(channel, volume);
    if (loop) channels[channel] = 1;
    return channel;
}

void SoundPlayer::PlayerStopChannel(int number) {
    if (number < 0 || number >= platform::kSoundChannels) return;
    platform::StopChannel(number);
    channels[number] = 0;
}
