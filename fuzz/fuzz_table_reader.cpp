// Any bytes read as tables of any kind, size and format: the reader refuses them naming the file,
// or gives whole cels of bytes in the kind's layout, which its own format's writer writes into a
// text that reads back into the same tables.

#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "generator/decode_tables.h"
#include "generator/table_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    // The first bytes pick the format (or none), the kind, the size and the cels; the rest is the
    // file.
    TableSource source;
    if (data[0] % 8 < 5) source.format = kFormats[data[0] % 8].format;
    source.options.outputType = (data[0] & 8) != 0 ? OutputType::kChr : OutputType::kSprite;
    source.options.layers = (data[0] & 16) != 0 ? 2 : 1;
    source.options.colorData = (data[0] & 32) != 0;
    if ((data[0] & 64) != 0) source.offset = data[3] % 4;
    source.width = 1 + data[1] % 24;
    source.height = 1 + data[2] % 9;
    source.cels = data[3] / 4 % 4;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 4, size - 4);

    const Result<TablesRead> read = ReadTables(bytes, source, "fuzz.txt");
    if (!read) {
        FUZZ_CHECK(read.message().starts_with("fuzz.txt"));
        return 0;
    }
    const GeneratedTables& tables = read->tables;
    FUZZ_CHECK(tables.celCount >= 1 && tables.celCount <= 100);
    FUZZ_CHECK(source.cels == 0 || tables.celCount == source.cels);
    FUZZ_CHECK(tables.values.size() ==
               tables.celLength * static_cast<std::size_t>(tables.celCount));
    FUZZ_CHECK(tables.layerColours.empty() ||
               (tables.kind == GeneratorKind::kSpriteLayersNoColor &&
                tables.layerColours.size() == 2 * static_cast<std::size_t>(tables.celCount)));
    for (const TableValue v : tables.values) FUZZ_CHECK(v <= 0xFF);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(source.width * source.height));
    for (int cel = 0; cel < tables.celCount; ++cel) {
        DecodeCel(tables, cel, source.width, source.height, {}, pixels.data());
        for (const std::uint8_t p : pixels) FUZZ_CHECK(p <= 15);
    }

    const Result<std::string> written = WriteTables(tables, read->format, WriterOptions{});
    FUZZ_CHECK(written.ok());
    TableSource again = source;
    again.format = read->format;
    again.offset.reset();
    again.cels = 0;
    const Result<TablesRead> back = ReadTables(*written, again, "fuzz.txt");
    FUZZ_CHECK(back.ok() && back->note.empty());
    FUZZ_CHECK(back->tables.values == tables.values);
    FUZZ_CHECK(back->tables.layerColours == tables.layerColours);
    return 0;
}
