// Time of each table generator with each writer on the largest document (100 cels of 64 × 64,
// mixed colours), and of decoding its tables of each kind back into pixels, printed as multiples
// of one memcpy of the whole document buffer; sprite sets and tables of three or four layers, whose
// output is mostly larger than the document, as multiples of one memcpy of the bytes they write
// (of the document's bytes where those are more): once from the medians of the repetitions, once
// from their fastest runs. And the time to find the smallest basis of every colour set, which the
// layered tables do once.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "document/sprite_document.h"
#include "generator/decode_tables.h"
#include "generator/layer_basis.h"
#include "generator/regenerate.h"
#include "generator/writers.h"
#include "largest_document.h"

namespace {

void Memcpy(benchmark::State& state, std::size_t size) {
    const std::vector<std::uint8_t>& document = LargestDocument();
    std::vector<std::uint8_t> source(size);
    for (std::size_t i = 0; i < size; ++i) source[i] = document[i % document.size()];
    std::vector<std::uint8_t> target(size);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), size);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
}

struct Generator {
    const char* name;
    GeneratorOptions options;
};
constexpr Generator kGenerators[] = {
    {"Sprite", {OutputType::kSprite, 1, true, kCommaOn}},
    {"Chr", {OutputType::kChr, 1, false, kCommaOn}},
    {"Sprite2Layers", {OutputType::kSprite, 2, true, kCommaOn}},
    {"Sprite2LayersNoColor", {OutputType::kSprite, 2, false, kCommaOn}},
    {"Sprite3Layers", {OutputType::kSprite, 3, true, kCommaOn}},
    {"Sprite4Layers", {OutputType::kSprite, 4, true, kCommaOn}},
    {"SpriteSet2Layers", {OutputType::kSprite, 2, true, kCommaOn, 16}},
    {"SpriteSet", {OutputType::kSprite, 1, false, kCommaOn, 16}},
};

// Sprite sets and more than two layers write more than the document holds: they are held against
// a memcpy of what they write, or of the document where that is more.
bool AgainstOwnOutput(const GeneratorOptions& options) {
    return options.pieces != 0 || options.layers > 2;
}

// The bytes one generation and writer write, or the document's where those are more.
std::size_t OutputSize(const GeneratorOptions& options, TableFormat format) {
    const GeneratedTables tables =
        GenerateTables(CaptureDocument(LargestDocument().data()), options);
    WriterOptions writer;
    writer.name = "largest";
    writer.source = "largest.dat";
    writer.lineStep = 1;
    return std::max(WriteTables(tables, format, writer)->size(), LargestDocument().size());
}

// One generation into tables, then one writer: what the Generate window and spritehex-cli do.
void GenerateAndWrite(benchmark::State& state, GeneratorOptions options, TableFormat format) {
    const CapturedDocument doc = CaptureDocument(LargestDocument().data());
    GeneratedTables tables;
    OutputText out;
    WriterOptions writer;
    writer.name = "largest";
    writer.source = "largest.dat";
    // Sprite sets and more layers of 100 cels take more BASIC lines than there are line numbers in
    // steps of 10.
    if (AgainstOwnOutput(options)) writer.lineStep = 1;
    std::size_t size = 0;
    for (auto _ : state) {
        GenerateTables(doc, options, tables);
        if (format == TableFormat::kHex) {
            WriteHex(tables, options.comma, out);
            size = out.Text().size();
            benchmark::DoNotOptimize(out.Text().data());
        } else {
            const Result<std::string> text = WriteTables(tables, format, writer);
            size = text->size();
            benchmark::DoNotOptimize(text->data());
        }
    }
    state.counters["bytes"] = static_cast<double>(size);
}

// The tables of every cel, made once, back into pixels.
void Decode(benchmark::State& state, GeneratorOptions options) {
    const CapturedDocument doc = CaptureDocument(LargestDocument().data());
    const GeneratedTables tables = GenerateTables(doc, options);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kCelCapacity) * kMaxCels);
    for (auto _ : state) {
        for (int cel = 0; cel < doc.celCount; ++cel) {
            DecodeCel(tables, cel, doc.width, doc.height, {},
                      pixels.data() + static_cast<std::ptrdiff_t>(cel) * kCelCapacity);
        }
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
}

double Fastest(const std::vector<double>& times) {
    return times.empty() ? 0 : *std::min_element(times.begin(), times.end());
}

// The smallest basis of every colour set, as the layered tables make it at their first use.
void BasisTable(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(MakeBasisTable().data());
}

// Keeps the CPU time per iteration of every benchmark, the median and the fastest of the
// repetitions, besides printing it. CPU time, because other programs share the machine; the fastest
// run, because they only ever make a run slower.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const std::string name = run.run_name.function_name;
            if (run.run_type != Run::RT_Aggregate) {
                median[name] = run.GetAdjustedCPUTime();
                const auto fast = fastest.find(name);
                if (fast == fastest.end() || run.GetAdjustedCPUTime() < fast->second) {
                    fastest[name] = run.GetAdjustedCPUTime();
                }
            } else if (run.aggregate_name == "median") {
                median[name] = run.GetAdjustedCPUTime();
            } else if (run.aggregate_name == "min") {
                fastest[name] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> median;
    std::map<std::string, double> fastest;
};

// One row per generator, one column per writer and decode, each time over its memcpy; true when
// every ratio is within 10.
bool PrintRatios(const std::map<std::string, double>& times) {
    const double copy = times.at("Memcpy");
    std::printf("  %-28s", "");
    for (const FormatRow& format : kFormats) std::printf(" %8s", format.name.data());
    std::printf(" %8s\n", "decode");
    bool met = true;
    for (const Generator& generator : kGenerators) {
        std::printf("  Generate%-20s", generator.name);
        std::vector<std::string> columns;
        for (const FormatRow& format : kFormats) columns.emplace_back(format.name);
        columns.emplace_back("decode");
        for (const std::string& column : columns) {
            const auto time = times.find(std::string(generator.name) + "/" + column);
            if (time == times.end()) {
                std::printf(" %8s", "-");
                continue;
            }
            // Sprite sets and more layers against a memcpy of their output (or of the document,
            // where that is more); their decode against the document's.
            const auto own = times.find("Memcpy/" + std::string(generator.name) + "/" + column);
            const double ratio = time->second / (own != times.end() ? own->second : copy);
            met = met && ratio <= 10.0;
            std::printf(" %7.2fx", ratio);
        }
        std::printf("\n");
    }
    return met;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("Memcpy", Memcpy, LargestDocument().size())
        ->Unit(benchmark::kMicrosecond)
        ->ComputeStatistics("min", Fastest);
    std::vector<std::string> names;
    for (const Generator& generator : kGenerators) {
        for (const FormatRow& format : kFormats) {
            names.push_back(std::string(generator.name) + "/" + std::string(format.name));
            benchmark::RegisterBenchmark(names.back().c_str(), GenerateAndWrite, generator.options,
                                         format.format)
                ->Unit(benchmark::kMicrosecond)
                ->ComputeStatistics("min", Fastest);
            if (!AgainstOwnOutput(generator.options)) continue;
            names.push_back("Memcpy/" + names.back());
            benchmark::RegisterBenchmark(names.back().c_str(), Memcpy,
                                         OutputSize(generator.options, format.format))
                ->Unit(benchmark::kMicrosecond)
                ->ComputeStatistics("min", Fastest);
        }
        names.push_back(std::string(generator.name) + "/decode");
        benchmark::RegisterBenchmark(names.back().c_str(), Decode, generator.options)
            ->Unit(benchmark::kMicrosecond)
            ->ComputeStatistics("min", Fastest);
    }
    benchmark::RegisterBenchmark("BasisTable", BasisTable)->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto copy = reporter.median.find("Memcpy");
    if (copy == reporter.median.end() || copy->second <= 0) return 0;
    std::printf(
        "\nCPU time of generator and writer (decode: of the tables back into pixels) as a "
        "multiple of one memcpy of %d bytes "
        "(%.2f us; sprite sets and 3 or 4 layers: of the bytes they write, at least the "
        "document's), target 10x; the medians:\n",
        kBufferCapacity, copy->second);
    const bool met = PrintRatios(reporter.median);
    std::printf(met ? "All within the target.\n" : "Some miss the target.\n");
    std::printf("\nThe fastest runs (memcpy %.2f us):\n", reporter.fastest.at("Memcpy"));
    PrintRatios(reporter.fastest);
    return 0;
}
