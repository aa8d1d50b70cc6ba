#pragma once
// The editor's key bindings as data: two tables of (keys, modifiers, command) rows, searched in
// order. A key that appears in the first table is decided there whatever the modifiers; every
// other key goes to the second table. A help window can list the rows as they are.

#include <span>

enum class Command {
    kNothing,
    kClose,
    kHelp,
    kClearPixel,  // colour 0 at the cursor
    kPreviousCel,
    kNextCel,
    kMoveWindow,  // 8 screen pixels in the arrow's direction
    kScroll,      // wrap-around scroll in the arrow's direction
    kMoveCursor,  // one pixel; with Shift it also draws
    kGenerate,
    kNew,
    kOpen,
    kExportPng,  // the current cel at twice its size
    kImportPng,  // a PNG picture or sprite sheet as the document, cut into cels
    kRotate,
    kSave,      // asks for a path only for a document never saved
    kSaveAs,    // always asks for a path
    kUndo,      // Z: the snapshot of the last pixel-changing command, back in its own cel
    kUndoStep,  // U: one step back through the history
    kRedoStep,  // Y: one step forward again
    kCopyCel,
    kPasteCel,
    kAddCel,
    kDeleteCel,
    kEraseCel,
    kMirrorVertical,    // top row becomes bottom row
    kMirrorHorizontal,  // left column becomes right column
    kSetColour,         // the key's colour at the cursor
    kFloodFill,         // the key's colour from the cursor
    kCompanion,         // shows or hides the companion window
    kOnionSkin,         // the previous cel through colour 0, on or off
    kChipView,          // the cel as the chip shows it under the Generate window's options
    kZoomIn,            // the next larger zoom step
    kZoomOut,           // the next smaller zoom step
};

// What a command works on: the key help lists each group under a title of its own.
enum class CommandGroup {
    kDrawing,
    kCursor,
    kCels,
    kTransforms,
    kFiles,
    kWindow,
    kView,
    kGenerate
};
CommandGroup GroupOf(Command command);

// Whether a modifier must be held, must not be held, or plays no part.
enum class Held { kAny, kYes, kNo };

struct KeyBinding {
    int firstKey;  // virtual key codes firstKey..lastKey
    int lastKey;
    Held ctrl;
    Held shift;
    Held alt;
    Command command;
    const char* keys;  // for a help listing, e.g. "PageUp, J"
    const char* what;
};

std::span<const KeyBinding> FirstKeyTable();
std::span<const KeyBinding> SecondKeyTable();

// The row that decides a key press, or nullptr when the key does nothing.
const KeyBinding* FindKeyBinding(int code, bool shift, bool ctrl, bool alt);

// The name of the history step a command makes when it changes the document ("pixel", "fill",
// "add" ...); with shift for the arrows' stroke. nullptr for a command that never changes the
// document's bytes or cels, and for U and Y, which move through the history.
const char* StepNameOf(Command command, bool shift);

// The colour index of a colour key: 0..9 for the digits, 10..15 for A..F.
int ColourOfKey(int code);

// The step of an arrow key: (-1, 0) for Left, (0, 1) for Down; (0, 0) for every other key.
struct Step {
    int dx = 0;
    int dy = 0;
};
Step StepOfArrow(int code);
