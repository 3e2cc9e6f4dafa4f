// The crowd-search game on screen: the walkers drawn where the rules put them, the countdown and
// the scornful words of a wrong pick.
#include "minigames/gamesearch_item.hpp"

#include <string>

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "gui/dialogue.hpp"
#include "gui/gui2.hpp"
#include "gui/text.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"
#include "screens/menu.hpp"

namespace {

// The word's colour: entry 4 of the text palette.
constexpr int kWordEntry = 4;

}  // namespace

GUIGameSearch::GUIGameSearch(ActionItemGameDistress* action)
    : GUIGameDistress(action, "Square"),
      looks{FindImage("Citizen01"), FindImage("Citizen02"), FindImage("Citizen03"), FindImage("Citizen04"),
            FindImage("Citizen05")},
      rules(Difficulty(), Profile::GetFlagInt("Game.Clues") > 0, EngineRandom(),
            static_cast<float>(Data::virtualWidth), static_cast<float>(Data::virtualHeight)) {
    Begin();
}

void GUIGameSearch::UpdatePlay(const DistressInput& in) {
    rules.clock.shown = timer != nullptr;
    rules.Update(in);
    ShowCountdown(timer, rules.clock);
}

void GUIGameSearch::InitPopup() {
    timer = AddTopText(Countdown::kStartText);
}

void GUIGameSearch::PlayStep(const DistressInput& in) {
    rules.Play(in);
    if (!rules.done) return;
    GUIList::FadeOut("gamepopup", "");
    timer = nullptr;
    wait = 500;
}

void GUIGameSearch::OnEvent(const DistressEvent& event) {
    if (event.kind != DistressEvent::kWord) return;
    Menu::ShowNumber(static_cast<int>(event.x), static_cast<int>(event.y),
                     SearchRules::kWords[static_cast<size_t>(event.value)], Data::PaletteColour(kWordEntry), 270,
                     0.75f, 1500, Fonts::Get("os"), 0);
}

void GUIGameSearch::RotateGame() {
    rules.CheckRotate(static_cast<float>(Data::virtualWidth), static_cast<float>(Data::virtualHeight));
    if (timer) CentreTop(timer);
}

void GUIGameSearch::RenderPlay() {
    for (const Person& person : rules.persons) {
        GameImage* look = looks[static_cast<size_t>(person.image - 1)];
        if (!look || person.alpha <= 0) continue;
        platform::SetAlpha(alpha.value * person.alpha);
        const float s = person.Scale();
        look->Draw2(person.xpos, person.ypos, 0, s, s, person.Frame());
    }
    platform::SetAlpha(alpha.value);
}
