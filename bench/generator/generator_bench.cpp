// Time of each table generator on the largest document (100 cels of 64 × 64, mixed colours),
// printed as a multiple of one memcpy of the whole document buffer.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "document/sprite_document.h"
#include "generator/generators.h"
#include "generator/regenerate.h"

namespace {

// Most pixel lines hold up to three colours a, b and a OR b among the background, as two-layer
// sprites do; every eighth line is random colours from 0 to 15.
const std::vector<std::uint8_t>& LargestDocument() {
    static const std::vector<std::uint8_t> buffer = [] {
        std::vector<std::uint8_t> b(kBufferCapacity);
        b[0] = kMaxWidth;
        b[1] = kMaxHeight;
        b[2] = kMaxCels;
        std::mt19937 random(1);
        std::uint8_t* pixel = b.data() + kHeaderSize;
        for (int line = 0; line < kMaxCels * kMaxHeight; ++line) {
            const auto a = static_cast<std::uint8_t>(1 + random() % 15);
            const auto c = static_cast<std::uint8_t>(1 + random() % 15);
            const std::uint8_t palette[] = {0, 0, a, c, static_cast<std::uint8_t>(a | c)};
            for (int x = 0; x < kMaxWidth; ++x) {
                *pixel++ = line % 8 == 7 ? static_cast<std::uint8_t>(random() % 16)
                                         : palette[random() % 5];
            }
        }
        return b;
    }();
    return buffer;
}

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
    OutputText out;
    int resultCode = kNoError;
    for (auto _ : state) {
        generate(doc, out, resultCode);
        benchmark::DoNotOptimize(out.Text().data());
    }
    state.counters["chars"] = static_cast<double>(out.Text().size());
}

void Sprite(benchmark::State& state) {
    Generator(state, [](const CapturedDocument& doc, OutputText& out, int&) {
        GenerateSprite(doc, doc.width, doc.height, kCommaOn, true, out);
    });
}
void Chr(benchmark::State& state) {
    Generator(state, [](const CapturedDocument& doc, OutputText& out, int&) {
        GenerateChr(doc, doc.width, doc.height, kCommaOn, out);
    });
}
void Sprite2Layers(benchmark::State& state) {
    Generator(state, [](const CapturedDocument& doc, OutputText& out, int& code) {
        GenerateSprite2Layers(doc, doc.width, doc.height, kCommaOn, out, code);
    });
}
void Sprite2LayersNoColor(benchmark::State& state) {
    Generator(state, [](const CapturedDocument& doc, OutputText& out, int& code) {
        GenerateSprite2LayersNoColor(doc, doc.width, doc.height, kCommaOn, out, code);
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
