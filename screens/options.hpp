#pragma once
// The options popup: music and sound volume on sliders; full screen, widescreen, high quality,
// move hints and location names on checkboxes. Every change takes effect at once; "OK" saves the
// settings and, when the location names were switched, has the city map rebuild its location
// buttons.
#include "gui/callback.hpp"

class OptionsCallback : public Callback {
  public:
    int Call(GUIItem* sender) override;
};

class Options {
  public:
    static OptionsCallback optionsCallback;
    // The location-name setting changed while the popup was open.
    static int namesChanged;

    static void InitOptions();
    static void InitGlobals() { namesChanged = 0; }
};
