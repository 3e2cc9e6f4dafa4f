#include "model/data2.hpp"

#include <algorithm>
#include <climits>
#include <string_view>

#include "core/collections.hpp"
#include "core/glyphfont.hpp"
#include "core/tween.hpp"
#include "framework/framework.hpp"
#include "framework/main.hpp"
#include "model/profile.hpp"
#include "platform/app.hpp"
#include "platform/graphics.hpp"
#include "platform/input.hpp"
#include "platform/random.hpp"

std::array<int, Data::kLevels> Data::levelTable{};
std::string Data::yearText;
// The virtual size before start-up has read the widescreen setting.
int Data::virtualWidth = 960;
int Data::virtualHeight = 640;
float Data::layoutScaleX = 4.0f / 3.0f;
float Data::layoutScaleY = 1.5f;
int Data::qualityOn = 0;
int Data::mapNamesOn = 0;
int Data::hintsOn = 0;
int Data::touchDevice = 0;
std::string Data::musicExtension = ".ogg";
std::string Data::soundExtension = ".ogg";
int Data::mouseHeld = 0;
float Data::mouseVX = 0;
float Data::mouseVY = 0;
int Data::backPressed = 0;
int Data::menuPressed = 0;
int Data::screenRotated = 0;
int64_t Data::curMillisecs = -1;
int64_t Data::prevMillisecs = -1;
bool Data::clockStarted = false;
int Data::frameMsInt = 0;
float Data::frameMs = 0;
float Data::trailTimer = 0;
std::vector<TweenItem> Data::tweenRegistry;
DataHooks Data::hooks;

const std::array<const char*, 7> Data::exclamationAdjectives = {
    "Great", "Galloping", "Vicious", "Voluptuous", "Slobbering", "Silly", "Holy"};
const std::array<const char*, 5> Data::exclamationNouns = {"gadzooks", "mariachis", "gnomes of Zurich",
                                                           "pickled herrings", "thundering turnips"};

namespace {

// The table follows 100, 200, 300, 500, ... and leaves the int range at index 36; from there every
// entry holds the largest int, so the search over it stays ordered and nothing overflows.
void FillLevelTable() {
    int64_t previous = 0;
    int64_t current = 0;
    for (int i = 0; i < Data::kLevels; ++i) {
        int64_t value = 0;
        if (i == 1) {
            value = 100;
        } else if (i == 2) {
            value = 200;
        } else if (i >= 3) {
            value = std::min<int64_t>(current + previous, INT_MAX);
        }
        Data::levelTable[static_cast<size_t>(i)] = static_cast<int>(value);
        previous = current;
        current = value;
    }
}

int SearchLevel(int v, int last) {
    for (int i = 0; i <= last; ++i) {
        if (v < Data::levelTable[static_cast<size_t>(i)]) return i - 1;
    }
    return last;
}

// Every occurrence, left to right; a replacement is never searched again.
std::string ReplaceAll(const std::string& text, const std::string& what, const std::string& with) {
    if (what.empty()) return text;
    std::string out;
    size_t start = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, start)) {
        out.append(text, start, at - start);
        out += with;
        start = at + what.size();
    }
    out.append(text, start, std::string::npos);
    return out;
}

int Draw(int count) {
    // A draw that rounds up to its excluded bound must still name an entry.
    return std::clamp(TruncToInt(platform::Rnd(0.0f, static_cast<float>(count))), 0, count - 1);
}

int TextWidthOf(GlyphFont* font, const std::string& text) {
    return font ? font->TextWidth(text) : 0;
}

int TextHeightOf(GlyphFont* font, const std::string& text) {
    return font ? font->TextHeight(text) : 0;
}

struct CurrencyCode {
    char32_t code;
    const char32_t* text;
};
constexpr CurrencyCode kCurrencyCodes[] = {
    {0x20A0, U"EUR"}, {0x20A6, U"NGN"}, {0x20A7, U"Pts"}, {0x20A8, U"Rs"},  {0x20A9, U"KRW"},
    {0x20AA, U"ILS"}, {0x20AB, U"VND"}, {0x20AC, U"EUR"}, {0x20AD, U"LAK"}, {0x20AE, U"MNT"},
    {0x20AF, U"GRD"}, {0x20B1, U"MXN"}, {0x20B2, U"PYG"}, {0x20B3, U"AUD"}, {0x20B4, U"UAH"},
    {0x20B5, U"GHS"}, {0x20B8, U"KZT"}, {0x20B9, U"INR"}};

bool warnedNoTween = false;

}  // namespace

void Data::InitGlobals() {
    FillLevelTable();
    yearText.clear();
    virtualWidth = 960;
    virtualHeight = 640;
    layoutScaleX = 4.0f / 3.0f;
    layoutScaleY = 1.5f;
    qualityOn = mapNamesOn = hintsOn = 0;
    touchDevice = 0;
    musicExtension = soundExtension = ".ogg";
    mouseHeld = 0;
    mouseVX = mouseVY = 0;
    backPressed = menuPressed = screenRotated = 0;
    curMillisecs = prevMillisecs = -1;
    clockStarted = false;
    frameMsInt = 0;
    frameMs = 0;
    trailTimer = 0;
    tweenRegistry.clear();
    warnedNoTween = false;
}

void Data::Init() {
    Tween::CacheTweens();
    yearText = std::to_string(platform::CurrentYear());
    FillLevelTable();
}

int Data::GetLevel(int v) {
    return SearchLevel(v, kTopLevel);
}

int Data::GetReputationLevel(int v) {
    return SearchLevel(v, kTopRank);
}

void Data::SetResolutionRatio() {
    touchDevice = 0;
    musicExtension = ".ogg";
    soundExtension = ".ogg";
    virtualWidth = Profile::GetGlobalFlagInt("Widescreen") == 1 ? 1000 : 800;
    virtualHeight = 600;
    layoutScaleX = 4.0f / 3.0f;
    layoutScaleY = 1.5f;
    qualityOn = Profile::GetGlobalFlagInt("Quality") == 1 ? 1 : 0;
    mapNamesOn = Profile::GetGlobalFlagInt("MapNames") == 1 ? 1 : 0;
    hintsOn = Profile::GetGlobalFlagInt("Hints") == 1 ? 1 : 0;
    if (Profile::GetGlobalFlagString("ID").empty()) hooks.requestStatisticsId.Run();
    hooks.clearTrophies.Run();
}

void Data::AddTween(FloatObject* var, int ms, float from, float to) {
    if (var == nullptr) return;
    Tween* tween = Tween::CreateLinear(ms, from, to, from);
    if (tween == nullptr) {
        // Logic waits for animated values to arrive (the hero on its node, a faded item at 0), so
        // an animation that cannot run must still end where it was going.
        if (!warnedNoTween) {
            platform::PrintLine("No free tween: values jump to their end");
            warnedNoTween = true;
        }
        var->value = to;
        return;
    }
    tween->nextType = Tween::kNextDestroy;
    tween->currentTicks = 0;
    tweenRegistry.push_back(TweenItem{var, tween});
}

void Data::KillTweens(FloatObject* var) {
    std::erase_if(tweenRegistry, [var](const TweenItem& item) {
        if (item.var != var) return false;
        Tween::DestroyTween(item.tween->thisIndex);
        return true;
    });
}

void Data::ResetUpdate() {
    curMillisecs = prevMillisecs = platform::Millisecs();
    clockStarted = true;
    frameMsInt = 0;
    frameMs = 0;
}

void Data::InitScreen() {
    if (briskGame && briskGame->screenFade) briskGame->screenFade->Start2(25, false, false, false, true);
}

void Data::ExitScreen(std::shared_ptr<Screen> screen, int ms) {
    if (!briskGame || !briskGame->screenFade) return;
    ScreenFade& fade = *briskGame->screenFade;
    if (fade.active) {
        // A second exit while one is under way is dropped: changing the next screen under a
        // running fade-out would send the player somewhere the fade did not start for.
        if (fade.fadeOut) return;
        // A screen that leaves while it is still fading in (a request made once, in its first
        // frames) must still leave, or the game would stay on it for good.
        fade.active = false;
        fade.ratio = 1.0f;
        if (briskGame->currentScreen) briskGame->currentScreen->PostFadeIn();
    }
    briskGame->nextScreen = std::move(screen);
    fade.Start2(static_cast<float>(ms), true, false, false, true);
}

void Data::Update(int trail) {
    screenRotated = 0;

    Profile::uploadTimer += frameMs;
    Profile::playTimeAccumulator += frameMs;
    if (Profile::playTimeAccumulator > 1000.0f) {
        const int seconds = TruncToInt(Profile::playTimeAccumulator / 1000.0f);
        Profile::AddGlobalFlagInt("TimePlayed", seconds);
        Profile::AddFlagInt("TimePlayed", seconds);
        Profile::playTimeAccumulator -= static_cast<float>(seconds) * 1000.0f;
    }

    // A square display has width == height in both orientations: that is no turn.
    const int deviceW = platform::DeviceWidth();
    const int deviceH = platform::DeviceHeight();
    if (deviceW != deviceH && deviceW == windowHeight && deviceH == windowWidth) {
        if (briskGame) {
            briskGame->SetScreenSize(static_cast<float>(virtualHeight), static_cast<float>(virtualWidth),
                                     true);
        }
        std::swap(virtualWidth, virtualHeight);
        windowWidth = deviceW;
        windowHeight = deviceH;
        screenRotated = 1;
        hooks.checkRotate.Run();
    }

    if (platform::KeyHit(417)) menuPressed = 1;
    if (platform::KeyHit(416) || platform::KeyHit(27)) backPressed = 1;

    mouseHeld = platform::MouseDown(0) ? 1 : 0;
    if (briskGame) {
        mouseVX = static_cast<float>(briskGame->mouseX);
        mouseVY = static_cast<float>(briskGame->mouseY);
    }

    if (mouseHeld && trail) {
        trailTimer -= frameMs;
        if (trailTimer <= 0) {
            trailTimer = 20;
            const float r = platform::Rnd(0.75f, 1.25f);
            const float size = platform::Rnd(1.0f, 5.0f);
            const float dy = platform::Rnd(0.0f, 16.0f) - 8;
            const float dx = platform::Rnd(0.0f, 16.0f) - 8;
            hooks.trailDot.Run(TruncToInt(mouseVX + dx), TruncToInt(mouseVY + dy), size,
                               r >= 1.0f ? 0xC0C0FF : 0xFFC0C0, 0.0075f * r);
        }
    }

    prevMillisecs = curMillisecs;
    curMillisecs = platform::Millisecs();
    if (!clockStarted) {
        prevMillisecs = curMillisecs;
        clockStarted = true;
    }
    const int64_t elapsed = std::clamp<int64_t>(curMillisecs - prevMillisecs, 0, INT_MAX);
    frameMsInt = static_cast<int>(elapsed);
    frameMs = static_cast<float>(frameMsInt);

    Tween::UpdateAll(frameMsInt);
    std::erase_if(tweenRegistry, [](const TweenItem& item) {
        item.var->value = item.tween->value;
        if (item.tween->active) return false;
        item.var->value = item.tween->linearEnd;
        return true;
    });
}

// --- Text ----------------------------------------------------------------------------------------

std::vector<std::string> Data::SplitLines(const std::string& text) {
    std::vector<std::string> parts;
    const std::string br = kBreak;
    size_t start = 0;
    for (size_t at = text.find(br); at != std::string::npos; at = text.find(br, start)) {
        parts.push_back(text.substr(start, at - start));
        start = at + br.size();
    }
    parts.push_back(text.substr(start));
    return parts;
}

namespace {

// Hands each part of the text between break codes to fn(line, blank), in order, while fn returns
// true. A blank line is an empty part with a break code on both sides (two break codes in a row,
// and each further one makes one more) or a part that is a single space: it is measured and
// drawn as tall as "A". Widgets measure and draw their texts every frame, so the line comes in
// one reused buffer instead of a fresh list of strings.
template <class Fn>
void ForEachLine(const std::string& text, Fn&& fn) {
    thread_local std::string line;
    const std::string_view br = Data::kBreak;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(br.data(), start, br.size());
        const size_t end = at == std::string::npos ? text.size() : at;
        line.assign(text, start, end - start);
        const bool blank = line == " " || (line.empty() && start > 0 && at != std::string::npos);
        if (!fn(static_cast<const std::string&>(line), blank) || at == std::string::npos) return;
        start = at + br.size();
    }
}

}  // namespace

std::string Data::ExTextSplit(const std::string& text, GlyphFont* font, int width) {
    enum class Sep { kNone, kSpace, kBreak };
    const std::string br = kBreak;

    std::vector<std::string> lines;
    std::string line;
    bool atLineStart = true;
    Sep before = Sep::kNone;  // what separated the coming word from the one before it
    bool endsWithBreak = false;

    size_t pos = 0;
    for (;;) {
        // The next word and the separator that ends it.
        size_t space = text.find(' ', pos);
        size_t hard = text.find(br, pos);
        size_t end = std::min(space, hard);
        Sep after = Sep::kNone;
        if (end == std::string::npos) {
            end = text.size();
        } else {
            after = end == hard ? Sep::kBreak : Sep::kSpace;
        }
        const std::string word = text.substr(pos, end - pos);

        std::string candidate = line;
        if (before == Sep::kSpace && !atLineStart) candidate += ' ';
        candidate += word;
        bool absorbed = false;
        if (TextWidthOf(font, candidate) <= width) {
            line = std::move(candidate);
            atLineStart = false;
        } else if (!line.empty()) {
            lines.push_back(line);
            line = word;
            atLineStart = false;
        } else {
            // Too wide even alone: it gets its own line, and the separator after it is spent on
            // that, so the next word starts afresh without an extra blank line.
            lines.push_back(word);
            line.clear();
            atLineStart = true;
            absorbed = true;
        }

        if (after == Sep::kNone) break;
        pos = end + (after == Sep::kBreak ? br.size() : 1);
        if (after == Sep::kBreak) {
            if (!absorbed) {
                lines.push_back(line);
                line.clear();
                atLineStart = true;
            }
            if (pos == text.size()) {
                endsWithBreak = true;
                break;
            }
        }
        before = absorbed ? Sep::kNone : after;
    }
    if (!line.empty()) lines.push_back(line);

    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) out += br;
        out += lines[i];
    }
    if (endsWithBreak) out += br;
    return out;
}

int Data::ExTextWidth(const std::string& text, GlyphFont* font) {
    int widest = 0;
    ForEachLine(text, [&](const std::string& line, bool) {
        widest = std::max(widest, TextWidthOf(font, line));
        return true;
    });
    return widest;
}

int Data::ExTextHeight(const std::string& text, GlyphFont* font) {
    int total = 0;
    ForEachLine(text, [&](const std::string& line, bool blank) {
        static const std::string kTallLetter = "A";
        total += TextHeightOf(font, blank ? kTallLetter : line);
        return true;
    });
    return total;
}

void Data::ExDrawText(int x, int y, const std::string& text, GlyphFont* font, int center, int width,
                      int count) {
    if (font == nullptr) return;
    ForEachLine(text, [&](const std::string& line, bool blank) {
        if (count <= 0) return false;
        if (blank) {
            y += font->TextHeight("A");
            count -= 1;
            return true;
        }
        const int lineX = center ? x + (width - font->TextWidth(line)) / 2 : x;
        const int length = static_cast<int>(line.size());
        if (count < length) {
            thread_local std::string shown;
            shown.assign(line, 0, static_cast<size_t>(count - 1));
            font->DrawText(shown, lineX, y);
            float r = 0, g = 0, b = 0;
            platform::GetColor(r, g, b);
            platform::SetColor(128, 128, 128);
            font->DrawText(line.substr(static_cast<size_t>(count - 1), 1), lineX + font->TextWidth(shown), y);
            platform::SetColor(r, g, b);
            return false;
        }
        font->DrawText(line, lineX, y);
        y += font->TextHeight(line);
        count -= length;
        return true;
    });
}

std::string Data::MingleWords(const std::string& text) {
    // Both words are drawn on every call, so the generator's sequence does not depend on the text.
    const int adjective = Draw(static_cast<int>(exclamationAdjectives.size()));
    const int noun = Draw(static_cast<int>(exclamationNouns.size()));
    std::string out = ReplaceAll(text, "$NAME$", Profile::GetFlagString("Name"));
    out = ReplaceAll(out, "$YEAR$", yearText);
    out = ReplaceAll(out, "$REALNAME$", Profile::GetFlagString("RealName"));
    const std::string exclamation = std::string(exclamationAdjectives[static_cast<size_t>(adjective)]) + " " +
                                    exclamationNouns[static_cast<size_t>(noun)];
    return ReplaceAll(out, "$EXCLAMATION$", exclamation);
}

int Data::HasProblem(const std::u32string& text) {
    for (char32_t c : text) {
        if (c > 256) return 1;
    }
    return 0;
}

std::u32string Data::Fix(const std::u32string& text, int i, const std::u32string& replacement) {
    const size_t at = static_cast<size_t>(std::clamp(i, 0, static_cast<int>(text.size())));
    std::u32string out = text.substr(0, at);
    out += replacement;
    if (at < text.size()) out += text.substr(at + 1);
    return out;
}

// One pass: what it cannot name is removed. A text with nothing left comes back empty (an empty
// name), never unchanged, so cleaning once is always enough.
std::u32string Data::FixString(const std::u32string& text) {
    std::u32string out;
    for (char32_t c : text) {
        if (c <= 256) {
            out += c;
            continue;
        }
        for (const CurrencyCode& currency : kCurrencyCodes) {
            if (currency.code == c) {
                out += currency.text;
                break;
            }
        }
    }
    return out;
}
