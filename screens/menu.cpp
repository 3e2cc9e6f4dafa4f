// The character sheet and the floating number.
#include "screens/menu.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "core/glyphfont.hpp"
#include "core/strings.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/click.hpp"
#include "gui/container.hpp"
#include "gui/gui2.hpp"
#include "gui/hero.hpp"
#include "gui/image.hpp"
#include "gui/meterattribute.hpp"
#include "gui/particle.hpp"
#include "gui/popup.hpp"
#include "gui/text.hpp"
#include "model/data2.hpp"
#include "model/powers.hpp"
#include "model/profile.hpp"
#include "screens/level.hpp"

MenuCallback Menu::menuCallback;

namespace {

constexpr int kWhite = 0xffffff;
// The portrait's place in the sheet's layout; the picture itself is larger and stands out of it.
constexpr int kPortraitW = 156;
constexpr int kPortraitH = 176;
// The body's picture fills its 256-unit square nearly edge to edge, the cape widest. Drawn whole
// where the sheet puts it, the cape would cross the frame's border, reach under the meters' names
// and the hair under the hero's name. A little smaller, its bottom on the bar where it was and its
// left edge further right, it keeps clear of all three.
constexpr float kPortraitScale = 0.84f;
constexpr float kPortraitShift = 30;

// The meters top to bottom with their palette entries: attributes, skills, reputation.
struct MeterRow {
    const char* key;
    int paletteEntry;
};

constexpr std::array<MeterRow, 10> kMeters = {{
    {"Attribute.Strength", 3},
    {"Attribute.Essence", 3},
    {"Attribute.Intelligence", 3},
    {"Attribute.Constitution", 3},
    {"Attribute.Ethics", 3},
    {"Skill.Manual Labor", 2},
    {"Skill.Management", 2},
    {"Skill.Science", 2},
    {"Skill.Learning", 2},
    {"Resource.Reputation", 1},
}};

// The attack keys in card order, each with the attribute level its card shows.
struct AttackRow {
    const char* attackKey;
    const char* levelKey;
};

constexpr std::array<AttackRow, 3> kAttacks = {{
    {"Power.Attribute.Strength", "Level.Attribute.Strength"},
    {"Power.Attribute.Essence", "Level.Attribute.Essence"},
    {"Power.Attribute.Intelligence", "Level.Attribute.Intelligence"},
}};

// The widest text of a card, as its left and right edge.
std::pair<float, float> TextSpan(const std::vector<GUIItem*>& card) {
    float left = 0, right = 0;
    bool any = false;
    for (const GUIItem* item : card) {
        if (dynamic_cast<const GUIText*>(item) == nullptr) continue;
        const float l = item->x, r = item->x + static_cast<float>(item->w);
        left = any ? std::min(left, l) : l;
        right = any ? std::max(right, r) : r;
        any = true;
    }
    return {left, right};
}

// Cards stand 128 apart, but a card's damage line in the comic font can be wider than that: a card
// that would touch the one before moves right as far as it must, and the row stays centred.
void SpreadCards(const std::vector<std::vector<GUIItem*>>& cards) {
    constexpr float kGap = 24;
    float shift = 0;
    float prevRight = 0;
    std::vector<float> shifts;
    for (size_t i = 0; i < cards.size(); ++i) {
        const auto [left, right] = TextSpan(cards[i]);
        if (i > 0) shift += std::max(0.0f, prevRight + kGap - (left + shift));
        shifts.push_back(shift);
        prevRight = right + shift;
    }
    const float recentre = static_cast<float>(TruncToInt(shift * 0.5f));
    for (size_t i = 0; i < cards.size(); ++i) {
        for (GUIItem* item : cards[i]) item->x += shifts[i] - recentre;
    }
}

// Floating numbers that arrive together would print over each other: a new one that would cover a
// number still on screen goes just below it (they drift at one speed and stay apart).
void KeepClearOfOtherNumbers(GUIParticle* number) {
    const auto covers = [number](const GUIItem* other) {
        return number->x < other->x + static_cast<float>(other->w) && other->x < number->x + static_cast<float>(number->w) &&
               number->y < other->y + static_cast<float>(other->h) && other->y < number->y + static_cast<float>(number->h);
    };
    const std::array<const GUIItemList*, 2> lists = {GUIList::currentList.get(), &GUIList::addQueue};
    // Each move goes below another number, so a handful of moves settles any pile.
    for (int moves = 0; moves < 32; ++moves) {
        const GUIParticle* below = nullptr;
        for (const GUIItemList* list : lists) {
            for (int i = 0; i < list->Size(); ++i) {
                const auto* other = dynamic_cast<const GUIParticle*>(list->Get2(i));
                if (other == nullptr || other == number || other->text.empty() || !covers(other)) continue;
                if (below == nullptr || other->y + static_cast<float>(other->h) > below->y + static_cast<float>(below->h)) {
                    below = other;
                }
            }
        }
        if (below == nullptr) return;
        number->py.value = below->y + static_cast<float>(below->h);
        number->y = number->py.value;
    }
}

// The widget draws its picture scaled about the middle of its own (smaller) box: placed so that
// the drawn picture starts kPortraitShift right of where it did and ends at the same bottom.
void FitPortrait(GUIHero* hero) {
    const float side = hero->image ? static_cast<float>(hero->image->h) : static_cast<float>(hero->h);
    const float s = kPortraitScale;
    Data::KillTweens(&hero->scale);
    hero->scale.value = s;
    hero->x += kPortraitShift - (1 - s) * static_cast<float>(hero->w) * 0.5f;
    hero->y += (1 - s) * side - (1 - s) * static_cast<float>(hero->h) * 0.5f;
}

}  // namespace

void Menu::ShowNumber(int x, int y, const std::string& text, int colour, float angle, float speed,
                      int fadeSpeed, GlyphFont* font, int priority) {
    GUIParticle* number = GUIParticle::Create(x, y, "", text, font, colour);
    number->px.value -= static_cast<float>(number->w / 2);
    number->py.value -= static_cast<float>(number->h / 2);
    number->x = number->px.value;
    number->y = number->py.value;
    KeepClearOfOtherNumbers(number);
    number->Move2(angle, speed);
    number->FadeOut(fadeSpeed, 40);
    GUIList::Add(number, priority + 2000);
}

void Menu::ShowCharacterInfo() {
    GUIContainer* sheet = GUIContainer::Create(0, 0);
    sheet->id = "result";
    GUIList::Suspend();
    AddPortrait(sheet);
    AddLevels(sheet, 280, 0);

    GlyphFont* small = Fonts::Get("os");
    GUIText* time = GUIText::Create(0, static_cast<float>(sheet->h + 4),
                                    "Play time: " + PlayTimeText(Profile::GetFlagInt("TimePlayed")), small, kWhite);
    time->x = static_cast<float>(TruncToInt(sheet->w * 0.5) - time->w / 2);
    sheet->AddLast20(time);
    AddPowers(sheet, 0, sheet->h + 16);

    GUIClickButton* close = GUIClickButton::Create(0, static_cast<float>(sheet->h + 20), "Click to continue",
                                                   small, kWhite, &menuCallback);
    close->id = "result";
    close->name = "ok";
    sheet->AddLast20(close, kAlignCentre, 0);
    sheet->h += 4;
    Popup::AddFrameRounded(sheet);

    GUIText* title = GUIText::Create(0, 0, Profile::GetFlagString("Name"), Fonts::Get("ob"), kWhite);
    title->x = static_cast<float>((sheet->w - title->w) / 2);
    title->y = -0.4f * static_cast<float>(title->h);
    sheet->AddLast20(title);
    GUIList::Add(sheet, 1700, kAlignCentre, kAlignCentre);
}

void Menu::AddPortrait(GUIContainer* container) {
    GUIHero* hero = GUIHero::Create(0, 0);
    hero->w = kPortraitW;
    hero->h = kPortraitH;
    container->AddLast20(hero);

    GUIImage* bar = GUIImage::Create(0, 0, "HealthBar", 0);
    bar->x = static_cast<float>((kPortraitW - bar->w) / 2);
    bar->y = static_cast<float>(kPortraitH - bar->h);
    container->AddLast20(bar);

    GlyphFont* font = Fonts::Get("os");
    const int health = Profile::GetFlagInt("Level.Attribute.Constitution") * 5 + 20;
    // Named, as the bar alone does not say what the number counts.
    GUIText* healthText = GUIText::Create(0, bar->y, "Health: " + std::to_string(health), font, kWhite);
    healthText->x = bar->x + static_cast<float>((bar->w - healthText->w) / 2);
    container->AddLast20(healthText);

    GUIText* rank =
        GUIText::Create(0, bar->y - static_cast<float>(bar->h - 4),
                        Profile::RankTitle(Profile::GetFlagInt("Level.Resource.Reputation")), font, kWhite);
    rank->x = static_cast<float>((kPortraitW - rank->w) / 2);
    container->AddLast20(rank);

    hero->x -= 50;
    hero->y -= 80;
    FitPortrait(hero);
}

void Menu::AddLevels(GUIContainer* container, int x, int y) {
    for (const MeterRow& row : kMeters) {
        GUIMeterAttribute* meter =
            GUIMeterAttribute::Create(static_cast<float>(x), static_cast<float>(y),
                                      Data::PaletteColour(row.paletteEntry), row.key, 0, 1);
        container->AddLast20(meter);
        y += meter->h + 2;
    }
    container->w += 48;
}

void Menu::AddPowers(GUIContainer* container, int /*x*/, int y) {
    // An attack the power table lacks (told at start-up) gets no card; the others stay centred.
    std::array<const Power*, kAttacks.size()> powers{};
    std::array<int, kAttacks.size()> levels{};
    int n = 0;
    for (const AttackRow& row : kAttacks) {
        const std::string attack = Profile::GetFlagString(row.attackKey);
        if (attack.empty()) continue;
        const Power* power = Powers::Get(attack);
        if (power == nullptr) continue;
        powers[static_cast<size_t>(n)] = power;
        levels[static_cast<size_t>(n)] = Profile::GetFlagInt(row.levelKey);
        ++n;
    }
    if (n == 0) return;
    int px = TruncToInt(container->w * 0.5);
    if (n > 1) px -= (n - 1) * 64;
    std::vector<std::vector<GUIItem*>> cards;
    for (int i = 0; i < n; ++i) {
        const std::vector<GUIItem*> before = container->items.ToArray();
        Level::AddPower(container, powers[static_cast<size_t>(i)], levels[static_cast<size_t>(i)], px, y);
        std::vector<GUIItem*>& card = cards.emplace_back();
        for (GUIItem* item : container->items) {
            if (std::find(before.begin(), before.end(), item) == before.end()) card.push_back(item);
        }
        px += 128;
    }
    SpreadCards(cards);
    // Spread apart, a row of three can be wider than the sheet: the sheet widens on both sides
    // (everything on it moves along) so that no damage line spills past its frame.
    float left = 0, right = static_cast<float>(container->w);
    for (const auto& card : cards) {
        const auto [l, r] = TextSpan(card);
        left = std::min(left, l);
        right = std::max(right, r);
    }
    const int grow = static_cast<int>(std::ceil(std::max(-left, right - static_cast<float>(container->w))));
    if (grow > 0) {
        for (GUIItem* item : container->items) item->x += static_cast<float>(grow);
        container->w += 2 * grow;
    }
}

int MenuCallback::Call(GUIItem* sender) {
    if (sender == nullptr) return 0;
    GUIList::FadeOut(sender->id, "");
    GUIList::Resume();
    return 0;
}
