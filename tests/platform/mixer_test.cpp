// The software mixer rendered into buffers: channel volume, pan, rate, loops, stops and reuse,
// the music ring, and Ogg files written here with the Vorbis encoder.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ogg_fixture.hpp"
#include "platform/mixer.hpp"

namespace {

using platform::Mixer;
using platform::MusicStream;
using platform::Sample;
using platform::SamplePtr;

constexpr int kRate = 48000;

SamplePtr Constant(int frames, float left, float right, int rate = kRate) {
    auto s = std::make_shared<Sample>();
    s->rate = rate;
    for (int i = 0; i < frames; ++i) {
        s->data.push_back(left);
        s->data.push_back(right);
    }
    return s;
}

// Value i / frames at frame i on both sides: shows where a voice reads.
SamplePtr Slope(int frames, int rate = kRate) {
    auto s = std::make_shared<Sample>();
    s->rate = rate;
    for (int i = 0; i < frames; ++i) {
        float v = static_cast<float>(i) / frames;
        s->data.push_back(v);
        s->data.push_back(v);
    }
    return s;
}

std::vector<float> Render(Mixer& m, int frames) {
    std::vector<float> out(2 * static_cast<size_t>(frames));
    m.Mix(out.data(), frames);
    return out;
}

// The biggest jump between neighbouring frames of one side: a click shows as a big one.
float MaxJump(const std::vector<float>& a, float previous = 0.f) {
    float worst = 0.f;
    for (size_t i = 0; i < a.size(); i += 2) {
        worst = std::max(worst, std::fabs(a[i] - previous));
        previous = a[i];
    }
    return worst;
}

std::string TempFile(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("brisk_mixer_" + name)).string();
}

// Fills the ring from the stream the way the engine does.
void Feed(Mixer& m, MusicStream& stream, std::vector<float>& scratch) {
    platform::FillMusic(stream, scratch, m.MusicFreeFrames(), [&](const float* data, int n, bool end) {
        if (end) {
            m.MusicEndOfData();
        } else {
            m.MusicPush(data, n);
        }
    });
}

TEST(Mixer, VolumeAndPanApplyFromTheFirstSampleAfterAShortFadeIn) {
    Mixer m(kRate);
    m.Play(0, Constant(4000, 1.f, 1.f), false);
    EXPECT_EQ(m.State(0), 1) << "a pending play already reports as playing";
    // Set after the play, as the game's sound player does: must be in force from the start.
    m.SetVolume(0, 0.5f);
    m.SetPan(0, 0.5f);
    m.StartPending();
    auto out = Render(m, 1000);
    EXPECT_LT(out[0], 0.01f) << "a start without a fade-in clicks";
    for (int i = 0; i < 1000; ++i) {
        ASSERT_LE(out[2 * i], 0.25f + 1e-6f) << i;
        ASSERT_LE(out[2 * i + 1], 0.5f + 1e-6f) << i;
    }
    // Pan 0.5: left = min(1, 1 - 0.5), right = min(1, 1 + 0.5), times the volume.
    EXPECT_NEAR(out[2 * 500], 0.25f, 1e-5f);
    EXPECT_NEAR(out[2 * 500 + 1], 0.5f, 1e-5f);

    // Parameters belong to the channel and stay for the next play.
    m.Play(0, Constant(4000, 1.f, 1.f), false);
    m.SetPan(0, -1.f);
    m.StartPending();
    out = Render(m, 1000);
    EXPECT_NEAR(out[2 * 500], 0.5f, 1e-5f);
    EXPECT_NEAR(out[2 * 500 + 1], 0.f, 1e-6f);

    // A volume change fades instead of jumping.
    m.SetVolume(0, 0.f);
    out = Render(m, 400);
    EXPECT_GT(out[0], 0.4f);
    EXPECT_NEAR(out[2 * 300], 0.f, 1e-6f);
    EXPECT_LT(MaxJump(out, 0.5f), 0.01f);

    // Out-of-range values are held to the allowed range.
    m.SetVolume(0, 7.f);
    m.SetPan(0, 3.f);
    out = Render(m, 400);
    EXPECT_NEAR(out[2 * 300], 0.f, 1e-6f);
    EXPECT_NEAR(out[2 * 300 + 1], 1.f, 1e-5f);
}

TEST(Mixer, RateAndSourceRateSetTheLengthAndPitch) {
    Mixer m(kRate);
    m.SetRate(1, 2.f);
    m.Play(1, Constant(1000, 0.5f, 0.5f), false);
    m.Play(2, Constant(1000, 0.5f, 0.5f), false);
    m.Play(3, Constant(1000, 0.5f, 0.5f, kRate / 2), false);  // recorded at half the device rate
    m.StartPending();
    Render(m, 498);
    EXPECT_EQ(m.State(1), 1);
    Render(m, 4);
    EXPECT_EQ(m.State(1), 0) << "double speed ends in half the frames";
    EXPECT_EQ(m.State(2), 1);
    Render(m, 497);
    EXPECT_EQ(m.State(2), 1);
    Render(m, 3);
    EXPECT_EQ(m.State(2), 0);
    EXPECT_EQ(m.State(3), 1);
    Render(m, 997);  // 1999 frames so far
    EXPECT_EQ(m.State(3), 1);
    Render(m, 2);
    EXPECT_EQ(m.State(3), 0) << "a half-rate recording lasts twice as many device frames";

    // Half speed reads between the recorded frames, interpolated linearly.
    Mixer slow(kRate);
    slow.SetRate(0, 0.5f);
    slow.Play(0, Slope(1000), false);
    slow.StartPending();
    std::vector<float> buf = Render(slow, 1000);
    EXPECT_NEAR(buf[2 * 401], 200.5f / 1000.f, 1e-5f);
    EXPECT_NEAR(buf[2 * 400], 200.f / 1000.f, 1e-5f);
}

TEST(Mixer, ReusingABusyChannelReplacesTheSoundWithoutAClick) {
    Mixer m(kRate);
    m.Play(5, Constant(48000, 0.8f, 0.8f), true);
    m.StartPending();
    auto before = Render(m, 500);
    m.Play(5, Constant(48000, -0.4f, -0.4f), false);
    EXPECT_EQ(m.State(5), 1);
    m.StartPending();
    auto after = Render(m, 1000);
    EXPECT_LT(MaxJump(after, before[2 * 499]), 0.02f);
    EXPECT_NEAR(after[2 * 900], -0.4f, 1e-5f) << "only the new sound is left";

    // The game's order: stop, play, then the parameters.
    m.Stop(5);
    m.Play(5, Constant(48000, 0.3f, 0.3f), false);
    m.SetVolume(5, 0.5f);
    m.StartPending();
    auto third = Render(m, 1000);
    EXPECT_LT(MaxJump(third, after[2 * 999]), 0.02f);
    EXPECT_NEAR(third[2 * 900], 0.15f, 1e-5f);
}

TEST(Mixer, StopFadesOutAndTheChannelReportsStoppedAtOnce) {
    Mixer m(kRate);
    auto sample = Constant(48000, 0.6f, 0.6f);
    m.Play(7, sample, true);
    m.StartPending();
    auto playing = Render(m, 300);
    m.Stop(7);
    EXPECT_EQ(m.State(7), 0);
    auto out = Render(m, 400);
    EXPECT_LT(MaxJump(out, playing[2 * 299]), 0.01f);
    EXPECT_EQ(out[2 * 399], 0.f);
    m.ReleaseFinished();
    EXPECT_EQ(sample.use_count(), 1) << "a stopped channel lets go of its sample";

    // A pending play that is stopped never sounds.
    m.Play(7, sample, false);
    m.Stop(7);
    m.StartPending();
    out = Render(m, 200);
    EXPECT_EQ(m.State(7), 0);
    EXPECT_EQ(out[2 * 150], 0.f);
    // Channels outside 0..31 are ignored.
    m.Play(32, sample, false);
    m.Play(-1, sample, false);
    EXPECT_EQ(m.State(32), 0);
    EXPECT_EQ(m.State(-1), 0);
}

TEST(Mixer, LoopsRepeatAndOneShotsEndByThemselves) {
    Mixer m(kRate);
    auto loop = Slope(100);
    auto once = Constant(300, 0.1f, 0.1f);
    m.Play(0, loop, true);
    m.Play(1, once, false);
    m.StartPending();
    EXPECT_EQ(m.State(1), 1);
    auto out = Render(m, 1000);
    EXPECT_EQ(m.State(0), 1);
    EXPECT_EQ(m.State(1), 0);
    for (int i = 400; i < 900; ++i) {
        ASSERT_NEAR(out[2 * i], out[2 * (i + 100)], 1e-5f) << i;
    }
    EXPECT_NEAR(out[2 * 450], 0.5f, 1e-5f);
    m.ReleaseFinished();
    EXPECT_EQ(once.use_count(), 1);
    EXPECT_GT(loop.use_count(), 1);

    // Moving on without rendering: the loop keeps playing, a one-shot ends.
    m.Play(1, once, false);
    m.StartPending();
    m.Advance(299);
    EXPECT_EQ(m.State(1), 1);
    m.Advance(2);
    EXPECT_EQ(m.State(1), 0);
    m.Advance(10'000'000);
    EXPECT_EQ(m.State(0), 1);
}

TEST(Mixer, MusicRingPlaysPausesResumesAndStops) {
    Mixer m(kRate);
    EXPECT_EQ(m.MusicState(), 0);
    m.MusicResume();
    EXPECT_EQ(m.MusicState(), 0) << "resuming a stopped track does nothing";
    m.MusicStart(kRate);
    m.MusicSetVolume(0.5f);
    std::vector<float> music;
    for (int i = 0; i < 20000; ++i) {
        music.push_back(static_cast<float>(i) / 20000);
        music.push_back(0.25f);
    }
    EXPECT_EQ(m.MusicPush(music.data(), 20000), 20000);
    auto out = Render(m, 1000);
    EXPECT_EQ(m.MusicState(), 1);
    EXPECT_NEAR(out[2 * 500], 0.5f * 500 / 20000, 1e-6f);
    EXPECT_NEAR(out[2 * 500 + 1], 0.125f, 1e-6f);

    m.MusicPause();
    EXPECT_EQ(m.MusicState(), -1);
    out = Render(m, 1000);
    EXPECT_EQ(out[2 * 999 + 1], 0.f);
    const int64_t held = m.MusicBufferedFrames();
    Render(m, 1000);
    EXPECT_EQ(m.MusicBufferedFrames(), held) << "a paused track holds its place";
    m.MusicResume();
    EXPECT_EQ(m.MusicState(), 1);
    out = Render(m, 1000);
    const auto at = static_cast<float>(20000 - held + 500);
    EXPECT_NEAR(out[2 * 500], 0.5f * at / 20000, 1e-6f) << "resumes where it paused";

    m.MusicEndOfData();
    Render(m, 20000);
    EXPECT_EQ(m.MusicState(), 0) << "a track without more data stops at its end";

    m.MusicStart(kRate);
    m.MusicPush(music.data(), 20000);
    auto playing = Render(m, 500);
    m.MusicStop();
    EXPECT_EQ(m.MusicState(), 0);
    EXPECT_EQ(m.MusicPush(music.data(), 10), 0) << "a stopped track takes no data";
    out = Render(m, 300);
    EXPECT_LT(MaxJump(out, playing[2 * 499]), 0.01f);
    EXPECT_EQ(out[2 * 299 + 1], 0.f);
}

TEST(Mixer, DecodesOggSamplesAndRejectsOtherFiles) {
    const std::string file = TempFile("beep.ogg");
    testogg::WriteOgg(file, testogg::Sine(22050, 22050, 441, 0.5f), 22050);
    SamplePtr s = platform::DecodeSoundFile(file);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->rate, 22050);
    EXPECT_EQ(s->Frames(), 22050);
    float peak = 0.f;
    for (int64_t i = 1000; i < s->Frames() - 1000; ++i) {
        peak = std::max(peak, std::fabs(s->data[2 * i]));
        ASSERT_NEAR(s->data[2 * i], -s->data[2 * i + 1], 0.05f);
    }
    EXPECT_NEAR(peak, 0.5f, 0.05f);

    // Played on a 44100 Hz mixer it lasts two device frames per recorded one.
    Mixer m(44100);
    m.Play(0, s, false);
    m.StartPending();
    Render(m, 44099);
    EXPECT_EQ(m.State(0), 1);
    Render(m, 2);
    EXPECT_EQ(m.State(0), 0);

    EXPECT_EQ(platform::DecodeSoundFile(TempFile("missing.ogg")), nullptr);
    EXPECT_EQ(platform::DecodeSoundFile(""), nullptr);
    const std::string text = TempFile("notes.ogg");
    FILE* f = std::fopen(text.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("not a sound at all", f);
    std::fclose(f);
    EXPECT_EQ(platform::DecodeSoundFile(text), nullptr);
    MusicStream stream;
    EXPECT_FALSE(stream.Open(text, true));

    // A 16-bit mono RIFF WAVE comes out as float stereo at its own rate.
    const std::string wav = TempFile("click.wav");
    {
        const int frames = 100;
        std::vector<unsigned char> bytes;
        auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) bytes.push_back((v >> (8 * i)) & 0xff); };
        auto put16 = [&](uint16_t v) { bytes.push_back(v & 0xff); bytes.push_back(v >> 8); };
        auto tag = [&](const char* t) { bytes.insert(bytes.end(), t, t + 4); };
        tag("RIFF");
        put32(36 + 2 * frames);
        tag("WAVE");
        tag("fmt ");
        put32(16);
        put16(1);  // PCM
        put16(1);  // mono
        put32(11025);
        put32(11025 * 2);
        put16(2);
        put16(16);
        tag("data");
        put32(2 * frames);
        for (int i = 0; i < frames; ++i) put16(static_cast<uint16_t>(i < 50 ? 16384 : -16384));
        FILE* w = std::fopen(wav.c_str(), "wb");
        ASSERT_NE(w, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), w);
        std::fclose(w);
    }
    SamplePtr click = platform::DecodeSoundFile(wav);
    ASSERT_NE(click, nullptr);
    EXPECT_EQ(click->rate, 11025);
    ASSERT_EQ(click->Frames(), 100);
    EXPECT_NEAR(click->data[2 * 10], 0.5f, 1e-3f);
    EXPECT_NEAR(click->data[2 * 10 + 1], 0.5f, 1e-3f);
    EXPECT_NEAR(click->data[2 * 90 + 1], -0.5f, 1e-3f);
    // The same wave cut short after its data chunk claimed two gigabytes is refused, without the
    // decoder setting aside what the chunk claims.
    {
        std::string bytes(std::istreambuf_iterator<char>(std::ifstream(wav, std::ios::binary).rdbuf()), {});
        bytes.replace(40, 4, "\xff\xff\xff\x7f", 4);
        std::ofstream(wav, std::ios::binary | std::ios::trunc) << bytes;
    }
    EXPECT_EQ(platform::DecodeSoundFile(wav), nullptr);
    // And with an empty data chunk it holds no sound: refused, not copied from nowhere.
    {
        std::string bytes(std::istreambuf_iterator<char>(std::ifstream(wav, std::ios::binary).rdbuf()), {});
        bytes.resize(44);
        bytes.replace(4, 4, std::string("\x24\0\0\0", 4));
        bytes.replace(40, 4, std::string(4, '\0'));
        std::ofstream(wav, std::ios::binary | std::ios::trunc) << bytes;
    }
    EXPECT_EQ(platform::DecodeSoundFile(wav), nullptr);
    std::filesystem::remove(wav);
    EXPECT_FALSE(stream.Open(TempFile("missing.ogg"), true));
    std::filesystem::remove(file);
    std::filesystem::remove(text);
}

TEST(Mixer, MusicLoopsWithoutAGapAndOneShotTracksEnd) {
    const int rate = 44100;
    const std::string file = TempFile("theme.ogg");
    testogg::WriteOgg(file, testogg::Sine(9000, rate, 490, 0.6f), rate);  // 9000 frames = 100 whole periods
    SamplePtr whole = platform::DecodeSoundFile(file);
    ASSERT_NE(whole, nullptr);
    const int64_t n = whole->Frames();
    ASSERT_EQ(n, 9000);

    Mixer m(rate);
    MusicStream stream;
    ASSERT_TRUE(stream.Open(file, true));
    std::vector<float> scratch(2 * 4096);
    m.MusicStart(stream.SourceRate());
    Feed(m, stream, scratch);
    const int block = 1024;
    const int blocks = static_cast<int>(3 * n / block);
    int64_t frame = 0;
    for (int b = 0; b < blocks; ++b) {
        auto out = Render(m, block);
        for (int i = 0; i < block; ++i, ++frame) {
            if (frame < Mixer::kRampFrames) continue;
            const float want = whole->data[2 * (frame % n)];
            ASSERT_NEAR(out[2 * i], want, 1e-5f) << "frame " << frame;
        }
        Feed(m, stream, scratch);
    }
    EXPECT_EQ(m.MusicState(), 1);

    // Without the loop flag the track ends after its last frame.
    MusicStream once;
    ASSERT_TRUE(once.Open(file, false));
    m.MusicStart(once.SourceRate());
    Feed(m, once, scratch);
    Render(m, static_cast<int>(n) - 10);
    EXPECT_EQ(m.MusicState(), 1);
    Feed(m, once, scratch);
    Render(m, 20);
    EXPECT_EQ(m.MusicState(), 0);
    std::filesystem::remove(file);
}

}  // namespace
