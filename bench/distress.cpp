// One update and one render of each distress game at its busiest, in the real game headless (run
// from the build folder, where "data" lives): the most signs falling, the most traffic, the full
// crowd, a charging ring with the cats and sparks of the blow before it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "bench/gamebench.hpp"
#include "framework/framework.hpp"
#include "gui/gui2.hpp"
#include "gui/particledot.hpp"
#include "minigames/gamecar_item.hpp"
#include "minigames/gamefalling_item.hpp"
#include "minigames/gamesearch_item.hpp"
#include "minigames/gametree_item.hpp"
#include "model/actions.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/engine.hpp"
#include "platform/graphics.hpp"

namespace {


// What the loading screen puts into the banks for these games.
void LoadArt() {
    LoadFontsAndSounds();
    ImageBank& images = *briskGame->images;
    struct Anim {
        const char* file;
        int w, h, frames;
        bool mid;
    };
    for (const Anim& a : {Anim{"Signs128x128.png", 128, 128, 6, false}, Anim{"Characters01.png", 256, 256, 4, false},
                          Anim{"Characters08.png", 256, 256, 3, false}, Anim{"HeroSmall80x80.png", 80, 80, 4, false},
                          Anim{"TreeCircle320x320.png", 320, 320, 2, true}, Anim{"TileBg70x80.png", 70, 80, 2, false},
                          Anim{"Citizen01.png", 24, 32, 24, true}, Anim{"Citizen02.png", 24, 32, 24, true},
                          Anim{"Citizen03.png", 24, 32, 24, true}, Anim{"Citizen04.png", 24, 32, 24, true},
                          Anim{"Citizen05.png", 24, 32, 24, true}})
        images.LoadAnim2(a.file, a.w, a.h, a.frames, nullptr, a.mid);
    for (const char* file :
         {"MinigameCar.png", "MinigameCar2.png", "MinigameCar3.png", "TreeCat.png", "Particle32x32.png"})
        images.Load3(file, "", true);
    for (const char* file : {"Street.jpg", "Road.jpg", "Square.jpg", "Tree.png"}) images.Load3(file);
}

// Starts the game of that name over the map and steps until it is at its busiest (`busy` says
// when, and may keep it so), then times single frames.
template <typename Game>
void RunGame(benchmark::State& state, const char* name, bool (*busy)(Game&), int moment = 1) {
    RunningGame running;
    if (!running.StartedFor(state)) return;
    LoadArt();
    NewHeroInFirstSlot();
    Profile::SetFlagString("CharacterPortrait", "Characters01");
    Profile::SetFlagInt("Game.Clues", 1);
    auto screen = std::make_shared<UnderMap>();
    screen->PreStart();
    platform::driver::Step(2);
    ActionItemGameDistress action;
    action.minigame = name;
    action.difficulty = 3;
    Actions::starters.distress[name](action);
    platform::driver::Step(1);
    Game* game = dynamic_cast<Game*>(GUIList::Get("distress", ""));
    // The `moment`th time it gets busy: a game whose busy moments come and go (the tree's blows)
    // pays for what its first one draws for the first time before the frames are measured.
    bool ready = false;
    for (int seen = 0; game && seen < moment; ++seen) {
        for (int i = 0; seen > 0 && i < 3000 && busy(*game); ++i) platform::driver::Step(1);
        ready = false;
        for (int i = 0; i < 3000 && !ready; ++i) {
            platform::driver::Step(1);
            ready = busy(*game);
        }
    }
    if (!ready) {
        state.SkipWithError("the game never got busy");
        return;
    }
    platform::driver::SaveFramePNG(std::string("frames/bench_distress_") + name + ".png");
    // One update and one render of the screen with the game over it, without the engine's event
    // and present work; the clock moves on by a frame each time.
    double updateMs = 0, renderMs = 0, worst = 0;
    long frames = 0;
    for (auto _ : state) {
        busy(*game);
        platform::driver::AdvanceClock(16);
        const auto a = std::chrono::steady_clock::now();
        screen->Update2();
        const auto b = std::chrono::steady_clock::now();
        screen->Render();
        const auto c = std::chrono::steady_clock::now();
        updateMs += std::chrono::duration<double, std::milli>(b - a).count();
        renderMs += std::chrono::duration<double, std::milli>(c - b).count();
        worst = std::max(worst, std::chrono::duration<double, std::milli>(c - a).count());
        ++frames;
    }
    state.counters["update_ms"] = updateMs / static_cast<double>(frames);
    state.counters["render_ms"] = renderMs / static_cast<double>(frames);
    state.counters["frame_ms"] = (updateMs + renderMs) / static_cast<double>(frames);
    state.counters["worst_ms"] = worst;
    state.counters["heap_per_frame"] = HeapCallsPerFrame(60, [&] {
        busy(*game);
        platform::driver::AdvanceClock(16);
        screen->Update2();
        screen->Render();
    });
}

// The hero stands off the street, so the signs keep coming.
bool FallingBusy(GUIGameFalling& game) {
    game.rules.heroX = -1000;
    return game.rules.falling.size() >= 2;
}

// The hero stands off the road, so the traffic keeps coming.
bool CarBusy(GUIGameCar& game) {
    game.rules.px = -1000;
    return game.rules.objects.size() >= 3;
}

bool SearchBusy(GUIGameSearch& game) {
    return game.timer != nullptr && !GUIList::Get("dialogue", "");
}

// Just after a full blow: the cats flung, the sparks of the blow flying, the ring fading. The
// button is held until the ring is nearly full, as a player does.
bool TreeBusy(GUIGameTree& game) {
    const TreeRules& rules = game.rules;
    if (rules.ring == 0 && rules.ok && GUIList::Get("gamepopup", "button") && !Data::mouseHeld) {
        platform::driver::InjectMouseMove(500, 300);
        platform::driver::InjectMouseButton(0, true);
    } else if (rules.ring > 0.85f * TreeRules::kRingMax) {
        platform::driver::InjectMouseButton(0, false);
    }
    return GUIList::Get("cat", "") != nullptr && GUIParticleDot::InUse() > 60;
}

void BM_FallingFrame(benchmark::State& state) {
    RunGame<GUIGameFalling>(state, "falling", FallingBusy);
}
void BM_CarFrame(benchmark::State& state) {
    RunGame<GUIGameCar>(state, "car", CarBusy);
}
void BM_SearchFrame(benchmark::State& state) {
    RunGame<GUIGameSearch>(state, "search", SearchBusy);
}
void BM_TreeFrame(benchmark::State& state) {
    RunGame<GUIGameTree>(state, "tree", TreeBusy, 2);
}

}  // namespace

BENCHMARK(BM_FallingFrame)->Iterations(60)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CarFrame)->Iterations(60)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchFrame)->Iterations(120)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeFrame)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
