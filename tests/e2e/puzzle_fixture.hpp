#pragma once
// The puzzle-board games over a stand-in for the city map: the real program headless with the
// pictures, fonts and sounds the games draw, an action started as the action engine would, and the
// player's hand on the board (dragged chains, clicks).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/glyphfont.hpp"
#include "core/xml.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/audio2.hpp"
#include "gui/gui2.hpp"
#include "minigames/board.hpp"
#include "model/actions.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"
#include "platform/random.hpp"
#include "tests/support/game_art.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/map_standin.hpp"

namespace puzzle_fixture {

using harness::MapStandIn;

inline bool Adjacent(const Pos& a, const Pos& b) {
    const int rows = std::abs(a.y - b.y), columns = std::abs(a.x - b.x);
    if (rows > 1 || columns > 1 || (rows == 0 && columns == 0)) return false;
    return rows == 0 || columns == 0 || b.x + (b.y % 2 == 1 ? 2 : 0) == a.x + 1;
}

class PuzzleFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(h.Start());
        harness::LoadPuzzleArt();
        Profile::currentSlot = 0;
        Profile::slotFlags = Profile::saveData->Profiles.Get2(0);
        Profile::Init();
        Profile::SetFlagString("Name", "Rook");
        platform::SetSeed(7);
        std::make_shared<MapStandIn>()->PreStart();
        h.Step(2);
    }

    // One frame of the game; a test may watch every frame through it.
    virtual void Frame() { h.Step(); }

    // Starts the action of that XML as the action engine would.
    void Start(const std::string& xml) {
        XMLParser parser;
        doc = parser.ParseString(xml);
        action = Actions::ParseAction(doc->Root(), "City-Act1", "test");
        ASSERT_TRUE(action);
        action->Activate();
        Frame();
    }

    // Steps until the board rests fully dealt and the player may move, or `over` holds.
    bool SettleBoard(const std::function<GUIBoard*()>& board, const std::function<bool()>& over) {
        for (int i = 0; i < 1800; ++i) {
            if (over()) return true;
            GUIBoard* b = board();
            if (b && b->inited && b->stable && !b->bonus && b->alpha.value == 1.0f && !GUIList::Get("dialogue", "")) {
                int resting = 0;
                for (const Tile& t : b->board) resting += t.state == 1 && t.y == t.dy;
                if (resting == 36) return true;
            }
            Frame();
        }
        return false;
    }

    // Three cells of a cloud of that kind (any kind: -1) that can be dragged in a row.
    std::vector<Pos> PathOfThree(GUIBoard& b, int kind) {
        for (int row = 0; row < b.th; ++row) {
            for (int column = 0; column < b.tw; ++column) {
                const Tile* t = b.TileAt(column, row);
                if (!t || !t->movable || (kind >= 0 && t->index != kind) || t->index > kTileReputation)
                    continue;
                PosList cloud;
                b.GetCloud(column, row, cloud, t->index);
                for (const Pos& middle : cloud) {
                    std::vector<Pos> ends;
                    for (const Pos& p : cloud)
                        if (Adjacent(middle, p)) ends.push_back(p);
                    if (ends.size() >= 2) return {ends[0], middle, ends[1]};
                }
            }
        }
        return {};
    }

    void Drag(GUIBoard& b, const std::vector<Pos>& path) {
        for (size_t i = 0; i < path.size(); ++i) {
            h.MouseMove(TruncToInt(b.x) + BoardRules::CellX(path[i].x, path[i].y) + 33,
                        TruncToInt(b.y) + BoardRules::CellY(path[i].y) + 30);
            if (i == 0) h.MouseButton(0, true);
            Frame();
        }
        h.MouseButton(0, false);
        Frame();
    }

    void Click(int x, int y) {
        h.MouseMove(x, y);
        Frame();
        h.MouseButton(0, true);
        Frame();
        h.MouseButton(0, false);
        Frame();
    }

    void PressEscape() {
        h.Key(27, true);
        Frame();
        h.Key(27, false);
        Frame();
    }

    // Steps until an item of that id is up.
    bool WaitFor(const char* id, int frames) {
        for (int i = 0; i < frames && !GUIList::Get(id, ""); ++i) Frame();
        return GUIList::Get(id, "") != nullptr;
    }

    // Steps until the game has gone and the map's list is back.
    bool RunUntilGone(int frames) {
        for (int i = 0; i < frames; ++i) {
            if (!GUIList::Get("popup", "") && !GUIList::Suspended()) return true;
            Frame();
        }
        return false;
    }

    harness::Harness h;
    std::unique_ptr<XMLDocument> doc;
    ActionPtr action;
};

}  // namespace puzzle_fixture
