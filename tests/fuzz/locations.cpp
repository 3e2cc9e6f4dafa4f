// Any places file either loads or is refused with a line naming it, and every place that loads
// stands on a node a street reaches.
#include "model/locations.hpp"

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
    folder->Put(Locations::kFile, data, size);
    if (fuzz::LoadRefused([] { Locations::Load(Locations::kFile); })) return 0;
    for (const auto& place : Locations::locations) {
        fuzz::Check(place->node >= 1 && place->node <= 40);
        fuzz::Check(Locations::Get(place->id) != nullptr);
    }
    return 0;
}
