#pragma once
// The city map: the screen the game is played on between mini-games. A large map picture the
// player drags around, the hero's icon on a node of the city graph, one button per revealed place,
// citizens on the streets, timed events (a resource to pick up, a burglar, a distress call), the
// heads-up display and floating messages. A click on a place walks the hero there along the
// cheapest streets while game time passes; on arrival the map tells the story data where the hero
// is, and the action engine, driven once a frame, starts whatever belongs to that place and time.
// The rest of the game talks back through one-shot profile signals that the map takes one a frame.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/briskdata.hpp"
#include "core/collections.hpp"
#include "gui/callback.hpp"
#include "gui/gui2.hpp"
#include "gui/particledot.hpp"

class GameImage;
class LocationItem;
class MapScreen;

// One hop of a trip: the node to reach and, on the last hop, the place's id.
class Coordinate {
  public:
    Coordinate() = default;
    Coordinate(int n, const std::string& s) : node(n), name(s) {}
    bool operator==(const Coordinate&) const = default;
    int node = 0;
    std::string name;
};

// The handler of every map button and walker.
class MapCallback : public Callback {
  public:
    explicit MapCallback(MapScreen* screen) : mapScreen(screen) {}

    int Call(GUIItem* sender) override;
    // A place's button: walk to the node it carries in `data`.
    void LocationCallback(GUIItem* sender);
    // Walk to a node; `name` is told on arrival.
    void GoToCallback(int node, const std::string& name);

    MapScreen* mapScreen;

  private:
    // A new trip to `node` replacing the hops still to go. A node no street reaches starts no trip.
    void Travel(int node, const std::string& name, int byLocation);
};

// What the map opens that other modules build. Each is filled from its module's start-up
// registration; an empty one prints a line and the map stays as it is.
struct MapLinks {
    // The title screen the map returns to.
    std::function<std::shared_ptr<Screen>()> title;
    // The options popup.
    std::function<void()> options;
};

// While 1 the map draws its picture and its map-space items; a full-screen game sets it to 0 once
// it covers the map.
extern int mapVisible;
// 0 until the place buttons have been built once (then a reveal shows off).
extern int locationsBuilt;
// A one-line notice shown (and cleared) by the next frame.
extern std::string noticeText;

// The map's module values at program start (the links stay as registered).
void InitMapGlobals();

class MapScreen : public GameScreen, public ParticleMap {
  public:
    MapScreen();
    ~MapScreen() override;
    static std::shared_ptr<MapScreen> MapScreen_new() { return std::make_shared<MapScreen>(); }

    void Start() override;
    void Update2() override;
    void Render() override;

    // Re-lays the popups and the heads-up display in a frame where the screen turned.
    void CheckRotate();
    // The heads-up display and the event timers; always 0.
    int CheckElements();
    // Offers the power-up tree for `key` when its level is above the points spent on it.
    void CheckLevelUp(const std::string& key);
    // One step of the view's pan toward `moveTo`, or of its step aside from an opening menu.
    void CheckMoveTo();
    // When the map has put up its places, and whenever a place's menu opens: a place's name
    // hidden under what is drawn over the map makes the view step aside, the least it can (no
    // further than a place's side), to where none is.
    void CheckMenuAside();
    // One step of the view toward (tx, ty); false once within `near` of it (0: exactly there).
    bool PanToward(int tx, int ty, float near);
    // Steps the view aside to the nearest view StepAside finds from where it stands; false when
    // no place's name is up to weigh.
    bool StartAside(const LocationItem* location);
    // Moves the view (tx, ty) to the nearest one where nothing drawn over the map (the open place
    // menu's buttons, the corner panel, the clock, the current quest) hides a place's name the
    // screen shows, and no button of the open menu covers `location` (when given): a place at the
    // map's foot cannot come up to the middle, where the menu's row leaves it free, and would land
    // under the way out or a person in the corner.
    void StepAside(const LocationItem* location, int& tx, int& ty) const;
    // The two-line message that slides in from both sides.
    void ShowMessage(const std::string& title, const std::string& text);
    // Sets the heights of a message's two lines (the title above, the text below): the middle of
    // the screen, unless a place's open menu has a button there, or a place's name or the hero is.
    static void PlaceMessage(GUIItem* upper, GUIItem* lower);
    // The pending signals; 1 when this frame's map logic must stop.
    int CheckFlags();
    // The place buttons, after a flag changed or after the map was faded out.
    void UpdateLocations();
    // Fades out the map's own items; the map makes them again when its logic next runs.
    static void FadeOutMap();
    // The slot flag that holds whether the story points at a place (1) or no longer does (0).
    static std::string PointerKey(const std::string& place) { return "Pointer." + place; }

    float MapXP() const override { return xp; }
    float MapYP() const override { return yp; }

    // The screen position of node n's map position and of the hero, for tests and the walkers.
    static int NodeX(int n);
    static int NodeY(int n);

    static MapLinks links;

    float xp = 0;
    float yp = 0;
    std::unique_ptr<MapCallback> mapCallback;
    GameImage* bg = nullptr;
    int currentNode = 0;
    FloatObject x;
    FloatObject y;
    int wait = 0;
    int fading = 0;
    ArrayList<Coordinate> coordList;
    int resourceWait = 0;
    int burglarWait = 0;
    int distressWait = 0;
    std::string moveTo;
    // The view stepping aside (1) to (asideX, asideY) from a place's menu that opened over a
    // place's name, or from the view the map started at; `menuOpen` 1 while a menu is up,
    // `viewWeighed` 1 once the starting view was.
    int aside = 0;
    int asideX = 0, asideY = 0;
    int menuOpen = 0;
    int viewWeighed = 0;
    int dragging = 0;
    int dragX = 0, dragY = 0;
    float dragAccX = 0, dragAccY = 0;
    std::string status;
    // The hop under way or last travelled; `hasDestination` 0 before the first hop.
    Coordinate destination;
    int hasDestination = 0;
    int destinationLocation = 0;
    float timeValue = 0;
    FloatObject timeAlpha;
    // 1 once the story has faded the citizens out: the streets stay empty, not refilled, for as
    // long as this map lasts; the next map start brings the citizens back.
    int citizensFled = 0;

  private:
    // "Location." + id of every place in table order, made once: the buttons are checked
    // whenever a flag changed, which can be every frame.
    std::vector<std::string> locationKeys;
    // PointerKey of every place, and the name of the story's arrow at it, in the same order.
    std::vector<std::string> pointerKeys;
    std::vector<std::string> arrowKeys;
    // What StepAside weighs, kept between calls: it runs every frame of a pan.
    struct AsideBox {
        float x0, y0, x1, y1;
    };
    mutable std::vector<AsideBox> asideCovers, asideNames, asideMenu;

    void Travel();
    void NextHop();
    void Drag();
    void FollowHero();
    void Leave();
    void ShowNotice();
    void UpdateTimers();
    void CheckHud();
    void MakePlaceKeys();
    // Raises again the arrows the story still points with that a menu, a game or a restart took.
    void RestorePointers();
    void BgSize(int& w, int& h) const;
};
