// The software mixer: sample channels and one music stream mixed into float stereo.
#include "platform/mixer.hpp"

#include <SDL.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace platform {

namespace {

constexpr float kRampStep = 1.0f / Mixer::kRampFrames;
constexpr int64_t kRingMask = Mixer::kMusicRingFrames - 1;
static_assert((Mixer::kMusicRingFrames & kRingMask) == 0, "the music ring wraps by masking");

// Moves cur towards target by at most one ramp step.
inline float Approach(float cur, float target) {
    if (cur < target) return std::min(cur + kRampStep, target);
    return std::max(cur - kRampStep, target);
}

bool ValidChannel(int channel) { return channel >= 0 && channel < kSoundChannels; }

float Clamp(float v, float lo, float hi, float fallback) {
    if (!(v == v)) return fallback;  // NaN
    return std::min(hi, std::max(lo, v));
}

SamplePtr DecodeVorbis(const std::string& file) {
    OggVorbis_File vf;
    if (ov_fopen(file.c_str(), &vf) < 0) return nullptr;
    vorbis_info* info = ov_info(&vf, -1);
    if (!info || info->channels < 1 || info->rate <= 0) {
        ov_clear(&vf);
        return nullptr;
    }
    auto sample = std::make_shared<Sample>();
    sample->rate = static_cast<int>(info->rate);
    ogg_int64_t total = ov_pcm_total(&vf, -1);
    if (total > 0) sample->data.reserve(static_cast<size_t>(total) * 2);
    bool failed = false;
    for (;;) {
        float** pcm = nullptr;
        int section = 0;
        long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n == 0) break;
        if (n == OV_HOLE) continue;
        if (n < 0) {
            failed = true;
            break;
        }
        vorbis_info* si = ov_info(&vf, section);
        int channels = si ? si->channels : 1;
        for (long i = 0; i < n; ++i) {
            float l = pcm[0][i];
            sample->data.push_back(l);
            sample->data.push_back(channels > 1 ? pcm[1][i] : l);
        }
    }
    ov_clear(&vf);
    if (failed && sample->data.empty()) return nullptr;
    return sample;
}

// Whether every chunk of a RIFF file lies inside it. The decoder sizes its buffers by the lengths
// the chunks declare, so a damaged file of a few bytes could otherwise claim gigabytes.
bool ChunksFit(const std::vector<Uint8>& bytes) {
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const size_t length = static_cast<size_t>(bytes[at + 4]) | static_cast<size_t>(bytes[at + 5]) << 8 |
                              static_cast<size_t>(bytes[at + 6]) << 16 |
                              static_cast<size_t>(bytes[at + 7]) << 24;
        if (length > bytes.size() - at - 8) return false;
        at += 8 + length + (length & 1);
    }
    return true;
}

// Sound effects are a few seconds long; a wave file past this is no sound of the game's.
constexpr size_t kMaxWaveBytes = 64u << 20;

SamplePtr DecodeWave(const std::string& file) {
    std::vector<Uint8> wave;
    if (FILE* f = std::fopen(file.c_str(), "rb")) {
        Uint8 block[16384];
        size_t n;
        while (wave.size() <= kMaxWaveBytes && (n = std::fread(block, 1, sizeof block, f)) > 0)
            wave.insert(wave.end(), block, block + n);
        std::fclose(f);
    }
    if (wave.size() < 12 || wave.size() > kMaxWaveBytes || !ChunksFit(wave)) return nullptr;
    SDL_AudioSpec spec;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(wave.data(), static_cast<int>(wave.size())), 1, &spec, &buffer,
                        &length))
        return nullptr;
    SDL_AudioCVT cvt;
    // A wave with an empty data chunk holds no sound to play: refused like a damaged one.
    if (length == 0 || !buffer ||
        SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_F32SYS, 2, spec.freq) < 0) {
        SDL_FreeWAV(buffer);
        return nullptr;
    }
    std::vector<Uint8> work(static_cast<size_t>(length) * std::max(1, cvt.len_mult));
    std::memcpy(work.data(), buffer, length);
    SDL_FreeWAV(buffer);
    cvt.buf = work.data();
    cvt.len = static_cast<int>(length);
    if (cvt.needed && SDL_ConvertAudio(&cvt) < 0) return nullptr;
    int bytes = cvt.needed ? cvt.len_cvt : cvt.len;
    auto sample = std::make_shared<Sample>();
    sample->rate = spec.freq;
    sample->data.resize(static_cast<size_t>(bytes) / (2 * sizeof(float)) * 2);
    std::memcpy(sample->data.data(), work.data(), sample->data.size() * sizeof(float));
    return sample;
}

}  // namespace

SamplePtr DecodeSoundFile(const std::string& file) {
    if (file.empty()) return nullptr;
    char magic[4] = {};
    FILE* f = std::fopen(file.c_str(), "rb");
    if (!f) return nullptr;
    size_t got = std::fread(magic, 1, 4, f);
    std::fclose(f);
    if (got == 4 && std::memcmp(magic, "RIFF", 4) == 0) return DecodeWave(file);
    return DecodeVorbis(file);
}

// ---------------------------------------------------------------------------------------------
// Mixer

Mixer::Mixer(int deviceRate) : rate_(deviceRate > 0 ? deviceRate : 48000) {
    ring_.assign(static_cast<size_t>(kMusicRingFrames) * 2, 0.f);
}

void Mixer::FadeOut(Channel& ch) {
    Voice& v = ch.main;
    if (v.active && (v.curL > 0.f || v.curR > 0.f)) {
        ch.tail = v;
        ch.tail.fadingOut = true;
    }
    v.active = false;
    v.pending = false;
    v.sample.reset();
}

void Mixer::Play(int channel, SamplePtr sample, bool loop) {
    if (!ValidChannel(channel) || !sample) return;
    Channel& ch = channels_[channel];
    FadeOut(ch);
    Voice& v = ch.main;
    v.sample = std::move(sample);
    v.pos = 0.0;
    v.loop = loop;
    v.pending = true;
    v.fadingOut = false;
    v.curL = v.curR = 0.f;
}

void Mixer::Stop(int channel) {
    if (ValidChannel(channel)) FadeOut(channels_[channel]);
}

int Mixer::State(int channel) const {
    if (!ValidChannel(channel)) return 0;
    const Voice& v = channels_[channel].main;
    return (v.pending || v.active) ? 1 : 0;
}

void Mixer::SetVolume(int channel, float volume) {
    if (ValidChannel(channel)) channels_[channel].volume = Clamp(volume, 0.f, 1.f, 0.f);
}

void Mixer::SetPan(int channel, float pan) {
    if (ValidChannel(channel)) channels_[channel].pan = Clamp(pan, -1.f, 1.f, 0.f);
}

void Mixer::SetRate(int channel, float rate) {
    // A zero or negative speed would hold a one-shot sound on its channel for ever.
    if (ValidChannel(channel)) channels_[channel].rate = Clamp(rate, 1.f / 256.f, 64.f, 1.f);
}

void Mixer::StartPending() {
    for (Channel& ch : channels_) {
        if (ch.main.pending) {
            ch.main.pending = false;
            ch.main.active = true;
        }
    }
}

void Mixer::ReleaseFinished() {
    for (Channel& ch : channels_) {
        if (!ch.main.active && !ch.main.pending) ch.main.sample.reset();
        if (!ch.tail.active) ch.tail.sample.reset();
    }
}

void Mixer::MixVoice(Voice& v, const Channel& ch, float* out, int frames) {
    const Sample& s = *v.sample;
    const int64_t n = s.Frames();
    if (n <= 0) {
        v.active = false;
        return;
    }
    const float* data = s.data.data();
    const double step = static_cast<double>(s.rate) / rate_ * ch.rate;
    float targetL = 0.f, targetR = 0.f;
    if (!v.fadingOut) {
        targetL = ch.volume * std::min(1.f, 1.f - ch.pan);
        targetR = ch.volume * std::min(1.f, 1.f + ch.pan);
    }
    const double end = static_cast<double>(n);
    double pos = v.pos;
    float gl = v.curL, gr = v.curR;
    for (int i = 0; i < frames; ++i) {
        if (gl != targetL || gr != targetR) {
            gl = Approach(gl, targetL);
            gr = Approach(gr, targetR);
        } else if (v.fadingOut) {
            v.active = false;
            break;
        }
        const int64_t i0 = static_cast<int64_t>(pos);
        const float f = static_cast<float>(pos - static_cast<double>(i0));
        const float* a = data + 2 * i0;
        float bl, br;
        if (i0 + 1 < n) {
            bl = a[2];
            br = a[3];
        } else if (v.loop) {
            bl = data[0];
            br = data[1];
        } else {
            bl = br = 0.f;
        }
        out[2 * i] += (a[0] + (bl - a[0]) * f) * gl;
        out[2 * i + 1] += (a[1] + (br - a[1]) * f) * gr;
        pos += step;
        if (pos >= end) {
            if (!v.loop) {
                v.active = false;
                break;
            }
            pos = std::fmod(pos, end);
        }
    }
    v.pos = pos;
    v.curL = gl;
    v.curR = gr;
}

float Mixer::MusicAt(int64_t index, int channel) const {
    return ring_[static_cast<size_t>((index & kRingMask) * 2 + channel)];
}

void Mixer::MixMusic(float* out, int frames) {
    if (musicState_ == 0) return;
    const float target = musicState_ == 1 ? musicVolume_ : 0.f;
    for (int i = 0; i < frames; ++i) {
        if (musicCur_ != target) {
            musicCur_ = Approach(musicCur_, target);
        } else if (musicState_ == -1) {
            break;  // paused and silent: hold the position
        }
        const int64_t avail = musicWrite_ - musicRead_;
        float bl, br;
        if (avail >= 2) {
            bl = MusicAt(musicRead_ + 1, 0);
            br = MusicAt(musicRead_ + 1, 1);
        } else if (musicEnded_ && avail == 1) {
            bl = br = 0.f;
        } else {
            if (musicEnded_) musicState_ = 0;
            break;  // ran dry: the rest of this block stays silent
        }
        const float al = MusicAt(musicRead_, 0), ar = MusicAt(musicRead_, 1);
        const float f = static_cast<float>(musicFrac_);
        out[2 * i] += (al + (bl - al) * f) * musicCur_;
        out[2 * i + 1] += (ar + (br - ar) * f) * musicCur_;
        musicFrac_ += musicStep_;
        const auto whole = static_cast<int64_t>(musicFrac_);
        musicFrac_ -= static_cast<double>(whole);
        musicRead_ = std::min(musicRead_ + whole, musicWrite_);
    }
    if (musicEnded_ && musicRead_ == musicWrite_) musicState_ = 0;
}

void Mixer::MixMusicTail(float* out, int frames) {
    MusicTail& t = musicTail_;
    if (!t.active) return;
    for (int i = 0; i < frames; ++i) {
        t.cur = Approach(t.cur, 0.f);
        const auto i0 = static_cast<int>(t.pos);
        if (t.cur <= 0.f || i0 >= t.frames) {
            t.active = false;
            return;
        }
        const float f = static_cast<float>(t.pos - i0);
        const float* a = t.data.data() + 2 * i0;
        const float bl = i0 + 1 < t.frames ? a[2] : 0.f;
        const float br = i0 + 1 < t.frames ? a[3] : 0.f;
        out[2 * i] += (a[0] + (bl - a[0]) * f) * t.cur;
        out[2 * i + 1] += (a[1] + (br - a[1]) * f) * t.cur;
        t.pos += t.step;
    }
}

void Mixer::Mix(float* out, int frames) {
    if (frames <= 0) return;
    std::fill(out, out + 2 * static_cast<size_t>(frames), 0.f);
    for (Channel& ch : channels_) {
        if (ch.tail.active) MixVoice(ch.tail, ch, out, frames);
        if (ch.main.active) MixVoice(ch.main, ch, out, frames);
    }
    MixMusicTail(out, frames);
    MixMusic(out, frames);
    for (size_t i = 0, n = 2 * static_cast<size_t>(frames); i < n; ++i) {
        out[i] = std::min(1.f, std::max(-1.f, out[i]));
    }
}

void Mixer::Advance(int64_t frames) {
    if (frames <= 0) return;
    for (Channel& ch : channels_) {
        ch.tail.active = false;
        Voice& v = ch.main;
        if (!v.active) continue;
        const double n = static_cast<double>(v.sample->Frames());
        const double step = static_cast<double>(v.sample->rate) / rate_ * ch.rate;
        v.curL = ch.volume * std::min(1.f, 1.f - ch.pan);
        v.curR = ch.volume * std::min(1.f, 1.f + ch.pan);
        v.pos += step * static_cast<double>(frames);
        if (v.pos >= n) {
            if (v.loop && n > 0) {
                v.pos = std::fmod(v.pos, n);
            } else {
                v.active = false;
            }
        }
    }
    musicTail_.active = false;
    if (musicState_ == 1) {
        musicCur_ = musicVolume_;
        const double wanted = musicFrac_ + musicStep_ * static_cast<double>(frames);
        const auto whole = static_cast<int64_t>(wanted);
        musicFrac_ = wanted - static_cast<double>(whole);
        musicRead_ = std::min(musicRead_ + whole, musicWrite_);
        if (musicEnded_ && musicRead_ == musicWrite_) musicState_ = 0;
    } else if (musicState_ == -1) {
        musicCur_ = 0.f;
    }
}

void Mixer::MusicStart(int sourceRate) {
    MusicStop();
    musicStep_ = static_cast<double>(sourceRate > 0 ? sourceRate : rate_) / rate_;
    musicRead_ = musicWrite_ = 0;
    musicFrac_ = 0.0;
    musicEnded_ = false;
    musicCur_ = 0.f;
    musicState_ = 1;
}

void Mixer::MusicStop() {
    if (musicState_ != 0 && musicCur_ > 0.f) {
        // Keep the next few milliseconds to fade them out, so cutting or replacing a track
        // does not click.
        MusicTail& t = musicTail_;
        const int64_t avail = musicWrite_ - musicRead_;
        t.frames = static_cast<int>(std::min<int64_t>(avail, static_cast<int64_t>(t.data.size() / 2)));
        for (int i = 0; i < t.frames; ++i) {
            t.data[2 * i] = MusicAt(musicRead_ + i, 0);
            t.data[2 * i + 1] = MusicAt(musicRead_ + i, 1);
        }
        t.pos = musicFrac_;
        t.step = musicStep_;
        t.cur = musicCur_;
        t.active = t.frames > 0;
    }
    musicState_ = 0;
    musicRead_ = musicWrite_ = 0;
    musicFrac_ = 0.0;
    musicEnded_ = false;
    musicCur_ = 0.f;
}

void Mixer::MusicPause() {
    if (musicState_ == 1) musicState_ = -1;
}

void Mixer::MusicResume() {
    if (musicState_ == -1) musicState_ = 1;
}

void Mixer::MusicSetVolume(float volume) { musicVolume_ = Clamp(volume, 0.f, 1.f, 0.f); }

int Mixer::MusicState() const { return musicState_; }

int Mixer::MusicFreeFrames() const {
    if (musicState_ == 0 || musicEnded_) return 0;
    return static_cast<int>(kMusicRingFrames - (musicWrite_ - musicRead_));
}

int Mixer::MusicPush(const float* stereo, int frames) {
    const int n = std::min(frames, MusicFreeFrames());
    for (int i = 0; i < n; ++i) {
        const auto at = static_cast<size_t>(((musicWrite_ + i) & kRingMask) * 2);
        ring_[at] = stereo[2 * i];
        ring_[at + 1] = stereo[2 * i + 1];
    }
    musicWrite_ += n;
    return n > 0 ? n : 0;
}

void Mixer::MusicEndOfData() {
    if (musicState_ != 0) musicEnded_ = true;
}

// ---------------------------------------------------------------------------------------------
// MusicStream

struct MusicStream::Impl {
    OggVorbis_File vf;
    bool justRewound = false;
};

MusicStream::MusicStream() = default;

MusicStream::~MusicStream() { Close(); }

bool MusicStream::Open(const std::string& file, bool loop) {
    if (file.empty()) return false;
    auto impl = std::make_unique<Impl>();
    if (ov_fopen(file.c_str(), &impl->vf) < 0) return false;
    vorbis_info* info = ov_info(&impl->vf, -1);
    if (!info || info->channels < 1 || info->rate <= 0) {
        ov_clear(&impl->vf);
        return false;
    }
    Close();
    rate_ = static_cast<int>(info->rate);
    impl_ = std::move(impl);
    open_ = true;
    loop_ = loop;
    finished_ = false;
    return true;
}

void MusicStream::Close() {
    if (open_) ov_clear(&impl_->vf);
    impl_.reset();
    open_ = false;
}

int MusicStream::Decode(float* out, int maxFrames) {
    if (!open_ || finished_) return 0;
    int done = 0;
    while (done < maxFrames) {
        float** pcm = nullptr;
        int section = 0;
        long n = ov_read_float(&impl_->vf, &pcm, maxFrames - done, &section);
        if (n == OV_HOLE) continue;
        if (n < 0) {
            finished_ = true;
            break;
        }
        if (n == 0) {
            // The end: a looping track carries on from its first sample in the same buffer, so
            // the loop has no gap. A track that gives nothing after a rewind is empty and ends.
            if (loop_ && !impl_->justRewound && ov_pcm_seek(&impl_->vf, 0) == 0) {
                impl_->justRewound = true;
                continue;
            }
            finished_ = true;
            break;
        }
        impl_->justRewound = false;
        vorbis_info* si = ov_info(&impl_->vf, section);
        const int channels = si ? si->channels : 1;
        for (long i = 0; i < n; ++i) {
            const float l = pcm[0][i];
            out[2 * (done + i)] = l;
            out[2 * (done + i) + 1] = channels > 1 ? pcm[1][i] : l;
        }
        done += static_cast<int>(n);
    }
    return done;
}

}  // namespace platform
