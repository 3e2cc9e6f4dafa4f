#pragma once
// Choosing and making a hero before play: the selection popup shows the three character slots as
// cards (name, rank, act, play time, final score) with a delete button beside each; an empty slot
// opens the creation popup, where the player picks one of four bodies, three colours from a grid
// of 64 and types a name. Deleting asks first and saves at once; choosing or creating saves
// nothing (the game saves later).
#include <array>
#include <cstdint>
#include <string>

#include "gui/callback.hpp"

class GameImage;
class GUIContainer;
class GUIPrimitive;
class GUITextButton;

// Every button of the two popups and of the delete question.
class CharacterCallback : public Callback {
  public:
    int Call(GUIItem* sender) override;
};

class CharacterCreation {
  public:
    // The colour tabs "Body", "Detail" and "Hair"; null while no creation popup is open.
    static GUITextButton* col1Button;
    static GUITextButton* col2Button;
    static GUITextButton* col3Button;
    // The white box behind the typed name.
    static GUIPrimitive* nameBox;
    static std::string heroName;
    static CharacterCallback characterCallback;
    static GameImage* colormap;
    // Milliseconds summed for the blinking cursor.
    static float cursorClock;
    // The grid's colours, row by row from the top.
    static const std::array<uint32_t, 64> colorPalette;
    // The slot whose deletion is being asked about.
    static int deleteIndex;

    static void SelectCharacter();
    static void AddCharacter(GUIContainer* parent, int x, int y, int slot);
    static void InitCharacterCreation();
    // Name entry and the escape key, every frame while the creation popup is open.
    static void Update();
    // The typed name, its cursor and colour picking, every render while the creation popup is open.
    static void UpdateRender();

    // The index into `colorPalette` of the grid cell under (dx, dy), pixels from the grid's
    // top-left corner; -1 outside the w x h grid.
    static int PaletteIndexAt(float dx, float dy, int w, int h);

    static void InitGlobals();

  private:
    // Forgets the popup's tabs and name box.
    static void ForgetWidgets();
};
