#pragma once
// Trophies: achievements shared by every character. Each has conditions on the current character's
// flags; the first time they hold, the trophy is earned for good (the global flag "Trophy." + id)
// and announced by a notice. "data/trophies.xml" lists them.
//
// The notice is a GUI item, so the GUI registers how to show it and how to tell that one is still
// on screen (`Trophies::views`); the trophies popup of the title screen belongs to the GUI as well
// and reads the table below.
#include <memory>
#include <string>

#include "core/collections.hpp"
#include "model/actions.hpp"

class XMLElement;

class TrophyItem {
  public:
    // Also the trophy's shown name.
    std::string id;
    std::string text;
    // The frame of the medal picture.
    int index = 0;
    std::unique_ptr<CompareList> conditions;
    // "Trophy." + id, made once so the per-frame check builds no text.
    std::string flagKey;

    // 1 when there are no conditions or every one holds.
    int Check() const;
};

// What the GUI registers for the notice of a newly earned trophy.
struct TrophyViews {
    // The notice in the bottom-right corner (medal, name, description; sound 11).
    void (*show)(const TrophyItem& trophy) = nullptr;
    // 1 while a notice (a GUI item with id "trophy") is on screen.
    int (*noticeShowing)() = nullptr;
    // Opens the popup of every trophy, earned or locked (the title's "trophies" button).
    void (*showPopup)() = nullptr;
};

class Trophies {
  public:
    static constexpr const char* kFile = "data/trophies.xml";

    // Every trophy, in file order.
    static ArrayList<std::shared_ptr<TrophyItem>> trophies;
    // The trophies not yet earned, in file order.
    static ArrayList<TrophyItem*> pending;
    static TrophyViews views;

    // The program's initial values (the registered views stay).
    static void InitGlobals();
    static void Init();
    static void Load(const std::string& path);
    static void ParseTrophy(const XMLElement* element, const std::string& path = kFile);
    // Rebuilds the pending list from the global "Trophy." flags.
    static void Clear();
    // Earns at most one trophy: none while a notice shows or the map is about to start again
    // ("Goto" set); else the first pending one whose conditions hold leaves the list, is announced
    // and marked earned for every character.
    static void Check();
    static void Show(const TrophyItem& trophy);
    // The trophies popup, through `views.showPopup`; without one, a printed line and nothing shown.
    static void ShowPopup();
};
