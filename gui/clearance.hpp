#pragma once
// Where an announcement that slides over a busy screen lands: clear of what the player must still
// see beneath it.

// The top nearest `top` at which a band `height` tall over the columns left..right covers, with a
// little air around them, none of the buttons of a place's open menu (its row, its way out, its
// people in the corners), the places' names on the map or the hero's icon; `top` itself when they
// leave no band tall enough on the screen. Items on their way out do not count.
float ClearTop(float top, float height, float left, float right);
// Whether that band covers none of them.
bool BandClear(float top, float height, float left, float right);
