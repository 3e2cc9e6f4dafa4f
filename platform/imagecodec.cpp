// PNG and JPEG decoding into RGBA pixels, and PNG writing.
#include "platform/imagecodec.hpp"

#include <png.h>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

namespace platform {
namespace {

// Anything bigger is a damaged header rather than a picture of this game.
constexpr int kMaxSide = 16384;
// Text and colour-profile chunks are read whole before the first pixel; none of ours is near this.
constexpr png_alloc_size_t kMaxChunk = 8u << 20;

// The reason a picture of w x h is refused, or "" when it fits the limits.
std::string SizeRefused(uint64_t w, uint64_t h, const PictureLimits& limits) {
    const std::string size = std::to_string(w) + "x" + std::to_string(h);
    if (w == 0 || h == 0) return "picture of " + size + " pixels";
    const uint64_t side = static_cast<uint64_t>(std::min(limits.maxSide, kMaxSide));
    if (w > side || h > side) {
        return "picture of " + size + " is larger than the renderer can draw (" + std::to_string(side) +
               " pixels a side at most)";
    }
    if (w * h > static_cast<uint64_t>(limits.maxPixels)) {
        return "picture of " + size + " holds more than " + std::to_string(limits.maxPixels) + " pixels";
    }
    return "";
}

struct PngSource {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

void PngRead(png_structp png, png_bytep out, png_size_t count) {
    auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
    if (src->size - src->pos < count) png_error(png, "unexpected end of data");
    std::memcpy(out, src->data + src->pos, count);
    src->pos += count;
}

void PngError(png_structp png, png_const_charp message) {
    auto* error = static_cast<std::string*>(png_get_error_ptr(png));
    if (error) *error = message;
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

struct JpegError {
    jpeg_error_mgr mgr;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    char warning[JMSG_LENGTH_MAX];
};

void JpegExit(j_common_ptr info) {
    auto* err = reinterpret_cast<JpegError*>(info->err);
    (*info->err->format_message)(info, err->message);
    longjmp(err->jump, 1);
}

// Warnings (a file cut short, damaged data the decoder steps over) still give a picture, grey where
// the data is missing; the first is kept for the line that says so. Trace messages stay silent.
void JpegWarning(j_common_ptr info, int level) {
    auto* err = reinterpret_cast<JpegError*>(info->err);
    if (level >= 0 || err->warning[0]) return;
    (*info->err->format_message)(info, err->warning);
}

constexpr const char* kNoMemory = "there is not enough memory for its pixels";

// Runs `allocate`; false when the memory was not to be had. The decoders leave by a jump, which
// must not cross a thrown exception, so the failure comes back as a value.
template <class F>
bool TakeMemory(F&& allocate) {
    try {
        allocate();
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace

bool DecodePNG(const uint8_t* data, size_t size, DecodedImage& out, std::string& error,
               const PictureLimits& limits) {
    out.warning.clear();
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0) {
        error = "not a PNG";
        return false;
    }
    auto be32 = [data](size_t at) {
        return uint32_t{data[at]} << 24 | uint32_t{data[at + 1]} << 16 | uint32_t{data[at + 2]} << 8 |
               data[at + 3];
    };
    // The size stands in the first chunk, read here before the decoder takes anything by it.
    if (size >= 24 && std::memcmp(data + 12, "IHDR", 4) == 0) {
        error = SizeRefused(be32(16), be32(20), limits);
        if (!error.empty()) return false;
    }
    // The decoder sets a chunk's memory aside by the length the chunk declares, before reading it:
    // a damaged file of a few hundred bytes could claim a gigabyte. Every chunk must lie inside the
    // file.
    for (size_t at = 8; at + 12 <= size;) {
        const size_t length = be32(at);
        if (length > size - at - 12) {
            error = "damaged PNG (a chunk runs past the end of the file)";
            return false;
        }
        if (std::memcmp(data + at + 4, "IEND", 4) == 0) break;
        at += 12 + length;
    }
    // Everything a longjmp could skip lives outside this frame's scope or is plain data.
    std::vector<png_bytep>* rows = new std::vector<png_bytep>();
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, PngError, PngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        delete rows;
        error = "out of memory";
        return false;
    }
    PngSource source{data, size, 0};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        delete rows;
        out.rgba.clear();
        if (error.empty()) error = "damaged PNG";
        return false;
    }
    png_set_read_fn(png, &source, PngRead);
    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_set_chunk_malloc_max(png, kMaxChunk);
    // Texts, colour profiles and suggested palettes are never used here; skipping them unread
    // leaves nothing to unpack.
    static const png_byte kUnused[] = "iCCP\0iTXt\0sPLT\0tEXt\0zTXt";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kUnused, 5);
    png_read_info(png, info);
    png_uint_32 w = 0, h = 0;
    int depth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(png, info, &w, &h, &depth, &colorType, &interlace, nullptr, nullptr);
    // Refused by its header, before a byte of pixels is taken. (Nothing of this frame may be alive
    // across the jump, so the reason goes straight to the caller's string.)
    error = SizeRefused(w, h, limits);
    if (!error.empty()) png_longjmp(png, 1);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (depth == 16) png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    if (interlace != PNG_INTERLACE_NONE) png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<size_t>(w) * 4) png_error(png, "unexpected row layout");
    out.width = static_cast<int>(w);
    out.height = static_cast<int>(h);
    // The pixels may be more than the memory left holds: that is one picture refused, and the
    // decoder's own memory goes back through its usual way out.
    if (!TakeMemory([&] {
            out.rgba.assign(static_cast<size_t>(w) * h * 4, 0);
            rows->resize(h);
        })) {
        error = kNoMemory;
        png_longjmp(png, 1);
    }
    for (png_uint_32 y = 0; y < h; ++y) (*rows)[y] = out.rgba.data() + static_cast<size_t>(y) * w * 4;
    png_read_image(png, rows->data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    delete rows;
    return true;
}

bool DecodeJPEG(const uint8_t* data, size_t size, DecodedImage& out, std::string& error,
                const PictureLimits& limits) {
    out.warning.clear();
    if (size < 3 || data[0] != 0xFF || data[1] != 0xD8 || data[2] != 0xFF) {
        error = "not a JPEG";
        return false;
    }
    jpeg_decompress_struct info;
    JpegError err;
    info.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = JpegExit;
    err.mgr.emit_message = JpegWarning;
    err.message[0] = 0;
    err.warning[0] = 0;
    jpeg_create_decompress(&info);
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        out.rgba.clear();
        error = err.message[0] ? err.message : "damaged JPEG";
        return false;
    }
    jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    // Refused by its header: starting the decompression already takes memory by the picture's size.
    std::snprintf(err.message, sizeof err.message, "%s",
                  SizeRefused(info.image_width, info.image_height, limits).c_str());
    if (err.message[0]) longjmp(err.jump, 1);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (!SizeRefused(info.output_width, info.output_height, limits).empty() || info.output_components != 3) {
        std::snprintf(err.message, sizeof err.message, "unsupported JPEG layout");
        longjmp(err.jump, 1);
    }
    const int w = static_cast<int>(info.output_width), h = static_cast<int>(info.output_height);
    out.width = w;
    out.height = h;
    if (!TakeMemory([&] { out.rgba.assign(static_cast<size_t>(w) * h * 4, 0xFF); })) {
        std::snprintf(err.message, sizeof err.message, "%s", kNoMemory);
        longjmp(err.jump, 1);
    }
    // One RGB row at a time, spread into RGBA in place from the right end.
    while (info.output_scanline < info.output_height) {
        uint8_t* row = out.rgba.data() + static_cast<size_t>(info.output_scanline) * w * 4;
        JSAMPROW rowPtr = row;
        jpeg_read_scanlines(&info, &rowPtr, 1);
        for (int x = w - 1; x >= 0; --x) {
            row[x * 4 + 3] = 0xFF;
            row[x * 4 + 2] = row[x * 3 + 2];
            row[x * 4 + 1] = row[x * 3 + 1];
            row[x * 4 + 0] = row[x * 3 + 0];
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    out.warning = err.warning;
    return true;
}

bool DecodeImage(const uint8_t* data, size_t size, DecodedImage& out, std::string& error,
                 const PictureLimits& limits) {
    if (size >= 8 && png_sig_cmp(data, 0, 8) == 0) return DecodePNG(data, size, out, error, limits);
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return DecodeJPEG(data, size, out, error, limits);
    error = size == 0 ? "empty or missing file" : "neither PNG nor JPEG";
    return false;
}

// An ICO file's first entry as 32-bit RGBA: PNG entries through the decoder, BMP entries (32 bits
// per pixel, bottom-up BGRA followed by an AND mask) by hand.
bool DecodeIcoFirst(const uint8_t* bytes, size_t length, DecodedImage& out, std::string* error) {
    constexpr int kIconSide = 1024;
    auto u16 = [&](size_t at) { return static_cast<uint32_t>(bytes[at] | bytes[at + 1] << 8); };
    auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
    if (length < 22 || u16(0) != 0 || u16(2) != 1 || u16(4) == 0) return false;
    const uint32_t size = u32(6 + 8), offset = u32(6 + 12);
    if (offset >= length || size > length - offset || size < 40) return false;
    const auto* data = bytes + offset;
    if (size >= 8 && png_sig_cmp(data, 0, 8) == 0) {
        std::string reason;
        const bool ok =
            DecodePNG(data, size, out, reason, PictureLimits{kIconSide, int64_t{kIconSide} * kIconSide});
        if (error) *error = reason;
        return ok;
    }
    const uint32_t header = u32(offset);
    const int32_t width = static_cast<int32_t>(u32(offset + 4));
    const int32_t height2 = static_cast<int32_t>(u32(offset + 8));
    const uint32_t bpp = u16(offset + 14), compression = u32(offset + 16);
    if (header < 40 || bpp != 32 || compression != 0 || width <= 0 || width > kIconSide || height2 <= 0 ||
        height2 > 2 * kIconSide)
        return false;
    const int height = height2 / 2;
    if (height <= 0) return false;
    const size_t pixelBytes = static_cast<size_t>(width) * height * 4;
    const size_t maskStride = ((static_cast<size_t>(width) + 31) / 32) * 4;
    if (header + pixelBytes > size) return false;
    const uint8_t* pixels = data + header;
    const bool hasMask = header + pixelBytes + maskStride * height <= size;
    out.width = width;
    out.height = height;
    out.rgba.assign(pixelBytes, 0);
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = pixels + static_cast<size_t>(height - 1 - y) * width * 4;
        uint8_t* dst = out.rgba.data() + static_cast<size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x) {
            dst[x * 4 + 0] = src[x * 4 + 2];
            dst[x * 4 + 1] = src[x * 4 + 1];
            dst[x * 4 + 2] = src[x * 4 + 0];
            dst[x * 4 + 3] = src[x * 4 + 3];
            anyAlpha = anyAlpha || src[x * 4 + 3] != 0;
        }
    }
    // Old icons leave the alpha bytes empty and carry transparency in the AND mask alone.
    if (!anyAlpha) {
        const uint8_t* mask = pixels + pixelBytes;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool transparent =
                    hasMask &&
                    (mask[static_cast<size_t>(height - 1 - y) * maskStride + x / 8] >> (7 - x % 8)) & 1;
                out.rgba[(static_cast<size_t>(y) * width + x) * 4 + 3] = transparent ? 0 : 255;
            }
        }
    }
    return true;
}

bool WritePNG(const std::string& file, int width, int height, const uint8_t* rgba) {
    if (width <= 0 || height <= 0 || !rgba) return false;
    FILE* fp = std::fopen(file.c_str(), "wb");
    if (!fp) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, nullptr);
        std::fclose(fp);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(fp);
        std::remove(file.c_str());
        return false;
    }
    png_init_io(png, fp);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, const_cast<png_bytep>(rgba + static_cast<size_t>(y) * width * 4));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(fp) == 0;
}

}  // namespace platform
