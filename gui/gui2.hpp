#pragma once
// The item list: the one program-wide list of GUI items, kept in priority order, that a game
// screen updates, routes the mouse through (highest priority first, first taker wins) and draws
// every frame, with the particles after it. Changes made while the list is being walked go
// through an add and a remove queue and take effect at the start of the next update; `Suspend`
// sets the whole list aside as a layer (it keeps animating and drawing but gets no input) so that
// a popup added after it is modal.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/collections.hpp"
#include "framework/screen.hpp"
#include "gui/item.hpp"

using GUIItemList = ArrayList<GUIItem*>;

// Alignment flags of Add, AddLast and AddAfter (and of a container's children).
enum GUIAlign {
    kAlignNone = 0,
    kAlignCentre = 1,
    kAlignTop = 2,
    kAlignBottom = 4,
    kAlignLeft = 8,
    kAlignRight = 16,
};

class GUIList {
  public:
    // The items that are updated, get input and draw on top; ascending priority.
    static std::unique_ptr<GUIItemList> currentList;
    static GUIItemList addQueue;
    static GUIItemList removeQueue;
    // Lists set aside by Suspend, newest first.
    static std::vector<std::unique_ptr<GUIItemList>> layers;
    // Set by the first claiming mouse-over of the frame.
    static int hoverTaken;
    // Set when a meter played its counting tick this frame.
    static int meterTickDone;
    // Set by a map walker that took a click; buttons then do not react.
    static int inputBlocked;

    // Empties everything (list, queues, layers), returning every pooled item to its pool.
    static void Clear();
    // The end of a run: as Clear, and the items the list held are dropped at once, not at the next
    // update, so that each gives back what it holds while the pools it points into are still there.
    static void ReleaseAll();
    static void Add(GUIItem* item, int priority, int alignX = 0, int alignY = 0);
    static void AddAfter(GUIItem* item, const GUIItem* after, int alignX = 0, int alignY = 0);
    static void AddLast(GUIItem* item, int alignX = 0, int alignY = 0);
    // Items that are not pooled (players, walkers, the board, mini-games) are held by the list from
    // here on and dropped after it has removed them; whoever needs one longer keeps its own share.
    static GUIItem* Add(std::shared_ptr<GUIItem> item, int priority, int alignX = 0, int alignY = 0);
    static GUIItem* AddLast(std::shared_ptr<GUIItem> item, int alignX = 0, int alignY = 0);
    // The priority AddLast gives: 10 above the highest of the first run of priorities that lie at
    // most 10 apart (0 for an empty list).
    static int FindFree();
    // The first item of the current list (not queued for removal), else of the add queue, whose id
    // is `id` and whose name is `name` (any name when empty). Suspended layers are not searched.
    static GUIItem* Get(const std::string& id, const std::string& name);
    static void Delete(const std::string& id, const std::string& name);
    static void Remove(GUIItem* item);
    static void HandleQueue();
    static void Update();
    static void UpdateAction();
    static void Render();
    static void Suspend();
    // Removes the popup layer's items and brings back the most recent suspended layer; with
    // nothing suspended it does nothing (one printed line).
    static void Resume();
    static int Suspended();
    static void FadeOut(const std::string& id, const std::string& name);
    static void FadeIn(const std::string& id, const std::string& name, float target, int flag);
    static void ModifyPos(const std::string& id, const std::string& name, int xadd, int yadd);
    static void ModifyPos2(GUIItem* item, int alignX, int alignY);

    // The list's initial state (program start, and every test).
    static void InitGlobals();

  private:
    // Clears an item and lets go of the list's share of it when the list holds it.
    static void ClearItem(GUIItem* item);
    static bool Matches(const GUIItem* item, const std::string& id, const std::string& name);

    static std::vector<std::shared_ptr<GUIItem>> held;
    static std::vector<std::shared_ptr<GUIItem>> dropped;
};

// A game screen (title, map, act card, cutscene, end game, mini-game screens) runs the frame state
// and the item list in its frame and draws the list over its background. Each screen orders its
// frame its own way; these are the three steps they all share.
class GameScreen : public Screen {
  public:
    using Screen::Screen;

  protected:
    // Start: every pooled item back to its pool, then the screen's fade-in.
    static void StartGui();
    // Update2: the frame state (with the mouse trail), the item list's update, then its input pass.
    static void UpdateGui();
    // Render, after the background: suspended layers, the current list, then the particles.
    static void RenderGui();
};
