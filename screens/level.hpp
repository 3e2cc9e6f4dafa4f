#pragma once
// The power-up tree: when an attribute's level passes the points already spent on it, the player
// spends the new points on that attribute's tree of five upgrades (gated by the hero's rank and by
// the node below), may take the picks back, and confirms. A preview card beside the tree shows the
// attack the hero now has for that attribute with its damage and cost at the points spent; the same
// card shows each attack on the character sheet.
#include <string>
#include <vector>

#include "gui/callback.hpp"

class GUIContainer;
class GUIText;
class GUITextButton;
class Power;

// Every button of the tree: a node ("option"), "ok" and "undo". The attribute rides in `value`.
class LevelCallback : public Callback {
  public:
    int Call(GUIItem* sender) override;
};

class Level {
  public:
    // Points still to spend in the open popup.
    static int powerPoints;
    static LevelCallback levelCallback;
    // The popup's "OK" and "Undo" (null while no tree is open).
    static GUITextButton* okButton;
    static GUITextButton* undoButton;
    // Node keys picked since the popup opened or since the last undo.
    static std::vector<std::string> undoList;

    // Opens the tree of "Attribute.Strength", "Attribute.Essence" or "Attribute.Intelligence".
    static void InitPowerUp(const std::string& attribute);
    // Rebuilds the tree (at full opacity at once) and the preview card.
    static void UpdatePowerUp(const std::string& attribute);
    static void InitPowerPreview(const std::string& attribute);
    static void AddPhysical(GUIContainer* container, const std::string& attribute);
    static void AddElemental(GUIContainer* container, const std::string& attribute);
    static void AddMental(GUIContainer* container, const std::string& attribute);
    // Returns the node's caption.
    static GUIText* AddPowerButton(GUIContainer* container, int x, int y, const std::string& image,
                                   const std::string& caption, const std::string& key,
                                   const std::string& attribute, int open);
    // Stores the attack the tree's levels give in "Power." + attribute.
    static void DecidePower(const std::string& attribute);
    // The card of one attack: name, level and, above level 0, damage, effect and cost.
    static void AddPower(GUIContainer* container, const Power* power, int level, int x, int y);

    static void InitGlobals();

  private:
    // The tree's popup: background, nodes, "OK", "Undo", title, placed on screen.
    static GUIContainer* BuildTree(const std::string& attribute);
    // The card's text and icon for an attack named `name` of `attribute`; without a power only
    // the name and the level (an attack the power table lacks).
    static void AddCard(GUIContainer* container, const std::string& name, const std::string& attribute,
                        const Power* power, int level, int x, int y);
};
