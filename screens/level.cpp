// The power-up tree popup and its preview card.
#include "screens/level.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/button.hpp"
#include "gui/container.hpp"
#include "gui/gui2.hpp"
#include "gui/image.hpp"
#include "gui/particledot.hpp"
#include "gui/text.hpp"
#include "gui/textbutton.hpp"
#include "model/data2.hpp"
#include "model/powers.hpp"
#include "model/profile.hpp"
#include "platform/app.hpp"

int Level::powerPoints = 0;
LevelCallback Level::levelCallback;
GUITextButton* Level::okButton = nullptr;
GUITextButton* Level::undoButton = nullptr;
std::vector<std::string> Level::undoList;

namespace {

constexpr int kWhite = 0xffffff;
constexpr const char* kStrength = "Attribute.Strength";
constexpr const char* kEssence = "Attribute.Essence";
constexpr const char* kIntelligence = "Attribute.Intelligence";

// The three rows of every tree, and the rank each row asks for beyond the first.
constexpr std::array<int, 3> kRowY = {48, 136, 224};
constexpr std::array<int, 3> kRowRank = {0, 2, 5};
enum Column { kLeft = -88, kMiddle = 0, kRight = 88 };
// Where a rounded frame would lie.
constexpr int kBackground = -100;
// Milliseconds an item takes to fade in.
constexpr float kFadeInMs = 500;

// One node of a tree: it opens once the hero's rank reaches its row's and, where a node below is
// named, once that node has a level.
struct TreeNode {
    const char* key;
    const char* caption;
    const char* icon;
    int row;  // 0, 1, 2
    Column column;
    const char* after;  // the node that must have a level first; "" when none
};

using Tree = std::array<TreeNode, 5>;

const Tree kPhysical = {{
    {"Power.Physical.Damage", "Increase Damage", "LevelUpPhysical1", 0, kMiddle, ""},
    {"Power.Physical.Cost", "Lower Cost", "LevelUpPhysical5", 1, kLeft, ""},
    {"Power.Physical.Fire", "Fire Attack", "LevelUpPhysical2", 1, kMiddle, "Power.Physical.Damage"},
    {"Power.Physical.Beam", "Beam Charge", "LevelUpPhysical3", 2, kMiddle, "Power.Physical.Fire"},
    {"Power.Physical.Stone", "Stone Skin", "LevelUpPhysical4", 2, kRight, ""},
}};

// The elemental "Lower Cost" sits in the first row but waits for the arrow below it.
const Tree kElemental = {{
    {"Power.Elemental.Cost", "Lower Cost", "LevelUpElemental5", 0, kLeft, "Power.Elemental.Energy"},
    {"Power.Elemental.Energy", "Energy Arrow", "LevelUpElemental1", 0, kMiddle, ""},
    {"Power.Elemental.Electric", "Electric Shock", "LevelUpElemental2", 1, kRight, "Power.Elemental.Energy"},
    {"Power.Elemental.Freeze", "Freeze", "LevelUpElemental4", 2, kLeft, ""},
    {"Power.Elemental.Thunder", "Thunderstrike", "LevelUpElemental3", 2, kRight, "Power.Elemental.Electric"},
}};

const Tree kMental = {{
    {"Power.Mental.Bolt", "Mental Bolt", "LevelUpMental1", 0, kMiddle, ""},
    {"Power.Mental.Confusion", "Confusion", "LevelUpMental2", 0, kRight, ""},
    {"Power.Mental.Blast", "Psycho Blast", "LevelUpMental3", 1, kMiddle, "Power.Mental.Bolt"},
    {"Power.Mental.Cost", "Lower Cost", "LevelUpMental5", 2, kLeft, ""},
    {"Power.Mental.Control", "Mental Control", "LevelUpMental4", 2, kRight, "Power.Mental.Confusion"},
}};

int Flag(const std::string& key) {
    return Profile::GetFlagInt(key);
}

// The tree of one of the three power attributes; null for any other key.
const Tree* TreeOf(const std::string& attribute) {
    if (attribute == kStrength) return &kPhysical;
    if (attribute == kEssence) return &kElemental;
    if (attribute == kIntelligence) return &kMental;
    return nullptr;
}

// Two captions of one row are centred 88 apart, and two long ones would touch: each moves away
// from the other by half of what they lack, staying inside the popup.
void SpreadCaptions(const Tree& tree, const std::array<GUIText*, 5>& captions, int width) {
    constexpr float kGap = 12;
    for (size_t a = 0; a < tree.size(); ++a) {
        for (size_t b = 0; b < tree.size(); ++b) {
            if (tree[a].row != tree[b].row || tree[a].column >= tree[b].column) continue;
            GUIText* left = captions[a];
            GUIText* right = captions[b];
            const float lack = left->x + static_cast<float>(left->w) + kGap - right->x;
            if (lack <= 0) continue;
            left->x = std::max(0.0f, left->x - lack * 0.5f);
            right->x = std::min(static_cast<float>(width - right->w), left->x + static_cast<float>(left->w) + kGap);
        }
    }
}

// The arrow into a row shows its tip between the caption of the node above and the node it points
// at, reaching a little into that node: a caption in its way is not drawn over.
void AddArrow(GUIContainer* container, int c, int rowY) {
    constexpr int kShown = 32;
    constexpr int kIntoNode = 6;
    GUIImage* arrow = GUIImage::Create(0, 0, "LevelUpArrow", 0);
    const int fullHeight = arrow->h;
    arrow->x = static_cast<float>(c - arrow->w / 2);
    int top = rowY - kShown;
    for (GUIItem* item : container->items) {
        const auto* caption = dynamic_cast<const GUIText*>(item);
        if (caption == nullptr || caption->x >= arrow->x + static_cast<float>(arrow->w) ||
            arrow->x >= caption->x + static_cast<float>(caption->w))
            continue;
        const int bottom = static_cast<int>(caption->y) + caption->h;
        if (caption->y < static_cast<float>(rowY) && bottom > top) top = bottom;
    }
    const int bottom = top == rowY - kShown ? rowY : rowY + kIntoNode;
    const int shown = std::min(kShown, bottom - top);
    arrow->y = static_cast<float>(bottom - shown);
    arrow->SetSubset(0, fullHeight - shown, arrow->w, shown);
    container->Add21(arrow, 90);
}

constexpr int kNodeSize = 64;
constexpr int kNoColumn = 1;

bool Holds(const Tree& tree, int row, Column column) {
    for (const TreeNode& node : tree) {
        if (node.row == row && node.column == column) return true;
    }
    return false;
}

// The first cell of a row, left to right and then the middle, that holds no node.
int FreeColumn(const Tree& tree, int row) {
    for (Column column : {kLeft, kRight, kMiddle}) {
        if (!Holds(tree, row, column)) return column;
    }
    return kNoColumn;
}

void AddTree(GUIContainer* container, const std::string& attribute, const Tree& tree) {
    const int c = TruncToInt(container->w * 0.5);
    const int rank = Flag("Level.Resource.Reputation");
    std::array<GUIText*, 5> captions{};
    for (size_t i = 0; i < tree.size(); ++i) {
        const TreeNode& node = tree[i];
        const bool rankReached = rank >= kRowRank[static_cast<size_t>(node.row)];
        const bool below = node.after[0] == '\0' || Flag(node.after) > 0;
        captions[i] = Level::AddPowerButton(container, c + node.column, kRowY[static_cast<size_t>(node.row)],
                                            node.icon, node.caption, node.key, attribute,
                                            rankReached && below ? 1 : 0);
    }
    SpreadCaptions(tree, captions, container->w);
    GlyphFont* small = Fonts::Get("s");
    for (size_t row = 1; row < kRowY.size(); ++row) {
        const int y = kRowY[row];
        GUIText* note =
            GUIText::Create(12, static_cast<float>(y),
                            std::string("Rank") + Data::kBreak + "'" + Profile::RankTitle(kRowRank[row]) +
                                "'" + Data::kBreak + "required",
                            small, 0);
        note->center = 1;
        note->SetWidth(container->w);
        // The margin left of the first column is narrower than a rank's name: the note stands in
        // a cell of its row that holds no node instead (every row leaves one free).
        if (const int free = FreeColumn(tree, static_cast<int>(row)); free != kNoColumn) {
            note->x = static_cast<float>(c + free - note->w / 2);
            note->y = static_cast<float>(y + (kNodeSize - note->h) / 2);
        }
        container->Add21(note, 1000);
        // Only the arrow's tip shows: it joins the middle node of the row above to the one of this
        // row, where both rows have one; an arrow into an empty cell points at nothing.
        if (Holds(tree, static_cast<int>(row) - 1, kMiddle) && Holds(tree, static_cast<int>(row), kMiddle))
            AddArrow(container, c, y);
    }
}

// "OK" keeps the picks and closes the tree. It waits until every point is spent; a tree opened
// with nothing to spend (the signal raised by the story, not by a level) can be closed at once.
void ShowOkState() {
    if (Level::okButton) Level::okButton->active = Level::powerPoints < 1 ? 1 : 0;
}

}  // namespace

void Level::InitGlobals() {
    powerPoints = 0;
    okButton = nullptr;
    undoButton = nullptr;
    undoList.clear();
}

void Level::AddPhysical(GUIContainer* container, const std::string& attribute) {
    AddTree(container, attribute, kPhysical);
}

void Level::AddElemental(GUIContainer* container, const std::string& attribute) {
    AddTree(container, attribute, kElemental);
}

void Level::AddMental(GUIContainer* container, const std::string& attribute) {
    AddTree(container, attribute, kMental);
}

GUIText* Level::AddPowerButton(GUIContainer* container, int x, int y, const std::string& image,
                               const std::string& caption, const std::string& key, const std::string& attribute,
                               int open) {
    const int level = Flag(key);
    GUIButton* button = GUIButton::Create(static_cast<float>(x), static_cast<float>(y),
                                          open ? image : image + "s", &levelCallback);
    button->id = "option";
    button->name = key;
    button->value = attribute;
    button->x -= static_cast<float>(button->w / 2);
    button->active = open && powerPoints >= 1 ? 1 : 0;
    container->Add21(button, 100);

    GUIText* label = GUIText::Create(0, static_cast<float>(y + button->h), caption, Fonts::Get("s"), 0);
    label->x = static_cast<float>(x - label->w / 2);
    container->Add21(label, 95);

    GUIText* number = GUIText::Create(0, 0, std::to_string(level), Fonts::Get("oxs"), kWhite);
    number->x = button->x + static_cast<float>(button->w - 8 - number->w);
    number->y = button->y + static_cast<float>(button->h - 4 - number->h);
    container->Add21(number, 105);
    return label;
}

GUIContainer* Level::BuildTree(const std::string& attribute) {
    GUIContainer* popup = GUIContainer::Create(0, 0);
    popup->id = "result";
    // The background is the popup's frame: it lies under everything, the faded icons too.
    popup->Add21(GUIImage::Create(0, 0, "LevelUpBgBig", 0), kBackground);
    if (attribute == kStrength) {
        AddPhysical(popup, attribute);
    } else if (attribute == kEssence) {
        AddElemental(popup, attribute);
    } else {
        AddMental(popup, attribute);
    }

    GlyphFont* captionFont = Fonts::Get("on");
    const float middle = static_cast<float>(TruncToInt(popup->w * 0.5));
    const float bottom = static_cast<float>(popup->h);
    okButton =
        GUITextButton::Create(middle, bottom, "Buttons01", "OK", captionFont, kWhite, &levelCallback, 0);
    okButton->x -= static_cast<float>(okButton->w);
    okButton->y -= static_cast<float>(okButton->h + 16);
    okButton->name = "ok";
    okButton->value = attribute;
    okButton->id = "result";
    okButton->active = 0;
    popup->AddLast20(okButton);
    undoButton =
        GUITextButton::Create(middle, bottom, "Buttons01", "Undo", captionFont, kWhite, &levelCallback, 0);
    undoButton->y -= static_cast<float>(undoButton->h + 16);
    undoButton->name = "undo";
    undoButton->value = attribute;
    undoButton->id = "result";
    undoButton->active = 0;
    popup->AddLast20(undoButton);
    ShowOkState();

    GUIText* title = GUIText::Create(0, 0, "Power Up!", Fonts::Get("ob"), kWhite);
    title->x = static_cast<float>((popup->w - title->w) / 2);
    title->y = -0.5f * static_cast<float>(title->h);
    popup->AddLast20(title);
    popup->padX = 48;
    popup->padY = 24;

    if (Data::virtualHeight < Data::virtualWidth) {
        GUIList::Add(popup, 1700, kAlignCentre, kAlignCentre);
        // Room on the right for the preview card.
        if (popup->x + static_cast<float>(popup->w + 288) > static_cast<float>(Data::virtualWidth)) {
            popup->x = static_cast<float>(Data::virtualWidth - popup->w - 288);
        }
    } else {
        GUIList::Add(popup, 1700, kAlignCentre, kAlignBottom);
    }
    return popup;
}

void Level::InitPowerUp(const std::string& attribute) {
    // The signal is story data too; a key without a tree would leave a popup nobody can close.
    if (TreeOf(attribute) == nullptr) {
        platform::PrintLine("Level.InitPowerUp: \"" + attribute + "\" has no power tree; nothing opens");
        return;
    }
    Audio::PlaySound(11, 1.0f);
    GUIList::Suspend();
    powerPoints = Flag("Level." + attribute) - Flag("PowerUp." + attribute);
    undoList.clear();
    GUIContainer* tree = BuildTree(attribute);
    // The tree fades in while the player may still be clicking through what came before it (the
    // dialogue whose reward raised the level): its buttons take no press until it is fully shown,
    // and a press held from before it came counts as begun elsewhere, so no point is spent unseen.
    const int fadeInFrames = static_cast<int>(std::ceil(kFadeInMs / std::max(1.0f, Data::frameMs)));
    for (GUIItem* item : tree->items) {
        if (auto* button = dynamic_cast<GUIPressable*>(item)) button->wait = fadeInFrames;
    }
    InitPowerPreview(attribute);
}

void Level::UpdatePowerUp(const std::string& attribute) {
    if (TreeOf(attribute) == nullptr) return;
    BuildTree(attribute)->SetAlpha(1.0f);
}

void Level::DecidePower(const std::string& attribute) {
    std::string attack;
    if (attribute == kStrength) {
        const int d = Flag("Power.Physical.Damage"), f = Flag("Power.Physical.Fire");
        const int b = Flag("Power.Physical.Beam"), s = Flag("Power.Physical.Stone");
        if (f == 0 && b == 0 && s == 0) {
            attack = d < 3 ? "Left Hook" : "Power Punch";
        } else if (f >= 1 && b == 0) {
            attack = f + s < 3 ? "Fire Punch" : "Clobbering Time";
        } else {
            attack = b == 0 && s > 0 ? "Clobbering Time" : "Power Blitz";
        }
    } else if (attribute == kEssence) {
        const int e = Flag("Power.Elemental.Energy"), el = Flag("Power.Elemental.Electric");
        const int t = Flag("Power.Elemental.Thunder"), fr = Flag("Power.Elemental.Freeze");
        if (el == 0 && t == 0 && fr == 0) {
            attack = e < 3 ? "Energy Arrow" : "Energy Strike";
        } else if (el >= 1 && t == 0 && fr == 0) {
            attack = "Electro Blast";
        } else if (el >= 1 && t >= 1 && fr == 0) {
            attack = "Thunder Storm";
        } else if (fr >= 1 && t == 0) {
            attack = "Energy Strike";
        } else {
            attack = "Ragnarok";
        }
    } else if (attribute == kIntelligence) {
        const int bo = Flag("Power.Mental.Bolt"), c = Flag("Power.Mental.Confusion");
        const int bl = Flag("Power.Mental.Blast"), co = Flag("Power.Mental.Control");
        if (bl == 0 && co == 0) {
            attack = bo >= 1 && c >= 1 ? "Mind Blast" : "Psycho Bolt";
        } else if (bo > 0 && c == 0 && bl > 0 && co == 0) {
            attack = "Meltdown";
        } else if (bo > 0 && c > 0 && bl > 0 && co == 0) {
            attack = "Psycho Strike";
        } else {
            attack = "Soul Crusher";
        }
    } else {
        return;
    }
    Profile::SetFlagString("Power." + attribute, attack);
}

void Level::InitPowerPreview(const std::string& attribute) {
    GUIContainer* preview = GUIContainer::Create(0, 0);
    preview->id = "preview";
    preview->padX = 24;
    preview->padY = 24;
    preview->Add21(GUIImage::Create(0, 0, "LevelUpBgSmall", 0), kBackground);
    GUIText* heading = GUIText::Create(0, 16, "Power Preview", Fonts::Get("os"), kWhite);
    heading->x = static_cast<float>(TruncToInt(preview->w * 0.5) - heading->w / 2);
    preview->AddLast20(heading);

    DecidePower(attribute);
    const int level = Flag("PowerUp." + attribute);
    const std::string attack = Profile::GetFlagString("Power." + attribute);
    const Power* power = Powers::Get(attack);
    // The power table is checked for every attack at start-up; a missing one shows its name only.
    if (power) {
        AddPower(preview, power, level, TruncToInt(preview->w * 0.5), 64);
    } else if (!attack.empty()) {
        AddCard(preview, attack, attribute, nullptr, level, TruncToInt(preview->w * 0.5), 64);
    }

    if (Data::virtualHeight < Data::virtualWidth) {
        GUIList::Add(preview, 1701, kAlignCentre, kAlignCentre);
        if (const GUIItem* popup = GUIList::Get("result", "")) {
            preview->x = popup->x + static_cast<float>(popup->w + 16);
        }
    } else {
        GUIList::Add(preview, 1701, kAlignCentre, kAlignTop);
    }
}

void Level::AddPower(GUIContainer* container, const Power* power, int level, int x, int y) {
    if (power == nullptr) return;
    AddCard(container, power->id, power->attribute, power, level, x, y);
}

void Level::AddCard(GUIContainer* container, const std::string& name, const std::string& attribute,
                    const Power* power, int level, int x, int y) {
    const int colour = Data::PaletteColour(attribute == kStrength ? 7 : attribute == kEssence ? 6 : 5);
    GUIText* title =
        GUIText::Create(static_cast<float>(x), static_cast<float>(y), name, Fonts::Get("os"), colour);
    const int oneLine = title->h;
    title->center = 1;
    title->SetWidth(128);
    if (title->h > oneLine) title->y -= static_cast<float>(oneLine / 2);
    title->x = static_cast<float>(x - title->w / 2);
    container->Add21(title, 10);

    GlyphFont* small = Fonts::Get("oxs");
    GUIText* levelText = GUIText::Create(0, title->y + static_cast<float>(title->h),
                                         "Level " + std::to_string(level), small, kWhite);
    levelText->x = static_cast<float>(x - levelText->w / 2);
    container->Add21(levelText, 10);
    float bottom = levelText->y + static_cast<float>(levelText->h);

    // The power's sign stands under its name and level, the numbers under the sign: no line is
    // drawn over the picture, where it could not be read.
    if (power) {
        const int frame = attribute == kStrength ? 0 : attribute == kEssence ? 1 : 2;
        GUIImage* icon = GUIImage::Create(0, 0, "Tiles64x64", frame);
        icon->id = "icon";
        icon->x = title->x + static_cast<float>(title->w / 2 - icon->w / 2);
        icon->y = bottom + 4;
        container->Add21(icon, -10);
        Data::KillTweens(&icon->alpha);
        icon->alpha.value = 0.5f;
        bottom = icon->y + static_cast<float>(icon->h);
    }

    if (power && level > 0) {
        std::string text;
        if (power->maxDamage(level) > 0) {
            text += "Damage: " + std::to_string(power->minDamage(level)) + " - " +
                    std::to_string(power->maxDamage(level)) + Data::kBreak;
        }
        const std::string effect = power->effectDescription();
        if (!effect.empty()) text += effect + Data::kBreak;
        text += "Cost: " + std::to_string(power->cost(level));
        GUIText* description = GUIText::Create(0, bottom + 4, text, small, kWhite);
        description->center = 1;
        description->SetWidth(container->w);
        description->x = static_cast<float>(x - description->w / 2);
        container->Add21(description, 10);
    }
}

int LevelCallback::Call(GUIItem* sender) {
    if (sender == nullptr) return 0;
    // The sender goes back to its pool with the popup below: keep what it carries.
    const std::string attribute = sender->value;
    const std::string key = sender->name;
    if (sender->id == "option") {
        if (Level::powerPoints < 1) return 0;
        Audio::PlaySound(30, 1.0f);
        Level::powerPoints -= 1;
        Level::undoList.push_back(key);
        Profile::AddFlagInt(key, 1);
        Profile::AddFlagInt("PowerUp." + attribute, 1);
        GUIList::Delete("result", "");
        GUIList::Delete("preview", "");
        Level::UpdatePowerUp(attribute);
        Level::InitPowerPreview(attribute);
        GUIParticleDot::CreateBang(TruncToInt(Data::mouseVX), TruncToInt(Data::mouseVY), 32, kWhite, 1.0f,
                                   nullptr);
        ShowOkState();
        if (Level::undoButton) Level::undoButton->active = 1;
    } else if (key == "ok") {
        Level::undoList.clear();
        Level::okButton = nullptr;
        Level::undoButton = nullptr;
        GUIList::FadeOut("result", "");
        GUIList::FadeOut("preview", "");
        GUIList::Resume();
    } else if (key == "undo") {
        const int n = static_cast<int>(Level::undoList.size());
        Level::powerPoints += n;
        Profile::AddFlagInt("PowerUp." + attribute, -n);
        for (const std::string& picked : Level::undoList) Profile::AddFlagInt(picked, -1);
        Level::undoList.clear();
        GUIList::Delete("result", "");
        GUIList::Delete("preview", "");
        Level::UpdatePowerUp(attribute);
        Level::InitPowerPreview(attribute);
        ShowOkState();
        if (Level::undoButton) Level::undoButton->active = 0;
    }
    return 0;
}
