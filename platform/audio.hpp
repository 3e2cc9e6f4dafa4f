#pragma once
// Sound effects on 32 numbered channels and one streamed music track, mixed by our own mixer.
// Without an audio device the same mixer runs silently, so channel states still behave.
#include <memory>
#include <string>

namespace platform {

struct Sample;  // decoded once, shared
using SamplePtr = std::shared_ptr<Sample>;

inline constexpr int kSoundChannels = 32;

SamplePtr LoadSound(const std::string& path);  // null on failure, with one line
void PlaySound(const SamplePtr& sample, int channel, int flags = 0);  // flags bit 0: loop
void StopChannel(int channel);
int ChannelState(int channel);  // 1 while playing
void SetChannelVolume(int channel, float volume);  // 0..1
void SetChannelPan(int channel, float pan);        // -1 left .. 1 right
void SetChannelRate(int channel, float rate);      // 1 = normal speed

int PlayMusic(const std::string& path, int flags = 1);  // 0, or -1 when it cannot be played
// Why the track at `path` cannot be played, for the line that follows a refusal: the file missing
// (naming where it was looked for), empty, no Ogg file at all, or an Ogg file without a sound the
// decoder takes.
std::string MusicFault(const std::string& path);
void StopMusic();
void PauseMusic();
void ResumeMusic();
void SetMusicVolume(float volume);  // 0..1
int MusicState();                   // 1 playing, 0 stopped, -1 paused

// Engine-side life cycle of the mixer, called by the frame loop.
void AudioInit(bool withDevice);
void AudioPump();  // once per loop iteration, on the main thread
void AudioShutdown();

}  // namespace platform
