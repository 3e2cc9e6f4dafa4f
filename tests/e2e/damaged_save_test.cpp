// The game started on damaged save states: cut at random points, with random bytes changed, with
// "|" slipped into values, with a block overwritten by noise, with every number at the edge of
// what a number can be, with a hero's name a megabyte long, and enormous.
// Whatever the damage, the game starts, each hero that could be read is played - the character
// sheet, the base, the three power-up trees, the quests, trophies, the clock and the story's
// actions - and the next save keeps the damaged file aside and writes a state that reads whole.
// Heroes stored before a cut come back exactly as they were.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "framework/main.hpp"
#include "model/actions.hpp"
#include "model/profile.hpp"
#include "model/quests.hpp"
#include "model/trophies.hpp"
#include "platform/storage.hpp"
#include "screens/base.hpp"
#include "screens/level.hpp"
#include "screens/menu.hpp"
#include "tests/gui/gui_fixture.hpp"
#include "tests/gui/widget_art.hpp"
#include "tests/support/game_art.hpp"

namespace {

// Three heroes at different points of the story, as the game's own store writes them.
std::string ThreeHeroes() {
    InitGlobals();
    Profile::InitGlobal();
    Profile::SetGlobalFlagInt("Fullscreen", 0);
    Profile::SetGlobalFlagString("Trophy.First Paycheck", "1");
    const char* const names[] = {"Rook", "Quell Belle", "Doc Tumbler"};
    for (int slot = 0; slot < 3; ++slot) {
        Profile::currentSlot = slot;
        Profile::slotFlags = Profile::saveData->Profiles.Get2(slot);
        Profile::Init();
        Profile::SetFlagString("Name", names[slot]);
        Profile::SetFlagString("CharacterPortrait", slot == 1 ? "HeroFemale2" : "HeroMale1");
        Profile::SetFlagInt("CharacterColor1", 0x202020 + slot);
        Profile::SetFlagInt("CharacterColor2", 0xa0a0a0);
        Profile::SetFlagInt("CharacterColor3", 0xffff20);
        Profile::SetFlagInt("Flag.Act", 1 + 2 * slot);
        Profile::SetFlagInt("TimePlayed", 3600 * (slot + 1));
        Profile::SetFlagInt("Date.Month", 4 * slot);
        Profile::SetFlagInt("Date.Day", 12);
        Profile::SetFlagInt("Date.Time", 300);
        Profile::SetFlagString("Location", slot == 0 ? "Docks" : "Quellfast");
        Profile::SetFlagInt("Location.Docks", 1);
        Profile::SetFlagInt("Location.Gym", 1);
        Profile::SetFlagInt("ID.a1_start", 1);
        Profile::SetFlagInt("Quest.Easy Money", 2 + slot);
        Profile::SetFlagInt("Upgrade.Burglar Alarm", slot);
        Profile::SetFlagInt("Resource.Money", 150 * (slot + 1));
        Profile::SetFlagInt("Resource.Reputation", 40 * slot);
        Profile::AddFlagInt("Attribute.Strength", 120 * (slot + 1));
        Profile::AddFlagInt("Attribute.Essence", 90 * slot);
        Profile::AddFlagInt("Attribute.Intelligence", 60);
        Profile::AddFlagInt("Skill.Manual Labor", 30);
        Profile::SetFlagString("Power.Attribute.Strength", "Power Punch");
        Profile::SetFlagInt("Power.Physical.Damage", 1 + slot);
        Profile::SetFlagInt("PowerUp.Attribute.Strength", 2);
    }
    const std::string state = Profile::saveData->ToString();
    InitGlobals();
    return state;
}

struct Damage {
    std::string what;
    std::string text;
    // Where the text was cut; npos when it was not.
    size_t cut = std::string::npos;
};

std::vector<Damage> Damages(const std::string& good, std::mt19937& rng) {
    auto below = [&rng](size_t n) { return static_cast<size_t>(rng() % n); };
    std::vector<Damage> out;
    for (int i = 0; i < 5; ++i) {
        const size_t at = 1 + below(good.size() - 1);
        out.push_back({"cut at " + std::to_string(at), good.substr(0, at), at});
    }
    for (int i = 0; i < 4; ++i) {
        std::string text = good;
        const int count = 1 + static_cast<int>(below(8));
        for (int n = 0; n < count; ++n) text[below(text.size())] = static_cast<char>(rng());
        out.push_back({std::to_string(count) + " random bytes", text});
    }
    for (int i = 0; i < 3; ++i) {
        std::string text = good;
        for (int n = 0; n < 1 + i; ++n) {
            size_t at = below(text.size());
            while (at < text.size() && text[at] == '|') ++at;
            text.insert(at, "|");
        }
        out.push_back({std::to_string(i + 1) + " \"|\" in values", text});
    }
    // Every number at an edge: the biggest and smallest ints, past them, signs and bases.
    {
        const char* const edges[] = {"2147483647", "-2147483648", "99999999999", "-1",
                                     "$FFFFFFFF",  "%1111",       "1e40",        "NaN"};
        std::string text;
        std::string token;
        int n = 0;
        for (char c : good + "|") {
            if (c != '|') {
                token += c;
                continue;
            }
            const bool number = !token.empty() && token.find_first_not_of("0123456789") == std::string::npos;
            text += (number ? edges[n++ % 8] : token) + "|";
            token.clear();
        }
        text.pop_back();
        out.push_back({"numbers at their edges", text});
    }
    // A block of the first hero overwritten with noise or zeros that hold no "|": an even number
    // of separators gone, so the pairs after it still line up while a dozen flags run into one.
    {
        const size_t from = good.find("|CharacterPortrait|") + 5;
        size_t length = 300;
        while (std::count(good.begin() + from, good.begin() + from + length, '|') % 2 != 0) ++length;
        std::string noise(length, '\0');
        for (char& c : noise) c = static_cast<char>(rng());
        std::replace(noise.begin(), noise.end(), '|', '#');
        out.push_back({"300 bytes of noise", std::string(good).replace(from, length, noise)});
        out.push_back({"300 zero bytes", std::string(good).replace(from, length, std::string(length, '\0'))});
    }
    {
        std::string text = good;
        text.replace(text.find("Name|Rook"), 9, "Name|" + std::string(1 << 20, 'R'));
        out.push_back({"a 1 MB hero name", text});
    }
    // Ten megabytes: one enormous value in a state that is otherwise whole, and pure noise.
    {
        std::string text = good;
        const size_t name = text.find("Name|Rook");
        text.insert(name, "Notes|" + std::string(10 << 20, 'x') + "|");
        out.push_back({"a 10 MB value", text});
        std::string noise(10 << 20, '\0');
        for (char& c : noise) c = static_cast<char>(rng());
        out.push_back({"10 MB of noise", noise});
    }
    return out;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// What a player would do with each hero the state still holds.
void PlayEveryHero(harness::Harness& h, guitest::TestScreen& screen) {
    for (int slot = 0; slot < Profile::saveData->Profiles.Size(); ++slot) {
        const auto list = Profile::saveData->Profiles.Get2(slot);
        if (!list || list->IsEmpty()) continue;
        Profile::currentSlot = slot;
        Profile::slotFlags = list;
        const std::vector<std::function<void()>> visits = {
            [] { Menu::ShowCharacterInfo(); },
            [] { Base::InitBase(); },
            [] { Level::InitPowerUp("Attribute.Strength"); },
            [] { Level::InitPowerUp("Attribute.Essence"); },
            [] { Level::InitPowerUp("Attribute.Intelligence"); },
            [] {
                Quests::Clear();
                Quests::Check(1);
                Trophies::Check();
                Profile::AddTime(5);
                Profile::flagsDirty = 1;
                Actions::Check("");
            }};
        for (const auto& visit : visits) {
            screen.PreStart();
            guitest::During(h, screen, visit);
            h.Step(10);
            ASSERT_TRUE(h.Running()) << "hero " << slot << ": " << h.LastReport();
        }
    }
}

TEST(DamagedSave, TheGameLoadsWhatItCanPlaysItKeepsTheFileAsideAndSavesAWholeState) {
    const unsigned seed = 1187;
    std::mt19937 rng(seed);
    harness::Harness setup;  // wires the game for the store that writes the heroes
    const std::string good = ThreeHeroes();
    setup.Stop();

    for (const Damage& damage : Damages(good, rng)) {
        SCOPED_TRACE(damage.what + " (seed " + std::to_string(seed) + ")");
        harness::Harness h;
        h.WriteState(damage.text);
        testing::internal::CaptureStdout();
        auto screen = guitest::StartScreen(h);
        ASSERT_NE(screen, nullptr) << h.LastReport();
        guitest::LoadWidgetArt();
        auto& images = *briskGame->images;
        images.LoadAnim2("UpgradeIcons64x64.png", 64, 64, 4);
        images.LoadAnim2("UpgradeBar.png", 165, 40, 2);
        images.LoadAnim2("Tiles64x64.png", 64, 64, 12);
        harness::LoadDistressArt();
        images.LoadAnim2("Medals44x85.png", 44, 85, 16);
        const std::string said = testing::internal::GetCapturedStdout();
        const bool damaged = Profile::damagedStatePending != 0;
        auto once = [&said](const std::string& words) {
            return said.find(words) != std::string::npos && said.find(words) == said.rfind(words);
        };
        // A hero stored whole before the cut is loaded as it was.
        if (damage.cut != std::string::npos) {
            const std::string loaded = Profile::saveData->ToString();
            for (size_t start = good.find("|P|"); start != std::string::npos;
                 start = good.find("|P|", start + 1)) {
                const size_t end = good.find("||", start + 1);
                if (end + 2 > damage.cut) break;
                const std::string record = good.substr(start + 1, end + 2 - start - 1);
                EXPECT_NE(loaded.find(record), std::string::npos) << record;
            }
        }
        if (damage.cut != std::string::npos || damage.what == "10 MB of noise") {
            EXPECT_TRUE(damaged);
        }
        if (damage.what == "a 10 MB value") {
            EXPECT_FALSE(damaged);
        }
        // Noise that kept the separators in step is damage all the same; the pairs after it are read.
        const bool noise = damage.what.find("300") == 0;
        if (noise) {
            EXPECT_TRUE(damaged);
            EXPECT_EQ(Profile::saveData->GetFlagString(0, "PowerUp.Attribute.Strength"), "2");
            EXPECT_TRUE(once("bytes the game never writes")) << said;
        }
        // A name no player could have typed is cut to what the creation screen takes.
        if (damage.what == "a 1 MB hero name") {
            EXPECT_TRUE(damaged);
            EXPECT_EQ(Profile::saveData->GetFlagString(0, "Name"), std::string(Profile::kMaxNameLength, 'R'));
            EXPECT_TRUE(once("hero name(s) to 17 characters")) << said;
        }

        testing::internal::CaptureStdout();
        PlayEveryHero(h, *screen);
        Profile::Save(1);
        testing::internal::GetCapturedStdout();

        const std::string folder = platform::UserFolder();
        EXPECT_EQ(std::filesystem::exists(folder + "/.vantlestate.bad"), damaged);
        if (damaged) {
            EXPECT_TRUE(ReadFile(folder + "/.vantlestate.bad") == damage.text);
        }
        const std::string saved = platform::LoadState();
        // Not one byte of the noise is carried into the new save.
        EXPECT_TRUE(
            std::none_of(saved.begin(), saved.end(), [](unsigned char c) { return c < 32 || c == 127; }));
        Profile::saveData->FromString(saved);
        EXPECT_EQ(Profile::saveData->loadDamaged, 0);
        EXPECT_EQ(Profile::saveData->Profiles.Size(), 3);
    }
}

// What sits in the state file's place is no save the game could have written, or the disk takes no
// more: the game starts without hanging or running out of memory, says so in a line, keeps what it
// found aside and saves afresh; with every place for a damaged copy taken the oldest copy makes room;
// past a file-size limit the old save stays whole and no half-written file is left.
TEST(DamagedSave, HostileStateFilesNeverHangTheStartAndNeverStopTheSaving) {
    harness::Harness setup;
    const std::string good = ThreeHeroes();
    setup.Stop();
    std::string huge = good;
    huge.insert(huge.find("Name|Rook"), "Notes|" + std::string(65 << 20, 'x') + "|");

    using Make = std::function<void(const std::string&)>;
    const std::vector<std::pair<std::string, Make>> hostiles = {
        {"a pipe", [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }},
        {"a link to an endless device",
         [](const std::string& path) { ASSERT_EQ(::symlink("/dev/zero", path.c_str()), 0); }},
        {"a save past any real size",
         [&huge](const std::string& path) { std::ofstream(path, std::ios::binary) << huge; }},
    };
    for (const auto& [what, make] : hostiles) {
        SCOPED_TRACE(what);
        harness::Harness h;
        const std::string folder = h.AppDataFolder() + "/Brallwick - Quellfast";
        std::filesystem::remove(folder + "/.vantlestate");
        make(folder + "/.vantlestate");
        testing::internal::CaptureStdout();
        const bool started = h.Start();
        const std::string said = testing::internal::GetCapturedStdout();
        ASSERT_TRUE(started) << h.LastReport();
        EXPECT_NE(said.find(folder + "/.vantlestate"), std::string::npos) << said;
        EXPECT_EQ(Profile::damagedStatePending, 1);
        EXPECT_EQ(Profile::saveData->GetFlagString(0, "Name"), "");
        Profile::SetGlobalFlagInt("MusicVolume", 13);
        testing::internal::CaptureStdout();
        Profile::Save(1);
        platform::FinishStateWrites();
        testing::internal::GetCapturedStdout();
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(folder + "/.vantlestate.bad")));
        EXPECT_NE(ReadFile(folder + "/.vantlestate").find("MusicVolume|13|"), std::string::npos);
    }

    // Nine damaged copies already kept: the oldest goes, the rest move down, the newest is last.
    harness::Harness h;
    const std::string folder = h.AppDataFolder() + "/Brallwick - Quellfast";
    auto aside = [&folder](int n) { return folder + "/.vantlestate.bad" + (n > 1 ? std::to_string(n) : ""); };
    for (int n = 1; n <= 9; ++n) std::ofstream(aside(n)) << "copy " << n;
    const std::string cut = good.substr(0, good.size() / 2);
    h.WriteState(cut);
    testing::internal::CaptureStdout();
    ASSERT_TRUE(h.Start()) << h.LastReport();
    Profile::Save(1);
    platform::FinishStateWrites();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(ReadFile(aside(9)), cut);
    for (int n = 1; n <= 8; ++n) EXPECT_EQ(ReadFile(aside(n)), "copy " + std::to_string(n + 1));
    const std::string saved = ReadFile(folder + "/.vantlestate");
    EXPECT_EQ(saved, Profile::saveData->ToString());

    // A file-size limit smaller than the state: the write fails with one line instead of ending
    // the game, and the old save stays as it was.
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit small = before;
    small.rlim_cur = 512;
    ASSERT_GT(saved.size(), small.rlim_cur);
    Profile::SetGlobalFlagInt("MusicVolume", 14);
    testing::internal::CaptureStdout();
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    Profile::Save(1);
    platform::FinishStateWrites();
    ::setrlimit(RLIMIT_FSIZE, &before);
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(ReadFile(folder + "/.vantlestate"), saved);
    EXPECT_FALSE(std::filesystem::exists(folder + "/.vantlestate.tmp"));
    ASSERT_TRUE(h.Step());
}

}  // namespace
