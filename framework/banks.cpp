#include "framework/banks.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>

#include "core/helpers.hpp"
#include "core/loaders.hpp"
#include "core/strings.hpp"
#include "core/xml.hpp"
#include "framework/framework.hpp"
#include "platform/app.hpp"
#include "platform/storage.hpp"

std::string SoundBank::path = "sounds/";
int SoundPlayer::channel = 0;
int SoundPlayer::channels[platform::kSoundChannels] = {};

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

// --- A small JSON reader: enough for the atlas object (objects, arrays, strings, numbers and the
// three literals). Malformed text ends the value where it stops making sense.

struct JsonValue {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    double number = 0;
    bool boolean = false;
    std::string text;
    std::vector<JsonValue> items;
    // An object's members as two parallel lists: a pair holding the type being defined is not
    // allowed by every standard library.
    std::vector<std::string> memberNames;
    std::vector<JsonValue> memberValues;

    const JsonValue* Member(const std::string& key) const {
        for (size_t i = 0; i < memberNames.size(); ++i)
            if (memberNames[i] == key) return &memberValues[i];
        return nullptr;
    }
    int Int(const std::string& key) const {
        const JsonValue* v = Member(key);
        if (!v || v->kind != Number || !std::isfinite(v->number)) return 0;
        return TruncToInt(v->number);
    }
    std::string Str(const std::string& key) const {
        const JsonValue* v = Member(key);
        return v && v->kind == String ? v->text : "";
    }
};

class JsonReader {
  public:
    explicit JsonReader(const std::string& text) : s(text) {}

    JsonValue Read(int depth = 0) {
        JsonValue v;
        Skip();
        // Nesting this deep is never an atlas; stopping keeps the stack bounded.
        if (pos >= s.size() || depth > 64) return v;
        char c = s[pos];
        if (c == '{') {
            v.kind = JsonValue::Object;
            ++pos;
            for (;;) {
                Skip();
                if (pos >= s.size()) break;
                if (s[pos] == '}') {
                    ++pos;
                    break;
                }
                if (s[pos] == ',') {
                    ++pos;
                    continue;
                }
                if (s[pos] != '"') break;
                std::string key = ReadString();
                Skip();
                if (pos >= s.size() || s[pos] != ':') break;
                ++pos;
                JsonValue member = Read(depth + 1);
                v.memberNames.push_back(std::move(key));
                v.memberValues.push_back(std::move(member));
            }
        } else if (c == '[') {
            v.kind = JsonValue::Array;
            ++pos;
            for (;;) {
                Skip();
                if (pos >= s.size()) break;
                if (s[pos] == ']') {
                    ++pos;
                    break;
                }
                if (s[pos] == ',') {
                    ++pos;
                    continue;
                }
                size_t before = pos;
                v.items.push_back(Read(depth + 1));
                if (pos == before) break;
            }
        } else if (c == '"') {
            v.kind = JsonValue::String;
            v.text = ReadString();
        } else if (s.compare(pos, 4, "true") == 0) {
            v.kind = JsonValue::Bool;
            v.boolean = true;
            pos += 4;
        } else if (s.compare(pos, 5, "false") == 0) {
            v.kind = JsonValue::Bool;
            pos += 5;
        } else if (s.compare(pos, 4, "null") == 0) {
            pos += 4;
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            size_t start = pos;
            while (pos < s.size() && (std::isdigit(static_cast<unsigned char>(s[pos])) || s[pos] == '-' ||
                                      s[pos] == '+' || s[pos] == '.' || s[pos] == 'e' || s[pos] == 'E'))
                ++pos;
            v.kind = JsonValue::Number;
            v.number = std::strtod(s.substr(start, pos - start).c_str(), nullptr);
        }
        return v;
    }

  private:
    void Skip() {
        while (pos < s.size() && static_cast<unsigned char>(s[pos]) <= 32) ++pos;
    }
    std::string ReadString() {
        std::string out;
        ++pos;  // the opening quote
        while (pos < s.size() && s[pos] != '"') {
            char c = s[pos++];
            if (c == '\\' && pos < s.size()) {
                char e = s[pos++];
                switch (e) {
                    case 'n':
                        out += '\n';
                        break;
                    case 't':
                        out += '\t';
                        break;
                    case 'r':
                        out += '\r';
                        break;
                    case 'b':
                        out += '\b';
                        break;
                    case 'f':
                        out += '\f';
                        break;
                    case 'u': {
                        // Game text is one byte per character: code points above 255 keep their low byte.
                        unsigned code = 0;
                        for (int i = 0; i < 4 && pos < s.size(); ++i, ++pos) {
                            const int digit = std::tolower(static_cast<unsigned char>(s[pos]));
                            const int value = std::isdigit(digit) ? digit - '0' : (digit - 'a' + 10) & 15;
                            code = code * 16 + static_cast<unsigned>(value);
                        }
                        out += static_cast<char>(code & 0xff);
                        break;
                    }
                    default:
                        out += e;
                        break;
                }
            } else {
                out += c;
            }
        }
        if (pos < s.size()) ++pos;  // the closing quote
        return out;
    }

    const std::string& s;
    size_t pos = 0;
};

}  // namespace

// --- GameImage -------------------------------------------------------------------------------

void GameImage::Draw2(float x, float y, float rotation, float scaleX, float scaleY, int frame,
                      bool roundPosition) {
    if (!image || frame < 0 || frame >= image->Frames()) return;
    if (roundPosition) {
        x = std::floor(x + 0.5f);
        y = std::floor(y + 0.5f);
    } else {
        x += static_cast<float>(offSetX);
        y += static_cast<float>(offSetY);
    }
    platform::DrawImage(image, x, y, rotation, scaleX, scaleY, frame);
}

void GameImage::CalcSize() {
    if (!image) return;
    w = image->Width();
    h = image->Height();
    w2 = static_cast<float>(w / 2);
    h2 = static_cast<float>(h / 2);
}

void GameImage::MidHandle(bool on) {
    midhandled = on;
    if (image) {
        if (on)
            image->SetHandle(w2, h2);
        else
            image->SetHandle(0, 0);
    }
}

void GameImage::SetMaskColor(int r, int g, int b) {
    maskRed = r;
    maskGreen = g;
    maskBlue = b;
}

void GameImage::AllocatePixels() {
    size_t count = static_cast<size_t>(std::max(w, 0)) * static_cast<size_t>(std::max(h, 0));
    pixels.reset(count ? static_cast<int*>(std::calloc(count, sizeof(int))) : nullptr);
}

void GameImage::Load2(const std::string& file, bool midhandle, bool readPixels, int maskRed, int maskGreen,
                      int maskBlue, bool preLoad, const std::string& screenName) {
    name = UpperKey(StripPathAndExtension(file));
    path = file;
    this->midhandle = midhandle;
    this->preLoad = preLoad;
    this->screenName = UpperKey(screenName);
    if (!preLoad) {
        image = LoadImageChecked(file, 0);
        CalcSize();
        MidHandle(midhandle);
        AllocatePixels();
        this->readPixels = readPixels;
    }
    SetMaskColor(maskRed, maskGreen, maskBlue);
}

void GameImage::LoadAnim(const std::string& file, int w, int h, int frames,
                         const platform::ImagePtr& /*image*/, bool midhandle, bool readPixels, int maskRed,
                         int maskGreen, int maskBlue, bool preLoad, const std::string& screenName) {
    name = UpperKey(StripPathAndExtension(file));
    path = file;
    this->midhandle = midhandle;
    this->preLoad = preLoad;
    this->screenName = UpperKey(screenName);
    this->w = w;
    this->h = h;
    this->frames = frames;
    if (!preLoad) {
        image = LoadFramedImage(file, w, h, frames);
        CalcSize();
        // The framed loader centres every handle; the bank's own choice is applied after it.
        MidHandle(midhandle);
        AllocatePixels();
        this->readPixels = readPixels;
    }
    SetMaskColor(maskRed, maskGreen, maskBlue);
}

void GameImage::DrawSubImage(float x, float y, float srcX, float srcY, float srcW, float srcH, float rotation,
                             float scaleX, float scaleY, int frame) {
    if (!image || frame < 0 || frame >= image->Frames()) return;
    platform::DrawImageRect(image, x, y, srcX, srcY, srcW, srcH, rotation, scaleX, scaleY, frame);
}

void GameImage::SetHandle(float x, float y) {
    if (image) image->SetHandle(x, y);
}

// --- ImageBank -------------------------------------------------------------------------------

ImageBank::ImageBank() = default;

GameImage* ImageBank::Get(const std::string& key) const {
    auto it = map.find(key);
    return it == map.end() ? nullptr : it->second.get();
}

GameImage* ImageBank::Set(const std::string& key, std::unique_ptr<GameImage> entry) {
    GameImage* stored = entry.get();
    auto it = map.find(key);
    if (it == map.end()) {
        map.emplace(key, std::move(entry));
    } else {
        it->second->image.reset();
        it->second->pixels.reset();
        retired.push_back(std::move(it->second));
        it->second = std::move(entry);
    }
    return stored;
}

GameImage* ImageBank::Find(const std::string& name) {
    if (briskGame && briskGame->debugOn) {
        for (const auto& entry : map) {
            if (!entry.second->preLoad) platform::PrintLine(entry.first + " is stored in the image map.");
        }
    }
    std::string key = UpperKey(name);
    GameImage* entry = Get(key);
    if (!entry || (entry->preLoad && !entry->image))
        RaiseAssertion("Image '" + key + "' not found in the ImageBank");
    return entry;
}

GameImage* ImageBank::Load3(const std::string& file, const std::string& nameOverride, bool midhandle,
                            bool ignoreCache, bool readPixels, int maskRed, int maskGreen, int maskBlue,
                            bool preLoad, const std::string& screenName) {
    std::string key = KeyOf(file, nameOverride);
    if (!ignoreCache) {
        if (GameImage* existing = Get(key)) return existing;
    }
    auto entry = std::make_unique<GameImage>();
    entry->Load2(path + file, midhandle, readPixels, maskRed, maskGreen, maskBlue, preLoad, screenName);
    entry->name = key;
    return Set(key, std::move(entry));
}

GameImage* ImageBank::LoadAnim2(const std::string& file, int w, int h, int frames,
                                const platform::ImagePtr& image, bool midhandle, bool ignoreCache,
                                const std::string& nameOverride, bool readPixels, int maskRed, int maskGreen,
                                int maskBlue, bool preLoad, const std::string& screenName) {
    std::string key = KeyOf(file, nameOverride);
    if (!ignoreCache) {
        if (GameImage* existing = Get(key)) return existing;
    }
    auto entry = std::make_unique<GameImage>();
    entry->LoadAnim(path + file, w, h, frames, image, midhandle, readPixels, maskRed, maskGreen, maskBlue,
                    preLoad, screenName);
    entry->name = key;
    return Set(key, std::move(entry));
}

void ImageBank::LoadPreloaded(const std::string& screenName) {
    const std::string owner = UpperKey(screenName);
    for (auto& [key, entry] : map) {
        GameImage& e = *entry;
        if (!e.preLoad || UpperKey(e.screenName) != owner) continue;
        if (e.frames < 2) {
            e.Load2(e.path, e.midhandle, e.readPixels, e.maskRed, e.maskGreen, e.maskBlue, false,
                    e.screenName);
        } else {
            e.LoadAnim(e.path, e.w, e.h, e.frames, nullptr, e.midhandle, e.readPixels, e.maskRed, e.maskGreen,
                       e.maskBlue, false, e.screenName);
        }
        // The load names the entry after its file; it keeps its bank key, and stays owned by its
        // screen so the next start of that screen loads it again.
        e.name = key;
        e.preLoad = true;
    }
}

std::string ImageBank::LoadAtlasString(const std::string& file) {
    std::string text = platform::LoadString(path + file);
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
    // A region cut short by the end of the file ends the list like an empty name does.
    for (size_t at = 4; at + kRegionLines <= lines.size(); at += kRegionLines) {
        std::string regionName = lines[at];
        if (regionName.empty()) break;
        const std::string& xy = lines[at + 2];
        const std::string& size = lines[at + 3];
        int index = EntryNumber(lines[at + 6], 0);
        if (index >= 0) regionName += std::to_string(index);
        AddRegion(page, atlasKey, file, regionName, EntryNumber(xy, 0), EntryNumber(xy, 1),
                  EntryNumber(size, 0), EntryNumber(size, 1), midhandle, readPixels, maskRed, maskGreen,
                  maskBlue);
    }
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
        AddRegion(page, atlasKey, file, regionName, frame->Int("x"), frame->Int("y"), frame->Int("w"),
                  frame->Int("h"), midhandle, readPixels, maskRed, maskGreen, maskBlue);
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

// --- GameSound -------------------------------------------------------------------------------

namespace {

bool EndsWith(const std::string& text, const char* suffix) {
    std::string s(suffix);
    return text.size() >= s.size() && text.compare(text.size() - s.size(), s.size(), s) == 0;
}

}  // namespace

void GameSound::Load4(const std::string& file, bool preLoad, const std::string& screenName) {
    path = file;
    this->preLoad = preLoad;
    this->screenName = screenName;
    if (!preLoad) {
        std::string fileName = file;
        static const char* const kExtensions[] = {".wav", ".ogg", ".mp3", ".m4a", ".wma"};
        if (std::none_of(std::begin(kExtensions), std::end(kExtensions),
                         [&](const char* e) { return EndsWith(fileName, e); }))
            fileName += ".wav";
        sound = LoadSoundChecked(SoundBank::path + fileName);
    }
    name = UpperKey(StripPathAndExtension(file));
}

bool GameSound::IsPlaying() const {
    return platform::ChannelState(channel) == 1;
}

void GameSound::Stop() {
    SoundPlayer::PlayerStopChannel(channel);
    if (!loopChannelList.IsEmpty()) {
        for (int looping : loopChannelList) SoundPlayer::PlayerStopChannel(looping);
        loopChannelList.Clear();
    }
}

bool GameSound::Play(int playChannel, bool ignoreDelay) {
    const double now = deltaTimer ? deltaTimer->currentticks : 0.0;
    if (!ignoreDelay && soundDelay != 0 && soundAvailableMillis >= now) return false;
    if (stopChannelBeforePlaying && IsPlaying()) Stop();
    const int soundVolume = briskGame ? briskGame->soundVolume : 100;
    int played = SoundPlayer::PlayFx(sound, pan, rate, volume * static_cast<float>(soundVolume) / 100.0f,
                                     loop, playChannel);
    if (played < 0) return false;
    channel = played;
    if (loop == 1) loopChannelList.Push(channel);
    soundAvailableMillis = TruncToInt(now + soundDelay);
    return true;
}

// --- SoundBank -------------------------------------------------------------------------------

SoundBank::SoundBank() = default;

GameSound* SoundBank::Get(const std::string& key) const {
    auto it = map.find(key);
    return it == map.end() ? nullptr : it->second.get();
}

GameSound* SoundBank::Find(const std::string& name) {
    if (briskGame && briskGame->debugOn) {
        for (const auto& entry : map) {
            if (!entry.second->preLoad) platform::PrintLine(entry.first + " is stored in the sound map.");
        }
    }
    std::string key = UpperKey(name);
    GameSound* entry = Get(key);
    if (!entry || (entry->preLoad && !entry->sound))
        RaiseAssertion("Sound '" + key + "' not found in the SoundBank");
    return entry;
}

GameSound* SoundBank::Load5(const std::string& file, const std::string& nameOverride, bool ignoreCache,
                            int soundDelay, bool preLoad, const std::string& screenName) {
    std::string key = KeyOf(file, nameOverride);
    if (!ignoreCache) {
        if (GameSound* existing = Get(key)) return existing;
    }
    auto entry = std::make_unique<GameSound>();
    entry->Load4(file, preLoad, screenName);
    entry->name = key;
    entry->soundDelay = soundDelay;
    GameSound* stored = entry.get();
    auto it = map.find(key);
    if (it == map.end()) {
        map.emplace(key, std::move(entry));
    } else {
        it->second->sound.reset();
        retired.push_back(std::move(it->second));
        it->second = std::move(entry);
    }
    return stored;
}

void SoundBank::LoadPreloaded(const std::string& screenName) {
    const std::string owner = UpperKey(screenName);
    for (auto& [key, entry] : map) {
        GameSound& e = *entry;
        if (!e.preLoad || UpperKey(e.screenName) != owner) continue;
        e.Load4(e.path, false, e.screenName);
        e.name = key;
        e.preLoad = true;
    }
}

// --- SoundPlayer -----------------------------------------------------------------------------

int SoundPlayer::PlayFx(const platform::SamplePtr& sound, float pan, float rate, float volume, int loop,
                        int playChannel) {
    constexpr int kCount = platform::kSoundChannels;
    if (playChannel == -1) {
        // One full turn at most: when every channel is held by a loop the play is refused (and the
        // cursor is back where it was) rather than searching forever.
        bool found = false;
        for (int tries = 0; tries < kCount && !found; ++tries) {
            channel = (channel + 1) % kCount;
            found = channels[channel] == 0;
        }
        if (!found) {
            platform::PrintLine(
                "SoundPlayer.PlayFx: every sound channel is held by a looping sound; play refused");
            return -1;
        }
    } else {
        if (playChannel < 0 || playChannel >= kCount) {
            platform::PrintLine("SoundPlayer.PlayFx: no sound channel " + std::to_string(playChannel));
            return -1;
        }
        channel = playChannel;
        channels[channel] = 0;
    }
    platform::StopChannel(channel);
    platform::PlaySound(sound, channel, loop ? 1 : 0);
    platform::SetChannelPan(channel, pan);
    platform::SetChannelRate(channel, rate);
    platform::SetChannelVolume(channel, volume);
    if (loop) channels[channel] = 1;
    return channel;
}

void SoundPlayer::PlayerStopChannel(int number) {
    if (number < 0 || number >= platform::kSoundChannels) return;
    platform::StopChannel(number);
    channels[number] = 0;
}
