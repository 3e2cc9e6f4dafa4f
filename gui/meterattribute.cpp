// Attribute meters: counting, level sounds, text layout and drawing.
#include "gui/meterattribute.hpp"

#include <algorithm>
#include <string>

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/gui2.hpp"
#include "gui/text.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"
#include "platform/random.hpp"

namespace {
constexpr int kLevelUpSound = 26;    // "Rotate"
constexpr int kLevelDownSound = 16;  // "GameLose"
constexpr int kCountSound = 32;      // "Count"

// A text the meter draws itself: taken from the text pool without the usual fade-in.
GUIText* MeterText(const std::string& t, const char* fontId, int colour) {
    GUIText* text = GUIText::Create(0, 0, t, Fonts::Get(fontId), colour);
    Data::KillTweens(&text->alpha);
    text->alpha.value = 1.0f;
    return text;
}

void Free(GUIText*& t) {
    if (t == nullptr) return;
    t->Clear2();
    t = nullptr;
}

}  // namespace

std::unique_ptr<GUIPool<GUIMeterAttribute>> GUIMeterAttribute::pool;

GUIMeterAttribute* GUIMeterAttribute::Create(float x, float y, int colour, const std::string& key, int add,
                                             int small) {
    GUIMeterAttribute* m = pool->Get4(1);
    m->Init12(x, y, colour, key, add, small);
    return m;
}

void GUIMeterAttribute::FreeTexts() {
    Free(attribute);
    Free(text);
    Free(textShadow);
    Free(level);
}

void GUIMeterAttribute::Init12(float px, float py, int colour, const std::string& key, int add, int isSmall) {
    FreeTexts();
    Data::KillTweens(&var);
    x = px;
    y = py;
    soundCount = 0;
    small = isSmall;
    w = small ? 76 : 96;
    h = small ? 16 : 24;
    r = TruncToInt(((colour >> 16) & 0xff) * 0.75);
    g = TruncToInt(((colour >> 8) & 0xff) * 0.75);
    b = TruncToInt((colour & 0xff) * 0.75);
    wait = 250;
    oldLevel = -1;
    const FlagItem* flag = Profile::GetFlag(key, 0);
    var.value = static_cast<float>(flag ? flag->GetInt() : 0);
    destVar = TruncToInt(static_cast<double>(var.value) + add);
    const size_t dot = key.find('.');
    const std::string label = (dot == std::string::npos ? key : key.substr(dot + 1)) + ":";
    attribute = MeterText(label, small ? "oxs" : "os", colour);
    // White and outlined, standing on a black ring of its own letters (the shadow): the light fills
    // of the sheets (the greens, blues and pinks) would carry plain white at hardly 2:1.
    text = MeterText("0", "oxs", 0xffffff);
    textShadow = MeterText("0", "oxs", 0);
    level = small ? MeterText("Lvl 1", "s", 0) : MeterText("Lvl 1", "os", 0xffffff);
    shownProgress = shownNeeded = shownLevel = -1;
    FadeIn(1.0f, 1);
}

void GUIMeterAttribute::Clear2() {
    GUIItem::Clear2();
    Data::KillTweens(&var);
    FreeTexts();
}

GUIMeterAttribute::Standing GUIMeterAttribute::Measure() const {
    const int L = std::clamp(Data::GetLevel(TruncToInt(var.value)), 0, Data::kTopLevel);
    const int low = Data::levelTable[static_cast<size_t>(L)];
    const int high = Data::levelTable[static_cast<size_t>(L) + 1];
    const int progress = std::max(0, TruncToInt(static_cast<double>(var.value) - low));
    const int needed = std::max(1, high - low);
    return {L, progress, needed};
}

void GUIMeterAttribute::UpdateText() {
    const Standing s = Measure();
    if (oldLevel == -1) {
        oldLevel = s.level;
    } else if (s.level > oldLevel) {
        Audio::PlaySound(kLevelUpSound, 1.0f);
        oldLevel = s.level;
    } else if (s.level < oldLevel) {
        Audio::PlaySound(kLevelDownSound, 1.0f);
        oldLevel = s.level;
    }

    // However many meters count at once, the tick sounds once a frame.
    if (var.value < static_cast<float>(destVar) && !GUIList::meterTickDone) {
        GUIList::meterTickDone = 1;
        soundCount -= Data::frameMs;
        if (!(soundCount > 0)) {
            Audio::PlaySound(kCountSound, 1.0f);
            soundCount = platform::Rnd(50.0f, 75.0f);
        }
    }

    if (attribute == nullptr) return;
    if (s.progress != shownProgress || s.needed != shownNeeded) {
        shownProgress = s.progress;
        shownNeeded = s.needed;
        const std::string t = std::to_string(s.progress) + "/" + std::to_string(s.needed);
        text->SetText(t);
        textShadow->SetText(t);
    }
    if (s.level != shownLevel) {
        shownLevel = s.level;
        level->SetText("Lvl " + std::to_string(s.level));
    }
    const float fw = static_cast<float>(w), fh = static_cast<float>(h);
    attribute->x = x - static_cast<float>(attribute->w) - 8;
    attribute->y = y + (fh - static_cast<float>(attribute->h)) * 0.5f;
    text->x = x + (fw - static_cast<float>(text->w)) * 0.5f;
    text->y = y + (fh - static_cast<float>(text->h)) * 0.5f;
    textShadow->x = text->x;
    textShadow->y = text->y;
    level->x = x + fw + 8;
    level->y = y + (fh - static_cast<float>(level->h)) * 0.5f;
}

int GUIMeterAttribute::Update2() {
    GUIItem::Update2();
    UpdateText();
    if (active && wait > 0) {
        wait -= Data::frameMs;
        if (!(wait > 0)) {
            wait = 0;
            Data::AddTween(&var, 1000, var.value, static_cast<float>(destVar));
        }
    }
    return 0;
}

void GUIMeterAttribute::Render() {
    const float a = alpha.value;
    platform::SetAlpha(a);
    const Standing s = Measure();
    const float fw = static_cast<float>(w), fh = static_cast<float>(h);
    platform::SetColor(0, 0, 0);
    platform::DrawRect(x, y, fw, fh);
    platform::SetColor(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b));
    const float share = std::min(1.0f, static_cast<float>(s.progress) / static_cast<float>(s.needed));
    platform::DrawRect(x + 2, y + 2, 2 + share * (fw - 5), fh - 4);
    platform::SetColor(255, 255, 255);
    for (GUIText* t : {attribute, textShadow, text, level}) {
        if (t == nullptr) continue;
        t->alpha.value = a;
        if (t == textShadow)
            RenderShadowRing(x + 2 + 2 + share * (fw - 5));
        else
            t->Render();
    }
    platform::SetAlpha(1);
}

void GUIMeterAttribute::RenderShadowRing(float fillRight) {
    if (textShadow->font == nullptr) return;
    // The shadow's letters a pixel off in each of the eight directions: under the number they make a
    // black ring two pixels wide round every stroke. It shows only on the fill (the track is black
    // already), and keeps inside the bar.
    const int sx = TruncToInt(textShadow->x), sy = TruncToInt(textShadow->y);
    if (fillRight <= static_cast<float>(sx - 1)) return;
    const float bottom = y + static_cast<float>(h);
    platform::SetAlpha(textShadow->alpha.value);
    platform::SetColor(0, 0, 0);
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (dx != 0 || dy != 0)
                textShadow->font->DrawTextIn(textShadow->text, sx + dx, sy + dy, x, y, fillRight, bottom);
        }
    }
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1);
}
