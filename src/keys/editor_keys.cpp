#include "keys/editor_keys.h"

#include <array>

#include "keys/key_codes.h"

namespace {

constexpr Held Y = Held::kYes;
constexpr Held N = Held::kNo;
constexpr Held A = Held::kAny;

// Keys that act whatever the modifiers, except where a row says otherwise.
constexpr std::array kFirst = std::to_array<KeyBinding>({
    {vk::kEscape, vk::kEscape, A, A, A, Command::kClose, "Esc", "close the editor"},
    {'Q', 'Q', A, A, A, Command::kClose, "Q", "close the editor"},
    {vk::kSpace, vk::kSpace, A, A, A, Command::kClearPixel, "Space", "colour 0 at the cursor"},
    {vk::kPageUp, vk::kPageUp, A, A, A, Command::kPreviousCel, "PageUp", "previous cel"},
    {'J', 'J', A, A, A, Command::kPreviousCel, "J", "previous cel"},
    {vk::kPageDown, vk::kPageDown, A, A, A, Command::kNextCel, "PageDown", "next cel"},
    {'M', 'M', A, A, A, Command::kNextCel, "M", "next cel"},
    {vk::kLeft, vk::kDown, A, A, Y, Command::kMoveWindow, "Alt+arrows", "move the window"},
    {vk::kLeft, vk::kDown, Y, A, N, Command::kScroll, "Ctrl+arrows", "scroll with wrap-around"},
    {vk::kLeft, vk::kDown, N, A, N, Command::kMoveCursor, "arrows",
     "move the cursor; with Shift draw the colour under it"},
    {'G', 'G', A, A, A, Command::kGenerate, "G", "generate data tables"},
    {'N', 'N', A, A, A, Command::kNew, "N", "new document"},
    {'O', 'O', A, A, A, Command::kOpen, "O", "open a document"},
    {vk::kF3, vk::kF3, A, A, A, Command::kOpen, "F3", "open a document"},
    {'P', 'P', A, A, A, Command::kExportPng, "P", "export the cel as a PNG picture"},
    {'R', 'R', A, A, A, Command::kRotate, "R", "rotate a quarter turn"},
    {'S', 'S', N, A, A, Command::kSave, "S", "save"},
    {vk::kF2, vk::kF2, N, A, A, Command::kSave, "F2", "save"},
    {'S', 'S', Y, A, A, Command::kSaveAs, "Ctrl+S", "save under a new name"},
    {vk::kF2, vk::kF2, Y, A, A, Command::kSaveAs, "Ctrl+F2", "save under a new name"},
    {vk::kF4, vk::kF4, A, A, A, Command::kSaveAs, "F4", "save under a new name"},
    {'Z', 'Z', A, A, A, Command::kUndo, "Z", "undo the last change, back in its own cel"},
    {vk::kF1, vk::kF1, A, A, A, Command::kHelp, "F1", "this list of keys"},
});

// Every other key, in this order. Alt plays no part here.
constexpr std::array kSecond = std::to_array<KeyBinding>({
    {'C', 'C', Y, A, A, Command::kCopyCel, "Ctrl+C", "copy the cel"},
    {'V', 'V', Y, A, A, Command::kPasteCel, "Ctrl+V", "paste the cel"},
    {'A', 'A', Y, A, A, Command::kAddCel, "Ctrl+A", "add a cel"},
    {'D', 'D', Y, A, A, Command::kDeleteCel, "Ctrl+D", "delete the cel"},
    {'E', 'E', Y, A, A, Command::kEraseCel, "Ctrl+E", "erase the cel"},
    {0, 255, Y, A, A, Command::kNothing, "Ctrl+other keys", "nothing"},
    {'H', 'H', N, A, A, Command::kMirrorVertical, "H", "mirror top to bottom"},
    {'V', 'V', N, A, A, Command::kMirrorHorizontal, "V", "mirror left to right"},
    {'U', 'U', N, A, A, Command::kUndoStep, "U",
     "undo one step of history: a pixel, a stroke, a fill, a cel command ..."},
    {'Y', 'Y', N, A, A, Command::kRedoStep, "Y", "redo the step U undid last"},
    {'I', 'I', N, A, A, Command::kImportPng, "I", "import a PNG picture or sprite sheet"},
    {vk::k0, vk::k9, N, N, A, Command::kSetColour, "0-9", "colour 0 to 9 at the cursor"},
    {vk::k0, vk::k9, N, Y, A, Command::kFloodFill, "Shift+0-9", "flood fill with 0 to 9"},
    {'A', 'F', N, N, A, Command::kSetColour, "A-F", "colour 10 to 15 at the cursor"},
    {'A', 'F', N, Y, A, Command::kFloodFill, "Shift+A-F", "flood fill with 10 to 15"},
    {'W', 'W', N, A, A, Command::kCompanion, "W",
     "show or hide the companion window: animation, palette, state"},
    {'L', 'L', N, A, A, Command::kOnionSkin, "L", "onion skin: the previous cel through colour 0"},
    {'X', 'X', N, A, A, Command::kChipView, "X",
     "the cel as the chip shows it, rows it cannot show marked red; again: as drawn"},
    {vk::kPlus, vk::kPlus, N, A, A, Command::kZoomIn, "+", "zoom in: 4, 6, 8, 12, 16, 24, 32"},
    {vk::kMinus, vk::kMinus, N, A, A, Command::kZoomOut, "-", "zoom out"},
});

bool Matches(Held rule, bool held) {
    return rule == Held::kAny || (rule == Held::kYes) == held;
}

bool HasKey(const KeyBinding& row, int code) {
    return code >= row.firstKey && code <= row.lastKey;
}

}  // namespace

std::span<const KeyBinding> FirstKeyTable() {
    return kFirst;
}
std::span<const KeyBinding> SecondKeyTable() {
    return kSecond;
}

const KeyBinding* FindKeyBinding(int code, bool shift, bool ctrl, bool alt) {
    bool inFirst = false;
    for (const KeyBinding& row : kFirst) {
        if (!HasKey(row, code)) continue;
        inFirst = true;
        if (Matches(row.ctrl, ctrl) && Matches(row.shift, shift) && Matches(row.alt, alt)) {
            return &row;
        }
    }
    if (inFirst) return nullptr;
    for (const KeyBinding& row : kSecond) {
        if (!HasKey(row, code)) continue;
        if (Matches(row.ctrl, ctrl) && Matches(row.shift, shift) && Matches(row.alt, alt)) {
            return row.command == Command::kNothing ? nullptr : &row;
        }
    }
    return nullptr;
}

CommandGroup GroupOf(Command command) {
    switch (command) {
        case Command::kClearPixel:
        case Command::kSetColour:
        case Command::kFloodFill:
        case Command::kUndo:
        case Command::kUndoStep:
        case Command::kRedoStep:
            return CommandGroup::kDrawing;
        case Command::kMoveCursor:
            return CommandGroup::kCursor;
        case Command::kPreviousCel:
        case Command::kNextCel:
        case Command::kCopyCel:
        case Command::kPasteCel:
        case Command::kAddCel:
        case Command::kDeleteCel:
        case Command::kEraseCel:
            return CommandGroup::kCels;
        case Command::kScroll:
        case Command::kMirrorVertical:
        case Command::kMirrorHorizontal:
        case Command::kRotate:
            return CommandGroup::kTransforms;
        case Command::kClose:
        case Command::kMoveWindow:
        case Command::kHelp:
            return CommandGroup::kWindow;
        case Command::kCompanion:
        case Command::kOnionSkin:
        case Command::kChipView:
        case Command::kZoomIn:
        case Command::kZoomOut:
            return CommandGroup::kView;
        case Command::kGenerate:
            return CommandGroup::kGenerate;
        case Command::kNew:
        case Command::kOpen:
        case Command::kSave:
        case Command::kSaveAs:
        case Command::kExportPng:
        case Command::kImportPng:
        case Command::kNothing:
            return CommandGroup::kFiles;
    }
    return CommandGroup::kFiles;  // not reached: -Wswitch keeps every command named above
}

Step StepOfArrow(int code) {
    switch (code) {
        case vk::kLeft:
            return {-1, 0};
        case vk::kRight:
            return {1, 0};
        case vk::kUp:
            return {0, -1};
        case vk::kDown:
            return {0, 1};
        default:
            return {};
    }
}

int ColourOfKey(int code) {
    return code <= vk::k9 ? code - vk::k0 : code - ('A' - 10);
}

const char* StepNameOf(Command command, bool shift) {
    switch (command) {
        case Command::kClearPixel:
        case Command::kSetColour:
            return "pixel";
        case Command::kMoveCursor:
            return shift ? "stroke" : nullptr;
        case Command::kFloodFill:
            return "fill";
        case Command::kUndo:
            return "Z";
        case Command::kPasteCel:
            return "paste";
        case Command::kAddCel:
            return "add";
        case Command::kDeleteCel:
            return "delete";
        case Command::kEraseCel:
            return "erase";
        case Command::kScroll:
            return "scroll";
        case Command::kMirrorVertical:
        case Command::kMirrorHorizontal:
            return "mirror";
        case Command::kRotate:
            return "rotate";
        case Command::kNothing:
        case Command::kClose:
        case Command::kHelp:
        case Command::kPreviousCel:
        case Command::kNextCel:
        case Command::kMoveWindow:
        case Command::kGenerate:
        case Command::kNew:
        case Command::kOpen:
        case Command::kExportPng:
        case Command::kImportPng:
        case Command::kSave:
        case Command::kSaveAs:
        case Command::kUndoStep:
        case Command::kRedoStep:
        case Command::kCopyCel:
        case Command::kCompanion:
        case Command::kOnionSkin:
        case Command::kChipView:
        case Command::kZoomIn:
        case Command::kZoomOut:
            break;
    }
    return nullptr;
}
