// The choice of writer, and the check that values are bytes before a writer of bytes runs.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "generator/writers.h"

Result<> AllBytes(const GeneratedTables& tables) {
    // Four values a word, in four words at a time, for the tables of a large document.
    std::uint64_t words[4] = {0, 0, 0, 0};
    const TableValue* values = tables.values.data();
    const std::size_t count = tables.values.size();
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        for (std::size_t w = 0; w < 4; ++w) {
            std::uint64_t word = 0;
            std::memcpy(&word, values + i + 4 * w, sizeof word);
            words[w] |= word;
        }
    }
    std::uint64_t all = words[0] | words[1] | words[2] | words[3];
    for (; i < count; ++i) all |= values[i];
    if ((all & 0xFF00FF00FF00FF00ULL) == 0) return {};
    const auto wide = std::find_if(tables.values.begin(), tables.values.end(),
                                   [](TableValue v) { return v > 0xFF; });
    if (wide == tables.values.end()) return {};
    std::size_t offset = static_cast<std::size_t>(wide - tables.values.begin());
    int cel = 0;
    while (offset >= tables.Cel(cel).size()) offset -= tables.Cel(cel++).size();
    std::size_t t = 0;
    while (offset >= tables.Length(cel, t)) offset -= tables.Length(cel, t++);
    return Fail(Failure::kInvalid,
                "Value " + std::to_string(*wide) + " of cel " + std::to_string(cel + 1) + "'s " +
                    std::string(RoleName(tables.shapes[t].role)) +
                    " table is more than a byte: the cel holds pixels that are not colour indices "
                    "0 to 15.");
}

namespace {

// The tables with the layer colours as one more table of each cel, after its patterns.
GeneratedTables WithLayerColours(const GeneratedTables& tables) {
    GeneratedTables out;
    out.kind = tables.kind;
    out.shapes = tables.shapes;
    const auto count = static_cast<std::size_t>(tables.layers);
    out.shapes.push_back({TableRole::kLayerColours, count});
    out.celCount = tables.celCount;
    out.celLength = tables.celLength + count;
    out.layers = tables.layers;
    out.resultCode = tables.resultCode;
    out.values.reserve(static_cast<std::size_t>(out.celCount) * out.celLength);
    for (int cel = 0; cel < tables.celCount; ++cel) {
        const std::span<const TableValue> values = tables.Cel(cel);
        out.values.insert(out.values.end(), values.begin(), values.end());
        const auto colours = tables.layerColours.begin() + static_cast<std::ptrdiff_t>(count) * cel;
        out.values.insert(out.values.end(), colours, colours + static_cast<std::ptrdiff_t>(count));
    }
    return out;
}

}  // namespace

Result<std::string> WriteTables(const GeneratedTables& tables, TableFormat format,
                                const WriterOptions& options) {
    const FormatRow& row = FormatOf(format);
    if (format == TableFormat::kHex) return row.write(tables, options);
    // The writer of bytes alone checks them as it writes them.
    if (Result<> bytes = row.binary ? Result<>{} : AllBytes(tables); !bytes) return bytes.error();
    if (row.namesLayerColours && !tables.layerColours.empty() &&
        tables.layerColours.size() ==
            static_cast<std::size_t>(tables.layers) * static_cast<std::size_t>(tables.celCount)) {
        return row.write(WithLayerColours(tables), options);
    }
    return row.write(tables, options);
}

const FormatRow& FormatOf(TableFormat format) {
    for (const FormatRow& row : kFormats) {
        if (row.format == format) return row;
    }
    return kFormats[0];
}

const FormatRow* FindFormat(std::string_view name) {
    for (const FormatRow& row : kFormats) {
        if (row.name == name) return &row;
    }
    return nullptr;
}

TableFormat NextWindowFormat(TableFormat format) {
    const auto* at = &FormatOf(format);
    const auto* end = std::end(kFormats);
    for (const auto* row = at + 1; row != end; ++row) {
        if (!row->title.empty()) return row->format;
    }
    return kFormats[0].format;
}
