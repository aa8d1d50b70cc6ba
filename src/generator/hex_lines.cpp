#include "generator/hex_lines.h"

#include <bit>
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
    // firstStarts: whether the start goes before the first line.
    template <bool kNumbered, bool kEnds, typename PutEight, typename PieceLength>
    [[gnu::always_inline]] static inline char* Lines(const HexLines& lines, char* end,
                                                     std::span<const TableValue> table,
                                                     const LineShape& shape, bool firstStarts,
                                                     LineNumbers* counter, PutEight putEight,
                                                     PieceLength pieceLength) {
        // Copies, held in registers while characters are stored.
        const bool shortStart = shape.shortStart;
        const ShortPiece start = shape.startPiece;
        const ShortPiece stop = shape.endPiece;
        const std::size_t perLine = shape.perLine;
        const bool startFirst = firstStarts;
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
                                                        PieceLength pieceLength, bool firstStarts) {
        if (counter != nullptr) {
            return Lines<true, true>(lines, end, table, shape, firstStarts, counter, putEight,
                                     pieceLength);
        }
        if (shape.endPiece.length == 0) {
            return Lines<false, false>(lines, end, table, shape, firstStarts, counter, putEight,
                                       pieceLength);
        }
        return Lines<false, true>(lines, end, table, shape, firstStarts, counter, putEight,
                                  pieceLength);
    }
    template <typename PutEight, typename PieceLength>
    [[gnu::always_inline]] static inline char* AnyLines(const HexLines& lines, char* end,
                                                        std::span<const TableValue> table,
                                                        const LineShape& shape,
                                                        LineNumbers* counter, PutEight putEight,
                                                        PieceLength pieceLength) {
        return AnyLines(lines, end, table, shape, counter, putEight, pieceLength, shape.startFirst);
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

    // One part of a line: the text around it, with the digit characters of a batch of lines.
    __attribute__((target(SPRITEHEX_AVX512))) static inline void PutPart(
        char* at, __m512i text, __mmask64 digits, const std::uint8_t* sources, __m512i digitChars) {
        _mm512_storeu_si512(at, _mm512_mask_permutexvar_epi8(
                                    text, digits, _mm512_loadu_si512(sources), digitChars));
    }

    // The lineCount whole lines of a table, each shape.started.parts (kParts) permutations of the
    // digits of the 32 values its batch of lines holds; the first without its start where the
    // shape has none there.
    template <int kParts, bool kNumbered>
    [[gnu::always_inline]] __attribute__((target(SPRITEHEX_AVX512))) static inline char* WholeLines(
        const LineShape& shape, char* end, const TableValue* values, std::size_t lineCount,
        LineNumbers& counter) {
        // Copies, held in registers while characters are stored.
        LineNumbers numbers = counter;
        const LineShape::WholeLine& line = shape.started;
        const std::size_t perLine = shape.perLine;
        const auto perBatch = static_cast<std::size_t>(shape.linesPer32);
        const std::size_t length = line.length;
        __m512i text[kParts];
        __mmask64 digits[kParts];
        for (std::size_t p = 0; p < kParts; ++p) {
            text[p] = _mm512_loadu_si512(line.text[p].data());
            digits[p] = line.digits[p];
        }
        std::size_t firstK = shape.startFirst ? 0 : 1;
        for (std::size_t at = 0; at < lineCount; at += perBatch) {
            const std::size_t here = std::min(perBatch, lineCount - at);
            const std::size_t count = here * perLine;
            const __mmask32 load = count >= 32 ? ~__mmask32{0} : (__mmask32{1} << count) - 1;
            const __m512i digitChars =
                avx512_lines::HexDigits(_mm512_maskz_loadu_epi16(load, values + at * perLine));
            if (firstK != 0) {
                const LineShape::WholeLine& first = shape.unstarted;
                if constexpr (kNumbered) end = numbers.Put(end);
                for (std::size_t p = 0; p < static_cast<std::size_t>(first.parts); ++p) {
                    PutPart(end + 64 * p, _mm512_loadu_si512(first.text[p].data()), first.digits[p],
                            first.sources[0][p].data(), digitChars);
                }
                end += first.length;
            }
            for (std::size_t k = firstK; k < here; ++k) {
                if constexpr (kNumbered) end = numbers.Put(end);
                for (std::size_t p = 0; p < kParts; ++p) {
                    PutPart(end + 64 * p, text[p], digits[p], line.sources[k][p].data(),
                            digitChars);
                }
                end += length;
            }
            firstK = 0;
        }
        counter = numbers;
        return end;
    }

    template <bool kNumbered>
    __attribute__((target(SPRITEHEX_AVX512))) static char* WholeLinesOf(const LineShape& shape,
                                                                        char* end,
                                                                        const TableValue* values,
                                                                        std::size_t lineCount,
                                                                        LineNumbers& numbers) {
        switch (shape.started.parts) {
            case 1:
                return WholeLines<1, kNumbered>(shape, end, values, lineCount, numbers);
            case 2:
                return WholeLines<2, kNumbered>(shape, end, values, lineCount, numbers);
            default:
                return WholeLines<3, kNumbered>(shape, end, values, lineCount, numbers);
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
        const std::size_t perLine = shape.perLine;
        if (shape.linesPer32 == 0 || shape.madeFor != &lines || table.size() < perLine) {
            return AnyLines(lines, end, table, shape, counter, eight, OneLength(lines));
        }
        // The whole lines, then a last line that is not whole.
        // Lines of a whole way hold a power of two bytes.
        const std::size_t whole = table.size() >> shape.perLineShift;
        if (counter != nullptr) {
            end = WholeLinesOf<true>(shape, end, table.data(), whole, *counter);
        } else {
            LineNumbers none(0, 1);
            end = WholeLinesOf<false>(shape, end, table.data(), whole, none);
        }
        if (whole * perLine == table.size()) return end;
        return AnyLines(lines, end, table.subspan(whole * perLine), shape, counter, eight,
                        OneLength(lines), true);
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
    : length_(before.size() + 2 + after.size()),
      before_(before.size()),
      pieces_(HexPieces(before, after)) {
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

namespace {

// The whole line of perLine bytes after start, where it fits the parts.
void MakeWholeLine(const ShortPiece& zero, std::size_t pieceLength, std::size_t before,
                   std::size_t perLine, std::string_view start, const ShortPiece& end,
                   LineShape::WholeLine& line) {
    const std::size_t pieces = perLine * pieceLength;
    const std::size_t ends = end.length > 0 ? 1 : 0;
    const std::size_t length = start.size() + pieces - ends + end.length;
    if (length > 64 * LineShape::WholeLine::kMostParts) return;
    line.length = length;
    line.parts = static_cast<int>((length + 63) / 64);
    for (std::size_t at = 0; at < length; ++at) {
        char& c = line.text[at / 64][at % 64];
        if (at < start.size()) {
            c = start[at];
            continue;
        }
        const std::size_t o = at - start.size();
        if (ends != 0 && o + 1 >= pieces) {
            c = end.text[o + 1 - pieces];
            continue;
        }
        const std::size_t piece = o / pieceLength;
        const std::size_t offset = o % pieceLength;
        if (offset < before || offset >= before + 2) {
            c = zero.text[offset];
            continue;
        }
        line.digits[at / 64] |= std::uint64_t{1} << (at % 64);
        for (std::size_t k = 0; k < 32 / perLine; ++k) {
            line.sources[k][at / 64][at % 64] =
                static_cast<std::uint8_t>(2 * (k * perLine + piece) + offset - before);
        }
    }
}

}  // namespace

LineShape::LineShape(const HexLines& bytes, std::size_t bytesPerLine, std::string_view lineStart,
                     bool onFirstLine, std::string_view lineEnd)
    : perLine(bytesPerLine),
      start(lineStart),
      shortStart(lineStart.size() < sizeof(ShortPiece::text)),
      startPiece(shortStart ? ShortPiece(lineStart) : ShortPiece()),
      startFirst(onFirstLine),
      endPiece(lineEnd),
      madeFor(&bytes) {
    if (!bytes.permutes_ || perLine == 0 || 32 % perLine != 0 ||
        32 / perLine > static_cast<std::size_t>(WholeLine::kMostLines)) {
        return;
    }
    // Every piece is the text around the digits of 0, with the value's own digits.
    MakeWholeLine(bytes.pieces_[0], bytes.length_, bytes.before_, perLine, start, endPiece,
                  started);
    MakeWholeLine(bytes.pieces_[0], bytes.length_, bytes.before_, perLine, {}, endPiece, unstarted);
    if (started.parts > 0) {
        linesPer32 = static_cast<int>(32 / perLine);
        perLineShift = std::countr_zero(perLine);
    }
}
