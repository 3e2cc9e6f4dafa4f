#include "tools/bake/image.hpp"

#include <cairo.h>
#include <jpeglib.h>
#include <librsvg/rsvg.h>
#include <png.h>

#include <cctype>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace bake {

namespace {

struct GErrorFree {
    void operator()(GError* e) const { g_error_free(e); }
};

std::string Message(const GError* error) {
    std::string text = error ? error->message : "unknown error";
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

struct SurfaceFree {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};

// Cairo keeps premultiplied native-endian ARGB; the game's PNGs want straight RGBA.
Image FromCairo(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const int w = cairo_image_surface_get_width(surface);
    const int h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    Image image(w, h);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = row[x];
            const unsigned a = p >> 24;
            unsigned r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
            if (a != 0 && a != 255) {
                r = (r * 255 + a / 2) / a;
                g = (g * 255 + a / 2) / a;
                b = (b * 255 + a / 2) / a;
                if (r > 255) r = 255;
                if (g > 255) g = 255;
                if (b > 255) b = 255;
            }
            std::uint8_t* out = image.At(x, y);
            out[0] = static_cast<std::uint8_t>(r);
            out[1] = static_cast<std::uint8_t>(g);
            out[2] = static_cast<std::uint8_t>(b);
            out[3] = static_cast<std::uint8_t>(a);
        }
    }
    return image;
}

void PngWriteToString(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::string*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), length);
}

void PngFlush(png_structp) {}

[[noreturn]] void PngError(png_structp png, png_const_charp message) {
    auto* text = static_cast<std::string*>(png_get_error_ptr(png));
    if (text) *text = message;
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

void CheckSelfContained(const std::string& svg) {
    // The stamp only covers the SVG's own bytes, and the layout promises self-contained sources:
    // a reference to another file would go stale silently, so it is refused outright.
    auto check = [&](size_t at) {
        while (at < svg.size() && (svg[at] == ' ' || svg[at] == '"' || svg[at] == '\'')) ++at;
        size_t end = at;
        while (end < svg.size() && svg[end] != '"' && svg[end] != '\'' && svg[end] != ')' && svg[end] != ' ')
            ++end;
        const std::string target = svg.substr(at, end - at);
        if (target.empty() || target[0] == '#' || target.rfind("data:", 0) == 0) return;
        throw BakeError("refers to \"" + target +
                        "\"; SVG sources must be self-contained (only #ids and data: URLs)");
    };
    for (size_t at = svg.find("href"); at != std::string::npos; at = svg.find("href", at + 4)) {
        size_t p = at + 4;
        while (p < svg.size() && svg[p] == ' ') ++p;
        if (p < svg.size() && svg[p] == '=') check(p + 1);
    }
    for (size_t at = svg.find("url("); at != std::string::npos; at = svg.find("url(", at + 4)) check(at + 4);
}

// Fully transparent pixels take the colour of their visible neighbours (cairo leaves them black), so
// linear filtering at a sprite's edge, scaled or rotated, blends toward the sprite's own colour and
// never toward a dark fringe. Alpha is untouched: nothing becomes visible.
void BleedColourIntoTransparency(Image& image, int passes) {
    std::vector<std::uint8_t> known(static_cast<size_t>(image.width) * image.height);
    for (size_t i = 0; i < known.size(); ++i) known[i] = image.rgba[i * 4 + 3] != 0;
    std::vector<size_t> grown;
    for (int pass = 0; pass < passes; ++pass) {
        grown.clear();
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const size_t i = static_cast<size_t>(y) * image.width + x;
                if (known[i]) continue;
                unsigned sum[3] = {0, 0, 0}, count = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= image.width || ny >= image.height) continue;
                        const size_t n = static_cast<size_t>(ny) * image.width + nx;
                        if (!known[n]) continue;
                        for (int c = 0; c < 3; ++c) sum[c] += image.rgba[n * 4 + c];
                        ++count;
                    }
                }
                if (count == 0) continue;
                for (int c = 0; c < 3; ++c) image.rgba[i * 4 + c] = static_cast<std::uint8_t>(sum[c] / count);
                grown.push_back(i);
            }
        }
        if (grown.empty()) break;
        for (size_t i : grown) known[i] = 1;
    }
}

}  // namespace

Image RasteriseSvg(const std::string& svgFile, int forceWidth, int forceHeight) {
    const std::string svg = ReadFile(svgFile);
    CheckSelfContained(svg);
    GError* rawError = nullptr;
    RsvgHandle* handle =
        rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), &rawError);
    if (!handle) {
        std::unique_ptr<GError, GErrorFree> error(rawError);
        throw BakeError("not a readable SVG: " + Message(error.get()));
    }
    std::unique_ptr<RsvgHandle, decltype(&g_object_unref)> owner(handle, g_object_unref);

    int width = forceWidth, height = forceHeight;
    if (width <= 0 || height <= 0) {
        gdouble w = 0, h = 0;
        if (!rsvg_handle_get_intrinsic_size_in_pixels(handle, &w, &h))
            throw BakeError("the <svg> element needs width and height in px (the picture's pixel size)");
        width = static_cast<int>(std::lround(w));
        height = static_cast<int>(std::lround(h));
        if (width <= 0 || height <= 0) throw BakeError("the SVG's width or height is zero");
        if (width > 8192 || height > 8192)
            throw BakeError("the SVG is " + std::to_string(width) + " x " + std::to_string(height) +
                            " px; more than 8192 px on a side is certainly a mistake");
    }

    std::unique_ptr<cairo_surface_t, SurfaceFree> surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        throw BakeError("out of memory for a " + std::to_string(width) + " x " + std::to_string(height) +
                        " picture");
    cairo_t* cr = cairo_create(surface.get());
    RsvgRectangle viewport{0, 0, static_cast<double>(width), static_cast<double>(height)};
    const gboolean ok = rsvg_handle_render_document(handle, cr, &viewport, &rawError);
    cairo_destroy(cr);
    if (!ok) {
        std::unique_ptr<GError, GErrorFree> error(rawError);
        throw BakeError("cannot render the SVG: " + Message(error.get()));
    }
    Image image = FromCairo(surface.get());
    BleedColourIntoTransparency(image, 3);
    return image;
}

std::string EncodePng(const Image& image) {
    std::string out;
    std::string errorText;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &errorText, PngError, PngWarning);
    if (!png) throw BakeError("libpng: out of memory");
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        throw BakeError("libpng: out of memory");
    }
    std::vector<png_bytep> rows(static_cast<size_t>(image.height));
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw BakeError("cannot encode PNG: " + errorText);
    }
    png_set_write_fn(png, &out, PngWriteToString, PngFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 6);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y)
        rows[static_cast<size_t>(y)] = const_cast<png_bytep>(image.At(0, y));
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

void WritePng(const std::string& file, const Image& image) {
    WriteFileAtomic(file, EncodePng(image));
}

namespace {

struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

}  // namespace

void WriteJpeg(const std::string& file, const Image& image, int quality) {
    std::vector<unsigned char> rgb(static_cast<size_t>(image.width) * image.height * 3);
    for (size_t i = 0, n = static_cast<size_t>(image.width) * image.height; i < n; ++i) {
        const unsigned a = image.rgba[i * 4 + 3];
        for (int c = 0; c < 3; ++c)
            rgb[i * 3 + c] = static_cast<unsigned char>((image.rgba[i * 4 + c] * a + 127) / 255);
    }
    jpeg_compress_struct cinfo;
    JpegErrorManager errors;
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JpegErrorExit;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
        throw BakeError(std::string("cannot encode JPEG: ") + errors.message);
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(image.width);
    cinfo.image_height = static_cast<JDIMENSION>(image.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.optimize_coding = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = &rgb[static_cast<size_t>(cinfo.next_scanline) * image.width * 3];
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    WriteFileAtomic(file, bytes);
}

Image ReadPng(const std::string& file) {
    png_image reader;
    std::memset(&reader, 0, sizeof reader);
    reader.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&reader, file.c_str()))
        throw BakeError("cannot read PNG " + file + ": " + reader.message);
    reader.format = PNG_FORMAT_RGBA;
    Image image(static_cast<int>(reader.width), static_cast<int>(reader.height));
    if (!png_image_finish_read(&reader, nullptr, image.rgba.data(), 0, nullptr)) {
        png_image_free(&reader);
        throw BakeError("cannot decode PNG " + file + ": " + reader.message);
    }
    return image;
}

Image DecodePng(const std::string& bytes) {
    png_image reader;
    std::memset(&reader, 0, sizeof reader);
    reader.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&reader, bytes.data(), bytes.size()))
        throw BakeError(std::string("cannot read PNG data: ") + reader.message);
    reader.format = PNG_FORMAT_RGBA;
    Image image(static_cast<int>(reader.width), static_cast<int>(reader.height));
    if (!png_image_finish_read(&reader, nullptr, image.rgba.data(), 0, nullptr)) {
        png_image_free(&reader);
        throw BakeError(std::string("cannot decode PNG data: ") + reader.message);
    }
    return image;
}

Image ReadJpeg(const std::string& file) {
    FILE* in = std::fopen(file.c_str(), "rb");
    if (!in) throw BakeError("cannot read " + file);
    jpeg_decompress_struct cinfo;
    JpegErrorManager errors;
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JpegErrorExit;
    Image image;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        std::fclose(in);
        throw BakeError("cannot decode JPEG " + file + ": " + errors.message);
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, in);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    image = Image(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
    std::vector<unsigned char> row(static_cast<size_t>(cinfo.output_width) * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        JSAMPROW rowPointer = row.data();
        jpeg_read_scanlines(&cinfo, &rowPointer, 1);
        for (int x = 0; x < image.width; ++x) {
            std::uint8_t* p = image.At(x, y);
            p[0] = row[static_cast<size_t>(x) * 3];
            p[1] = row[static_cast<size_t>(x) * 3 + 1];
            p[2] = row[static_cast<size_t>(x) * 3 + 2];
            p[3] = 255;
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(in);
    return image;
}

Image ReadPicture(const std::string& file) {
    const auto dot = file.rfind('.');
    std::string ext = dot == std::string::npos ? "" : file.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "jpg" || ext == "jpeg") return ReadJpeg(file);
    return ReadPng(file);
}

}  // namespace bake
