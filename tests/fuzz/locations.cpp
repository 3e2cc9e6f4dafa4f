// Any places file either loads or is refused with a line naming it, and every place that loads
// stands on a node a street reaches.
#include "model/locations.hpp"

#include <cstddef>
#include <cstdint>

#include "tests/fuzz/support.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartGame();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzz::LoadFile(Locations::kFile, data, size, Locations::Load, [] {
        for (const auto& place : Locations::locations) {
            fuzz::Check(place->node >= 1 && place->node <= 40);
            fuzz::Check(Locations::Get(place->id) != nullptr);
        }
    });
}
