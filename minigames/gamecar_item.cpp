// The car-dodging game on screen: the hero and the cars drawn where the rules put them.
#include "minigames/gamecar_item.hpp"

#include "framework/banks.hpp"
#include "gui/dialogue.hpp"
#include "gui/gui2.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"

namespace {

// Sizes stand in for a missing picture, so the hits still make sense.
float WidthOf(const GameImage* image, float fallback) {
    return image && image->w > 0 ? static_cast<float>(image->w) : fallback;
}

}  // namespace

GUIGameCar::GUIGameCar(ActionItemGameDistress* action)
    : GUIGameDistress(action, "Road"),
      cars{FindImage("MinigameCar"), FindImage("MinigameCar2"), FindImage("MinigameCar3")},
      player(FindImage("HeroSmall80x80")),
      playerIndex(Profile::GetFlagInt("CharacterIcon")),
      rules(Difficulty(), Profile::GetFlagInt("Game.Clues") > 0, EngineRandom(),
            static_cast<float>(Data::virtualWidth), static_cast<float>(Data::virtualHeight), WidthOf(player, 80),
            {WidthOf(cars[0], 64), WidthOf(cars[1], 64), WidthOf(cars[2], 64)}) {
    Begin();
}

void GUIGameCar::UpdatePlay(const DistressInput& in) {
    rules.Update(in);
}

void GUIGameCar::Cleanup() {
    GUIList::FadeOut("gamepopup", "");
}

void GUIGameCar::InitPopup() {
    AddTopText("");
}

void GUIGameCar::PlayStep(const DistressInput& in) {
    rules.Play(in);
}

void GUIGameCar::RotateGame() {
    rules.CheckRotate(static_cast<float>(Data::virtualWidth), static_cast<float>(Data::virtualHeight));
}

void GUIGameCar::RenderPlay() {
    if (!rules.done && player)
        player->Draw2(rules.px - static_cast<float>(player->w) * 0.5f, rules.py - static_cast<float>(player->h) * 0.5f,
                      0, 1, 1, playerIndex);
    for (const Driver& car : rules.objects) {
        GameImage* image = cars[static_cast<size_t>(car.img)];
        if (image) image->Draw2(car.x, car.y, -car.r, 1.5f, 1.5f, 0);
    }
}
