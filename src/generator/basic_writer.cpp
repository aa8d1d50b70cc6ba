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
    const ShortPiece remark(" REM ");
    // The end of each table's remark: its role and the line's end.
    std::vector<std::string> roleEnds;
    for (const TableShape& shape : tables.shapes) {
        roleEnds.push_back(std::string(RoleName(shape.role)) +
                           std::string(eol.text.data(), eol.length));
    }
    const std::size_t lineRoom = bytes.LineRoom(data);
    for (int cel = 0; cel < tables.celCount; ++cel) {
        const std::string celRemark = options.name + " cel " + std::to_string(cel + 1) + " ";
        // The cel's tables one after the other.
        std::span<const TableValue> rest = tables.Cel(cel);
        for (std::size_t t = 0; t < tables.shapes.size(); ++t) {
            char* end = numbers.Put(text.Room(8 + sizeof remark.text));
            std::memcpy(end, remark.text.data(), sizeof remark.text);
            text.End(end + remark.length);
            text.Put(celRemark);
            text.Put(roleEnds[t]);
            const std::span<const TableValue> table = rest.first(tables.Length(cel, t));
            rest = rest.subspan(table.size());
            const std::size_t dataLines = (table.size() + kBytesPerLine - 1) / kBytesPerLine;
            text.End(bytes.Put(text.Room(dataLines * lineRoom), table, data, &numbers));
        }
    }
    return text.Take();
}
