// Flag items and flag compares: a key with its value, a condition on a slot flag, and the pools
// both come from.
#include <string>
#include <string_view>

#include "core/pool.hpp"
#include "core/strings.hpp"
#include "model/flaglist.hpp"
#include "model/profile.hpp"

namespace {

// Running out used to end the game (three well-played characters plus the data files' value lists
// can pass 1024), so a full pool grows.
Pool<FlagItem>& flagItemPool() {
    static Pool<FlagItem> pool("FlagItem", 1024);
    return pool;
}

Pool<FlagCompare>& flagComparePool() {
    static Pool<FlagCompare> pool("FlagCompare", 1024);
    return pool;
}

// The runtime's integer reading, except that a number too big for an int reads as INT_MAX or
// INT_MIN: a hand-edited "99999999999" must not turn into a negative fortune.
int ParseFlagInt(std::string_view text) {
    return StringToIntSaturating(text);
}

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

// --- Flag lists ----------------------------------------------------------------------------------

FlagItem* FindFlag(const FlagList& list, const std::string& name) {
    for (FlagItem* item : list) {
        if (item != nullptr && item->name == name) return item;
    }
    return nullptr;
}

// Gives every item of the list back to the pool and empties the list.
void ReleaseFlags(FlagList& list) {
    for (FlagItem* item : list) {
        if (item != nullptr) item->inUse = 0;
    }
    list.Clear2();
}
