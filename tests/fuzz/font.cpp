// Any font metrics file loads into a font that measures every text without overflowing, whatever
// numbers its lines hold.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/glyphfont.hpp"
#include "tests/fuzz/support.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::OwnFolder().Put("Fuzzed.txt", data, size);
    GlyphFont font;
    if (fuzz::LoadRefused([&] { font.LoadFont("Fuzzed"); })) return 0;
    // The longest texts the game measures are a few hundred characters of one line.
    std::string every;
    for (int code = 0; code < 256; ++code) every += static_cast<char>(code);
    const std::string longest = every + every + every + every;
    (void)font.TextWidth(longest);
    (void)font.TextHeight(longest);
    for (int code = 0; code < 256; ++code) {
        const std::string one(1, static_cast<char>(code));
        (void)font.TextWidth(one);
        (void)font.TextHeight(one);
        (void)font.FindKernPair(code, 'A');
    }
    return 0;
}
