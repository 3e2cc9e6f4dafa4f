// Any quest table either loads or is refused with a line naming it; every quest that loads has a
// stage to start with, and the reference check of start-up walks them all.
#include "model/quests.hpp"

#include <cstddef>
#include <cstdint>

#include "model/actionrefs.hpp"
#include "tests/fuzz/support.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartGame();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzz::LoadFile(Quests::kFile, data, size, Quests::Load, [] {
        for (const auto& quest : Quests::allQuests) fuzz::Check(quest->StageCount() > 0);
        ActionReferences::CheckAll();
    });
}
