// The story clock's text.
#include "gui/time.hpp"

std::string ClockText(int minutes) {
    int value;
    const char* suffix;
    if (minutes + 480 < 720) {
        value = minutes + 480;
        suffix = "AM";
    } else {
        value = minutes - 240;
        suffix = "PM";
    }
    int hour = value / 60;
    int minute = value % 60;
    if (hour == 0) hour = 12;
    return std::to_string(hour) + (minute > 9 ? ":" : ":0") + std::to_string(minute) + suffix;
}
