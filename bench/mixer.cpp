// The mixer's cost: one second of audio with all 32 channels busy and music playing, as a share
// of one core (the "core_percent" counter). The budget is 2 %.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <vector>

#include "platform/mixer.hpp"

namespace {

using platform::Mixer;

constexpr int kRate = 48000;
constexpr int kBlock = 1024;

platform::SamplePtr Tone(int frames, int rate, double hz) {
    auto s = std::make_shared<platform::Sample>();
    s->rate = rate;
    for (int i = 0; i < frames; ++i) {
        const auto v = static_cast<float>(0.1 * std::sin(6.283185307 * hz * i / rate));
        s->data.push_back(v);
        s->data.push_back(v);
    }
    return s;
}

void BM_MixOneSecondBusy(benchmark::State& state) {
    Mixer mixer(kRate);
    // A mix of recording rates and speeds, so every channel resamples.
    auto a = Tone(44100, 44100, 440);
    auto b = Tone(22050, 22050, 660);
    auto c = Tone(48000, 48000, 330);
    for (int ch = 0; ch < platform::kSoundChannels; ++ch) {
        mixer.SetVolume(ch, 0.5f);
        mixer.SetPan(ch, (ch % 5 - 2) * 0.3f);
        mixer.SetRate(ch, 0.75f + 0.05f * (ch % 10));
        mixer.Play(ch, ch % 3 == 0 ? a : ch % 3 == 1 ? b : c, true);
    }
    mixer.StartPending();
    std::vector<float> music(2 * 44100);
    for (size_t i = 0; i < music.size(); ++i) music[i] = 0.2f * std::sin(0.01f * static_cast<float>(i));
    mixer.MusicStart(44100);
    mixer.MusicSetVolume(0.5f);
    std::vector<float> out(2 * kBlock);
    size_t musicAt = 0;
    double seconds = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int done = 0; done < kRate; done += kBlock) {
            // Keep the ring topped up as the main thread would (not timed as mixing, but cheap).
            int room = mixer.MusicFreeFrames();
            while (room > 0) {
                const int n = std::min<int>(room, static_cast<int>(music.size() / 2 - musicAt));
                mixer.MusicPush(music.data() + 2 * musicAt, n);
                musicAt = (musicAt + n) % (music.size() / 2);
                room -= n;
            }
            mixer.Mix(out.data(), kBlock);
            benchmark::DoNotOptimize(out.data());
        }
        benchmark::ClobberMemory();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    // One iteration renders one second of audio, so its time in seconds x 100 is the core share.
    state.counters["core_percent"] = 100.0 * seconds / static_cast<double>(state.iterations());
}
BENCHMARK(BM_MixOneSecondBusy)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
