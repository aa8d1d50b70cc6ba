// Assembler source: a label before every table, then lines of up to 16 bytes after the
// directive, in the chosen number style.

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

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
    // The "h" style writes "0" before digits that start with a letter: its pieces differ in length.
    static const BytePieces suffixH = [] {
        BytePieces pieces;
        for (unsigned v = 0; v < 256; ++v) {
            pieces[v] = ShortPiece(ByteText(NumberStyle::kSuffixH, v) + ",");
        }
        return pieces;
    }();
    // Every other style puts the same text before two digits; the "h" style comes last.
    static const std::array<HexLines, 4> styles = [] {
        const auto style = [](int s) {
            const std::string zero = ByteText(static_cast<NumberStyle>(s), 0);
            return HexLines(std::string_view(zero).substr(0, zero.size() - 2), ",");
        };
        return std::array<HexLines, 4>{style(0), style(1), style(2), style(3)};
    }();
    const bool suffix = options.numberStyle == NumberStyle::kSuffixH;
    const ShortPiece eol(options.crlf ? "\r\n" : "\n");
    const std::string lineStart = "\t" + options.directive + " ";
    const LineShape shape(kBytesPerLine, lineStart, true, options.crlf ? "\r\n" : "\n");
    // The usual directives (up to 5 characters) start a line in one move; longer ones are put
    // whole.
    const bool shortStart = lineStart.size() < sizeof(ShortPiece::text);
    const ShortPiece shortLineStart = shortStart ? ShortPiece(lineStart) : ShortPiece();

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
    // Lines of up to 16 bytes, each "," after a byte but the last, in the "h" style. The line
    // start and end are copies, held in registers while characters are stored.
    const auto putLines = [&text, shortStart, &shortLineStart, &eol, &lineStart](
                              const BytePieces& pieces, std::span<const TableValue> table,
                              auto length) {
        const std::size_t tableLines = (table.size() + kBytesPerLine - 1) / kBytesPerLine;
        if (!shortStart) {
            for (std::size_t i = 0; i < table.size(); i += kBytesPerLine) {
                const std::size_t count = std::min(kBytesPerLine, table.size() - i);
                text.Put(lineStart);
                char* end = text.Room(count * 5 + sizeof eol.text);
                end = PutPieces(end, pieces, table.data() + i, count, length) - 1;
                std::memcpy(end, eol.text.data(), sizeof eol.text);
                text.End(end + eol.length);
            }
            return;
        }
        const ShortPiece start = shortLineStart;
        const ShortPiece stop = eol;
        char* end = text.Room(tableLines * (sizeof start.text + kBytesPerLine * 5 + 8));
        for (std::size_t i = 0; i < table.size(); i += kBytesPerLine) {
            const std::size_t count = std::min(kBytesPerLine, table.size() - i);
            std::memcpy(end, start.text.data(), sizeof start.text);
            end += start.length;
            end = PutPieces(end, pieces, table.data() + i, count, length) - 1;
            std::memcpy(end, stop.text.data(), sizeof stop.text);
            end += stop.length;
        }
        text.End(end);
    };
    const HexLines& bytes = styles.at(suffix ? 0 : static_cast<std::size_t>(options.numberStyle));
    for (int cel = 0; cel < tables.celCount; ++cel) {
        const std::string celLabel = options.name + "_c" + std::to_string(cel + 1) + "_";
        for (std::size_t t = 0; t < tables.shapes.size(); ++t) {
            text.Put(celLabel);
            text.Put(RoleName(tables.shapes[t].role));
            text.Put(":");
            text.Put(eol);
            const std::span<const TableValue> table = tables.Table(cel, t);
            if (suffix) {
                putLines(suffixH, table, [](unsigned v) { return v >= 0xA0 ? 5u : 4u; });
                continue;
            }
            const std::size_t tableLines = (table.size() + kBytesPerLine - 1) / kBytesPerLine;
            text.End(
                bytes.Put(text.Room(tableLines * bytes.LineRoom(shape)), table, shape, nullptr));
        }
    }
    return text.Take();
}
