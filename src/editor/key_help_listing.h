#pragma once
// What F1 lists: every key and mouse command of the editor, of the Generate window, the companion
// window, the New dialog, the import's cel-size dialog and the help window itself, grouped by what
// they do, with the modifier rules in plain words. The key lines are read from the tables the key
// handlers dispatch on (src/keys/), so a binding added there shows up here by itself.

#include <vector>

#include <QString>

#include "keys/editor_keys.h"

struct HelpLine {
    QString keys;  // "PageUp, J"
    QString what;  // "previous cel"
    // The rows of the editor's key tables this line lists; empty for the mouse, the other windows
    // and the modifier rules.
    std::vector<const KeyBinding*> bindings;
};

struct HelpSection {
    QString title;
    std::vector<HelpLine> lines;
};

// The listing, in this order: Drawing, Cursor, Cels, Transforms, Files, Window, View, Generate
// window, Companion window, New dialog, Cel size dialog (I), This window, Modifier keys. Rows of
// the key tables that run the same command with the same text share a line.
std::vector<HelpSection> KeyHelpSections();

// The listing as rich text, in two columns.
QString KeyHelpHtml(const std::vector<HelpSection>& sections);
