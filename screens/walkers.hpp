#pragma once
// What walks and waits on the city map besides the place buttons: citizens wandering from node to
// node, resources that pop up beside a citizen and pay when picked up, a burglar under pulsing red
// rings and a distress call under pulsing blue ones. A click on the burglar or the distress call
// sends the hero there. All of them live in map-picture coordinates; the map shifts them by its
// scroll through their `xadd`/`yadd` every frame.
#include <memory>
#include <string>

#include "gui/callback.hpp"
#include "gui/item.hpp"
#include "gui/itempool.hpp"

class GameImage;

// A figure that walks the streets from its node to a random neighbour, for ever.
class GUIWalker : public GUIItem {
  public:
    ~GUIWalker() override;

    // Heads for a random neighbour of `current`, facing the way it walks.
    void NewDestination();
    // On reaching the node it headed for, the next one.
    void CheckWalk();
    // Stands on a random node of the city.
    void PlaceOnRandomNode();
    // The walking frame: the direction's first frame plus one of six steps.
    int WalkFrame() const;

    FloatObject xpos, ypos;
    int current = 0;
    // Milliseconds per pixel.
    float speed = 0;
    int destination = 0;
    GameImage* image = nullptr;
    float counter = 0;
    // First frame of the direction: 0 down, 6 left, 12 right, 18 up.
    int frame = 0;
};

// A random node of the city, 1 to the last (node 0 is on no street).
int RandomStartNode();

class GUICitizen : public GUIWalker {
  public:
    static constexpr int kPoolSize = 16;
    static GUICitizen* Create();
    void Init();
    void Clear2() override;
    int Update2() override;
    void Render() override;

    static std::unique_ptr<GUIPool<GUICitizen>> pool;
};

class GUIResource : public GUIItem {
  public:
    static constexpr int kPoolSize = 6;
    // The kinds, which are also the icon frames.
    static constexpr int kMoney = 3;
    static constexpr int kReputation = 4;
    static constexpr int kClues = 6;

    // Picks a kind the story allows now and, when the pool has room, adds the resource.
    static void NewResource(int x, int y, int priority);
    void Init13(int x, int y, int kind);
    int Update2() override;
    void Render() override;

    GameImage* image = nullptr;
    float counter = 0;
    int frame = 0;
    int click = 0;
    int ok = 0;
    int vmax = 0;

    static std::unique_ptr<GUIPool<GUIResource>> pool;

  private:
    void Collect();
};

// The press-and-release on a burglar or a distress call, in a box four figures wide around it.
class GUIClickTarget : public GUIWalker {
  public:
    int UpdateAction() override;
    // Fades out together with the arrow that points at it.
    void FadeOut(int speed, float wait) override;
    int IsOver() const;
    // The three rings under the figure, in one colour.
    void RenderRings(float cx, float cy, int r, int g, int b) const;

    Callback* callback = nullptr;
    int ok = 0;
    int press = 0;
};

class GUIBurglar : public GUIClickTarget {
  public:
    explicit GUIBurglar(Callback* cb);
    int Update2() override;
    void Render() override;
};

class GUIDistress : public GUIClickTarget {
  public:
    explicit GUIDistress(Callback* cb);
    int Update2() override;
    void Render() override;
};

// The walkers' pools (the program's initial values).
void InitWalkerGlobals();
// The walkers' pools go, the last made first.
void ReleaseWalkerGlobals();
