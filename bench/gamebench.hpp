#pragma once
// What every benchmark of the running game shares: counting the heap calls of the process, a
// per-user folder of its own, and starting and stopping the real game headless on the baked data.
// Included by exactly one source of each benchmark program (it replaces malloc and operator new).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

#include "framework/main.hpp"
#include "gui/gui2.hpp"
#include "model/profile.hpp"
#include "platform/engine.hpp"
#include "platform/graphics.hpp"
#include "platform/storage.hpp"

// --- Heap counting -------------------------------------------------------------------------------
// Every allocation of the process goes through these while `counting` is on: C++ allocations
// through operator new, and everything (SDL, libpng, C++ included) through malloc itself.

namespace {
std::atomic<bool> counting{false};
std::atomic<long> newCalls{0};
std::atomic<long> mallocCalls{0};
}  // namespace

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);

void* malloc(size_t size) {
    if (counting.load(std::memory_order_relaxed)) mallocCalls.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
    if (counting.load(std::memory_order_relaxed)) mallocCalls.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}
void* realloc(void* p, size_t size) {
    if (counting.load(std::memory_order_relaxed)) mallocCalls.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(p, size);
}
}

// These pair operator new with malloc on purpose; the compiler cannot see that.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(size_t size) {
    if (counting.load(std::memory_order_relaxed)) newCalls.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, size_t) noexcept {
    std::free(p);
}

namespace {

// One update and one render of a screen timed apart, with the heap calls each half makes (the
// game's own code should make none), summed over the benchmark's frames.
struct FrameTally {
    double updateMs = 0, renderMs = 0;
    long frames = 0, updateHeap = 0, renderHeap = 0;

    template <class Update, class Render>
    void Measure(Update update, Render render) {
        newCalls = 0;
        mallocCalls = 0;
        counting = true;
        const auto a = std::chrono::steady_clock::now();
        update();
        const auto b = std::chrono::steady_clock::now();
        counting = false;
        updateHeap += newCalls.load() + mallocCalls.load();
        newCalls = 0;
        mallocCalls = 0;
        counting = true;
        render();
        const auto c = std::chrono::steady_clock::now();
        counting = false;
        renderHeap += newCalls.load() + mallocCalls.load();
        updateMs += std::chrono::duration<double, std::milli>(b - a).count();
        renderMs += std::chrono::duration<double, std::milli>(c - b).count();
        ++frames;
    }

    // The per-frame averages; `frameName` names the counter of the whole frame.
    void Report(benchmark::State& state, const char* frameName) const {
        const double n = frames > 0 ? static_cast<double>(frames) : 1.0;
        state.counters["update_ms"] = updateMs / n;
        state.counters["render_ms"] = renderMs / n;
        state.counters[frameName] = (updateMs + renderMs) / n;
        state.counters["update_heap_per_frame"] = static_cast<double>(updateHeap) / n;
        state.counters["render_heap_per_frame"] = static_cast<double>(renderHeap) / n;
    }
};

// Whole frames of the running game (update, render and the engine's present), one per benchmark
// iteration; returns the average milliseconds of one.
[[maybe_unused]] double TimeWholeFrames(benchmark::State& state) {
    const auto begin = std::chrono::steady_clock::now();
    long frames = 0;
    for (auto _ : state) {
        platform::driver::Step(1);
        ++frames;
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    return frames > 0 ? ms / static_cast<double>(frames) : 0.0;
}

// The heap calls of the whole process (SDL's included) per call of `frame`, over `frames` calls.
template <class Frame>
double HeapCallsPerFrame(int frames, Frame frame) {
    newCalls = 0;
    mallocCalls = 0;
    counting = true;
    for (int i = 0; i < frames; ++i) frame();
    counting = false;
    return static_cast<double>(newCalls.load() + mallocCalls.load()) / frames;
}

// The map's item list under a game, over a plain ground.
class UnderMap : public GameScreen {
  public:
    UnderMap() : GameScreen("Map") {}
    void Start() override { StartGui(); }
    void Update2() override { UpdateGui(); }
    void Render() override {
        platform::Cls(30, 60, 30);
        RenderGui();
    }
};

namespace fs = std::filesystem;

[[maybe_unused]] double PeakRssMB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

// A per-user folder of its own, holding the default settings with full screen off, so the game
// opens its 1000 x 600 window as a player's would after choosing windowed mode.
class UserFolder {
  public:
    UserFolder() {
        std::string pattern = (fs::temp_directory_path() / "brallwick-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) return;
        path_ = pattern;
        InitGlobals();
        Profile::InitGlobal();
        Profile::SetGlobalFlagInt("Fullscreen", 0);
        const std::string state = Profile::saveData->ToString();
        InitGlobals();
        fs::create_directories(fs::path(path_) / platform::kGameFolderName);
        std::ofstream(fs::path(path_) / platform::kGameFolderName / ".vantlestate", std::ios::binary)
            << state;
    }
    ~UserFolder() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

platform::EngineOptions Options(const UserFolder& user) {
    platform::EngineOptions options;
    options.headless = true;
    options.fakeClock = true;
    options.messageBoxes = false;
    options.appDataFolder = user.path();
    return options;
}

[[maybe_unused]] bool HaveData(benchmark::State& state) {
    if (fs::exists("data/Yikes24.txt")) return true;
    state.SkipWithError("no baked data folder here: run from the build folder");
    return false;
}

// The program as the player starts it: the initialiser, main, OnCreate with the window, the data
// tables and the first screen, and the first render.
bool StartGame(const UserFolder& user) {
    WireGame();
    if (!platform::driver::Start(&InitGlobals, &RunMain, Options(user))) return false;
    return platform::driver::Step(1);
}

void StopGame() {
    platform::driver::Stop();
    InitGlobals();
}

// The game started for the length of a benchmark, in a user folder of its own, and stopped and
// reset when it goes. Started() is false without the baked data folder here.
class RunningGame {
  public:
    RunningGame() : started_(fs::exists("data/Yikes24.txt") && !user_.path().empty() && StartGame(user_)) {}
    ~RunningGame() {
        if (started_) StopGame();
    }
    RunningGame(const RunningGame&) = delete;
    RunningGame& operator=(const RunningGame&) = delete;

    bool Started() const { return started_; }
    // Started, or the benchmark skipped with the reason; the folder for its saved frames made.
    bool StartedFor(benchmark::State& state) const {
        if (!started_) {
            state.SkipWithError("no baked data folder here: run from the build folder");
            return false;
        }
        std::error_code ignored;
        fs::create_directories("frames", ignored);
        return true;
    }

  private:
    UserFolder user_;
    bool started_;
};

}  // namespace
