// The city map's life: its start (or the act card or end game it hands over to), the order of a
// frame, dragging the view, walking the hero hop by hop, and drawing the picture with the night.
#include "screens/map.hpp"

#include <cmath>

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/item.hpp"
#include "gui/particle.hpp"
#include "gui/questpopup.hpp"
#include "gui/time.hpp"
#include "gui/trophypopup.hpp"
#include "model/actions.hpp"
#include "model/data2.hpp"
#include "model/locations.hpp"
#include "model/nodes.hpp"
#include "model/profile.hpp"
#include "model/quests.hpp"
#include "model/trophies.hpp"
#include "platform/app.hpp"
#include "platform/graphics.hpp"
#include "screens/act.hpp"
#include "screens/endgame.hpp"

int mapVisible = 1;
int locationsBuilt = 0;
std::string noticeText;
MapLinks MapScreen::links;

namespace {

// Where the hero stands when the saved place is unknown.
constexpr int kStartNode = 32;
// Milliseconds of walking per pixel of a hop.
constexpr float kHopMsPerPixel = 3.0f;
// Game minutes at the start and at the end of every hop.
constexpr int kHopMinutes = 5;
// The ids of the items that live on the map picture and scroll with it.
constexpr const char* kMapSpaceIds[] = {"location", "citizen", "player", "burglar", "distress", "arrow"};

bool Shown(const char* id, const char* name = "") {
    return GUIList::Get(id, name) != nullptr;
}

}  // namespace

MapScreen::MapScreen() : GameScreen("") {
    name = "Map";
}

MapScreen::~MapScreen() {
    Data::KillTweens(&x);
    Data::KillTweens(&y);
    Data::KillTweens(&timeAlpha);
}

int MapScreen::NodeX(int n) {
    return n >= 0 && n < Nodes::kNodeCount ? Nodes::nodes[static_cast<size_t>(n)].x : 0;
}

int MapScreen::NodeY(int n) {
    return n >= 0 && n < Nodes::kNodeCount ? Nodes::nodes[static_cast<size_t>(n)].y : 0;
}

void MapScreen::BgSize(int& w, int& h) const {
    w = bg ? bg->w : Data::virtualWidth;
    h = bg ? bg->h : Data::virtualHeight;
}

void MapScreen::Start() {
    mapVisible = 1;
    locationsBuilt = 0;
    // A dungeon left without finishing (the escape key while exploring) must not divert the gains
    // of the rest of the run; its loot is lost.
    Profile::dungeonMode = 0;
    Profile::ClearDungeon();

    Quests::Clear();
    Actions::currentAction = nullptr;
    Actions::Clear();
    Profile::SetFlagString("Goto", "");
    Profile::SetFlagString("Flag.StopActions", "");

    const int act = Profile::GetFlagInt("Flag.Act");
    const int shown = Profile::GetFlagInt("Flag.ActShow");
    if (act > shown || act == 0) {
        if (act == 0) Profile::SetFlagInt("Flag.Act", 1);
        if (act == 6 && Profile::GetFlagInt("Flag.ActEnd") == 0) {
            EndGameScreen::EndGameScreen_new()->PreStart();
        } else {
            ActScreen::ActScreen_new()->PreStart();
        }
        return;
    }

    mapCallback = std::make_unique<MapCallback>(this);
    StartGui();

    bg = briskGame->images->Get(UpperKey("Map"));
    if (bg == nullptr) platform::PrintLine("The map picture is not loaded");
    int bw = 0, bh = 0;
    BgSize(bw, bh);
    xp = static_cast<float>((bw - Data::virtualWidth) / 2);
    yp = static_cast<float>((bh - Data::virtualHeight) / 2);

    currentNode = kStartNode;
    const std::string here = Profile::GetFlagString("Location");
    for (const auto& location : Locations::locations) {
        if (location && location->id == here) {
            currentNode = location->node;
            Profile::SetFlagString("MoveTo", location->id);
            break;
        }
    }
    x.value = static_cast<float>(NodeX(currentNode));
    y.value = static_cast<float>(NodeY(currentNode));
    wait = 50;
}

void MapScreen::Update2() {
    CheckRotate();
    UpdateGui();
    if (fading) return;
    QuestPopup::KeepClear();
    TrophyPopup::KeepClear();

    int bw = 0, bh = 0;
    BgSize(bw, bh);
    if (xp > bw - Data::virtualWidth) {
        xp = static_cast<float>(bw - Data::virtualWidth);
    } else if (xp < 0) {
        xp = 0;
    }
    if (yp > bh - Data::virtualHeight) {
        yp = static_cast<float>(bh - Data::virtualHeight);
    } else if (yp < 0) {
        yp = 0;
    }

    ShowNotice();
    if (Data::backPressed) {
        Data::backPressed = 0;
        Leave();
    }

    if (GUIList::Suspended()) {
        if (!Shown("dialogue") && !Shown("popup") && !Shown("result")) Quests::Check(0);
        return;
    }
    if (!Audio::IsPlaying()) Audio::PlayMusic(2);

    if (Profile::GetFlagInt("Game.NewDay") > 0) {
        Profile::SetFlagString("Game.NewDay", "0");
        noticeText = "New day! " + GUITime::GetDateText();
    }
    if (!Shown("result")) {
        Quests::Check(1);
        if (!Shown("quest", "text")) Trophies::Check();
    }

    if (CheckElements() != 0) return;
    if (CheckFlags() != 0) return;
    UpdateLocations();

    if (!Shown("quest", "text") && !Shown("result")) {
        if (Actions::Check("") != 0) {
            Profile::flagsDirty = 1;
            return;
        }
    }
    CheckMenuAside();
    Drag();
    Travel();
}

void MapScreen::Leave() {
    if (!links.title) {
        platform::PrintLine("No title screen in this build to go back to");
        return;
    }
    // A question left open is asked again when the game is continued.
    Actions::ReleasePendingAnswers();
    Data::ExitScreen(links.title(), 500);
    fading = 1;
    Profile::SetFlagInt("Flag.StopActions", 1);
    Profile::Save(0);
}

void MapScreen::ShowNotice() {
    if (noticeText.empty()) return;
    GUIParticle* p = GUIParticle::Create(Data::virtualWidth, Data::virtualHeight, "", noticeText,
                                         Fonts::Get("on"), 0xffffff);
    p->py.value -= 1.5f * static_cast<float>(p->h);
    p->y = p->py.value;
    p->id = "notice";
    p->Move2(180.0f, 2.0f);
    p->FadeOut(100, 2000);
    p->alpha.value = 1.0f;
    GUIList::Add(p, 3000);
    noticeText.clear();
}

void MapScreen::Drag() {
    if (Data::mouseHeld == 0) {
        dragging = 0;
    } else if (dragging == 0) {
        dragging = 1;
        dragX = TruncToInt(Data::mouseVX);
        dragY = TruncToInt(Data::mouseVY);
        dragAccX = dragAccY = 0;
    } else {
        dragAccX = static_cast<float>(TruncToInt(dragX - Data::mouseVX));
        dragAccY = static_cast<float>(TruncToInt(dragY - Data::mouseVY));
        dragX = TruncToInt(Data::mouseVX);
        dragY = TruncToInt(Data::mouseVY);
    }
    if (dragAccX != 0 || dragAccY != 0) {
        if (dragging) {
            xp += dragAccX;
            yp += dragAccY;
        } else {
            // Released: the map glides on, slowing down.
            dragAccX *= 0.9f;
            dragAccY *= 0.9f;
            xp += dragAccX * 0.0625f * Data::frameMs;
            yp += dragAccY * 0.0625f * Data::frameMs;
        }
    }
    int bw = 0, bh = 0;
    BgSize(bw, bh);
    if (xp < 0) {
        xp = 0;
    } else if (xp > bw - Data::virtualWidth) {
        xp = static_cast<float>(bw - Data::virtualWidth);
    }
    if (yp < 0 || bh < Data::virtualHeight) {
        yp = 0;
    } else if (yp > bh - Data::virtualHeight) {
        yp = static_cast<float>(bh - Data::virtualHeight);
    }
}

void MapScreen::FollowHero() {
    int bw = 0, bh = 0;
    BgSize(bw, bh);
    const int m = TruncToInt(Data::virtualHeight * 0.4);
    const float step = Data::frameMs * 0.25f;
    const float sx = x.value - xp;
    if (sx < m) {
        xp = std::max(0.0f, xp - step);
    } else if (sx > Data::virtualWidth - m) {
        xp = std::min(static_cast<float>(bw - Data::virtualWidth), xp + step);
    }
    const float sy = y.value - yp;
    if (sy < m) {
        yp = std::max(0.0f, yp - step);
    } else if (sy > Data::virtualHeight - m) {
        yp = std::min(static_cast<float>(bh - Data::virtualHeight), yp + step);
    }
}

void MapScreen::Travel() {
    if (status == "move") {
        NextHop();
    } else if (status == "moving") {
        FollowHero();
        if (x.value == static_cast<float>(NodeX(destination.node)) &&
            y.value == static_cast<float>(NodeY(destination.node))) {
            Profile::AddTime(kHopMinutes);
            currentNode = destination.node;
            NextHop();
        }
    }
}

void MapScreen::NextHop() {
    if (!coordList.IsEmpty()) {
        destination = coordList.RemoveFirst();
        hasDestination = 1;
        Data::KillTweens(&x);
        Data::KillTweens(&y);
        const float tx = static_cast<float>(NodeX(destination.node));
        const float ty = static_cast<float>(NodeY(destination.node));
        const int dx = TruncToInt(x.value - tx);
        const int dy = TruncToInt(y.value - ty);
        const int ms = TruncToInt(std::sqrt(static_cast<double>(dx * dx + dy * dy)) * kHopMsPerPixel);
        Data::AddTween(&x, ms, x.value, tx);
        Data::AddTween(&y, ms, y.value, ty);
        status = "moving";
        Profile::AddTime(kHopMinutes);
        return;
    }
    status.clear();
    if (!hasDestination) return;
    Profile::SetFlagString("Location", destinationLocation == 1 ? destination.name : std::string());
    Profile::SetFlagString("ArriveAt", destination.name);
    GUIList::FadeOut("quest", "");
}

void MapScreen::Render() {
    platform::Cls(0, 0, 0);
    if (mapVisible) {
        for (const char* id : kMapSpaceIds) GUIList::ModifyPos(id, "", -TruncToInt(xp), -TruncToInt(yp));
        if (bg) {
            bg->DrawSubImage(0, 0, static_cast<float>(TruncToInt(xp)), static_cast<float>(TruncToInt(yp)),
                             static_cast<float>(Data::virtualWidth), static_cast<float>(Data::virtualHeight));
        }
    }
    if (Data::qualityOn) {
        const float t = static_cast<float>(Profile::GetFlagInt("Date.Time"));
        if (t != timeValue) {
            timeValue = t;
            const float m = t + 480.0f;
            const float target = m < 720.0f ? 0.5f - m / 1440.0f : m / 1440.0f - 0.5f;
            Data::KillTweens(&timeAlpha);
            Data::AddTween(&timeAlpha, 250, timeAlpha.value, target);
        }
        if (timeAlpha.value > 0) {
            platform::SetColor(0, 0, 0);
            platform::SetAlpha(timeAlpha.value);
            platform::DrawRect(0, 0, static_cast<float>(Data::virtualWidth),
                               static_cast<float>(Data::virtualHeight));
            platform::SetColor(255, 255, 255);
            platform::SetAlpha(1.0f);
        }
    }
    RenderGui();
}

void MapScreen::CheckRotate() {
    if (!Data::screenRotated) return;
    const float vw = static_cast<float>(Data::virtualWidth);
    const float vh = static_cast<float>(Data::virtualHeight);
    for (const char* id : {"popup", "options"}) {
        if (GUIItem* item = GUIList::Get(id, "")) {
            item->x = (vw - item->w) * 0.5f;
            item->y = (vh - item->h) * 0.5f;
        }
    }
    if (GUIItem* corner = GUIList::Get("profile", "corner")) corner->y = vh - corner->h;
    for (const char* button : {"menu", "profile"}) {
        if (GUIItem* item = GUIList::Get("profile", button)) item->y = vh - item->h - 4;
    }
    if (GUIItem* settings = GUIList::Get("profile", "settings")) settings->y = vh - settings->h - 64;

    if (GUIItem* upper = GUIList::Get("result", "upper")) {
        upper->x = (vw - upper->w) * 0.5f;
        upper->y = (vh - upper->h) * 0.5f - upper->h;
        if (GUIItem* lower = GUIList::Get("result", "lower")) {
            lower->x = (vw - lower->w) * 0.5f;
            PlaceMessage(upper, lower);
        }
        return;
    }
    GUIItem* result = GUIList::Get("result", "");
    if (result == nullptr) return;
    result->x = (vw - result->w) * 0.5f;
    result->y = (vh - result->h) * 0.5f;
    GUIItem* preview = GUIList::Get("preview", "");
    if (preview == nullptr) return;
    if (vh < vw) {
        GUIList::ModifyPos2(result, 1, 1);
        GUIList::ModifyPos2(preview, 1, 1);
        if (result->x + result->w + 288 > vw) result->x = vw - result->w - 288;
        preview->x = result->x + result->w + 16;
    } else {
        GUIList::ModifyPos2(result, 1, 4);
        GUIList::ModifyPos2(preview, 1, 2);
    }
}

void MapScreen::FadeOutMap() {
    for (const char* id : {"quest", "location", "citizen", "player", "profile", "burglar", "distress", "arrow", "time"})
        GUIList::FadeOut(id, "");
    locationsBuilt = 0;
}

void InitMapGlobals() {
    mapVisible = 1;
    locationsBuilt = 0;
    noticeText.clear();
}
