// The base upgrade table.
#include "model/upgrades.hpp"

#include <algorithm>

#include "core/strings.hpp"
#include "core/xml.hpp"
#include "model/datafile.hpp"
#include "model/profile.hpp"

const std::array<const char*, 4> Upgrades::kLines = {"Training Mastery", "Burglar Alarm", "Distress-o-Meter",
                                                     "Heroic Power"};
ArrayList<std::shared_ptr<UpgradeItem>> Upgrades::upgrades;

int UpgradeItem::Check() const {
    if (!conditions) return 1;
    for (const FlagCompare* compare : *conditions) {
        if (compare->Check() == 0) return 0;
    }
    return 1;
}

void Upgrades::InitGlobals() {
    upgrades.Clear2();
}

void Upgrades::Init() {
    Load(kFile);
}

void Upgrades::Load(const std::string& path) {
    const auto document = LoadDataFile(path);
    for (const XMLElement* child : document->Root()->Children()) ParseUpgrade(child, path);
}

void Upgrades::ParseUpgrade(const XMLElement* element, const std::string& path) {
    auto item = std::make_shared<UpgradeItem>();
    item->id = element->GetAttribute("id");
    item->text = element->GetAttribute("text");
    item->level = StringToInt(element->GetAttribute("level"));
    item->cost = StringToInt(element->GetAttribute("cost"));
    const bool sold =
        std::any_of(kLines.begin(), kLines.end(), [&item](const char* line) { return item->id == line; });
    if (!sold) {
        ReportDataProblem(path,
                          "upgrade \"" + item->id + "\" is not one of the base's upgrades; it is left out");
        return;
    }
    for (const XMLElement* child : element->Children()) {
        if (child->Name() == "conditions") item->conditions = Actions::ParseConditions(child, path);
    }
    upgrades.Add(std::move(item));
}

UpgradeItem* Upgrades::Get(const std::string& id, int current) {
    // Wide enough that a damaged save at the top of the int range asks for no level at all.
    const long long owned = Profile::GetFlagInt("Upgrade." + id);
    const long long wanted = current == 0 ? owned + 1 : owned;
    for (int i = 0; i < upgrades.Size(); ++i) {
        UpgradeItem* item = upgrades.Get2(i).get();
        if (item->id == id && item->level == wanted) return item;
    }
    return nullptr;
}
