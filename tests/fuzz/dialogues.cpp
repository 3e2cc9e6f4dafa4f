// Any dialogue file either loads or is refused with a line naming it, and whatever loads survives
// the reference check that start-up runs over every step's conditions and flags.
#include "gui/dialogues.hpp"

#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/fuzz/support.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartGame();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzz::LoadText("dialogues/act1.xml", data, size, DialogueList::LoadText, [] {
        DialogueList::CheckReferences();
        for (const auto& dialogue : DialogueList::dialogues)
            fuzz::Check(DialogueList::Get(dialogue->id) != nullptr);
    });
}
