#pragma once
// The health bar: a two-frame bar picture (frame 1 empty, frame 0 full) filled in proportion to a
// live number its owner keeps, with the number drawn on it (battle health, a job's bonus money).
//
// Numbered operations: `Init19` resets a pooled bar at a place with the owner's number, its
// maximum and the bar picture.
#include <memory>
#include <string>

#include "gui/item.hpp"
#include "gui/itempool.hpp"

class GameImage;
class GUIText;

class GUIMeterHealth : public GUIItem {
  public:
    static GUIMeterHealth* Create(float x, float y, FloatObject* var, int max, const std::string& imageName);

    void Clear2() override;
    int Update2() override;
    void Render() override;

    void Init19(float x, float y, FloatObject* var, int max, const std::string& imageName);

    GameImage* img = nullptr;
    // The owner's number; the bar only reads it.
    FloatObject* var = nullptr;
    int max = 0;
    // The number shown last.
    int set = 0;
    GUIText* text = nullptr;
    // Put before the number once it changes; owners set it after Create.
    std::string prefix;

    static std::unique_ptr<GUIPool<GUIMeterHealth>> pool;

  private:
    void FreeText();
};
