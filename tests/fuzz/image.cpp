// Any picture file (PNG or JPEG by its first bytes) either becomes an image whose pixels fill its
// texture exactly, or is refused with a line; cutting it into frames keeps every frame inside.
#include <cstddef>
#include <cstdint>

#include "platform/graphics.hpp"
#include "platform/internal.hpp"
#include "tests/fuzz/support.hpp"

namespace {

void CheckImage(const platform::ImagePtr& image) {
    if (!image) return;
    const platform::Texture& texture = *image->texture;
    fuzz::Check(texture.w > 0 && texture.h > 0);
    fuzz::Check(texture.pending.size() == static_cast<size_t>(texture.w) * texture.h * 4);
    fuzz::Check(!image->frames.empty());
    for (const platform::Rect& frame : image->frames) {
        fuzz::Check(frame.x >= 0 && frame.y >= 0 && frame.w > 0 && frame.h > 0);
        fuzz::Check(frame.x <= texture.w - frame.w && frame.y <= texture.h - frame.h);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::OwnFolder().Put("graphics/Fuzzed.png", data, size);
    CheckImage(platform::LoadImage("graphics/Fuzzed.png", 3, 0));
    CheckImage(platform::LoadImage("graphics/Fuzzed.png", 16, 16, 8, 0));
    return 0;
}
