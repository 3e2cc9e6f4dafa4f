// Sound effects on numbered channels and the streamed music track, fed to the mixer on the audio device.
#include "platform/audio.hpp"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/app.hpp"
#include "platform/internal.hpp"
#include "platform/mixer.hpp"
#include "platform/storage.hpp"

namespace platform {

namespace {

constexpr int kSilentRate = 48000;
constexpr int kDeviceRate = 48000;
constexpr int kDeviceBufferFrames = 1024;
constexpr int kDecodeBlockFrames = 4096;
constexpr int kSilentBlockFrames = 1024;

struct AudioSystem {
    SDL_AudioDeviceID device = 0;
    bool ownsSubsystem = false;
    std::unique_ptr<Mixer> mixer;
    std::unique_ptr<MusicStream> music;
    std::vector<float> decodeScratch = std::vector<float>(2 * kDecodeBlockFrames);
    // Without a device the frame loop mixes into this buffer, following the engine clock.
    std::vector<float> silentOut = std::vector<float>(2 * kSilentBlockFrames);
    int64_t clockStart = 0;
    int64_t framesMixed = 0;

    ~AudioSystem() { CloseDevice(); }

    void CloseDevice() {
        if (device != 0 && SDL_WasInit(SDL_INIT_AUDIO)) SDL_CloseAudioDevice(device);
        device = 0;
        if (ownsSubsystem && SDL_WasInit(SDL_INIT_AUDIO)) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        ownsSubsystem = false;
    }
};

std::unique_ptr<AudioSystem> g_audio;

void Callback(void* user, Uint8* stream, int bytes) {
    auto* sys = static_cast<AudioSystem*>(user);
    sys->mixer->Mix(reinterpret_cast<float*>(stream), bytes / static_cast<int>(2 * sizeof(float)));
}

std::unique_ptr<AudioSystem> MakeSilent() {
    auto sys = std::make_unique<AudioSystem>();
    sys->mixer = std::make_unique<Mixer>(kSilentRate);
    sys->clockStart = Millisecs();
    return sys;
}

// Game code may touch sounds before the engine starts its audio (tests of the game layers):
// it then gets the silent mixer.
AudioSystem& Sys() {
    if (!g_audio) g_audio = MakeSilent();
    return *g_audio;
}

// Every engine call that touches the mixer holds the device lock, so the callback never sees
// half an update.
class Lock {
public:
    explicit Lock(AudioSystem& sys) : device_(sys.device) {
        if (device_ != 0) SDL_LockAudioDevice(device_);
    }
    ~Lock() {
        if (device_ != 0) SDL_UnlockAudioDevice(device_);
    }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    SDL_AudioDeviceID device_;
};

// Decodes music into the ring until it is full; the decoding itself runs outside the lock.
void FeedMusic(AudioSystem& sys) {
    if (!sys.music || !sys.music->IsOpen()) return;
    int freeFrames;
    {
        Lock lock(sys);
        freeFrames = sys.mixer->MusicFreeFrames();
    }
    FillMusic(*sys.music, sys.decodeScratch, freeFrames, [&](const float* data, int frames, bool end) {
        Lock lock(sys);
        if (end) {
            sys.mixer->MusicEndOfData();
        } else {
            sys.mixer->MusicPush(data, frames);
        }
    });
}

// The silent mixer keeps pace with the engine clock, so one-shot sounds end and music moves on
// exactly as they would with a device.
void AdvanceSilent(AudioSystem& sys) {
    const int64_t now = Millisecs();
    if (now < sys.clockStart) {
        sys.clockStart = now;
        sys.framesMixed = 0;
    }
    const int64_t due = (now - sys.clockStart) * sys.mixer->Rate() / 1000;
    int64_t frames = due - sys.framesMixed;
    sys.framesMixed = due;
    if (frames > sys.mixer->Rate()) {
        // A long stall (or a test jumping the clock): move on without rendering it.
        sys.mixer->Advance(frames);
        return;
    }
    while (frames > 0) {
        const int n = static_cast<int>(frames < kSilentBlockFrames ? frames : kSilentBlockFrames);
        sys.mixer->Mix(sys.silentOut.data(), n);
        frames -= n;
        // Long tracks keep streaming while the silent mixer catches up.
        if (sys.mixer->MusicBufferedFrames() < Mixer::kMusicRingFrames / 2) FeedMusic(sys);
    }
}

}  // namespace

SamplePtr LoadSound(const std::string& path) {
    bool failedAhead = false;
    SamplePtr sample = detail::TakeSoundDecodedAhead(path, failedAhead);
    if (!sample && !failedAhead) sample = DecodeSoundFile(MapPath(DataPath(path)));
    if (!sample) std::fprintf(stderr, "Could not load the sound %s\n", path.c_str());
    return sample;
}

void PlaySound(const SamplePtr& sample, int channel, int flags) {
    if (!sample) return;
    AudioSystem& sys = Sys();
    Lock lock(sys);
    sys.mixer->Play(channel, sample, (flags & 1) != 0);
}

void StopChannel(int channel) {
    AudioSystem& sys = Sys();
    Lock lock(sys);
    sys.mixer->Stop(channel);
}

int ChannelState(int channel) {
    AudioSystem& sys = Sys();
    Lock lock(sys);
    return sys.mixer->State(channel);
}

void SetChannelVolume(int channel, float volume) {
    AudioSystem& sys = Sys();
    Lock lock(sys);
    sys.mixer->SetVolume(channel, volume);
}

void SetChannelPan(int channel, float pan) {
    AudioSystem& sys = Sys();
    Lock lock(sys);
    sys.mixer->SetPan(channel, pan);
}

void SetChannelRate(int channel, float rate) {
    AudioSystem& sys = Sys();
    Lock lock(sys);
    sys.mixer->SetRate(channel, rate);
}

int PlayMusic(const std::string& path, int flags) {
    AudioSystem& sys = Sys();
    auto stream = std::make_unique<MusicStream>();
    // A track that cannot be opened leaves the current one playing.
    if (!stream->Open(MapPath(DataPath(path)), (flags & 1) != 0)) return -1;
    {
        Lock lock(sys);
        sys.mixer->MusicStart(stream->SourceRate());
    }
    sys.music = std::move(stream);
    FeedMusic(sys);
    return 0;
}

std::string MusicFault(const std::string& path) {
    const std::string file = MapPath(DataPath(path));
    // Through the one reading rule: a pipe in the track's place must not hold the game here either.
    std::string bytes;
    const FileRead read = ReadPlainFile(file, kMaxDataFile, bytes);
    if (read.Missing()) return "there is no such file (" + (file.empty() ? path : file) + ")";
    if (!read.Read()) return "the file cannot be read as a plain file of sane size";
    if (bytes.empty()) return "the file is empty";
    if (bytes.size() < 4 || std::memcmp(bytes.data(), "OggS", 4) != 0) return "the file is not an Ogg file";
    return "the Ogg file holds no Vorbis sound that can be played (damaged, or another kind of sound)";
}

void StopMusic() {
    AudioSystem& sys = Sys();
    {
        Lock lock(sys);
        sys.mixer->MusicStop();
    }
    sys.music.reset();
}

void PauseMusic() {
    AudioSystem& sys = Sys();
    Lock lock(sys);
    sys.mixer->MusicPause();
}

void ResumeMusic() {
    AudioSystem& sys = Sys();
    Lock lock(sys);
    sys.mixer->MusicResume();
}

void SetMusicVolume(float volume) {
    AudioSystem& sys = Sys();
    Lock lock(sys);
    sys.mixer->MusicSetVolume(volume);
}

int MusicState() {
    AudioSystem& sys = Sys();
    Lock lock(sys);
    return sys.mixer->MusicState();
}

void AudioInit(bool withDevice) {
    AudioShutdown();
    g_audio = MakeSilent();
    if (!withDevice) return;
    AudioSystem& sys = *g_audio;
    if (!SDL_WasInit(SDL_INIT_AUDIO)) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            std::fprintf(stderr, "No audio: %s\n", SDL_GetError());
            return;
        }
        sys.ownsSubsystem = true;
    }
    SDL_AudioSpec want{};
    want.freq = kDeviceRate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = kDeviceBufferFrames;
    want.callback = Callback;
    want.userdata = &sys;
    SDL_AudioSpec have{};
    sys.device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (sys.device == 0) {
        std::fprintf(stderr, "No audio device: %s\n", SDL_GetError());
        sys.CloseDevice();
        return;
    }
    // The device is still paused, so the callback cannot run yet.
    if (have.freq != sys.mixer->Rate()) sys.mixer = std::make_unique<Mixer>(have.freq);
    SDL_PauseAudioDevice(sys.device, 0);
}

void AudioPump() {
    AudioSystem& sys = Sys();
    if (sys.device == 0) AdvanceSilent(sys);
    {
        Lock lock(sys);
        sys.mixer->StartPending();
        sys.mixer->ReleaseFinished();
    }
    if (sys.music && !sys.music->IsOpen()) sys.music.reset();
    FeedMusic(sys);
}

void AudioShutdown() {
    if (!g_audio) return;
    g_audio->CloseDevice();
    g_audio.reset();
}

}  // namespace platform
