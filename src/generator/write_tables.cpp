// The choice of writer, and the check that values are bytes before a writer of bytes runs.

#include <algorithm>

#include "generator/writers.h"

namespace {

// Every format but hex writes each value as one byte.
Result<> AllBytes(const GeneratedTables& tables) {
    TableValue all = 0;
    for (const TableValue v : tables.values) all |= v;
    if (all <= 0xFF) return {};
    const auto wide = std::find_if(tables.values.begin(), tables.values.end(),
                                   [](TableValue v) { return v > 0xFF; });
    if (wide == tables.values.end()) return {};
    const auto at = static_cast<std::size_t>(wide - tables.values.begin());
    const int cel = static_cast<int>(at / tables.celLength);
    std::size_t offset = at % tables.celLength;
    std::size_t t = 0;
    while (offset >= tables.shapes[t].length) offset -= tables.shapes[t++].length;
    return Fail(Failure::kInvalid,
                "Value " + std::to_string(*wide) + " of cel " + std::to_string(cel + 1) + "'s " +
                    std::string(RoleName(tables.shapes[t].role)) +
                    " table is more than a byte: the cel holds pixels that are not colour indices "
                    "0 to 15.");
}

// The tables with the layer colours as one more table of each cel, after its patterns.
GeneratedTables WithLayerColours(const GeneratedTables& tables) {
    GeneratedTables out;
    out.kind = tables.kind;
    out.shapes = tables.shapes;
    out.shapes.push_back({TableRole::kLayerColours, 2});
    out.celCount = tables.celCount;
    out.celLength = tables.celLength + 2;
    out.resultCode = tables.resultCode;
    out.values.reserve(static_cast<std::size_t>(out.celCount) * out.celLength);
    for (int cel = 0; cel < tables.celCount; ++cel) {
        const std::span<const TableValue> values = tables.Cel(cel);
        out.values.insert(out.values.end(), values.begin(), values.end());
        const auto colours = tables.layerColours.begin() + 2 * cel;
        out.values.insert(out.values.end(), colours, colours + 2);
    }
    return out;
}

}  // namespace

Result<std::string> WriteTables(const GeneratedTables& tables, TableFormat format,
                                const WriterOptions& options) {
    if (format == TableFormat::kHex) {
        OutputText out;
        WriteHex(tables, options.comma, out);
        return out.Take();
    }
    if (Result<> bytes = AllBytes(tables); !bytes) return bytes.error();
    // The source formats name each layer's colour where the tables hold none.
    const bool source = format != TableFormat::kBin;
    if (source && tables.layerColours.size() == 2 * static_cast<std::size_t>(tables.celCount) &&
        !tables.layerColours.empty()) {
        return WriteTables(WithLayerColours(tables), format, options);
    }
    switch (format) {
        case TableFormat::kAsm:
            return WriteAsm(tables, options);
        case TableFormat::kC:
            return WriteC(tables, options);
        case TableFormat::kBasic:
            return WriteBasic(tables, options);
        case TableFormat::kBin:
        case TableFormat::kHex:
            break;
    }
    return WriteBin(tables);
}

std::string_view FormatName(TableFormat format) {
    switch (format) {
        case TableFormat::kHex:
            return "hex";
        case TableFormat::kAsm:
            return "asm";
        case TableFormat::kC:
            return "c";
        case TableFormat::kBasic:
            return "basic";
        case TableFormat::kBin:
            return "bin";
    }
    return "hex";
}
