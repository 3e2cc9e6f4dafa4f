// The puzzle board: the move searches behind the re-deal check, the hint and the opponent's choice
// (each must stay far below a frame), and one update and render of a full board with sparks
// flying, in the real game headless (run from the build folder, where "data" lives).
#include "minigames/board.hpp"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "bench/gamebench.hpp"
#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "framework/main.hpp"
#include "gui/audio2.hpp"
#include "gui/gui2.hpp"
#include "gui/particledot.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/engine.hpp"
#include "platform/random.hpp"

namespace {

// A clean program state for the board's rules (they read the profile and the virtual size).
void CleanState() {
    WireGame();
    InitGlobals();
    Profile::InitGlobal();
}

// A dealt, resting battle board; `stuck` gives it no move at all (the hex grid in three colours).
void Deal(BoardRules& board, bool stuck) {
    board.Initialize();
    for (Tile& t : board.board) {
        const int colour = ((t.xp - (t.yp - (t.yp & 1)) / 2 - t.yp) % 3 + 3) % 3;
        t.index = stuck ? colour : board.GetIndex(t);
        t.state = 1;
    }
}

void BM_AnyMoveLeft(benchmark::State& state) {
    CleanState();
    BoardRules board(6, 6, BoardRules::kBattle);
    Deal(board, true);  // the slowest answer: every cell is searched and nothing is found
    for (auto _ : state) benchmark::DoNotOptimize(board.GetMove(1, 1, 1).has_value());
}

void BM_HintSearch(benchmark::State& state) {
    CleanState();
    platform::SetSeed(11);
    BoardRules board(6, 6, BoardRules::kBattle);
    Deal(board, false);
    for (auto _ : state) benchmark::DoNotOptimize(board.GetMove(1, 1, 1));
}

void BM_OpponentChoice(benchmark::State& state) {
    CleanState();
    platform::SetSeed(12);
    BoardRules board(6, 6, BoardRules::kBattle);
    Deal(board, false);
    for (auto _ : state) benchmark::DoNotOptimize(board.GetMove(4.0f, 1.0f, 2.0f));
}

// The game screen of a puzzle game: the item list with the board in it, sparks bursting from a
// tile every few frames as chains would make them, and a chain being dragged.
class BoardScreen : public GameScreen {
  public:
    BoardScreen() : GameScreen("benchboard") {}
    void Start() override {
        StartGui();
        board = std::make_shared<GUIBoard>("gameboard", "", 6, 6, BoardRules::kBattle);
        board->SetActor2(std::make_shared<PuzzleActor>());
        board->Fade(0);
        GUIList::Add(board, 1800);
    }
    void Update2() override {
        UpdateGui();
        if (!board->inited || ++ticks % 4 != 0) return;
        const Tile& t = board->board[static_cast<size_t>(ticks / 4 % 36)];
        GUIParticleDot::CreateBang(TruncToInt(board->x + t.x + 32), TruncToInt(board->y + t.y + 32), 16,
                                   0xFFFFFF, 0.75f, nullptr);
        if (board->marked.IsEmpty())
            for (int c = 0; c < 5; ++c) board->marked.Add(board->TileAt(c, 3));
    }
    void Render() override {
        platform::Cls(20, 20, 40);
        RenderGui();
    }
    std::shared_ptr<GUIBoard> board;
    long ticks = 0;
};

// The board's art and sounds, and the screen up: dealt, landed, sparks flying.
std::shared_ptr<BoardScreen> BringBoardUp() {
    ImageBank& images = *briskGame->images;
    images.Load3("Particle32x32.png", "", true);
    images.LoadAnim2("TileBg70x80.png", 70, 80, 2);
    images.LoadAnim2("Tiles64x64.png", 64, 64, 12);
    for (const char* marker : {"TileMarker.png", "TileMarker2.png", "TileMarker3.png"})
        images.Load3(marker, "", true);
    for (int sound : {2, 3, 4, 9, 14, 29, 30, 33})
        briskGame->sounds->Load5(std::string(Audio::SoundName(sound)) + ".ogg");
    auto screen = std::make_shared<BoardScreen>();
    screen->PreStart();
    platform::driver::Step(240);
    return screen;
}

void BM_BoardFrame(benchmark::State& state) {
    RunningGame game;
    if (!game.StartedFor(state)) return;
    auto screen = BringBoardUp();
    platform::driver::SaveFramePNG("frames/bench_board.png");

    state.counters["frame_ms"] = TimeWholeFrames(state);
    state.counters["dots"] = GUIParticleDot::InUse();
    state.counters["heap_per_frame"] = HeapCallsPerFrame(60, [] { platform::driver::Step(1); });
    screen.reset();
}

void BM_BoardWindow(benchmark::State& state) {
    const ForcedRenderer renderer(state);
    RunningGame game(true);
    if (!game.StartedFor(state)) return;
    auto screen = BringBoardUp();
    platform::driver::SaveFramePNG("frames/window_board.png");
    MeasureWindow(state);
    state.counters["dots"] = GUIParticleDot::InUse();
}

}  // namespace

BENCHMARK(BM_AnyMoveLeft)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HintSearch)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpponentChoice)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BoardFrame)->Unit(benchmark::kMillisecond);
[[maybe_unused]] const bool boardWindow = RegisterWindowed("BM_BoardWindow", BM_BoardWindow);
BENCHMARK_MAIN();
