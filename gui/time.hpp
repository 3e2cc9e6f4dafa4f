#pragma once
// The story clock as the heads-up display shows it: the city map's status corner with the hero's
// name and rank title, the date, a clock that runs smoothly toward the game time, and the money
// and reputation counters with their icons, all in the top-right corner.
#include <array>
#include <string>

#include "gui/item.hpp"

class GUIImage;
class GUIText;

// The clock text for `minutes` since 8:00 (a day runs from 0 to 960): 0 gives "8:00AM", 125 gives
// "10:05AM", 959 gives "11:59PM". The hour after noon reads 12, not 0 ("12:30PM" for 270).
std::string ClockText(int minutes);

// The corner's texts and icons are items of their own in the item list, all with the id "time";
// this item (added by its owner) keeps them laid out and up to date. Each game minute takes 50 ms
// on the shown clock; a new day sets it at once.
class GUITime : public GUIItem {
  public:
    // Adds the corner's items to the list and lays them out.
    GUITime();
    ~GUITime() override;

    void Clear2() override;
    int Update2() override;

    // The month abbreviation and the day ("Feb 1"); just the day for a month outside the year.
    static std::string GetDateText();
    // Date and clock texts, each keeping its right edge.
    void UpdateTime();
    // The corner layout against the screen's right edge.
    void UpdatePos();
    void CheckRotate();

    GUIText* dname = nullptr;
    int replevel = 0;
    GUIText* drep = nullptr;
    GUIText* dd = nullptr;
    GUIText* dt = nullptr;
    GUIText* sm = nullptr;
    GUIImage* smi = nullptr;
    GUIText* sr = nullptr;
    GUIImage* sri = nullptr;
    // The money and reputation figures' shadows, drawn under them.
    GUIText* sms = nullptr;
    GUIText* srs = nullptr;
    // The shown game time in minutes since 8:00, running toward the profile's.
    FloatObject time;
    // The profile time last seen.
    int last = 0;

  private:
    // False once any of the corner's items has gone back to its pool (the corner was cleared
    // away around this item): the clock then leaves the pool's objects alone.
    bool PartsAlive() const;
    std::array<GUIItem*, 10> parts{};
    std::array<unsigned, 10> partClears{};
};
