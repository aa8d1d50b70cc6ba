#pragma once
// Lines of table bytes as text, each byte the same text around its two upper-case hexadecimal
// digits ("&H30,", " 0x30,", "$30,"): the DATA lines of BASIC, the rows of C arrays, the lines of
// most assembler number styles. A whole table goes in one call: where the processor has AVX-512,
// whole lines as byte permutations of the digits of 32 bytes at a time; else eight bytes at a time
// in a few byte shuffles where it has SSSE3, one piece at a time elsewhere.

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "generator/tables.h"
#include "generator/text_buffer.h"

// Line numbers counted up by a step. A number is kept as its hundreds, whose text comes from a
// table, and its last two digits, so that a line takes two table moves rather than divisions.
class LineNumbers {
  public:
    // Numbers up to 65,599: BASIC takes up to 65,529.
    LineNumbers(int first, int step) : step_(step) { Start(first); }

    // Puts the number and returns the end; the next call puts the next number. end has room for
    // 8 + 2 characters.
    char* Put(char* end) {
        if (hundreds_ == 0) {
            end = std::to_chars(end, end + 2, low_).ptr;
        } else {
            std::memcpy(end, &hundredsText_, sizeof hundredsText_);
            end += hundredsLength_;
            std::memcpy(end, kPairs.data() + 2 * low_, 2);
            end += 2;
        }
        low_ += step_;
        if (low_ >= 100) Start(hundreds_ * 100 + low_);
        return end;
    }

  private:
    // "00" to "99".
    static constexpr auto kPairs = [] {
        std::array<char, 200> pairs{};
        for (int v = 0; v < 100; ++v) {
            pairs[static_cast<std::size_t>(2 * v)] = static_cast<char>('0' + v / 10);
            pairs[static_cast<std::size_t>(2 * v + 1)] = static_cast<char>('0' + v % 10);
        }
        return pairs;
    }();
    // The text of every count of hundreds, the first character in the low byte, and its length.
    struct Hundreds {
        std::uint64_t text;
        std::size_t length;
    };
    static constexpr auto kHundreds = [] {
        std::array<Hundreds, 656> hundreds{};
        for (std::size_t h = 1; h < hundreds.size(); ++h) {
            std::size_t length = 0;
            for (std::size_t rest = h; rest > 0; rest /= 10) ++length;
            std::uint64_t text = 0;
            for (std::size_t rest = h, i = length; rest > 0; rest /= 10) {
                text |= std::uint64_t{'0' + rest % 10} << (8 * --i);
            }
            hundreds[h] = {text, length};
        }
        return hundreds;
    }();

    void Start(int number) {
        hundreds_ = number / 100;
        low_ = number % 100;
        const Hundreds& text = kHundreds[static_cast<std::size_t>(hundreds_) % kHundreds.size()];
        hundredsText_ = text.text;
        hundredsLength_ = text.length;
    }

    int step_;
    int hundreds_ = 0;
    int low_ = 0;
    std::uint64_t hundredsText_ = 0;
    std::size_t hundredsLength_ = 0;
};

struct LineShape;

class HexLines {
  public:
    // The way the pieces are put: by one byte permutation of AVX-512 or byte shuffles of SSSE3,
    // the fastest the processor has; by byte shuffles where it has them; or one by one.
    enum class Way { kFastest, kShuffles, kOneByOne };

    // Each byte as before, its two digits, after: at most 5 characters of before and after, so
    // that a piece fits in one move.
    HexLines(std::string_view before, std::string_view after, Way way = Way::kFastest);
    // Pieces that differ in length, put one by one.
    explicit HexLines(const BytePieces& pieces);

    // The room a line takes, with what its last moves write past it (up to 64 bytes from its
    // last eight pieces, or its last part, on).
    std::size_t LineRoom(const LineShape& shape) const;

    // Puts the lines of one table at end, which has LineRoom() for each; each line starts with the
    // next of numbers where there are numbers. Returns the end.
    char* Put(char* end, std::span<const TableValue> table, const LineShape& shape,
              LineNumbers* numbers) const;

  private:
    std::size_t length_;      // of one byte's piece; of the longest, where they differ
    std::size_t before_ = 0;  // the characters before the digits, where the pieces do not differ
    BytePieces pieces_;
    bool varying_ = false;
    // Eight pieces as up to four 16-byte parts: where each part's characters come from in the
    // sixteen digits of eight bytes (0x80: from the text around them), and that text.
    alignas(16) std::array<std::array<std::uint8_t, 16>, 4> sources_{};
    alignas(16) std::array<std::array<std::uint8_t, 16>, 4> around_{};
    std::uint64_t digits_ = 0;  // bit i: character i of eight pieces is a digit
    bool shuffles_ = false;
    bool permutes_ = false;

    friend struct LineWriter;
    friend struct LineShape;
};

// What a table's lines look like around their bytes. Made once for many tables: the start and
// end are kept as pieces that are copied in one move, and where the processor permutes bytes, a
// whole line of the given HexLines as up to three 64-byte parts, each one permutation of the
// digits of 32 bytes.
struct LineShape {
    // start goes before a line's first byte (after its number), and before the first line of a
    // table only with startFirst; end takes the place of every line's last character ("," to a
    // line break) unless it is empty.
    LineShape(const HexLines& bytes, std::size_t bytesPerLine, std::string_view lineStart,
              bool onFirstLine, std::string_view lineEnd);

    std::size_t perLine;
    std::string_view start;
    bool shortStart;
    ShortPiece startPiece;
    bool startFirst;
    ShortPiece endPiece;

    // Whole lines as up to three 64-byte parts: none where parts is 0. Part p of line k of 32
    // bytes is the text of the line's characters 64p to 64p + 63 where bit i of digits[p] is
    // clear, else digit character sources[k][p][i] of the 32 bytes.
    struct WholeLine {
        static constexpr int kMostParts = 3;
        static constexpr int kMostLines = 4;
        int parts = 0;
        std::size_t length = 0;
        alignas(64)
            std::array<std::array<std::array<std::uint8_t, 64>, kMostParts>, kMostLines> sources{};
        alignas(64) std::array<std::array<char, 64>, kMostParts> text{};
        std::array<std::uint64_t, kMostParts> digits{};
    };
    const HexLines* madeFor;
    int linesPer32 = 0;    // whole lines to 32 bytes, where there is a whole way
    int perLineShift = 0;  // perLine is 1 << perLineShift, where there is
    WholeLine started;     // a line with its start
    WholeLine unstarted;   // a first line without it
};

inline std::size_t HexLines::LineRoom(const LineShape& shape) const {
    return 10 + std::max<std::size_t>(8, shape.start.size()) + shape.perLine * length_ +
           shape.endPiece.length + 64;
}
