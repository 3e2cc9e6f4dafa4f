// The shield and freeze caption over a fighter's portrait.
#include "minigames/battleeffect.hpp"

#include <cmath>

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "gui/gui2.hpp"
#include "model/board.hpp"
#include "model/data2.hpp"
#include "platform/graphics.hpp"

std::unique_ptr<GUIPool<GUIBattleEffect>> GUIBattleEffect::pool;

GUIBattleEffect* GUIBattleEffect::Create(GUIItem* portraitItem, PuzzleActor* fighter) {
    GUIBattleEffect* caption = pool->Get4(1);
    caption->Init20(portraitItem, fighter);
    return caption;
}

void GUIBattleEffect::Init20(GUIItem* portraitItem, PuzzleActor* fighter) {
    portrait = portraitItem;
    actor = fighter;
    text.clear();
    font = Fonts::Get("on");
    r = g = b = 255;
    count = 0;
    tx = ty = 0;
    alpha.value = 1.0f;
}

void GUIBattleEffect::Clear2() {
    GUIItem::Clear2();
    portrait = nullptr;
    actor = nullptr;
    text.clear();
}

void GUIBattleEffect::UpdateText() {
    text.clear();
    if (actor == nullptr || portrait == nullptr) return;
    if (actor->protect > 0) text = "Shield up!";
    if (actor->freeze > 0) {
        if (!text.empty()) text += "\\n";
        text += "Frozen!";
    }
    w = font ? Data::ExTextWidth(text, font) : 0;
    h = font ? Data::ExTextHeight(text, font) : 0;
    tx = TruncToInt((portrait->w - w) * 0.5 + portrait->x);
    ty = TruncToInt((portrait->h - h) * 0.5 + portrait->y);
}

int GUIBattleEffect::Update2() {
    GUIItem::Update2();
    if (alpha.value == 0.0f || scale.value == 0.0f) {
        GUIList::Remove(this);
        return 0;
    }
    count += Data::frameMs;
    UpdateText();
    return 0;
}

void GUIBattleEffect::Render() {
    if (text.empty() || font == nullptr || portrait == nullptr) return;
    const double pulse = 0.5 + std::sin(count * 0.25 * 3.14159265358979 / 180.0) * 0.5;
    platform::SetAlpha(static_cast<float>(portrait->alpha.value * pulse));
    platform::SetColor(r, g, b);
    Data::ExDrawText(TruncToInt(x) + tx, TruncToInt(y) + ty, text, font, 1, w, 1 << 20);
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1.0f);
}
