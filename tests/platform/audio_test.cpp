// The engine's audio calls on the silent mixer: data paths, channel states and music states.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/audio.hpp"
#include "platform/engine.hpp"
#include "platform/storage.hpp"
#include "engine_fixture.hpp"
#include "ogg_fixture.hpp"

namespace {

namespace fs = std::filesystem;

// A short stereo tone.
void WriteTone(const std::string& file, int frames, int rate) {
    testogg::WriteOgg(file, testogg::Sine(frames, rate, 440, 0.3f), rate);
}

class AudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("brisk_audio_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(root_ / "data" / "sounds");
        fs::create_directories(root_ / "data" / "music");
        WriteTone((root_ / "data" / "sounds" / "Blip.ogg").string(), 4800, 48000);
        WriteTone((root_ / "data" / "music" / "First Report Edit.ogg").string(), 48000, 48000);
        previousRoot_ = platform::DataRoot();
        platform::SetDataRoot(root_.string());
        platform::AudioInit(false);
    }
    void TearDown() override {
        platform::AudioShutdown();
        platform::SetDataRoot(previousRoot_);
        fs::remove_all(root_);
    }
    fs::path root_;
    std::string previousRoot_;
};

TEST_F(AudioTest, SoundsLoadFromTheDataFolderAndChannelsReportTheirState) {
    platform::SamplePtr blip = platform::LoadSound("sounds/Blip.ogg");
    ASSERT_NE(blip, nullptr);
    EXPECT_EQ(platform::LoadSound("sounds/Missing.ogg"), nullptr);
    EXPECT_EQ(platform::LoadSound("vantle://elsewhere/sounds/Blip.ogg"), nullptr);

    EXPECT_EQ(platform::ChannelState(4), 0);
    platform::PlaySound(blip, 4, 0);
    platform::SetChannelVolume(4, 0.5f);
    EXPECT_EQ(platform::ChannelState(4), 1);
    platform::AudioPump();
    EXPECT_EQ(platform::ChannelState(4), 1);
    platform::StopChannel(4);
    EXPECT_EQ(platform::ChannelState(4), 0);
    platform::PlaySound(blip, 5, 1);
    platform::PlaySound(nullptr, 6, 0);
    EXPECT_EQ(platform::ChannelState(6), 0);
    platform::PlaySound(blip, 40, 0);  // no such channel
    EXPECT_EQ(platform::ChannelState(40), 0);
    platform::AudioPump();
    EXPECT_EQ(platform::ChannelState(5), 1);
}

TEST_F(AudioTest, MusicPlaysPausesAndStopsAndAMissingTrackFails) {
    EXPECT_EQ(platform::MusicState(), 0);
    EXPECT_EQ(platform::PlayMusic("music/Nowhere.ogg", 1), -1);
    EXPECT_EQ(platform::MusicState(), 0);
    EXPECT_EQ(platform::PlayMusic("music/First Report Edit.ogg", 1), 0);
    EXPECT_EQ(platform::MusicState(), 1);
    platform::SetMusicVolume(0.5f);
    platform::AudioPump();
    EXPECT_EQ(platform::PlayMusic("music/Nowhere.ogg", 1), -1);
    EXPECT_EQ(platform::MusicState(), 1) << "a failed start leaves the current track playing";
    platform::PauseMusic();
    EXPECT_EQ(platform::MusicState(), -1);
    platform::ResumeMusic();
    EXPECT_EQ(platform::MusicState(), 1);
    platform::StopMusic();
    EXPECT_EQ(platform::MusicState(), 0);
    platform::ResumeMusic();
    EXPECT_EQ(platform::MusicState(), 0);
    platform::PauseMusic();
    EXPECT_EQ(platform::MusicState(), 0);
}

// The same calls with a real device thread (SDL's dummy driver in tests) pulling the mixer.
TEST_F(AudioTest, TheDeviceThreadMixesUnderTheSameCalls) {
    platform::AudioInit(true);
    platform::SamplePtr blip = platform::LoadSound("sounds/Blip.ogg");
    ASSERT_NE(blip, nullptr);
    for (int ch = 0; ch < platform::kSoundChannels; ++ch) {
        platform::PlaySound(blip, ch, 1);
        platform::SetChannelRate(ch, 0.5f + ch * 0.05f);
        platform::SetChannelPan(ch, -1.f + ch / 16.f);
    }
    ASSERT_EQ(platform::PlayMusic("music/First Report Edit.ogg", 1), 0);
    for (int i = 0; i < 50; ++i) {
        platform::AudioPump();
        for (int ch = 0; ch < platform::kSoundChannels; ++ch) ASSERT_EQ(platform::ChannelState(ch), 1);
        ASSERT_EQ(platform::MusicState(), 1);
    }
    platform::StopChannel(3);
    EXPECT_EQ(platform::ChannelState(3), 0);
    platform::PauseMusic();
    EXPECT_EQ(platform::MusicState(), -1);
    platform::AudioShutdown();
    EXPECT_EQ(platform::ChannelState(0), 0) << "a shut-down engine forgets its channels";
}

// Without a device the mixer follows the engine clock: with the fake clock a 100 ms sound ends
// after the same 100 ms of frames, every run.
class SilentAudioTest : public testapp::EngineTest {};

TEST_F(SilentAudioTest, ChannelsAndMusicFollowTheEngineClock) {
    fs::create_directories(fs::path(dir.path()) / "data" / "sounds");
    fs::create_directories(fs::path(dir.path()) / "data" / "music");
    WriteTone((fs::path(dir.path()) / "data" / "sounds" / "Blip.ogg").string(), 4800, 48000);
    WriteTone((fs::path(dir.path()) / "data" / "music" / "Short.ogg").string(), 24000, 48000);
    ASSERT_TRUE(platform::driver::Start(testapp::InitNothing, testapp::MakeApp, Options()));
    testapp::HookApp& app = *testapp::Current();
    app.create = [] {
        ASSERT_TRUE(platform::OpenGraphics(200, 100, 0, 60, 0));
        platform::SamplePtr blip = platform::LoadSound("sounds/Blip.ogg");
        ASSERT_NE(blip, nullptr);
        platform::PlaySound(blip, 0, 0);
        platform::PlaySound(blip, 1, 1);
        platform::SetChannelRate(2, 2.f);
        platform::PlaySound(blip, 2, 0);
        ASSERT_EQ(platform::PlayMusic("music/Short.ogg", 0), 0);
    };
    ASSERT_TRUE(platform::driver::Step(1));
    ASSERT_TRUE(platform::driver::Step(2));  // about 33 ms of sound
    EXPECT_EQ(platform::ChannelState(0), 1);
    EXPECT_EQ(platform::ChannelState(2), 1);
    ASSERT_TRUE(platform::driver::Step(2));  // about 67 ms
    EXPECT_EQ(platform::ChannelState(0), 1);
    EXPECT_EQ(platform::ChannelState(2), 0) << "double speed ends after 50 ms";
    ASSERT_TRUE(platform::driver::Step(4));  // about 133 ms
    EXPECT_EQ(platform::ChannelState(0), 0) << "a one-shot sound ends by itself";
    EXPECT_EQ(platform::ChannelState(1), 1);
    EXPECT_EQ(platform::MusicState(), 1);
    ASSERT_TRUE(platform::driver::Step(24));  // about 533 ms
    EXPECT_EQ(platform::MusicState(), 0) << "a 500 ms track without the loop flag ends";

    // A long stall moves everything on at once; the loop keeps its channel.
    ASSERT_EQ(platform::PlayMusic("music/Short.ogg", 1), 0);
    platform::driver::AdvanceClock(10 * 60 * 1000);
    ASSERT_TRUE(platform::driver::Step(1));
    EXPECT_EQ(platform::ChannelState(1), 1);
    EXPECT_EQ(platform::MusicState(), 1);
}

}  // namespace
