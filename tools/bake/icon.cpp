#include "tools/bake/icon.hpp"

#include <vector>

#include "tools/bake/common.hpp"
#include "tools/bake/image.hpp"

namespace bake {

namespace {

void Put16(std::string& out, unsigned v) {
    out.push_back(static_cast<char>(v & 255));
    out.push_back(static_cast<char>((v >> 8) & 255));
}

void Put32(std::string& out, unsigned v) {
    Put16(out, v & 0xffff);
    Put16(out, v >> 16);
}

}  // namespace

void BakeIcon(const std::string& svgFile, const std::string& icoFile) {
    const int sizes[] = {256, 48, 32, 16};
    std::vector<std::string> entries;
    for (int size : sizes) entries.push_back(EncodePng(RasteriseSvg(svgFile, size, size)));

    std::string out;
    Put16(out, 0);  // reserved
    Put16(out, 1);  // type: icon
    Put16(out, static_cast<unsigned>(entries.size()));
    unsigned offset = 6 + 16 * static_cast<unsigned>(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const int size = sizes[i];
        out.push_back(static_cast<char>(size >= 256 ? 0 : size));  // 0 means 256
        out.push_back(static_cast<char>(size >= 256 ? 0 : size));
        out.push_back(0);  // no palette
        out.push_back(0);  // reserved
        Put16(out, 1);     // colour planes
        Put16(out, 32);    // bits per pixel
        Put32(out, static_cast<unsigned>(entries[i].size()));
        Put32(out, offset);
        offset += static_cast<unsigned>(entries[i].size());
    }
    for (const std::string& entry : entries) out += entry;
    WriteFileAtomic(icoFile, out);
}

}  // namespace bake
