#include "generator/hex_lines.h"

#include <cassert>

#if defined(__x86_64__) || defined(__i386__)
// First, for the way it takes in the intrinsics.
#include "generator/avx512_lines.h"
// clang-format off
#include <immintrin.h>
// clang-format on

#include "generator/row_split_masks.h"

namespace {

// The sixteen digit characters of eight values' low bytes, high digit first.
__attribute__((target("ssse3"))) inline __m128i DigitsOfEight(const TableValue* values) {
    const __m128i digitChars = _mm_setr_epi8('0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'A',
                                             'B', 'C', 'D', 'E', 'F');
    const __m128i lowNibble = _mm_set1_epi8(0x0F);
    const __m128i words = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(values)),
                                        _mm_set1_epi16(0xFF));
    const __m128i bytes = _mm_packus_epi16(words, words);
    const __m128i high = _mm_and_si128(_mm_srli_epi16(bytes, 4), lowNibble);
    return _mm_shuffle_epi8(digitChars, _mm_unpacklo_epi8(high, _mm_and_si128(bytes, lowNibble)));
}

// The pieces of eight bytes by byte shuffles: their low bytes become sixteen digit characters,
// high digit first, which each of the kParts shuffles puts between the text around them. Every
// part is stored whole, so the last may write up to 8 bytes past the eighth piece.
template <int kParts>
struct ShuffledEight {
    __m128i sources[kParts];
    __m128i around[kParts];
    std::size_t length;

    __attribute__((target("ssse3"))) char* operator()(char* end, const TableValue* values) const {
        const __m128i digits = DigitsOfEight(values);
        for (int part = 0; part < kParts; ++part) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(end + 16 * part),
                             _mm_or_si128(_mm_shuffle_epi8(digits, sources[part]), around[part]));
        }
        return end + 8 * length;
    }
};

// The same with AVX-512: the eight pieces in one byte permutation, the text around the digits
// kept where the permutation takes none, and one store of 64 bytes.
struct PermutedEight {
    __m512i sources;
    __m512i around;
    __mmask64 digits;
    std::size_t length;

    __attribute__((target(SPRITEHEX_AVX512))) char* operator()(char* end,
                                                               const TableValue* values) const {
        const __m512i text = _mm512_mask_permutexvar_epi8(
            around, digits, sources, _mm512_zextsi128_si512(DigitsOfEight(values)));
        _mm512_storeu_si512(end, text);
        return end + 8 * length;
    }
};

}  // namespace
#endif

struct LineWriter {
    // The lines of a table, the pieces of each eight bytes put by putEight and those of the rest
    // one by one, pieceLength(v) long; with kNumbered, each line starts with the next of numbers,
    // and with kEnds, the shape's end takes the place of every line's last character.
    template <bool kNumbered, bool kEnds, typename PutEight, typename PieceLength>
    [[gnu::always_inline]] static inline char* Lines(const HexLines& lines, char* end,
                                                     std::span<const TableValue> table,
                                                     const LineShape& shape, LineNumbers* counter,
                                                     PutEight putEight, PieceLength pieceLength) {
        // Copies, held in registers while characters are stored.
        const bool shortStart = shape.shortStart;
        const ShortPiece start = shape.startPiece;
        const ShortPiece stop = shape.endPiece;
        const std::size_t perLine = shape.perLine;
        const bool startFirst = shape.startFirst;
        LineNumbers numbers = kNumbered ? *counter : LineNumbers(0, 1);
        for (std::size_t i = 0; i < table.size(); i += perLine) {
            const std::size_t count = std::min(perLine, table.size() - i);
            if constexpr (kNumbered) end = numbers.Put(end);
            if (i > 0 || startFirst) {
                if (shortStart) {
                    std::memcpy(end, start.text.data(), sizeof start.text);
                    end += start.length;
                } else {
                    std::memcpy(end, shape.start.data(), shape.start.size());
                    end += shape.start.size();
                }
            }
            const TableValue* values = table.data() + i;
            std::size_t done = 0;
            for (; done + 8 <= count; done += 8) end = putEight(end, values + done);
            if (done < count) {
                end = PutPieces(end, lines.pieces_, values + done, count - done, pieceLength);
            }
            if constexpr (kEnds) {
                std::memcpy(end - 1, stop.text.data(), sizeof stop.text);
                end += stop.length - 1;
            }
        }
        if constexpr (kNumbered) *counter = numbers;
        return end;
    }

    // The lines of a table in the way the shape and the numbers ask for.
    template <typename PutEight, typename PieceLength>
    [[gnu::always_inline]] static inline char* AnyLines(const HexLines& lines, char* end,
                                                        std::span<const TableValue> table,
                                                        const LineShape& shape,
                                                        LineNumbers* counter, PutEight putEight,
                                                        PieceLength pieceLength) {
        if (counter != nullptr) {
            return Lines<true, true>(lines, end, table, shape, counter, putEight, pieceLength);
        }
        if (shape.endPiece.length == 0) {
            return Lines<false, false>(lines, end, table, shape, counter, putEight, pieceLength);
        }
        return Lines<false, true>(lines, end, table, shape, counter, putEight, pieceLength);
    }

    // The one length of every piece.
    static auto OneLength(const HexLines& lines) {
        const std::size_t length = lines.length_;
        return [length](unsigned) { return static_cast<unsigned>(length); };
    }

    // Every piece one by one: of one length worked out beforehand, or of its own.
    static char* ByPieces(const HexLines& lines, char* end, std::span<const TableValue> table,
                          const LineShape& shape, LineNumbers* counter) {
        const auto put = [&](auto pieceLength) {
            return AnyLines(
                lines, end, table, shape, counter,
                [&lines, pieceLength](char* at, const TableValue* v) {
                    return PutPieces(at, lines.pieces_, v, 8, pieceLength);
                },
                pieceLength);
        };
        if (lines.varying_) {
            return put(
                [&lines](unsigned v) { return static_cast<unsigned>(lines.pieces_[v].length); });
        }
        return put(OneLength(lines));
    }

#if defined(__x86_64__) || defined(__i386__)
    __attribute__((target("ssse3"))) static char* Shuffled(const HexLines& lines, char* end,
                                                           std::span<const TableValue> table,
                                                           const LineShape& shape,
                                                           LineNumbers* counter) {
        switch ((8 * lines.length_ + 15) / 16) {
            case 1:
                return AnyLines(lines, end, table, shape, counter, Eight<1>(lines),
                                OneLength(lines));
            case 2:
                return AnyLines(lines, end, table, shape, counter, Eight<2>(lines),
                                OneLength(lines));
            case 3:
                return AnyLines(lines, end, table, shape, counter, Eight<3>(lines),
                                OneLength(lines));
            default:
                return AnyLines(lines, end, table, shape, counter, Eight<4>(lines),
                                OneLength(lines));
        }
    }

    __attribute__((target(SPRITEHEX_AVX512))) static char* Permuted(
        const HexLines& lines, char* end, std::span<const TableValue> table, const LineShape& shape,
        LineNumbers* counter) {
        PermutedEight eight{};
        eight.sources = _mm512_loadu_si512(lines.sources_.data());
        eight.around = _mm512_loadu_si512(lines.around_.data());
        eight.digits = lines.digits_;
        eight.length = lines.length_;
        return AnyLines(lines, end, table, shape, counter, eight, OneLength(lines));
    }

    template <int kParts>
    __attribute__((target("ssse3"))) static ShuffledEight<kParts> Eight(const HexLines& lines) {
        ShuffledEight<kParts> eight{};
        for (std::size_t part = 0; part < kParts; ++part) {
            eight.sources[part] =
                _mm_load_si128(reinterpret_cast<const __m128i*>(lines.sources_[part].data()));
            eight.around[part] =
                _mm_load_si128(reinterpret_cast<const __m128i*>(lines.around_[part].data()));
        }
        eight.length = lines.length_;
        return eight;
    }
#endif
};

HexLines::HexLines(std::string_view before, std::string_view after, [[maybe_unused]] Way way)
    : length_(before.size() + 2 + after.size()), pieces_(HexPieces(before, after)) {
    assert(length_ < sizeof(ShortPiece::text));
    for (std::size_t at = 0; at < 64; ++at) {
        const std::size_t piece = at / length_;
        const std::size_t offset = at % length_;
        std::uint8_t& source = sources_[at / 16][at % 16];
        std::uint8_t& text = around_[at / 16][at % 16];
        source = 0x80;  // past the eighth piece: 0, stored and then written over
        if (piece >= 8) continue;
        if (offset < before.size()) {
            text = static_cast<std::uint8_t>(before[offset]);
        } else if (offset < before.size() + 2) {
            source = static_cast<std::uint8_t>(2 * piece + offset - before.size());
            digits_ |= std::uint64_t{1} << at;
        } else {
            text = static_cast<std::uint8_t>(after[offset - before.size() - 2]);
        }
    }
#if defined(__x86_64__) || defined(__i386__)
    shuffles_ = way != Way::kOneByOne && ProcessorHasMaskWay(false);
#endif
#if defined(__x86_64__)
    permutes_ = way == Way::kFastest && avx512_lines::ProcessorHas();
#endif
}

HexLines::HexLines(const BytePieces& pieces) : length_(0), pieces_(pieces), varying_(true) {
    for (const ShortPiece& piece : pieces_) length_ = std::max(length_, piece.length);
}

char* HexLines::Put(char* end, std::span<const TableValue> table, const LineShape& shape,
                    LineNumbers* numbers) const {
#if defined(__x86_64__) || defined(__i386__)
#if defined(__x86_64__)
    if (permutes_) return LineWriter::Permuted(*this, end, table, shape, numbers);
#endif
    if (shuffles_) return LineWriter::Shuffled(*this, end, table, shape, numbers);
#endif
    return LineWriter::ByPieces(*this, end, table, shape, numbers);
}
