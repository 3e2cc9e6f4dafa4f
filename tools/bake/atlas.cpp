#include "tools/bake/atlas.hpp"

#include <stb/stb_rect_pack.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

#include "tools/bake/common.hpp"
#include "tools/bake/image.hpp"

namespace fs = std::filesystem;

namespace bake {

namespace {

struct Region {
    std::string name;  // without the "@n" suffix
    int index = -1;
    std::string source;
    bool twin = false;  // a greyed copy made from greyed.txt
    Image image;
    int x = 0, y = 0;  // top-left of the picture itself (inside the padding)
};

// "Name" -> (Name, -1); "Name@3" -> (Name, 3).
void SplitRegionName(const std::string& stem, const std::string& file, std::string& name, int& index) {
    const auto at = stem.rfind('@');
    if (at == std::string::npos) {
        name = stem;
        index = -1;
        return;
    }
    name = stem.substr(0, at);
    const std::string digits = stem.substr(at + 1);
    if (name.empty() || digits.empty() || digits.size() > 6 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        throw BakeError(file + ": a region file is <Region>.svg or <Region>@<n>.svg with n a whole number");
    index = std::atoi(digits.c_str());
}

bool ValidRegionName(const std::string& name) {
    if (name.empty()) return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) <= 32 || c == ',' || c == ':' || c == '@') return false;
    return true;
}

std::string Trim(const std::string& s) {
    size_t begin = 0, end = s.size();
    while (begin < end && static_cast<unsigned char>(s[begin]) <= 32) ++begin;
    while (end > begin && static_cast<unsigned char>(s[end - 1]) <= 32) --end;
    return s.substr(begin, end - begin);
}

// The greyed twin: desaturated and darkened, alpha untouched.
Image Greyed(const Image& source) {
    Image out = source;
    for (size_t i = 0; i + 3 < out.rgba.size(); i += 4) {
        const double luma = 0.299 * out.rgba[i] + 0.587 * out.rgba[i + 1] + 0.114 * out.rgba[i + 2];
        for (int c = 0; c < 3; ++c) {
            // Keep a trace of the hue so the twin still reads as the same place.
            const double v = (luma * 0.85 + out.rgba[i + c] * 0.15) * 0.55;
            out.rgba[i + c] = static_cast<std::uint8_t>(std::min(255.0, v + 0.5));
        }
    }
    return out;
}

// Copies the picture in and repeats its outermost pixels into the padding around it, so linear
// filtering at a region's edge samples the region's own colours instead of its neighbour's.
void Blit(Image& page, const Image& picture, int px, int py) {
    for (int y = -kAtlasPadding; y < picture.height + kAtlasPadding; ++y) {
        const int sy = std::clamp(y, 0, picture.height - 1);
        const int ty = py + y;
        if (ty < 0 || ty >= page.height) continue;
        for (int x = -kAtlasPadding; x < picture.width + kAtlasPadding; ++x) {
            const int sx = std::clamp(x, 0, picture.width - 1);
            const int tx = px + x;
            if (tx < 0 || tx >= page.width) continue;
            const std::uint8_t* s = picture.At(sx, sy);
            std::uint8_t* t = page.At(tx, ty);
            t[0] = s[0];
            t[1] = s[1];
            t[2] = s[2];
            t[3] = s[3];
        }
    }
}

bool TryPack(std::vector<Region>& regions, int pageW, int pageH) {
    std::vector<stbrp_rect> rects(regions.size());
    for (size_t i = 0; i < regions.size(); ++i) {
        rects[i].id = static_cast<int>(i);
        rects[i].w = regions[i].image.width + 2 * kAtlasPadding;
        rects[i].h = regions[i].image.height + 2 * kAtlasPadding;
        rects[i].x = rects[i].y = 0;
        rects[i].was_packed = 0;
    }
    std::vector<stbrp_node> nodes(static_cast<size_t>(pageW));
    stbrp_context context;
    stbrp_init_target(&context, pageW, pageH, nodes.data(), pageW);
    stbrp_setup_heuristic(&context, STBRP_HEURISTIC_Skyline_BF_sortHeight);
    if (!stbrp_pack_rects(&context, rects.data(), static_cast<int>(rects.size()))) return false;
    for (const stbrp_rect& r : rects) {
        regions[static_cast<size_t>(r.id)].x = r.x + kAtlasPadding;
        regions[static_cast<size_t>(r.id)].y = r.y + kAtlasPadding;
    }
    return true;
}

}  // namespace

std::vector<std::string> AtlasSources(const std::string& atlasDir) {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(atlasDir)) {
        if (!entry.is_regular_file()) continue;
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".svg" || name == "greyed.txt")
            files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

void BakeAtlas(const std::string& atlasDir, const std::string& outDir, const std::string& atlasName) {
    std::vector<Region> regions;
    std::set<std::pair<std::string, int>> seen;
    for (const std::string& file : AtlasSources(atlasDir)) {
        if (fs::path(file).filename() == "greyed.txt") continue;
        Region region;
        SplitRegionName(fs::path(file).stem().string(), file, region.name, region.index);
        if (!ValidRegionName(region.name))
            throw BakeError(file + ": a region name may not contain spaces, commas or colons");
        region.source = file;
        try {
            region.image = RasteriseSvg(file);
        } catch (const BakeError& e) {
            throw BakeError(file + ": " + e.what());
        }
        seen.insert({region.name, region.index});
        regions.push_back(std::move(region));
    }
    if (regions.empty()) throw BakeError(atlasDir + ": an atlas folder without any region SVG");

    const std::string greyedFile = (fs::path(atlasDir) / "greyed.txt").string();
    if (fs::exists(greyedFile)) {
        std::istringstream lines(ReadFile(greyedFile));
        std::string line;
        int lineNumber = 0;
        std::set<std::string> listed;
        while (std::getline(lines, line)) {
            ++lineNumber;
            const std::string name = Trim(line);
            if (name.empty() || name[0] == '#') continue;
            if (!listed.insert(name).second) continue;
            const std::string where = greyedFile + ":" + std::to_string(lineNumber) + ": ";
            std::vector<size_t> originals;
            for (size_t i = 0; i < regions.size(); ++i)
                if (regions[i].name == name && !regions[i].twin)
                    originals.push_back(i);
            if (originals.empty())
                throw BakeError(where + "no region \"" + name + "\" in this atlas to grey");
            for (size_t i : originals) {
                Region twin;
                twin.name = name + "G";
                twin.index = regions[i].index;
                twin.source = greyedFile;
                twin.twin = true;
                if (!seen.insert({twin.name, twin.index}).second)
                    throw BakeError(where + "\"" + twin.name + "\" exists already as a region SVG");
                twin.image = Greyed(regions[i].image);
                regions.push_back(std::move(twin));
            }
        }
    }

    // Smallest power-of-two page (wide before tall) that takes every region.
    long long area = 0;
    int widest = 0, tallest = 0;
    for (const Region& r : regions) {
        const int w = r.image.width + 2 * kAtlasPadding, h = r.image.height + 2 * kAtlasPadding;
        area += static_cast<long long>(w) * h;
        widest = std::max(widest, w);
        tallest = std::max(tallest, h);
    }
    int pageW = 0, pageH = 0;
    bool packed = false;
    for (int side = 64; side <= kAtlasMaxPage && !packed; side *= 2) {
        for (int h : {side / 2, side}) {
            const int w = side;
            if (w < widest || h < tallest || static_cast<long long>(w) * h < area) continue;
            if (TryPack(regions, w, h)) {
                pageW = w;
                pageH = h;
                packed = true;
                break;
            }
        }
    }
    if (!packed) {
        std::ostringstream message;
        message << atlasDir << ": the " << regions.size() << " regions (" << area
                << " px with padding, largest " << widest << " x " << tallest << ") do not fit one "
                << kAtlasMaxPage << " x " << kAtlasMaxPage
                << " page; move some regions to another atlas or make them smaller";
        throw BakeError(message.str());
    }

    Image page(pageW, pageH);
    for (const Region& r : regions) Blit(page, r.image, r.x, r.y);

    std::sort(regions.begin(), regions.end(), [](const Region& a, const Region& b) {
        return a.name != b.name ? a.name < b.name : a.index < b.index;
    });
    std::ostringstream text;
    text << atlasName << ".png\n";
    text << "format: RGBA8888\n";
    text << "filter: Linear,Linear\n";
    text << "repeat: none\n";
    for (const Region& r : regions) {
        text << r.name << "\n";
        text << "  rotate: false\n";
        text << "  xy: " << r.x << ", " << r.y << "\n";
        text << "  size: " << r.image.width << ", " << r.image.height << "\n";
        text << "  orig: " << r.image.width << ", " << r.image.height << "\n";
        text << "  offset: 0, 0\n";
        text << "  index: " << r.index << "\n";
    }
    WritePng((fs::path(outDir) / (atlasName + ".png")).string(), page);
    WriteFileAtomic((fs::path(outDir) / (atlasName + ".txt")).string(), text.str());
}

}  // namespace bake
