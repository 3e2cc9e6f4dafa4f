#pragma once
// The character sheet (the hero's portrait with health and rank, meters for attributes, skills and
// reputation, the play time and a card per attack) and the floating number that rewards, hits and
// pick-ups show all over the game.
#include <string>

#include "gui/callback.hpp"

class GlyphFont;
class GUIContainer;

// Closes the sheet: its items fade out and the screen below comes back.
class MenuCallback : public Callback {
  public:
    int Call(GUIItem* sender) override;
};

class Menu {
  public:
    static MenuCallback menuCallback;

    static void ShowCharacterInfo();
    static void AddPortrait(GUIContainer* container);
    static void AddLevels(GUIContainer* container, int x, int y);
    // The cards of the attacks chosen so far, centred in the sheet. `x` is not used: the cards
    // always centre on the sheet.
    static void AddPowers(GUIContainer* container, int x, int y);
    // A text centred on (x, y) that drifts at `angle` degrees (270 is up) at `speed`, then fades
    // over `fadeSpeed` ms after a short wait; at priority + 2000.
    static void ShowNumber(int x, int y, const std::string& text, int colour, float angle, float speed,
                           int fadeSpeed, GlyphFont* font, int priority);
};
