#pragma once
// The city map's part under whatever an action opens, reduced to its item list on green ground.
#include "gui/gui2.hpp"
#include "platform/graphics.hpp"

namespace harness {

class MapStandIn : public GameScreen {
  public:
    MapStandIn() : GameScreen("Map") {}
    void Start() override { StartGui(); }
    void Update2() override { UpdateGui(); }
    void Render() override {
        platform::Cls(30, 60, 30);
        RenderGui();
    }
};

}  // namespace harness
