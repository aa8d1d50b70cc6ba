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

}  // namespace

Result<std::string> WriteTables(const GeneratedTables& tables, TableFormat format,
                                const WriterOptions& options) {
    if (format == TableFormat::kHex) {
        OutputText out;
        WriteHex(tables, options.comma, out);
        return out.Take();
    }
    if (Result<> bytes = AllBytes(tables); !bytes) return bytes.error();
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
