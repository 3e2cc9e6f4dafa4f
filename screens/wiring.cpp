// The screens' start-up registration: the first screen, the loading screen the interludes lead to,
// the career popups' state, the check of the lines the base sells, and the floating number the
// action engine shows rewards with.
#include "screens/wiring.hpp"

#include "core/glyphfont.hpp"
#include "framework/main.hpp"
#include "model/actions.hpp"
#include "model/data2.hpp"
#include "screens/base.hpp"
#include "screens/character.hpp"
#include "screens/interlude.hpp"
#include "screens/level.hpp"
#include "screens/loader.hpp"
#include "screens/loadscreen.hpp"
#include "screens/menu.hpp"
#include "screens/options.hpp"
#include "screens/splash.hpp"
#include "screens/title.hpp"

namespace {

void ShowActionNumber(const ActionNumber& number) {
    Menu::ShowNumber(number.x, number.y, number.text, Data::PaletteColour(number.paletteEntry),
                     static_cast<float>(number.angle), number.speed, number.fadeSpeed,
                     Fonts::Get(number.font), number.priority);
}

}  // namespace

void RegisterScreens() {
    gameHooks.initGlobals.Add(Level::InitGlobals);
    gameHooks.initGlobals.Add(SplashScreen::InitGlobals);
    gameHooks.initGlobals.Add(Loader::InitGlobals);
    gameHooks.initGlobals.Add(TitleScreen::InitGlobals);
    gameHooks.initGlobals.Add(CharacterCreation::InitGlobals);
    gameHooks.initGlobals.Add(Options::InitGlobals);
    // The game opens on the splash row, which leads through the loading screen to the title.
    gameHooks.firstScreen.Add([] { SplashScreen::SplashScreen_new()->PreStart(); });
    InterludeExits::exits.gameLoading = [] { return LoadScreen::LoadScreen_new("game"); };
    // After the upgrade table itself has loaded (the model's step in the same slot).
    gameHooks.loadTables.Add(TableStep::kUpgrades, Base::CheckLines);
    Actions::starters.showNumber = ShowActionNumber;
}
