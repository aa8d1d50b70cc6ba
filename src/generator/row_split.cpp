#include "generator/row_split.h"

#include "generator/layer_basis.h"
#include "generator/pixel_words.h"
#include "generator/row_split_avx512.h"
#include "generator/row_split_masks.h"
#include "generator/two_layer_colours.h"

namespace {

using namespace pixel_words;

// Stores one line's bytes and notes what it breaks.
inline void PutRow(const LayerRows& out, int rows, int width, int r, int c0, int c1, int c2,
                   std::uint32_t layer1, std::uint32_t layer2, bool dropped,
                   RowBreaches& breaches) {
    out.colour1[r] = static_cast<TableValue>(c0);
    out.colour2[r] = static_cast<TableValue>(c1 | 0x40);
    out.pattern1[r] = static_cast<TableValue>(layer1 & 0xFF);
    out.pattern2[r] = static_cast<TableValue>(layer2 & 0xFF);
    if (width > 8) {
        out.pattern1[rows + r] = static_cast<TableValue>(layer1 >> 8);
        out.pattern2[rows + r] = static_cast<TableValue>(layer2 >> 8);
    }
    if (dropped) breaches.lastCode = kTooManyColours;
    if (c2 != 0 && c2 != (c0 | c1)) breaches.lastCode = kNotOrColour;
    breaches.dropped = breaches.dropped || dropped;
}

// Each line's colours collected in order of appearance: any bytes, any processor.
RowBreaches SplitRowsInOrder(const std::uint8_t* pixels, int width, int stride, int rows,
                             const LayerRows& out) {
    RowBreaches breaches;
    for (int r = 0; r < rows; ++r) {
        const std::uint8_t* row = pixels + static_cast<std::ptrdiff_t>(r) * stride;
        LayerColours colours = CollectColours(row, width, 3);
        SortColors(colours.slots, colours.count);
        [[maybe_unused]] const auto [c0, c1, c2, c3] = colours.slots;
        // Only pixels 0 to 15 reach a pattern, and positions past the row (lanes loaded as 0) are
        // 0 in both layers.
        const Lanes lanes = LoadLanes(row, width);
        const auto drawn = lanes != 0;
        const auto both = lanes == static_cast<std::uint8_t>(c2);
        const auto bits1 = drawn & ((lanes == static_cast<std::uint8_t>(c0)) | both);
        const auto bits2 = drawn & ((lanes == static_cast<std::uint8_t>(c1)) | both);
        const auto layer = [](const auto& bits) {
            return static_cast<std::uint32_t>(PatternByte(HalfFlags(bits, 0)) |
                                              PatternByte(HalfFlags(bits, 1)) << 8);
        };
        PutRow(out, rows, width, r, c0, c1, c2, layer(bits1), layer(bits2), colours.dropped,
               breaches);
    }
    return breaches;
}

// Lines split into three or four layers one pixel at a time: any bytes, any processor.
bool SplitRowsInLayersInOrder(const std::uint8_t* pixels, int width, int stride, int rows,
                              int layers, const ManyLayerRows& out) {
    const std::ptrdiff_t right = width > 8 ? rows : 0;
    bool fits = true;
    for (int r = 0; r < rows; ++r) {
        const std::uint8_t* row = pixels + static_cast<std::ptrdiff_t>(r) * stride;
        LayerSplit split;
        SplitColours(ColoursOf(row, width), layers, split);
        fits = fits && split.fits;
        for (int j = 0; j < layers; ++j) {
            const auto layer = static_cast<std::size_t>(j);
            unsigned bits = 0;
            for (int x = 0; x < std::min(width, 16); ++x) {
                bits |= (split.members[layer] >> (row[x] & 15) & 1u) << (x < 8 ? 7 - x : 23 - x);
            }
            // Without a right column, its byte goes where the left one then goes.
            out.patterns[layer][right + r] = static_cast<TableValue>(bits >> 8);
            out.patterns[layer][r] = static_cast<TableValue>(bits & 0xFF);
            out.colours[layer][r] = split.colourBytes[layer];
        }
    }
    return fits;
}

}  // namespace

bool ProcessorHas(SplitWay way) {
    switch (way) {
        case SplitWay::kInOrder:
            return true;
        case SplitWay::kMaskSsse3:
            return ProcessorHasMaskWay(false);
        case SplitWay::kMaskAvx2:
            return ProcessorHasMaskWay(true);
        case SplitWay::kAvx512:
            return ProcessorHasAvx512Split();
    }
    return false;
}

SplitWay FastestSplitWay() {
    for (const SplitWay way : {SplitWay::kAvx512, SplitWay::kMaskAvx2, SplitWay::kMaskSsse3}) {
        if (ProcessorHas(way)) return way;
    }
    return SplitWay::kInOrder;
}

RowBreaches SplitRows(SplitWay way, const std::uint8_t* pixels, int width, int stride, int rows,
                      const LayerRows& out) {
    RowBreaches breaches;
    if (way == SplitWay::kAvx512 && SplitRowsAvx512(pixels, width, stride, rows, out, breaches)) {
        return breaches;
    }
    if ((way == SplitWay::kMaskSsse3 || way == SplitWay::kMaskAvx2) &&
        SplitRowsByMasks(way == SplitWay::kMaskAvx2, pixels, width, stride, rows, out, breaches)) {
        return breaches;
    }
    return SplitRowsInOrder(pixels, width, stride, rows, out);
}

RowBreaches SplitRows(const std::uint8_t* pixels, int width, int stride, int rows,
                      const LayerRows& out) {
    static const SplitWay fastest = FastestSplitWay();
    return SplitRows(fastest, pixels, width, stride, rows, out);
}

bool SplitRowsInLayers(SplitWay way, const std::uint8_t* pixels, int width, int stride, int rows,
                       int layers, const ManyLayerRows& out) {
    bool fits = true;
    if (way == SplitWay::kAvx512 &&
        SplitLayersAvx512(pixels, width, stride, rows, layers, out, fits)) {
        return fits;
    }
    if ((way == SplitWay::kMaskSsse3 || way == SplitWay::kMaskAvx2) &&
        SplitLayersByMasks(way == SplitWay::kMaskAvx2, pixels, width, stride, rows, layers, out,
                           fits)) {
        return fits;
    }
    return SplitRowsInLayersInOrder(pixels, width, stride, rows, layers, out);
}

bool SplitRowsInLayers(const std::uint8_t* pixels, int width, int stride, int rows, int layers,
                       const ManyLayerRows& out) {
    static const SplitWay fastest = FastestSplitWay();
    return SplitRowsInLayers(fastest, pixels, width, stride, rows, layers, out);
}
