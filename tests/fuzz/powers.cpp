// Any power table either loads or is refused with a line naming the file; every power that loads
// can be found again by its id.
#include "model/powers.hpp"

#include <cstddef>
#include <cstdint>

#include "tests/fuzz/support.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartGame();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzz::LoadFile(Powers::kFile, data, size, Powers::Load, [] {
        for (const auto& power : Powers::powers) fuzz::Check(Powers::Get(power->id) != nullptr);
    });
}
