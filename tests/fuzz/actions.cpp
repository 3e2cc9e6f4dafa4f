// Any actions file either loads or is refused with a line naming it, and whatever loads can be
// walked by the reference check that start-up runs over every action chain.
#include "model/actions.hpp"

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/actionrefs.hpp"
#include "tests/fuzz/support.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartGame();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzz::LoadText("data/act1.xml", data, size, Actions::LoadText, [] { ActionReferences::CheckAll(); });
}
