#pragma once
// The trophies on screen: the notice of a newly earned trophy in the bottom-right corner, and the
// popup of every trophy (earned ones with their name and text, locked ones dimmed) that the title
// screen opens.
class GUIContainer;
class TrophyItem;

class TrophyPopup {
  public:
    static void Show(const TrophyItem& trophy);
    static void ShowPopup();
    // The notice follows what it must leave in sight: a place's people who came after it.
    static void KeepClear();
    // One cell of the popup with its top-left corner at (x, y).
    static void AddTrophy(GUIContainer* container, float x, float y, const TrophyItem& trophy);
};

// Fills `Trophies::views`.
void RegisterTrophyViews();
