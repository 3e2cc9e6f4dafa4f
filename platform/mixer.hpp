#pragma once
// The software mixer behind platform/audio.hpp: 32 sample channels and one music stream, mixed
// into interleaved float stereo. It knows nothing about threads, devices or files: the audio
// module locks around it, feeds the music ring from the main thread and calls Mix from the
// device callback (or from the frame loop when there is no device). Mix depends only on the
// mixer's state, so tests and benchmarks render known sounds into a buffer.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio.hpp"

namespace platform {

// A decoded sound: interleaved stereo floats at the rate it was recorded at.
struct Sample {
    std::vector<float> data;  // L R L R ...
    int rate = 44100;
    int64_t Frames() const { return static_cast<int64_t>(data.size() / 2); }
};

// Decodes a whole Ogg Vorbis (or RIFF WAVE, by its first bytes) sound into a sample. Null when it
// cannot be decoded.
SamplePtr DecodeSound(const std::string& bytes);
// The same for a file, read by the storage rule. Null when it cannot be read or decoded.
SamplePtr DecodeSoundFile(const std::string& file);

class Mixer {
public:
    // Fades that keep starts, stops and volume jumps free of clicks last this many frames.
    static constexpr int kRampFrames = 128;
    // Room for the decoded music ahead of the play position, in source frames.
    static constexpr int kMusicRingFrames = 32768;

    explicit Mixer(int deviceRate);

    int Rate() const { return rate_; }

    // Sample channels. A play only marks the channel pending: it reports as playing at once, and
    // it starts sounding at the next StartPending, so parameters set right after the play are
    // in force from its first sample. Volume, pan and rate belong to the channel and outlive plays.
    void Play(int channel, SamplePtr sample, bool loop);
    void Stop(int channel);
    int State(int channel) const;  // 1 while pending or playing
    void SetVolume(int channel, float volume);
    void SetPan(int channel, float pan);
    void SetRate(int channel, float rate);
    void StartPending();
    // Lets go of the samples that finished channels still hold (kept there so the device
    // callback never frees memory).
    void ReleaseFinished();

    // Music. The producer pushes decoded source frames; MusicEndOfData says nothing follows, so
    // the track stops once the ring runs dry.
    void MusicStart(int sourceRate);
    void MusicStop();
    void MusicPause();
    void MusicResume();
    void MusicSetVolume(float volume);
    int MusicState() const;  // 1 playing, 0 stopped, -1 paused
    int MusicFreeFrames() const;
    int MusicPush(const float* stereo, int frames);  // returns the frames taken
    void MusicEndOfData();
    int64_t MusicBufferedFrames() const { return musicWrite_ - musicRead_; }

    // Renders `frames` frames of interleaved stereo into out, replacing its contents.
    void Mix(float* out, int frames);
    // Moves every channel and the music on by `frames` without rendering them (long clock jumps
    // of the silent mixer).
    void Advance(int64_t frames);

private:
    struct Voice {
        SamplePtr sample;
        double pos = 0.0;
        bool loop = false;
        bool active = false;   // sounding
        bool pending = false;  // waiting for StartPending
        bool fadingOut = false;
        float curL = 0.f, curR = 0.f;
    };
    struct Channel {
        Voice main;
        Voice tail;  // the previous sound of this channel fading out
        float volume = 1.f;
        float pan = 0.f;
        float rate = 1.f;
    };
    struct MusicTail {
        std::array<float, 2 * 4096> data{};
        int frames = 0;
        double pos = 0.0;
        double step = 1.0;
        float cur = 0.f;
        bool active = false;
    };

    void MixVoice(Voice& v, const Channel& ch, float* out, int frames);
    void MixMusic(float* out, int frames);
    void MixMusicTail(float* out, int frames);
    void FadeOut(Channel& ch);
    float MusicAt(int64_t index, int channel) const;

    int rate_;
    std::array<Channel, kSoundChannels> channels_{};

    std::vector<float> ring_;  // kMusicRingFrames stereo frames
    int64_t musicRead_ = 0;    // frames consumed since the track started
    int64_t musicWrite_ = 0;   // frames pushed since the track started
    double musicFrac_ = 0.0;
    double musicStep_ = 1.0;
    int musicState_ = 0;
    bool musicEnded_ = false;
    float musicVolume_ = 1.f;
    float musicCur_ = 0.f;
    MusicTail musicTail_;
};

// Streams an Ogg Vorbis track into a mixer's music ring. Lives on the main thread.
class MusicStream {
public:
    MusicStream();
    ~MusicStream();
    MusicStream(const MusicStream&) = delete;
    MusicStream& operator=(const MusicStream&) = delete;

    // Opens the file; false (and nothing changes) when it cannot be decoded.
    bool Open(const std::string& file, bool loop);
    void Close();
    bool IsOpen() const { return open_; }
    int SourceRate() const { return rate_; }
    // Decodes up to `maxFrames` frames into `out` (interleaved stereo), going back to the start at
    // the end when looping. Returns the frames written; 0 with Finished() at the end of the data.
    int Decode(float* out, int maxFrames);
    bool Finished() const { return finished_; }

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    bool open_ = false;
    bool loop_ = false;
    bool finished_ = false;
    int rate_ = 44100;
};

// Fills the mixer's music ring from the stream until it is full or the stream ends. The decoding
// happens in `scratch` outside any lock; `push` is called for each decoded block and must hand
// it to the mixer (under the audio lock when a device is running).
template <class PushFn>
void FillMusic(MusicStream& stream, std::vector<float>& scratch, int freeFrames, PushFn&& push) {
    const int block = static_cast<int>(scratch.size() / 2);
    while (freeFrames > 0 && stream.IsOpen() && !stream.Finished()) {
        int n = stream.Decode(scratch.data(), freeFrames < block ? freeFrames : block);
        if (n <= 0) break;
        push(scratch.data(), n, false);
        freeFrames -= n;
    }
    if (stream.IsOpen() && stream.Finished()) {
        push(nullptr, 0, true);
        stream.Close();
    }
}

}  // namespace platform
