#pragma once
// PNG and JPEG decoding into straight-alpha RGBA8, and PNG writing (frame captures, icons).
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// How large a picture may be before it is refused at its header, before any pixel memory is
// taken: the renderer's largest texture side, and a pixel count no picture of the game comes near.
struct PictureLimits {
    int maxSide = 8192;
    int64_t maxPixels = int64_t{4096} * 4096;
};

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;  // width * height * 4, rows top to bottom
    // What the decoder stepped over in a picture it still decoded (a JPEG cut short: its missing
    // rows are grey); "" for a sound one.
    std::string warning;
};

// Chooses the decoder by the magic bytes. False (with a reason in `error`) for anything else,
// for damaged data and for pictures beyond `limits`.
bool DecodeImage(const uint8_t* data, size_t size, DecodedImage& out, std::string& error,
                 const PictureLimits& limits = {});
bool DecodePNG(const uint8_t* data, size_t size, DecodedImage& out, std::string& error,
               const PictureLimits& limits = {});
bool DecodeJPEG(const uint8_t* data, size_t size, DecodedImage& out, std::string& error,
                const PictureLimits& limits = {});

// The first picture of an .ico file: PNG entries through the PNG decoder, 32-bit BMP entries
// (bottom-up BGRA with an AND mask) read here. Icons are at most 1024 pixels a side. The reason
// for a refusal goes to `error` when one is given.
bool DecodeIcoFirst(const uint8_t* data, size_t size, DecodedImage& out, std::string* error = nullptr);

bool WritePNG(const std::string& file, int width, int height, const uint8_t* rgba);

}  // namespace platform
