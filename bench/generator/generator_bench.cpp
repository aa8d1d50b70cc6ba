// Time of each table generator on the largest document (100 cels of 64 × 64, mixed colours),
// printed as a multiple of one memcpy of the whole document buffer.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "document/sprite_document.h"
#include "generator/generators.h"
#include "generator/regenerate.h"
#include "generator/writers.h"
#include "largest_document.h"

namespace {

void Memcpy(benchmark::State& state) {
    const std::vector<std::uint8_t>& source = LargestDocument();
    std::vector<std::uint8_t> target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
}

template <typename Generate>
void Generator(benchmark::State& state, Generate generate) {
    const CapturedDocument doc = CaptureDocument(LargestDocument().data());
    GeneratedTables tables;
    OutputText out;
    for (auto _ : state) {
        generate(doc, tables);
        WriteHex(tables, kCommaOn, out);
        benchmark::DoNotOptimize(out.Text().data());
    }
    state.counters["chars"] = static_cast<double>(out.Text().size());
}

void Sprite(benchmark::State& state) {
    Generator(state, [](const CapturedDocument& doc, GeneratedTables& out) {
        GenerateSprite(doc, doc.width, doc.height, true, out);
    });
}
void Chr(benchmark::State& state) {
    Generator(state, [](const CapturedDocument& doc, GeneratedTables& out) {
        GenerateChr(doc, doc.width, doc.height, out);
    });
}
void Sprite2Layers(benchmark::State& state) {
    Generator(state, [](const CapturedDocument& doc, GeneratedTables& out) {
        GenerateSprite2Layers(doc, doc.width, doc.height, out);
    });
}
void Sprite2LayersNoColor(benchmark::State& state) {
    Generator(state, [](const CapturedDocument& doc, GeneratedTables& out) {
        GenerateSprite2LayersNoColor(doc, doc.width, doc.height, out);
    });
}

BENCHMARK(Memcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(Sprite)->Unit(benchmark::kMicrosecond);
BENCHMARK(Chr)->Unit(benchmark::kMicrosecond);
BENCHMARK(Sprite2Layers)->Unit(benchmark::kMicrosecond);
BENCHMARK(Sprite2LayersNoColor)->Unit(benchmark::kMicrosecond);

// Keeps the CPU time per iteration of every benchmark (the median when repeated) besides printing
// it. CPU time, because other programs share the machine.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
            times[run.run_name.function_name] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto copy = reporter.times.find("Memcpy");
    if (copy == reporter.times.end() || copy->second <= 0) return 0;
    std::printf("\nCPU time as a multiple of one memcpy of %d bytes (%.2f us), target 10x:\n",
                kBufferCapacity, copy->second);
    bool met = true;
    for (const char* name : {"Sprite", "Chr", "Sprite2Layers", "Sprite2LayersNoColor"}) {
        const auto time = reporter.times.find(name);
        if (time == reporter.times.end()) continue;
        const double ratio = time->second / copy->second;
        met = met && ratio <= 10.0;
        std::printf("  Generate%-22s %8.2f us %6.2fx\n", name, time->second, ratio);
    }
    std::printf(met ? "All within the target.\n" : "Some miss the target.\n");
    return 0;
}
