// The puzzle board in the running game, played with the real mouse: a chain dragged and paid, a
// wrong chain that changes nothing, the hint after idling, a long chain's bonus tile, a board
// without moves dealt anew, and the opponent's turn. Frames are saved for a look.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/glyphfont.hpp"
#include "gui/audio2.hpp"
#include "gui/particle.hpp"
#include "gui/particledot.hpp"
#include "minigames/board.hpp"
#include "model/data2.hpp"
#include "model/powers.hpp"
#include "tests/gui/gui_fixture.hpp"

using guitest::During;

namespace {

// Calls the board's turns each frame the way the puzzle games do, from below the board.
class Turns : public GUIItem {
  public:
    int Update2() override {
        GUIItem::Update2();
        // The battle waits for a power's effect before the turns go on.
        if (!board->inited || BattleState::effectRunning) return 0;
        if (opponentTurn)
            turnsOver += board->stable && board->UpdateOpponent();
        else
            moves += board->UpdatePlayer();
        return 0;
    }
    std::shared_ptr<GUIBoard> board;
    int opponentTurn = 0, moves = 0, turnsOver = 0;
};

bool Adjacent(const Pos& a, const Pos& b) {
    const int rows = std::abs(a.y - b.y), columns = std::abs(a.x - b.x);
    if (rows > 1 || columns > 1 || (rows == 0 && columns == 0)) return false;
    return rows == 0 || columns == 0 || b.x + (b.y % 2 == 1 ? 2 : 0) == a.x + 1;
}

// Three cells of one cloud that can be dragged in a row: the middle one touches both ends.
std::vector<Pos> PathOfThree(GUIBoard& b) {
    const std::optional<PosList> cloud = b.GetMove(1, 1, 1);
    if (!cloud) return {};
    for (const Pos& middle : *cloud) {
        std::vector<Pos> ends;
        for (const Pos& p : *cloud)
            if (Adjacent(middle, p)) ends.push_back(p);
        if (ends.size() >= 2) return {ends[0], middle, ends[1]};
    }
    return {};
}

class BoardPlay : public ::testing::Test {
  protected:
    void SetUp() override {
        screen = guitest::StartScreen(h, "boardtest");
        ASSERT_TRUE(screen);
        auto& images = *briskGame->images;
        images.LoadAnim2("TileBg70x80.png", 70, 80, 2);
        images.LoadAnim2("Tiles64x64.png", 64, 64, 12);
        for (const char* marker : {"TileMarker.png", "TileMarker2.png", "TileMarker3.png"})
            images.Load3(marker, "", true);
        for (int sound : {2, 3, 4, 9, 14, 29, 30, 33})
            briskGame->sounds->Load5(std::string(Audio::SoundName(sound)) + ".ogg");
        for (const char* id : {"on", "ob"}) {
            auto font = std::make_unique<GlyphFont>();
            font->LoadFont(Fonts::FileFor(id));
            Fonts::Set(id, std::move(font));
        }
    }

    void Drag(const std::vector<Pos>& path) {
        for (size_t i = 0; i < path.size(); ++i) {
            MoveTo(path[i]);
            if (i == 0) h.MouseButton(0, true);
            h.Step();
        }
        h.MouseButton(0, false);
        h.Step();
    }
    void MoveTo(const Pos& p) {
        h.MouseMove(TruncToInt(board->x) + BoardRules::CellX(p.x, p.y) + 33,
                    TruncToInt(board->y) + BoardRules::CellY(p.y) + 30);
    }
    // Steps until every cell holds a resting tile.
    bool Settle() {
        for (int i = 0; i < 900; ++i) {
            int resting = 0;
            for (const Tile& t : board->board) resting += t.state == 1 && t.y == t.dy;
            if (board->stable && resting == 36) return true;
            h.Step();
        }
        return false;
    }
    std::vector<int> Kinds() const {
        std::vector<int> kinds;
        for (const Tile& t : board->board) kinds.push_back(t.index * 100 + t.state);
        return kinds;
    }
    float Charges(const PuzzleActor& a) const {
        float sum = 0;
        for (const FloatObject& v : a.values) sum += v.value;
        return sum;
    }

    harness::Harness h;
    std::shared_ptr<guitest::TestScreen> screen;
    std::shared_ptr<GUIBoard> board;
    std::shared_ptr<Turns> turns = std::make_shared<Turns>();
    std::shared_ptr<PuzzleActor> hero = std::make_shared<PuzzleActor>();
    std::shared_ptr<PuzzleActor> villain = std::make_shared<PuzzleActor>();
};

TEST_F(BoardPlay, ABattleBoardPlayedWithTheMouse) {
    During(h, *screen, [&] {
        board = std::make_shared<GUIBoard>("gameboard", "", 6, 6, BoardRules::kBattle);
        board->SetActor2(hero);
        board->Fade(0);
        turns->board = board;
        GUIList::Add(board, 1800);
        GUIList::Add(turns, 1650);
    });
    ASSERT_TRUE(Settle());
    h.SaveFrame("board_dealt");

    // A chain of three: marked while dragged, then blasted, paid to the hero, and refilled.
    std::vector<Pos> path = PathOfThree(*board);
    ASSERT_EQ(path.size(), 3u);
    const int kind = board->TileAt(path[0].x, path[0].y)->index;
    MoveTo(path[0]);
    h.MouseButton(0, true);
    h.Step();
    MoveTo(path[1]);
    h.Step();
    MoveTo(path[2]);
    h.Step();
    EXPECT_EQ(board->marked.Size(), 3);
    h.SaveFrame("board_chain");
    h.MouseButton(0, false);
    h.Step();
    EXPECT_EQ(turns->moves, 1);
    EXPECT_EQ(hero->values[static_cast<size_t>(kind)].value, 3.0f);
    EXPECT_EQ(Charges(*villain), 0.0f);
    EXPECT_GT(GUIParticleDot::InUse(), 0);     // the blast
    EXPECT_GT(GUIParticle::pool->InUse(), 0);  // the floating "+3"
    EXPECT_NE(board->TileAt(path[2].x, path[2].y)->state, 1);
    h.Step(6);
    h.SaveFrame("board_blast");
    ASSERT_TRUE(Settle());

    // A press outside the board starts nothing; a wrong chain (a tile, then a neighbour of another
    // kind) changes nothing.
    Pos start{2, 2}, other{3, 2};
    for (const Pos& p : {Pos{1, 2}, Pos{2, 1}, Pos{2, 3}, Pos{1, 1}, Pos{1, 3}})
        if (board->TileAt(p.x, p.y)->index != board->TileAt(start.x, start.y)->index) other = p;
    ASSERT_NE(board->TileAt(other.x, other.y)->index, board->TileAt(start.x, start.y)->index);
    const std::vector<int> before = Kinds();
    const float paid = Charges(*hero);
    h.MouseMove(5, 300);
    h.MouseButton(0, true);
    h.Step(2);
    EXPECT_TRUE(board->marked.IsEmpty());
    h.MouseButton(0, false);
    h.Step();
    Drag({start, other});
    h.Step(3);
    EXPECT_EQ(Kinds(), before);
    EXPECT_EQ(Charges(*hero), paid);
    EXPECT_EQ(turns->moves, 1);

    // Left alone for five seconds, the board shows a move as a growing chain.
    h.Step(60 * 5 + 30);
    EXPECT_EQ(board->hintState, BoardRules::kHintShowing);
    EXPECT_GE(board->marked.Size(), 3);
    h.SaveFrame("board_hint");
    // A press takes the hint away (and starts nothing, as it lies outside the board).
    h.MouseMove(5, 5);
    h.MouseButton(0, true);
    h.Step();
    h.MouseButton(0, false);
    h.Step();
    EXPECT_TRUE(board->marked.IsEmpty());

    // Ten in a chain: praise, a bonus tile in the middle, blasts all around.
    std::vector<Pos> ten;
    for (int c = 0; c < 6; ++c) ten.emplace_back(c, 2);
    for (int c = 5; c >= 2; --c) ten.emplace_back(c, 3);
    During(h, *screen, [&] {
        for (const Pos& p : ten) board->TileAt(p.x, p.y)->index = kTileReputation;
    });
    Drag(ten);
    EXPECT_EQ(board->TileAt(5, 2)->special, 1);
    EXPECT_EQ(hero->values[kTileReputation].value, 10.0f + (kind == kTileReputation ? 3.0f : 0.0f));
    h.Step(20);
    h.SaveFrame("board_bonus");
    ASSERT_TRUE(Settle());
    h.Step(2);  // the move counts once the board has come to rest
    EXPECT_EQ(turns->moves, 2);
    for (const Tile& t : board->board) EXPECT_EQ(t.special, 0);

    // No cloud of three anywhere: "No moves!", and a new set drops in.
    During(h, *screen, [&] {
        for (Tile& t : board->board) t.index = ((t.xp - (t.yp - (t.yp & 1)) / 2 - t.yp) % 3 + 3) % 3;
        board->shuffle = 0;
    });
    h.Step();
    EXPECT_NE(GUIList::Get("board", "message"), nullptr);
    for (const Tile& t : board->board) EXPECT_EQ(t.state, 0);
    h.Step(30);
    h.SaveFrame("board_nomoves");
    ASSERT_TRUE(Settle());

    // The opponent's turn: one without powers marks a move of its own.
    During(h, *screen, [&] {
        board->SetActor2(villain);
        board->Fade(1);
        turns->opponentTurn = 1;
    });
    bool saved = false;
    for (int i = 0; i < 600 && !turns->turnsOver; ++i) {
        h.Step();
        if (!saved && board->marked.Size() >= 2) saved = !h.SaveFrame("board_opponent").empty();
    }
    EXPECT_EQ(turns->turnsOver, 1);
    EXPECT_GE(Charges(*villain), 3.0f);
    During(h, *screen, [&] { turns->opponentTurn = 0; });
    ASSERT_TRUE(Settle());

    // Given a power, it fires as soon as its charge is strictly above the cost (6): the charge
    // pays, and the board hides while the effect plays.
    During(h, *screen, [&] {
        villain->powers.Add(std::make_shared<PuzzleActorPower>(Powers::Get("Sucker Punch"), 1));
        villain->values[0].value = 6.9f;
        turns->opponentTurn = 1;
    });
    EXPECT_EQ(BattleState::effectRunning, 0);
    During(h, *screen, [&] { villain->values[0].value = 20; });
    for (int i = 0; i < 60 && !BattleState::effectRunning; ++i) h.Step();
    EXPECT_EQ(villain->values[0].value, 14.0f);
    EXPECT_EQ(BattleState::effectRunning, 1);
}

}  // namespace
