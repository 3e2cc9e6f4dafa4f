#pragma once
// The base of everything drawn above a game screen's background: a GUI item with its owner and own
// name, its place in the item list (priority), its position and size, its tweened scale and alpha,
// and its fade-out that ends with the item taking itself out of the list.
//
// Numbered operations, as every item kind knows them: `Clear2` gives the object back to its pool
// state, `Update2` is the per-frame step (the fade-out here; widgets add their own after it),
// `UpdateAction` is the per-frame input step (non-zero: this item took the mouse this frame).
#include <string>

#include "core/collections.hpp"
#include "core/pool.hpp"
#include "model/profile.hpp"

class GameImage;

class GUIItem : public IDepComparable {
  public:
    GUIItem() = default;
    ~GUIItem() override = default;
    GUIItem(const GUIItem&) = delete;
    GUIItem& operator=(const GUIItem&) = delete;

    // Orders by priority (the item list's sort).
    int Compare(const IDepComparable* other) const override;

    virtual void Clear2();
    virtual int Update2();
    virtual int UpdateAction();
    // The fade begins when `wait` has run down (0.075 per millisecond of frame time), lasts
    // `speed` milliseconds and ends with the item removed from the list.
    virtual void FadeOut(int speed, float wait);
    virtual void FadeIn(float target, int flag);
    virtual void Render();
    // 1 when the mouse is inside the item (x + xadd, y + yadd, w, h; scale not applied). With
    // claim set, only the first item under the mouse this frame answers 1.
    virtual int MouseOver(int claim);
    // The item takes its picture's size; without a picture (or with an empty one) 32 x 32, so it
    // can still be laid out and clicked.
    void SizeToPicture(const GameImage* picture);

    // 1 while handed out by its pool; setting it to 0 gives the object back.
    PoolMark inUse;
    // 0 while the item waits in the list's remove queue; a pool hands out only processed objects.
    int processed = 1;
    FloatObject scale{1.0f};
    FloatObject alpha{1.0f};
    // Owner name (which popup, screen part or list the item belongs to) and own name under it.
    std::string id;
    std::string name;
    float x = 0, y = 0;
    int xadd = 0, yadd = 0;
    int w = 0, h = 0;
    int padX = 0, padY = 0;
    int priority = 0;
    int active = 1;
    int suspended = 0;
    int data = 0;
    std::string value;
    float fadeWait = 0;
    int fadeSpeed = 0;
    int removing = 0;

    // Counts the times the object went back to its pool: a list walk that began before a clear
    // knows the object it holds is no longer the item it saw.
    unsigned clearCount = 0;

    // While a dungeon runs, gains go to the dungeon's keys. The profile store keeps the flag (it
    // cannot reach up to this layer); this is the same int under the item's name for it.
    static inline int& dungeonMode = Profile::dungeonMode;
};
