#pragma once
// PNG and JPEG decoding into straight-alpha RGBA8, and PNG writing (frame captures, icons).
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;  // width * height * 4, rows top to bottom
};

// Chooses the decoder by the magic bytes. False (with a reason in `error`) for anything else,
// for damaged data and for pictures too large to hold.
bool DecodeImage(const uint8_t* data, size_t size, DecodedImage& out, std::string& error);
bool DecodePNG(const uint8_t* data, size_t size, DecodedImage& out, std::string& error);
bool DecodeJPEG(const uint8_t* data, size_t size, DecodedImage& out, std::string& error);

// The first picture of an .ico file: PNG entries through the PNG decoder, 32-bit BMP entries
// (bottom-up BGRA with an AND mask) read here.
bool DecodeIcoFirst(const uint8_t* data, size_t size, DecodedImage& out);

bool WritePNG(const std::string& file, int width, int height, const uint8_t* rgba);

}  // namespace platform
