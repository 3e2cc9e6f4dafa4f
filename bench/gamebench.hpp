#pragma once
// What every benchmark of the running game shares: counting the heap calls of the process, a
// per-user folder of its own, and starting and stopping the real game headless on the baked data.
// Included by exactly one source of each benchmark program (it replaces malloc and operator new).
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <time.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <string>

#include "core/glyphfont.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "framework/main.hpp"
#include "gui/audio2.hpp"
#include "gui/gui2.hpp"
#include "model/profile.hpp"
#include "platform/engine.hpp"
#include "platform/decodeahead.hpp"
#include "platform/graphics.hpp"
#include "platform/storage.hpp"
#include "platform/testing.hpp"

// --- Heap counting -------------------------------------------------------------------------------
// Every allocation of the process goes through these while `counting` is on: C++ allocations
// through operator new, and everything (SDL, libpng, C++ included) through malloc itself. Counting
// starts only once the worker that decodes pictures ahead is idle: the splash sets it on the
// title's pictures, which no benchmark loads, and its decoding is no frame's work.

namespace {
std::atomic<bool> counting{false};
std::atomic<long> newCalls{0};
std::atomic<long> mallocCalls{0};

void QuietDecodingWorker() {
    platform::ForgetDecodedAhead();
    platform::WaitForDecodingAhead(30000);
}
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

// --- Draw calls --------------------------------------------------------------------------------
// Every call of the game's that puts pixels on the renderer (on an accelerated renderer each is a
// draw call of its own) counted on its way to SDL, which is found behind this program's own.

namespace {
std::atomic<long> drawCalls{0};

template <class Call>
Call Behind(Call, const char* name) {
    return reinterpret_cast<Call>(dlsym(RTLD_NEXT, name));
}
}  // namespace

extern "C" {
int SDL_RenderGeometry(SDL_Renderer* r, SDL_Texture* t, const SDL_Vertex* v, int n, const int* i, int ni) {
    static const auto sdl = Behind(&SDL_RenderGeometry, "SDL_RenderGeometry");
    drawCalls.fetch_add(1, std::memory_order_relaxed);
    return sdl(r, t, v, n, i, ni);
}
int SDL_RenderCopy(SDL_Renderer* r, SDL_Texture* t, const SDL_Rect* src, const SDL_Rect* dst) {
    static const auto sdl = Behind(&SDL_RenderCopy, "SDL_RenderCopy");
    drawCalls.fetch_add(1, std::memory_order_relaxed);
    return sdl(r, t, src, dst);
}
int SDL_RenderCopyF(SDL_Renderer* r, SDL_Texture* t, const SDL_Rect* src, const SDL_FRect* dst) {
    static const auto sdl = Behind(&SDL_RenderCopyF, "SDL_RenderCopyF");
    drawCalls.fetch_add(1, std::memory_order_relaxed);
    return sdl(r, t, src, dst);
}
int SDL_RenderFillRect(SDL_Renderer* r, const SDL_Rect* rect) {
    static const auto sdl = Behind(&SDL_RenderFillRect, "SDL_RenderFillRect");
    drawCalls.fetch_add(1, std::memory_order_relaxed);
    return sdl(r, rect);
}
int SDL_RenderFillRectF(SDL_Renderer* r, const SDL_FRect* rect) {
    static const auto sdl = Behind(&SDL_RenderFillRectF, "SDL_RenderFillRectF");
    drawCalls.fetch_add(1, std::memory_order_relaxed);
    return sdl(r, rect);
}
}

namespace {

// One update and one render of a screen timed apart, with the heap calls each half makes (the
// game's own code should make none), summed over the benchmark's frames.
struct FrameTally {
    double updateMs = 0, renderMs = 0;
    long frames = 0, updateHeap = 0, renderHeap = 0, draws = 0;

    template <class Update, class Render>
    void Measure(Update update, Render render) {
        QuietDecodingWorker();
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
        const long drawsBefore = drawCalls.load();
        counting = true;
        render();
        const auto c = std::chrono::steady_clock::now();
        counting = false;
        draws += drawCalls.load() - drawsBefore;
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
        state.counters["draw_calls_per_frame"] = static_cast<double>(draws) / n;
    }
};

// Whole frames of the running game (update, render and the engine's present), one per benchmark
// iteration; returns the average milliseconds of one.
[[maybe_unused]] double TimeWholeFrames(benchmark::State& state) {
    const auto begin = std::chrono::steady_clock::now();
    const long drawsBefore = drawCalls.load();
    long frames = 0;
    for (auto _ : state) {
        platform::driver::Step(1);
        ++frames;
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    if (frames > 0) state.counters["draw_calls_per_frame"] = static_cast<double>(drawCalls.load() - drawsBefore) / frames;
    return frames > 0 ? ms / static_cast<double>(frames) : 0.0;
}

// The heap calls of the whole process (SDL's included) per call of `frame`, over `frames` calls.
template <class Frame>
double HeapCallsPerFrame(int frames, Frame frame) {
    QuietDecodingWorker();
    newCalls = 0;
    mallocCalls = 0;
    counting = true;
    for (int i = 0; i < frames; ++i) frame();
    counting = false;
    return static_cast<double>(newCalls.load() + mallocCalls.load()) / frames;
}

// The heap calls of `frames` whole frames of the running game (the engine's included), those of
// operator new and of malloc apart, per frame.
[[maybe_unused]] void CountWholeFrameHeap(benchmark::State& state, int frames) {
    QuietDecodingWorker();
    newCalls = 0;
    mallocCalls = 0;
    counting = true;
    platform::driver::Step(frames);
    counting = false;
    state.counters["new_per_frame"] = static_cast<double>(newCalls.load()) / frames;
    state.counters["malloc_per_frame"] = static_cast<double>(mallocCalls.load()) / frames;
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

// Headless with the fake clock, or (`windowed`) in a real window on the display with the real
// clock, as a player runs it.
platform::EngineOptions Options(const UserFolder& user, bool windowed = false) {
    platform::EngineOptions options;
    options.headless = !windowed;
    options.fakeClock = !windowed;
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
bool StartGame(const UserFolder& user, bool windowed = false) {
    WireGame();
    if (!platform::driver::Start(&InitGlobals, &RunMain, Options(user, windowed))) return false;
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
    explicit RunningGame(bool windowed = false)
        : started_(fs::exists("data/Yikes24.txt") && !user_.path().empty() && StartGame(user_, windowed)) {}
    ~RunningGame() {
        if (started_) StopGame();
    }
    RunningGame(const RunningGame&) = delete;
    RunningGame& operator=(const RunningGame&) = delete;

    bool Started() const { return started_; }
    // Started, or the benchmark skipped with the reason; the folder for its saved frames made.
    bool StartedFor(benchmark::State& state) const {
        if (!started_) {
            state.SkipWithError(fs::exists("data/Yikes24.txt")
                                    ? "the game did not start"
                                    : "no baked data folder here: run from the build folder");
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

// A new hero in the first slot, as the slots hand one over.
[[maybe_unused]] void NewHeroInFirstSlot() {
    Profile::currentSlot = 0;
    Profile::slotFlags = Profile::saveData->Profiles.Get2(0);
    Profile::Init();
}

// Every font and every sound of the game, as the loading screen puts them into their banks (a font
// already loaded is kept).
[[maybe_unused]] void LoadFontsAndSounds() {
    for (const char* id : Fonts::Ids())
        if (!Fonts::Get(id)) Fonts::Set(id, std::make_unique<GlyphFont>(Fonts::FileFor(id)));
    for (int sound = 0; sound < Audio::kSoundCount; ++sound)
        briskGame->sounds->Load5(std::string(Audio::SoundName(sound)) + ".ogg");
}

// --- Real windows ----------------------------------------------------------------------------
// With BENCH_WINDOWED=1 under an X display, the programs that have a screen to show also measure
// it in a real window: once with the renderer the game picks, once with OpenGL, once with SDL's
// software renderer.

bool Windowed() {
    const char* on = std::getenv("BENCH_WINDOWED");
    const char* display = std::getenv("DISPLAY");
    return on && std::string(on) == "1" && display && *display;
}

// Benchmark argument 0: the renderer the game picks; 1: OpenGL; 2: software. The game reads its
// own variable; SDL's is set too, so a build that predates the game's choice is told the same.
void ForceRenderer(int64_t which) {
    const char* names[] = {"", "opengl", "software"};
    const char* name = which >= 0 && which < 3 ? names[which] : "";
    for (const char* variable : {"BRALLWICK_RENDERER", "SDL_RENDER_DRIVER"}) {
        if (*name) {
            setenv(variable, name, 1);
        } else {
            unsetenv(variable);
        }
    }
}

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// The screen on in the window, measured: first frames back to back (what a frame costs, present
// included, in wall time and in processor time of the main thread and of the whole process, whose
// other threads are the renderer's and the sound's; its draw calls, and the heap calls of every
// thread), then the game's own paced loop for four
// seconds (the frames a second it holds, and the share of one core the process and its main
// thread take meanwhile: what a player's machine gives up to keep the game on screen).
[[maybe_unused]] void MeasureWindow(benchmark::State& state) {
    constexpr int kBackToBack = 240;
    constexpr int kPaced = 240;
    for (auto _ : state) {
        auto begin = std::chrono::steady_clock::now();
        double process = ProcessCpuSeconds(), main = ThreadCpuSeconds();
        const long drawsBefore = drawCalls.load();
        newCalls = 0;
        mallocCalls = 0;
        counting = true;
        platform::driver::Step(kBackToBack);
        counting = false;
        state.counters["draw_calls_per_frame"] = static_cast<double>(drawCalls.load() - drawsBefore) / kBackToBack;
        state.counters["heap_per_frame"] = static_cast<double>(newCalls.load() + mallocCalls.load()) / kBackToBack;
        double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        state.SetIterationTime(wall);
        state.counters["frame_ms"] = wall * 1000.0 / kBackToBack;
        state.counters["frame_main_cpu_ms"] = (ThreadCpuSeconds() - main) * 1000.0 / kBackToBack;
        state.counters["frame_process_cpu_ms"] = (ProcessCpuSeconds() - process) * 1000.0 / kBackToBack;

        begin = std::chrono::steady_clock::now();
        process = ProcessCpuSeconds();
        main = ThreadCpuSeconds();
        platform::driver::StepPaced(kPaced);
        wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        state.counters["paced_fps"] = kPaced / wall;
        state.counters["paced_process_cores"] = (ProcessCpuSeconds() - process) / wall;
        state.counters["paced_main_cores"] = (ThreadCpuSeconds() - main) / wall;
    }
    if (!platform::driver::Running()) state.SkipWithError("the game ended during the frames");
}

// The renderer a windowed benchmark asked for, for as long as it runs: the variables are cleared
// after it, so the headless programs that follow keep the software renderer.
class ForcedRenderer {
  public:
    explicit ForcedRenderer(const benchmark::State& state) { ForceRenderer(state.range(0)); }
    ~ForcedRenderer() { ForceRenderer(0); }
    ForcedRenderer(const ForcedRenderer&) = delete;
    ForcedRenderer& operator=(const ForcedRenderer&) = delete;
};

// Registers `body` (which starts the game in a window, brings its screen up and measures it) once
// per renderer, when windows are asked for.
[[maybe_unused]] bool RegisterWindowed(const char* name, void (*body)(benchmark::State&)) {
    if (!Windowed()) return false;
    benchmark::RegisterBenchmark(name, body)
        ->Arg(0)
        ->Arg(1)
        ->Arg(2)
        ->ArgName("renderer")
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    return true;
}

}  // namespace
