// Every way of splitting pixel lines into two layers that this processor has agrees with the one
// every processor has: by the mask of a line's colours (SSSE3, AVX2) and by collecting its colours
// in order of appearance.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "generator/row_split.h"

namespace {

struct SplitTables {
    explicit SplitTables(int width, int rows)
        : patterns(static_cast<std::size_t>(rows) * (width > 8 ? 2 : 1)),
          values(2 * patterns + 2 * static_cast<std::size_t>(rows), 0xFFFF) {}
    LayerRows Rows() {
        return {values.data(), values.data() + patterns, values.data() + 2 * patterns,
                values.data() + 2 * patterns + (values.size() - 2 * patterns) / 2};
    }
    // Room for four layers of rows lines (the tables made for twice as many).
    ManyLayerRows Layers(int rows, int layers) {
        ManyLayerRows out{};
        const std::size_t pattern = patterns / 2;
        for (std::size_t j = 0; j < static_cast<std::size_t>(layers); ++j) {
            out.patterns[j] = values.data() + j * pattern;
            out.colours[j] = values.data() + 4 * pattern + j * static_cast<std::size_t>(rows);
        }
        return out;
    }
    std::size_t patterns;
    std::vector<TableValue> values;
};

TEST(SplitRows, ByMaskAgreesWithOrderOfAppearance) {
    std::vector<SplitWay> ways;
    for (const SplitWay way : {SplitWay::kMaskSsse3, SplitWay::kMaskAvx2}) {
        if (ProcessorHas(way)) ways.push_back(way);
    }
    if (ways.empty()) GTEST_SKIP() << "this processor splits in order of appearance only";
    std::mt19937 random(15);
    for (int round = 0; round < 2000; ++round) {
        const int width = 1 + static_cast<int>(random() % 64);
        // Up to three groups of eight lines, the last one part full.
        const int rows = 1 + static_cast<int>(random() % 20);
        // Lines of a piece lie further apart than their width, with other colours between them.
        const int stride = width + (round % 2 == 0 ? 0 : static_cast<int>(random() % 16));
        // From a few colours up to all sixteen; now and then a byte that is no colour index.
        const unsigned colours = 1 + random() % 16;
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(stride * rows));
        for (std::uint8_t& p : pixels) p = static_cast<std::uint8_t>(random() % colours);
        if (round % 50 == 0) pixels[random() % pixels.size()] = static_cast<std::uint8_t>(random());
        std::vector<std::uint8_t> lines;
        for (int r = 0; r < rows; ++r) {
            lines.insert(lines.end(), pixels.begin() + r * stride,
                         pixels.begin() + r * stride + width);
        }
        SplitTables slow(width, rows);
        const RowBreaches slowFound =
            SplitRows(SplitWay::kInOrder, lines.data(), width, width, rows, slow.Rows());
        for (const SplitWay way : ways) {
            SplitTables fast(width, rows);
            const RowBreaches fastFound =
                SplitRows(way, pixels.data(), width, stride, rows, fast.Rows());
            ASSERT_EQ(fast.values, slow.values)
                << "way " << int(way) << ", round " << round << ", width " << width;
            ASSERT_EQ(fastFound.lastCode, slowFound.lastCode) << "round " << round;
            ASSERT_EQ(fastFound.dropped, slowFound.dropped) << "round " << round;
        }
        // Three and four layers, split by each line's colours.
        const int layers = 3 + round % 2;
        SplitTables slowLayers(width, rows * 2);
        const bool slowFits = SplitRowsInLayers(SplitWay::kInOrder, lines.data(), width, width,
                                                rows, layers, slowLayers.Layers(rows, layers));
        for (const SplitWay way : ways) {
            SplitTables fast(width, rows * 2);
            const bool fastFits = SplitRowsInLayers(way, pixels.data(), width, stride, rows, layers,
                                                    fast.Layers(rows, layers));
            ASSERT_EQ(fast.values, slowLayers.values) << "way " << int(way) << ", round " << round;
            ASSERT_EQ(fastFits, slowFits) << "round " << round;
        }
    }
}

}  // namespace
