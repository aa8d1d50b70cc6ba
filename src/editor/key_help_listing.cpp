#include "editor/key_help_listing.h"

#include <algorithm>
#include <array>
#include <span>

#include "keys/companion_keys.h"
#include "keys/dialog_keys.h"
#include "keys/generate_keys.h"

namespace {

// The editor's command groups first, as the keys module numbers them, then the help's own.
constexpr int GroupNumber(CommandGroup group) {
    return static_cast<int>(group);
}
enum Group {
    kDrawing = GroupNumber(CommandGroup::kDrawing),
    kCursor = GroupNumber(CommandGroup::kCursor),
    kCels = GroupNumber(CommandGroup::kCels),
    kTransforms = GroupNumber(CommandGroup::kTransforms),
    kFiles = GroupNumber(CommandGroup::kFiles),
    kWindow = GroupNumber(CommandGroup::kWindow),
    kView = GroupNumber(CommandGroup::kView),
    kGenerate = GroupNumber(CommandGroup::kGenerate),
    kCompanion,
    kNewDialog,
    kCelSizeDialog,
    kHelpWindow,
    kModifiers,
};

constexpr auto kGroupTitles = std::to_array<const char*>(
    {"Drawing", "Cursor", "Cels", "Transforms", "Files", "Window", "View", "Generate window",
     "Companion window", "New dialog", "Cel size dialog (I)", "This window", "Modifier keys"});

Group HelpGroupOf(Command command) {
    return static_cast<Group>(GroupNumber(GroupOf(command)));
}

struct TextRow {
    Group group;
    const char* keys;
    const char* what;
};

// The mouse on the enlarged picture, the New dialog's keys, and the modifier rules in words.
constexpr auto kTextRows = std::to_array<TextRow>({
    {kDrawing, "left click", "move the cursor there and draw the current colour"},
    {kDrawing, "right click", "move the cursor there and draw colour 0, which becomes current"},
    {kDrawing, "drag with the left button", "draw the current colour"},
    {kDrawing, "drag with the right button", "draw colour 0"},
    {kCursor, "mouse move", "the cursor follows the pointer"},
    {kCompanion, "click on a swatch",
     "choose its colour without drawing; the keys stay with the editor"},
    {kCompanion, "click elsewhere", "the keys go to this window"},
    {kNewDialog, "W, H, Cel", "width and height 1 to 64, cels 1 to 100; Tab: the next field"},
    {kCelSizeDialog, "W, H", "cel width and height, 1 to 64; Tab: the next field"},
    {kModifiers, "Shift + colour key", "flood fill from the cursor with that colour"},
    {kModifiers, "Shift + arrow", "move the cursor and draw the colour that was under it"},
    {kModifiers, "Ctrl + arrow", "scroll the cel; what leaves one edge comes back at the other"},
    {kModifiers, "Alt + arrow", "move the editor window 8 pixels"},
    {kModifiers, "Ctrl + C, V, A, D, E",
     "cel commands; without Ctrl, A, C, D and E are colours 10, 12, 13, 14 and V mirrors"},
    {kModifiers, "Ctrl + any other key", "nothing; so Ctrl + a colour key draws nothing"},
    {kModifiers, "Alt", "makes no difference to the colour keys, H and V"},
    {kModifiers, "+ and -",
     "the main row's (= as +, with or without Shift) and the keypad's; Ctrl + them does nothing"},
    {kModifiers, "colour keys",
     "0 to 9 of the main keyboard row and A to F; keypad digits do nothing"},
    {kModifiers, "in the Generate window",
     "Ctrl + a key changes nothing; Shift and Alt make no difference"},
});

void AddBinding(std::vector<HelpSection>& sections, const KeyBinding& row) {
    if (row.command == Command::kNothing) return;
    std::vector<HelpLine>& lines = sections[HelpGroupOf(row.command)].lines;
    const QString what = QString::fromUtf8(row.what);
    // Rows that run the same command with the same text share a line: "PageUp, J".
    const auto same = std::find_if(lines.begin(), lines.end(), [&](const HelpLine& line) {
        return !line.bindings.empty() && line.bindings.front()->command == row.command &&
               line.what == what;
    });
    if (same != lines.end()) {
        same->keys += QStringLiteral(", ") + QString::fromUtf8(row.keys);
        same->bindings.push_back(&row);
        return;
    }
    lines.push_back({QString::fromUtf8(row.keys), what, {&row}});
}

// Rows of one command share a line: "Esc, F1".
void AddLine(HelpSection& section, const QString& keys, const QString& what) {
    for (HelpLine& line : section.lines) {
        if (line.what == what && line.bindings.empty()) {
            line.keys += QStringLiteral(", ") + keys;
            return;
        }
    }
    section.lines.push_back({keys, what, {}});
}

// A small window's key table, a line a command.
template <typename Command>
void AddRows(HelpSection& section, std::span<const KeyRow<Command>> table) {
    for (const KeyRow<Command>& row : table) {
        AddLine(section, QString::fromUtf8(row.keys), QString::fromUtf8(row.what));
    }
}

}  // namespace

std::vector<HelpSection> KeyHelpSections() {
    std::vector<HelpSection> sections;
    for (const char* title : kGroupTitles) sections.push_back({QString::fromUtf8(title), {}});
    for (const KeyBinding& row : FirstKeyTable()) AddBinding(sections, row);
    for (const KeyBinding& row : SecondKeyTable()) AddBinding(sections, row);
    AddRows(sections[kGenerate], GenerateKeyTable());
    AddRows(sections[kCompanion], CompanionKeyTable());
    AddRows(sections[kNewDialog], NewDialogKeyTable());
    AddRows(sections[kCelSizeDialog], CelSizeDialogKeyTable());
    AddRows(sections[kHelpWindow], HelpWindowKeyTable());
    for (const TextRow& row : kTextRows) {
        sections[row.group].lines.push_back(
            {QString::fromUtf8(row.keys), QString::fromUtf8(row.what), {}});
    }
    return sections;
}
