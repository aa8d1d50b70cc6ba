#pragma once
// What the editor's small frameless dialogs share (the New dialog and the import's cel-size
// dialog): a 12-pixel font, one-line fields of 49 x 21 pixels with a label to the left of each,
// a place in the middle of the screen, and Enter and Esc from the dialog's key table.

#include <span>

#include "keys/dialog_keys.h"

class QDialog;
class QLineEdit;
class QWidget;

// The dialog's font: the system's, 12 pixels high.
void UseDialogFont(QWidget& dialog);

QLineEdit* MakeDialogField(QWidget* parent, const char* name, int left, int top, const char* text);

// A label whose "&" marks the key that moves to its field; as wide as its text needs when that is
// wider than given.
void MakeDialogLabel(QWidget* parent, const char* text, int left, int top, int width,
                     QLineEdit* buddy);

void CentreOnScreen(QWidget& dialog);

// Closes the dialog with OK or Cancel when the key table says so; false for every other key,
// which is left to the field.
bool CloseByKey(QDialog& dialog, std::span<const DialogKey> table, int code);
