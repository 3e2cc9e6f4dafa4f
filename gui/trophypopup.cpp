// The trophy notice and the trophies popup.
#include "gui/trophypopup.hpp"

#include <algorithm>

#include "core/glyphfont.hpp"
#include "gui/audio2.hpp"
#include "gui/clearance.hpp"
#include "gui/container.hpp"
#include "gui/gui2.hpp"
#include "gui/image.hpp"
#include "gui/popup.hpp"
#include "gui/text.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "model/trophies.hpp"

namespace {

constexpr int kWhite = 0xffffff;
constexpr int kTextColour = 0xe0f0ff;
constexpr const char* kMedals = "Medals44x85";
constexpr int kCellWidth = 92;
// Words of neighbouring cells keep this much room between them: a cell's texts wrap this much
// narrower than the cell and stand in its middle.
constexpr int kCellGap = 8;

int NoticeShowing() {
    return GUIList::Get("trophy", "") != nullptr ? 1 : 0;
}

GUIText* CellText(float x, float y, const std::string& text, const char* font, int colour) {
    GUIText* t = GUIText::Create(x + kCellGap / 2, y, text, Fonts::Get(font), colour);
    t->SetWidth(kCellWidth - kCellGap);
    t->center = 1;
    return t;
}

// In its corner, unless a place's person stands there: then above them, where both are seen.
void Place(GUIItem* notice) {
    notice->y = ClearTop(static_cast<float>(Data::virtualHeight - notice->h - 16),
                         static_cast<float>(notice->h), notice->x, notice->x + static_cast<float>(notice->w));
}

void Dim(GUIItem* item, float alpha) {
    Data::KillTweens(&item->alpha);
    item->alpha.value = alpha;
}

}  // namespace

void TrophyPopup::Show(const TrophyItem& trophy) {
    Audio::PlaySound(11, 1.0f);
    GUIContainer* notice = GUIContainer::Create(0, 0);
    notice->id = "trophy";
    notice->AddLast20(GUIImage::Create(0, 0, kMedals, trophy.index), 0, 0);
    GUIText* name = GUIText::Create(static_cast<float>(notice->w), 8, trophy.id, Fonts::Get("os"), kWhite);
    notice->AddLast20(name, 0, 0);
    GUIText* text = GUIText::Create(name->x, name->y + static_cast<float>(name->h), trophy.text,
                                    Fonts::Get("oxs"), kTextColour);
    text->SetWidth(256);
    notice->AddLast20(text, 0, 0);
    notice->x = static_cast<float>(Data::virtualWidth - notice->w - 16);
    Place(notice);
    GUIList::Add(notice, 2500);
    notice->FadeOut(500, 350);
}

void TrophyPopup::KeepClear() {
    GUIItem* notice = GUIList::Get("trophy", "");
    if (notice != nullptr && !notice->removing) Place(notice);
}

void TrophyPopup::ShowPopup() {
    GUIContainer* container = GUIContainer::Create(0, 0);
    container->id = "options";
    container->name = "trophies";
    const bool wide = Data::virtualWidth > Data::virtualHeight;
    float secondRow = 0;
    for (int i = 0; i < Trophies::trophies.Size(); ++i) {
        int column = 0;
        float y = 0;
        if (wide) {
            // Everything after the eighth stays in the second row.
            if (i == 8) secondRow = static_cast<float>(container->h + 24);
            column = i < 8 ? i : i - 8;
            y = i < 8 ? 0 : secondRow;
        } else {
            column = i % 4;
            y = static_cast<float>(std::min(i / 4, 3) * 144);
        }
        AddTrophy(container, static_cast<float>(column * kCellWidth), y, *Trophies::trophies.Get2(i));
    }
    Popup::CustomPopup("Trophies", container, nullptr, 1);
}

void TrophyPopup::AddTrophy(GUIContainer* container, float x, float y, const TrophyItem& trophy) {
    GUIImage* medal = GUIImage::Create(x, y, kMedals, trophy.index);
    container->AddLast20(medal, 0, 0);
    if (Profile::GetGlobalFlagInt(trophy.flagKey) != 0) {
        // The name and the description stand under the medal, all three centred on one line.
        GUIText* name = CellText(x, y + static_cast<float>(medal->h), trophy.id, "os", kWhite);
        GUIText* text = CellText(x, name->y + static_cast<float>(name->h), trophy.text, "oxs", kTextColour);
        GUIText* wider = name->w >= text->w ? name : text;
        GUIText* narrower = wider == name ? text : name;
        medal->x += static_cast<float>(kCellGap / 2) + static_cast<float>(wider->w - medal->w) / 2;
        narrower->w = wider->w;
        container->AddLast20(name, 0, 0);
        container->AddLast20(text, 0, 0);
        container->CalculateSize(medal);
        return;
    }
    GUIText* locked = GUIText::Create(x, y, "Locked", Fonts::Get("os"), kWhite);
    locked->y += static_cast<float>(medal->h - locked->h) / 2;
    medal->x += static_cast<float>(locked->w - medal->w) / 2;
    container->AddLast20(locked, 0, 0);
    container->CalculateSize(medal);
    // Both at half strength, as anything shown that is not yet the player's.
    Dim(locked, 0.5f);
    Dim(medal, 0.5f);
}

void RegisterTrophyViews() {
    Trophies::views.show = TrophyPopup::Show;
    Trophies::views.noticeShowing = NoticeShowing;
    Trophies::views.showPopup = TrophyPopup::ShowPopup;
}
