// How long a click on a far location takes to plan: the path search between the two nodes of the
// city graph whose cheapest walk is the longest (the goal is far under 50 microseconds).
#include <benchmark/benchmark.h>

#include "model/nodes.hpp"

namespace {

struct FarthestPair {
    int from = 1;
    int to = 1;
    int hops = 0;
};

FarthestPair FindFarthest() {
    FarthestPair best;
    for (int a = 1; a < Nodes::kNodeCount; ++a) {
        for (int b = a + 1; b < Nodes::kNodeCount; ++b) {
            const int hops = Nodes::GetPath(a, b).Size();
            if (hops > best.hops) best = {a, b, hops};
        }
    }
    return best;
}

void BM_PathBetweenTheFarthestNodes(benchmark::State& state) {
    Nodes::InitGlobals();
    const FarthestPair pair = FindFarthest();
    for (auto _ : state) {
        auto path = Nodes::GetPath(pair.from, pair.to);
        benchmark::DoNotOptimize(path.Size());
    }
    state.counters["from"] = pair.from;
    state.counters["to"] = pair.to;
    state.counters["hops"] = pair.hops;
}
BENCHMARK(BM_PathBetweenTheFarthestNodes)->Unit(benchmark::kMicrosecond);

// The search alone, without the list of boxed nodes the map receives.
void BM_SearchStepBetweenTheFarthestNodes(benchmark::State& state) {
    Nodes::InitGlobals();
    const FarthestPair pair = FindFarthest();
    BriskIntStack stack;
    stack.Reserve(Nodes::kNodeCount);
    for (auto _ : state) {
        stack.Clear();
        benchmark::DoNotOptimize(Nodes::NextStep(pair.from, pair.to, stack));
    }
}
BENCHMARK(BM_SearchStepBetweenTheFarthestNodes)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
