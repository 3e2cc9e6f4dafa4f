// Globe meters: following a value and drawing the liquid.
#include "gui/meterglobe.hpp"

#include <algorithm>

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/text.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"

namespace {
// The liquid spans 68 pixels of the globe's height; the rest is glass below and above it.
constexpr float kLiquidSpan = 68;
}  // namespace

std::unique_ptr<GUIPool<GUIMeterGlobe>> GUIMeterGlobe::pool;

GUIMeterGlobe* GUIMeterGlobe::Create(float x, float y, int index, const std::string& key, int max) {
    GUIMeterGlobe* m = pool->Get4(1);
    m->Init18(x, y, index, key, max);
    return m;
}

void GUIMeterGlobe::FreeText() {
    if (text == nullptr) return;
    text->Clear2();
    text = nullptr;
}

void GUIMeterGlobe::Init18(float px, float py, int frame, const std::string& key, int maximum) {
    FreeText();
    Data::KillTweens(&var);
    suffix.clear();
    x = px;
    y = py;
    index = frame;
    img = briskGame->images->Find("Meters1");
    w = img ? img->w : 0;
    h = img ? img->h : 0;
    max = maximum;
    flag = key;
    if (key.empty()) {
        var.value = static_cast<float>(max);
        set = static_cast<float>(max);
    } else {
        set = 0;
        var.value = static_cast<float>(Profile::GetFlagInt(key));
    }
    destVar = TruncToInt(var.value);
    shownValue = destVar;
    FadeIn(1.0f, 1);
}

void GUIMeterGlobe::Clear2() {
    GUIItem::Clear2();
    Data::KillTweens(&var);
    FreeText();
}

void GUIMeterGlobe::SetValue(float v) {
    set = v;
}

void GUIMeterGlobe::SetText(const std::string& s) {
    FreeText();
    suffix = s;
    text = GUIText::Create(0, 0, "100", Fonts::Get("os"), 0xffffff);
    Data::KillTweens(&text->alpha);
    text->alpha.value = 1.0f;
    shownValue = TruncToInt(var.value);
    text->SetText(std::to_string(shownValue) + suffix);
}

int GUIMeterGlobe::Update2() {
    GUIItem::Update2();
    if (!active) return 0;
    int a = flag.empty() ? TruncToInt(set) : Profile::GetFlagInt(flag);
    a = std::clamp(a, 0, std::max(max, 0));
    if (a != destVar) {
        destVar = a;
        Data::KillTweens(&var);
        Data::AddTween(&var, 250, var.value, static_cast<float>(a));
    }
    return 0;
}

void GUIMeterGlobe::Render() {
    if (img == nullptr) return;
    platform::SetAlpha(alpha.value);
    img->Draw2(x, y, 0, 1, 1, index);
    // A globe without a maximum (a job that sets no target) shows full rather than dividing by it.
    const float share = max > 0 ? std::clamp(var.value / static_cast<float>(max), 0.0f, 1.0f) : 1.0f;
    const float glass = static_cast<float>(h) - kLiquidSpan;
    float c = share * kLiquidSpan;
    if (c > 0) c += glass * 0.25f;
    const float f = std::clamp(c + glass * 0.5f, 0.0f, static_cast<float>(h));
    const int top = TruncToInt(static_cast<float>(h) - f);
    img->DrawSubImage(x, y + static_cast<float>(h) - f, 0, static_cast<float>(top), static_cast<float>(w),
                      static_cast<float>(TruncToInt(f)), 0, 1, 1, index + 3);
    if (text) {
        const int value = TruncToInt(var.value);
        if (value != shownValue) {
            shownValue = value;
            text->SetText(std::to_string(value) + suffix);
        }
        text->x = x + static_cast<float>((w - text->w) / 2);
        text->y = y + static_cast<float>((h - text->h) / 2);
        text->alpha.value = alpha.value;
        text->Render();
    }
    platform::SetAlpha(1);
}
