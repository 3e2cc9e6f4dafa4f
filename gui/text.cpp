// Text widgets: measuring, wrapping, live values and drawing.
#include "gui/text.hpp"

#include <charconv>
#include <cstring>

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"

std::unique_ptr<GUIPool<GUIText>> GUIText::pool;

GUIText* GUIText::Create(float x, float y, const std::string& text, GlyphFont* font, int colour) {
    GUIText* t = pool->Get4(1);
    t->Init7(x, y, text, font, colour);
    return t;
}

void GUIText::Init7(float px, float py, const std::string& t, GlyphFont* f, int colour) {
    prefix.clear();
    suffix.clear();
    text.clear();
    font = nullptr;
    ex = 0;
    center = 0;
    var = nullptr;
    flagKey.clear();
    flagBound = 0;
    left = 1;
    w = h = 0;
    x = px;
    y = py;
    font = f;
    r = (colour >> 16) & 0xff;
    g = (colour >> 8) & 0xff;
    b = colour & 0xff;
    SetText(t);
    FadeIn(1.0f, 1);
}

void GUIText::SetText(const std::string& t) {
    const int oldW = w;
    text = t;
    if (font) {
        w = font->TextWidth(text);
        h = font->TextHeight(text);
    }
    if (left == 0) x += static_cast<float>(oldW - w);
}

void GUIText::SetWidth(int width) {
    text = Data::ExTextSplit(text, font, width);
    w = Data::ExTextWidth(text, font);
    h = Data::ExTextHeight(text, font);
    ex = 1;
}

void GUIText::SetPrefix(const std::string& p) {
    prefix = p;
    text = p;
}

void GUIText::SetSuffix(const std::string& s) {
    suffix = s;
}

void GUIText::SetFlag(const std::string& key) {
    var = nullptr;
    flagKey = key;
    flagBound = 1;
    text.clear();
}

void GUIText::SetVariable(FloatObject* v) {
    flagKey.clear();
    flagBound = 0;
    var = v;
    text.clear();
}

void GUIText::ShowLive(const char* middle, size_t length) {
    const size_t total = prefix.size() + length + suffix.size();
    if (text.size() == total && text.compare(0, prefix.size(), prefix) == 0 &&
        text.compare(prefix.size(), length, middle, length) == 0 &&
        text.compare(prefix.size() + length, suffix.size(), suffix) == 0) {
        return;
    }
    std::string candidate;
    candidate.reserve(total);
    candidate.append(prefix).append(middle, length).append(suffix);
    SetText(candidate);
}

int GUIText::Update2() {
    GUIItem::Update2();
    if (!active) return 0;
    if (var) {
        char digits[16];
        const auto result = std::to_chars(digits, digits + sizeof digits, TruncToInt(var->value));
        ShowLive(digits, static_cast<size_t>(result.ptr - digits));
    } else if (flagBound) {
        const FlagItem* flag = Profile::GetFlag(flagKey);
        // A flag not set yet reads as the empty text, like any missing flag.
        static const std::string kUnset;
        const std::string& shown = flag ? flag->FormattedString() : kUnset;
        ShowLive(shown.data(), shown.size());
    }
    return 0;
}

void GUIText::Render() {
    if (alpha.value < 1) platform::SetAlpha(alpha.value);
    if (font) {
        platform::SetColor(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b));
        if (ex) {
            Data::ExDrawText(TruncToInt(x), TruncToInt(y), text, font, center, w, 65535);
        } else {
            font->DrawText(text, TruncToInt(x), TruncToInt(y));
        }
        platform::SetColor(255, 255, 255);
    }
    platform::SetAlpha(1);
}
