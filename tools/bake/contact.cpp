#include "tools/bake/contact.hpp"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <vector>

#include "tools/bake/common.hpp"
#include "tools/bake/image.hpp"
#include "tools/bake/manifest.hpp"

namespace fs = std::filesystem;

namespace bake {

namespace {

constexpr int kPageWidth = 2400;
constexpr int kPageHeight = 3200;
constexpr int kMargin = 16;
constexpr int kTitleHeight = 22;
constexpr int kMaxTileWidth = 1180;
constexpr int kMaxTileHeight = 900;

struct Box {
    double x, y, w, h;
    std::string label;
};

struct Tile {
    std::string title;
    Image image;
    std::vector<Box> frames;   // red
    std::vector<Box> regions;  // cyan
    double scale = 1;
    int width = 0, height = 0;  // on the sheet, title included
};

cairo_surface_t* ToSurface(const Image& image) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < image.height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = image.At(x, y);
            const unsigned a = p[3];
            const unsigned r = p[0] * a / 255, g = p[1] * a / 255, b = p[2] * a / 255;
            row[x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
    return s.substr(b, e - b);
}

// Reads "a, b" after the first colon.
bool TwoInts(const std::string& line, int& a, int& b) {
    const auto colon = line.find(':');
    if (colon == std::string::npos) return false;
    return std::sscanf(line.c_str() + colon + 1, " %d , %d", &a, &b) == 2;
}

std::vector<Box> AtlasRegions(const fs::path& txt) {
    std::vector<Box> boxes;
    std::istringstream in(ReadFile(txt.string()));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(Trim(line));
    for (size_t i = 4; i + 6 < lines.size() && !lines[i].empty(); i += 7) {
        int x, y, w, h, index = -1;
        if (!TwoInts(lines[i + 2], x, y) || !TwoInts(lines[i + 3], w, h)) break;
        const auto colon = lines[i + 6].find(':');
        if (colon != std::string::npos) index = std::atoi(lines[i + 6].c_str() + colon + 1);
        boxes.push_back({double(x), double(y), double(w), double(h),
                         lines[i] + (index >= 0 ? "@" + std::to_string(index) : "")});
    }
    return boxes;
}

std::vector<Box> FontGlyphs(const fs::path& txt) {
    std::vector<Box> boxes;
    std::istringstream in(ReadFile(txt.string()));
    for (std::string line; std::getline(in, line);) {
        int id, x, y, w, h;
        if (std::sscanf(line.c_str(), "%d,%d,%d,%d,%d,", &id, &x, &y, &w, &h) == 5 && w > 0)
            boxes.push_back({double(x), double(y), double(w), double(h), ""});
    }
    return boxes;
}

struct GlyphMetrics {
    int x, y, w, h, xOffset, yOffset, xAdvance;
};

// Sets sample lines with the font exactly as the game does (pen advance, offsets, tint), so wrong
// metrics show up as crooked or overlapping text.
Image FontSample(const Image& page, const fs::path& txt) {
    std::map<int, GlyphMetrics> glyphs;
    std::map<std::pair<int, int>, int> kerning;
    std::istringstream in(ReadFile(txt.string()));
    for (std::string line; std::getline(in, line);) {
        GlyphMetrics g;
        int id, pageIndex, first, second, amount, used = 0;
        if (std::sscanf(line.c_str(), "%d,%d,%d%n", &first, &second, &amount, &used) == 3 &&
            line.find_first_not_of(" \r", static_cast<size_t>(used)) == std::string::npos)
            kerning[{first, second}] = amount;
        if (std::sscanf(line.c_str(), "%d,%d,%d,%d,%d,%d,%d,%d,%d", &id, &g.x, &g.y, &g.w, &g.h, &g.xOffset,
                        &g.yOffset, &g.xAdvance, &pageIndex) == 9)
            glyphs[id] = g;
    }
    const std::string lines[] = {"Brallwick: Quellfast! 0123456789 $+-?",
                                 "The quick brown fox jumps over the lazy dog.",
                                 "\xc0 la caf\xe9, na\xefve \xdc"
                                 "ber \xc7"
                                 "a \xf1o \xa9 \xbd"};
    const unsigned tints[] = {0xffffff, 0xffd166, 0x000000};
    int lineHeight = 0, width = 0;
    for (const std::string& text : lines) {
        int w = 0;
        for (unsigned char c : text)
            if (auto it = glyphs.find(c); it != glyphs.end()) {
                w += it->second.xAdvance;
                lineHeight = std::max(lineHeight, it->second.h + it->second.yOffset);
            }
        width = std::max(width, w);
    }
    const int margin = 8;
    Image sample(width + 2 * margin, (lineHeight + margin) * 9 + margin);
    for (size_t i = 0; i < sample.rgba.size(); i += 4) {
        sample.rgba[i] = 0x3d, sample.rgba[i + 1] = 0x5a, sample.rgba[i + 2] = 0x80, sample.rgba[i + 3] = 255;
    }
    int row = 0;
    for (unsigned tint : tints)
        for (const std::string& text : lines) {
            int pen = margin, previous = 0;
            const int top = margin + row++ * (lineHeight + margin);
            for (unsigned char c : text) {
                const auto it = glyphs.find(c);
                if (it == glyphs.end()) continue;
                if (const auto kern = kerning.find({previous, c}); kern != kerning.end()) pen += kern->second;
                previous = c;
                const GlyphMetrics& g = it->second;
                for (int y = 0; y < g.h; ++y)
                    for (int x = 0; x < g.w; ++x) {
                        const int tx = pen + g.xOffset + x, ty = top + g.yOffset + y;
                        if (tx < 0 || ty < 0 || tx >= sample.width || ty >= sample.height) continue;
                        if (g.x + x >= page.width || g.y + y >= page.height) continue;
                        const std::uint8_t* s = page.At(g.x + x, g.y + y);
                        std::uint8_t* d = sample.At(tx, ty);
                        const unsigned a = s[3];
                        const unsigned tc[3] = {tint >> 16, (tint >> 8) & 255, tint & 255};
                        for (int k = 0; k < 3; ++k)
                            d[k] =
                                static_cast<std::uint8_t>((s[k] * tc[k] / 255 * a + d[k] * (255 - a)) / 255);
                    }
                pen += g.xAdvance;
            }
        }
    return sample;
}

void Checkerboard(cairo_t* cr, double x, double y, double w, double h) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    const int cell = 8;
    for (int cy = 0; cy * cell < h; ++cy)
        for (int cx = 0; cx * cell < w; ++cx) {
            const double shade = (cx + cy) % 2 ? 0.55 : 0.45;
            cairo_set_source_rgb(cr, shade, shade, shade);
            cairo_rectangle(cr, x + cx * cell, y + cy * cell, cell, cell);
            cairo_fill(cr);
        }
    cairo_restore(cr);
}

void Label(cairo_t* cr, double x, double y, const std::string& text, double size, double r, double g,
           double b) {
    cairo_set_font_size(cr, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.7);
    cairo_rectangle(cr, x, y, extents.x_advance + 4, size + 3);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, r, g, b);
    cairo_move_to(cr, x + 2, y + size);
    cairo_show_text(cr, text.c_str());
}

void DrawTile(cairo_t* cr, const Tile& tile, double x, double y) {
    Label(cr, x, y, tile.title, 14, 1, 1, 1);
    const double top = y + kTitleHeight;
    const double w = tile.image.width * tile.scale, h = tile.image.height * tile.scale;
    Checkerboard(cr, x, top, w, h);
    cairo_surface_t* surface = ToSurface(tile.image);
    cairo_save(cr);
    cairo_translate(cr, x, top);
    cairo_scale(cr, tile.scale, tile.scale);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), tile.scale > 1 ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(surface);

    cairo_set_line_width(cr, 1);
    for (const Box& box : tile.regions) {
        cairo_set_source_rgb(cr, 0, 0.9, 1);
        cairo_rectangle(cr, x + box.x * tile.scale + 0.5, top + box.y * tile.scale + 0.5,
                        box.w * tile.scale - 1, box.h * tile.scale - 1);
        cairo_stroke(cr);
        if (!box.label.empty())
            Label(cr, x + box.x * tile.scale + 1, top + box.y * tile.scale + 1, box.label, 10, 0, 0.9, 1);
    }
    for (const Box& box : tile.frames) {
        cairo_set_source_rgb(cr, 1, 0.2, 0.2);
        cairo_rectangle(cr, x + box.x * tile.scale + 0.5, top + box.y * tile.scale + 0.5,
                        box.w * tile.scale - 1, box.h * tile.scale - 1);
        cairo_stroke(cr);
        if (!box.label.empty())
            Label(cr, x + box.x * tile.scale + 1, top + box.y * tile.scale + 1, box.label, 10, 1, 0.4, 0.4);
    }
}

}  // namespace

int RenderContactSheet(const std::string& dataDir, const std::string& outDir) {
    const fs::path data(dataDir);
    std::vector<fs::path> files;
    for (const fs::path& dir : {data, data / "graphics"}) {
        if (!fs::is_directory(dir)) continue;
        for (const auto& entry : fs::directory_iterator(dir)) {
            const auto ext = entry.path().extension();
            if (entry.is_regular_file() && (ext == ".png" || ext == ".jpg")) files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        std::fprintf(stderr, "contact sheet: no baked pictures in %s\n", dataDir.c_str());
        return 1;
    }

    std::vector<Tile> tiles;
    std::vector<Tile> samples;
    for (const fs::path& file : files) {
        Tile tile;
        const std::string relative = fs::relative(file, data).generic_string();
        try {
            tile.image = ReadPicture(file.string());
        } catch (const BakeError& e) {
            std::fprintf(stderr, "contact sheet: %s\n", e.what());
            return 1;
        }
        std::ostringstream title;
        title << relative << "  " << tile.image.width << " x " << tile.image.height;
        const fs::path txt = fs::path(file).replace_extension(".txt");
        if (const manifest::Picture* entry = manifest::FindPicture(relative.c_str());
            entry && entry->frames > 1) {
            title << "  (" << entry->frames << " frames of " << entry->frameWidth << " x "
                  << entry->frameHeight << ")";
            const int perRow = std::max(1, tile.image.width / entry->frameWidth);
            for (int i = 0; i < entry->frames; ++i)
                tile.frames.push_back({double(i % perRow * entry->frameWidth),
                                       double(i / perRow * entry->frameHeight), double(entry->frameWidth),
                                       double(entry->frameHeight), std::to_string(i)});
        } else if (fs::exists(txt) && relative.rfind("graphics/", 0) == 0) {
            tile.regions = AtlasRegions(txt);
            title << "  (" << tile.regions.size() << " regions)";
        } else if (fs::exists(txt)) {
            tile.regions = FontGlyphs(txt);
            title << "  (font, " << tile.regions.size() << " glyphs)";
            Tile sample;
            sample.title = relative + "  sample, tinted white / gold / black";
            sample.image = FontSample(tile.image, txt);
            samples.push_back(std::move(sample));
        }
        tile.title = title.str();
        tiles.push_back(std::move(tile));
    }
    for (Tile& sample : samples) tiles.push_back(std::move(sample));

    // The window icon's entries (PNG inside the .ico), largest first as the game reads them.
    if (const fs::path icon = data / "icon.ico"; fs::exists(icon)) {
        const std::string bytes = ReadFile(icon.string());
        auto u16 = [&](size_t at) {
            return at + 2 <= bytes.size() ? static_cast<unsigned char>(bytes[at]) |
                                                static_cast<unsigned char>(bytes[at + 1]) << 8
                                          : 0;
        };
        const int count = bytes.size() >= 6 && u16(2) == 1 ? u16(4) : 0;
        for (int i = 0; i < count; ++i) {
            const size_t entry = 6 + 16 * static_cast<size_t>(i);
            const size_t size = u16(entry + 8) | static_cast<size_t>(u16(entry + 10)) << 16;
            const size_t offset = u16(entry + 12) | static_cast<size_t>(u16(entry + 14)) << 16;
            Tile tile;
            try {
                if (offset > bytes.size() || size > bytes.size() - offset)
                    throw BakeError("entry outside the file");
                tile.image = DecodePng(bytes.substr(offset, size));
            } catch (const BakeError& e) {
                std::fprintf(stderr, "contact sheet: icon.ico entry %d: %s\n", i, e.what());
                return 1;
            }
            tile.title = "icon.ico entry " + std::to_string(i) + "  " + std::to_string(tile.image.width) +
                         " x " + std::to_string(tile.image.height);
            tiles.push_back(std::move(tile));
        }
    }
    for (Tile& tile : tiles) {
        // Atlas pages keep their full size where possible: their region names must stay readable.
        const bool atlas = tile.title.rfind("graphics/Atlas", 0) == 0;
        const double maxWidth = atlas ? kPageWidth - 2 * kMargin : kMaxTileWidth;
        const double maxHeight = atlas ? kPageHeight - 2 * kMargin - kTitleHeight : kMaxTileHeight;
        // Tiny sprites (walkers, 16 px glyph pages excepted) are blown up so their frames can be judged.
        const double grow = !atlas && tile.image.height <= 64 && tile.frames.size() > 1 ? 3.0 : 1.0;
        tile.scale = std::min({grow, maxWidth / tile.image.width, maxHeight / tile.image.height});
        tile.width = std::max(int(std::ceil(tile.image.width * tile.scale)), 420);
        tile.height = int(std::ceil(tile.image.height * tile.scale)) + kTitleHeight;
    }

    std::error_code ec;
    fs::create_directories(outDir, ec);
    for (const auto& entry : fs::directory_iterator(outDir, ec))
        if (entry.path().extension() == ".png") fs::remove(entry.path(), ec);

    // Shelf layout: left to right, a new shelf when the row is full, a new page when the page is.
    struct Placed {
        size_t tile;
        int x, y;
    };
    std::vector<std::vector<Placed>> pages(1);
    std::vector<int> pageHeights(1, 0), pageWidths(1, 0);
    int x = kMargin, y = kMargin, shelf = 0;
    for (size_t i = 0; i < tiles.size(); ++i) {
        if (x + tiles[i].width > kPageWidth - kMargin && x > kMargin) {
            x = kMargin;
            y += shelf + kMargin;
            shelf = 0;
        }
        if (y + tiles[i].height > kPageHeight - kMargin && y > kMargin) {
            pages.emplace_back();
            pageHeights.push_back(0);
            pageWidths.push_back(0);
            x = y = kMargin;
            shelf = 0;
        }
        pages.back().push_back({i, x, y});
        pageHeights.back() = std::max(pageHeights.back(), y + tiles[i].height + kMargin);
        pageWidths.back() = std::max(pageWidths.back(), x + tiles[i].width + kMargin);
        x += tiles[i].width + kMargin;
        shelf = std::max(shelf, tiles[i].height);
    }

    for (size_t p = 0; p < pages.size(); ++p) {
        cairo_surface_t* surface =
            cairo_image_surface_create(CAIRO_FORMAT_RGB24, pageWidths[p], pageHeights[p]);
        cairo_t* cr = cairo_create(surface);
        cairo_set_source_rgb(cr, 0.16, 0.17, 0.22);
        cairo_paint(cr);
        cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
        for (const Placed& placed : pages[p]) DrawTile(cr, tiles[placed.tile], placed.x, placed.y);
        cairo_destroy(cr);
        char name[32];
        std::snprintf(name, sizeof name, "page%02zu.png", p + 1);
        const std::string out = (fs::path(outDir) / name).string();
        const cairo_status_t status = cairo_surface_write_to_png(surface, out.c_str());
        cairo_surface_destroy(surface);
        if (status != CAIRO_STATUS_SUCCESS) {
            std::fprintf(stderr, "contact sheet: cannot write %s\n", out.c_str());
            return 1;
        }
        std::printf("contact sheet: %s\n", out.c_str());
    }
    return 0;
}

}  // namespace bake
