// The selection popup with its slot cards, and the buttons of both character popups.
#include <string>

#include "core/glyphfont.hpp"
#include "core/strings.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/button.hpp"
#include "gui/container.hpp"
#include "gui/containerbutton.hpp"
#include "gui/gui2.hpp"
#include "gui/popup.hpp"
#include "gui/text.hpp"
#include "gui/textbutton.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "screens/character.hpp"
#include "screens/title.hpp"

namespace {

constexpr int kWhite = 0xffffff;
constexpr int kCardWidth = 320;
constexpr int kCardHeight = 80;

// Bodies in the order the arrows cycle through them; the index is "CharacterIcon".
constexpr const char* kBodies[] = {"HeroMale1", "HeroMale2", "HeroFemale1", "HeroFemale2"};
constexpr int kBodyCount = 4;

bool Female(int body) {
    return body >= 2;
}

bool Filled(int slot) {
    const SaveData& save = *Profile::saveData;
    return slot >= 0 && slot < save.Profiles.Size() && !save.GetFlagString(slot, "Name").empty();
}

const char* ActName(int act) {
    if (act < 2) return "Act I";
    if (act == 2) return "Act II";
    if (act == 3) return "Act III";
    if (act == 4) return "Act IV";
    if (act == 5) return "Act V";
    return "Epilogue";
}

// The hand-off after the selection or the delete question closed: the title reopens the selection.
void BackToSelection() {
    characterStep = 1;
    startChosen = openCreation = confirmPending = 0;
}

void CloseSelection() {
    GUIList::FadeOut("select", "");
    GUIList::Resume();
}

GUIText* AddText(GUIContainer* card, float x, float y, const std::string& text, const char* font,
                 int colour) {
    GUIText* t = GUIText::Create(x, y, text, Fonts::Get(font), colour);
    card->AddLast20(t);
    return t;
}

void StepBody(int step) {
    int body = 0;
    const std::string portrait = Profile::GetFlagString("CharacterPortrait");
    for (int i = 0; i < kBodyCount; ++i) {
        if (portrait == kBodies[i]) body = i;
    }
    body = (body + step + kBodyCount) % kBodyCount;
    Profile::SetFlagString("CharacterPortrait", kBodies[body]);
    Profile::SetFlagInt("CharacterIcon", body);
    std::string& name = CharacterCreation::heroName;
    if (Female(body) && name == "Justice Guy") name = "Justice Gal";
    if (!Female(body) && name == "Justice Gal") name = "Justice Guy";
}

void CreateHero(GUIItem* sender) {
    std::string& name = CharacterCreation::heroName;
    if (name.empty()) return;
    startChosen = 1;
    std::u32string wide(name.begin(), name.end());
    while (Data::HasProblem(wide)) wide = Data::FixString(wide);
    name.assign(wide.begin(), wide.end());
    Profile::SetFlagString("Name", name);
    const std::string portrait = Profile::GetFlagString("CharacterPortrait");
    Profile::SetFlagString(
        "RealName", portrait == "HeroMale1" || portrait == "HeroMale2" ? "Bobby Bland" : "Bobbi Bland");
    CharacterCreation::col1Button = CharacterCreation::col2Button = CharacterCreation::col3Button = nullptr;
    CharacterCreation::nameBox = nullptr;
    GUIList::FadeOut(sender->id, "");
    GUIList::Resume();
}

void ChooseSlot(int slot) {
    Profile::currentSlot = slot;
    if (Filled(slot)) {
        Profile::slotFlags = Profile::saveData->Profiles.Get2(slot);
        startChosen = 1;
    } else {
        Profile::saveData->Clear(slot);
        Profile::slotFlags = Profile::saveData->Profiles.Get2(slot);
        openCreation = 1;
    }
    CloseSelection();
}

}  // namespace

void CharacterCreation::SelectCharacter() {
    Audio::PlayMusic(1);
    GUIList::Suspend();
    GUIContainer* select = GUIContainer::Create(static_cast<float>((Data::virtualWidth - 400) / 2),
                                                static_cast<float>((Data::virtualHeight - 420) / 2));
    select->id = "select";
    for (int slot = 0; slot < 3; ++slot) AddCharacter(select, 0, 140 * slot, slot);
    GUIList::Add(select, 1700, 0, 0);
}

void CharacterCreation::AddCharacter(GUIContainer* parent, int x, int y, int slot) {
    GUIContainer* card = GUIContainer::Create(0, 0);
    card->w = kCardWidth;
    card->h = kCardHeight;
    if (Filled(slot)) {
        const SaveData& save = *Profile::saveData;
        AddText(card, 0, 0, save.GetFlagString(slot, "Name"), "on", kWhite);
        AddText(card, 0, 20, Profile::RankTitle(save.GetFlagInt(slot, "Level.Resource.Reputation")), "os",
                kWhite);
        GUIText* act = AddText(card, 0, 48, ActName(save.GetFlagInt(slot, "Flag.Act")), "n", 0);
        act->x = static_cast<float>(kCardWidth - act->w - 16);
        GUIText* time =
            AddText(card, 16, 48, "Play time: " + PlayTimeText(save.GetFlagInt(slot, "TimePlayed")), "n", 0);
        GUIText* score = nullptr;
        const int total = save.GetFlagInt(slot, "Game.Total");
        if (total > 0) {
            act->y -= 4;
            time->y -= 4;
            score = AddText(card, 0, time->y + static_cast<float>(time->h) - 4,
                            "Final score: " + std::to_string(total), "oxs", 0xffffa0);
            score->x = static_cast<float>((kCardWidth - score->w) / 2);
        }
        Popup::AddFrameRounded(card);
        if (score) score->y += 4;
        GUIButton* remove = GUIButton::Create(static_cast<float>(x + 384), static_cast<float>(y + 40),
                                              "Buttons03", &characterCallback);
        remove->y -= static_cast<float>(remove->h) / 2;
        remove->name = "delete";
        remove->data = slot;
        parent->AddLast20(remove);
    } else {
        GUIText* empty = AddText(card, 0, 0, "No character data!", "n", 0);
        empty->x = static_cast<float>((kCardWidth - empty->w) / 2);
        empty->y = static_cast<float>((kCardHeight - empty->h) / 2 - 8);
        Popup::AddFrameRounded(card);
    }
    GUIContainerButton* button =
        GUIContainerButton::Create(static_cast<float>(x), static_cast<float>(y), card, &characterCallback);
    button->id = "character";
    button->name = "character";
    button->data = slot;
    parent->AddLast20(button);
}

int CharacterCallback::Call(GUIItem* sender) {
    if (sender == nullptr) return 0;
    const std::string& name = sender->name;
    if (sender->id == "select" && name == "ok") {
        Profile::saveData->Clear(CharacterCreation::deleteIndex);
        Profile::Save(0);
        CloseSelection();
        BackToSelection();
    } else if (sender->id == "select" && name == "cancel") {
        CloseSelection();
        BackToSelection();
    } else if (name == "delete") {
        CharacterCreation::deleteIndex = sender->data;
        CloseSelection();
        characterStep = confirmPending = 1;
        startChosen = openCreation = 0;
        Popup::ShowChoice("", "Really delete character?", "Yes!", "Wait...", "select",
                          &CharacterCreation::characterCallback, 1);
    } else if (name == "character") {
        ChooseSlot(sender->data);
    } else if (name == "ok") {
        CreateHero(sender);
    } else if (name == "left" || name == "right") {
        StepBody(name == "left" ? -1 : 1);
    } else if (name == "col1" || name == "col2" || name == "col3") {
        GUITextButton* tabs[] = {CharacterCreation::col1Button, CharacterCreation::col2Button,
                                 CharacterCreation::col3Button};
        for (GUITextButton* tab : tabs) {
            if (tab) tab->active = tab == sender ? 0 : 1;
        }
    }
    return 0;
}
