// BASIC lines: a remark naming each table, then DATA lines of up to 8 bytes, every line numbered.

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "generator/hex_lines.h"
#include "generator/text_buffer.h"
#include "generator/writers.h"

namespace {

constexpr std::size_t kBytesPerLine = 8;

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

    static const HexLines bytes("&H", ",");
    const LineShape data(bytes, kBytesPerLine, " DATA ", true, options.crlf ? "\r\n" : "\n");
    // 5 characters a byte; a number, a keyword and the end of every line; the name and the other
    // words of every remark; and the room asked for the longest table's lines.
    std::size_t longest = 0;
    for (int cel = 0; cel < tables.celCount; ++cel) {
        for (std::size_t t = 0; t < tables.shapes.size(); ++t) {
            longest = std::max(longest, tables.Length(cel, t));
        }
    }
    const std::size_t remarks = static_cast<std::size_t>(tables.celCount) * tables.shapes.size();
    TextBuffer text(tables.values.size() * 5 + static_cast<std::size_t>(lines) * (12 + eol.length) +
                    remarks * (options.name.size() + 30) +
                    (longest / kBytesPerLine + 1) * bytes.LineRoom(data));
    LineNumbers numbers(options.lineStart, options.lineStep);
    // A remark after its number: " REM ", the name, " cel ", the cel's number and " ", then the
    // table's role and the line's end. Each part is put in one move of its room's size where it
    // fits that room, as most do.
    struct Room64 {
        std::array<char, 64> text{};
        std::size_t length = 0;
    };
    struct Room16 {
        std::array<char, 16> text{};
        std::size_t length = 0;
    };
    std::vector<Room16> roleEnds(tables.shapes.size());
    bool shortEnds = true;
    for (std::size_t t = 0; t < tables.shapes.size(); ++t) {
        const std::string end =
            std::string(RoleName(tables.shapes[t].role)) + std::string(eol.text.data(), eol.length);
        shortEnds = shortEnds && end.size() <= sizeof roleEnds[t].text;
        roleEnds[t].length = std::min(end.size(), sizeof roleEnds[t].text);
        std::memcpy(roleEnds[t].text.data(), end.data(), roleEnds[t].length);
    }
    const std::string remarkStart = " REM " + options.name + " cel ";
    const std::size_t lineRoom = bytes.LineRoom(data);
    std::string longRemark;
    for (int cel = 0; cel < tables.celCount; ++cel) {
        Room64 remark;
        char number[16];
        const std::string_view celNumber(
            number, std::to_chars(number, number + sizeof number, cel + 1).ptr);
        const bool shortRemark =
            shortEnds && remarkStart.size() + celNumber.size() + 1 <= sizeof remark.text;
        if (shortRemark) {
            char* at = std::copy(remarkStart.begin(), remarkStart.end(), remark.text.data());
            at = std::copy(celNumber.begin(), celNumber.end(), at);
            *at++ = ' ';
            remark.length = static_cast<std::size_t>(at - remark.text.data());
        } else {
            longRemark = remarkStart + std::string(celNumber) + " ";
        }
        // The cel's tables one after the other.
        std::span<const TableValue> rest = tables.Cel(cel);
        for (std::size_t t = 0; t < tables.shapes.size(); ++t) {
            const std::span<const TableValue> table = rest.first(tables.Length(cel, t));
            rest = rest.subspan(table.size());
            const std::size_t dataLines = (table.size() + kBytesPerLine - 1) / kBytesPerLine;
            if (shortRemark) {
                char* end = numbers.Put(text.Room(10 + sizeof remark.text +
                                                  sizeof roleEnds[t].text + dataLines * lineRoom));
                std::memcpy(end, remark.text.data(), sizeof remark.text);
                end += remark.length;
                std::memcpy(end, roleEnds[t].text.data(), sizeof roleEnds[t].text);
                end += roleEnds[t].length;
                text.End(bytes.Put(end, table, data, &numbers));
                continue;
            }
            text.End(numbers.Put(text.Room(10)));
            text.Put(longRemark);
            text.Put(RoleName(tables.shapes[t].role));
            text.Put(eol);
            text.End(bytes.Put(text.Room(dataLines * lineRoom), table, data, &numbers));
        }
    }
    return text.Take();
}
