// Finding a band of the screen clear of menu buttons, place names and the hero's icon.
#include "gui/clearance.hpp"

#include <cmath>
#include <utility>

#include "gui/gui2.hpp"
#include "gui/textbutton.hpp"
#include "model/data2.hpp"

namespace {

constexpr float kAir = 8;

// The rows (top, bottom) that the item keeps for itself between the columns left..right, if any.
// A place keeps only its name: its picture is the map itself, which an announcement may cross.
bool Taken(const GUIItem* item, float left, float right, std::pair<float, float>& rows) {
    if (item->removing || item->fadeWait > 0) return false;
    float x = item->x + static_cast<float>(item->xadd);
    float y = item->y + static_cast<float>(item->yadd);
    float w = static_cast<float>(item->w), h = static_cast<float>(item->h);
    if (item->id == "location") {
        const auto* place = dynamic_cast<const GUITextButton*>(item);
        if (place == nullptr || place->font == nullptr || place->text.empty()) return false;
        x += static_cast<float>(place->tx);
        y += static_cast<float>(place->ty);
        w = static_cast<float>(place->tw);
        h = static_cast<float>(Data::ExTextHeight(place->text, place->font));
    } else if (item->id != "button" && item->id != "player") {
        return false;
    }
    if (x >= right + kAir || x + w <= left - kAir) return false;
    rows = {y - kAir, y + h + kAir};
    return true;
}

// Calls `use` with the rows of every item that keeps some, on screen or about to be.
template <typename Use>
void ForEachTaken(float left, float right, Use&& use) {
    std::pair<float, float> rows;
    for (const GUIItem* item : *GUIList::currentList) {
        if (Taken(item, left, right, rows)) use(rows);
    }
    for (const GUIItem* item : GUIList::addQueue) {
        if (Taken(item, left, right, rows)) use(rows);
    }
}

}  // namespace

bool BandClear(float top, float height, float left, float right) {
    if (top < 0 || top + height > static_cast<float>(Data::virtualHeight)) return false;
    bool free = true;
    ForEachTaken(left, right, [&](const std::pair<float, float>& rows) {
        if (top < rows.second && top + height > rows.first) free = false;
    });
    return free;
}

// Asked every frame while a quest's news slides in: the items are walked again for each try
// rather than gathered, so nothing is allocated.
float ClearTop(float top, float height, float left, float right) {
    const float bottom = static_cast<float>(Data::virtualHeight);
    auto clear = [&](float t) { return BandClear(t, height, left, right); };
    if (clear(top)) return top;
    // The nearest free place touches a taken band from above or below.
    float best = top, distance = bottom;
    ForEachTaken(left, right, [&](const std::pair<float, float>& rows) {
        for (const float t : {rows.second, rows.first - height}) {
            if (std::fabs(t - top) < distance && clear(t)) {
                best = t;
                distance = std::fabs(t - top);
            }
        }
    });
    return best;
}
