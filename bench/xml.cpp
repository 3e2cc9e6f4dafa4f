// How long the data files take to read: a generated document shaped like the action files
// (nested locations and actions with attributes, flags, text, comments and a CDATA section), and
// documents as wide as they are long (many siblings, many attributes on one element).
#include "core/xml.hpp"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string MakeDocument(size_t targetBytes) {
    std::string s = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- generated -->\n<acts>\n";
    int n = 0;
    while (s.size() < targetBytes) {
        s += "  <location id=\"loc" + std::to_string(n) + "\" x=\"" + std::to_string(n % 977) +
             "\" y='12' visible>\n";
        for (int a = 0; a < 6; ++a) {
            s += "    <action type=\"job\" dialogue=\"d_" + std::to_string(n) + "_" + std::to_string(a) +
                 "\" time=\"120\" money=\"35\">\n";
            s += "      <flag name=\"Resource.Money\" add=\"35\"/>\n";
            s += "      <flag name=\"Flag.step\" value=\"1\" compare=\"higher\"/>\n";
            s += "      Some words &amp; a line of text for this action, &lt;escaped&gt;.\n";
            s += "    </action>\n";
        }
        s += "    <note><![CDATA[raw <text> & more]]></note>\n";
        s += "  </location>\n";
        ++n;
    }
    s += "</acts>\n";
    return s;
}

void BM_ParseOneMegabyte(benchmark::State& state) {
    const std::string text = MakeDocument(1 << 20);
    for (auto _ : state) {
        auto doc = XMLParser().ParseString(text);
        benchmark::DoNotOptimize(doc->Root());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ParseOneMegabyte)->Unit(benchmark::kMillisecond);

void BM_WalkParsedDocument(benchmark::State& state) {
    const std::string text = MakeDocument(1 << 20);
    auto doc = XMLParser().ParseString(text);
    for (auto _ : state) {
        int jobs = 0;
        for (XMLElement* location : doc->Root()->Children()) {
            jobs += location->GetChildrenByName("action", "type=job").Count();
            benchmark::DoNotOptimize(location->GetAttribute("id", ""));
        }
        benchmark::DoNotOptimize(jobs);
    }
}
BENCHMARK(BM_WalkParsedDocument)->Unit(benchmark::kMillisecond);

// A document as wide as it is long: one element with n children, then one element with n
// attributes. Reading either must take time in proportion to its size.
std::string MakeWideDocument(int children) {
    std::string s = "<list>\n";
    for (int i = 0; i < children; ++i) s += "  <item n=\"" + std::to_string(i) + "\"/>\n";
    return s + "</list>\n";
}

std::string MakeManyAttributes(int attributes) {
    std::string s = "<settings";
    for (int i = 0; i < attributes; ++i) s += " key" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    return s + "/>\n";
}

void BM_ParseSiblings(benchmark::State& state) {
    const std::string text = MakeWideDocument(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto doc = XMLParser().ParseString(text);
        benchmark::DoNotOptimize(doc->Root());
    }
    state.counters["elements"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ParseSiblings)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond);

void BM_ParseAttributes(benchmark::State& state) {
    const std::string text = MakeManyAttributes(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto doc = XMLParser().ParseString(text);
        benchmark::DoNotOptimize(doc->Root());
    }
    state.counters["attributes"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ParseAttributes)->Arg(25000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
