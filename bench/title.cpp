// The game's opening, in the real game headless on the baked data (run from the build folder):
// how long the program takes from its start to the title screen, with every splash picture skipped
// by a click as a player in a hurry would (the splash row and the loading screen's one item per
// frame set the frames it takes; the wall time is what those frames cost to run), and what the single slowest
// item of the title's load list costs once the splash row has given its pictures their head start on the
// decoding worker (each item is one frame of the loading screen, so no item should take longer than a frame
// of 16.7 ms). With BENCH_WINDOWED=1, the title in a real window.
#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "bench/gamebench.hpp"
#include "framework/framework.hpp"
#include "screens/loader.hpp"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point begin, Clock::time_point end) {
    return std::chrono::duration<double>(end - begin).count();
}

bool OnScreen(const char* name) {
    return briskGame && briskGame->currentScreen && briskGame->currentScreen->name == name;
}

void BM_StartUpToTitle(benchmark::State& state) {
    if (!HaveData(state)) return;
    UserFolder user;
    int frames = 0;
    for (auto _ : state) {
        const auto begin = Clock::now();
        if (!StartGame(user)) {
            state.SkipWithError("the game did not start");
            return;
        }
        frames = 1;
        while (!OnScreen("Title") && frames < 5000) {
            if (OnScreen("Splash")) {
                // Press and release: the splash takes a press made after the button was seen up.
                platform::driver::InjectMouseButton(0, frames % 4 == 1);
            }
            platform::driver::Step(1);
            ++frames;
        }
        const auto end = Clock::now();
        StopGame();
        if (frames >= 5000) {
            state.SkipWithError("the title never came");
            return;
        }
        state.SetIterationTime(Seconds(begin, end));
    }
    state.counters["frames_to_title"] = frames;
    state.counters["game_seconds_to_title"] = frames / 60.0;
}

void BM_SlowestLoadItem(benchmark::State& state) {
    if (!HaveData(state)) return;
    UserFolder user;
    double slowest = 0;
    // The same in processor time of the main thread: on a busy machine the wall time of an item
    // also holds the time the thread waited for a processor.
    double slowestCpu = 0;
    double total = 0;
    std::string slowestName;
    for (auto _ : state) {
        if (!StartGame(user)) {
            state.SkipWithError("the game did not start");
            return;
        }
        // The splash row, clicked through as fast as a player can: its two pictures show at least
        // 0.7 s each, and meanwhile the title's pictures decode on the side.
        Loader::DecodeAhead("title");
        std::this_thread::sleep_for(std::chrono::milliseconds(1400));
        Loader loader("title");
        slowest = total = 0;
        slowestCpu = 0;
        while (!loader.done) {
            const auto begin = Clock::now();
            const double cpu = ThreadCpuSeconds();
            loader.Progress();
            const double took = Seconds(begin, Clock::now());
            slowestCpu = std::max(slowestCpu, ThreadCpuSeconds() - cpu);
            total += took;
            if (took > slowest && loader.next > 0) {
                slowest = took;
                slowestName = loader.items[loader.next - 1].name;
            }
        }
        Loader::preCache.clear();
        StopGame();
        state.SetIterationTime(total);
    }
    state.counters["slowest_item_ms"] = slowest * 1000.0;
    state.counters["slowest_item_cpu_ms"] = slowestCpu * 1000.0;
    state.counters["all_items_ms"] = total * 1000.0;
    state.SetLabel("slowest: " + slowestName);
}

// The title in a window, once it has come up the way a player brings it up.
void BM_TitleWindow(benchmark::State& state) {
    const ForcedRenderer renderer(state);
    RunningGame game(true);
    if (!game.StartedFor(state)) return;
    const auto giveUp = Clock::now() + std::chrono::seconds(60);
    for (int frame = 1; !OnScreen("Title") && Clock::now() < giveUp; ++frame) {
        if (OnScreen("Splash")) platform::driver::InjectMouseButton(0, frame % 4 == 1);
        platform::driver::Step(1);
    }
    if (!OnScreen("Title")) {
        state.SkipWithError("the title never came");
        return;
    }
    platform::driver::StepPaced(60);  // its fade-in, at the pace a player sees it
    platform::driver::SaveFramePNG("frames/window_title.png");
    MeasureWindow(state);
}

}  // namespace

BENCHMARK(BM_StartUpToTitle)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SlowestLoadItem)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
[[maybe_unused]] const bool titleWindow = RegisterWindowed("BM_TitleWindow", BM_TitleWindow);
BENCHMARK_MAIN();
