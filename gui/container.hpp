#pragma once
// A GUI item that holds children placed relative to itself (popups, panels, cards, result sheets):
// it grows to cover them, can slide to a new place, and passes its frame, the mouse and drawing on
// to them with its own offset and opacity. Only the container is in the item list; its children
// are not. Clearing the container gives its children back to their pools too.
//
// Numbered operations: `Init5` resets a pooled container at a place, `AddLast20` adds a child on
// top of the others, `Add21` at a given priority, `Get3` finds a child.
#include <memory>
#include <string>

#include "gui/gui2.hpp"
#include "gui/item.hpp"
#include "gui/itempool.hpp"

class GUIContainer : public GUIItem {
  public:
    static GUIContainer* Create(float x, float y);

    void Clear2() override;
    int Update2() override;
    int UpdateAction() override;
    void Render() override;

    void Init5(float x, float y);
    // Centres a child (alignment bit 1) in the container's present size, or scales its place by
    // ratioX / ratioY.
    void ModifyPos(GUIItem* item, int alignX, int alignY);
    // Grows to cover a child; a child left of or above the container moves the container and every
    // earlier child so that nothing on screen moves.
    void CalculateSize(GUIItem* item);
    void AddLast20(GUIItem* item, int alignX = 0, int alignY = 0);
    void Add21(GUIItem* item, int priority, int alignX = 0, int alignY = 0);
    // Slides to (x, y) over ms milliseconds.
    void Move(float x, float y, float ms);
    // Stops a slide and stands at (x, y) at once.
    void Place(float x, float y);
    // The first child (ascending priority) with that id and name; an empty id or name matches any.
    GUIItem* Get3(const std::string& id, const std::string& name);
    void SetAlpha(float a);

    // The animated place while a slide runs (null when none runs).
    FloatObject* mx = nullptr;
    FloatObject* my = nullptr;
    GUIItemList items;
    // Children to drop at the next update.
    GUIItemList del;
    float ratioX = 1.0f, ratioY = 1.0f;
    int dx = 0, dy = 0;

    static std::unique_ptr<GUIPool<GUIContainer>> pool;

  private:
    void StopMove();
    // The boxes behind mx and my, kept with the container so a slide allocates nothing.
    FloatObject moveX, moveY;
};

// Covers a container of its present size W x H with the four quarters of one frame picture
// (rounded corners at the picture's edges), margin m around it, drawn behind every other child:
// the container grows by m on each side. Popups frame themselves with "FramePopup" (margin 40),
// narration with "FrameSpeech" (24), and container buttons hover with "FramePopupBright" (40).
void AddFrameQuarters(GUIContainer* c, const std::string& imageName, int margin);
