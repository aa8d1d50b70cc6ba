// Every way of splitting pixel lines into two layers that this processor has agrees with the one
// every processor has: by the mask of a line's colours (SSSE3, AVX2, AVX-512) and by collecting its
// colours in order of appearance; and a row of 16 x 16 pieces split at once agrees with its pieces
// split one by one.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "generator/piece_row_split.h"
#include "generator/result_codes.h"
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
    for (const SplitWay way : {SplitWay::kMaskSsse3, SplitWay::kMaskAvx2, SplitWay::kAvx512}) {
        if (ProcessorHas(way)) ways.push_back(way);
    }
    if (ways.empty()) GTEST_SKIP() << "this processor splits in order of appearance only";
    std::mt19937 random(15);
    for (int round = 0; round < 2000; ++round) {
        const int width = 1 + static_cast<int>(random() % 64);
        // Up to three groups of eight lines (of 32 with AVX-512) now and then, the last one part
        // full.
        const int rows = 1 + static_cast<int>(random() % (round % 4 == 0 ? 70 : 20));
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

// In one layer, against the pixels themselves.
TEST(SplitPieceRow, AgreesWithPieceByPiece) {
    if (!ProcessorSplitsPieceRows()) GTEST_SKIP() << "this processor splits piece by piece";
    std::mt19937 random(16);
    for (int round = 0; round < 3000; ++round) {
        const int width = 1 + static_cast<int>(random() % 64);
        const int lines = 1 + static_cast<int>(random() % 16);
        const unsigned colours = 1 + random() % 16;
        const unsigned empty = random() % 16;  // pieces left blank
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * lines));
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            const bool blank = (empty >> (i % static_cast<std::size_t>(width) / 16) & 1) != 0;
            pixels[i] = static_cast<std::uint8_t>(blank ? 0 : random() % colours);
        }
        if (round % 50 == 0) pixels[random() % pixels.size()] = static_cast<std::uint8_t>(random());
        std::vector<TableValue> patterns;
        std::vector<TableValue> colourBytes;
        PieceRow want;
        for (int piece = 0; piece * 16 < width; ++piece) {
            std::vector<std::uint8_t> cut(16 * 16, 0);
            for (int y = 0; y < lines; ++y) {
                for (int x = 0; x < 16 && piece * 16 + x < width; ++x) {
                    cut[static_cast<std::size_t>(16 * y + x)] =
                        pixels[static_cast<std::size_t>(y * width + piece * 16 + x)];
                }
            }
            if (std::all_of(cut.begin(), cut.end(), [](std::uint8_t p) { return p == 0; }))
                continue;
            SplitTables tables(16, 16);
            const int code =
                SplitRows(SplitWay::kInOrder, cut.data(), 16, 16, 16, tables.Rows()).lastCode;
            want.drawn |= 1u << piece;
            if (code != kNoError) want.lastCode = code;
            const auto at = tables.values.begin();
            patterns.insert(patterns.end(), at, at + 64);
            colourBytes.insert(colourBytes.end(), at + 64, at + 96);
        }
        // One layer: a bit for every drawn pixel; each line the colour of its first.
        std::vector<TableValue> onePatterns;
        std::vector<TableValue> oneColours;
        PieceRow one;
        for (int piece = 0; piece * 16 < width; ++piece) {
            std::vector<TableValue> bits(32, 0);
            std::vector<TableValue> lineColours(16, 0);
            for (int y = 0; y < lines; ++y) {
                for (int x = 0; x < 16 && piece * 16 + x < width; ++x) {
                    const std::uint8_t p =
                        pixels[static_cast<std::size_t>(y * width + piece * 16 + x)];
                    if (p == 0) continue;
                    bits[static_cast<std::size_t>(16 * (x / 8) + y)] |=
                        static_cast<TableValue>(0x80 >> x % 8);
                    TableValue& colour = lineColours[static_cast<std::size_t>(y)];
                    if (colour == 0) colour = p;
                    TableValue& firstColour = one.firstColours[static_cast<std::size_t>(piece)];
                    if (firstColour == 0) firstColour = p;
                }
            }
            if (one.firstColours[static_cast<std::size_t>(piece)] == 0) continue;
            one.drawn |= 1u << piece;
            onePatterns.insert(onePatterns.end(), bits.begin(), bits.end());
            oneColours.insert(oneColours.end(), lineColours.begin(), lineColours.end());
        }
        std::vector<TableValue> gotPatterns(8 * 32, 0xFFFF);
        std::vector<TableValue> gotColours(8 * 16, 0xFFFF);
        PieceRow got;
        ASSERT_TRUE(PieceRowInOneLayer(pixels.data(), width, lines, gotPatterns.data(),
                                       gotColours.data(), got));
        ASSERT_EQ(
            std::vector(gotPatterns.begin(),
                        gotPatterns.begin() + static_cast<std::ptrdiff_t>(onePatterns.size())),
            onePatterns)
            << "round " << round;
        ASSERT_EQ(std::vector(gotColours.begin(),
                              gotColours.begin() + static_cast<std::ptrdiff_t>(oneColours.size())),
                  oneColours)
            << "round " << round;
        ASSERT_EQ(got.drawn, one.drawn) << "round " << round;
        ASSERT_EQ(got.firstColours, one.firstColours) << "round " << round;
        const bool split =
            SplitPieceRow(pixels.data(), width, lines, gotPatterns.data(), gotColours.data(), got);
        const bool colourIndices =
            std::all_of(pixels.begin(), pixels.end(), [](std::uint8_t p) { return p < 16; });
        ASSERT_EQ(split, colourIndices) << "round " << round;
        if (!split) continue;
        gotPatterns.resize(patterns.size());
        gotColours.resize(colourBytes.size());
        ASSERT_EQ(gotPatterns, patterns) << "round " << round << ", width " << width;
        ASSERT_EQ(gotColours, colourBytes) << "round " << round;
        ASSERT_EQ(got.drawn, want.drawn) << "round " << round;
        ASSERT_EQ(got.lastCode, want.lastCode) << "round " << round;
    }
}

}  // namespace
