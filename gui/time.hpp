#pragma once
// The story clock as the heads-up display shows it.
#include <string>

// The clock text for `minutes` since 8:00 (a day runs from 0 to 960): 0 gives "8:00AM", 125 gives
// "10:05AM", 959 gives "11:59PM". The hour after noon reads 12, not 0 ("12:30PM" for 270).
std::string ClockText(int minutes);
