// The image and sound banks: the keyed store they share, and loading a picture or a sound into
// its bank.
#include "framework/banks.hpp"

#include <algorithm>
#include <cctype>
#include <iterator>

#include "core/helpers.hpp"
#include "framework/framework.hpp"
#include "platform/app.hpp"

std::string SoundBank::path = "sounds/";

void InitBankGlobals() {
    SoundBank::path = "sounds/";
    SoundPlayer::channel = 0;
    std::fill(std::begin(SoundPlayer::channels), std::end(SoundPlayer::channels), 0);
}

std::string UpperKey(const std::string& text) {
    std::string key = text;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return key;
}

namespace {

std::string KeyOf(const std::string& file, const std::string& nameOverride) {
    return UpperKey(nameOverride.empty() ? StripPathAndExtension(file) : nameOverride);
}

}  // namespace

// --- The keyed store -----------------------------------------------------------------------------

template <class Entry, class Kind>
Entry* KeyedBank<Entry, Kind>::Get(const std::string& key) const {
    auto it = map.find(key);
    return it == map.end() ? nullptr : it->second.get();
}

template <class Entry, class Kind>
Entry* KeyedBank<Entry, Kind>::Set(const std::string& key, std::unique_ptr<Entry> entry) {
    Entry* stored = entry.get();
    auto it = map.find(key);
    if (it == map.end()) {
        map.emplace(key, std::move(entry));
    } else {
        Kind::Unload(*it->second);
        retired.push_back(std::move(it->second));
        it->second = std::move(entry);
    }
    return stored;
}

template <class Entry, class Kind>
Entry* KeyedBank<Entry, Kind>::Find(const std::string& name) {
    if (briskGame && briskGame->debugOn) {
        for (const auto& entry : map) {
            if (!entry.second->preLoad) {
                platform::PrintLine(entry.first + " is stored in the " + Kind::kMap + ".");
            }
        }
    }
    std::string key = UpperKey(name);
    Entry* entry = Get(key);
    if (!entry || (entry->preLoad && !Kind::Loaded(*entry))) {
        RaiseAssertion(std::string(Kind::kEntry) + " '" + key + "' not found in the " + Kind::kBank);
    }
    return entry;
}

template <class Entry, class Kind>
void KeyedBank<Entry, Kind>::LoadPreloaded(const std::string& screenName) {
    const std::string owner = UpperKey(screenName);
    for (auto& [key, entry] : map) {
        Entry& e = *entry;
        if (!e.preLoad || UpperKey(e.screenName) != owner) continue;
        Kind::Reload(e);
        // The load names the entry after its file; it keeps its bank key, and stays owned by its
        // screen so the next start of that screen loads it again.
        e.name = key;
        e.preLoad = true;
    }
}

template class KeyedBank<GameImage, ImageKind>;
template class KeyedBank<GameSound, SoundKind>;

// --- Pictures ------------------------------------------------------------------------------------

void ImageKind::Unload(GameImage& entry) {
    entry.image.reset();
    entry.pixels.reset();
}

void ImageKind::Reload(GameImage& e) {
    if (e.frames < 2) {
        e.Load2(e.path, e.midhandle, e.readPixels, e.maskRed, e.maskGreen, e.maskBlue, false, e.screenName);
    } else {
        e.LoadAnim(e.path, e.w, e.h, e.frames, e.midhandle, e.readPixels, e.maskRed, e.maskGreen, e.maskBlue,
                   false, e.screenName);
    }
}

ImageBank::ImageBank() = default;

GameImage* ImageBank::Load3(const std::string& file, const std::string& nameOverride, bool midhandle,
                            bool ignoreCache, bool readPixels, int maskRed, int maskGreen, int maskBlue,
                            bool preLoad, const std::string& screenName) {
    return Cached(KeyOf(file, nameOverride), ignoreCache, [&](GameImage& entry) {
        entry.Load2(path + file, midhandle, readPixels, maskRed, maskGreen, maskBlue, preLoad, screenName);
    });
}

GameImage* ImageBank::LoadAnim2(const std::string& file, int w, int h, int frames,
                                const platform::ImagePtr& /*image*/, bool midhandle, bool ignoreCache,
                                const std::string& nameOverride, bool readPixels, int maskRed, int maskGreen,
                                int maskBlue, bool preLoad, const std::string& screenName) {
    return Cached(KeyOf(file, nameOverride), ignoreCache, [&](GameImage& entry) {
        entry.LoadAnim(path + file, w, h, frames, midhandle, readPixels, maskRed, maskGreen, maskBlue,
                       preLoad, screenName);
    });
}

// --- Sounds --------------------------------------------------------------------------------------

void SoundKind::Reload(GameSound& entry) {
    entry.Load4(entry.path, false, entry.screenName);
}

SoundBank::SoundBank() = default;

GameSound* SoundBank::Load5(const std::string& file, const std::string& nameOverride, bool ignoreCache,
                            int soundDelay, bool preLoad, const std::string& screenName) {
    return Cached(KeyOf(file, nameOverride), ignoreCache, [&](GameSound& entry) {
        entry.Load4(file, preLoad, screenName);
        entry.soundDelay = soundDelay;
    });
}
