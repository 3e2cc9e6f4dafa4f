// Health bars: following the owner's number and drawing the cut bar.
#include "gui/meterhealth.hpp"

#include <algorithm>

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/text.hpp"
#include "model/data2.hpp"
#include "platform/graphics.hpp"

namespace {
// Width of the full bar inside the picture.
constexpr float kBarWidth = 168;
}  // namespace

std::unique_ptr<GUIPool<GUIMeterHealth>> GUIMeterHealth::pool;

GUIMeterHealth* GUIMeterHealth::Create(float x, float y, FloatObject* var, int max,
                                       const std::string& imageName) {
    GUIMeterHealth* m = pool->Get4(1);
    m->Init19(x, y, var, max, imageName);
    return m;
}

void GUIMeterHealth::FreeText() {
    if (text == nullptr) return;
    text->Clear2();
    text = nullptr;
}

void GUIMeterHealth::Init19(float px, float py, FloatObject* v, int maximum, const std::string& imageName) {
    FreeText();
    x = px;
    y = py;
    img = briskGame->images->Find(imageName);
    w = img ? img->w : 0;
    h = img ? img->h : 0;
    var = v;
    set = var ? TruncToInt(var->value) : 0;
    text = GUIText::Create(0, 0, std::to_string(set), Fonts::Get("os"), 0xffffff);
    Data::KillTweens(&text->alpha);
    text->alpha.value = 1.0f;
    max = maximum;
    FadeIn(1.0f, 1);
}

void GUIMeterHealth::Clear2() {
    GUIItem::Clear2();
    FreeText();
    var = nullptr;
    prefix.clear();
}

int GUIMeterHealth::Update2() {
    GUIItem::Update2();
    if (!active || var == nullptr) return 0;
    const int b = TruncToInt(var->value);
    if (b != set) {
        set = b;
        if (text) text->SetText(prefix + std::to_string(b));
    }
    return 0;
}

void GUIMeterHealth::Render() {
    if (img == nullptr) return;
    platform::SetAlpha(alpha.value);
    img->Draw2(x, y, 0, 1, 1, 1);
    // A bar without a maximum (an opponent with no health to lose, a job that pays no bonus)
    // shows full rather than dividing by it; a number past either end stops at the bar's ends.
    const float value = var ? var->value : 0.0f;
    const float share = max > 0 ? std::clamp(value / static_cast<float>(max), 0.0f, 1.0f) : 1.0f;
    const int cut = TruncToInt(share * kBarWidth);
    if (cut > 0) {
        img->DrawSubImage(x, y, 0, 0, static_cast<float>(cut), static_cast<float>(h), 0, 1, 1, 0);
    }
    if (text) {
        text->x = x + static_cast<float>((w - text->w) / 2);
        text->y = y + static_cast<float>((h - text->h) / 2) - 4;
        text->alpha.value = alpha.value;
        text->Render();
    }
    platform::SetAlpha(1);
}
