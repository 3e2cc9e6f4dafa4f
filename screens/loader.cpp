// The resource loader: one real load per call, in list order.
#include "screens/loader.hpp"

#include <memory>

#include "core/glyphfont.hpp"
#include "core/helpers.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "model/data2.hpp"
#include "platform/decodeahead.hpp"
#include "platform/storage.hpp"

std::vector<platform::ImagePtr> Loader::preCache;

namespace {

std::string KeyOf(const std::string& file) {
    return UpperKey(StripPathAndExtension(file));
}

// The first line of a text, without the blanks and control characters around it.
std::string FirstLine(const std::string& text) {
    size_t start = 0, end = text.find('\n');
    if (end == std::string::npos) end = text.size();
    while (start < end && static_cast<unsigned char>(text[start]) <= 32) ++start;
    while (end > start && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
    return text.substr(start, end - start);
}

}  // namespace

LoadItem LoadItem::CreateFont(const std::string& file, const std::string& fontId, int cache) {
    LoadItem item;
    item.name = file;
    item.type = "font";
    item.id = fontId;
    item.cache = cache;
    return item;
}

LoadItem LoadItem::CreateAnim(const std::string& file, int w, int h, int frames, int mid, int cache) {
    LoadItem item;
    item.name = file;
    item.type = "anim";
    item.w = w;
    item.h = h;
    item.nr = frames;
    item.mid = mid;
    item.cache = cache;
    return item;
}

LoadItem LoadItem::CreateImage(const std::string& file, int mid, int cache) {
    LoadItem item;
    item.name = file;
    item.type = "image";
    item.mid = mid;
    item.cache = cache;
    return item;
}

LoadItem LoadItem::CreateAtlas(const std::string& file, const std::string& region, int mid, int cache) {
    LoadItem item;
    item.name = file;
    item.type = "atlas";
    item.id = region;
    item.mid = mid;
    item.cache = cache;
    return item;
}

LoadItem LoadItem::CreateSound(const std::string& name) {
    LoadItem item;
    item.name = name + Data::soundExtension;
    item.type = "sound";
    return item;
}

Loader::Loader(const std::string& type) : type(type) {
    Init();
}

void Loader::Init() {
    if (type == "title") {
        StartTitle();
        StartGame();
    } else if (type == "intro") {
        StartIntro();
    } else if (type == "game") {
        StartGame();
    }
    total = remainingItems = static_cast<int>(items.size());
    QueueAhead();
}

void Loader::DecodeAhead(const std::string& type) {
    // Building the list queues it.
    Loader list(type);
}

void Loader::QueueAhead() const {
    ImageBank& images = *briskGame->images;
    // One at a time, so the worker goes down the list in the order the loading screen does.
    for (const LoadItem& item : items) {
        if (item.type == "sound") {
            if (!briskGame->sounds->Get(KeyOf(item.name)))
                platform::DecodeSoundsAhead({SoundBank::path + item.name});
        } else if (item.type == "font") {
            if (*Fonts::FileFor(item.id) && !Fonts::Get(item.id))
                platform::DecodeAhead({platform::DataPath(item.name + ".png")});
        } else if (item.type == "image" || item.type == "anim") {
            if (!images.Get(KeyOf(item.name))) platform::DecodeAhead({images.path + item.name});
        } else if (item.type == "atlas" && !images.Get(UpperKey(item.id))) {
            // The page picture is named on the first line of the atlas.
            const std::string page = FirstLine(platform::LoadString(images.path + item.name));
            if (!page.empty()) platform::DecodeAhead({images.path + page});
        }
    }
}

int Loader::Load(const LoadItem& item) {
    ImageBank& images = *briskGame->images;
    if (item.type == "sound") {
        if (briskGame->sounds->Get(KeyOf(item.name))) return 0;
        briskGame->sounds->Load5(item.name);
        return 1;
    }
    if (item.type == "font") {
        const std::string file = Fonts::FileFor(item.id);
        if (file.empty() || Fonts::Get(item.id)) return 0;
        auto font = std::make_unique<GlyphFont>();
        font->LoadFont(item.name);
        if (font->image[0]) preCache.push_back(font->image[0]);
        Fonts::Set(item.id, std::move(font));
        return 1;
    }
    if (item.type == "image") {
        if (images.Get(KeyOf(item.name))) return 0;
        GameImage* image = images.Load3(item.name, "", item.mid != 0);
        if (item.cache && image && image->image) preCache.push_back(image->image);
        return 1;
    }
    if (item.type == "anim") {
        if (images.Get(KeyOf(item.name))) return 0;
        GameImage* image = images.LoadAnim2(item.name, item.w, item.h, item.nr, nullptr, item.mid != 0);
        if (item.cache && image && image->image) preCache.push_back(image->image);
        return 1;
    }
    if (item.type == "atlas") {
        const std::string region = UpperKey(item.id);
        if (images.Get(region)) return 0;
        images.LoadAtlas(item.name, 1, item.mid != 0);
        GameImage* image = images.Get(region);
        if (item.cache && image && image->image) preCache.push_back(image->image);
        return 1;
    }
    return 0;
}

int Loader::Progress() {
    int loaded = 0;
    while (next < items.size() && loaded == 0) {
        const LoadItem& item = items[next++];
        loaded = Load(item);
        remainingItems = static_cast<int>(items.size() - next);
    }
    if (loaded) return 0;
    if (!done) platform::ForgetDecodedAhead();  // whatever was decoded for nothing
    done = 1;
    return 1;
}
