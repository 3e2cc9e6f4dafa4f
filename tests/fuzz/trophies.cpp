// Any trophy table either loads or is refused with a line naming it, and the list of trophies
// still to earn is rebuilt from whatever loaded.
#include "model/trophies.hpp"

#include <cstddef>
#include <cstdint>

#include "model/actionrefs.hpp"
#include "tests/fuzz/support.hpp"

namespace {
fuzz::DataFolder* folder = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    folder = &fuzz::StartGame();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::FreshAfterRun fresh;
    folder->Put(Trophies::kFile, data, size);
    if (fuzz::LoadRefused([] { Trophies::Load(Trophies::kFile); })) return 0;
    Trophies::Clear();
    // Nothing is earned in a fresh profile: every trophy waits.
    fuzz::Check(Trophies::pending.Size() == Trophies::trophies.Size());
    ActionReferences::CheckAll();
    return 0;
}
