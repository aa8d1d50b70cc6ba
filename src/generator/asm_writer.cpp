// Assembler source: a label before every table, then lines of up to 16 bytes after the
// directive, in the chosen number style.

#include <array>
#include <string>

#include "generator/text_buffer.h"
#include "generator/writers.h"

namespace {

constexpr std::size_t kBytesPerLine = 16;

std::string ByteText(NumberStyle style, unsigned value) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    const std::string digits = {kDigits[value >> 4], kDigits[value & 15]};
    switch (style) {
        case NumberStyle::kDollar:
            return "$" + digits;
        case NumberStyle::kHash:
            return "#" + digits;
        case NumberStyle::kZeroX:
            return "0x" + digits;
        case NumberStyle::kAmpersandH:
            return "&H" + digits;
        case NumberStyle::kSuffixH:
            // A number must not start with a letter, or it reads as a name.
            return (value >= 0xA0 ? "0" : "") + digits + "h";
    }
    return digits;
}

}  // namespace

std::string WriteAsm(const GeneratedTables& tables, const WriterOptions& options) {
    std::array<ShortPiece, 256> bytes;
    for (unsigned v = 0; v < 256; ++v)
        bytes[v] = ShortPiece(ByteText(options.numberStyle, v) + ",");
    const std::string_view eol = options.crlf ? "\r\n" : "\n";
    const std::string lineStart = "\t" + options.directive + " ";

    // Labels: name, "_c", up to 3 digits, "_", the role (at most 8), ":" and the line end.
    const std::size_t labels = static_cast<std::size_t>(tables.celCount) * tables.shapes.size();
    std::size_t lines = labels;
    for (const TableShape& shape : tables.shapes) {
        lines += static_cast<std::size_t>(tables.celCount) *
                 ((shape.length + kBytesPerLine - 1) / kBytesPerLine);
    }
    TextBuffer text(tables.values.size() * 5 + labels * (options.name.size() + 16) +
                    lines * (lineStart.size() + eol.size()));
    for (int cel = 0; cel < tables.celCount; ++cel) {
        const std::string celLabel = options.name + "_c" + std::to_string(cel + 1) + "_";
        for (std::size_t t = 0; t < tables.shapes.size(); ++t) {
            text.Put(celLabel);
            text.Put(RoleName(tables.shapes[t].role));
            text.Put(":");
            text.Put(eol);
            const std::span<const TableValue> table = tables.Table(cel, t);
            for (std::size_t i = 0; i < table.size(); ++i) {
                if (i % kBytesPerLine == 0) text.Put(lineStart);
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
