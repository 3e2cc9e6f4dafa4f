// One update and render of a battle frame while a power's effect plays, in the real game headless
// (run from the build folder, where "data" lives): the fighters' portraits, the effect's pictures
// turning and added on top, the impact sparks and the floating numbers. A new effect starts as
// soon as one ends, so every counted frame has one running.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "bench/gamebench.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/gui2.hpp"
#include "gui/particledot.hpp"
#include "minigames/battlefx.hpp"
#include "minigames/board.hpp"
#include "model/board.hpp"
#include "model/powers.hpp"
#include "platform/graphics.hpp"

namespace {

// The battle's screen reduced to its item list with one effect after another in it.
class EffectScreen : public GameScreen {
  public:
    EffectScreen() : GameScreen("benchbattle") {}
    void Start() override {
        StartGui();
        BattleState::player = Fighter("Characters01");
        BattleState::opponent = Fighter("Characters02");
        power = Powers::Get("Thunder Storm");
    }
    void Update2() override {
        UpdateGui();
        if (power && !GUIList::Get("powerpopup", "")) {
            BattleState::opponent->health.value = 1000;
            GUIList::Add(GUIFX::GUIFX_new(*power, BattleState::player, BattleState::opponent, 0), 1900);
            ++effects;
        }
    }
    void Render() override {
        platform::Cls(20, 20, 40);
        RenderGui();
    }
    static std::shared_ptr<PuzzleActor> Fighter(const char* image) {
        auto fighter = std::make_shared<PuzzleActor>();
        fighter->image = image;
        fighter->maxHealth = 1000;
        fighter->health.value = 1000;
        return fighter;
    }
    Power* power = nullptr;
    long effects = 0;
};

void BM_BattleEffectFrame(benchmark::State& state) {
    RunningGame game;
    if (!game.StartedFor(state)) return;
    ImageBank& images = *briskGame->images;
    images.Load3("Particle32x32.png", "", true);
    images.LoadAnim2("Characters01.png", 256, 256, 4);
    images.LoadAnim2("Characters02.png", 256, 256, 4);
    for (const char* file : {"FXLightning1.png", "FXLightning2.png", "FXBall1.png", "FXBall2.png", "FXRender.png"})
        images.Load3(file, "", true);
    images.Load3("FXLightning3.png");
    auto screen = std::make_shared<EffectScreen>();
    screen->PreStart();
    if (!screen->power) {
        state.SkipWithError("no \"Thunder Storm\" among the powers");
        return;
    }
    platform::driver::Step(90);  // the fighters in place, the first bolts striking
    platform::driver::SaveFramePNG("frames/bench_battle_effect.png");

    state.counters["frame_ms"] = TimeWholeFrames(state);
    state.counters["effects"] = static_cast<double>(screen->effects);
    state.counters["dots"] = GUIParticleDot::InUse();
    state.counters["heap_per_frame"] = HeapCallsPerFrame(60, [] { platform::driver::Step(1); });
    BattleState::InitGlobals();
    screen.reset();
}

}  // namespace

BENCHMARK(BM_BattleEffectFrame)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
