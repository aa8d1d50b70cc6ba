// The two ways of splitting pixel lines into two layers agree: by the mask of a line's colours
// (SSSE3, when the processor has it) and by collecting its colours in order of appearance.
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
    std::size_t patterns;
    std::vector<TableValue> values;
};

TEST(SplitRows, ByMaskAgreesWithOrderOfAppearance) {
    std::mt19937 random(15);
    for (int round = 0; round < 2000; ++round) {
        const int width = 1 + static_cast<int>(random() % 64);
        const int rows = 1 + static_cast<int>(random() % 8);
        // From a few colours up to all sixteen; now and then a byte that is no colour index.
        const unsigned colours = 1 + random() % 16;
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * rows));
        for (std::uint8_t& p : pixels) p = static_cast<std::uint8_t>(random() % colours);
        if (round % 50 == 0) pixels[random() % pixels.size()] = static_cast<std::uint8_t>(random());
        SplitTables fast(width, rows);
        SplitTables slow(width, rows);
        const RowBreaches fastFound = SplitRows(pixels.data(), width, rows, fast.Rows());
        const RowBreaches slowFound = SplitRowsInOrder(pixels.data(), width, rows, slow.Rows());
        ASSERT_EQ(fast.values, slow.values) << "round " << round << ", width " << width;
        ASSERT_EQ(fastFound.lastCode, slowFound.lastCode) << "round " << round;
        ASSERT_EQ(fastFound.dropped, slowFound.dropped) << "round " << round;
    }
}

}  // namespace
