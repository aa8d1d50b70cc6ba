// BASIC lines: a remark naming each table, then DATA lines of up to 8 bytes, every line numbered.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "generator/text_buffer.h"
#include "generator/writers.h"

namespace {

constexpr std::size_t kBytesPerLine = 8;

}  // namespace

int BasicLineCount(const GeneratedTables& tables) {
    std::size_t perCel = 0;
    for (const TableShape& shape : tables.shapes) {
        perCel += 1 + (shape.length + kBytesPerLine - 1) / kBytesPerLine;
    }
    return static_cast<int>(perCel * static_cast<std::size_t>(tables.celCount));
}

Result<std::string> WriteBasic(const GeneratedTables& tables, const WriterOptions& options) {
    const int count = BasicLineCount(tables);
    const std::int64_t last =
        options.lineStart + std::int64_t{options.lineStep} * std::max(count - 1, 0);
    if (options.lineStart < 0 || options.lineStep < 1 || last > kLastBasicLine) {
        return Fail(Failure::kInvalid, "The " + std::to_string(count) + " BASIC lines from " +
                                           std::to_string(options.lineStart) + " in steps of " +
                                           std::to_string(options.lineStep) +
                                           " would end at line " + std::to_string(last) +
                                           ", past " + std::to_string(kLastBasicLine) +
                                           ", the last line number BASIC takes.");
    }
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::array<ShortPiece, 256> bytes;
    for (unsigned v = 0; v < 256; ++v) {
        bytes[v] = ShortPiece(std::string{'&', 'H', kDigits[v >> 4], kDigits[v & 15], ','});
    }
    const std::string_view eol = options.crlf ? "\r\n" : "\n";

    // A line number and a blank, "DATA " and 5 characters a byte, or a remark.
    TextBuffer text(tables.values.size() * 5 +
                    static_cast<std::size_t>(count) * (12 + eol.size() + options.name.size() + 20));
    int number = options.lineStart;
    const auto startLine = [&text, &number, &options](std::string_view keyword) {
        text.Put(std::to_string(number));
        text.Put(keyword);
        number += options.lineStep;
    };
    for (int cel = 0; cel < tables.celCount; ++cel) {
        for (std::size_t t = 0; t < tables.shapes.size(); ++t) {
            startLine(" REM ");
            text.Put(options.name + " cel " + std::to_string(cel + 1) + " ");
            text.Put(RoleName(tables.shapes[t].role));
            text.Put(eol);
            const std::span<const TableValue> table = tables.Table(cel, t);
            for (std::size_t i = 0; i < table.size(); ++i) {
                if (i % kBytesPerLine == 0) startLine(" DATA ");
                text.Put(bytes[table[i] & 0xFF]);
                if (i % kBytesPerLine == kBytesPerLine - 1 || i + 1 == table.size()) {
                    text.Unput();
                    text.Put(eol);
                }
            }
        }
    }
    return text.Take();
}
