// The save-state string and the state file: round trips, separators, damaged states.
#include <random>
#include <vector>

#include "core/exception.hpp"
#include "profile_fixture.hpp"

using profiletest::ProfileTest;

namespace {

// The global record of a fresh store, and the whole fresh store.
const std::string kGlobal =
    "v0|G|MusicVolume|50|SoundVolume|75|Fullscreen|1|Widescreen|1|TimePlayed|0|Quality|1|MapNames|0|Hints|1|"
    "|";
const std::string kFresh = kGlobal + "P|||P|||P|||";

std::string ReadBack(const std::string& text) {
    Profile::saveData->FromString(text);
    return Profile::saveData->ToString();
}

// A text of 1..12 bytes of any the game may write: none is a control code or the separator, and
// a name holds none of 0x80 to 0x9F (the data files are UTF-8 or Latin-1 text).
std::string RandomText(std::mt19937& rng, bool name = false) {
    std::uniform_int_distribution<int> length(1, 12);
    std::uniform_int_distribution<int> byte(32, 255);
    std::string s;
    for (int n = length(rng); n > 0; --n) {
        int c = byte(rng);
        if (c == '|' || c == 127 || (name && c >= 0x80 && c <= 0x9F)) c = '!';
        s.push_back(static_cast<char>(c));
    }
    return s;
}

}  // namespace

TEST_F(ProfileTest, FreshAndEmptyStoresAsText) {
    Profile::Load();  // no state file yet
    EXPECT_EQ(Profile::saveData->ToString(), kFresh);
    EXPECT_EQ(Profile::damagedStatePending, 0);
    EXPECT_EQ(Profile::flagsDirty, 1);

    Profile::globalFlags.Clear2();
    EXPECT_EQ(Profile::saveData->ToString(), "v0|G|||P|||P|||P|||");
    // No global flags: the settings take their defaults.
    EXPECT_EQ(ReadBack("v0|G|||P|||P|||P|||"), kFresh);
    EXPECT_EQ(Profile::saveData->loadDamaged, 0);
    EXPECT_EQ(ReadBack(kFresh), kFresh);
    EXPECT_EQ(Profile::saveData->Profiles.Size(), 3);
    EXPECT_EQ(Profile::saveData->FlagsToString(*Profile::saveData->Profiles.Get2(0)), "");
    EXPECT_EQ(Profile::saveData->FlagsToString(Profile::globalFlags).substr(0, 28),
              "MusicVolume|50|SoundVolume|7");
}

TEST_F(ProfileTest, AnyStoreSurvivesSaveLoadSaveByteForByte) {
    std::mt19937 rng(20261209);
    for (int round = 0; round < 20; ++round) {
        InitProfileGlobals();
        Profile::InitGlobal();
        for (int i = 0; i < 15; ++i) Profile::SetGlobalFlagString(RandomText(rng, true), RandomText(rng));
        for (int slot = 0; slot < 3; ++slot) {
            Choose(slot);
            const int count = static_cast<int>(rng() % 40);
            for (int i = 0; i < count; ++i) Profile::SetFlagString(RandomText(rng, true), RandomText(rng));
            Profile::SetFlagInt("Resource.Money", static_cast<int>(rng()));
        }
        // Played or back on the title: the live list is the chosen slot's own list either way.
        if (rng() % 2 == 0) {
            Choose(static_cast<int>(rng() % 3));
        } else {
            Profile::currentSlot = -1;
        }
        const std::string first = Profile::saveData->ToString();
        const int busy = FlagItem::PoolInUse();
        const std::string second = ReadBack(first);
        EXPECT_EQ(second, first);
        EXPECT_EQ(Profile::saveData->loadDamaged, 0);
        EXPECT_EQ(ReadBack(second), first);
        // Loading twice strands nothing in the pool.
        EXPECT_EQ(FlagItem::PoolInUse(), busy);
    }

    // Values that look like numbers stay text exactly as stored.
    InitProfileGlobals();
    Choose(2);
    Profile::SetFlagString("Odd", " 007 ");
    Profile::SetFlagString("Float", "1.0e+10");
    Profile::currentSlot = -1;
    const std::string text = Profile::saveData->ToString();
    Profile::saveData->FromString(text);
    EXPECT_EQ(Profile::saveData->GetFlagString(2, "Odd"), " 007 ");
    EXPECT_EQ(Profile::saveData->GetFlagInt(2, "Odd"), 7);
    EXPECT_EQ(Profile::saveData->GetFlagString(2, "Float"), "1.0e+10");
}

TEST_F(ProfileTest, SeparatorsAndEmptyNamesNeverBreakARecord) {
    Profile::InitGlobal();
    // A server id with a forged record in it.
    Profile::SetGlobalFlagString("ID", "77|P|Name|X");
    Choose(0);
    Profile::SetFlagString("Name", "Quell");
    Profile::SetFlagString("", "1");                // a data flag without a name
    Profile::SetFlagString("Goto|Map", "Harbour");  // a separator in a name
    Profile::SetFlagString("Bar", "|");             // nothing left once cleaned
    Profile::SetFlagString("Location", "Dock|s");
    Profile::SetFlagInt("Flag.Act", 2);

    testing::internal::CaptureStdout();
    const std::string written = Profile::saveData->ToString();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Save state: removed \"|\" from 4 flag name(s) or value(s)\n");
    EXPECT_EQ(
        written,
        "v0|G|MusicVolume|50|SoundVolume|75|Fullscreen|1|Widescreen|1|TimePlayed|0|Quality|1|MapNames|0|"
        "Hints|1|ID|77PNameX||P|Name|Quell|GotoMap|Harbour|Location|Docks|Flag.Act|2||P|||P|||");

    Profile::saveData->FromString(written);
    EXPECT_EQ(Profile::saveData->loadDamaged, 0);
    EXPECT_EQ(Profile::saveData->Profiles.Size(), 3);
    EXPECT_EQ(Profile::saveData->GetFlagString(0, "Name"), "Quell");
    EXPECT_EQ(Profile::saveData->GetFlagInt(0, "Flag.Act"), 2);
    EXPECT_EQ(Profile::GetGlobalFlagString("ID"), "77PNameX");
    testing::internal::CaptureStdout();
    EXPECT_EQ(Profile::saveData->ToString(), written);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(ProfileTest, EmptyValuesAreDroppedAndExtraSlotsKept) {
    Choose(1);
    Profile::SetFlagString("Game.WinDialogue", "");
    Profile::SetFlagString("Name", "Brall");
    const std::string written = Profile::saveData->ToString();
    EXPECT_EQ(written, "v0|G|||P|||P|Name|Brall||P|||");
    Profile::saveData->FromString(written);
    EXPECT_EQ(Profile::saveData->GetFlag(1, "Game.WinDialogue"), nullptr);
    EXPECT_EQ(Profile::saveData->GetFlagString(1, "Game.WinDialogue"), "");

    const std::string four = kFresh + "P|Name|Fourth||";
    EXPECT_EQ(ReadBack(four), four);
    EXPECT_EQ(Profile::saveData->Profiles.Size(), 4);
    EXPECT_EQ(Profile::saveData->GetFlagString(3, "Name"), "Fourth");
    EXPECT_EQ(Profile::saveData->loadDamaged, 0);
    EXPECT_THROW(Profile::saveData->GetFlag(4, "Name"), IndexOutOfBoundsException);
    EXPECT_THROW(Profile::saveData->GetFlagInt(-1, "Name"), IndexOutOfBoundsException);
}

TEST_F(ProfileTest, TheLiveSlotIsWrittenForTheCharacterInPlay) {
    Profile::saveData->FromString(kGlobal + "P|Name|A||P|Name|B||P|||");
    ASSERT_EQ(Profile::saveData->GetFlagString(1, "Name"), "B");
    // A load leaves the live list empty and unbound.
    EXPECT_EQ(Profile::slotFlags->Size(), 0);
    EXPECT_EQ(Profile::currentSlot, -1);

    auto detached = std::make_shared<FlagList>();
    detached->Add(FlagItem::Create("Name", "Live"));
    Profile::slotFlags = detached;
    Profile::currentSlot = 1;
    std::string text = Profile::saveData->ToString();
    EXPECT_NE(text.find("P|Name|A||P|Name|Live||P|||"), std::string::npos);
    Profile::currentSlot = -1;
    text = Profile::saveData->ToString();
    EXPECT_NE(text.find("P|Name|A||P|Name|B||P|||"), std::string::npos);

    // Clearing a stored slot gives its items back.
    const int busy = FlagItem::PoolInUse();
    Profile::saveData->Clear(0);
    EXPECT_EQ(Profile::saveData->Profiles.Get2(0)->Size(), 0);
    EXPECT_EQ(FlagItem::PoolInUse(), busy - 1);
}

TEST_F(ProfileTest, DamagedTextsLoadAsMuchAsTheyCanAndAreMarked) {
    // A wrong version: one line, default settings, an empty character, three empty slots.
    testing::internal::CaptureStdout();
    Profile::saveData->FromString(std::string("v1") + kFresh.substr(2) + "P|Name|X||");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR - version not OK\n");
    EXPECT_EQ(Profile::saveData->loadDamaged, 1);
    EXPECT_EQ(Profile::saveData->Profiles.Size(), 3);
    EXPECT_EQ(Profile::saveData->Profiles.Get2(0)->Size(), 0);
    EXPECT_EQ(Profile::GetGlobalFlagInt("SoundVolume"), 75);
    EXPECT_EQ(Profile::GetFlag("Date.Time")->GetString(), "0");

    // A cut inside the second slot: the first slot and the read settings stay.
    const std::string full = kGlobal + "P|Name|A|Flag.Act|2||P|Name|B|Flag.Act|4||P|||";
    ASSERT_EQ(ReadBack(full), full);
    const size_t cut = full.find("Flag.Act|4");
    testing::internal::CaptureStdout();
    Profile::saveData->FromString(full.substr(0, cut + 5));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(Profile::saveData->loadDamaged, 1);
    EXPECT_EQ(Profile::saveData->Profiles.Size(), 3);
    EXPECT_EQ(Profile::saveData->GetFlagInt(0, "Flag.Act"), 2);
    EXPECT_EQ(Profile::saveData->GetFlag(1, "Name"), nullptr);
    EXPECT_EQ(FlagItem::PoolInUse(), 8 + 2);  // the unfinished slot's pair went back

    // A cut inside the global record: the settings it lost take their defaults.
    Profile::saveData->FromString("v0|G|MusicVolume|10|SoundVolume|0|Fullsc");
    EXPECT_EQ(Profile::saveData->loadDamaged, 1);
    EXPECT_EQ(Profile::GetGlobalFlagInt("MusicVolume"), 10);
    EXPECT_EQ(Profile::GetGlobalFlagInt("SoundVolume"), 0);
    EXPECT_EQ(Profile::GetGlobalFlagInt("Fullscreen"), 1);
    EXPECT_EQ(Profile::GetGlobalFlagInt("Widescreen"), 1);
    EXPECT_EQ(Profile::GetGlobalFlagInt("Hints"), 1);
    EXPECT_EQ(Profile::GetGlobalFlagInt("MapNames"), 0);
    EXPECT_EQ(Profile::globalFlags.Size(), 8);

    // An empty value is never written by the game: it is damage, and the setting it held is
    // missing, so it takes its default.
    Profile::saveData->FromString("v0|G|MusicVolume|10|Hints||Quality|0||P|||P|||P|||");
    EXPECT_EQ(Profile::saveData->loadDamaged, 1);
    EXPECT_EQ(Profile::GetGlobalFlagInt("MusicVolume"), 10);
    EXPECT_EQ(Profile::GetGlobalFlagInt("Quality"), 0);
    EXPECT_EQ(Profile::GetGlobalFlagString("Hints"), "1");

    // An unknown record is read past without taking pool items.
    const std::string odd = kGlobal + "X|a|1|b|2||P|||P|||P|||";
    Profile::saveData->FromString(odd);
    EXPECT_EQ(Profile::saveData->loadDamaged, 1);
    EXPECT_EQ(FlagItem::PoolInUse(), 8);
    EXPECT_EQ(Profile::saveData->Profiles.Size(), 3);

    // A name in UTF-8 may hold the bytes 0x80 to 0x9F; a name that is no UTF-8 may not.
    const std::string euro = kGlobal + "P|Trophy.\xE2\x82\xAC|1||P|||P|||";
    EXPECT_EQ(ReadBack(euro), euro);
    testing::internal::CaptureStdout();
    const std::string left = ReadBack(kGlobal + "P|Trophy.\xE2\x82|1|Flag.Act|3||P|||P|||");
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(left, kGlobal + "P|Flag.Act|3||P|||P|||");
    EXPECT_EQ(Profile::saveData->loadDamaged, 1);

    // Other shapes the writer never makes.
    for (const std::string& text : {std::string("garbage"), std::string("v0|"), std::string("v0|G|||P|||"),
                                    std::string("|v0|G|||P|||P|||P|||"), kFresh + "tail"}) {
        testing::internal::CaptureStdout();
        Profile::saveData->FromString(text);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(Profile::saveData->loadDamaged, 1) << text;
        EXPECT_EQ(Profile::saveData->Profiles.Size(), 3) << text;
        EXPECT_EQ(Profile::GetGlobalFlagInt("MusicVolume"), 50) << text;
    }
    Profile::saveData->FromString("");
    EXPECT_EQ(Profile::saveData->loadDamaged, 0);
}

TEST_F(ProfileTest, DamagedStateFilesAreKeptBesideTheNewSave) {
    std::mt19937 rng(7);
    std::string noise(300, '\0');
    for (char& c : noise) c = static_cast<char>(rng());
    const std::string good = kGlobal + "P|Name|Quell|Flag.Act|3|Attribute.Strength|150||P|||P|||";
    const std::vector<std::string> damaged = {good.substr(0, good.size() - 9),  // truncated
                                              noise,                            // random bytes
                                              "v9" + good.substr(2),            // unknown version
                                              ""};                              // an empty file
    std::string bytesOfLastDamaged;
    for (const std::string& bytes : damaged) {
        bytesOfLastDamaged = bytes;
        InitProfileGlobals();
        std::filesystem::remove(BadFile());
        WriteStateFile(bytes);
        testing::internal::CaptureStdout();
        Profile::Load();
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(Profile::damagedStatePending, 1);
        EXPECT_EQ(Profile::saveData->Profiles.Size(), 3);
        EXPECT_EQ(Profile::GetGlobalFlagInt("SoundVolume"), 75);
        // Nothing is written until the game saves.
        EXPECT_FALSE(Exists(BadFile()));

        testing::internal::CaptureStdout();
        Profile::Save(0);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out, "The damaged save state was kept as " + UserFolder() + "/.vantlestate.bad\n");
        ASSERT_TRUE(Exists(BadFile()));
        EXPECT_EQ(ReadFile(BadFile()), bytes);
        EXPECT_EQ(ReadFile(StateFile()), Profile::saveData->ToString());

        // Only the first save after the load moves a file aside.
        testing::internal::CaptureStdout();
        Profile::Save(0);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(ReadFile(BadFile()), bytes);
    }

    // A state kept aside by an earlier run is never replaced: the newer one goes beside it.
    InitProfileGlobals();
    WriteStateFile("v5|older");
    ASSERT_TRUE(Exists(BadFile()));
    std::filesystem::create_directories(BadFile() + "2");
    testing::internal::CaptureStdout();
    Profile::Load();
    Profile::Save(0);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("The damaged save state was kept as " + UserFolder() + "/.vantlestate.bad3\n"),
              std::string::npos);
    EXPECT_EQ(ReadFile(BadFile()), bytesOfLastDamaged);
    EXPECT_EQ(ReadFile(BadFile() + "3"), "v5|older");
    EXPECT_EQ(ReadFile(StateFile()), Profile::saveData->ToString());

    for (int n = 2; n <= 3; ++n) std::filesystem::remove_all(BadFile() + std::to_string(n));

    // A damaged file that has gone by the time of the save leaves nothing to keep.
    InitProfileGlobals();
    std::filesystem::remove(BadFile());
    WriteStateFile("v0|G|cut");
    Profile::Load();
    std::filesystem::remove(StateFile());
    testing::internal::CaptureStdout();
    Profile::Save(0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(Exists(BadFile()));
    EXPECT_EQ(ReadFile(StateFile()), Profile::saveData->ToString());

    // A state the game wrote loads whole and is simply replaced.
    InitProfileGlobals();
    std::filesystem::remove(BadFile());
    WriteStateFile(good);
    Profile::Load();
    EXPECT_EQ(Profile::damagedStatePending, 0);
    EXPECT_EQ(Profile::saveData->GetFlagInt(0, "Attribute.Strength"), 150);
    Choose(0);
    Profile::SetFlagInt("Flag.Act", 4);
    Profile::Save(0);
    EXPECT_FALSE(Exists(BadFile()));
    EXPECT_EQ(platform::LoadState(), Profile::saveData->ToString());
    EXPECT_NE(platform::LoadState().find("Flag.Act|4"), std::string::npos);
}

TEST_F(ProfileTest, SaveLoadThroughTheStateFile) {
    Profile::Load();
    Choose(2);
    Profile::Init();
    Profile::SetFlagString("Name", "Quell");
    Profile::AddFlagInt("Resource.Money", 25);
    Profile::Save(0);
    const std::string written = Profile::saveData->ToString();
    EXPECT_EQ(platform::LoadState(), written);

    InitProfileGlobals();
    Profile::Load();
    EXPECT_EQ(Profile::damagedStatePending, 0);
    EXPECT_EQ(Profile::saveData->GetFlagString(2, "Name"), "Quell");
    EXPECT_EQ(Profile::saveData->GetFlagInt(2, "Game.MoneyCount"), 25);
    EXPECT_EQ(Profile::saveData->ToString(), written);
}

namespace {

std::vector<std::string> posted;
void RecordPost(const std::string& act, const std::string& time, const std::string& strength,
                const std::string& essence, const std::string& intelligence, const std::string& money,
                const std::string& reputation) {
    posted = {act, time, strength, essence, intelligence, money, reputation};
}

}  // namespace

TEST_F(ProfileTest, SavesPostStatisticsOncePerMinuteOfPlay) {
    Profile::Load();
    Choose(0);
    Profile::SetFlagInt("Flag.Act", 2);
    Profile::SetFlagInt("TimePlayed", 61);
    Profile::SetFlagInt("Attribute.Strength", 120);
    Profile::SetFlagInt("Attribute.Essence", 5);
    Profile::SetFlagInt("Attribute.Intelligence", 6);
    Profile::SetFlagInt("Resource.Money", -3);
    Profile::SetFlagInt("Resource.Reputation", 44);

    // Without an upload service the timer still restarts.
    Profile::uploadTimer = 60000.0f;
    Profile::Save(0);
    EXPECT_EQ(Profile::uploadTimer, 0.0f);

    Profile::services.postUpdate = &RecordPost;
    posted.clear();
    Profile::uploadTimer = 59999.0f;
    Profile::Save(0);
    EXPECT_TRUE(posted.empty());
    Profile::uploadTimer = 60000.0f;
    Profile::Save(1);
    EXPECT_TRUE(posted.empty());
    Profile::uploadsEnabled = 0;
    Profile::Save(0);
    EXPECT_TRUE(posted.empty());
    EXPECT_EQ(Profile::uploadTimer, 60000.0f);
    Profile::uploadsEnabled = 1;
    Profile::Save(0);
    EXPECT_EQ(posted, (std::vector<std::string>{"2", "61", "120", "5", "6", "-3", "44"}));
    EXPECT_EQ(Profile::uploadTimer, 0.0f);
}
