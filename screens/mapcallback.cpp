// What the map's buttons and walkers do when clicked: the corner's three buttons, a trip to a
// place, a burglar or a distress call, and the answer to the dungeon offer.
#include <memory>

#include "gui/gui2.hpp"
#include "model/actions.hpp"
#include "model/data2.hpp"
#include "model/nodes.hpp"
#include "model/profile.hpp"
#include "model/quests.hpp"
#include "platform/app.hpp"
#include "screens/map.hpp"
#include "screens/menu.hpp"
#include "screens/walkers.hpp"

int MapCallback::Call(GUIItem* sender) {
    if (sender == nullptr) return 0;
    const std::string& id = sender->id;
    if (id == "profile") {
        if (sender->name == "menu") {
            Data::backPressed = 1;
        } else if (sender->name == "settings") {
            if (MapScreen::links.options) {
                MapScreen::links.options();
            } else {
                platform::PrintLine("No options popup in this build");
            }
        } else {
            Menu::ShowCharacterInfo();
        }
    } else if (id == "location") {
        LocationCallback(sender);
    } else if (id == "burglar") {
        if (auto* burglar = dynamic_cast<GUIBurglar*>(sender)) GoToCallback(burglar->destination, "burglar");
    } else if (id == "distress") {
        if (auto* distress = dynamic_cast<GUIDistress*>(sender)) GoToCallback(distress->destination, "distress");
    } else if (id == "dungeon") {
        GUIList::FadeOut("arrow", "dungeon");
        GUIList::FadeOut("popup", "");
        GUIList::Resume();
        Profile::SetFlagString("ArriveAt", "");
        if (sender->name == "ok" && Quests::currentDungeon != nullptr) {
            if (Actions::starters.dungeon) {
                Actions::starters.dungeon(*Quests::currentDungeon);
            } else {
                platform::PrintLine("No dungeon game in this build");
            }
        }
    }
    return 0;
}

void MapCallback::LocationCallback(GUIItem* sender) {
    Travel(sender->data, sender->name, 1);
}

void MapCallback::GoToCallback(int node, const std::string& name) {
    Travel(node, name, 0);
}

void MapCallback::Travel(int node, const std::string& name, int byLocation) {
    if (mapScreen == nullptr) return;
    MapScreen& map = *mapScreen;
    const auto path = Nodes::GetPath(map.currentNode, node);
    // No street leads there: no trip, so the last place is not arrived at a second time.
    if (path.IsEmpty()) {
        platform::PrintLine("No street leads to node " + std::to_string(node));
        return;
    }
    // The hero sets off: he stands at no place and has arrived nowhere until the trip ends, so
    // nothing the data offers for the place left behind (its menu, an arrival there) follows him
    // down the street.
    Actions::LeavePlace();
    Profile::SetFlagString("Location", "");
    Profile::SetFlagString("ArriveAt", "");
    map.coordList.Clear2();
    const int last = path.Size() - 1;
    for (int i = 0; i <= last; ++i) {
        map.coordList.Add(Coordinate(path.Get2(i)->value, i == last ? name : std::string()));
    }
    map.destinationLocation = byLocation;
    if (map.status != "moving") map.status = "move";
}
