// Stand-in for the mixer so the engine links on its own; the real mixer replaces this file.
#include "platform/audio.hpp"

namespace platform {

SamplePtr LoadSound(const std::string&) { return nullptr; }
void PlaySound(const SamplePtr&, int, int) {}
void StopChannel(int) {}
int ChannelState(int) { return 0; }
void SetChannelVolume(int, float) {}
void SetChannelPan(int, float) {}
void SetChannelRate(int, float) {}
int PlayMusic(const std::string&, int) { return -1; }
void StopMusic() {}
void PauseMusic() {}
void ResumeMusic() {}
void SetMusicVolume(float) {}
int MusicState() { return 0; }
void AudioInit(bool) {}
void AudioPump() {}
void AudioShutdown() {}

}  // namespace platform
