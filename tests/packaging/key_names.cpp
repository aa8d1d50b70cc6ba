// Prints every key of every window's key table, one a line: the window, as the subsections of
// spritehex(1) that list its keys begin, a tab, and the key as the table names it ("Ctrl+S",
// "PageUp"). The man page test reads it, so a key added to a table must be added to the page too.
#include <cstdio>
#include <span>

#include "keys/companion_keys.h"
#include "keys/dialog_keys.h"
#include "keys/editor_keys.h"
#include "keys/generate_keys.h"

namespace {

template <typename Command>
void PrintKeys(const char* window, std::span<const KeyRow<Command>> table) {
    for (const KeyRow<Command>& row : table) std::printf("%s\t%s\n", window, row.keys);
}

}  // namespace

int main() {
    for (const std::span<const KeyBinding> table : {FirstKeyTable(), SecondKeyTable()}) {
        for (const KeyBinding& row : table) {
            // A row of Command::kNothing names keys that do nothing.
            if (row.command != Command::kNothing) std::printf("Editor\t%s\n", row.keys);
        }
    }
    PrintKeys("Generate window", GenerateKeyTable());
    PrintKeys("Companion window", CompanionKeyTable());
    PrintKeys("New dialog", NewDialogKeyTable());
    PrintKeys("Cel-size dialog", CelSizeDialogKeyTable());
    PrintKeys("Key help window", HelpWindowKeyTable());
    return 0;
}
