// The city map at its busiest, in the real game headless on the baked data (run from the build
// folder): every place revealed, 22 citizens, 6 resources, a burglar and a distress call on the
// streets, the heads-up display, and a dialogue of the story open over it. What one update and
// one render of that frame cost, with the dialogue and without, and whether it touches the heap.
// The game's own code allocates nothing in such a frame; what the counters show under render
// comes from the software renderer, which allocates for every scaled or rotated picture and every
// filled circle it draws.
#include <chrono>
#include <memory>
#include <string>

#include "bench/gamebench.hpp"
#include "framework/banks.hpp"
#include "framework/framework.hpp"
#include "gui/dialogue.hpp"
#include "gui/gui2.hpp"
#include "model/locations.hpp"
#include "screens/map.hpp"
#include "screens/walkers.hpp"

namespace {

// What the loading screen would have brought in for the map and a dialogue.
void LoadMapArt() {
    LoadFontsAndSounds();
    ImageBank& images = *briskGame->images;
    for (const char* atlas : {"Atlas01.txt", "Atlas02.txt", "Atlas03.txt"}) images.LoadAtlas(atlas, 1);
    for (const char* file : {"Map.jpg", "FrameSpeech.png", "FramePopup.png"}) images.Load3(file);
    images.Load3("Arrow.png", "", true);
    images.Load3("Particle32x32.png", "", true);
    images.LoadAnim2("HeroSmall80x80.png", 80, 80, 4);
    images.LoadAnim2("HeroMale1.png", 256, 256, 4);
    images.LoadAnim2("Buttons01.png", 200, 96, 3);
    images.LoadAnim2("Icons02.png", 56, 56, 7);
    for (const char* file : {"Characters01.png", "Characters02.png", "Characters04.png"})
        images.LoadAnim2(file, 256, 256, 4);
    for (const char* file : {"Citizen01.png", "Citizen02.png", "Citizen03.png", "Citizen04.png", "Citizen05.png"})
        images.LoadAnim2(file, 24, 32, 24, nullptr, true);
    for (const char* file : {"Citizen06.png", "Citizen07.png"}) images.LoadAnim2(file, 24, 32, 8, nullptr, true);
}

// A new hero in the first slot who has seen every place of the city.
void MakeHero() {
    NewHeroInFirstSlot();
    Profile::SetFlagString("Name", "Rook");
    Profile::SetFlagString("CharacterPortrait", "HeroMale1");
    Profile::SetFlagInt("Flag.Act", 1);
    Profile::SetFlagInt("Flag.ActShow", 1);
    for (const auto& place : Locations::locations) Profile::SetFlagInt("Location." + place->id, 1);
}

void AddWalkers(MapScreen& map) {
    for (int i = 0; i < GUIResource::kPoolSize; ++i) {
        GUIResource* resource = GUIResource::pool->Get4(0);
        resource->Init13(200 + i * 150, 300 + (i % 3) * 200, GUIResource::kMoney);
        GUIList::Add(resource, 500);
    }
    // Six citizens more than the city's own sixteen (their pool grows by a block, with a line).
    for (int i = 0; i < 6; ++i) GUIList::Add(GUICitizen::Create(), 400);
    GUIList::Add(std::make_shared<GUIBurglar>(map.mapCallback.get()), 500);
    GUIList::Add(std::make_shared<GUIDistress>(map.mapCallback.get()), 500);
}

// Calls `f` with each item of the map of that id.
template <class F>
void ForEachItem(const char* id, F f) {
    for (const auto& layer : GUIList::layers) {
        for (GUIItem* item : *layer)
            if (item->id == id) f(item);
    }
    for (GUIItem* item : *GUIList::currentList)
        if (item->id == id) f(item);
}

int Count(const char* id, const char* name = "") {
    int n = 0;
    ForEachItem(id, [&n, name](GUIItem* item) { n += *name == 0 || item->name == name ? 1 : 0; });
    return n;
}

// A dialogue is still typing its text out.
bool Typing() {
    bool typing = false;
    ForEachItem("dialogue", [&typing](GUIItem* item) {
        auto* dialogue = dynamic_cast<GUIDialogue*>(item);
        typing = typing || (dialogue && dialogue->text && !dialogue->text->done);
    });
    return typing;
}

// The burglar and the caller leave when their time is up (some fourteen seconds in): the frames
// keep them, so that every frame has the same walkers. Their rings keep turning, as the time
// goes back by whole turns.
void KeepWalkers() {
    for (const char* id : {"burglar", "distress"}) {
        ForEachItem(id, [](GUIItem* item) {
            if (auto* walker = dynamic_cast<GUIWalker*>(item); walker && walker->counter > 500) walker->counter -= 500;
        });
    }
}

// Steps the map a frame at a time, its walkers kept, while `waiting` says so (`most` frames at most).
template <class Waiting>
void StepWhile(int most, Waiting waiting) {
    for (int i = 0; i < most && waiting(); ++i) {
        KeepWalkers();
        platform::driver::Step(1);
    }
}

// The map up with its walkers and (with `talk`) the dialogue, holding still; null (the benchmark
// skipped) when it did not come up so.
std::shared_ptr<MapScreen> BringMapUp(benchmark::State& state, bool talk, int& walkers) {
    LoadMapArt();
    MakeHero();
    auto map = MapScreen::MapScreen_new();
    map->PreStart();
    // The map builds its display and the story opens its first dialogue.
    platform::driver::Step(10);
    AddWalkers(*map);
    // The Docks' first talk, over whatever the story put up.
    if (talk) GUIList::AddLast(std::make_shared<GUIDialogue>("a1_docks", 1));
    // Past the fade-ins, the dialogues' typing, the new quest's announcement going into the
    // corner and the first frames' one-off work. Then the story holds still (the engine is asked
    // every frame and answers busy), so every measured frame is the same frame.
    StepWhile(240, [] { return true; });
    StepWhile(900, [] { return Count("quest", "title") > 0 || Typing(); });
    StepWhile(60, [] { return true; });
    Profile::SetFlagInt("Flag.StopActions", 1);
    platform::driver::Step(10);
    walkers = Count("citizen") + Count("burglar") + Count("distress");
    if (walkers < 30 || (talk && GUIList::Get("dialogue", "") == nullptr) ||
        Count("location") < Locations::locations.Size()) {
        state.SkipWithError("the map did not come up with every place, 30 walkers and a dialogue");
        return nullptr;
    }
    return map;
}

void BM_MapFrame(benchmark::State& state) {
    RunningGame game;
    if (!game.StartedFor(state)) return;
    // Argument 1: with the dialogue; 0: the map alone.
    const bool talk = state.range(0) != 0;
    int walkers = 0;
    auto map = BringMapUp(state, talk, walkers);
    if (!map) return;
    platform::driver::SaveFramePNG(talk ? "frames/bench_map_dialogue.png" : "frames/bench_map.png");

    FrameTally tally;
    for (auto _ : state) {
        platform::driver::AdvanceClock(16);
        KeepWalkers();
        tally.Measure([&] { map->Update2(); }, [&] { map->Render(); });
    }
    state.counters["walkers"] = walkers;
    tally.Report(state, "map_frame_ms");
    if (talk && GUIList::Get("dialogue", "") == nullptr) state.SkipWithError("the dialogue closed during the frames");
}

// The busiest map, with the dialogue, in a window.
void BM_MapWindow(benchmark::State& state) {
    const ForcedRenderer renderer(state);
    RunningGame game(true);
    if (!game.StartedFor(state)) return;
    int walkers = 0;
    auto map = BringMapUp(state, true, walkers);
    if (!map) return;
    platform::driver::SaveFramePNG("frames/window_map.png");
    MeasureWindow(state);
    state.counters["walkers"] = walkers;
}

}  // namespace

BENCHMARK(BM_MapFrame)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
[[maybe_unused]] const bool mapWindow = RegisterWindowed("BM_MapWindow", BM_MapWindow);
BENCHMARK_MAIN();
