#pragma once
// Where the interludes (act card, intro cutscene, end game) lead: the city map, and the loading
// screen that readies the game before the map. Both screens are built by their own modules, which
// fill these from the start-up registration; an interlude whose successor is missing says so in
// one line and stays on its screen rather than ending the game.
#include <functional>
#include <memory>

class Screen;

struct InterludeExits {
    std::function<std::shared_ptr<Screen>()> map;
    std::function<std::shared_ptr<Screen>()> gameLoading;

    static InterludeExits exits;

    // Leaves for the map (false: none to leave for).
    static bool LeaveForMap(int fadeMs);
    static bool LeaveForGameLoading(int fadeMs);
};
