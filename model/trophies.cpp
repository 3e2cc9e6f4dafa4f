// The trophy table and the earning of trophies.
#include "model/trophies.hpp"

#include "core/strings.hpp"
#include "core/xml.hpp"
#include "model/datafile.hpp"
#include "model/profile.hpp"
#include "platform/app.hpp"

ArrayList<std::shared_ptr<TrophyItem>> Trophies::trophies;
ArrayList<TrophyItem*> Trophies::pending;
TrophyViews Trophies::views;

int TrophyItem::Check() const {
    if (!conditions) return 1;
    for (const FlagCompare* compare : *conditions) {
        if (compare->Check() == 0) return 0;
    }
    return 1;
}

void Trophies::InitGlobals() {
    trophies.Clear2();
    pending.Clear2();
}

void Trophies::Init() {
    Load(kFile);
}

void Trophies::Load(const std::string& path) {
    const auto document = LoadDataFile(path);
    for (const XMLElement* child : document->Root()->Children()) ParseTrophy(child, path);
}

void Trophies::ParseTrophy(const XMLElement* element, const std::string& path) {
    auto trophy = std::make_shared<TrophyItem>();
    trophy->id = element->GetAttribute("id");
    trophy->text = element->GetAttribute("text");
    trophy->index = StringToInt(element->GetAttribute("index"));
    trophy->flagKey = "Trophy." + trophy->id;
    for (const XMLElement* child : element->Children()) {
        if (child->Name() == "conditions") trophy->conditions = Actions::ParseConditions(child, path);
    }
    trophies.Add(std::move(trophy));
}

void Trophies::Clear() {
    pending.Clear2();
    for (int i = 0; i < trophies.Size(); ++i) {
        TrophyItem* trophy = trophies.Get2(i).get();
        if (Profile::GetGlobalFlagInt(trophy->flagKey) == 0) pending.Add(trophy);
    }
}

void Trophies::Check() {
    if (views.noticeShowing != nullptr && views.noticeShowing() != 0) return;
    // The map is about to start again (a quest finished inside a dungeon sends it back), and its
    // start clears the screen: a trophy earned now would be announced to nobody. It waits for the
    // new map.
    static const std::string kRestart = "Goto";
    if (!Profile::GetFlagString(kRestart).empty()) return;
    for (int i = 0; i < pending.Size(); ++i) {
        TrophyItem* trophy = pending.Get2(i);
        if (trophy->Check() == 0) continue;
        pending.RemoveAt(i);
        Show(*trophy);
        Profile::SetGlobalFlagInt(trophy->flagKey, 1);
        return;
    }
}

void Trophies::Show(const TrophyItem& trophy) {
    if (views.show != nullptr) views.show(trophy);
}

void Trophies::ShowPopup() {
    if (views.showPopup != nullptr) {
        views.showPopup();
    } else {
        platform::PrintLine("No trophies popup in this build to show");
    }
}
