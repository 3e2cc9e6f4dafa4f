#include "tests/content/content_check.hpp"

#include <jpeglib.h>
#include <png.h>
#include <sys/stat.h>
#include <vorbis/vorbisfile.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace content_check {

namespace {

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
    return s.substr(b, e - b);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) lines.push_back(Trim(line));
    return lines;
}

bool StrictInt(const std::string& field, int& value) {
    const std::string t = Trim(field);
    if (t.empty()) return false;
    size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
    if (i == t.size()) return false;
    long v = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return false;
        v = v * 10 + (t[i] - '0');
        if (v > 1000000) return false;
    }
    value = static_cast<int>(t[0] == '-' ? -v : v);
    return true;
}

struct JpegErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegExit(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

Picture DecodeJpeg(const std::string& bytes) {
    Picture picture;
    jpeg_decompress_struct cinfo;
    JpegErrors errors;
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JpegExit;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        picture.ok = false;
        picture.error = errors.message;
        return picture;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    picture.width = static_cast<int>(cinfo.output_width);
    picture.height = static_cast<int>(cinfo.output_height);
    picture.rgba.assign(static_cast<size_t>(picture.width) * picture.height * 4, 255);
    std::vector<unsigned char> row(static_cast<size_t>(picture.width) * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        const size_t y = cinfo.output_scanline;
        JSAMPROW rowPointer = row.data();
        jpeg_read_scanlines(&cinfo, &rowPointer, 1);
        for (size_t x = 0; x < static_cast<size_t>(picture.width); ++x)
            for (int c = 0; c < 3; ++c) picture.rgba[(y * picture.width + x) * 4 + c] = row[x * 3 + c];
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    picture.ok = true;
    return picture;
}

}  // namespace

bool FileExists(const std::string& file) {
    struct stat info;
    return stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string ReadText(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

Picture DecodePng(const std::string& bytes) {
    Picture picture;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        picture.error = image.message;
        return picture;
    }
    picture.hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_RGBA;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr)) {
        picture.error = image.message;
        png_image_free(&image);
        return picture;
    }
    picture.ok = true;
    return picture;
}

Picture LoadPicture(const std::string& file) {
    if (!FileExists(file)) {
        Picture missing;
        missing.error = "missing";
        return missing;
    }
    const std::string bytes = ReadText(file);
    const bool jpeg = file.size() > 4 && file.compare(file.size() - 4, 4, ".jpg") == 0;
    return jpeg ? DecodeJpeg(bytes) : DecodePng(bytes);
}

Font ParseFont(const std::string& text) {
    Font font;
    for (const std::string& line : Lines(text)) {
        if (line.empty() || line.rfind("id,", 0) == 0 || line.rfind("first,", 0) == 0) continue;
        std::vector<std::string> fields;
        std::string field;
        std::istringstream in(line);
        while (std::getline(in, field, ',')) fields.push_back(field);
        std::vector<int> values(fields.size());
        bool numbers = true;
        for (size_t i = 0; i < fields.size(); ++i) numbers = numbers && StrictInt(fields[i], values[i]);
        if (numbers && fields.size() == 3) {
            font.kerning[{values[0], values[1]}] = values[2];
        } else if (numbers && fields.size() >= 9 && values[0] >= 0 && values[0] <= 255) {
            font.glyphs[values[0]] = {values[1], values[2], values[3], values[4],
                                      values[5], values[6], values[7], values[8]};
        } else {
            font.badLines.push_back(line);
        }
    }
    return font;
}

Atlas ParseAtlas(const std::string& text) {
    Atlas atlas;
    const std::vector<std::string> lines = Lines(text);
    if (lines.size() < 4) {
        atlas.problems.push_back("fewer than the page line and three header lines");
        return atlas;
    }
    atlas.page = lines[0];
    auto after = [](const std::string& line, bool& ok) {
        const auto colon = line.find(':');
        ok = ok && colon != std::string::npos;
        return colon == std::string::npos ? std::string() : line.substr(colon + 1);
    };
    auto pair = [&](const std::string& line, int& a, int& b) {
        bool ok = true;
        const std::string value = after(line, ok);
        const auto comma = value.find(',');
        return ok && comma != std::string::npos && StrictInt(value.substr(0, comma), a) &&
               StrictInt(value.substr(comma + 1), b);
    };
    size_t i = 4;
    for (; i < lines.size() && !lines[i].empty(); i += 7) {
        if (i + 6 >= lines.size()) {
            atlas.problems.push_back("region \"" + lines[i] + "\" is cut short");
            break;
        }
        Region region;
        region.name = lines[i];
        int ow, oh, ox, oy;
        bool ok = pair(lines[i + 2], region.x, region.y) && pair(lines[i + 3], region.width, region.height) &&
                  pair(lines[i + 4], ow, oh) && pair(lines[i + 5], ox, oy);
        bool indexOk = true;
        ok = ok && StrictInt(after(lines[i + 6], indexOk), region.index) && indexOk;
        if (!ok) atlas.problems.push_back("region \"" + region.name + "\" has a malformed entry");
        atlas.regions.push_back(region);
    }
    for (; i < lines.size(); ++i)
        if (!lines[i].empty()) {
            atlas.problems.push_back("text after the end of the region list: \"" + lines[i] + "\"");
            break;
        }
    return atlas;
}

bool DecodeOgg(const std::string& file, double& seconds, std::string& error) {
    OggVorbis_File vf;
    if (ov_fopen(file.c_str(), &vf) != 0) {
        error = "not an Ogg Vorbis stream";
        return false;
    }
    char buffer[8192];
    int section = 0;
    long long samples = 0;
    const vorbis_info* info = ov_info(&vf, -1);
    const int channels = info ? info->channels : 1;
    const long rate = info ? info->rate : 44100;
    for (;;) {
        const long got = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &section);
        if (got == 0) break;
        if (got < 0) {
            ov_clear(&vf);
            error = "a damaged packet in the stream";
            return false;
        }
        samples += got / (2 * channels);
    }
    ov_clear(&vf);
    seconds = static_cast<double>(samples) / rate;
    return true;
}

std::vector<IconEntry> ReadIco(const std::string& bytes) {
    std::vector<IconEntry> entries;
    auto u16 = [&](size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[at])) |
               static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 8;
    };
    auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
    if (bytes.size() < 6 || u16(0) != 0 || u16(2) != 1) return entries;
    const unsigned count = u16(4);
    if (bytes.size() < 6 + 16ull * count) return entries;
    for (unsigned i = 0; i < count; ++i) {
        const size_t at = 6 + 16 * i;
        IconEntry entry;
        entry.width = static_cast<unsigned char>(bytes[at]);
        entry.height = static_cast<unsigned char>(bytes[at + 1]);
        if (entry.width == 0) entry.width = 256;
        if (entry.height == 0) entry.height = 256;
        const size_t size = u32(at + 8), offset = u32(at + 12);
        if (offset > bytes.size() || size > bytes.size() - offset) return {};
        entry.png = bytes.substr(offset, size);
        entries.push_back(entry);
    }
    return entries;
}

}  // namespace content_check
