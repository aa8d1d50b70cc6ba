// BASIC lines: a remark naming each table, then DATA lines of up to 8 bytes, every line numbered.

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>

#include "generator/text_buffer.h"
#include "generator/writers.h"

namespace {

constexpr std::size_t kBytesPerLine = 8;

// "00" to "99".
constexpr auto kPairs = [] {
    std::array<char, 200> pairs{};
    for (int v = 0; v < 100; ++v) {
        pairs[static_cast<std::size_t>(2 * v)] = static_cast<char>('0' + v / 10);
        pairs[static_cast<std::size_t>(2 * v + 1)] = static_cast<char>('0' + v % 10);
    }
    return pairs;
}();

// Line numbers counted up by a step. A number is kept as its hundreds, written out once for every
// hundred, and its last two digits, so that most lines take two table moves rather than divisions.
class LineNumbers {
  public:
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
    void Start(int number) {
        hundreds_ = number / 100;
        low_ = number % 100;
        std::array<char, sizeof hundredsText_> text{};
        hundredsLength_ = static_cast<std::size_t>(
            std::to_chars(text.data(), text.data() + text.size(), hundreds_).ptr - text.data());
        std::memcpy(&hundredsText_, text.data(), sizeof hundredsText_);
    }

    int step_;
    int hundreds_ = 0;
    int low_ = 0;
    std::uint64_t hundredsText_ = 0;  // the characters of the hundreds, the first in the low byte
    std::size_t hundredsLength_ = 0;
};

// Puts the DATA lines of one table at end, which has room for them (64 characters a line), and
// returns the end. The numbers and the line end are copies, held in registers while characters are
// stored.
char* PutDataLines(char* end, std::span<const TableValue> table, LineNumbers& counter,
                   ShortPiece eol) {
    static const BytePieces bytes = HexPieces("&H", ",");
    const ShortPiece data(" DATA ");
    LineNumbers numbers = counter;
    const auto putLine = [&](const TableValue* values, std::size_t count) {
        end = numbers.Put(end);
        std::memcpy(end, data.text.data(), sizeof data.text);
        end = PutPieces(end + data.length, bytes, values, count, [](unsigned) { return 5u; });
        std::memcpy(end - 1, eol.text.data(), sizeof eol.text);  // over the last ","
        end += eol.length - 1;
    };
    const std::size_t whole = table.size() / kBytesPerLine * kBytesPerLine;
    // Whole lines of 8 bytes, each piece at a place known beforehand.
    for (std::size_t i = 0; i < whole; i += kBytesPerLine) putLine(table.data() + i, kBytesPerLine);
    if (whole < table.size()) putLine(table.data() + whole, table.size() - whole);
    counter = numbers;
    return end;
}

}  // namespace

int BasicLineCount(const GeneratedTables& tables) {
    std::size_t lines = 0;
    for (int cel = 0; cel < tables.celCount; ++cel) {
        for (std::size_t t = 0; t < tables.shapes.size(); ++t) {
            lines += 1 + (tables.Length(cel, t) + kBytesPerLine - 1) / kBytesPerLine;
        }
        if (!tables.layerColours.empty()) lines += 2;  // the colours table WriteTables adds
    }
    return static_cast<int>(lines);
}

Result<std::string> WriteBasic(const GeneratedTables& tables, const WriterOptions& options) {
    const int lines = BasicLineCount(tables);
    const std::int64_t last =
        options.lineStart + std::int64_t{options.lineStep} * std::max(lines - 1, 0);
    if (options.lineStart < 0 || options.lineStep < 1 || last > kLastBasicLine) {
        return Fail(Failure::kInvalid, "The " + std::to_string(lines) + " BASIC lines from " +
                                           std::to_string(options.lineStart) + " in steps of " +
                                           std::to_string(options.lineStep) +
                                           " would end at line " + std::to_string(last) +
                                           ", past " + std::to_string(kLastBasicLine) +
                                           ", the last line number BASIC takes.");
    }
    const ShortPiece eol(options.crlf ? "\r\n" : "\n");

    // 5 characters a byte; a number, a keyword and the end of every line; the name and the other
    // words of every remark; and the room asked for the longest table's lines, 64 characters each.
    std::size_t longest = 0;
    for (int cel = 0; cel < tables.celCount; ++cel) {
        for (std::size_t t = 0; t < tables.shapes.size(); ++t) {
            longest = std::max(longest, tables.Length(cel, t));
        }
    }
    const std::size_t remarks = static_cast<std::size_t>(tables.celCount) * tables.shapes.size();
    TextBuffer text(tables.values.size() * 5 + static_cast<std::size_t>(lines) * (12 + eol.length) +
                    remarks * (options.name.size() + 30) + (longest / kBytesPerLine + 1) * 64);
    LineNumbers numbers(options.lineStart, options.lineStep);
    const ShortPiece remark(" REM ");
    for (int cel = 0; cel < tables.celCount; ++cel) {
        const std::string celRemark = options.name + " cel " + std::to_string(cel + 1) + " ";
        for (std::size_t t = 0; t < tables.shapes.size(); ++t) {
            char* end = numbers.Put(text.Room(8 + sizeof remark.text));
            std::memcpy(end, remark.text.data(), sizeof remark.text);
            text.End(end + remark.length);
            text.Put(celRemark);
            text.Put(RoleName(tables.shapes[t].role));
            text.Put(eol);
            const std::span<const TableValue> table = tables.Table(cel, t);
            const std::size_t dataLines = (table.size() + kBytesPerLine - 1) / kBytesPerLine;
            text.End(PutDataLines(text.Room(dataLines * 64), table, numbers, eol));
        }
    }
    return text.Take();
}
