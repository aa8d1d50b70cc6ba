#pragma once
// The keys of the two small windows: the New dialog's three fields (Enter and Esc close it; every
// other key is the field's) and the key help window (Esc or F1 closes it).

#include <span>

enum class DialogCommand {
    kNothing,  // the key is left to the field or the text
    kAccept,   // the New dialog closes with OK
    kCancel,   // the New dialog closes with Cancel
    kClose,    // the help window closes and gives the keyboard back
};

struct DialogKey {
    int key;  // virtual key code
    DialogCommand command;
    const char* keys;  // for a help listing
    const char* what;
};

std::span<const DialogKey> NewDialogKeyTable();
std::span<const DialogKey> HelpWindowKeyTable();

// The command of a key pressed in a window with this table; kNothing when the table has no row.
DialogCommand FindDialogCommand(std::span<const DialogKey> table, int code);
