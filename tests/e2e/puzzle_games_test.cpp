// A job and a training started by their actions over a stand-in for the city map, played with the
// real mouse on the real board to their result sheets: what they pay is checked against the
// rules of the games (collected money, bonus and scaled rewards, costs that stop at 0, collected
// attribute tiles), with the flags the story reads, the clock, and the map set aside and brought
// back. Frames are saved for a look.
#include <gtest/gtest.h>

#include "minigames/puzzlejob.hpp"
#include "minigames/puzzletraining.hpp"
#include "model/data2.hpp"
#include "tests/e2e/puzzle_fixture.hpp"

namespace {

using puzzle_fixture::PuzzleFixture;

class PuzzleGames : public PuzzleFixture {
  protected:
    GUIPuzzleGame* Game() { return dynamic_cast<GUIPuzzleGame*>(GUIList::Get("popup", "")); }

    // Steps until the game's board rests fully dealt, or the game is decided.
    bool Settle() {
        return SettleBoard([this]() -> GUIBoard* { return Game() ? Game()->board.get() : nullptr; },
                           [this] { return Game() && Game()->done; });
    }
};

TEST_F(PuzzleGames, AJobPlayedToItsWinPaysByTheTimeLeft) {
    Profile::SetFlagInt("Game.TutorialJob", 1);
    Profile::SetFlagInt("Resource.Money", 5);
    const int clock = Profile::GetFlagInt("Date.Time");
    Start(
        R"(<action id="work" job="dock work" bg="Street" money="60" time="90" target_ment="3" target_elem="3"
                     target_phys="3"><positive><flag name="Skill.Science" add="60"/></positive>
             <negative><flag name="Resource.Money" add="-10"/></negative></action>)");
    GUIPuzzleJob* job = dynamic_cast<GUIPuzzleJob*>(Game());
    ASSERT_NE(job, nullptr);
    // The map's list is set aside.
    EXPECT_TRUE(GUIList::Suspended());
    EXPECT_EQ(Profile::GetFlagString("Game.JobWin"), "");
    ASSERT_TRUE(Settle());
    EXPECT_EQ(MapCover::MapVisible(), 0);
    ASSERT_NE(GUIList::Get("gamepopup", "container"), nullptr);
    h.SaveFrame("job_playing");

    // Fill the meters, one chain of three at a time, each colour the meters still lack.
    int chains = 0;
    while (!job->done && chains < 30) {
        int kind = -1;
        for (int k : {kTileMental, kTileElemental, kTilePhysical})
            if (job->player->values[static_cast<size_t>(k)].value < 3 && !PathOfThree(*job->board, k).empty())
                kind = k;
        const std::vector<Pos> path = PathOfThree(*job->board, kind);
        ASSERT_EQ(path.size(), 3u);
        Drag(*job->board, path);
        ++chains;
        ASSERT_TRUE(Settle());
    }
    ASSERT_TRUE(job->done);
    h.Step(20);
    EXPECT_NE(GUIList::Get("dialogue", "message"), nullptr);  // "You did it!"
    EXPECT_EQ(GUIList::Get("result", ""), nullptr);           // the sheet waits for it
    EXPECT_TRUE(job->rules.Filled(*job->player));
    EXPECT_LT(job->rules.time, job->rules.maxtime);
    h.SaveFrame("job_won");

    // The escape key no longer takes a won job back.
    h.Key(27, true);
    h.Step();
    h.Key(27, false);
    EXPECT_EQ(job->success, 1);

    // The result sheet comes once the board rests; it pays as the rules say.
    ASSERT_TRUE(WaitFor("result", 600));
    const float fraction = job->rules.time / job->rules.maxtime;
    const int money = TruncToInt(job->player->values[kTileMoney].value);
    const int bonus = TruncToInt(fraction * 60);
    EXPECT_EQ(TruncToInt(job->bonusmoney.value), bonus);
    EXPECT_GT(bonus, 0);
    // The cost of 10 is measured against the 5 the hero had: it takes those 5. The money collected
    // and the bonus come on top.
    EXPECT_EQ(Profile::GetFlagInt("Resource.Money"), 5 - 5 + money + bonus);
    EXPECT_EQ(Profile::GetFlagInt("Skill.Science"), TruncToInt(60 * fraction));
    EXPECT_EQ(Profile::GetFlagString("Game.JobWin"), "");  // not before the sheet is closed
    h.Step(30);
    h.SaveFrame("job_result");

    Click(500, 560);
    for (int i = 0; i < 120 && !job->left; ++i) h.Step();
    ASSERT_TRUE(job->left);
    // Frames that take no time (the frames after a stall) do not end the job a second time.
    Data::frameMs = 0;
    for (int i = 0; i < 3; ++i) job->Update2();
    ASSERT_TRUE(RunUntilGone(300));
    EXPECT_EQ(Profile::GetFlagInt("Game.JobWin"), 1);
    EXPECT_EQ(Profile::GetFlagString("Game.JobFail"), "");
    EXPECT_EQ(Profile::GetFlagInt("Game.JobCount"), 1);
    EXPECT_EQ(Profile::GetFlagInt("Date.Time"), clock + 120);
    EXPECT_EQ(MapCover::MapVisible(), 1);
    EXPECT_EQ(Audio::IsPlaying(), 0);
}

TEST_F(PuzzleGames, ATrainingPlayedToItsLastMovePaysWhatWasCollected) {
    Profile::SetFlagInt("Attribute.Intelligence", 2);
    const int clock = Profile::GetFlagInt("Date.Time");
    Start(R"(<action id="gym" training="gym" bg="Arena" moves="3">
             <positive><flag name="Attribute.Strength" add="20"/><flag name="Skill.Science" add="9"/></positive>
             <negative><flag name="Attribute.Intelligence" add="-5"/></negative></action>)");
    GUIPuzzleTraining* training = dynamic_cast<GUIPuzzleTraining*>(Game());
    ASSERT_NE(training, nullptr);
    EXPECT_EQ(Profile::GetFlagInt("Game.Fail"), 0);

    // The first training explains itself first; skipping the dialogue starts play.
    ASSERT_TRUE(WaitFor("dialogue", 120));
    EXPECT_EQ(Profile::GetFlagInt("Game.TutorialTraining"), 1);
    h.Step(30);
    h.SaveFrame("training_tutorial");
    GUIItem* skip = GUIList::Get("skip", "");
    ASSERT_NE(skip, nullptr);
    // It stands above the dialogue's lower black bar, not across it.
    EXPECT_LE(skip->y + skip->h, Data::virtualHeight - 32);
    Click(TruncToInt(skip->x) + skip->w / 2, TruncToInt(skip->y) + skip->h / 2);
    ASSERT_TRUE(Settle());
    h.SaveFrame("training_playing");

    // The first move drops a Strength and an Intelligence tile into the bottom row, where they pay.
    GUIBoard& board = *training->board;
    const int bottom = board.th - 1;
    const auto set = [&](int column, int row, int kind, int value) {
        Tile* t = board.TileAt(column, row);
        t->index = kind;
        t->value = value;
        t->movable = kind < kTileStrength ? 1 : 0;
    };
    for (int column = 0; column < 3; ++column) set(column, bottom, kTilePhysical, 0);
    set(0, bottom - 1, kTileStrength, 20);
    set(1, bottom - 1, kTileIntelligence, -5);
    h.Step();
    Drag(board, {{0, bottom}, {1, bottom}, {2, bottom}});
    EXPECT_EQ(training->moves.value, 2.0f);
    for (int move = 0; move < 2; ++move) {
        ASSERT_TRUE(Settle());
        Drag(board, PathOfThree(board, -1));
    }
    EXPECT_EQ(training->moves.value, 0.0f);
    h.Step();
    EXPECT_TRUE(training->done);
    h.SaveFrame("training_done");

    ASSERT_TRUE(WaitFor("result", 600));
    const int strength = TruncToInt(training->player->values[kTileStrength].value);
    EXPECT_GE(strength, 20);
    EXPECT_EQ(Profile::GetFlagInt("Attribute.Strength"), strength);
    // The cost of 5 (or more) stops at the 2 the hero had.
    EXPECT_LE(training->player->values[kTileIntelligence].value, -5.0f);
    EXPECT_EQ(Profile::GetFlagInt("Attribute.Intelligence"), 0);
    // No tile carries a skill, and the plain charges are not paid as one.
    EXPECT_EQ(Profile::GetFlagInt("Skill.Science"), 0);
    h.Step(30);
    h.SaveFrame("training_result");

    Click(500, 560);
    ASSERT_TRUE(RunUntilGone(300));
    EXPECT_EQ(Profile::GetFlagInt("Game.TrainingCount"), 1);
    EXPECT_EQ(Profile::GetFlagInt("Game.Fail"), 0);
    EXPECT_EQ(Profile::GetFlagInt("Date.Time"), clock + 120);
}

// Escape in the middle of play leaves without results: no win, no fail, no count, an hour gone.
TEST_F(PuzzleGames, EscapeAbandonsATraining) {
    Profile::SetFlagInt("Game.TutorialTraining", 1);
    const int clock = Profile::GetFlagInt("Date.Time");
    Start(R"(<action training="gym" bg="Arena" moves="5">
             <positive><flag name="Attribute.Strength" add="20"/></positive></action>)");
    ASSERT_TRUE(Settle());
    h.Key(27, true);
    h.Step();
    h.Key(27, false);
    h.Step();
    ASSERT_TRUE(RunUntilGone(300));
    EXPECT_EQ(Profile::GetFlagString("Game.Fail"), "");
    EXPECT_EQ(Profile::GetFlagInt("Game.TrainingCount"), 0);
    EXPECT_EQ(Profile::GetFlagInt("Attribute.Strength"), 0);
    EXPECT_EQ(Profile::GetFlagInt("Date.Time"), clock + 60);
}

}  // namespace
