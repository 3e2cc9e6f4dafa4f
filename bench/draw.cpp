// What one rendered frame costs in the engine's draw path: a 1000 x 600 window (software
// renderer, as in the headless runs) with a full-screen background and N sprites, plain,
// rotated and additive.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/app.hpp"
#include "platform/engine.hpp"
#include "platform/graphics.hpp"
#include "platform/imagecodec.hpp"

namespace {

struct DrawApp : platform::App {
    platform::ImagePtr background, sprite;
    int sprites = 0;
    int mode = 0;  // 0 plain, 1 rotated, 2 additive

    void OnCreate() override { platform::OpenGraphics(1000, 600, 0, 60, 0); }
    void OnRender() override {
        if (!background) return;
        platform::Cls();
        platform::DrawImage(background, 0, 0);
        if (mode == 2) platform::SetBlend(1);
        for (int i = 0; i < sprites; ++i) {
            const float x = static_cast<float>((i * 37) % 960), y = static_cast<float>((i * 53) % 560);
            if (mode == 1)
                platform::DrawImage(sprite, x, y, static_cast<float>(i % 360), 1, 1);
            else
                platform::DrawImage(sprite, x, y);
        }
    }
};

DrawApp* app = nullptr;
void InitNothing() {}
void MakeApp() {
    app = new DrawApp;
}

platform::ImagePtr Picture(const std::string& file, int w, int h) {
    std::vector<uint8_t> px(static_cast<size_t>(w) * h * 4);
    for (size_t i = 0; i < px.size(); i += 4) {
        px[i] = static_cast<uint8_t>(i * 7);
        px[i + 1] = static_cast<uint8_t>(i * 3);
        px[i + 2] = 200;
        px[i + 3] = (i / 4) % 5 == 0 ? 0 : 255;
    }
    platform::WritePNG(file, w, h, px.data());
    return platform::LoadImage(file);
}

void BM_Frame(benchmark::State& state) {
    platform::EngineOptions options;
    options.headless = true;
    options.fakeClock = true;
    options.messageBoxes = false;
    if (!platform::driver::Start(InitNothing, MakeApp, options)) {
        state.SkipWithError("engine did not start");
        return;
    }
    platform::driver::Step(1);
    app->background = Picture("/tmp/brisk-bench-bg.png", 1000, 600);
    app->sprite = Picture("/tmp/brisk-bench-sprite.png", 48, 48);
    app->sprites = static_cast<int>(state.range(0));
    app->mode = static_cast<int>(state.range(1));
    for (auto _ : state) platform::driver::Step(1);
    state.counters["sprites"] = static_cast<double>(app->sprites);
    platform::driver::Stop();
    delete app;
    app = nullptr;
}

}  // namespace

BENCHMARK(BM_Frame)->Args({0, 0})->Args({300, 0})->Args({1200, 0})->Args({300, 1})->Args({300, 2})->Unit(
    benchmark::kMillisecond);
BENCHMARK_MAIN();
