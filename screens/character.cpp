// The creation popup: the portrait, the colour grid with its three tabs, the body arrows and the
// typed name.
#include "screens/character.hpp"

#include <algorithm>

#include "core/glyphfont.hpp"
#include "core/helpers.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/button.hpp"
#include "gui/container.hpp"
#include "gui/gui2.hpp"
#include "gui/hero.hpp"
#include "gui/image.hpp"
#include "gui/popup.hpp"
#include "gui/primitive.hpp"
#include "gui/text.hpp"
#include "gui/textbutton.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"
#include "platform/input.hpp"
#include "screens/title.hpp"

GUITextButton* CharacterCreation::col1Button = nullptr;
GUITextButton* CharacterCreation::col2Button = nullptr;
GUITextButton* CharacterCreation::col3Button = nullptr;
GUIPrimitive* CharacterCreation::nameBox = nullptr;
std::string CharacterCreation::heroName;
CharacterCallback CharacterCreation::characterCallback;
GameImage* CharacterCreation::colormap = nullptr;
float CharacterCreation::cursorClock = 0;
int CharacterCreation::deleteIndex = 0;

const std::array<uint32_t, 64> CharacterCreation::colorPalette = {
    0xffe8e8e8, 0xffee0000, 0xffb97350, 0xffeeee3b, 0xff00ee00, 0xff00eeee, 0xff0043ee, 0xffee00ee,
    0xffd6d6d6, 0xffcc0000, 0xff9f6344, 0xffcccc33, 0xff00cc00, 0xff00cccc, 0xff0039cc, 0xffcc00cc,
    0xffb5b5b5, 0xffa90000, 0xff845239, 0xffa9a92a, 0xff00a900, 0xff00a9a9, 0xff0030a9, 0xffa900a9,
    0xff838383, 0xff870000, 0xff6a422d, 0xff878722, 0xff008700, 0xff008787, 0xff002687, 0xff870087,
    0xff525252, 0xff650000, 0xff4f3122, 0xff656519, 0xff006500, 0xff006565, 0xff001c65, 0xff650065,
    0xff2b2b2b, 0xff430000, 0xff352116, 0xff434311, 0xff004300, 0xff004343, 0xff001343, 0xff430043,
    0xff0f0f0f, 0xff210000, 0xff1a100b, 0xff212108, 0xff002100, 0xff002121, 0xff000921, 0xff210021,
    0xff040404, 0xff0d0000, 0xff0a0604, 0xff0d0d03, 0xff000d00, 0xff000d0d, 0xff00040d, 0xff0d000d,
};

namespace {

constexpr int kWhite = 0xffffff;
constexpr int kCell = 24;
constexpr int kGridCells = 8;

// A body's picture fills its square nearly edge to edge, the cape widest; drawn whole at its place
// the cape would cross the frame's border. A little smaller, its bottom where it was and its middle
// a little to the right, the figure keeps clear of the border (18 of the frame's 40) and ends at
// the colour grid instead of under it.
constexpr float kPortraitScale = 0.84f;
constexpr float kPortraitShift = 8;

void FitPortrait(GUIHero* portrait) {
    Data::KillTweens(&portrait->scale);
    portrait->scale.value = kPortraitScale;
    portrait->x += kPortraitShift;
    portrait->y +=
        static_cast<float>(TruncToInt(static_cast<float>(portrait->h) * (1 - kPortraitScale) * 0.5f));
}

GUITextButton* AddTab(GUIContainer* c, float x, const char* caption, const char* name) {
    GUITextButton* tab = GUITextButton::Create(x, 192, "Buttons02", caption, Fonts::Get("os"), kWhite,
                                               &CharacterCreation::characterCallback, 0);
    tab->id = "character";
    tab->name = name;
    c->AddLast20(tab);
    return tab;
}

GUIButton* AddArrow(GUIContainer* c, float x, const char* image, const char* name) {
    GUIButton* arrow = GUIButton::Create(x, 200, image, &CharacterCreation::characterCallback);
    arrow->id = "character";
    arrow->name = name;
    c->AddLast20(arrow);
    return arrow;
}

bool Accepted(int c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '!' || c == ' ';
}

}  // namespace

void CharacterCreation::InitGlobals() {
    ForgetWidgets();
    heroName.clear();
    colormap = nullptr;
    cursorClock = 0;
    deleteIndex = 0;
}

void CharacterCreation::ForgetWidgets() {
    col1Button = col2Button = col3Button = nullptr;
    nameBox = nullptr;
}

int CharacterCreation::PaletteIndexAt(float dx, float dy, int w, int h) {
    if (dx < 0 || dy < 0 || dx >= static_cast<float>(w) || dy >= static_cast<float>(h)) return -1;
    // A grid picture larger than its 8 x 8 cells must not reach past the palette.
    const int column = std::clamp(TruncToInt(dx / kCell), 0, kGridCells - 1);
    const int row = std::clamp(TruncToInt(dy / kCell), 0, kGridCells - 1);
    return row * kGridCells + column;
}

void CharacterCreation::InitCharacterCreation() {
    heroName = "Justice Gal";
    Audio::PlayMusic(1);
    Profile::Init();
    Profile::SetFlagString("CharacterPortrait", "HeroFemale1");
    Profile::SetFlagInt("CharacterIcon", 2);
    Profile::SetFlagInt("CharacterColor1", 0x202020);
    Profile::SetFlagInt("CharacterColor2", 0xa0a0a0);
    Profile::SetFlagInt("CharacterColor3", 0xffff20);
    // Keys pressed before the popup opened are not part of the name.
    while (platform::GetChar() != 0) {
    }

    GUIContainer* c = GUIContainer::Create(0, 0);
    c->id = "character";
    c->w = 400;
    c->padY = 48;
    GUIList::Suspend();

    GUIHero* portrait = GUIHero::Create(0, 0);
    c->AddLast20(portrait);
    GUIImage* grid = GUIImage::Create(192, 0, "CharacterCreationColormap", 0);
    grid->id = "grid";
    c->AddLast20(grid);
    c->AddLast20(GUIImage::Create(192, 0, "CharacterCreationGrid", 0));
    AddArrow(c, 12, "CharacterCreationLeft", "left");
    AddArrow(c, 92, "CharacterCreationRight", "right");
    col1Button = AddTab(c, 192, "Body", "col1");
    col1Button->active = 0;
    col2Button = AddTab(c, col1Button->x + static_cast<float>(col1Button->w), "Detail", "col2");
    col3Button = AddTab(c, col2Button->x + static_cast<float>(col2Button->w), "Hair", "col3");
    GUITextButton* ok = GUITextButton::Create(0, static_cast<float>(c->h), "Buttons01", "OK",
                                              Fonts::Get("on"), kWhite, &characterCallback, 0);
    ok->id = "character";
    ok->name = "ok";
    c->AddLast20(ok, kAlignCentre, 0);
    GUIText* label = GUIText::Create(0, 0, "Name:", Fonts::Get("n"), 0);
    label->x = static_cast<float>(192 - label->w - 8);
    label->y = static_cast<float>(-2 * label->h);
    c->AddLast20(label);
    nameBox = GUIPrimitive::Create(192, label->y, 192, label->h, "box", kWhite, 0);
    c->AddLast20(nameBox);

    c->h -= 16;
    Popup::AddFrameRounded(c);
    GUIText* title = GUIText::Create(0, 0, "Create a Hero", Fonts::Get("ob"), kWhite);
    title->x = static_cast<float>((c->w - title->w) / 2);
    title->y = -static_cast<float>(title->h) * 0.4f;
    c->AddLast20(title);
    portrait->x -= 48;
    portrait->y -= 64;
    FitPortrait(portrait);
    GUIList::Add(c, 1700, kAlignCentre,
                 Data::virtualHeight < Data::virtualWidth ? kAlignCentre : kAlignBottom);
    colormap = briskGame->images->Find("CharacterCreationColormap");
}

void CharacterCreation::Update() {
    if (Data::backPressed) {
        Data::backPressed = 0;
        ForgetWidgets();
        GUIList::FadeOut("character", "");
        GUIList::Resume();
        characterStep = 1;
        startChosen = openCreation = confirmPending = 0;
        Profile::currentSlot = -1;
        return;
    }
    const int c = platform::GetChar();
    if (c == 13 || c == 27) {
        platform::DisableKeyboard();
    } else if (c == 8) {
        if (!heroName.empty()) heroName.pop_back();
    } else if (Accepted(c)) {
        heroName += static_cast<char>(c);
    }
    if (heroName.size() > Profile::kMaxNameLength) heroName.resize(Profile::kMaxNameLength);
}

void CharacterCreation::UpdateRender() {
    GUIContainer* c = static_cast<GUIContainer*>(GUIList::Get("character", ""));
    if (!c || !nameBox) return;
    const float baseX = c->x;
    const float baseY = c->y;

    GlyphFont* font = Fonts::Get("n");
    if (font) {
        const int textX = TruncToInt(baseX + nameBox->x);
        const int textY = TruncToInt(baseY + nameBox->y - 1);
        platform::SetColor(0, 0, 0);
        font->DrawText(heroName, textX, textY);
        cursorClock += Data::frameMs;
        if (TruncToInt(cursorClock / 400) % 2 == 1) {
            platform::DrawRect(static_cast<float>(textX + font->TextWidth(heroName)),
                               static_cast<float>(textY + 2), 2, static_cast<float>(nameBox->h - 4));
        }
        platform::SetColor(255, 255, 255);
    }

    GUIItem* grid = c->Get3("grid", "");
    if (!Data::mouseHeld || !grid || !colormap) return;
    const int index = PaletteIndexAt(Data::mouseVX - (baseX + grid->x), Data::mouseVY - (baseY + grid->y),
                                     colormap->w, colormap->h);
    if (index < 0) return;
    const int colour = static_cast<int>(colorPalette[static_cast<size_t>(index)]);
    if (col1Button && col1Button->active == 0) {
        Profile::SetFlagInt("CharacterColor1", colour);
    } else if (col2Button && col2Button->active == 0) {
        Profile::SetFlagInt("CharacterColor2", colour);
    } else {
        Profile::SetFlagInt("CharacterColor3", colour);
    }
}
