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
    static const BytePieces bytes = HexPieces("&H", ",");
    const ShortPiece eol(options.crlf ? "\r\n" : "\n");

    // A line number and a blank, "DATA " and 5 characters a byte, or a remark.
    TextBuffer text(tables.values.size() * 5 +
                    static_cast<std::size_t>(lines) * (12 + eol.length + options.name.size() + 20));
    int number = options.lineStart;
    // The line number and the keyword; returns the end.
    const auto startLine = [&number, &options](char* end, const ShortPiece& keyword) {
        end = std::to_chars(end, end + 5, number).ptr;
        number += options.lineStep;
        std::memcpy(end, keyword.text.data(), sizeof keyword.text);
        return end + keyword.length;
    };
    const ShortPiece remark(" REM ");
    const ShortPiece data(" DATA ");
    for (int cel = 0; cel < tables.celCount; ++cel) {
        const std::string celRemark = options.name + " cel " + std::to_string(cel + 1) + " ";
        for (std::size_t t = 0; t < tables.shapes.size(); ++t) {
            text.End(startLine(text.Room(5 + sizeof remark.text), remark));
            text.Put(celRemark);
            text.Put(RoleName(tables.shapes[t].role));
            text.Put(eol);
            const std::span<const TableValue> table = tables.Table(cel, t);
            for (std::size_t i = 0; i < table.size(); i += kBytesPerLine) {
                const std::size_t count = std::min(kBytesPerLine, table.size() - i);
                char* end =
                    startLine(text.Room(5 + data.length + count * 5 + sizeof eol.text), data);
                end = PutPieces(end, bytes, table.data() + i, count, [](unsigned) { return 5u; });
                --end;  // the last ","
                std::memcpy(end, eol.text.data(), sizeof eol.text);
                text.End(end + eol.length);
            }
        }
    }
    return text.Take();
}
