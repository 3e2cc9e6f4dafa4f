// The software mixer: sample channels and one music stream mixed into float stereo.
#include "platform/mixer.hpp"

#include <SDL.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/storage.hpp"

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

// An Ogg stream read from memory: sounds and music are read whole through the storage rule, so
// the decoder never opens a file of its own.
struct OggBytes {
    const char* data = nullptr;
    size_t size = 0;
    size_t at = 0;
};

size_t OggRead(void* out, size_t size, size_t count, void* source) {
    auto* ogg = static_cast<OggBytes*>(source);
    if (size == 0) return 0;
    const size_t items = std::min(count, (ogg->size - ogg->at) / size);
    std::memcpy(out, ogg->data + ogg->at, items * size);
    ogg->at += items * size;
    return items;
}

int OggSeek(void* source, ogg_int64_t offset, int whence) {
    auto* ogg = static_cast<OggBytes*>(source);
    const auto size = static_cast<ogg_int64_t>(ogg->size);
    ogg_int64_t base = size;  // SEEK_END
    if (whence == SEEK_SET) base = 0;
    if (whence == SEEK_CUR) base = static_cast<ogg_int64_t>(ogg->at);
    if (offset < -base || offset > size - base) return -1;
    ogg->at = static_cast<size_t>(base + offset);
    return 0;
}

long OggTell(void* source) {
    return static_cast<long>(static_cast<OggBytes*>(source)->at);
}

constexpr ov_callbacks kOggFromMemory = {OggRead, OggSeek, nullptr, OggTell};

SamplePtr DecodeVorbis(const std::string& bytes) {
    OggVorbis_File vf;
    OggBytes source{bytes.data(), bytes.size(), 0};
    if (ov_open_callbacks(&source, &vf, nullptr, 0, kOggFromMemory) < 0) return nullptr;
    // Closed on every way out, a sound too long for the memory left among them.
    struct Closer {
        OggVorbis_File* vf;
        ~Closer() { ov_clear(vf); }
    } closer{&vf};
    vorbis_info* info = ov_info(&vf, -1);
    if (!info || info->channels < 1 || info->rate <= 0) return nullptr;
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
    if (failed && sample->data.empty()) return nullptr;
    return sample;
}

// Whether every chunk of a RIFF file lies inside it. The decoder sizes its buffers by the lengths
// the chunks declare, so a damaged file of a few bytes could otherwise claim gigabytes.
bool ChunksFit(const std::string& bytes) {
    const auto byte = [&bytes](size_t at) { return static_cast<size_t>(static_cast<Uint8>(bytes[at])); };
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const size_t length = byte(at + 4) | byte(at + 5) << 8 | byte(at + 6) << 16 | byte(at + 7) << 24;
        if (length > bytes.size() - at - 8) return false;
        at += 8 + length + (length & 1);
    }
    return true;
}

SamplePtr DecodeWave(const std::string& wave) {
    if (wave.size() < 12 || !ChunksFit(wave)) return nullptr;
    SDL_AudioSpec spec;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(wave.data(), static_cast<int>(wave.size())), 1, &spec, &buffer,
                        &length))
        return nullptr;
    // Freed on every way out, a sound too long for the memory left among them.
    const std::unique_ptr<Uint8, void (*)(Uint8*)> held(buffer, SDL_FreeWAV);
    SDL_AudioCVT cvt;
    // A wave with an empty data chunk holds no sound to play: refused like a damaged one.
    if (length == 0 || !buffer ||
        SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_F32SYS, 2, spec.freq) < 0)
        return nullptr;
    std::vector<Uint8> work(static_cast<size_t>(length) * std::max(1, cvt.len_mult));
    std::memcpy(work.data(), buffer, length);
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

SamplePtr DecodeSound(const std::string& bytes) {
    if (bytes.compare(0, 4, "RIFF") == 0) return DecodeWave(bytes);
    return DecodeVorbis(bytes);
}

SamplePtr DecodeSoundFile(const std::string& file) {
    std::string bytes;
    if (!ReadGameFile(file, file, bytes)) return nullptr;
    return DecodeSound(bytes);
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
    // The whole compressed track, read once: a track is a megabyte or two, and decoding it from
    // memory keeps the file's read to the storage rule's single one.
    std::string track;
    OggBytes source;
    bool justRewound = false;
};

MusicStream::MusicStream() = default;

MusicStream::~MusicStream() { Close(); }

bool MusicStream::Open(const std::string& file, bool loop) {
    if (file.empty()) return false;
    auto impl = std::make_unique<Impl>();
    if (!ReadGameFile(file, file, impl->track)) return false;
    impl->source = {impl->track.data(), impl->track.size(), 0};
    if (ov_open_callbacks(&impl->source, &impl->vf, nullptr, 0, kOggFromMemory) < 0) return false;
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
