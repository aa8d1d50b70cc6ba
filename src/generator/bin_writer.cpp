// The bytes of every table, nothing else: cel by cel, table by table.

#include "generator/writers.h"

std::string WriteBin(const GeneratedTables& tables) {
    std::string bytes(tables.values.size(), '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(tables.values[i] & 0xFF);
    }
    return bytes;
}
