// Any icon file either gives its first picture, pixels filling its size exactly, or is refused.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/imagecodec.hpp"
#include "tests/fuzz/support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy: a read one past the file is an AddressSanitizer report.
    std::unique_ptr<uint8_t[]> copy(new uint8_t[size == 0 ? 1 : size]);
    for (size_t i = 0; i < size; ++i) copy[i] = data[i];
    platform::DecodedImage icon;
    if (platform::DecodeIcoFirst(copy.get(), size, icon)) {
        fuzz::Check(icon.width > 0 && icon.height > 0);
        fuzz::Check(icon.rgba.size() == static_cast<size_t>(icon.width) * icon.height * 4);
    }
    return 0;
}
