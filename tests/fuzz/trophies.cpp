// Any trophy table either loads or is refused with a line naming it, and the list of trophies
// still to earn is rebuilt from whatever loaded.
#include "model/trophies.hpp"

#include <cstddef>
#include <cstdint>

#include "model/actionrefs.hpp"
#include "tests/fuzz/support.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartGame();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzz::LoadFile(Trophies::kFile, data, size, Trophies::Load, [] {
        Trophies::Clear();
        // Nothing is earned in a fresh profile: every trophy waits.
        fuzz::Check(Trophies::pending.Size() == Trophies::trophies.Size());
        ActionReferences::CheckAll();
    });
}
