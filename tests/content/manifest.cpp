// Checks the baked data folder against every file and atlas region the game loads by name: a file
// that is missing, undecodable, cut into the wrong frame grid or without alpha would end the game
// at start-up or draw garbage, so it is caught here instead.
#include "tools/bake/manifest.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "tests/content/content_check.hpp"

using namespace content_check;
namespace manifest = bake::manifest;

namespace {

const std::string kData = BRISK_DATA_ROOT "/data/";

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string BaseName(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    return file.substr(0, file.rfind('.'));
}

// A frame with nothing in it is nearly always a sheet drawn off its grid.
bool FrameHasPixels(const Picture& p, int fx, int fy, int fw, int fh) {
    for (int y = fy; y < fy + fh; ++y)
        for (int x = fx; x < fx + fw; ++x)
            if (p.At(x, y)[3] != 0) return true;
    return false;
}

}  // namespace

TEST(Manifest, EveryPictureDecodesWithItsFrameGridAndAlpha) {
    for (const manifest::Picture& entry : manifest::kPictures) {
        SCOPED_TRACE(entry.path);
        const Picture picture = LoadPicture(kData + entry.path);
        if (!picture.ok) {
            ADD_FAILURE() << entry.path << ": " << picture.error;
            continue;
        }
        EXPECT_GT(picture.width, 0);
        EXPECT_GT(picture.height, 0);
        if (entry.needsAlpha) {
            EXPECT_TRUE(picture.hasAlpha) << entry.path << " needs an alpha channel";
        }
        if (entry.exactSize) {
            EXPECT_EQ(picture.width, entry.frameWidth);
            EXPECT_EQ(picture.height, entry.frameHeight);
        }
        EXPECT_GE(picture.width, entry.minWidth);
        EXPECT_GE(picture.height, entry.minHeight);
        if (entry.frames <= 1 || entry.frameWidth == 0) continue;
        // One row of frames, or rows filled left to right when the sheet would be too wide.
        const int columns = picture.width / entry.frameWidth;
        const int rows = picture.height / entry.frameHeight;
        const bool grid = picture.width % entry.frameWidth == 0 && picture.height % entry.frameHeight == 0;
        const bool oneRow = grid && rows == 1 && columns == entry.frames;
        const bool wrapped =
            grid && rows > 1 && columns * rows >= entry.frames && columns * (rows - 1) < entry.frames;
        EXPECT_TRUE(oneRow || wrapped)
            << entry.path << " is " << picture.width << " x " << picture.height << ", expected "
            << entry.frames << " frames of " << entry.frameWidth << " x " << entry.frameHeight;
        if (!(oneRow || wrapped)) continue;
        for (int i = 0; i < entry.frames; ++i)
            EXPECT_TRUE(FrameHasPixels(picture, i % columns * entry.frameWidth,
                                       i / columns * entry.frameHeight, entry.frameWidth, entry.frameHeight))
                << entry.path << " frame " << i << " is empty";
    }
}

TEST(Manifest, AtlasesHoldEveryNamedRegionInsideTheirPage) {
    std::map<std::string, std::string> keyToAtlas;  // bank key -> atlas that holds it
    std::set<std::string> fileKeys;
    for (const manifest::Picture& p : manifest::kPictures) fileKeys.insert(Upper(BaseName(p.path)));

    for (const char* name : manifest::kAtlases) {
        SCOPED_TRACE(name);
        const std::string text = ReadText(kData + "graphics/" + name + ".txt");
        if (text.empty()) {
            ADD_FAILURE() << "graphics/" << name << ".txt is missing or empty";
            continue;
        }
        const Atlas atlas = ParseAtlas(text);
        for (const std::string& problem : atlas.problems) ADD_FAILURE() << name << ".txt: " << problem;
        EXPECT_EQ(atlas.page, std::string(name) + ".png");
        const Picture page = LoadPicture(kData + "graphics/" + atlas.page);
        if (!page.ok) {
            ADD_FAILURE() << "graphics/" << atlas.page << ": " << page.error;
            continue;
        }
        EXPECT_TRUE(page.hasAlpha);
        EXPECT_LE(page.width, 2048);
        EXPECT_LE(page.height, 2048);
        for (const Region& r : atlas.regions) {
            EXPECT_TRUE(r.width > 0 && r.height > 0 && r.x >= 0 && r.y >= 0 && r.x + r.width <= page.width &&
                        r.y + r.height <= page.height)
                << r.name << " (" << r.x << ", " << r.y << ", " << r.width << " x " << r.height
                << ") is outside the " << page.width << " x " << page.height << " page";
            const std::string key = Upper(r.name) + (r.index >= 0 ? std::to_string(r.index) : "");
            // The bank keeps regions and files in one map: a clash would replace one by the other.
            EXPECT_FALSE(fileKeys.count(key)) << r.name << " is also the name of a picture file";
            const auto [it, fresh] = keyToAtlas.emplace(key, name);
            EXPECT_TRUE(fresh) << r.name << " is in both " << it->second << " and " << name;
        }
    }

    for (const manifest::Region& region : manifest::kRegions) {
        const auto it = keyToAtlas.find(Upper(region.name));
        if (it == keyToAtlas.end()) {
            ADD_FAILURE() << "no atlas has the region " << region.name;
            continue;
        }
        if (region.atlas[0] != '\0') {
            EXPECT_EQ(it->second, region.atlas)
                << region.name << " is the loader's check region of " << region.atlas;
        }
    }

    // Every place of the city map shows its picture, and its greyed twin until it is revealed.
    const std::string locations = ReadText(kData + "data/locations.xml");
    const std::regex imageAttribute("\\bimage\\s*=\\s*\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(locations.begin(), locations.end(), imageAttribute);
         it != std::sregex_iterator(); ++it) {
        const std::string image = (*it)[1];
        if (image.empty()) continue;
        for (const std::string& key : {Upper(image), Upper(image) + "G"})
            EXPECT_TRUE(keyToAtlas.count(key) || fileKeys.count(key))
                << "locations.xml names the picture " << image << " but the bank would have no " << key;
    }
}

TEST(Manifest, EverySoundAndMusicTrackDecodes) {
    for (const char* name : manifest::kSounds) {
        double seconds = 0;
        std::string error;
        const std::string file = kData + "sounds/" + name + ".ogg";
        if (!FileExists(file)) {
            ADD_FAILURE() << "sounds/" << name << ".ogg is missing";
            continue;
        }
        EXPECT_TRUE(DecodeOgg(file, seconds, error)) << "sounds/" << name << ".ogg: " << error;
        EXPECT_GT(seconds, 0.0) << "sounds/" << name << ".ogg is silent";
    }
    for (const char* name : manifest::kMusic) {
        double seconds = 0;
        std::string error;
        const std::string file = kData + "music/" + name + ".ogg";
        if (!FileExists(file)) {
            ADD_FAILURE() << "music/" << name << ".ogg is missing";
            continue;
        }
        EXPECT_TRUE(DecodeOgg(file, seconds, error)) << "music/" << name << ".ogg: " << error;
        EXPECT_GT(seconds, 1.0) << "music/" << name << ".ogg is too short to loop";
    }
}

TEST(Manifest, EveryFontParsesWithPrintableAsciiOnItsPage) {
    for (const char* name : manifest::kFonts) {
        SCOPED_TRACE(name);
        const std::string text = ReadText(kData + name + ".txt");
        if (text.empty()) {
            ADD_FAILURE() << name << ".txt is missing or empty";
            continue;
        }
        const Font font = ParseFont(text);
        for (const std::string& line : font.badLines)
            ADD_FAILURE() << name << ".txt: bad line \"" << line << "\"";
        const Picture page = LoadPicture(kData + name + ".png");
        if (!page.ok) {
            ADD_FAILURE() << name << ".png: " << page.error;
            continue;
        }
        EXPECT_TRUE(page.hasAlpha);
        for (int code = 32; code <= 126; ++code)
            EXPECT_TRUE(font.glyphs.count(code)) << "no glyph for " << code;
        for (const auto& [code, g] : font.glyphs) {
            EXPECT_EQ(g.page, 0) << code;
            EXPECT_TRUE(g.x >= 0 && g.y >= 0 && g.width >= 0 && g.height >= 0 &&
                        g.x + g.width <= page.width && g.y + g.height <= page.height)
                << "glyph " << code << " lies outside the " << page.width << " x " << page.height << " page";
        }
    }
}

TEST(Manifest, IconHoldsTheWindowSizes) {
    const std::vector<IconEntry> entries = ReadIco(ReadText(kData + "icon.ico"));
    ASSERT_FALSE(entries.empty()) << "icon.ico is missing or not an icon";
    EXPECT_EQ(entries.front().width, 256);
    std::set<int> sizes;
    for (const IconEntry& entry : entries) {
        const Picture png = DecodePng(entry.png);
        EXPECT_TRUE(png.ok) << png.error;
        EXPECT_EQ(png.width, entry.width);
        sizes.insert(entry.width);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48, 256}));
}
