// One update and one render of the tile dungeon at its busiest, in the real game headless (run from
// the build folder, where "data" lives): the largest grid the screen holds, every cell floor, the
// left half explored, so the whole frontier is offered as tiles to click and the frame walks every
// cell and every offered tile.
#include "minigames/dungeon.hpp"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "bench/gamebench.hpp"
#include "framework/framework.hpp"
#include "gui/gui2.hpp"
#include "model/actions.hpp"
#include "model/profile.hpp"
#include "model/quests.hpp"
#include "platform/engine.hpp"
#include "platform/graphics.hpp"

namespace {

void LoadArt() {
    LoadFontsAndSounds();
    ImageBank& images = *briskGame->images;
    images.LoadAnim2("DungeonTiles64x64.png", 64, 64, 6);
    images.Load3("Particle32x32.png", "", true);
    images.Load3("Street.jpg");
    images.LoadAtlas("Atlas02.txt", 1);
}

void BM_DungeonFrame(benchmark::State& state) {
    RunningGame running;
    if (!running.StartedFor(state)) return;
    LoadArt();
    NewHeroInFirstSlot();
    Profile::SetFlagInt("Flag.intro_dungeon", 1);
    std::make_shared<UnderMap>()->PreStart();
    platform::driver::Step(2);

    Dungeon dungeon;
    dungeon.w = 15;
    dungeon.h = 9;
    dungeon.starty = 4;
    for (int y = 0; y < dungeon.h; ++y) {
        for (int x = 0; x < dungeon.w; ++x) {
            auto tile = std::make_shared<DungeonTile>();
            tile->x = x;
            tile->y = y;
            dungeon.tiles.Add(tile);
        }
    }
    Actions::starters.dungeon(dungeon);
    platform::driver::Step(60);
    auto* game = dynamic_cast<GUIGameDungeon*>(GUIList::Get("dungeon", ""));
    if (!game) {
        state.SkipWithError("the dungeon did not open");
        return;
    }
    for (int y = 0; y < dungeon.h; ++y) {
        for (int x = 0; x < 7; ++x) game->board.SetCell(x, y, 1);
    }
    platform::driver::Step(30);
    platform::driver::SaveFramePNG("frames/bench_dungeon.png");
    double total = 0, worst = 0;
    long frames = 0;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        platform::driver::Step(1);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
        total += ms;
        worst = std::max(worst, ms);
        ++frames;
    }
    state.counters["frame_ms"] = total / static_cast<double>(frames);
    state.counters["worst_ms"] = worst;
    state.counters["heap_per_frame"] = HeapCallsPerFrame(60, [] { platform::driver::Step(1); });
    state.counters["tiles_offered"] = 0;
    for (int y = 0; y < dungeon.h; ++y) {
        for (int x = 0; x < dungeon.w; ++x) {
            if (GUIList::Get("tile", std::to_string(game->board.Index(x, y))))
                state.counters["tiles_offered"] += 1;
        }
    }
}

}  // namespace

BENCHMARK(BM_DungeonFrame)->Iterations(120)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
