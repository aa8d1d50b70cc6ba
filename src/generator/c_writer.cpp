// C source: one two-dimensional array per role, a row per cel, and the cel count as a macro.

#include <array>
#include <string>

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

std::string WriteC(const GeneratedTables& tables, const WriterOptions& options) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::array<ShortPiece, 256> bytes;
    for (unsigned v = 0; v < 256; ++v) {
        bytes[v] = ShortPiece(std::string{'0', 'x', kDigits[v >> 4], kDigits[v & 15], ','});
    }
    const std::string eol = options.crlf ? "\r\n" : "\n";
    const std::string cels = std::to_string(tables.celCount);

    std::string head = "/* Tables of " + CommentText(options.source) + " */" + eol;
    head += "#define " + options.name + "_CELS " + cels + eol;
    std::size_t lines = 0;
    for (const TableShape& shape : tables.shapes) {
        lines += 3 + static_cast<std::size_t>(tables.celCount) *
                         (1 + (shape.length + kBytesPerLine - 1) / kBytesPerLine);
    }
    // Every byte "0x30, ", every line an indent, a brace or a comment and its end.
    TextBuffer text(head.size() + tables.values.size() * 6 +
                    tables.shapes.size() * (options.name.size() + cels.size() + 60) +
                    lines * (20 + eol.size()));
    text.Put(head);
    for (std::size_t t = 0; t < tables.shapes.size(); ++t) {
        const TableShape& shape = tables.shapes[t];
        text.Put(eol);
        text.Put("const unsigned char " + options.name + "_" + std::string(RoleName(shape.role)) +
                 "[" + cels + "][" + std::to_string(shape.length) + "] = {" + eol);
        for (int cel = 0; cel < tables.celCount; ++cel) {
            text.Put("    /* cel " + std::to_string(cel + 1) + " */" + eol + "    {");
            const std::span<const TableValue> table = tables.Table(cel, t);
            for (std::size_t i = 0; i < table.size(); ++i) {
                text.Put(i % kBytesPerLine == 0 ? (i == 0 ? " " : "      ") : " ");
                text.Put(bytes[table[i] & 0xFF]);
                if (i % kBytesPerLine == kBytesPerLine - 1 && i + 1 < table.size()) text.Put(eol);
            }
            if (!table.empty()) text.Unput();  // the last byte's ","
            text.Put(" }," + eol);
        }
        text.Put("};" + eol);
    }
    return text.Take();
}
