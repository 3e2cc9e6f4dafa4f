// The baker's synthesiser: recipe and score mistakes are reported with file and line, and what it
// renders decodes to the sound that was asked for.
#include "tools/bake/synth.hpp"

#include <gtest/gtest.h>
#include <unistd.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

#include "tools/bake/synth_dsp.hpp"

namespace {

namespace fs = std::filesystem;

struct Decoded {
    int channels = 0;
    long rate = 0;
    std::vector<std::vector<float>> samples;  // per channel
    std::size_t Frames() const { return samples.empty() ? 0 : samples[0].size(); }
};

Decoded Decode(const fs::path& file) {
    Decoded out;
    OggVorbis_File vf;
    if (ov_fopen(file.c_str(), &vf) != 0) return out;
    const vorbis_info* info = ov_info(&vf, -1);
    out.channels = info->channels;
    out.rate = info->rate;
    out.samples.resize(static_cast<std::size_t>(out.channels));
    float** pcm = nullptr;
    int section = 0;
    for (long n; (n = ov_read_float(&vf, &pcm, 4096, &section)) > 0;)
        for (int c = 0; c < out.channels; ++c)
            out.samples[static_cast<std::size_t>(c)].insert(out.samples[static_cast<std::size_t>(c)].end(),
                                                            pcm[c], pcm[c] + n);
    ov_clear(&vf);
    return out;
}

float Peak(const std::vector<float>& v) {
    float peak = 0.0f;
    for (float x : v) peak = std::max(peak, std::abs(x));
    return peak;
}

double Rms(const std::vector<float>& v, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) sum += static_cast<double>(v[i]) * v[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

class SynthTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("brisk-synth-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path Write(const std::string& name, const std::string& text) {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // Bakes `text` as a recipe (or a score, by extension) and returns the error, empty on success.
    std::string Bake(const std::string& name, const std::string& text, const std::string& ogg = "out.ogg") {
        const fs::path source = Write(name, text);
        std::string error;
        const bool ok = fs::path(name).extension() == ".score"
                            ? bake::BakeMusicTrack(source.string(), (dir_ / ogg).string(), error)
                            : bake::BakeSoundEffect(source.string(), (dir_ / ogg).string(), error);
        EXPECT_EQ(ok, error.empty()) << error;
        return error;
    }
    static void ExpectError(const std::string& error, const std::string& where, const std::string& what) {
        EXPECT_NE(error.find(where), std::string::npos) << "error: " << error;
        EXPECT_NE(error.find(what), std::string::npos) << "error: " << error;
    }

    fs::path dir_;
};

TEST_F(SynthTest, RecipeMistakesNameFileLineAndProblem) {
    ExpectError(Bake("a.sfx", "# pop\nlayer sinus freq=400\n"), "a.sfx:2: ", "unknown wave 'sinus'");
    ExpectError(Bake("b.sfx", "layer sine freq=abc\n"), "b.sfx:1: ", "freq 'abc' is not a number");
    ExpectError(Bake("c.sfx", "\n\nlayer sine freq=30000\n"), "c.sfx:3: ", "freq 30000 is outside");
    ExpectError(Bake("d.sfx", "layer sine wobble=3\n"), "d.sfx:1: ", "unknown layer key 'wobble'");
    ExpectError(Bake("e.sfx", "loudness 3\nlayer sine\n"), "e.sfx:1: ", "unknown setting 'loudness'");
    ExpectError(Bake("f.sfx", "layer sine len\n"), "f.sfx:1: ", "expected key=value");
    ExpectError(Bake("g.sfx", "channels 3\nlayer sine\n"), "g.sfx:1: ", "channels");
    ExpectError(Bake("h.sfx", "layer sine filter=notch\n"), "h.sfx:1: ", "unknown filter 'notch'");
    ExpectError(Bake("i.sfx", "layer sine at=9 len=2\n"), "i.sfx:1: ", "lasts past");
    ExpectError(Bake("j.sfx", "# nothing but a comment\n"), "j.sfx", "no layer");
    ExpectError(Bake("k.sfx", "layer sine vol=0\n"), "k.sfx", "silence");
    EXPECT_FALSE(fs::exists(dir_ / "out.ogg"));  // a failed recipe leaves no file behind

    std::string error;
    EXPECT_FALSE(bake::BakeSoundEffect((dir_ / "missing.sfx").string(), (dir_ / "m.ogg").string(), error));
    ExpectError(error, "missing.sfx", "cannot open");
}

TEST_F(SynthTest, ScoreMistakesNameFileLineAndProblem) {
    const std::string head = "tempo 120\ninstrument lead sine\n";
    ExpectError(Bake("a.score", "instrument lead sine\npattern p lead C4\nplay 1 p\n"), "a.score",
                "no tempo");
    ExpectError(Bake("b.score", head + "pattern p lead C4\nplay 1 q\n"),
                "b.score:4: ", "unknown pattern 'q'");
    ExpectError(Bake("c.score", head + "pattern p bass C4\n"), "c.score:3: ", "unknown instrument 'bass'");
    ExpectError(Bake("d.score", head + "pattern p lead H4 .\n"), "d.score:3: ", "bad note 'H4'");
    ExpectError(Bake("e.score", head + "pattern p lead C4:maj9\n"), "e.score:3: ", "unknown chord 'maj9'");
    ExpectError(Bake("f.score", head + "| C4 .\n"), "f.score:3: ", "continues a pattern");
    ExpectError(Bake("g.score", head + "pattern p lead C4\npattern p lead D4\n"),
                "g.score:4: ", "defined twice");
    // 15 steps against bars of 16 would drift by a step every bar.
    ExpectError(Bake("h.score", head + "pattern p lead C4 .*14\nplay 1 p\n"), "h.score", "has 15 steps");
    ExpectError(Bake("i.score", head + "pattern p lead C4\n"), "i.score", "no play line");
    ExpectError(Bake("j.score", head + "pattern p lead C4\nplay 200 p\n"), "j.score", "more than");
    ExpectError(Bake("k.score", head + "pattern p lead C4\nplay 1 p+99\n"), "k.score:4: ", "transposition");
    ExpectError(Bake("l.score", head + "pattern p lead C4 *3\n"), "l.score:3: ", "empty step");
    // Sharps are notes, not comments; a word starting with '#' is a comment.
    EXPECT_EQ(Bake("m.score", head + "pattern p lead F#4 . C#5 . # a comment C4 C4\n|  .*12\nplay 1 p\n"),
              "");
}

TEST_F(SynthTest, SineRecipeDecodesToItsPitchLengthAndPeak) {
    ASSERT_EQ(Bake("sine.sfx", "layer sine freq=440 len=0.5 attack=0.01 decay=0 release=0.01\n"), "");
    const Decoded d = Decode(dir_ / "out.ogg");
    ASSERT_EQ(d.channels, 1);
    EXPECT_EQ(d.rate, 44100);
    EXPECT_NEAR(static_cast<double>(d.Frames()) / 44100.0, 0.51, 0.01);
    // Count upward zero crossings over the steady middle 0.4 s.
    const auto& s = d.samples[0];
    const std::size_t from = 4410, to = from + 17640;
    int crossings = 0;
    for (std::size_t i = from + 1; i < to; ++i) crossings += s[i - 1] < 0.0f && s[i] >= 0.0f;
    EXPECT_NEAR(crossings / 0.4, 440.0, 5.0);
    const double peakDb = 20.0 * std::log10(Peak(s));
    EXPECT_GT(peakDb, -1.6);
    EXPECT_LT(peakDb, -0.4);               // normalised to -1 dBFS, give or take the codec
    EXPECT_LT(std::abs(s.back()), 0.01f);  // faded out, no click at the end

    // A quieter peak when asked, and a hard-left layer in stereo stays on the left.
    ASSERT_EQ(Bake("left.sfx", "channels 2\npeak -6\nlayer sine freq=220 len=0.3 pan=-1\n", "left.ogg"), "");
    const Decoded st = Decode(dir_ / "left.ogg");
    ASSERT_EQ(st.channels, 2);
    EXPECT_NEAR(20.0 * std::log10(Peak(st.samples[0])), -6.0, 0.8);
    EXPECT_LT(Peak(st.samples[1]), Peak(st.samples[0]) * 0.05f);
}

TEST_F(SynthTest, RenderingIsDeterministicAndSeeded) {
    const std::string noise = "layer noise len=0.2 filter=bp cutoff=2000\n";
    ASSERT_EQ(Bake("n.sfx", noise, "one.ogg"), "");
    ASSERT_EQ(Bake("n.sfx", noise, "two.ogg"), "");
    ASSERT_EQ(Bake("n.sfx", "seed 99\n" + noise, "three.ogg"), "");
    const auto bytes = [&](const char* name) {
        std::ifstream in(dir_ / name, std::ios::binary);
        return std::vector<char>(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(bytes("one.ogg"), bytes("two.ogg"));
    EXPECT_NE(bytes("one.ogg"), bytes("three.ogg"));
}

TEST_F(SynthTest, ScoreLoopsSeamlesslyWithItsTailFoldedOntoTheStart) {
    // Two bars at 120 bpm = 4 s. The only note starts on the last beat and rings 1.5 s past the end;
    // the limiter works round the loop point too.
    const std::string score =
        "tempo 120\n"
        "limit 6\n"
        "instrument pad triangle attack=0.05 sustain=0.8 release=1.5\n"
        "pattern p pad .*16 | .*12 A4 - - -\n"
        "play 2 p\n";
    ASSERT_EQ(Bake("loop.score", score), "");
    const Decoded d = Decode(dir_ / "out.ogg");
    ASSERT_EQ(d.channels, 2);
    ASSERT_EQ(d.Frames(), 4u * 44100u);  // exactly the loop, no tail appended
    const auto& left = d.samples[0];
    // The release wrapped around: the start sounds although nothing is played there...
    EXPECT_GT(Rms(left, 0, 4410), 0.02);
    // ...and has died away by the middle of the first bar.
    EXPECT_LT(Rms(left, 2 * 44100 - 4410, 2 * 44100), 0.002);
    // Across the loop point the wave continues like anywhere else in the note.
    double meanStep = 0.0;
    for (std::size_t i = 1; i < 4410; ++i) meanStep += std::abs(left[i] - left[i - 1]);
    meanStep /= 4409.0;
    EXPECT_LT(std::abs(left.front() - left.back()), 4.0 * meanStep + 1e-4);
}

TEST(SynthLimiter, PullsPeaksDownAndReleasesAcrossTheLoopPoint) {
    // One second of a quiet tone whose last 10 ms are four times louder.
    const std::size_t n = 44100;
    std::vector<float> in(n);
    for (std::size_t i = 0; i < n; ++i)
        in[i] = static_cast<float>((i >= n - 441 ? 1.0 : 0.25) *
                                   std::sin(2.0 * std::numbers::pi * 441.0 * i / 44100.0));
    std::vector<float> left = in, right = in;
    bake::synth::LimitLoop(left, right, 6.0);
    EXPECT_LE(Peak(left), 0.5013f);  // 6 dB under the loudest input sample
    EXPECT_EQ(left, right);
    const auto gainAround = [&](std::size_t at) {  // out/in where the input is far from zero
        for (std::size_t i = at; i < at + 100; ++i)
            if (std::abs(in[i]) > 0.2f) return left[i] / in[i];
        return 0.0f;
    };
    EXPECT_LT(gainAround(n - 200), 0.55f);
    // The loud end is followed, round the loop, by the start: the gain is still recovering there...
    EXPECT_LT(gainAround(2205), 0.9f);  // 50 ms in
    EXPECT_GT(gainAround(2205), gainAround(n - 200));
    // ...and is back to one well after the release, where nothing was loud.
    EXPECT_NEAR(gainAround(n / 2), 1.0f, 0.01f);
}

TEST_F(SynthTest, EverySoundTheGameLoadsHasAWorkingRecipe) {
    const fs::path content = fs::path(BRISK_SOURCE_ROOT) / "content";
    const char* sounds[] = {"Fireworks", "MouseOver", "Pop1",         "Pop2",    "Pop3",     "Stunner",
                            "Tick",      "Tick2",     "Click",        "Collect", "FadeIn",   "BaseUpgrade",
                            "Building",  "Cinematic", "EnemyCollect", "Fist2",   "GameLose", "Cover",
                            "Grab",      "Gun",       "OTick",        "OTick2",  "Siren",    "electricshock",
                            "Fire",      "Lightning", "Rotate",       "Sweep",   "Swap",     "Alert2",
                            "Alert23",   "Alert35",   "Count",        "Drop",    "IntroEnd"};
    for (const char* name : sounds) {
        const fs::path recipe = content / "sounds" / (std::string(name) + ".sfx");
        ASSERT_TRUE(fs::exists(recipe)) << recipe;
        std::string error;
        const fs::path ogg = dir_ / (std::string(name) + ".ogg");
        ASSERT_TRUE(bake::BakeSoundEffect(recipe.string(), ogg.string(), error)) << error;
        const Decoded d = Decode(ogg);
        ASSERT_GT(d.Frames(), 0u) << name;
        float peak = 0.0f;
        for (const auto& channel : d.samples) peak = std::max(peak, Peak(channel));
        EXPECT_LT(peak, 1.0f) << name;
        EXPECT_GT(peak, 0.1f) << name;
        EXPECT_LT(d.Frames(), 5u * 44100u) << name;
    }
    // Typing ticks and the meter count repeat every 50-90 ms: each must be over before the next.
    for (const char* name : {"Tick", "Tick2", "OTick", "OTick2", "Count"})
        EXPECT_LT(Decode(dir_ / (std::string(name) + ".ogg")).Frames(), 50u * 44100u / 1000u) << name;

    for (const char* track : {"a_champions_call", "First Report Edit", "boys_will_be_boys", "theyre_after_me",
                              "GameWin", "adventure", "unbreakable", "on_fire", "look_ahead", "we_can"})
        EXPECT_TRUE(fs::exists(content / "music" / (std::string(track) + ".score"))) << track;
}

}  // namespace
