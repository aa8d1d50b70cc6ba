// C source that works as a header: an include guard, one two-dimensional static array per role,
// a row per cel, and the cel count as a macro; where cels differ in length, one array per cel and
// role.

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <string>
#include <vector>

#include "generator/hex_lines.h"
#include "generator/text_buffer.h"
#include "generator/writers.h"

namespace {

constexpr std::size_t kBytesPerLine = 16;

// The text of a comment: a "*/" in a file name would end it early.
std::string CommentText(std::string_view text) {
    std::string safe;
    for (const char c : text) {
        if (c == '/' && !safe.empty() && safe.back() == '*') safe += ' ';
        safe += c;
    }
    return safe;
}

}  // namespace

Result<std::string> WriteC(const GeneratedTables& tables, const WriterOptions& options) {
    static const HexLines bytes(" 0x", ",");
    const std::string eol = options.crlf ? "\r\n" : "\n";
    const std::string nextLineText = eol + "     ";  // before the bytes after the first 16 of a row
    const ShortPiece nextLine(nextLineText);
    const LineShape rows(bytes, kBytesPerLine, nextLineText, false, "");
    const std::string cels = std::to_string(tables.celCount);

    std::string guard = options.name + "_TABLES_H";
    std::transform(guard.begin(), guard.end(), guard.begin(), [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    std::string head = "/* Tables of " + CommentText(options.source) + " */" + eol;
    head += "#ifndef " + guard + eol + "#define " + guard + eol + eol;
    head += "#define " + options.name + "_CELS " + cels + eol;
    std::size_t lines = 0;
    for (int cel = 0; cel < tables.celCount; ++cel) {
        for (std::size_t t = 0; t < tables.shapes.size(); ++t) {
            lines += 4 + (tables.Length(cel, t) + kBytesPerLine - 1) / kBytesPerLine;
        }
    }
    // Every byte "0x30, ", every line an indent, a brace or a comment and its end.
    TextBuffer text(head.size() + 16 + tables.values.size() * 6 +
                    tables.shapes.size() * (options.name.size() + cels.size() + 60) +
                    lines * (20 + eol.size() + options.name.size()));
    text.Put(head);
    // The bytes of one table: lines of up to 16, without the last ",".
    const auto putBytes = [&text, &rows](std::span<const TableValue> table) {
        if (table.empty()) return;
        const std::size_t tableLines = (table.size() + kBytesPerLine - 1) / kBytesPerLine;
        char* end = bytes.Put(text.Room(tableLines * bytes.LineRoom(rows)), table, rows, nullptr);
        text.End(end - 1);  // the last byte's ","
    };
    if (!tables.lengths.empty()) {
        // Cels of tables that differ in length: an array per cel and table, named as the
        // assembler's labels. C has no array of no bytes: a table without bytes is a comment.
        for (int cel = 0; cel < tables.celCount; ++cel) {
            const std::string celName = options.name + "_c" + std::to_string(cel + 1) + "_";
            for (std::size_t t = 0; t < tables.shapes.size(); ++t) {
                const std::span<const TableValue> table = tables.Table(cel, t);
                // Put piece by piece: a cel of sprites has a few hundred arrays.
                text.Put(eol);
                text.Put(table.empty() ? "/* " : "static const unsigned char ");
                text.Put(celName);
                text.Put(RoleName(tables.shapes[t].role));
                if (table.empty()) {
                    text.Put(": no bytes */");
                    text.Put(eol);
                    continue;
                }
                char length[24];
                text.Put("[");
                text.Put(std::string_view(
                    length, std::to_chars(length, length + sizeof length, table.size()).ptr));
                text.Put("] = {");
                text.Put(nextLine);
                putBytes(table);
                text.Put(eol);
                text.Put("};");
                text.Put(eol);
            }
        }
        text.Put(eol + "#endif" + eol);
        return text.Take();
    }
    // What goes before and after each cel's row of a table, the same in every table: the row
    // starts back to back, each ending where rowStartEnds says.
    std::string rowStarts;
    std::vector<std::size_t> rowStartEnds;
    rowStarts.reserve(static_cast<std::size_t>(tables.celCount) * 32);
    for (int cel = 0; cel < tables.celCount; ++cel) {
        rowStarts += "    /* cel ";
        rowStarts += std::to_string(cel + 1);
        rowStarts += " */";
        rowStarts += eol;
        rowStarts += "    {";
        rowStartEnds.push_back(rowStarts.size());
    }
    const std::string rowEnd = " }," + eol;
    std::size_t offset = 0;  // of the table in each cel
    for (std::size_t t = 0; t < tables.shapes.size(); ++t) {
        const TableShape& shape = tables.shapes[t];
        text.Put(eol);
        text.Put("static const unsigned char " + options.name + "_" +
                 std::string(RoleName(shape.role)) + "[" + cels + "][" +
                 std::to_string(shape.length) + "] = {" + eol);
        for (int cel = 0; cel < tables.celCount; ++cel) {
            const auto c = static_cast<std::size_t>(cel);
            const std::size_t from = c == 0 ? 0 : rowStartEnds[c - 1];
            text.Put(std::string_view(rowStarts).substr(from, rowStartEnds[c] - from));
            putBytes(tables.Cel(cel).subspan(offset, shape.length));
            text.Put(rowEnd);
        }
        text.Put("};" + eol);
        offset += shape.length;
    }
    text.Put(eol + "#endif" + eol);
    return text.Take();
}
