// Any script file loads as cutscenes and as battle effects, or is refused with a line naming it;
// an effect the table lacks still gives a script, never null.
#include "gui/animations.hpp"

#include <cstddef>
#include <cstdint>

#include "tests/fuzz/support.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartGame();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::FreshAfterRun fresh;
    const fuzz::DataFolder& folder = fuzz::OwnFolder();
    folder.Put("animations/main.xml", data, size);
    folder.Put("animations/fx.xml", data, size);
    if (!fuzz::LoadRefused([] { AnimationList::Load("animations/main.xml"); })) {
        for (const auto& item : AnimationList::animations)
            fuzz::Check(AnimationList::Get(item->id) != nullptr);
    }
    if (!fuzz::LoadRefused([] { AnimationList::LoadFX("animations/fx.xml"); })) {
        for (const auto& item : AnimationList::effects)
            fuzz::Check(AnimationList::GetFX(item->id) != nullptr);
        fuzz::Check(AnimationList::GetFX("no such effect") != nullptr);
    }
    return 0;
}
