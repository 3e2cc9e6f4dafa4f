// The screens' start-up registration: the career popups' state, the check of the lines the base
// sells, and the floating number the action engine shows rewards with.
#include "screens/wiring.hpp"

#include "core/glyphfont.hpp"
#include "framework/main.hpp"
#include "model/actions.hpp"
#include "model/data2.hpp"
#include "screens/base.hpp"
#include "screens/level.hpp"
#include "screens/menu.hpp"

namespace {

void ShowActionNumber(const ActionNumber& number) {
    Menu::ShowNumber(number.x, number.y, number.text, Data::PaletteColour(number.paletteEntry),
                     static_cast<float>(number.angle), number.speed, number.fadeSpeed,
                     Fonts::Get(number.font), number.priority);
}

}  // namespace

void RegisterScreens() {
    gameHooks.initGlobals.Add(Level::InitGlobals);
    // After the upgrade table itself has loaded (the model's step in the same slot).
    gameHooks.loadTables.Add(TableStep::kUpgrades, Base::CheckLines);
    Actions::starters.showNumber = ShowActionNumber;
}
