// Any power table either loads or is refused with a line naming the file; every power that loads
// can be found again by its id.
#include "model/powers.hpp"

#include <cstddef>
#include <cstdint>

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
    folder->Put(Powers::kFile, data, size);
    if (fuzz::LoadRefused([] { Powers::Load(Powers::kFile); })) return 0;
    for (const auto& power : Powers::powers) fuzz::Check(Powers::Get(power->id) != nullptr);
    return 0;
}
