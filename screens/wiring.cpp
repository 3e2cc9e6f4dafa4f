// The screens' start-up registration: the first screen (the splash row), the loading screen the
// interludes lead to, the title's and the character popups' state, the career popups' state, the
// check of the lines the base sells, the floating number the action engine shows rewards with, and
// the city map: its module values and walker pools, the way back to it from the interludes, and
// what story actions ask of it (fading it out under a full-screen game, pointing arrows at its
// items).
#include "screens/wiring.hpp"

#include <memory>

#include "core/glyphfont.hpp"
#include "framework/main.hpp"
#include "gui/arrow.hpp"
#include "gui/gui2.hpp"
#include "model/actions.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "screens/base.hpp"
#include "screens/character.hpp"
#include "screens/interlude.hpp"
#include "screens/level.hpp"
#include "screens/loader.hpp"
#include "screens/loadscreen.hpp"
#include "screens/map.hpp"
#include "screens/menu.hpp"
#include "screens/options.hpp"
#include "screens/splash.hpp"
#include "screens/title.hpp"
#include "screens/walkers.hpp"

namespace {

void ShowActionNumber(const ActionNumber& number) {
    Menu::ShowNumber(number.x, number.y, number.text, Data::PaletteColour(number.paletteEntry),
                     static_cast<float>(number.angle), number.speed, number.fadeSpeed,
                     Fonts::Get(number.font), number.priority);
}

// An arrow action: "add" points a new arrow at the named item (replacing an earlier arrow of the
// same key), at once or as soon as the map shows the item; otherwise that arrow fades out.
// The story's arrow at a place on the map is also kept in the hero's slot until the story takes it
// back, so that the map can raise it again whenever something took it away before the hero got
// there (a menu button, a game, a restart).
void ShowArrow(ActionItemArrow& action) {
    const std::string key = action.guiID + "." + action.guiName;
    if (action.map == 1 && action.guiID == "location") Profile::SetFlagInt(MapScreen::PointerKey(action.guiName), action.add);
    if (action.add == 1) {
        if (GUIItem* old = GUIList::Get("arrow", key)) GUIList::Remove(old);
        auto arrow = std::make_shared<GUIArrow>(nullptr, "arrow", key, action.map);
        arrow->PointAt(action.guiID, action.guiName);
        GUIList::Add(std::move(arrow), 1500);
    } else {
        GUIList::FadeOut("arrow", key);
    }
}

void InitScreenGlobals() {
    InitMapGlobals();
    InitWalkerGlobals();
}

}  // namespace

void RegisterScreens() {
    gameHooks.releaseGlobals.Add(ReleaseWalkerGlobals);
    gameHooks.initGlobals.Add(Level::InitGlobals);
    gameHooks.initGlobals.Add(InitScreenGlobals);
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
    Actions::starters.fadeOutMap = MapScreen::FadeOutMap;
    Actions::starters.arrow = ShowArrow;
    InterludeExits::exits.map = [] { return std::static_pointer_cast<Screen>(MapScreen::MapScreen_new()); };
    MapScreen::links.title = [] { return std::static_pointer_cast<Screen>(TitleScreen::TitleScreen_new()); };
    MapScreen::links.options = Options::InitOptions;
}
