// The sound bank and the 32-channel player: keys and file names, the cache, the channel cursor,
// loops that hold their channels, a player with every channel held, and the delay between plays.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "core/exception.hpp"
#include "framework/main.hpp"
#include "platform/audio.hpp"
#include "tests/framework/bank_fixtures.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/probe_screen.hpp"

using bankfix::AssertionText;
using bankfix::DataFolder;
using harness::Harness;

namespace {

class SoundBankTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bankfix::WriteWav(data.Sounds() + "Click.wav", 50);
        // The loader tells the formats apart by their content, so a short wave can stand in here.
        bankfix::WriteWav(data.Sounds() + "Boom.ogg", 50);
        bankfix::WriteWav(data.Sounds() + "Hum.wav", 2000);
        h.SetDataRoot(data.Root());
        ASSERT_TRUE(h.Start()) << h.LastReport();
        bank = briskGame->sounds.get();
    }

    int Reserved() const {
        int n = 0;
        for (int state : SoundPlayer::channels) n += state;
        return n;
    }

    DataFolder data;
    Harness h;
    SoundBank* bank = nullptr;
};

}  // namespace

TEST_F(SoundBankTest, NamesGetTheirExtensionKeysIgnoreCaseAndMissingSoundsSaySo) {
    GameSound* click = bank->Load5("Click");
    EXPECT_EQ(click->name, "CLICK");
    EXPECT_EQ(click->path, "Click");
    ASSERT_NE(click->sound, nullptr);
    GameSound* boom = bank->Load5("Boom.ogg", "", false, 120);
    EXPECT_EQ(boom->name, "BOOM");
    EXPECT_EQ(boom->soundDelay, 120);
    ASSERT_NE(boom->sound, nullptr);
    EXPECT_EQ(bank->Find("click"), click);
    EXPECT_EQ(bank->Find("bOoM"), boom);
    EXPECT_EQ(bank->Get("boom"), nullptr);

    EXPECT_EQ(AssertionText([&] { bank->Load5("Missing"); }), "Error loading sound sounds/Missing.wav");
    EXPECT_EQ(AssertionText([&] { bank->Load5("Gone.ogg"); }), "Error loading sound sounds/Gone.ogg");
    EXPECT_EQ(AssertionText([&] { bank->Find("whistle"); }), "Sound 'WHISTLE' not found in the SoundBank");

    // Cached: the same entry even when the file is gone; ignoreCache loads it anew.
    std::filesystem::remove(data.Sounds() + "Click.wav");
    EXPECT_EQ(bank->Load5("CLICK.wav"), click);
    bankfix::WriteWav(data.Sounds() + "Click.wav", 80);
    GameSound* again = bank->Load5("Click", "", true, 30);
    EXPECT_NE(again, click);
    EXPECT_EQ(bank->Find("CLICK"), again);
    EXPECT_EQ(again->soundDelay, 30);
    EXPECT_EQ(click->sound, nullptr);
    EXPECT_EQ(bank->map.size(), 2u);
}

TEST_F(SoundBankTest, ScreenOwnedSoundsLoadWithTheirScreen) {
    GameSound* hum = bank->Load5("Hum.wav", "", false, 0, true, "Map");
    EXPECT_EQ(hum->sound, nullptr);
    EXPECT_EQ(AssertionText([&] { bank->Find("hum"); }), "Sound 'HUM' not found in the SoundBank");
    harness::StartProbe("title", 0, 0, 0);
    EXPECT_EQ(hum->sound, nullptr);
    harness::StartProbe("MAP", 0, 0, 0);
    EXPECT_EQ(bank->Find("Hum"), hum);
    ASSERT_NE(hum->sound, nullptr);
    EXPECT_EQ(hum->name, "HUM");
}

TEST_F(SoundBankTest, TheCursorSkipsChannelsHeldByLoopsAndWraps) {
    GameSound* click = bank->Load5("Click");
    GameSound* hum = bank->Load5("Hum");
    hum->loop = 1;
    hum->stopChannelBeforePlaying = false;
    ASSERT_TRUE(hum->Play(1));
    ASSERT_TRUE(hum->Play(2));
    EXPECT_EQ(SoundPlayer::channels[1], 1);
    EXPECT_EQ(SoundPlayer::channels[2], 1);
    EXPECT_EQ(hum->loopChannelList.Count(), 2);

    SoundPlayer::channel = 0;
    ASSERT_TRUE(click->Play());
    EXPECT_EQ(click->channel, 3);
    EXPECT_EQ(platform::ChannelState(3), 1);
    EXPECT_TRUE(click->IsPlaying());
    EXPECT_EQ(SoundPlayer::channels[3], 0);

    SoundPlayer::channel = 31;
    ASSERT_TRUE(click->Play());
    EXPECT_EQ(click->channel, 0);

    // Naming a held channel takes it over and frees it.
    ASSERT_TRUE(click->Play(2));
    EXPECT_EQ(SoundPlayer::channels[2], 0);

    // Stopping the loop frees every channel it held.
    hum->Stop();
    EXPECT_TRUE(hum->loopChannelList.IsEmpty());
    EXPECT_EQ(Reserved(), 0);
    EXPECT_EQ(platform::ChannelState(1), 0);

    // A loop played again while it still plays stops its earlier channel first.
    hum->stopChannelBeforePlaying = true;
    ASSERT_TRUE(hum->Play());
    ASSERT_TRUE(hum->Play());
    EXPECT_EQ(Reserved(), 1);
    EXPECT_EQ(hum->loopChannelList.Count(), 1);
    ASSERT_TRUE(h.Step());
}

TEST_F(SoundBankTest, WithEveryChannelHeldAPlayIsRefusedWithOneLine) {
    GameSound* hum = bank->Load5("Hum");
    GameSound* click = bank->Load5("Click");
    for (int ch = 0; ch < platform::kSoundChannels; ++ch) {
        ASSERT_EQ(SoundPlayer::PlayFx(hum->sound, 0, 1, 1, 1, ch), ch);
    }
    EXPECT_EQ(Reserved(), platform::kSoundChannels);
    // (Stopping its own last channel first would free one of the loops' channels.)
    click->stopChannelBeforePlaying = false;
    SoundPlayer::channel = 7;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(click->Play());
    EXPECT_EQ(SoundPlayer::PlayFx(click->sound, 0, 1, 1, 0, -1), -1);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2) << out;
    EXPECT_EQ(SoundPlayer::channel, 7);
    EXPECT_EQ(click->channel, 0);

    SoundPlayer::PlayerStopChannel(20);
    ASSERT_TRUE(click->Play());
    EXPECT_EQ(click->channel, 20);

    // Channels that do not exist are refused as well.
    testing::internal::CaptureStdout();
    EXPECT_FALSE(click->Play(32));
    EXPECT_EQ(SoundPlayer::PlayFx(click->sound, 0, 1, 1, 0, -2), -1);
    testing::internal::GetCapturedStdout();
    SoundPlayer::PlayerStopChannel(99);
    ASSERT_TRUE(h.Step());
}

TEST_F(SoundBankTest, ADelayedSoundPlaysOnceWithinItsDelayUnlessTheDelayIsIgnored) {
    GameSound* click = bank->Load5("Click", "", false, 200);
    ASSERT_TRUE(h.Step());
    EXPECT_TRUE(click->Play());
    EXPECT_FALSE(click->Play());
    ASSERT_TRUE(h.Step(6));  // about 100 ms of framework clock
    EXPECT_FALSE(click->Play());
    EXPECT_TRUE(click->Play(-1, true));
    // The ignored delay still starts a new wait from now.
    h.AdvanceClock(150);
    ASSERT_TRUE(h.Step());
    EXPECT_FALSE(click->Play());
    h.AdvanceClock(60);
    ASSERT_TRUE(h.Step());
    EXPECT_TRUE(click->Play());

    // Without a delay every play goes through.
    GameSound* boom = bank->Load5("Boom.ogg");
    EXPECT_TRUE(boom->Play());
    EXPECT_TRUE(boom->Play());
}
