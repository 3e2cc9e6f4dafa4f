#pragma once
// Small pictures written by the tests themselves, in the formats the game ships.
#include <png.h>

#include <cstdio>
#include <string>
#include <vector>
// jpeglib.h needs FILE and size_t first.
#include <jpeglib.h>

namespace fixtures {

struct Rgba {
    uint8_t r, g, b, a;
};

// w x h pixels from a function of (x, y).
template <typename F>
std::vector<uint8_t> Pixels(int w, int h, F colour) {
    std::vector<uint8_t> p(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgba c = colour(x, y);
            uint8_t* d = &p[(static_cast<size_t>(y) * w + x) * 4];
            d[0] = c.r;
            d[1] = c.g;
            d[2] = c.b;
            d[3] = c.a;
        }
    return p;
}

// An 8-bit grey PNG (exercises the grey-to-RGB expansion).
inline bool WriteGreyPNG(const std::string& file, int w, int h, const std::vector<uint8_t>& grey) {
    FILE* fp = std::fopen(file.c_str(), "wb");
    if (!fp) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(fp);
        return false;
    }
    png_init_io(png, fp);
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y) png_write_row(png, const_cast<png_bytep>(&grey[static_cast<size_t>(y) * w]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(fp) == 0;
}

inline bool WriteJPEG(const std::string& file, int w, int h, const std::vector<uint8_t>& rgba,
                      int quality = 95) {
    FILE* fp = std::fopen(file.c_str(), "wb");
    if (!fp) return false;
    jpeg_compress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, fp);
    info.image_width = static_cast<JDIMENSION>(w);
    info.image_height = static_cast<JDIMENSION>(h);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
    while (info.next_scanline < info.image_height) {
        const uint8_t* src = &rgba[static_cast<size_t>(info.next_scanline) * w * 4];
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) row[x * 3 + c] = src[x * 4 + c];
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&info, &r, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(fp) == 0;
}

}  // namespace fixtures
