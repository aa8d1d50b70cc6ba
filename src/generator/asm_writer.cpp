// Assembler source: a label before every table, then lines of up to 16 bytes after the
// directive, in the chosen number style.

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "generator/hex_lines.h"
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

Result<std::string> WriteAsm(const GeneratedTables& tables, const WriterOptions& options) {
    // Every style puts the same text before two digits but the last, "h", which writes "0" before
    // digits that start with a letter: its pieces differ in length.
    static const std::array<HexLines, 5> styles = [] {
        const auto style = [](int s) {
            const std::string zero = ByteText(static_cast<NumberStyle>(s), 0);
            return HexLines(std::string_view(zero).substr(0, zero.size() - 2), ",");
        };
        BytePieces suffixH;
        for (unsigned v = 0; v < 256; ++v) {
            suffixH[v] = ShortPiece(ByteText(NumberStyle::kSuffixH, v) + ",");
        }
        return std::array<HexLines, 5>{style(0), style(1), style(2), style(3), HexLines(suffixH)};
    }();
    const HexLines& bytes = styles.at(static_cast<std::size_t>(options.numberStyle));
    const ShortPiece eol(options.crlf ? "\r\n" : "\n");
    const std::string lineStart = "\t" + options.directive + " ";
    const LineShape shape(bytes, kBytesPerLine, lineStart, true, options.crlf ? "\r\n" : "\n");

    // Labels: name, "_c", up to 3 digits, "_", the role (at most 8), ":" and the line end.
    const std::size_t labels = static_cast<std::size_t>(tables.celCount) * tables.shapes.size();
    std::size_t lines = labels;
    for (int cel = 0; cel < tables.celCount; ++cel) {
        for (std::size_t t = 0; t < tables.shapes.size(); ++t) {
            lines += (tables.Length(cel, t) + kBytesPerLine - 1) / kBytesPerLine;
        }
    }
    TextBuffer text(tables.values.size() * 5 + labels * (options.name.size() + 16) +
                    lines * (lineStart.size() + eol.length));
    // The end of each table's label: its role, ":" and the line's end.
    std::vector<std::string> labelEnds;
    for (const TableShape& tableShape : tables.shapes) {
        labelEnds.push_back(std::string(RoleName(tableShape.role)) + ":" +
                            std::string(eol.text.data(), eol.length));
    }
    for (int cel = 0; cel < tables.celCount; ++cel) {
        const std::string celLabel = options.name + "_c" + std::to_string(cel + 1) + "_";
        // The cel's tables one after the other.
        std::span<const TableValue> rest = tables.Cel(cel);
        for (std::size_t t = 0; t < tables.shapes.size(); ++t) {
            text.Put(celLabel);
            text.Put(labelEnds[t]);
            const std::span<const TableValue> table = rest.first(tables.Length(cel, t));
            rest = rest.subspan(table.size());
            const std::size_t tableLines = (table.size() + kBytesPerLine - 1) / kBytesPerLine;
            text.End(
                bytes.Put(text.Room(tableLines * bytes.LineRoom(shape)), table, shape, nullptr));
        }
    }
    return text.Take();
}
