#pragma once
// A filled box in one colour, with an optional black outline. "box" is the only shape drawn.
//
// Numbered operations: `Init14` resets a pooled primitive with its place, size, shape and colour.
#include <memory>
#include <string>

#include "gui/item.hpp"
#include "gui/itempool.hpp"

class GUIPrimitive : public GUIItem {
  public:
    static GUIPrimitive* Create(float x, float y, int w, int h, const std::string& type, int colour,
                                int outline);

    void Render() override;
    void Init14(float x, float y, int w, int h, const std::string& type, int colour, int outline);

    std::string type;
    int outline = 0;
    int r = 0, g = 0, b = 0;

    static std::unique_ptr<GUIPool<GUIPrimitive>> pool;
};
