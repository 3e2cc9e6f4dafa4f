// The map's heads-up display, its event timers and its place buttons: what the map makes again
// whenever it is missing (after a full-screen game faded the map out), and what appears on its
// own (a resource beside a citizen, a burglar, a distress call).
#include <cmath>
#include <memory>

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/arrow.hpp"
#include "gui/audio2.hpp"
#include "gui/button.hpp"
#include "gui/gui2.hpp"
#include "gui/image.hpp"
#include "gui/particledot.hpp"
#include "gui/textbutton.hpp"
#include "gui/time.hpp"
#include "model/data2.hpp"
#include "model/locations.hpp"
#include "model/profile.hpp"
#include "model/quests.hpp"
#include "platform/random.hpp"
#include "screens/map.hpp"
#include "screens/walkers.hpp"

namespace {

// Flag keys too long for a string's own buffer, read every frame: made once.
const std::string& BurglarAlarmKey() {
    static const std::string key = "Upgrade.Burglar Alarm";
    return key;
}
const std::string& DistressMeterKey() {
    static const std::string key = "Upgrade.Distress-o-Meter";
    return key;
}
const std::string& FirstBattleKey() {
    static const std::string key = "Flag.FirstBattle";
    return key;
}
const std::string& ZeroToWannabeKey() {
    static const std::string key = "Quest.Zero to Wannabe";
    return key;
}

GUIButton* ProfileButton(const char* image, const char* name, Callback* callback) {
    GUIButton* button = GUIButton::Create(0, 0, image, callback);
    button->id = "profile";
    button->name = name;
    return button;
}

// The first text button, then the first plain button, of a place: its revealed and greyed looks.
GUIItem* FindOfKind(const std::string& id, bool text) {
    for (GUIItem* item : *GUIList::currentList) {
        if (item->removing || item->id != "location" || item->name != id) continue;
        if ((dynamic_cast<GUITextButton*>(item) != nullptr) == text) return item;
    }
    for (GUIItem* item : GUIList::addQueue) {
        if (item->id != "location" || item->name != id) continue;
        if ((dynamic_cast<GUITextButton*>(item) != nullptr) == text) return item;
    }
    return nullptr;
}

// A walker the story points at walks over the menu of the place the hero stands at (its buttons
// and its people), under the arrow and the heads-up display: none of them hides it or catches the
// click meant for it.
constexpr int kPointedWalker = 1400;

// Points an arrow at the walker of that id unless one already does or the walker is leaving.
void PointAtWalker(const char* id, bool follow) {
    GUIItem* walker = GUIList::Get(id, "");
    if (walker == nullptr || walker->removing || walker->fadeWait > 0 || GUIList::Get("arrow", id) != nullptr) return;
    auto arrow = std::make_shared<GUIArrow>(walker, "arrow", id, 1);
    if (follow) arrow->follow = walker;
    GUIList::Add(std::move(arrow), 1500);
}

void RemoveOfKind(const std::string& id, bool text) {
    if (GUIItem* item = FindOfKind(id, text)) GUIList::Remove(item);
}

}  // namespace

int MapScreen::CheckElements() {
    CheckHud();
    UpdateTimers();
    return 0;
}

void MapScreen::CheckHud() {
    GUIItem* player = GUIList::Get("player", "");
    if (player == nullptr) {
        GUIImage* icon = GUIImage::Create(static_cast<float>(TruncToInt(x.value)), static_cast<float>(TruncToInt(y.value)),
                                          "HeroSmall80x80", 0);
        icon->frame = Profile::GetFlagInt("CharacterIcon");
        icon->id = "player";
        icon->x -= static_cast<float>(icon->w / 2);
        icon->y -= static_cast<float>(icon->h / 2);
        GUIList::Add(icon, 800);
        player = icon;
    }
    if (GUIList::Get("profile", "") == nullptr) {
        GUIImage* corner = GUIImage::Create(0, 0, "Corner", 0);
        corner->id = "profile";
        corner->name = "corner";
        GUIList::Add(corner, 1600, kAlignLeft, kAlignBottom);
        GUIButton* menu = ProfileButton("ProfileButtonMenu", "menu", mapCallback.get());
        menu->padX = 4;
        menu->padY = 4;
        GUIList::Add(menu, 1601, kAlignLeft, kAlignBottom);
        GUIButton* profile = ProfileButton("ProfileButton", "profile", mapCallback.get());
        profile->x = static_cast<float>(TruncToInt(menu->x + menu->w - 4.0f));
        profile->y = static_cast<float>(TruncToInt(menu->y));
        GUIList::Add(profile, 1601);
        GUIButton* settings = ProfileButton("ProfileButtonSettings", "settings", mapCallback.get());
        settings->padX = 4;
        settings->padY = 44;
        GUIList::Add(settings, 1601, kAlignLeft, kAlignBottom);
    }
    if (GUIList::Get("time", "") == nullptr) {
        auto clock = std::make_shared<GUITime>();
        clock->id = "time";
        GUIList::Add(std::move(clock), 2000);
    }
    player->x = static_cast<float>(TruncToInt(x.value) - player->w / 2);
    player->y = static_cast<float>(TruncToInt(y.value) - player->h / 2);

    Dungeon* dungeon = Quests::currentDungeon;
    if (dungeon && GUIList::Get("arrow", "dungeon") == nullptr) {
        // The offer reveals the dungeon's place first: a place hidden from the map has no button
        // to point at until then, and the quest would wait for it for good.
        const std::string key = "Location." + dungeon->location;
        if (Profile::GetFlagInt(key) < 1) {
            Profile::SetFlagInt(key, 1);
            Profile::SetFlagString("Game.NewLocation", dungeon->location);
            Profile::SetFlagString("MoveTo", dungeon->location);
        }
        if (GUIItem* button = GUIList::Get("location", dungeon->location))
            GUIList::Add(std::make_shared<GUIArrow>(button, "arrow", "dungeon", 1), 1500);
    }
    RestorePointers();
    if (citizensFled == 0 && GUIList::Get("citizen", "") == nullptr) {
        for (int i = 0; i < GUICitizen::kPoolSize; ++i) GUIList::Add(GUICitizen::Create(), 400);
    }
}

void MapScreen::UpdateTimers() {
    if (resourceWait > 0) {
        resourceWait = TruncToInt(resourceWait - Data::frameMs);
        const int n = TruncToInt(platform::Rnd(0.0f, 16.0f));
        if (resourceWait <= 0) {
            int seen = 0;
            for (GUIItem* item : *GUIList::currentList) {
                auto* citizen = dynamic_cast<GUICitizen*>(item);
                if (citizen == nullptr) continue;
                if (seen++ == n) {
                    GUIResource::NewResource(TruncToInt(citizen->xpos.value), TruncToInt(citizen->ypos.value), 500);
                    break;
                }
            }
        }
    } else {
        resourceWait = TruncToInt(platform::Rnd(8000.0f, 30000.0f));
    }

    const int firstBattle = Profile::GetFlagInt(FirstBattleKey());
    if (burglarWait > 0) {
        burglarWait = TruncToInt(burglarWait - Data::frameMs);
        if (burglarWait <= 0) {
            Audio::PlaySound(22, 1.0f);
            auto burglar = std::make_shared<GUIBurglar>(mapCallback.get());
            GUIList::Add(burglar, firstBattle < 1 ? kPointedWalker : 500);
        }
    } else if (Profile::GetFlagInt(BurglarAlarmKey()) > 0 && GUIList::Get("burglar", "") == nullptr) {
        burglarWait = firstBattle < 1 ? 100 : TruncToInt(platform::Rnd(0.0f, 5000.0f) + 1000.0f);
    }

    const int tutorial = Profile::GetFlagInt(ZeroToWannabeKey()) < 4 ? 1 : 0;
    if (distressWait > 0) {
        distressWait = TruncToInt(distressWait - Data::frameMs);
        if (distressWait <= 0) {
            Audio::PlaySound(31, 1.0f);
            GUIList::Add(std::make_shared<GUIDistress>(mapCallback.get()), tutorial ? kPointedWalker : 500);
        }
    } else if (Profile::GetFlagInt(DistressMeterKey()) > 0 && GUIList::Get("distress", "") == nullptr) {
        distressWait = tutorial ? 100 : TruncToInt(platform::Rnd(0.0f, 5000.0f) + 1000.0f);
    }
    // The first burglar and the first calls for help carry an arrow for as long as they are about:
    // a menu button that faded it does not leave the player looking for them.
    if (firstBattle < 1) PointAtWalker("burglar", true);
    if (tutorial) PointAtWalker("distress", false);
}

void MapScreen::MakePlaceKeys() {
    if (static_cast<int>(locationKeys.size()) == Locations::locations.Size()) return;
    locationKeys.clear();
    pointerKeys.clear();
    arrowKeys.clear();
    for (const auto& location : Locations::locations) {
        const std::string place = location ? location->id : "";
        locationKeys.push_back("Location." + place);
        pointerKeys.push_back(PointerKey(place));
        arrowKeys.push_back("location." + place);
    }
}

// A button of a place's menu fades every arrow, and so does a full-screen game with the map; the
// story's own pointer at a place stands until the story takes it back (when the hero got there),
// so it comes back as soon as the map shows again.
void MapScreen::RestorePointers() {
    MakePlaceKeys();
    for (size_t i = 0; i < pointerKeys.size(); ++i) {
        if (Profile::GetFlagInt(pointerKeys[i]) < 1 || GUIList::Get("arrow", arrowKeys[i]) != nullptr) continue;
        const LocationItem* place = Locations::locations.Get2(static_cast<int>(i)).get();
        if (place == nullptr) continue;
        auto arrow = std::make_shared<GUIArrow>(nullptr, "arrow", arrowKeys[i], 1);
        arrow->PointAt("location", place->id);
        GUIList::Add(std::move(arrow), 1500);
    }
}

void MapScreen::UpdateLocations() {
    if (locationsBuilt != 0 && Profile::flagsDirty == 0) return;
    MakePlaceKeys();
    for (int i = 0; i < Locations::locations.Size(); ++i) {
        const LocationItem* location = Locations::locations.Get2(i).get();
        if (location == nullptr) continue;
        const LocationItem& place = *location;
        const int s = Profile::GetFlagInt(locationKeys[static_cast<size_t>(i)]);
        const float bx = static_cast<float>(TruncToInt(place.x * Data::layoutScaleX));
        const float by = static_cast<float>(TruncToInt(place.y * Data::layoutScaleY));
        if (s == 0) {
            if (FindOfKind(place.id, false) == nullptr) {
                GUIButton* grey = GUIButton::Create(bx, by, place.image + "G", mapCallback.get());
                grey->frame = place.index;
                grey->id = "location";
                grey->name = place.id;
                grey->data = place.node;
                grey->active = 0;
                GUIList::Add(grey, 600);
            }
            RemoveOfKind(place.id, true);
        } else if (s == -1) {
            RemoveOfKind(place.id, true);
            RemoveOfKind(place.id, false);
        } else {
            if (FindOfKind(place.id, true) == nullptr) {
                const bool named = Data::mapNamesOn != 0;
                GUITextButton* button =
                    GUITextButton::Create(bx, by, place.image, named ? place.id : std::string(),
                                          named ? Fonts::Get("os") : nullptr, named ? 0xffffff : 0, mapCallback.get(), 0);
                button->frame = place.index;
                button->id = "location";
                button->name = place.id;
                button->data = place.node;
                button->anim = 0;
                // A name wider than its place is centred under it; at the map picture's edge
                // (the Wombat Burrow) it would run off the picture, where no scrolling shows it:
                // it stays on the picture instead.
                if (named) {
                    int bw = 0, bh = 0;
                    BgSize(bw, bh);
                    const float left = bx + static_cast<float>(button->tx);
                    if (left < 0) button->tx -= TruncToInt(std::floor(left));
                    const float right = bx + static_cast<float>(button->tx + button->tw);
                    if (right > static_cast<float>(bw)) button->tx -= TruncToInt(std::ceil(right)) - bw;
                }
                GUIList::Add(button, place.y / 10 + 600);
                if (locationsBuilt == 1) {
                    Audio::PlaySound(11, 1.0f);
                    GUIParticleDot::CreateExplosion(TruncToInt(button->x + 0.5f * button->w),
                                                    TruncToInt(button->y + 0.5f * button->h), 128, 0xffc0c0,
                                                    0xff8080, this);
                }
            }
            RemoveOfKind(place.id, false);
        }
    }
    locationsBuilt = 1;
}
