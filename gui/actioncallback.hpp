#pragma once
// The action engine on screen: the rows of action buttons, the popup with the choices of a popup
// action, the dialogue an action plays, and the one handler that answers clicks on buttons and
// choices.
#include <string>

#include "gui/callback.hpp"

class ActionCallback : public Callback {
  public:
    // A click on an action button runs what the button leads to; a click on a choice closes the
    // popup and runs the choice. A button or choice that no offered action answers any more
    // (the candidates were rebuilt since it appeared) only goes away.
    int Call(GUIItem* sender) override;

    // The one handler every action button and choice is given.
    static ActionCallback actionCallback;
};

// Lays out the offered buttons of one category: rows of three from (x, y); "character" buttons sit
// in the two bottom corners.
void UpdatePositions(float x, float y, const std::string& category);

// Fills the action engine's starters that open things of the GUI.
void RegisterActionScreens();
