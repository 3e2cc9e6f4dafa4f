// Game text: the two-character line break, laying text out in lines of a width and drawing it
// (typed out letter by letter), names put into dialogue, and typed names cleaned.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"
#include "platform/random.hpp"

namespace {

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

}  // namespace

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

    // The lines go straight into the result, so wrapping a short caption (a power's name over a
    // fight) makes no list of lines on the heap.
    std::string out;
    size_t lineCount = 0;
    auto addLine = [&](const std::string& finished) {
        if (lineCount++ > 0) out += br;
        out += finished;
    };
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
            addLine(line);
            line = word;
            atLineStart = false;
        } else {
            // Too wide even alone: it gets its own line, and the separator after it is spent on
            // that, so the next word starts afresh without an extra blank line.
            addLine(word);
            line.clear();
            atLineStart = true;
            absorbed = true;
        }

        if (after == Sep::kNone) break;
        pos = end + (after == Sep::kBreak ? br.size() : 1);
        if (after == Sep::kBreak) {
            if (!absorbed) {
                addLine(line);
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
    if (!line.empty()) addLine(line);

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
