// The falling-objects game on screen: the pair on the ground line, the signs, the panel.
#include "minigames/gamefalling_item.hpp"

#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/dialogue.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"

namespace {

float SignSize(const GameImage* signs, bool width) {
    if (!signs) return 128;
    return static_cast<float>(width ? signs->w : signs->h);
}

}  // namespace

GUIGameFalling::GUIGameFalling(ActionItemGameDistress* action)
    : GUIGameDistress(action, "Street"),
      signs(FindImage("Signs128x128")),
      rules(Difficulty(), Profile::GetFlagInt("Game.Clues") > 0, EngineRandom(),
            static_cast<float>(Data::virtualWidth), static_cast<float>(Data::virtualHeight), SignSize(signs, true),
            SignSize(signs, false)) {
    const int x0 = TruncToInt(Data::virtualWidth * 0.5);
    player = std::make_unique<DialogueActor>("hero", 1, "", 0, x0 - 16, 1, 0);
    victim = std::make_unique<DialogueActor>("lady", 0, "Characters08", 0, x0 + 16, 1, 0);
    rules.SetHeroBody(static_cast<float>(player->y), static_cast<float>(player->h));
    Begin();
}

GUIGameFalling::~GUIGameFalling() {
    GUIGameFalling::Clear2();
}

void GUIGameFalling::Clear2() {
    GUIItem::Clear2();
    if (player) player->Clear2();
    if (victim) victim->Clear2();
    player.reset();
    victim.reset();
}

void GUIGameFalling::UpdatePlay(const DistressInput& in) {
    rules.Update(in);
    // The pair follows the held mouse at once, not by sliding.
    if (rules.done == 0 && in.mouseHeld && player && victim) {
        Data::KillTweens(&player->x);
        Data::KillTweens(&victim->x);
        player->x.value = rules.heroX;
        victim->x.value = rules.ladyX;
    }
}

void GUIGameFalling::Cleanup() {
    rules.Cleanup();
    if (player) player->Move3(rules.heroX);
    if (victim) victim->Move3(rules.ladyX);
}

void GUIGameFalling::InitPopup() {
    AddTopText("");
}

void GUIGameFalling::PlayStep(const DistressInput& in) {
    rules.Play(in);
}

void GUIGameFalling::RotateGame() {
    rules.CheckRotate(static_cast<float>(Data::virtualWidth), static_cast<float>(Data::virtualHeight));
    if (player) player->CheckRotate();
    if (victim) victim->CheckRotate();
    if (player) rules.SetHeroBody(static_cast<float>(player->y), static_cast<float>(player->h));
}

void GUIGameFalling::RenderPlay() {
    if (victim) victim->Render(alpha.value);
    if (player) player->Render(alpha.value);
    if (!signs) return;
    platform::SetAlpha(alpha.value);
    const float s = FallingRules::kSignScale;
    const float w = static_cast<float>(signs->w);
    const float h = static_cast<float>(signs->h);
    for (const Sign& sign : rules.falling)
        signs->Draw2(sign.x - (s - 1) * w * 0.5f, sign.y - (s - 1) * h * 0.5f, 0, s, s, sign.frame);
}
