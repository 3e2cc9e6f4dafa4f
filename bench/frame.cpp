// The real game, headless with the software renderer and the baked data folder (run from the
// build folder, where "data" lives): how long start-up takes up to the first rendered frame, what
// one update and one render of a busy 1000 x 600 frame cost when drawn through the game's own
// layers, whether that frame touches the heap, and the peak memory of the process.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "framework/main.hpp"
#include "gui/gui2.hpp"
#include "gui/image.hpp"
#include "gui/particledot.hpp"
#include "gui/primitive.hpp"
#include "gui/text.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/engine.hpp"
#include "platform/graphics.hpp"
#include "platform/storage.hpp"

#include "bench/gamebench.hpp"

namespace {

void BM_StartUp(benchmark::State& state) {
    if (!HaveData(state)) return;
    UserFolder user;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        const bool started = StartGame(user);
        const auto end = std::chrono::steady_clock::now();
        StopGame();
        if (!started) {
            state.SkipWithError("the game did not start");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
    }
    state.counters["peak_rss_MB"] = PeakRssMB();
}

// A screen as busy as the game's own get: a full-screen background from the image bank, 300
// framed sprites walking across it and a block of text in a baked font, all through the game's
// image and text layers.
class BusyScreen : public Screen {
  public:
    static constexpr int kSprites = 300;

    BusyScreen() : Screen("benchbusy") {}

    void Start() override {
        background = briskGame->images->Load3("Arena.jpg");
        const char* sheets[] = {"Citizen01.png", "Citizen02.png", "Citizen03.png", "Citizen04.png",
                                "Citizen05.png"};
        for (const char* sheet : sheets)
            walkers.push_back(briskGame->images->LoadAnim2(sheet, 24, 32, 24, nullptr, true));
        font = Fonts::Get("n");
        text = Data::ExTextSplit(
            "The city never sleeps, and neither does its newest protector. Every street has a story, "
            "every rooftop a view, and every citizen below a reason to look up.\\n\\nTonight the "
            "docks are quiet, the bank is closed and the mayor is giving a speech in the park. "
            "Somewhere between those three, something is about to go wrong.\\nStay sharp.",
            font, 560);
        for (int i = 0; i < kSprites; ++i) {
            Sprite& s = sprites[i];
            s.x = static_cast<float>((i * 37) % 1000);
            s.y = static_cast<float>(40 + (i * 53) % 540);
            s.vx = static_cast<float>(i % 7 - 3) * 0.5f;
            s.sheet = i % 5;
            s.frame = i % 24;
        }
    }

    void Update2() override {
        ++ticks;
        for (Sprite& s : sprites) {
            s.x += s.vx;
            if (s.x < -12) s.x += 1024;
            if (s.x > 1012) s.x -= 1024;
            if (ticks % 6 == 0) s.frame = (s.frame + 1) % 24;
        }
    }

    void Render() override {
        platform::Cls(0, 0, 0);
        background->Draw2(0, 0);
        for (const Sprite& s : sprites) walkers[s.sheet]->Draw2(s.x, s.y, 0, 1, 1, s.frame);
        platform::SetColor(255, 255, 128);
        Data::ExDrawText(40, 40, text, font, 0, 560, 100000);
        platform::SetColor(255, 255, 255);
    }

    struct Sprite {
        float x = 0, y = 0, vx = 0;
        int sheet = 0, frame = 0;
    };
    GameImage* background = nullptr;
    std::vector<GameImage*> walkers;
    GlyphFont* font = nullptr;
    std::string text;
    Sprite sprites[kSprites];
    long ticks = 0;
};

void BM_BusyFrame(benchmark::State& state) {
    RunningGame game;
    if (!game.StartedFor(state)) return;
    auto screen = std::make_shared<BusyScreen>();
    screen->PreStart();
    // Past the first frames, whose one-off work (the clocks' first readings, the renderer's
    // buffers growing to the frame's size) is start-up rather than a frame's cost.
    platform::driver::Step(120);
    if (platform::DeviceWidth() != 1000 || platform::DeviceHeight() != 600 || !screen->background ||
        screen->walkers.size() != 5 || !screen->font) {
        state.SkipWithError("the busy screen did not come up at 1000 x 600");
        return;
    }
    // The frame being measured, for a look.
    platform::driver::SaveFramePNG("frames/bench_busy.png");

    const double frameMs = TimeWholeFrames(state);
    state.counters["frame_ms"] = frameMs;
    state.counters["budget_share"] = frameMs / (1000.0 / 60.0);
    CountWholeFrameHeap(state, 240);
    state.counters["peak_rss_MB"] = PeakRssMB();
    if (!platform::driver::Running()) state.SkipWithError("the game ended during the frames");
}

// A game screen as busy as a crowded map with a popup open: 1000 GUI items (pictures, texts and
// boxes at many priorities, a third of them in a suspended layer) and 1024 dots flying over them,
// updated and drawn through the item list as every game screen does it.
class BusyGuiScreen : public GameScreen {
  public:
    static constexpr int kItems = 1000;
    static constexpr int kDots = 1024;

    BusyGuiScreen() : GameScreen("benchgui") {}

    void Start() override {
        StartGui();
        briskGame->images->Load3("Particle32x32.png", "", true);
        for (const char* sheet : {"Citizen01.png", "Citizen02.png", "Citizen03.png"}) {
            briskGame->images->LoadAnim2(sheet, 24, 32, 24, nullptr, true);
        }
        GlyphFont* font = Fonts::Get("n");
        const char* sheets[] = {"Citizen01", "Citizen02", "Citizen03"};
        for (int i = 0; i < kItems; ++i) {
            const float x = static_cast<float>((i * 37) % 980);
            const float y = static_cast<float>(10 + (i * 53) % 570);
            GUIItem* item = nullptr;
            switch (i % 3) {
                case 0:
                    item = GUIImage::Create(x, y, sheets[i % 3 == 0 ? (i / 3) % 3 : 0], i % 24);
                    break;
                case 1:
                    item = GUIText::Create(x, y, std::string(1, '+').append(std::to_string(i)), font, 0xffff80);
                    break;
                default:
                    item = GUIPrimitive::Create(x, y, 12, 12, "box", 0x4080c0, 1);
                    break;
            }
            GUIList::Add(item, i % 50);
            // A popup over the first third: those items go to a suspended layer.
            if (i == kItems / 3) GUIList::Suspend();
        }
        for (int i = 0; i < kDots; ++i) {
            GUIParticleDot::Create((i * 13) % 1000, (i * 29) % 600, 4, 0xc0c0ff, static_cast<float>(i % 360),
                                   0.2f, 0.0005f, 0);
        }
    }

    void Update2() override { UpdateGui(); }

    void Render() override {
        platform::Cls(0, 0, 0);
        RenderGui();
    }
};

void BM_GuiFrame(benchmark::State& state) {
    RunningGame game;
    if (!game.StartedFor(state)) return;
    auto screen = std::make_shared<BusyGuiScreen>();
    screen->PreStart();
    // Past the fade-ins of the items (500 ms) and the first frames' one-off work.
    platform::driver::Step(120);
    if (GUIList::currentList->Size() + GUIList::layers.front()->Size() != BusyGuiScreen::kItems ||
        GUIParticleDot::InUse() != BusyGuiScreen::kDots) {
        state.SkipWithError("the GUI screen did not come up with all its items and dots");
        return;
    }
    platform::driver::SaveFramePNG("frames/bench_gui.png");

    // One update and one render of the screen, without the engine's event and present work.
    // The heap calls of each half are counted too: the GUI's own code (the update, and the render
    // up to the engine's draw calls) should make none.
    FrameTally tally;
    for (auto _ : state) {
        tally.Measure([&] { screen->Update2(); }, [&] { screen->Render(); });
    }
    tally.Report(state, "gui_frame_ms");

    // Heap calls of whole frames of the game (engine included) in the steady state.
    CountWholeFrameHeap(state, 240);
    if (GUIParticleDot::InUse() != BusyGuiScreen::kDots) state.SkipWithError("dots died during the frames");
}

// The same GUI screen in a window, where each renderer shows what its draw calls cost.
void BM_GuiWindow(benchmark::State& state) {
    const ForcedRenderer renderer(state);
    RunningGame game(true);
    if (!game.StartedFor(state)) return;
    auto screen = std::make_shared<BusyGuiScreen>();
    screen->PreStart();
    platform::driver::Step(120);
    platform::driver::SaveFramePNG("frames/window_gui.png");
    MeasureWindow(state);
    screen.reset();
}

// What a save costs the frame that makes it: the main thread only hands the state over and the
// disk work runs beside the game, so this stays far below a frame. (The previous save is finished
// outside the measure: saves come seconds apart in play.)
void BM_SaveStateOnTheFrame(benchmark::State& state) {
    UserFolder user;
    const std::string saved(24 * 1024, 'x');
    for (auto _ : state) {
        if (!platform::SaveState(saved)) {
            state.SkipWithError("the state could not be saved");
            break;
        }
        state.PauseTiming();
        platform::FinishStateWrites();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_SaveStateOnTheFrame)->Unit(benchmark::kMillisecond)->Iterations(60);
BENCHMARK(BM_StartUp)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_BusyFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GuiFrame)->Unit(benchmark::kMillisecond);
[[maybe_unused]] const bool guiWindow = RegisterWindowed("BM_GuiWindow", BM_GuiWindow);
BENCHMARK_MAIN();
