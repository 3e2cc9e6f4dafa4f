// The successors of the interlude screens.
#include "screens/interlude.hpp"

#include "framework/screen.hpp"
#include "model/data2.hpp"
#include "platform/app.hpp"

InterludeExits InterludeExits::exits;

namespace {

bool Leave(const std::function<std::shared_ptr<Screen>()>& make, const char* what, int fadeMs) {
    if (!make) {
        platform::PrintLine(std::string("No ") + what + " in this build to go on to");
        return false;
    }
    Data::ExitScreen(make(), fadeMs);
    return true;
}

}  // namespace

bool InterludeExits::LeaveForMap(int fadeMs) {
    return Leave(exits.map, "city map", fadeMs);
}

bool InterludeExits::LeaveForGameLoading(int fadeMs) {
    return Leave(exits.gameLoading, "game loading screen", fadeMs);
}
