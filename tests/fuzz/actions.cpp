// Any actions file either loads or is refused with a line naming it, and whatever loads can be
// walked by the reference check that start-up runs over every action chain.
#include "model/actions.hpp"

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/actionrefs.hpp"
#include "tests/fuzz/support.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::QuietOutput();
    WireGame();
    InitGlobals();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::FreshAfterRun fresh;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!fuzz::LoadRefused([&] { Actions::LoadText("data/act1.xml", text); })) ActionReferences::CheckAll();
    return 0;
}
