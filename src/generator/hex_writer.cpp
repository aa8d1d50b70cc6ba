// The hexadecimal text: byte tokens, and the "," that ends every line but the last in comma mode,
// written line by line in one pass.

#include "generator/writers.h"

void WriteHex(const GeneratedTables& tables, int comma, OutputText& out) {
    out.Clear();
    const std::size_t digits = comma == kCommaOn ? 4 : 2;
    out.Reserve(tables.values.size() * digits +
                static_cast<std::size_t>(tables.celCount) * (tables.shapes.size() * 3 + 3));
    // A line gets its "," only when it is not empty, as the comma pass of the window has it.
    const auto endLine = [&out, comma](bool empty) {
        out.AddText(comma == kCommaOn && !empty ? ",\n" : "\n");
    };
    const bool chr = tables.kind == GeneratorKind::kChr;
    for (int cel = 0; cel < tables.celCount; ++cel) {
        const bool lastCel = cel + 1 == tables.celCount;
        if (chr) {
            // Patterns, ",", colours: one line, ended by a break also after the last cel.
            out.AddTokens(comma, tables.Table(cel, 0));
            out.AddText(",");
            out.AddTokens(comma, tables.Table(cel, 1));
            out.AddText(lastCel ? "\n" : comma == kCommaOn ? ",\n" : "\n");
            continue;
        }
        for (std::size_t t = 0; t < tables.shapes.size(); ++t) {
            const std::span<const TableValue> table = tables.Table(cel, t);
            out.AddTokens(comma, table);
            if (!lastCel || t + 1 < tables.shapes.size()) endLine(table.empty());
        }
    }
}

Result<std::string> WriteHexText(const GeneratedTables& tables, const WriterOptions& options) {
    OutputText out;
    WriteHex(tables, options.comma, out);
    return out.Take();
}
