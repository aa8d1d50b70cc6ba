// Which command each window's key table finds for a key and the modifiers held, in the virtual key
// codes the windows translate key presses into. That a key pressed on a window reaches the command
// is the window's own test.

#include <span>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "keys/companion_keys.h"
#include "keys/dialog_keys.h"
#include "keys/editor_keys.h"
#include "keys/generate_keys.h"
#include "keys/key_codes.h"

namespace {

constexpr int kPlain = 0;
constexpr int kShift = 1;
constexpr int kCtrl = 2;
constexpr int kAlt = 4;

struct EditorRow {
    const char* name;
    std::vector<int> codes;  // each of them under each set of modifiers
    std::vector<int> mods;
    Command command;
};

Command EditorCommand(int code, int mods) {
    const KeyBinding* row = FindKeyBinding(code, mods & kShift, mods & kCtrl, mods & kAlt);
    return row == nullptr ? Command::kNothing : row->command;
}

TEST(EditorKeys, FindTheCommandOfAKeyAndItsModifiers) {
    // clang-format off
    const EditorRow rows[] = {
        {"main-row digits set their colour", {'0', '9'}, {kPlain, kAlt}, Command::kSetColour},
        {"A to F without Ctrl are colours", {'A', 'C', 'D', 'E', 'F'}, {kPlain, kAlt},
         Command::kSetColour},
        {"Shift with a colour key flood-fills", {'0', '9', 'A', 'F'}, {kShift, kShift | kAlt},
         Command::kFloodFill},
        {"Ctrl with a digit does nothing", {'0', '5'}, {kCtrl, kCtrl | kShift}, Command::kNothing},
        {"keypad digits do nothing", {vk::kPad0, vk::kPad9}, {kPlain, kShift}, Command::kNothing},
        {"letters past F without a command", {'K', 'T'}, {kPlain}, Command::kNothing},
        {"X shows the chip view", {'X'}, {kPlain, kShift, kAlt}, Command::kChipView},
        {"Ctrl with a key of no command", {'H', 'B', 'F', 'I', 'W', 'U', 'Y'}, {kCtrl},
         Command::kNothing},
        {"U steps back through the history", {'U'}, {kPlain, kShift, kAlt}, Command::kUndoStep},
        {"Y steps forward again", {'Y'}, {kPlain, kShift | kAlt}, Command::kRedoStep},
        {"Ctrl+C copies the cel", {'C'}, {kCtrl, kCtrl | kShift}, Command::kCopyCel},
        {"Ctrl+A adds a cel", {'A'}, {kCtrl}, Command::kAddCel},
        {"Ctrl+E erases the cel", {'E'}, {kCtrl}, Command::kEraseCel},
        {"V mirrors left to right", {'V'}, {kPlain, kShift}, Command::kMirrorHorizontal},
        {"H mirrors top to bottom", {'H'}, {kPlain, kShift}, Command::kMirrorVertical},
        {"I imports", {'I'}, {kPlain, kShift, kAlt}, Command::kImportPng},
        {"+ zooms in, with Shift as on many layouts", {vk::kPlus}, {kPlain, kShift, kAlt},
         Command::kZoomIn},
        {"- zooms out", {vk::kMinus}, {kPlain, kShift}, Command::kZoomOut},
        {"Ctrl with + or - does nothing", {vk::kPlus, vk::kMinus}, {kCtrl}, Command::kNothing},
        // The first table's keys take any modifier, but for the rows that ask for one.
        {"P exports", {'P'}, {kPlain, kCtrl, kShift | kAlt}, Command::kExportPng},
        {"Space clears the pixel", {vk::kSpace}, {kPlain, kCtrl}, Command::kClearPixel},
        {"Z undoes", {'Z'}, {kPlain, kCtrl}, Command::kUndo},
        {"M and PageDown step on", {'M', vk::kPageDown}, {kCtrl, kAlt}, Command::kNextCel},
        {"Esc and Q close", {vk::kEscape, 'Q'}, {kPlain, kShift}, Command::kClose},
        {"O and F3 open", {'O', vk::kF3}, {kPlain}, Command::kOpen},
        {"S and F2 save", {'S', vk::kF2}, {kPlain, kShift}, Command::kSave},
        {"Ctrl+S and Ctrl+F2 save under a new name", {'S', vk::kF2}, {kCtrl}, Command::kSaveAs},
        {"F4 saves under a new name, with Ctrl too", {vk::kF4}, {kPlain, kCtrl}, Command::kSaveAs},
        {"F1 is the help", {vk::kF1}, {kShift, kCtrl, kAlt}, Command::kHelp},
        {"arrows move the cursor", {vk::kLeft, vk::kDown}, {kPlain, kShift}, Command::kMoveCursor},
        {"Ctrl+arrows scroll", {vk::kLeft, vk::kUp}, {kCtrl, kCtrl | kShift}, Command::kScroll},
        {"Alt+arrows move the window", {vk::kUp, vk::kDown}, {kAlt, kAlt | kCtrl, kAlt | kShift},
         Command::kMoveWindow},
    };
    // clang-format on
    for (const auto& row : rows) {
        for (const int code : row.codes) {
            for (const int mods : row.mods) {
                EXPECT_EQ(EditorCommand(code, mods), row.command)
                    << row.name << ", code " << code << ", modifiers " << mods;
            }
        }
    }
}

// A key of the first table never falls through to the second: some row of the first table
// decides it under every combination of Shift, Ctrl and Alt.
TEST(EditorKeys, FirstTableKeysAreDecidedThereWhateverTheModifiers) {
    const std::span<const KeyBinding> first = FirstKeyTable();
    for (const KeyBinding& row : first) {
        for (int key = row.firstKey; key <= row.lastKey; ++key) {
            for (int mods = 0; mods < 8; ++mods) {
                const KeyBinding* found =
                    FindKeyBinding(key, mods & kShift, mods & kCtrl, mods & kAlt);
                EXPECT_TRUE(found != nullptr && found >= first.data() &&
                            found < first.data() + first.size())
                    << row.keys << " with modifiers " << mods;
            }
        }
    }
}

TEST(EditorKeys, ColourKeysNameTheirColour) {
    const std::pair<int, int> rows[] = {{'0', 0}, {'9', 9}, {'A', 10}, {'C', 12}, {'F', 15}};
    for (const auto& [code, colour] : rows) EXPECT_EQ(ColourOfKey(code), colour) << code;
}

// The Generate window and the companion pass Ctrl alone: Shift and Alt play no part there.
TEST(GenerateKeys, FindTheCommandOfAKey) {
    const struct {
        const char* name;
        std::vector<int> codes;
        GenerateCommand command;
    } rows[] = {
        {"2 of the main row", {'2'}, GenerateCommand::kToggleTwoLayers},
        {"C", {'C'}, GenerateCommand::kToggleColourData},
        {"O", {'O'}, GenerateCommand::kToggleComma},
        {"T", {'T'}, GenerateCommand::kToggleType},
        {"P", {'P'}, GenerateCommand::kNextPieces},
        {"Esc", {vk::kEscape}, GenerateCommand::kClose},
        {"the keypad's 2", {vk::kPad0 + 2}, GenerateCommand::kNothing},
        {"other keys", {'G', 'A', 'X', '1', vk::kLeft}, GenerateCommand::kNothing},
    };
    for (const auto& row : rows) {
        for (const int code : row.codes) {
            EXPECT_EQ(FindGenerateCommand(code, false), row.command) << row.name << ", " << code;
        }
    }
}

// With Ctrl held no key of these windows acts: Ctrl+C is the Generate window's text box's.
TEST(GenerateAndCompanionKeys, NoKeyActsWithCtrl) {
    for (const GenerateKey& row : GenerateKeyTable()) {
        EXPECT_EQ(FindGenerateCommand(row.key, true), GenerateCommand::kNothing) << row.keys;
    }
    for (const CompanionKey& row : CompanionKeyTable()) {
        EXPECT_EQ(FindCompanionCommand(row.key, true), CompanionCommand::kNothing) << row.keys;
    }
}

// Keys the small windows' tables do not name are left to the field or the text.
TEST(DialogKeys, FindTheCommandOfAKey) {
    const struct {
        const char* name;
        std::span<const DialogKey> table;
        int code;
        DialogCommand command;
    } rows[] = {
        {"New: a digit is the field's", NewDialogKeyTable(), '5', DialogCommand::kNothing},
        {"New: F1 is the field's", NewDialogKeyTable(), vk::kF1, DialogCommand::kNothing},
        {"cel size: a digit is the field's", CelSizeDialogKeyTable(), '5', DialogCommand::kNothing},
        {"help: Enter is the text's", HelpWindowKeyTable(), vk::kEnter, DialogCommand::kNothing},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FindCommand(row.table, row.code), row.command) << row.name;
}

}  // namespace
