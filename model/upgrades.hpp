#pragma once
// The hero's base upgrades: "data/upgrades.xml" lists one entry per upgrade line and level, with
// its price, its description and the conditions under which it may be bought. The level reached in
// a line is the profile value "Upgrade." + the line's id.
#include <array>
#include <memory>
#include <string>

#include "core/collections.hpp"
#include "model/actions.hpp"

class XMLElement;

class UpgradeItem {
  public:
    // The upgrade line, e.g. "Burglar Alarm".
    std::string id;
    // The level this entry sells (1 for the first purchase).
    int level = 0;
    int cost = 0;
    std::string text;
    std::unique_ptr<CompareList> conditions;

    // 1 when there are no conditions or every one holds: this level may be bought.
    int Check() const;
};

class Upgrades {
  public:
    static constexpr const char* kFile = "data/upgrades.xml";
    // The four lines the base sells; the base popup shows exactly these.
    static const std::array<const char*, 4> kLines;

    // In file order.
    static ArrayList<std::shared_ptr<UpgradeItem>> upgrades;

    static void InitGlobals();
    static void Init();
    static void Load(const std::string& path);
    // An entry of a line the base does not sell could never be bought or shown: it is left out,
    // with one printed line naming the file and the id.
    static void ParseUpgrade(const XMLElement* element, const std::string& path = kFile);
    // With L the level owned: the first entry of that id at level L + 1 (current 0: the next to
    // buy) or at level L (current 1: the one owned). Null when there is none: the line is
    // complete, not owned yet, or no line of that id exists.
    static UpgradeItem* Get(const std::string& id, int current);
};
