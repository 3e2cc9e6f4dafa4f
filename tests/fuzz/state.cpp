// Any bytes load as a save state without a crash or a stranded pool item, and what the game then
// writes reads back to the very same text: save(load(x)) is a fixed point of load and save.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/profile.hpp"
#include "tests/fuzz/support.hpp"

namespace {

using fuzz::Check;

int CountItems() {
    int n = Profile::globalFlags.Size() + Profile::slotFlags->Size();
    for (const auto& slot : Profile::saveData->Profiles) n += slot->Size();
    return n;
}

void CheckWritable(const FlagList& list) {
    for (const FlagItem* item : list) {
        Check(item != nullptr && item->inUse == 1);
        Check(!item->name.empty() && !item->value.empty());
        Check(item->name.find('|') == std::string::npos && item->value.find('|') == std::string::npos);
        (void)item->GetInt();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A damaged state prints a line; a million of them would drown the fuzzer's own report.
    fuzz::QuietOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    SaveData& save = *Profile::saveData;

    save.FromString(text);
    Check(save.Profiles.Size() >= 3);
    Check(Profile::GetGlobalFlag("MusicVolume") != nullptr && Profile::GetGlobalFlag("Hints") != nullptr);
    Check(Profile::currentSlot == -1);
    Check(FlagItem::PoolInUse() == CountItems());

    const std::string first = save.ToString();
    save.FromString(first);
    // The game's own writing is always whole and never damaged.
    Check(save.loadDamaged == 0);
    Check(Profile::slotFlags->Size() == 0);
    Check(FlagItem::PoolInUse() == CountItems());
    CheckWritable(Profile::globalFlags);
    for (const auto& slot : save.Profiles) CheckWritable(*slot);
    const std::string second = save.ToString();
    Check(second == first);
    save.FromString(second);
    Check(save.ToString() == first);

    // Playing on from whatever the state held: the clock, money and levels stay in range.
    Profile::currentSlot = 0;
    Profile::slotFlags = save.Profiles.Get2(0);
    Profile::AddTime(960);
    Profile::AddFlagInt("Resource.Money", INT_MAX);
    Profile::AddFlagInt("Resource.Money", INT_MIN);
    Profile::AddFlagInt("Attribute.Strength", INT_MIN);
    Profile::ClearIDs();
    Profile::ClearDungeon();
    Profile::currentSlot = -1;
    const std::string played = save.ToString();
    save.FromString(played);
    Check(save.loadDamaged == 0);
    Check(save.ToString() == played);
    return 0;
}
