// The puzzle board's rules without a screen: chains, blasts, bonus tiles, refill, re-deal, hints,
// the opponent's turn and the training's attribute tiles.
#include "minigames/board_rules.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "model/data2.hpp"
#include "model/powers.hpp"
#include "model/profile.hpp"
#include "platform/random.hpp"
#include "tests/model/profile_fixture.hpp"

namespace {

class Board : public BoardRules {
  public:
    using BoardRules::BoardRules;
    std::vector<int> sounds;
    int bangs = 0, noMoves = 0, fired = 0;
    std::vector<std::string> praise;

  protected:
    void PlaySound(int id, float) override { sounds.push_back(id); }
    void Bang(float, float, int, float) override { ++bangs; }
    void ShowNoMoves() override { ++noMoves; }
    void ShowPraise(const char* text) override { praise.push_back(text); }
    void OpponentFires(PuzzleActorPower&) override { ++fired; }
};

class BoardRulesTest : public profiletest::ProfileTest {
  protected:
    void SetUp() override {
        ProfileTest::SetUp();
        Profile::InitGlobal();
        Data::mouseHeld = 0;
        Data::frameMs = 16;
        platform::SetSeed(5);
    }
    void TearDown() override {
        Data::mouseHeld = 0;
        Data::frameMs = 0;
        ProfileTest::TearDown();
    }

    // A resting board where no two neighbours share a kind (the hex grid takes three colours), so
    // it holds no move until a test plants one with kinds 3 and 4.
    static void LayOut(Board& b, std::array<int, 3> kinds = {0, 1, 2}) {
        b.Initialize();
        for (Tile& t : b.board) {
            const int q = t.xp - (t.yp - (t.yp & 1)) / 2;
            t.index = kinds[static_cast<size_t>(((q - t.yp) % 3 + 3) % 3)];
            t.state = 1, t.movable = 1, t.special = 0, t.alpha = 1, t.speed = 0;
            t.x = static_cast<float>(t.dx), t.y = static_cast<float>(t.dy);
        }
        for (BgTile& cell : b.bg) cell.alpha = 1;
        b.inited = b.stable = b.shuffle = 1;
    }
    static void Frames(Board& b, int n, float dt = 16) {
        Data::frameMs = dt;
        for (int i = 0; i < n; ++i) b.UpdateBoard();
    }
    // Holds the button over a cell, or releases it; returns what the player's update said.
    static int Mouse(Board& b, int column, int row, bool held) {
        Data::mouseHeld = held ? 1 : 0;
        Data::mouseVX = b.BoardX() + static_cast<float>(BoardRules::CellX(column, row) + 33);
        Data::mouseVY = b.BoardY() + static_cast<float>(BoardRules::CellY(row) + 30);
        return b.UpdatePlayer();
    }
    static int Drag(Board& b, const std::vector<Pos>& path) {
        for (const Pos& p : path) Mouse(b, p.x, p.y, true);
        return Mouse(b, path.back().x, path.back().y, false);
    }
    static int Resting(Board& b) {
        int n = 0;
        for (const Tile& t : b.board) n += t.state == 1 && t.x == t.dx && t.y == t.dy;
        return n;
    }
    // Runs the board until every cell holds a resting tile.
    static void Settle(Board& b) {
        for (int i = 0; i < 1000 && !(b.stable && Resting(b) == b.tw * b.th); ++i) Frames(b, 1);
        ASSERT_EQ(Resting(b), b.tw * b.th);
    }
};

TEST_F(BoardRulesTest, DiagonalStepsFollowTheRowsShift) {
    Board b(6, 6, BoardRules::kJob);
    LayOut(b);
    for (Tile& t : b.board) t.index = 0;
    b.marked.Add(b.TileAt(2, 2));  // even row: diagonals one column left
    EXPECT_EQ(b.LegalMove(*b.TileAt(1, 1)), 1);
    EXPECT_EQ(b.LegalMove(*b.TileAt(1, 3)), 1);
    EXPECT_EQ(b.LegalMove(*b.TileAt(3, 1)), 0);
    EXPECT_EQ(b.LegalMove(*b.TileAt(2, 4)), 0);
    b.marked.Clear2();
    b.marked.Add(b.TileAt(2, 3));  // odd row: diagonals one column right
    EXPECT_EQ(b.LegalMove(*b.TileAt(3, 2)), 1);
    EXPECT_EQ(b.LegalMove(*b.TileAt(1, 4)), 0);
    b.TileAt(3, 2)->index = 1;
    EXPECT_EQ(b.LegalMove(*b.TileAt(3, 2)), 0);
}

TEST_F(BoardRulesTest, LongChainsBlastTheirNeighboursOneByOneWithoutTouchingTheChainBeingDragged) {
    Board b(6, 6, BoardRules::kJob);
    b.actor = std::make_shared<PuzzleActor>();
    LayOut(b);
    const std::vector<Pos> five = {{0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}};
    for (const Pos& p : five) b.TileAt(p.x, p.y)->index = 3;
    b.ok = 1;
    EXPECT_EQ(Drag(b, five), 0);  // the move counts once the blasts are over
    ASSERT_EQ(b.praise.size(), 1u);
    EXPECT_EQ(b.switch_, 1);
    // Every neighbour of the chain is collected in order and goes off 250, 350, 450 ... ms later.
    EXPECT_EQ(b.TileAt(0, 4)->state, -1);
    EXPECT_EQ(b.TileAt(0, 3)->state, 10);
    EXPECT_EQ(b.TileAt(0, 3)->wait, 250.0f);
    EXPECT_EQ(b.TileAt(0, 5)->wait, 350.0f);
    EXPECT_EQ(b.TileAt(1, 3)->wait, 450.0f);
    int blasted = 0;
    for (const Tile& t : b.board) blasted += t.state == 10;
    EXPECT_EQ(blasted, 11);  // rows 3 and 5 below the chain, and (5,4) beside it

    // On a job board the player may start the next chain meanwhile: it stays whole and uncredited.
    b.TileAt(5, 0)->index = b.TileAt(4, 0)->index = 4;
    Mouse(b, 5, 0, true);
    Mouse(b, 4, 0, true);
    auto paid = [&] {
        return b.actor->values[0].value + b.actor->values[1].value + b.actor->values[2].value;
    };
    Frames(b, 10, 50);
    EXPECT_EQ(paid(), 3.0f);  // those due at 250, 350 and 450 ms, one charge each
    ASSERT_EQ(b.marked.Size(), 2);
    EXPECT_EQ(b.marked.Get2(0), b.TileAt(5, 0));
    EXPECT_EQ(b.actor->values[4].value, 0.0f);
    Frames(b, 20, 50);
    EXPECT_EQ(paid(), 11.0f);
    EXPECT_EQ(b.marked.Size(), 2);
    Data::mouseHeld = 0;
    Settle(b);
    EXPECT_EQ(b.UpdatePlayer(), 1);
}

TEST_F(BoardRulesTest, TheMoveSearchWeighsCloudsByColourAndSkipsAttributeTiles) {
    Board b(6, 6, BoardRules::kTraining);
    LayOut(b, {5, 6, 8});  // attribute tiles only: never a cloud, even side by side
    // Three physical tiles, four mental tiles and three clues.
    for (Pos p : {Pos{0, 0}, Pos{1, 0}, Pos{2, 0}}) b.TileAt(p.x, p.y)->index = 0;
    for (Pos p : {Pos{0, 5}, Pos{1, 5}, Pos{2, 5}, Pos{3, 5}}) b.TileAt(p.x, p.y)->index = 2;
    for (Pos p : {Pos{0, 2}, Pos{1, 2}, Pos{2, 2}}) b.TileAt(p.x, p.y)->index = kTileClue;
    std::optional<PosList> move = b.GetMove(0.1f, 0.1f, 0.1f);
    ASSERT_TRUE(move);
    EXPECT_EQ(move->front().y, 2);  // clues weigh 0.5: 1.5 beats 0.3 and 0.4
    EXPECT_EQ(b.GetMove(2, 1, 0.1f)->front().y, 0);
    move = b.GetMove(1, 1, 2);
    ASSERT_EQ(move->size(), 4u);
    // The fill order is the marking order: from the first cell, left, right, up, down, diagonals.
    EXPECT_EQ(move->at(1).x, 1);
    std::map<int, int> picked;
    for (int i = 0; i < 200; ++i) ++picked[static_cast<int>(b.GetMove(1, 1, 1)->size())];
    EXPECT_EQ(picked.size(), 2u);
}

TEST_F(BoardRulesTest, HintsSwitchedOffStayOffAfterPresses) {
    Profile::SetGlobalFlagInt("Hints", 0);
    Board off(6, 6, BoardRules::kJob);
    LayOut(off);
    for (Pos p : {Pos{0, 0}, Pos{1, 0}, Pos{2, 0}}) off.TileAt(p.x, p.y)->index = 3;
    Mouse(off, 0, 0, true);
    Mouse(off, 0, 0, false);
    Data::frameMs = 1000;
    for (int i = 0; i < 20; ++i) off.UpdatePlayer();
    EXPECT_EQ(off.hintState, BoardRules::kHintsOff);
    EXPECT_TRUE(off.marked.IsEmpty());
}

TEST_F(BoardRulesTest, ATrainingDealsAttributeTilesAboveTheBottomRowWhichPayWhenTheyReachIt) {
    Board b(6, 6, BoardRules::kTraining);
    b.actor = std::make_shared<PuzzleActor>();
    FlagItem strength, skill;
    strength.name = "Attribute.Strength", strength.value = "3";
    skill.name = "Skill.Science", skill.value = "9";
    b.actor->flags.Add(&strength);
    b.actor->flags.Add(&skill);
    b.Initialize();
    std::map<int, int> kinds;
    for (int deal = 0; deal < 200; ++deal) {
        b.InitBoard();
        for (const Tile& t : b.board) {
            ++kinds[t.index];
            if (t.index == kTileStrength) {
                EXPECT_LT(t.yp, 5);
                EXPECT_EQ(t.value, 3);
                EXPECT_EQ(t.movable, 0);
            }
        }
    }
    // Plain kinds 0 to 2 and Strength only: the skill reward and the bound 3 never come up.
    EXPECT_EQ(kinds.size(), 4u);
    EXPECT_GT(kinds[kTileStrength], 100);
    b.actor->flags.Clear2();
    b.InitBoard();  // nothing to draw from: plain tiles only

    LayOut(b);
    Tile& above = *b.TileAt(2, 4);
    above.index = kTileEssence, above.value = 2, above.movable = 0;
    b.TileAt(2, 5)->state = -1;  // even row 4 feeds (2,5) from (2,4) or (3,4)
    b.TileAt(3, 4)->state = 10, b.TileAt(3, 4)->wait = 100000;
    b.UpdateTiles();
    ASSERT_EQ(b.TileAt(2, 5)->index, kTileEssence);
    for (int i = 0; i < 300 && b.actor->values[kTileEssence].value == 0; ++i) Frames(b, 1);
    EXPECT_EQ(b.actor->values[kTileEssence].value, 2.0f);
    EXPECT_EQ(std::count(b.sounds.begin(), b.sounds.end(), 29), 1);
}

}  // namespace
