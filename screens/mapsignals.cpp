// The signals the rest of the game leaves for the map in the profile, taken in a fixed order with
// at most one visible reaction a frame; the pan of the view to a place; and the two-line message
// that slides in from both sides.
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/clearance.hpp"
#include "gui/container.hpp"
#include "gui/dialogue.hpp"
#include "gui/gui2.hpp"
#include "gui/popup.hpp"
#include "gui/text.hpp"
#include "gui/textbutton.hpp"
#include "model/actions.hpp"
#include "model/data2.hpp"
#include "model/locations.hpp"
#include "model/profile.hpp"
#include "model/quests.hpp"
#include "model/upgrades.hpp"
#include "screens/base.hpp"
#include "screens/level.hpp"
#include "screens/map.hpp"

namespace {

// The side of a place's button on the map.
constexpr int kPlaceSize = 80;
// Air a place the view pans to keeps from the buttons of an open place menu, and the step of the
// search for a view where it has it.
constexpr float kMenuAir = 8;
constexpr int kAsideStep = 8;

// The three power attributes, with the keys of their levels and spent points made once: the map
// asks about them every frame.
struct PowerKeys {
    std::string attribute;
    std::string level;
    std::string spent;
};

const std::array<PowerKeys, 3>& Powers() {
    static const std::array<PowerKeys, 3> keys = [] {
        std::array<PowerKeys, 3> k;
        const char* names[] = {"Attribute.Strength", "Attribute.Essence", "Attribute.Intelligence"};
        for (size_t i = 0; i < k.size(); ++i) {
            k[i].attribute = names[i];
            k[i].level = std::string("Level.") + names[i];
            k[i].spent = std::string("PowerUp.") + names[i];
        }
        return k;
    }();
    return keys;
}

const std::string& NewLocationKey() {
    static const std::string key = "Game.NewLocation";
    return key;
}

// A signal's value, taken: the flag is emptied. Empty when none is pending.
std::string Take(const std::string& key) {
    std::string value = Profile::GetFlagString(key);
    if (!value.empty()) Profile::SetFlagString(key, "");
    return value;
}

bool ChainRunning() {
    return Actions::currentAction != nullptr;
}

// The level-up text names the attribute without its family: "Strength" of "Attribute.Strength".
// A value without a family is shown whole.
std::string AfterFamily(const std::string& key) {
    const size_t dot = key.find('.');
    if (dot == std::string::npos) return key;
    const size_t next = key.find('.', dot + 1);
    return key.substr(dot + 1, next == std::string::npos ? std::string::npos : next - dot - 1);
}

}  // namespace

int MapScreen::CheckFlags() {
    if (Dungeon* dungeon = Quests::currentDungeon) {
        if (!dungeon->location.empty() && Profile::GetFlagString("ArriveAt") == dungeon->location) {
            GUIList::FadeOut("arrow", "dungeon");
            Popup::ShowChoice("", dungeon->description, "Let's go!", "Not now...", "dungeon", mapCallback.get(), 1);
            return 1;
        }
    }
    for (const PowerKeys& power : Powers()) CheckLevelUp(power.attribute);

    const std::string fade = Take("FadeOut");
    if (!fade.empty()) {
        GUIList::FadeOut(fade, "");
        if (fade == "citizen") citizensFled = 1;
    }

    const std::string dialogue = Take("Dialogue");
    if (!dialogue.empty()) {
        // As for a dialogue of the story's actions, the clock corner and the quest step aside: the
        // dialogue's black bars would cut them in half. The map makes them again afterwards.
        for (const char* panel : {"time", "quest"}) GUIList::FadeOut(panel, "");
        GUIList::AddLast(std::make_shared<GUIDialogue>(dialogue, 1));
        return 1;
    }

    if (!ChainRunning()) {
        if (!Take("Refresh").empty()) Actions::Clear();
        if (!Take("RefreshQuest").empty()) Quests::Clear();
        if (!Take("Goto").empty()) {
            Data::ExitScreen(MapScreen::MapScreen_new(), 500);
            fading = 1;
            return 1;
        }
    }

    const std::string move = Take("MoveTo");
    if (!move.empty()) moveTo = move;
    CheckMoveTo();
    // A message placed while the view pans would be placed clear of the hero's icon where it
    // stands now, and the pan would carry the icon under it: the messages wait for the view.
    if (!moveTo.empty() || aside) return 0;

    if (GUIList::Get("quest", "title") != nullptr || GUIList::Get("result", "") != nullptr) return 0;

    const std::string levelUp = Take("Game.LevelUp");
    if (!levelUp.empty()) {
        Audio::PlaySound(30, 1.0f);
        ShowMessage("Level Up!", AfterFamily(levelUp) + " is now level " +
                                     std::to_string(Profile::GetFlagInt("Level." + levelUp)) + "!");
        return 1;
    }
    const std::string villain = Take("Game.Villain");
    if (!villain.empty()) {
        Audio::PlaySound(30, 1.0f);
        ShowMessage("Villain Defeated!", villain);
        return 1;
    }
    const std::string powerUp = Take("Game.PowerUp");
    if (!powerUp.empty()) {
        Audio::PlaySound(11, 1.0f);
        Level::InitPowerUp(powerUp);
        return 1;
    }
    const std::string rankUp = Take("Game.RankUp");
    if (!rankUp.empty()) {
        Audio::PlaySound(30, 1.0f);
        ShowMessage("Rank Up!", std::string("New rank is ") +
                                    Profile::RankTitle(Profile::GetFlagInt("Level." + rankUp)) + "!");
        return 1;
    }
    const std::string place = Take(NewLocationKey());
    if (!place.empty()) {
        ShowMessage("New Location!", place);
        return 1;
    }
    const std::string upgrade = Take("Game.NewUpgrade");
    if (!upgrade.empty()) {
        const UpgradeItem* item = Upgrades::Get(upgrade, 1);
        ShowMessage(upgrade, item != nullptr ? item->text : std::string());
        return 1;
    }
    if (!Take("Game.ShowBase").empty()) {
        Base::InitBase();
        return 1;
    }
    return 0;
}

void MapScreen::CheckLevelUp(const std::string& key) {
    for (const PowerKeys& power : Powers()) {
        if (power.attribute != key) continue;
        if (!Profile::GetFlagString("Game.PowerUp").empty()) return;
        if (Profile::GetFlagInt(power.spent) < Profile::GetFlagInt(power.level)) {
            Profile::SetFlagString("Game.PowerUp", key);
        }
        return;
    }
}

void MapScreen::CheckMoveTo() {
    if (moveTo.empty()) {
        if (!aside) return;
        // The player's own drag takes the view over from the step aside.
        if (Data::mouseHeld != 0 || !PanToward(asideX, asideY, 0)) aside = 0;
        return;
    }
    aside = 0;
    const LocationItem* location = Locations::Get(moveTo);
    if (location == nullptr) {
        moveTo.clear();
        return;
    }
    int bw = 0, bh = 0;
    BgSize(bw, bh);
    int tx = std::clamp(TruncToInt(location->x * Data::layoutScaleX - Data::virtualWidth * 0.5f + 100.0f), 0,
                        std::max(0, bw - Data::virtualWidth));
    // Vertically the place comes to the upper middle, its top two button heights above the place
    // menus' first row: the menu (its row from four tenths of the screen down, its people in the
    // bottom corners) covers nothing the story pans to, and the story's arrow fits between them.
    const float top = static_cast<float>(TruncToInt(Data::virtualHeight * 0.4f) - 2 * kPlaceSize);
    int ty = std::clamp(TruncToInt(location->y * Data::layoutScaleY - top), 0,
                        std::max(0, bh - Data::virtualHeight));
    StepAside(location, tx, ty);
    if (PanToward(tx, ty, 20)) return;
    moveTo.clear();
    // The pan stops within a stride of its aim: the last few pixels that keep what it weighed
    // clear are stepped exactly.
    StartAside(location);
}

bool MapScreen::StartAside(const LocationItem* location) {
    int tx = TruncToInt(xp), ty = TruncToInt(yp);
    StepAside(location, tx, ty);
    if (tx != TruncToInt(xp) || ty != TruncToInt(yp)) {
        asideX = tx;
        asideY = ty;
        aside = 1;
    }
    return !asideNames.empty();
}

void MapScreen::CheckMenuAside() {
    bool open = false;
    for (const GUIItem* item : *GUIList::currentList) {
        if (item->id == "button" && !item->removing && item->fadeWait <= 0) {
            open = true;
            break;
        }
    }
    // The view the map starts at is weighed once its places are up, unless the story pans away.
    // Only the places' names step the view aside: without them there is nothing to weigh.
    if (!moveTo.empty()) viewWeighed = 1;
    if (Data::mapNamesOn != 0) {
        if (open && !menuOpen && moveTo.empty()) {
            StartAside(nullptr);
        } else if (!viewWeighed) {
            viewWeighed = StartAside(nullptr) ? 1 : 0;
        }
    }
    menuOpen = open;
}

bool MapScreen::PanToward(int tx, int ty, float near) {
    const float step = Data::frameMs * 0.5f;
    bool moved = false;
    for (auto [at, to] : {std::pair<float*, float>{&xp, static_cast<float>(tx)}, {&yp, static_cast<float>(ty)}}) {
        const float gap = to - *at;
        if (std::fabs(gap) <= near) continue;
        // A stride, or, when stepping exactly, what is left when that is less.
        *at += near > 0 ? std::copysign(step, gap) : std::clamp(gap, -step, step);
        moved = true;
    }
    return moved;
}

namespace {

// One of the people an open place menu shows in the bottom corners.
bool MenuPerson(const GUIItem& item) {
    for (const ActionItem* action : Actions::actionButtons) {
        const auto* button = dynamic_cast<const ActionItemButton*>(action);
        if (button != nullptr && button->category == "character" && button->ButtonName() == item.name) return true;
    }
    return false;
}

// Drawn over the map and fixed on the screen: the buttons of an open place menu, the corner panel,
// the clock and the current quest. The menu's people stand clear of most of their box: a name
// beside one shows.
bool OverTheMap(const GUIItem& item) {
    if (item.removing || item.fadeWait > 0) return false;
    if (item.id == "button") return !MenuPerson(item);
    if (item.id == "quest") return item.name != "title" && item.name != "text";
    return item.id == "profile" || item.id == "time";
}

// The view's steps aside, nearest first, no further than a place's side either way.
const std::vector<std::pair<int, int>>& AsideSteps() {
    static const std::vector<std::pair<int, int>> steps = [] {
        std::vector<std::pair<int, int>> all;
        for (int dy = -kPlaceSize; dy <= kPlaceSize; dy += kAsideStep / 2) {
            for (int dx = -kPlaceSize; dx <= kPlaceSize; dx += kAsideStep / 2) {
                if (dx != 0 || dy != 0) all.emplace_back(dx, dy);
            }
        }
        std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
            return a.first * a.first + a.second * a.second < b.first * b.first + b.second * b.second;
        });
        return all;
    }();
    return steps;
}

}  // namespace

void MapScreen::StepAside(const LocationItem* location, int& tx, int& ty) const {
    using Box = AsideBox;
    const auto boxOf = [](const GUIItem& item) {
        const float x = item.x + static_cast<float>(item.xadd), y = item.y + static_cast<float>(item.yadd);
        return Box{x, y, x + static_cast<float>(item.w), y + static_cast<float>(item.h)};
    };
    // What lies over the map on the screen, the places' names on the map, and the open menu's
    // buttons.
    asideCovers.clear();
    asideNames.clear();
    asideMenu.clear();
    for (const GUIItem* item : *GUIList::currentList) {
        if (OverTheMap(*item)) asideCovers.push_back(boxOf(*item));
        if (item->id == "button" && !item->removing && item->fadeWait <= 0) asideMenu.push_back(boxOf(*item));
        const auto* place = dynamic_cast<const GUITextButton*>(item);
        if (place == nullptr || place->id != "location" || place->font == nullptr || place->text.empty()) continue;
        const float x = place->x + static_cast<float>(place->tx), y = place->y + static_cast<float>(place->ty);
        asideNames.push_back(Box{x, y, x + static_cast<float>(place->tw),
                                 y + static_cast<float>(Data::ExTextHeight(place->text, place->font))});
    }
    const GUIItem* shown = location ? GUIList::Get("location", location->id) : nullptr;
    const float px = location ? static_cast<float>(TruncToInt(location->x * Data::layoutScaleX)) : 0;
    const float py = location ? static_cast<float>(TruncToInt(location->y * Data::layoutScaleY)) : 0;
    const Box place{px, py, px + static_cast<float>(shown ? shown->w : kPlaceSize),
                    py + static_cast<float>(shown ? shown->h : kPlaceSize)};
    // Whether map box `m`, with the view at (x, y), meets screen box `s` with `air` round it.
    const auto meets = [](const Box& m, int x, int y, const Box& s, float air) {
        const float x0 = m.x0 - static_cast<float>(x), y0 = m.y0 - static_cast<float>(y);
        const float x1 = m.x1 - static_cast<float>(x), y1 = m.y1 - static_cast<float>(y);
        return x0 < s.x1 + air && s.x0 < x1 + air && y0 < s.y1 + air && s.y0 < y1 + air;
    };
    const auto placeCovered = [&](int x, int y) {
        if (location == nullptr) return false;
        for (const Box& button : asideMenu)
            if (meets(place, x, y, button, kMenuAir)) return true;
        return false;
    };
    const Box screen{0, 0, static_cast<float>(Data::virtualWidth), static_cast<float>(Data::virtualHeight)};
    const auto namesClear = [&](int x, int y) {
        for (const Box& name : asideNames) {
            // A name past the screen's edge is brought in by a drag, not hidden.
            if (!meets(name, x, y, screen, 0)) continue;
            for (const Box& cover : asideCovers)
                if (meets(name, x, y, cover, 0)) return false;
        }
        return true;
    };
    const auto allClear = [&](int x, int y) { return !placeCovered(x, y) && namesClear(x, y); };
    if (allClear(tx, ty)) return;
    int bw = 0, bh = 0;
    BgSize(bw, bh);
    const int maxX = std::max(0, bw - Data::virtualWidth), maxY = std::max(0, bh - Data::virtualHeight);
    // Names move the view no further than a place's side: it stays about where the story or the
    // player put it.
    for (const auto& [dx, dy] : AsideSteps()) {
        const int x = tx + dx, y = ty + dy;
        if (x < 0 || y < 0 || x > maxX || y > maxY || !allClear(x, y)) continue;
        tx = x;
        ty = y;
        return;
    }
    // The place the story pans to comes clear of the menu however far it must: along the map
    // first, then up or down it; none, and the view goes where it would have.
    if (!placeCovered(tx, ty)) return;
    for (const bool across : {true, false}) {
        const int limit = across ? maxX : maxY;
        const int from = across ? tx : ty;
        for (int d = kAsideStep; d <= limit; d += kAsideStep) {
            for (const int to : {from - d, from + d}) {
                if (to < 0 || to > limit || (across ? placeCovered(to, ty) : placeCovered(tx, to))) continue;
                (across ? tx : ty) = to;
                return;
            }
        }
    }
}

void MapScreen::ShowMessage(const std::string& title, const std::string& text) {
    const int vw = Data::virtualWidth;

    GUIContainer* upper = GUIContainer::Create(0, 0);
    upper->id = "result";
    upper->name = "upper";
    GUIText* heading = GUIText::Create(0, 0, title, Fonts::Get("ob"), 0xffffff);
    heading->SetWidth(vw);
    upper->AddLast20(heading);
    upper->x = -2.0f * upper->w;

    GUIContainer* lower = GUIContainer::Create(0, 0);
    lower->id = "result";
    lower->name = "lower";
    GUIText* body = GUIText::Create(0, 0, text, Fonts::Get("on"), 0xfff0e0);
    body->SetWidth(vw);
    body->center = 1;
    lower->AddLast20(body);
    lower->x = static_cast<float>(vw + 4 * lower->w);

    PlaceMessage(upper, lower);
    GUIList::Add(upper, 2500);
    upper->Move(static_cast<float>((vw - upper->w) / 2), upper->y, 500.0f);
    upper->FadeOut(500, 250);
    GUIList::Add(lower, 2500);
    lower->Move(static_cast<float>((vw - lower->w) / 2), lower->y, 750.0f);
    lower->FadeOut(500, 250);
}

void MapScreen::PlaceMessage(GUIItem* upper, GUIItem* lower) {
    const int vw = Data::virtualWidth;
    const int vh = Data::virtualHeight;
    const int upperTop = (vh - upper->h) / 2 - upper->h;
    const int lowerTop = (vh - lower->h) / 2;
    const float left = static_cast<float>(std::min((vw - upper->w) / 2, (vw - lower->w) / 2));
    const float right = static_cast<float>(std::max((vw + upper->w) / 2, (vw + lower->w) / 2));
    const float height = static_cast<float>(std::max(upperTop + upper->h, lowerTop + lower->h) - upperTop);
    // The lines slide in from the two sides of the screen: the band they land in is kept clear
    // across the whole width where it can be, so neither passes over the hero on its way in;
    // else clear where they come to rest.
    const float vwf = static_cast<float>(vw);
    float landed = ClearTop(static_cast<float>(upperTop), height, 0, vwf);
    if (!BandClear(landed, height, 0, vwf)) {
        landed = ClearTop(static_cast<float>(upperTop), height, left, right);
    }
    const int shift = TruncToInt(landed) - upperTop;
    upper->y = static_cast<float>(upperTop + shift);
    lower->y = static_cast<float>(lowerTop + shift);
}
