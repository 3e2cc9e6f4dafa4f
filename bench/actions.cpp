// What the story engine costs: one engine step after a flag change over a story the size of six
// acts (600 actions), and loading every action and dialogue file of that size.
#include "model/actions.hpp"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "gui/dialogues.hpp"
#include "model/profile.hpp"

namespace {

constexpr int kActs = 6;
constexpr int kActionsPerAct = 90;
constexpr int kCityActions = 60;  // shared by every act: 6 x 90 + 60 = 600
constexpr int kDialoguesPerFile = 45;

std::string N(int i) {
    return std::to_string(i);
}

// One action as the story writes them: conditions on the place and the story state, a few flags,
// and a continuation that waits for a result.
std::string MakeAction(const std::string& prefix, int i) {
    std::string s =
        "    <action id=\"" + prefix + N(i) + "\" dialogue=\"" + prefix + "_talk" + N(i) + "\">\n";
    s += "      <conditions>\n";
    s += "        <flag name=\"ArriveAt\" value=\"Place" + N(i % 24) + "\"/>\n";
    s += "        <flag name=\"Flag.Step" + N(i % 7) + "\" value=\"" + N(i % 5) + "\" type=\"higher\"/>\n";
    s += "        <flag name=\"Resource.Money\" value=\"20\" type=\"lower\" or=\"1\"/>\n";
    s += "        <flag name=\"Quest.Easy Money\" value=\"3\" type=\"higher\"/>\n";
    s += "      </conditions>\n";
    s += "      <flags><flag name=\"Flag.Step" + N(i % 7) + "\" add=\"1\"/>";
    s += "<flag name=\"Resource.Reputation\" add=\"2\"/></flags>\n";
    s += "      <action job=\"work\" bg=\"Bg1\" money=\"40\" time=\"60\" target_ment=\"10\" "
         "target_elem=\"10\" "
         "target_phys=\"10\">\n";
    s += "        <positive><flag name=\"Skill.Science\" add=\"5\"/></positive>\n";
    s += "        <action><conditions><flag name=\"Game.JobWin\" value=\"1\"/></conditions>\n";
    s += "          <flags><flag name=\"Resource.Money\" add=\"15\"/></flags></action>\n";
    s += "      </action>\n";
    s += "    </action>\n";
    return s;
}

std::string MakeActFile(const std::string& location, const std::string& prefix, int count) {
    std::string s = "<?xml version=\"1.0\"?>\n<actions>\n  <location id=\"" + location + "\">\n";
    for (int i = 0; i < count; ++i) s += MakeAction(prefix, i);
    s += "  </location>\n</actions>\n";
    return s;
}

std::string MakeDialogueFile(const std::string& prefix) {
    std::string s = "<?xml version=\"1.0\"?>\n<dialogues>\n";
    for (int d = 0; d < kDialoguesPerFile; ++d) {
        s += "  <dialogue id=\"" + prefix + "_talk" + N(d) + "\">\n";
        s += "    <music id=\"5\"/>\n    <enter id=\"hero\" x=\"0\" block=\"false\"/>\n";
        s += "    <enter id=\"mentor\" image=\"Characters01\" index=\"2\" x=\"0\" right=\"1\"/>\n";
        for (int t = 0; t < 6; ++t) {
            s += "    <text id=\"" + std::string(t % 2 ? "hero" : "mentor") + "\" text=\"Line " + N(t) +
                 " of a talk, $NAME$, with a few more words.\\nAnd a second line.\"/>\n";
        }
        s += "    <goto id=\"end\"><conditions><flag name=\"Resource.Money\" value=\"100\" type=\"higher\"/>"
             "</conditions></goto>\n";
        s += "    <flag name=\"Flag.Talked" + N(d) + "\" value=\"1\"/>\n    <wait value=\"300\"/>\n";
        s += "    <label id=\"end\"/>\n    <exit id=\"mentor\"/>\n    <exit id=\"hero\"/>\n  </dialogue>\n";
    }
    s += "</dialogues>\n";
    return s;
}

// "a3_" for act 3: every act's ids are its own.
std::string ActPrefix(int act) {
    std::string prefix(1, 'a');
    prefix += N(act);
    prefix += '_';
    return prefix;
}

struct StoryFiles {
    std::vector<std::pair<std::string, std::string>> actions;
    std::vector<std::pair<std::string, std::string>> dialogues;
};

const StoryFiles& Story() {
    static const StoryFiles files = [] {
        StoryFiles f;
        f.actions.emplace_back("data/preactions.xml", MakeActFile("City", "pre", kCityActions / 2));
        for (int act = 1; act <= kActs; ++act) {
            f.actions.emplace_back("data/act" + N(act) + ".xml",
                                   MakeActFile("City-Act" + N(act), ActPrefix(act), kActionsPerAct));
        }
        f.actions.emplace_back("data/actions.xml", MakeActFile("City", "city", kCityActions / 2));
        f.dialogues.emplace_back("dialogues/main.xml", MakeDialogueFile("pre"));
        for (int act = 1; act <= kActs; ++act) {
            f.dialogues.emplace_back("dialogues/act" + N(act) + ".xml", MakeDialogueFile(ActPrefix(act)));
        }
        return f;
    }();
    return files;
}

void LoadStory() {
    Actions::InitGlobals();
    DialogueList::InitGlobals();
    for (const auto& [path, text] : Story().actions) Actions::LoadText(path, text);
    for (const auto& [path, text] : Story().dialogues) DialogueList::LoadText(path, text);
}

// A hero well into the story: the flags a third-act character carries.
void PlayThirdAct() {
    InitProfileGlobals();
    Profile::Init();
    Profile::SetFlagInt("Flag.Act", 3);
    for (int i = 0; i < 80; ++i) Profile::SetFlagInt("ID.a1_" + N(i), 1);
    for (int i = 0; i < 40; ++i) Profile::SetFlagInt("ID.a2_" + N(i), 1);
    for (int i = 0; i < 7; ++i) Profile::SetFlagInt("Flag.Step" + N(i), 1);
    for (int i = 0; i < 24; ++i) Profile::SetFlagInt("Location.Place" + N(i), 1);
    Profile::SetFlagInt("Resource.Money", 250);
    Profile::SetFlagString("ArriveAt", "Nowhere");
}

void BM_LoadEveryActionAndDialogueFile(benchmark::State& state) {
    InitProfileGlobals();
    size_t bytes = 0;
    for (const auto& file : Story().actions) bytes += file.second.size();
    for (const auto& file : Story().dialogues) bytes += file.second.size();
    for (auto _ : state) {
        state.PauseTiming();
        // Each load takes flags and compares from the pools; start every round from empty ones.
        InitProfileGlobals();
        state.ResumeTiming();
        LoadStory();
    }
    int actions = 0;
    for (const auto& location : Actions::actionLocations) actions += location->actions.Size();
    state.counters["actions"] = actions;
    state.counters["dialogues"] = static_cast<double>(DialogueList::dialogues.size());
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_LoadEveryActionAndDialogueFile)->Unit(benchmark::kMillisecond);

// The worst ordinary step: a flag changed, and no candidate of the act holds, so every one of
// them is tested.
void BM_CheckAfterOneFlagChange(benchmark::State& state) {
    InitProfileGlobals();
    LoadStory();
    PlayThirdAct();
    Profile::flagsDirty = 1;
    Actions::Check("");  // builds the candidates of the act once
    int flip = 0;
    for (auto _ : state) {
        Profile::SetFlagInt("Game.Tick", ++flip);
        benchmark::DoNotOptimize(Actions::Check(""));
    }
    state.counters["candidates"] = Actions::actionCandidates.Size();
}
BENCHMARK(BM_CheckAfterOneFlagChange)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
