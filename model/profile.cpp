// The flag store: the global flags and the current character's flags, read and changed by name,
// with the levels and signals a change raises, the calendar, and loading and saving the state.
#include "model/profile.hpp"

#include <climits>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "model/flaglist.hpp"
#include "platform/app.hpp"
#include "platform/storage.hpp"

namespace {

int SaturatingAdd(int a, int b) {
    const int64_t sum = int64_t{a} + b;
    if (sum > INT_MAX) return INT_MAX;
    if (sum < INT_MIN) return INT_MIN;
    return static_cast<int>(sum);
}

bool StartsWith(const std::string& s, std::string_view prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// Changes made inside a dungeon are held apart until the dungeon pays them out.
bool Diverted(const std::string& name) {
    return Profile::dungeonMode != 0 &&
           (StartsWith(name, "Attribute.") || StartsWith(name, "Resource.") || StartsWith(name, "Skill."));
}

// A diverted key begins with "Dungeon." and so recomputes nothing.
void RecomputeLevel(const std::string& key, int value) {
    if (StartsWith(key, "Attribute.") || StartsWith(key, "Skill.")) {
        Profile::UpdateLevel(key, value);
    } else if (key == "Resource.Reputation") {
        Profile::UpdateReputationLevel(key, value);
    }
}

}  // namespace

// --- Profile -------------------------------------------------------------------------------------

FlagList Profile::globalFlags;
std::shared_ptr<FlagList> Profile::slotFlags = std::make_shared<FlagList>();
int Profile::currentSlot = -1;
int Profile::flagsDirty = 0;
std::unique_ptr<SaveData> Profile::saveData = std::make_unique<SaveData>();
float Profile::uploadTimer = 0.0f;
float Profile::playTimeAccumulator = 0.0f;
int Profile::uploadsEnabled = 1;
int Profile::dungeonMode = 0;
int Profile::damagedStatePending = 0;
ProfileServices Profile::services;

const std::array<int, 12> Profile::daysInMonth = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

const std::array<const char*, 17> Profile::rankTitles = {
    "Unknown",   "Wannabe",      "Sidekick", "Hotshot",    "Do-Gooder",      "Adventurer",
    "Protector", "Crime Buster", "Defender", "Vanquisher", "Caped Crusader", "Guardian",
    "Hero",      "Paladin",      "Paragon",  "Champion",   "Superhero"};

const char* Profile::RankTitle(int rank) {
    if (rank < 0) rank = 0;
    if (rank > 16) rank = 16;
    return rankTitles[static_cast<size_t>(rank)];
}

void InitProfileGlobals() {
    Profile::globalFlags.Clear2();
    Profile::slotFlags = std::make_shared<FlagList>();
    Profile::currentSlot = -1;
    Profile::flagsDirty = 0;
    Profile::saveData = std::make_unique<SaveData>();
    Profile::uploadTimer = 0.0f;
    Profile::playTimeAccumulator = 0.0f;
    Profile::uploadsEnabled = 1;
    Profile::dungeonMode = 0;
    Profile::damagedStatePending = 0;
    FlagItem::ResetPool();
    FlagCompare::ResetPool();
}

FlagItem* Profile::GetGlobalFlag(const std::string& name, int) {
    return FindFlag(globalFlags, name);
}

int Profile::GetGlobalFlagInt(const std::string& name) {
    const FlagItem* item = GetGlobalFlag(name);
    return item != nullptr ? item->GetInt() : 0;
}

std::string Profile::GetGlobalFlagString(const std::string& name) {
    const FlagItem* item = GetGlobalFlag(name);
    return item != nullptr ? item->GetString() : std::string();
}

int Profile::SetGlobalFlagInt(const std::string& name, int i) {
    if (FlagItem* item = GetGlobalFlag(name)) {
        item->SetInt(i);
    } else {
        globalFlags.Add(FlagItem::Create2(name, i));
    }
    return 0;
}

int Profile::SetGlobalFlagString(const std::string& name, const std::string& s) {
    if (FlagItem* item = GetGlobalFlag(name)) {
        item->SetString(s);
    } else {
        globalFlags.Add(FlagItem::Create(name, s));
    }
    return 0;
}

int Profile::AddGlobalFlagInt(const std::string& name, int i) {
    if (FlagItem* item = GetGlobalFlag(name)) {
        item->SetInt(SaturatingAdd(item->GetInt(), i));
    } else {
        globalFlags.Add(FlagItem::Create2(name, i));
    }
    return 0;
}

FlagItem* Profile::GetFlag(const std::string& name, int) {
    return FindFlag(*slotFlags, name);
}

int Profile::GetFlagInt(const std::string& name) {
    const FlagItem* item = GetFlag(name);
    return item != nullptr ? item->GetInt() : 0;
}

std::string Profile::GetFlagString(const std::string& name) {
    const FlagItem* item = GetFlag(name);
    return item != nullptr ? item->GetString() : std::string();
}

int Profile::SetFlagString(const std::string& name, const std::string& s) {
    if (FlagItem* item = GetFlag(name)) {
        item->SetString(s);
    } else {
        slotFlags->Add(FlagItem::Create(name, s));
    }
    flagsDirty = 1;
    return 0;
}

int Profile::SetFlagInt(const std::string& name, int i) {
    std::string key = name;
    if (Diverted(name)) {
        key = "Dungeon." + name;
    } else {
        flagsDirty = 1;
    }
    if (FlagItem* item = GetFlag(key)) {
        item->SetInt(i);
    } else {
        slotFlags->Add(FlagItem::Create2(key, i));
    }
    RecomputeLevel(key, i);
    return 0;
}

int Profile::AddFlagInt(const std::string& name, int i) {
    // Play time belongs to a character in play only; back on the title screen the last chosen
    // list is still bound (even when that character has just been deleted).
    if (name == "TimePlayed" && currentSlot < 0) return 0;
    std::string key = name;
    if (Diverted(name)) {
        key = "Dungeon." + name;
    } else if (key != "TimePlayed" && key != "Date.Time") {
        flagsDirty = 1;
    }
    if (key == "Resource.Money") AddFlagInt("Game.MoneyCount", i);
    int total = i;
    if (FlagItem* item = GetFlag(key)) {
        total = SaturatingAdd(item->GetInt(), i);
        item->SetInt(total);
    } else {
        slotFlags->Add(FlagItem::Create2(key, total));
    }
    RecomputeLevel(key, total);
    return 0;
}

int Profile::UpdateLevel(const std::string& name, int value) {
    if (services.getLevel == nullptr) return 0;
    const std::string levelKey = "Level." + name;
    const int oldLevel = GetFlagInt(levelKey);
    const int newLevel = services.getLevel(value);
    SetFlagInt(levelKey, newLevel);
    if (newLevel > oldLevel) SetFlagString("Game.LevelUp", name);
    return 0;
}

int Profile::UpdateReputationLevel(const std::string& name, int value) {
    if (services.getReputationLevel == nullptr) return 0;
    const std::string levelKey = "Level." + name;
    const int oldLevel = GetFlagInt(levelKey);
    const int newLevel = services.getReputationLevel(value);
    if (newLevel > oldLevel) SetFlagString("Game.RankUp", name);
    SetFlagInt(levelKey, newLevel);
    return 0;
}

int Profile::InitGlobal() {
    ReleaseFlags(globalFlags);
    playTimeAccumulator = 0.0f;
    for (const GlobalDefault& d : kGlobalDefaults) SetGlobalFlagInt(d.name, d.value);
    return 0;
}

int Profile::Init() {
    ReleaseFlags(*slotFlags);
    // The slot being created keeps its index: creation runs on the slot just chosen, and a
    // character without an index would have neither play time nor statistics of its own.
    flagsDirty = 1;
    static const char* const kKeys[] = {"Date.Time",
                                        "Date.Day",
                                        "Date.Month",
                                        "Resource.Money",
                                        "Resource.Reputation",
                                        "Resource.Clues",
                                        "Attribute.Strength",
                                        "Attribute.Essence",
                                        "Attribute.Intelligence",
                                        "Attribute.Constitution",
                                        "Attribute.Ethics"};
    for (const char* key : kKeys) SetFlagInt(key, 0);
    return 0;
}

int Profile::Load() {
    flagsDirty = 1;
    const std::string text = platform::LoadState();
    saveData->FromString(text);
    // An empty file is no state the game ever wrote: something cut it to nothing.
    const bool emptyFile = text.empty() && platform::StateFileExists();
    damagedStatePending = saveData->loadDamaged != 0 || emptyFile ? 1 : 0;
    return 0;
}

namespace {

constexpr int kAsideCopies = 9;

std::string AsideName(int n) {
    return n > 1 ? ".vantlestate.bad" + std::to_string(n) : std::string(".vantlestate.bad");
}

bool Taken(const std::string& name) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(platform::UserFolder() + "/" + name, error);
    return status.type() != std::filesystem::file_type::not_found;
}

// A damaged state kept from an earlier run may still be waiting to be recovered, so a newer one
// goes beside it: ".vantlestate.bad", then ".vantlestate.bad2" up to ".vantlestate.bad9". With all
// nine taken the oldest goes: the others move down a place and the newest takes the last one, so
// the game never stops saving for want of room. "" when that cannot be done.
std::string FreeAsideName() {
    for (int n = 1; n <= kAsideCopies; ++n) {
        if (!Taken(AsideName(n))) return AsideName(n);
    }
    const std::string folder = platform::UserFolder() + "/";
    std::error_code error;
    std::filesystem::remove(folder + AsideName(1), error);
    if (error) return "";
    for (int n = 2; n <= kAsideCopies; ++n) {
        std::filesystem::rename(folder + AsideName(n), folder + AsideName(n - 1), error);
        if (error) return "";
    }
    return AsideName(kAsideCopies);
}

}  // namespace

int Profile::Save(int noUpload) {
    if (damagedStatePending != 0) {
        // What could not be read may still be recovered by hand; the new state must not be the
        // thing that destroys it.
        if (platform::StateFileExists()) {
            const std::string aside = FreeAsideName();
            if (aside.empty() || !platform::SetStateFileAside(aside)) {
                platform::PrintLine("The damaged save state could not be kept aside; not saving over it.");
                return 0;
            }
            platform::PrintLine("The damaged save state was kept as " + platform::UserFolder() + "/" + aside);
        }
        damagedStatePending = 0;
    }
    platform::SaveState(saveData->ToString());
    if (noUpload == 0 && uploadsEnabled != 0 && uploadTimer >= 60000.0f) {
        if (!services.postUpdate.Empty()) {
            services.postUpdate.Run(std::to_string(GetFlagInt("Flag.Act")),
                                    std::to_string(GetFlagInt("TimePlayed")),
                                    std::to_string(GetFlagInt("Attribute.Strength")),
                                    std::to_string(GetFlagInt("Attribute.Essence")),
                                    std::to_string(GetFlagInt("Attribute.Intelligence")),
                                    std::to_string(GetFlagInt("Resource.Money")),
                                    std::to_string(GetFlagInt("Resource.Reputation")));
        }
        uploadTimer = 0.0f;
    }
    return 0;
}

int Profile::AddTime(int minutes) {
    AddFlagInt("Date.Time", minutes);
    const int t = GetFlagInt("Date.Time");
    if (t < 960) return 0;
    AddFlagInt("Date.Day", 1);
    SetFlagInt("Date.Time", t - 960);
    SetFlagInt("Game.NewDay", 1);
    int m = GetFlagInt("Date.Month");
    // A month from a damaged or edited save must not index past the table.
    const bool monthValid = m >= 0 && m <= 11;
    if (!monthValid) m = 0;
    const int d = GetFlagInt("Date.Day");
    const int days = daysInMonth[static_cast<size_t>(m)];
    if (d < days) return 0;
    SetFlagInt("Date.Day", d - days);
    if (monthValid) {
        AddFlagInt("Date.Month", 1);
        if (m + 1 > 11) SetFlagInt("Date.Month", 0);
    } else {
        SetFlagInt("Date.Month", m + 1);
    }
    return 0;
}

namespace {

// Takes every item whose name starts with prefix out of the list, keeping the order of both the
// rest and the taken ones. One pass: a slot can hold hundreds of done-markers.
std::vector<FlagItem*> TakeOut(FlagList& list, std::string_view prefix) {
    std::vector<FlagItem*> kept;
    std::vector<FlagItem*> taken;
    for (FlagItem* item : list) {
        if (item != nullptr && StartsWith(item->name, prefix)) {
            taken.push_back(item);
        } else {
            kept.push_back(item);
        }
    }
    if (!taken.empty()) {
        list.Clear2();
        for (FlagItem* item : kept) list.Add(item);
    }
    return taken;
}

}  // namespace

int Profile::ClearIDs() {
    for (FlagItem* item : TakeOut(*slotFlags, "ID.")) item->inUse = 0;
    flagsDirty = 1;
    return 0;
}

std::shared_ptr<FlagList> Profile::GetDungeon() {
    auto taken = std::make_shared<FlagList>();
    for (FlagItem* item : TakeOut(*slotFlags, "Dungeon.")) {
        item->name = item->name.substr(8);
        taken->Add(item);
    }
    return taken;
}

int Profile::ClearDungeon() {
    for (FlagItem* item : TakeOut(*slotFlags, "Dungeon.")) item->inUse = 0;
    flagsDirty = 1;
    return 0;
}
