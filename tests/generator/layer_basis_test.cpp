// OR-ed layers show any colours: every set of colours 1 to 15, drawn as one line, comes back from
// its tables as drawn with the layers its smallest basis has and with four, and not with one
// fewer; and the
// table's basis is the one a plain search finds first.
#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <vector>

#include "example_tables.h"
#include "generator/decode_tables.h"
#include "generator/layer_basis.h"
#include "generator/regenerate.h"

namespace {

// Whether every colour of the set is the OR of the basis colours inside it.
bool Shows(const std::vector<unsigned>& basis, unsigned set) {
    for (unsigned c = 1; c < 16; ++c) {
        if ((set >> c & 1) == 0) continue;
        unsigned made = 0;
        for (const unsigned b : basis) made |= (b & ~c) == 0 ? b : 0;
        if (made != c) return false;
    }
    return true;
}

// The first basis of the least size, in ascending order, that shows the set; one of the set's own
// colours first if that size has one.
std::vector<unsigned> SearchedBasis(unsigned set) {
    for (unsigned size = 1; size <= 4; ++size) {
        std::vector<unsigned> any;
        std::vector<unsigned> own;
        std::vector<unsigned> basis;
        const auto search = [&](auto& self, unsigned from) -> void {
            if (basis.size() == size) {
                if (!Shows(basis, set)) return;
                bool inSet = true;
                for (const unsigned b : basis) inSet = inSet && (set >> b & 1) != 0;
                if (any.empty()) any = basis;
                if (inSet && own.empty()) own = basis;
                return;
            }
            for (unsigned c = from; c < 16; ++c) {
                basis.push_back(c);
                self(self, c + 1);
                basis.pop_back();
            }
        };
        search(search, 1);
        if (!own.empty()) return own;
        if (!any.empty()) return any;
    }
    return {};
}

TEST(LayerBasis, IsTheFirstThatASearchFinds) {
    std::mt19937 random(27);
    for (int round = 0; round < 1500; ++round) {
        const auto set = static_cast<unsigned>(random() & 0x7FFF) << 1;
        const Basis basis = SmallestBasis(static_cast<ColourSet>(set));
        const std::vector<unsigned> found(basis.colours.begin(),
                                          basis.colours.begin() + basis.count);
        ASSERT_EQ(found, SearchedBasis(set)) << "set " << std::hex << set;
    }
}

TEST(LayerBasis, EveryColourSetShowsAsDrawnWithItsLayersAndNotWithFewer) {
    int needThree = 0;
    for (unsigned set = 2; set < 0x10000; set += 2) {
        Pixels line(16, 0);
        for (unsigned c = 1, x = 0; c < 16; ++c) {
            if ((set >> c & 1) != 0) line[x++] = static_cast<std::uint8_t>(c);
        }
        const std::vector<std::uint8_t> image = SpriteFileImage(16, 1, line);
        const CapturedDocument doc = CaptureDocument(image.data());
        const int layers = std::max(SmallestBasis(static_cast<ColourSet>(set)).count, 1);
        needThree += std::popcount(set) == 3 && layers == 3;
        GeneratorOptions options = SpriteOptions(true);
        options.layers = kAutoLayers;
        ASSERT_EQ(FewestLayers(doc, options), layers) << std::hex << set;
        for (const int enough : {layers, 4}) {
            options.layers = enough;
            ASSERT_TRUE(RowsNotAsDrawn(doc, options).empty()) << std::hex << set << ", " << enough;
        }
        if (layers == 1) continue;
        options.layers = layers - 1;
        ASSERT_FALSE(RowsNotAsDrawn(doc, options).empty()) << std::hex << set;
    }
    // Of the 455 sets of three colours, 400 are no OR of two of them.
    EXPECT_EQ(needThree, 400);
}

}  // namespace
