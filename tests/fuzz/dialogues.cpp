// Any dialogue file either loads or is refused with a line naming it, and whatever loads survives
// the reference check that start-up runs over every step's conditions and flags.
#include "gui/dialogues.hpp"

#include <cstddef>
#include <cstdint>
#include <string>

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
    if (!fuzz::LoadRefused([&] { DialogueList::LoadText("dialogues/act1.xml", text); })) {
        DialogueList::CheckReferences();
        for (const auto& dialogue : DialogueList::dialogues)
            fuzz::Check(DialogueList::Get(dialogue->id) != nullptr);
    }
    return 0;
}
