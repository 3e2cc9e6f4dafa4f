// A fired power's effect: the hit dealt at once, then its script played between the fighters.
#include "minigames/battlefx.hpp"

#include <algorithm>

#include "core/glyphfont.hpp"
#include "core/strings.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/dialogue.hpp"
#include "gui/gui2.hpp"
#include "gui/particledot.hpp"
#include "gui/text.hpp"
#include "minigames/battlerules.hpp"
#include "minigames/board.hpp"
#include "minigames/puzzlegame.hpp"
#include "model/board.hpp"
#include "model/data2.hpp"
#include "model/powers.hpp"
#include "model/profile.hpp"
#include "screens/menu.hpp"

namespace {

constexpr int kUnset = AnimationElement::unset;
constexpr int kWhite = 0xFFFFFF;

bool Tall() {
    return Data::virtualHeight > Data::virtualWidth;
}

}  // namespace

std::unique_ptr<GUIPool<GUIFX>> GUIFX::pool;

GUIFX* GUIFX::GUIFX_new(const Power& power, const std::shared_ptr<PuzzleActor>& first,
                        const std::shared_ptr<PuzzleActor>& second, int reverse) {
    GUIFX* fx = pool->Get4(1);
    fx->Fire(power, first, second, reverse);
    return fx;
}

void GUIFX::Fire(const Power& power, const std::shared_ptr<PuzzleActor>& first,
                 const std::shared_ptr<PuzzleActor>& second, int reversed) {
    // A pooled effect keeps what its last fight left: everything is set afresh.
    reverse = reversed;
    rot = 0;
    finished = 0;
    currentIndex = 0;
    removed = 0;
    objects.clear();
    id = "powerpopup";
    item = AnimationList::GetFX(power.fx);
    const int handicap = Profile::GetFlagInt("Game.Handicap");
    PuzzleActor& attacker = reverse ? *second : *first;
    PuzzleActor& target = reverse ? *first : *second;
    const BattleHit hit = BattleRules::Fire(power, attacker, target, reverse, handicap);
    effect = hit.effect;
    extra = hit.extra;
    damage = hit.damage;
    blocked = hit.blocked;
    if (extra > 0) BattleState::extraShown = 1;
    if (blocked > 0) BattleState::blockedShown = 1;
    target.health.value -= hit.loss;

    puzzleActors = {first, second};
    const int inset = Tall() ? 64 : 128;
    for (int side = 0; side < 2; ++side) {
        const PuzzleActor& fighter = *puzzleActors[static_cast<size_t>(side)];
        const bool hero = fighter.image == "hero";
        const std::string actorId = hero ? "hero" : side == 0 ? "left" : "right";
        const int x0 = side == 0 ? inset : Data::virtualWidth - inset;
        actors[static_cast<size_t>(side)].emplace(actorId, side == 0 ? 1 : 0, fighter.image, fighter.index, x0, 1,
                                                  0);
        homeX[static_cast<size_t>(side)] = static_cast<float>(x0);
    }
    InitFXMessage(power.id);
    wait = 500;
}

GUIFX::~GUIFX() {
    for (auto& actor : actors)
        if (actor) actor->Clear2();
}

void GUIFX::Clear2() {
    for (auto& actor : actors) {
        if (actor) actor->Clear2();
        actor.reset();
    }
    objects.clear();
    // The fighters are the battle's, not the pooled effect's.
    for (auto& fighter : puzzleActors) fighter.reset();
    GUIItem::Clear2();
}

void GUIFX::InitFXMessage(const std::string& text) {
    GUIText* message = CreateGameMessage(text, "dialogue");
    message->x = static_cast<float>((Data::virtualWidth - message->w) / 2);
    message->y = static_cast<float>(Data::virtualHeight * (Tall() ? 0.35 : 0.2));
    GUIList::Add(message, 2500);
    message->FadeOut(200, 80);
}

AnimationFXObject* GUIFX::getObject(const std::string& objectId) {
    for (const auto& o : objects)
        if (o->id == objectId) return o.get();
    return nullptr;
}

int GUIFX::ScreenSide(const std::string& pos) const {
    if (pos == "left") return reverse ? 1 : 0;
    if (pos == "right") return reverse ? 0 : 1;
    return -1;
}

void GUIFX::Anchor(int side, float& ax, float& ay) const {
    const DialogueActor& actor = *actors[static_cast<size_t>(side)];
    ax = actor.x.value;
    ay = static_cast<float>(actor.y) + static_cast<float>(actor.h) * 0.5f;
}

void GUIFX::Shift(int side, float dx) {
    float& home = homeX[static_cast<size_t>(side)];
    home += dx;
    actors[static_cast<size_t>(side)]->Move3(home);
}

void GUIFX::ShowText(int side, float dy, const std::string& text, int colour, float speed) {
    float ax = 0, ay = 0;
    Anchor(side, ax, ay);
    Menu::ShowNumber(TruncToInt(ax), TruncToInt(ay + dy), text, colour, 270, speed, 500, Fonts::Get("on"), 0);
}

int GUIFX::UpdateAction() {
    const float dt = Data::frameMs;
    rot += dt;
    if (wait > 0) {
        wait -= dt;
        return 0;
    }
    if (finished) {
        if (!removed) {
            removed = 1;
            GUIList::Remove(this);
        }
        return 0;
    }
    const int steps = item ? static_cast<int>(item->elements.size()) : 0;
    while (currentIndex < steps) {
        if (parseElement2(item->elements[static_cast<size_t>(currentIndex++)]) == 1) return 0;
    }
    wait = 500;
    for (auto& actor : actors) actor->DoExit();
    finished = 1;
    return 0;
}

int GUIFX::parseElement2(const AnimationElement& e) {
    const int attackerSide = reverse ? 1 : 0;
    const int targetSide = 1 - attackerSide;
    if (e.type == "effect") {
        if (!effect.empty()) ShowText(targetSide, -16, effect, 0xE0E8FF, 0.95f);
    } else if (e.type == "self") {
        if (!effect.empty()) ShowText(attackerSide, -8, effect, kWhite, 0.75f);
    } else if (e.type == "damage") {
        float v = e.percent * damage;
        if (v < 1 && damage > 0) v = 1;
        const float b = e.percent * blocked;
        const float x = e.percent * extra;
        if (b > 0) {
            if (v > 0) ShowText(targetSide, -8, std::to_string(TruncToInt(v)), kWhite, 0.75f);
            ShowText(targetSide, 16, "Blocked " + std::to_string(TruncToInt(b)), 0xC0C0C0, 0.65f);
        } else if (x > 0) {
            ShowText(targetSide, -8, std::to_string(TruncToInt(v)), kWhite, 0.75f);
            ShowText(targetSide, 16, std::to_string(TruncToInt(x)) + " extra!", kWhite, 0.65f);
        } else if (v > 0) {
            ShowText(targetSide, 0, std::to_string(TruncToInt(v)), kWhite, 0.75f);
        }
    } else if (e.type == "sound") {
        Audio::PlaySound(StringToInt(e.id), 1.0f);
    } else if (e.type == "fx") {
        float px = 0, py = 0;
        if (!e.item.empty()) {
            if (const AnimationFXObject* o = getObject(e.item)) {
                px = o->x.value;
                py = o->y.value;
            }
        } else if (const int side = ScreenSide(e.pos); side >= 0) {
            Anchor(side, px, py);
        }
        if (e.x != kUnset) px += reverse ? -static_cast<float>(e.x) : static_cast<float>(e.x);
        if (e.y != kUnset) py += static_cast<float>(e.y);
        if (e.id == "smallimpact" || e.id == "bigimpact") {
            Audio::PlaySound(0, 1.0f);
            GUIParticleDot::CreateExplosion(TruncToInt(px), TruncToInt(py), e.id == "bigimpact" ? 128 : 64,
                                            0xFFC0C0, 0xFF8080, nullptr);
        } else if (e.id == "sideimplosion") {
            Audio::PlaySound(11, 1.0f);
            GUIParticleDot::CreateExplosion(TruncToInt(px), TruncToInt(py), 140, 0xC0C0FF, 0x8080FF, nullptr);
        }
    } else if (e.type == "left") {
        if (e.x != kUnset && e.x != 0)
            Shift(attackerSide, attackerSide == 0 ? static_cast<float>(e.x) : -static_cast<float>(e.x));
    } else if (e.type == "right") {
        if (e.x != kUnset && e.x != 0)
            Shift(targetSide, targetSide == 1 ? static_cast<float>(e.x) : -static_cast<float>(e.x));
    } else if (e.type == "enter") {
        const int side = ScreenSide(e.pos);
        const float dx = e.x == kUnset ? 0.0f : static_cast<float>(e.x);
        const float dy = e.y == kUnset ? 0.0f : static_cast<float>(e.y);
        float px = dx, py = dy;
        if (side >= 0) {
            Anchor(side, px, py);
            px += side == 0 ? dx : -dx;
            py += dy;
        }
        auto o = AnimationFXObject::AnimationObject_new(e.id, TruncToInt(px), TruncToInt(py), e.image, e.index,
                                                         e.center, e.alpha, e.scale, e.color,
                                                         side >= 0 && reverse ? 1 : 0);
        o->additive = e.blend == "add" ? 1 : 0;
        objects.push_back(std::move(o));
    } else if (e.type == "move") {
        AnimationFXObject* o = getObject(e.id);
        if (o == nullptr) return 0;
        const int side = ScreenSide(e.pos);
        float tx = o->x.value, ty = o->y.value;
        if (side >= 0) Anchor(side, tx, ty);
        if (e.x != kUnset) tx += static_cast<float>(e.x);
        if (e.y != kUnset) ty += static_cast<float>(e.y);
        int d = e.time == kUnset ? 0 : e.time;
        if (Tall()) d = TruncToInt(d * 0.75);
        if (tx != o->x.value) o->SetXValue(tx, d);
        if (ty != o->y.value) o->SetYValue(ty, d);
        if (e.alpha != kUnset) o->SetAlphaValue(e.alpha, d);
        if (e.scale != kUnset) o->SetScaleValue(e.scale, d);
        if (e.color != kUnset) o->SetColorValue(e.color, d);
        if (e.special == "rotate") o->rotate = 1;
    } else if (e.type == "wait") {
        wait = static_cast<float>(e.time == kUnset ? 0 : e.time);
        if (Tall()) wait *= 0.75f;
        return 1;
    } else if (e.type == "exit") {
        objects.erase(std::remove_if(objects.begin(), objects.end(), [&e](const auto& o) { return o->id == e.id; }),
                      objects.end());
    }
    return 0;
}

void GUIFX::Render() {
    actors[1]->Render(1.0f);
    actors[0]->Render(1.0f);
    for (const auto& o : objects) o->Render3(rot);
}
