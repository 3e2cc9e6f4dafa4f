// Any upgrade table either loads or is refused with a line naming it; every entry that loads
// belongs to a line the base sells.
#include "model/upgrades.hpp"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "model/actionrefs.hpp"
#include "tests/fuzz/support.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartGame();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzz::LoadFile(Upgrades::kFile, data, size, Upgrades::Load, [] {
        for (const auto& upgrade : Upgrades::upgrades) {
            bool sold = false;
            for (const char* line : Upgrades::kLines) sold = sold || upgrade->id == line;
            fuzz::Check(sold);
        }
        for (const char* line : Upgrades::kLines) {
            (void)Upgrades::Get(line, 0);
            (void)Upgrades::Get(line, 1);
        }
        ActionReferences::CheckAll();
    });
}
