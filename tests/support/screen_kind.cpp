// The kind of screen on show, told by the GUI items on the map.
#include "tests/support/screen_kind.hpp"

#include "framework/framework.hpp"
#include "gui/button.hpp"
#include "gui/container.hpp"
#include "gui/gui2.hpp"
#include "minigames/dungeon.hpp"
#include "minigames/gamecar_item.hpp"
#include "minigames/gamefalling_item.hpp"
#include "minigames/gamesearch_item.hpp"
#include "minigames/gametree_item.hpp"
#include "minigames/puzzlebattle.hpp"
#include "minigames/puzzlejob.hpp"
#include "minigames/puzzletraining.hpp"
#include "screens/base.hpp"

namespace harness {

namespace {

// Whether the item or anything inside it (containers hold their children) satisfies `is`.
template <typename Is>
bool Holds(GUIItem* item, const Is& is) {
    if (item == nullptr || item->removing) return false;
    if (is(item)) return true;
    if (auto* c = dynamic_cast<GUIContainer*>(item)) {
        for (int i = 0; i < c->items.Size(); ++i)
            if (Holds(c->items.Get2(i), is)) return true;
    }
    return false;
}

template <typename Is>
bool InList(const GUIItemList* list, const Is& is) {
    for (int i = 0; list != nullptr && i < list->Size(); ++i)
        if (Holds(list->Get2(i), is)) return true;
    return false;
}

// On screen, or in a list set aside under a message or popup that the game opened over itself.
template <typename Is>
bool Shown(const Is& is) {
    if (InList(GUIList::currentList.get(), is)) return true;
    for (const auto& layer : GUIList::layers)
        if (InList(layer.get(), is)) return true;
    return false;
}

template <typename T>
bool ShownAs() {
    return Shown([](GUIItem* item) { return dynamic_cast<T*>(item) != nullptr; });
}

}  // namespace

std::string ScreenKind() {
    if (!briskGame || !briskGame->currentScreen) return "";
    const std::string& screen = briskGame->currentScreen->name;
    if (screen != "Map") return screen;
    if (ShownAs<GUIPuzzleBattle>()) return "Battle";
    if (ShownAs<GUIPuzzleJob>()) return "Job";
    if (ShownAs<GUIPuzzleTraining>()) return "Training";
    if (ShownAs<GUIGameCar>()) return "Car";
    if (ShownAs<GUIGameFalling>()) return "Falling";
    if (ShownAs<GUIGameSearch>()) return "Search";
    if (ShownAs<GUIGameTree>()) return "Tree";
    if (ShownAs<GUIGameDungeon>()) return "Dungeon";
    if (Shown([](GUIItem* item) { return item->id == "option"; })) return "Power-ups";
    if (Shown([](GUIItem* item) {
            auto* button = dynamic_cast<GUIPressable*>(item);
            return button && button->callback == &Base::baseCallback;
        }))
        return "Base";
    return screen;
}

const std::vector<std::string>& StoryKinds() {
    static const std::vector<std::string> kinds = {"Title",  "Cutscene", "Act",    "Map",     "Job",
                                                   "Training", "Power-ups", "Base", "Battle",  "Car",
                                                   "Falling", "Search",   "Tree",   "Dungeon", "Endgame"};
    return kinds;
}

}  // namespace harness
