#include "model/profile.hpp"

#include <climits>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "core/strings.hpp"
#include "platform/app.hpp"
#include "platform/storage.hpp"

namespace {

// Running out used to end the game (three well-played characters plus the data files' value lists
// can pass 1024), so a full pool grows.
Pool<FlagItem>& flagItemPool() {
    static Pool<FlagItem> pool("ERROR: No available FlagItem objects!", 1024);
    return pool;
}

Pool<FlagCompare>& flagComparePool() {
    static Pool<FlagCompare> pool("ERROR: No available FlagCompare objects!", 1024);
    return pool;
}

// The runtime's integer reading, except that a number too big for an int reads as INT_MAX or
// INT_MIN: a hand-edited "99999999999" must not turn into a negative fortune.
int ParseFlagInt(std::string_view text) {
    return StringToIntSaturating(text);
}

int SaturatingAdd(int a, int b) {
    const int64_t sum = int64_t{a} + b;
    if (sum > INT_MAX) return INT_MAX;
    if (sum < INT_MIN) return INT_MIN;
    return static_cast<int>(sum);
}

bool StartsWith(const std::string& s, std::string_view prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

FlagItem* FindIn(const FlagList& list, const std::string& name) {
    for (FlagItem* item : list) {
        if (item != nullptr && item->name == name) return item;
    }
    return nullptr;
}

// Gives every item of the list back to the pool and empties the list.
void ReleaseAll(FlagList& list) {
    for (FlagItem* item : list) {
        if (item != nullptr) item->inUse = 0;
    }
    list.Clear2();
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

struct GlobalDefault {
    const char* name;
    int value;
};
// The settings every store holds, in the order a fresh store writes them.
constexpr GlobalDefault kGlobalDefaults[] = {{"MusicVolume", 50}, {"SoundVolume", 75}, {"Fullscreen", 1},
                                             {"Widescreen", 1},   {"TimePlayed", 0},   {"Quality", 1},
                                             {"MapNames", 0},     {"Hints", 1}};

}  // namespace

// --- FlagItem ------------------------------------------------------------------------------------

void FlagItem::SetInt(int i) {
    value = std::to_string(i);
}

void FlagItem::SetFloat(float f) {
    value = FloatToString(f);
}

int FlagItem::GetInt() const {
    return ParseFlagInt(value);
}

FlagItem* FlagItem::Get() {
    FlagItem* item = flagItemPool().Acquire();
    // A recycled item must not carry the name, value or additive mark of its last use.
    item->name.clear();
    item->value.clear();
    item->add = 0;
    return item;
}

FlagItem* FlagItem::Create(const std::string& name, const std::string& s) {
    FlagItem* item = Get();
    item->name = name;
    item->SetString(s);
    return item;
}

FlagItem* FlagItem::Create2(const std::string& name, int i) {
    FlagItem* item = Get();
    item->name = name;
    item->SetInt(i);
    return item;
}

FlagItem* FlagItem::Create3(const std::string& name, float f) {
    FlagItem* item = Get();
    item->name = name;
    item->SetFloat(f);
    return item;
}

int FlagItem::PoolSize() {
    return flagItemPool().Size();
}
int FlagItem::PoolInUse() {
    return flagItemPool().InUse();
}
void FlagItem::ResetPool() {
    flagItemPool().Reset();
}

// --- FlagCompare ---------------------------------------------------------------------------------

int FlagCompare::Holds() const {
    switch (type) {
        case kEqual:
            return Profile::GetFlagString(name) == value ? 1 : 0;
        case kHigher:
            return Profile::GetFlagInt(name) >= ParseFlagInt(value) ? 1 : 0;
        case kLower:
            return Profile::GetFlagInt(name) < ParseFlagInt(value) ? 1 : 0;
        case kNot:
            return Profile::GetFlagString(name) != value ? 1 : 0;
        default:
            return 0;
    }
}

int FlagCompare::Check() const {
    // The chain holds when any of its compares holds; tests read flags only, so walking it from
    // the front gives the same answer as testing the linked ones first, without deep recursion.
    for (const FlagCompare* c = this; c != nullptr; c = c->eor) {
        if (c->Holds()) return 1;
    }
    return 0;
}

FlagCompare* FlagCompare::Get() {
    FlagCompare* compare = flagComparePool().Acquire();
    compare->name.clear();
    compare->value.clear();
    compare->type = kEqual;
    compare->eor = nullptr;
    return compare;
}

FlagCompare* FlagCompare::Create(const std::string& name, const std::string& s, int type) {
    FlagCompare* compare = Get();
    compare->name = name;
    compare->value = s;
    compare->type = type;
    compare->eor = nullptr;
    return compare;
}

FlagCompare* FlagCompare::Create2(const std::string& name, int i, int type) {
    return Create(name, std::to_string(i), type);
}

FlagCompare* FlagCompare::Create3(const std::string& name, float f, int type) {
    return Create(name, FloatToString(f), type);
}

int FlagCompare::PoolSize() {
    return flagComparePool().Size();
}
int FlagCompare::PoolInUse() {
    return flagComparePool().InUse();
}
void FlagCompare::ResetPool() {
    flagComparePool().Reset();
}

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
    return FindIn(globalFlags, name);
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
    return FindIn(*slotFlags, name);
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
    ReleaseAll(globalFlags);
    playTimeAccumulator = 0.0f;
    for (const GlobalDefault& d : kGlobalDefaults) SetGlobalFlagInt(d.name, d.value);
    return 0;
}

int Profile::Init() {
    ReleaseAll(*slotFlags);
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

// A damaged state kept from an earlier run may still be waiting to be recovered, so a newer one
// goes beside it: ".vantlestate.bad", then ".vantlestate.bad2" up to ".vantlestate.bad9".
// "" when all of them are taken.
std::string FreeAsideName() {
    for (int n = 1; n <= 9; ++n) {
        std::string name = ".vantlestate.bad";
        if (n > 1) name += std::to_string(n);
        std::error_code error;
        const auto status = std::filesystem::symlink_status(platform::UserFolder() + "/" + name, error);
        if (status.type() == std::filesystem::file_type::not_found) return name;
    }
    return "";
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

// --- SaveData ------------------------------------------------------------------------------------

namespace {

// Writes the pairs of one list. The format has no escaping, so a "|" would shift every pair after
// it (or forge a record): it is dropped from what is written, and so is a pair whose name or value
// is left empty, since an empty token ends the record.
void AppendFlags(std::string& out, const FlagList& list, int& stripped) {
    bool first = true;
    for (const FlagItem* item : list) {
        if (item == nullptr) continue;
        std::string name = item->name;
        std::string value = item->FormattedString();
        if (name.find('|') != std::string::npos || value.find('|') != std::string::npos) {
            std::erase(name, '|');
            std::erase(value, '|');
            ++stripped;
        }
        if (name.empty() || value.empty()) continue;
        if (!first) out += '|';
        first = false;
        out += name;
        out += '|';
        out += value;
    }
}

void ReportStripped(int stripped) {
    if (stripped > 0) {
        platform::PrintLine("Save state: removed \"|\" from " + std::to_string(stripped) +
                            " flag name(s) or value(s)");
    }
}

}  // namespace

SaveData::SaveData() {
    PadProfiles();
}

int SaveData::PadProfiles() {
    while (Profiles.Size() < 3) Profiles.Add(std::make_shared<FlagList>());
    return 0;
}

std::string SaveData::FlagsToString(const FlagList& list) const {
    std::string out;
    int stripped = 0;
    AppendFlags(out, list, stripped);
    ReportStripped(stripped);
    return out;
}

std::string SaveData::ToString() const {
    int stripped = 0;
    std::string out = "v0|G|";
    AppendFlags(out, Profile::globalFlags, stripped);
    out += "||";
    for (int i = 0; i < Profiles.Size(); ++i) {
        const SlotList& stored = Profiles.Get2(i);
        const FlagList* list = i == Profile::currentSlot ? Profile::slotFlags.get() : stored.get();
        out += "P|";
        if (list != nullptr) AppendFlags(out, *list, stripped);
        out += "||";
    }
    ReportStripped(stripped);
    return out;
}

int SaveData::FromString(const std::string& text) {
    // Every stored slot goes back to the pool, not only the bound one: a second load must not
    // strand the first load's items.
    for (const SlotList& list : Profiles) {
        if (list) ReleaseAll(*list);
    }
    Profiles.Clear2();
    ReleaseAll(Profile::globalFlags);
    ReleaseAll(*Profile::slotFlags);
    // The live list is no longer any slot's list.
    Profile::currentSlot = -1;
    loadDamaged = 0;

    enum class Record { kNone, kGlobal, kSlot, kOther };
    int state = 0;
    bool firstToken = true;
    bool sawGlobal = false;
    int slotRecords = 0;
    Record record = Record::kNone;
    SlotList slot;
    std::string pendingName;

    size_t start = 0;
    for (size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', start)) {
        const std::string_view token(text.data() + start, bar - start);
        start = bar + 1;
        if (firstToken) {
            firstToken = false;
            if (token != "v0") {
                platform::PrintLine("ERROR - version not OK");
                Profile::InitGlobal();
                Profile::Init();
                PadProfiles();
                loadDamaged = 1;
                return 0;
            }
            continue;
        }
        if (state == 0) {
            if (token.empty()) continue;
            state = 1;
            if (token == "P") {
                record = Record::kSlot;
                slot = std::make_shared<FlagList>();
            } else if (token == "G") {
                record = Record::kGlobal;
                sawGlobal = true;
            } else {
                record = Record::kOther;
                loadDamaged = 1;
            }
        } else if (state == 1) {
            if (token.empty()) {
                if (record == Record::kSlot) {
                    Profiles.Add(slot);
                    slot.reset();
                    ++slotRecords;
                }
                state = 0;
            } else {
                pendingName.assign(token);
                state = 2;
            }
        } else {
            // The pairs of an unknown record are read past without taking pool items. The writer
            // never writes an empty value, so one here is damage; it would read as missing anyway.
            if (token.empty()) {
                loadDamaged = 1;
            } else if (record == Record::kGlobal) {
                Profile::globalFlags.Add(FlagItem::Create(pendingName, std::string(token)));
            } else if (record == Record::kSlot) {
                slot->Add(FlagItem::Create(pendingName, std::string(token)));
            }
            state = 1;
        }
    }

    // A record left open, bytes after the last separator, a missing global record or fewer than
    // three slots: the text was cut or damaged, so part of it may be lost.
    if (slot) ReleaseAll(*slot);
    if (firstToken ? !text.empty() : (state != 0 || start < text.size() || !sawGlobal || slotRecords < 3)) {
        loadDamaged = 1;
    }

    PadProfiles();
    if (Profile::globalFlags.IsEmpty()) {
        Profile::InitGlobal();
    } else {
        // A global record cut short would leave sound off and the screen small: settings it no
        // longer holds take their defaults, stored values stay.
        for (const GlobalDefault& d : kGlobalDefaults) {
            if (Profile::GetGlobalFlag(d.name) == nullptr) Profile::SetGlobalFlagInt(d.name, d.value);
        }
    }
    return 0;
}

FlagItem* SaveData::GetFlag(int slot, const std::string& name) const {
    const SlotList list = Profiles.Get2(slot);
    return list ? FindIn(*list, name) : nullptr;
}

std::string SaveData::GetFlagString(int slot, const std::string& name) const {
    const FlagItem* item = GetFlag(slot, name);
    return item != nullptr ? item->GetString() : std::string();
}

int SaveData::GetFlagInt(int slot, const std::string& name) const {
    const FlagItem* item = GetFlag(slot, name);
    return item != nullptr ? item->GetInt() : 0;
}

int SaveData::Clear(int slot) {
    const SlotList list = Profiles.Get2(slot);
    if (list) ReleaseAll(*list);
    return 0;
}
