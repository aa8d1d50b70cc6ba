#pragma once
// The keys of the small windows: the New dialog's three fields and the cel-size dialog's two (Enter
// and Esc close them; every other key is the field's), and the key help window (Esc or F1 closes
// it).

#include <span>

#include "keys/key_row.h"

enum class DialogCommand {
    kNothing,  // the key is left to the field or the text
    kAccept,   // the dialog closes with OK
    kCancel,   // the dialog closes with Cancel
    kClose,    // the help window closes and gives the keyboard back
};

using DialogKey = KeyRow<DialogCommand>;

std::span<const DialogKey> NewDialogKeyTable();
// The cel-size dialog of the picture import (key I).
std::span<const DialogKey> CelSizeDialogKeyTable();
std::span<const DialogKey> HelpWindowKeyTable();
