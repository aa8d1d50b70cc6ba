// The bytes of every table, nothing else: cel by cel, table by table.

#include <cstring>

#include "generator/writers.h"

Result<std::string> WriteBin(const GeneratedTables& tables, const WriterOptions&) {
    std::string bytes(tables.values.size(), '\0');
    // Plain pointers: a store of a char could change a vector's own pointers, as far as the
    // compiler knows, and would keep the loop from being done many bytes at a time.
    const TableValue* values = tables.values.data();
    char* out = bytes.data();
    std::size_t i = 0;
    // Sixteen at a time: the low bytes of two vectors of eight values.
    using Words = std::uint16_t __attribute__((vector_size(16)));
    using Bytes = std::uint8_t __attribute__((vector_size(16)));
    Words all{};
    for (; i + 16 <= bytes.size(); i += 16) {
        Words first;
        Words second;
        std::memcpy(&first, values + i, sizeof first);
        std::memcpy(&second, values + i + 8, sizeof second);
        all |= first | second;
        const Bytes low =
            __builtin_shufflevector(reinterpret_cast<Bytes>(first), reinterpret_cast<Bytes>(second),
                                    0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
        std::memcpy(out + i, &low, sizeof low);
    }
    unsigned rest = 0;
    for (; i < bytes.size(); ++i) {
        out[i] = static_cast<char>(values[i] & 0xFF);
        rest |= values[i];
    }
    for (int lane = 0; lane < 8; ++lane) rest |= all[lane];
    if (rest > 0xFF) return AllBytes(tables).error();
    return bytes;
}
