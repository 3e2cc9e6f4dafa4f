// Texture atlases: a page picture cut into named regions, each region an entry of the image bank.
// Three description formats: XML (a SubTexture per region), the line-based text format and JSON.
#include <string>
#include <vector>

#include "core/helpers.hpp"
#include "core/json.hpp"
#include "core/strings.hpp"
#include "core/xml.hpp"
#include "core/xmlfile.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "platform/app.hpp"
#include "platform/storage.hpp"

namespace {

// Strips characters of code 32 and below from both ends.
std::string TrimLow(const std::string& text) {
    size_t start = 0;
    size_t end = text.size();
    while (start < end && static_cast<unsigned char>(text[start]) <= 32) ++start;
    while (end > start && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
    return text.substr(start, end - start);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        size_t lf = text.find('\n', start);
        if (lf == std::string::npos) {
            lines.push_back(TrimLow(text.substr(start)));
            return lines;
        }
        lines.push_back(TrimLow(text.substr(start, lf - start)));
        start = lf + 1;
    }
}

// The integers after the colon of an atlas entry ("xy: 12, 40"). A number that is not there
// reads as 0, so a damaged entry never reads past its text.
int EntryNumber(const std::string& line, int index) {
    size_t colon = line.find(':');
    if (colon == std::string::npos) return 0;
    size_t start = colon + 1;
    for (int i = 0; i < index; ++i) {
        size_t comma = line.find(',', start);
        if (comma == std::string::npos) return 0;
        start = comma + 1;
    }
    size_t comma = line.find(',', start);
    return StringToInt(
        std::string_view(line).substr(start, comma == std::string::npos ? std::string::npos : comma - start));
}

}  // namespace

std::string ImageBank::LoadAtlasString(const std::string& file) {
    std::string text = platform::LoadString(path + file);
    // The assertion's text says only that nothing was read; the line says why.
    if (text.empty())
        platform::PrintLine("Error loading Atlas " + path + file + DataFileFault(path + file, text));
    AssertNotEqualInt(static_cast<int>(text.size()), 0, "Error loading Atlas " + path + file);
    return text;
}

std::string ImageBank::SaveAtlasToBank(const platform::ImagePtr& image, const std::string& file) {
    std::string key = "_briskAtlas_" + UpperKey(StripPathAndExtension(file));
    auto entry = std::make_unique<GameImage>();
    entry->image = image;
    entry->name = key;
    entry->path = path + file;
    entry->CalcSize();
    Set(key, std::move(entry));
    return key;
}

platform::ImagePtr ImageBank::LoadAtlasPage(const std::string& page) {
    platform::ImagePtr image = platform::LoadImage(path + page, 1, 0);
    RequireNotNull(image, "Error loading bitmap atlas " + path + page);
    return image;
}

void ImageBank::AddRegion(const platform::ImagePtr& page, const std::string& atlasKey,
                          const std::string& file, const std::string& regionName, int x, int y, int w, int h,
                          bool midhandle, bool readPixels, int maskRed, int maskGreen, int maskBlue) {
    auto entry = std::make_unique<GameImage>();
    entry->name = UpperKey(regionName);
    entry->image = platform::GrabImage(page, x, y, w, h, 1, 0);
    if (!entry->image) {
        // The entry still exists, so lookups behave; it just has nothing to draw.
        platform::PrintLine("Atlas " + path + file + ": region " + regionName + " lies outside its page");
    }
    entry->CalcSize();
    entry->MidHandle(midhandle);
    entry->atlasName = atlasKey;
    entry->subX = x;
    entry->subY = y;
    entry->readPixels = readPixels;
    entry->SetMaskColor(maskRed, maskGreen, maskBlue);
    std::string key = entry->name;
    Set(key, std::move(entry));
}

void ImageBank::LoadLibGdxAtlas(const std::string& file, bool midhandle, bool readPixels, int maskRed,
                                int maskGreen, int maskBlue) {
    std::vector<std::string> lines = SplitLines(LoadAtlasString(file));
    platform::ImagePtr page = LoadAtlasPage(lines[0]);
    std::string atlasKey = SaveAtlasToBank(page, file);
    constexpr size_t kRegionLines = 7;
    // A region cut short by the end of the file ends the list like an empty name does, and a number
    // that is not there reads 0. One line says where the file is damaged first: a picture missing
    // or misplaced because of it would otherwise end the game with no word of this file.
    bool told = false;
    auto damaged = [&](size_t at, const std::string& what) {
        if (!told)
            platform::PrintLine("Atlas " + path + file + " is damaged at line " + std::to_string(at + 1) +
                                ", region \"" + lines[at] + "\": " + what);
        told = true;
    };
    size_t at = 4;
    for (; at + kRegionLines <= lines.size(); at += kRegionLines) {
        std::string regionName = lines[at];
        if (regionName.empty()) break;
        const std::string& xy = lines[at + 2];
        const std::string& size = lines[at + 3];
        if (xy.find(',') == std::string::npos || size.find(',') == std::string::npos ||
            lines[at + 6].find(':') == std::string::npos) {
            damaged(at, "its place, size or index is cut short and reads as 0");
        }
        int index = EntryNumber(lines[at + 6], 0);
        if (index >= 0) regionName += std::to_string(index);
        AddRegion(page, atlasKey, file, regionName, EntryNumber(xy, 0), EntryNumber(xy, 1),
                  EntryNumber(size, 0), EntryNumber(size, 1), midhandle, readPixels, maskRed, maskGreen,
                  maskBlue);
    }
    if (at < lines.size() && !lines[at].empty() && at + kRegionLines > lines.size())
        damaged(at, "the file ends inside it; it and any region after it are missing");
    if (at <= 4 && !told)
        platform::PrintLine("Atlas " + path + file + " holds no region: the file is cut short or damaged");
}

void ImageBank::LoadSparrowAtlas(const std::string& file, bool midhandle, bool readPixels, int maskRed,
                                 int maskGreen, int maskBlue) {
    std::string text = LoadAtlasString(file);
    XMLParser parser;
    std::unique_ptr<XMLDocument> doc = parser.ParseString(text);
    XMLElement* root = doc->Root();
    RequireNotNull(root, "Error loading Atlas " + path + file);
    platform::ImagePtr page = LoadAtlasPage(root->GetAttribute("imagePath"));
    std::string atlasKey = SaveAtlasToBank(page, file);
    for (XMLElement* child : root->Children()) {
        if (child->Name() != "SubTexture") continue;
        AddRegion(page, atlasKey, file, TrimLow(child->GetAttribute("name")),
                  StringToInt(child->GetAttribute("x")), StringToInt(child->GetAttribute("y")),
                  StringToInt(child->GetAttribute("width")), StringToInt(child->GetAttribute("height")),
                  midhandle, readPixels, maskRed, maskGreen, maskBlue);
    }
}

void ImageBank::LoadJsonAtlas(const std::string& file, bool midhandle, bool readPixels, int maskRed,
                              int maskGreen, int maskBlue) {
    std::string text = LoadAtlasString(file);
    JsonValue root = JsonReader(text).Read();
    const JsonValue* meta = root.Member("meta");
    platform::ImagePtr page = LoadAtlasPage(meta ? meta->Str("image") : "");
    std::string atlasKey = SaveAtlasToBank(page, file);
    const JsonValue* frames = root.Member("frames");
    if (!frames) return;
    for (size_t i = 0; i < frames->memberNames.size(); ++i) {
        const std::string& regionName = frames->memberNames[i];
        const JsonValue& region = frames->memberValues[i];
        const JsonValue* frame = region.Member("frame");
        if (!frame) continue;
        AddRegion(page, atlasKey, file, regionName, TruncToInt(frame->Num("x")), TruncToInt(frame->Num("y")),
                  TruncToInt(frame->Num("w")), TruncToInt(frame->Num("h")), midhandle, readPixels, maskRed,
                  maskGreen, maskBlue);
    }
}

void ImageBank::LoadAtlas(const std::string& file, int format, bool midhandle, bool readPixels, int maskRed,
                          int maskGreen, int maskBlue) {
    switch (format) {
        case 0:
            LoadSparrowAtlas(file, midhandle, readPixels, maskRed, maskGreen, maskBlue);
            break;
        case 1:
            LoadLibGdxAtlas(file, midhandle, readPixels, maskRed, maskGreen, maskBlue);
            break;
        case 2:
            LoadJsonAtlas(file, midhandle, readPixels, maskRed, maskGreen, maskBlue);
            break;
        default:
            platform::Error("Invalid atlas format");
    }
}
