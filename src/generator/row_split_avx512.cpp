#include "generator/row_split_avx512.h"

#include "generator/layer_basis.h"
#include "generator/result_codes.h"

#if defined(__x86_64__)

#include <algorithm>
#include <array>

#include "generator/avx512_lines.h"

namespace {

using namespace avx512_lines;

constexpr int kBatch = 32;  // lines, one 16-bit lane each

// The lines of a batch as the choice of colours and the pattern bits take them.
struct Batch {
    __m512i masks;      // lane i: the colours of line i, colour 0 left out
    __m512i firsts[8];  // lane j of register g: pixels 0 to 15 of line 4g + j
};

// Pixels 0 to 15 of four lines, one a lane.
__attribute__((target(SPRITEHEX_AVX512))) inline __m512i FirstPixels(const __m512i* lines) {
    const __m512i upper = _mm512_shuffle_i64x2(lines[0], lines[1], 0x00);
    const __m512i lower = _mm512_shuffle_i64x2(lines[2], lines[3], 0x00);
    return _mm512_shuffle_i64x2(upper, lower, 0x88);
}

// count lines (1 to 32), each stride pixels after the one before, lines past them taken as 0.
// False when a pixel holds a byte above 15.
__attribute__((target(SPRITEHEX_AVX512))) inline bool LoadBatch(const std::uint8_t* first,
                                                                int width, int stride, int count,
                                                                Batch& batch) {
    const __mmask64 inLine = width >= 64 ? ~__mmask64{0} : (__mmask64{1} << width) - 1;
    __m512i all = _mm512_setzero_si512();
    __m256i halves[2] = {_mm256_setzero_si256(), _mm256_setzero_si256()};
    for (int h = 0; h < 2; ++h) {
        if (16 * h >= count) {
            for (int g = 4 * h; g < 4 * h + 4; ++g) batch.firsts[g] = _mm512_setzero_si512();
            continue;
        }
        __m512i lines[16];
        for (int y = 0; y < 16; ++y) {
            const int r = 16 * h + y;
            lines[y] = r < count ? _mm512_maskz_loadu_epi8(
                                       inLine, first + static_cast<std::ptrdiff_t>(r) * stride)
                                 : _mm512_setzero_si512();
            all = _mm512_or_si512(all, lines[y]);
        }
        // The masks of every 16 pixels of a line, ORed into the line's.
        __m512i pieces[2];
        PieceMasks(lines, pieces);
        const __m512i both = _mm512_or_si512(pieces[0], pieces[1]);
        halves[h] =
            _mm256_or_si256(_mm512_castsi512_si256(both), _mm512_extracti64x4_epi64(both, 1));
        for (int g = 0; g < 4; ++g) batch.firsts[4 * h + g] = FirstPixels(lines + 4 * g);
    }
    batch.masks = _mm512_inserti64x4(_mm512_castsi256_si512(halves[0]), halves[1], 1);
    return _mm512_test_epi8_mask(all, _mm512_set1_epi8(static_cast<char>(0xF0))) == 0;
}

// Words 4q to 4q + 3 of lane q / 2: the lane of that line among four, for the bit shuffle of
// lines 0 to 3 (of lines 4g to 4g + 3: + 4g).
constexpr WordIndex kLineSets = [] {
    WordIndex index{};
    for (int w = 0; w < 32; ++w)
        index[static_cast<std::size_t>(w)] = static_cast<std::uint16_t>(w / 8);
    return index;
}();

// The pattern bits of the lines of a batch for the colours in their lanes of sets: lane i holds
// line i's left byte low and its right byte high, a byte's first pixel in bit 7.
__attribute__((target(SPRITEHEX_AVX512))) inline __m512i PatternBits(const Batch& batch,
                                                                     __m512i sets) {
    const __m512i lineSets = Load(kLineSets);
    __m512i bits = _mm512_setzero_si512();
#pragma GCC unroll 8
    for (int g = 0; g < kBatch / 4; ++g) {
        const __m512i spread = _mm512_permutexvar_epi16(
            _mm512_add_epi16(lineSets, _mm512_set1_epi16(static_cast<short>(4 * g))), sets);
        bits = _mm512_mask_set1_epi64(
            bits, static_cast<__mmask8>(1u << g),
            static_cast<long long>(_mm512_bitshuffle_epi64_mask(spread, batch.firsts[g])));
    }
    // The bit shuffle puts a byte's first pixel in bit 0.
    return _mm512_gf2p8affine_epi64_epi8(
        bits, _mm512_set1_epi64(static_cast<long long>(0x8040201008040201ULL)), 0);
}

// Stores the lanes of the lines a batch holds.
__attribute__((target(SPRITEHEX_AVX512))) inline void Store(TableValue* to, __mmask32 lines,
                                                            __m512i values) {
    _mm512_mask_storeu_epi16(to, lines, values);
}

// Stores a layer's pattern bytes: the right ones first, for a cel without a right column, whose
// right bytes go where its left ones then go.
__attribute__((target(SPRITEHEX_AVX512))) inline void StorePattern(TableValue* pattern,
                                                                   std::ptrdiff_t right,
                                                                   __mmask32 lines, __m512i bits) {
    Store(pattern + right, lines, _mm512_srli_epi16(bits, 8));
    Store(pattern, lines, _mm512_and_si512(bits, _mm512_set1_epi16(0xFF)));
}

// The colours the tables keep of a line of four colours or more: the first three to appear.
inline std::uint16_t FirstThreeColours(const std::uint8_t* row) {
    std::uint32_t seen = 1;
    for (int x = 0, found = 0; found < 3; ++x) {
        const std::uint32_t bit = 1u << (row[x] & 15);
        found += (seen & bit) == 0;
        seen |= bit;
    }
    return static_cast<std::uint16_t>(seen & 0xFFFE);
}

__attribute__((target(SPRITEHEX_AVX512))) bool SplitRowsIn(const std::uint8_t* pixels, int width,
                                                           int stride, int rows,
                                                           const LayerRows& tables,
                                                           RowBreaches& result) {
    // Copies the compiler knows no store changes.
    const LayerRows out = tables;
    RowBreaches breaches;
    const std::ptrdiff_t right = width > 8 ? rows : 0;
    for (int r0 = 0; r0 < rows; r0 += kBatch) {
        const int count = std::min(kBatch, rows - r0);
        const std::uint8_t* first = pixels + static_cast<std::ptrdiff_t>(r0) * stride;
        Batch batch;
        if (!LoadBatch(first, width, stride, count, batch)) return false;
        __m512i masks = batch.masks;
        const __m512i beyondThree = ClearLowest(ClearLowest(ClearLowest(masks)));
        const __mmask32 dropped = _mm512_test_epi16_mask(beyondThree, beyondThree);
        for (__mmask32 rest = dropped; rest != 0; rest &= rest - 1) {
            const int lane = __builtin_ctz(rest);
            masks = _mm512_mask_set1_epi16(
                masks, __mmask32{1} << lane,
                static_cast<short>(
                    FirstThreeColours(first + static_cast<std::ptrdiff_t>(lane) * stride)));
        }
        breaches.dropped = breaches.dropped || dropped != 0;
        // The bits of c0, c1 and c2, each 0 when the line has fewer colours.
        const auto [b0, b1, b2] = LowestBits(masks);
        const __m512i c0 = ColourIndex(b0);
        const __m512i c1 = ColourIndex(b1);
        const __m512i c2 = ColourIndex(b2);
        // A line sets code 3 for a dropped colour, then code 2 when c2 is not c0 OR c1.
        const __mmask32 notOr =
            _mm512_test_epi16_mask(c2, c2) & _mm512_cmpneq_epi16_mask(c2, _mm512_or_si512(c0, c1));
        const __mmask32 breaking = notOr | dropped;
        if (breaking != 0) {
            const int last = 31 - __builtin_clz(breaking);
            breaches.lastCode = (notOr >> last & 1) != 0 ? kNotOrColour : kTooManyColours;
        }
        const __mmask32 lines = count == kBatch ? ~__mmask32{0} : (__mmask32{1} << count) - 1;
        StorePattern(out.pattern1 + r0, right, lines, PatternBits(batch, _mm512_or_si512(b0, b2)));
        StorePattern(out.pattern2 + r0, right, lines, PatternBits(batch, _mm512_or_si512(b1, b2)));
        Store(out.colour1 + r0, lines, c0);
        Store(out.colour2 + r0, lines, _mm512_or_si512(c1, _mm512_set1_epi16(0x40)));
    }
    result = breaches;
    return true;
}

// The colours each layer of a line draws and their colour bytes, 32 lines at a time, one 16-bit
// lane each: as SplitColours gives them for each line's colours in `sets` and the packed smallest
// basis of those colours in `bases`.
struct GroupSplit {
    __m512i members[kMostLayers];
    __m512i colourBytes[kMostLayers];
};

__attribute__((target(SPRITEHEX_AVX512))) inline GroupSplit SplitGroup(__m512i sets,
                                                                       __m512i bases) {
    // The colours whose every bit a colour holds, colour by colour: kSupersetBytes.
    const __m512i zero = _mm512_setzero_si512();
    const __m512i orBit = _mm512_set1_epi16(0x40);
    const __m512i superLow = _mm512_broadcast_i32x4(
        _mm_load_si128(reinterpret_cast<const __m128i*>(kSupersetBytes[0].data())));
    const __m512i superHigh = _mm512_broadcast_i32x4(
        _mm_load_si128(reinterpret_cast<const __m128i*>(kSupersetBytes[1].data())));
    // Lines that two layers show, split as the two-layer tables split them.
    const __mmask32 two = _mm512_testn_epi16_mask(bases, _mm512_set1_epi16(-256));
    const auto [b0, b1, b2] = LowestBits(sets);
    const __m512i twoMembers[kMostLayers] = {_mm512_or_si512(b0, b2), _mm512_or_si512(b1, b2), zero,
                                             zero};
    const __m512i twoBytes[kMostLayers] = {ColourIndex(b0), _mm512_or_si512(ColourIndex(b1), orBit),
                                           orBit, orBit};
    GroupSplit split;
    for (int j = 0; j < kMostLayers; ++j) {
        // Basis colour j, 0 past the basis; the high byte of a lane looks up nothing.
        const __m512i colour = _mm512_and_si512(_mm512_srl_epi16(bases, _mm_cvtsi32_si128(4 * j)),
                                                _mm512_set1_epi16(15));
        const __m512i index = _mm512_or_si512(colour, _mm512_set1_epi16(-256));
        const __m512i supersets =
            _mm512_or_si512(_mm512_shuffle_epi8(superLow, index),
                            _mm512_slli_epi16(_mm512_shuffle_epi8(superHigh, index), 8));
        const __m512i members = _mm512_maskz_mov_epi16(_mm512_test_epi16_mask(colour, colour),
                                                       _mm512_and_si512(sets, supersets));
        const __m512i bytes = j == 0 ? colour : _mm512_or_si512(colour, orBit);
        split.members[j] = _mm512_mask_blend_epi16(two, members, twoMembers[j]);
        split.colourBytes[j] = _mm512_mask_blend_epi16(two, bytes, twoBytes[j]);
    }
    return split;
}

// The packed smallest basis of each lane's colours, from the table of every set's: two gathers of
// the pairs of entries that hold them, each lane then taking its own half.
__attribute__((target(SPRITEHEX_AVX512))) inline __m512i LookUpBases(const std::uint16_t* table,
                                                                     __m512i sets) {
    const __m512i entries = _mm512_srli_epi16(sets, 1);
    __m256i halves[2];
    for (int h = 0; h < 2; ++h) {
        const __m512i entry = _mm512_cvtepu16_epi32(h == 0 ? _mm512_castsi512_si256(entries)
                                                           : _mm512_extracti64x4_epi64(entries, 1));
        const __m512i pairs = _mm512_i32gather_epi32(_mm512_srli_epi32(entry, 1), table, 4);
        const __m512i shift = _mm512_slli_epi32(_mm512_and_si512(entry, _mm512_set1_epi32(1)), 4);
        halves[h] = _mm512_cvtepi32_epi16(_mm512_srlv_epi32(pairs, shift));
    }
    return _mm512_inserti64x4(_mm512_castsi256_si512(halves[0]), halves[1], 1);
}

__attribute__((target(SPRITEHEX_AVX512))) bool SplitLayersIn(const std::uint8_t* pixels, int width,
                                                             int stride, int rows, int layers,
                                                             const ManyLayerRows& tables,
                                                             bool& fits) {
    const ManyLayerRows out = tables;
    const std::uint16_t* basisTable = BasisTable().data();
    const std::ptrdiff_t right = width > 8 ? rows : 0;
    __mmask32 tooRich = 0;
    for (int r0 = 0; r0 < rows; r0 += kBatch) {
        const int count = std::min(kBatch, rows - r0);
        const std::uint8_t* first = pixels + static_cast<std::ptrdiff_t>(r0) * stride;
        Batch batch;
        if (!LoadBatch(first, width, stride, count, batch)) return false;
        const __m512i packed = LookUpBases(basisTable, batch.masks);
        // Three layers cannot show a line whose basis has a fourth colour. Lines past the last
        // hold no colour, so no basis either.
        if (layers == 3) tooRich |= _mm512_test_epi16_mask(packed, _mm512_set1_epi16(-4096));
        const GroupSplit split = SplitGroup(batch.masks, packed);
        const __mmask32 lines = count == kBatch ? ~__mmask32{0} : (__mmask32{1} << count) - 1;
        for (int j = 0; j < layers; ++j) {
            const auto layer = static_cast<std::size_t>(j);
            StorePattern(out.patterns[layer] + r0, right, lines,
                         PatternBits(batch, split.members[j]));
            Store(out.colours[layer] + r0, lines, split.colourBytes[j]);
        }
    }
    fits = tooRich == 0;
    return true;
}

}  // namespace

bool ProcessorHasAvx512Split() {
    return avx512_lines::ProcessorHas();
}

bool SplitRowsAvx512(const std::uint8_t* pixels, int width, int stride, int rows,
                     const LayerRows& out, RowBreaches& breaches) {
    return SplitRowsIn(pixels, width, stride, rows, out, breaches);
}

bool SplitLayersAvx512(const std::uint8_t* pixels, int width, int stride, int rows, int layers,
                       const ManyLayerRows& out, bool& fits) {
    return SplitLayersIn(pixels, width, stride, rows, layers, out, fits);
}

#else

bool ProcessorHasAvx512Split() {
    return false;
}

bool SplitRowsAvx512(const std::uint8_t*, int, int, int, const LayerRows&, RowBreaches&) {
    return false;
}

bool SplitLayersAvx512(const std::uint8_t*, int, int, int, int, const ManyLayerRows&, bool&) {
    return false;
}

#endif
