#pragma once
// A row of a small window's key table: one key, its command and the words the key help shows.

#include <span>

template <typename Command>
struct KeyRow {
    int key;  // virtual key code
    Command command;
    const char* keys;  // for a help listing
    const char* what;
};

// The command of the first row for this key, or Command::kNothing when the table has none.
template <typename Command>
Command FindCommand(std::span<const KeyRow<Command>> table, int code) {
    for (const KeyRow<Command>& row : table) {
        if (row.key == code) return row.command;
    }
    return Command::kNothing;
}
