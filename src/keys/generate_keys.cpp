#include "keys/generate_keys.h"

#include <string>
#include <vector>

#include "base/one_of.h"
#include "generator/table_kinds.h"
#include "generator/writers.h"
#include "keys/key_codes.h"

namespace {

// The titles of a table of choices, "a, b or c", as the window shows them.
template <typename Rows>
std::string Titles(const Rows& rows) {
    std::vector<std::string> titles;
    for (const auto& row : rows) titles.emplace_back(row.title);
    return OneOf(titles);
}

// The help of T, F, P and L names the types, formats, piece sizes and layers of the window as
// their tables have them.
const std::string& TypeHelp() {
    static const std::string help = "table type: " + Titles(kTableTypes);
    return help;
}

const std::string& FormatHelp() {
    static const std::string help = [] {
        std::vector<std::string> titles;
        for (const FormatRow& format : kFormats) {
            if (format.title.empty()) continue;
            std::string title(format.title);
            if (!format.note.empty()) title += " (" + std::string(format.note) + ")";
            titles.push_back(title);
        }
        return "output format: " + OneOf(titles);
    }();
    return help;
}

const std::string& PiecesHelp() {
    static const std::string help =
        "sprite sets, pieces " + Titles(kPieceSizes) + " (sprite tables)";
    return help;
}

const std::string& LayersHelp() {
    static const std::string help = "sprite layers " + Titles(kLayerChoices) + " (sprite tables)";
    return help;
}

}  // namespace

std::span<const GenerateKey> GenerateKeyTable() {
    static const std::vector<GenerateKey> keys = {
        {'2', GenerateCommand::kToggleTwoLayers, "2", "two layers on or off (sprite tables)"},
        {'C', GenerateCommand::kToggleColourData, "C", "colour data on or off (sprite tables)"},
        {'O', GenerateCommand::kToggleComma, "O", "comma format on or off: #30,#05 or 3005"},
        {'T', GenerateCommand::kToggleType, "T", TypeHelp().c_str()},
        {'F', GenerateCommand::kNextFormat, "F", FormatHelp().c_str()},
        {'P', GenerateCommand::kNextPieces, "P", PiecesHelp().c_str()},
        {'L', GenerateCommand::kNextLayers, "L", LayersHelp().c_str()},
        {vk::kEscape, GenerateCommand::kClose, "Esc", "close the Generate window"},
    };
    return keys;
}

GenerateCommand FindGenerateCommand(int code, bool ctrl) {
    return ctrl ? GenerateCommand::kNothing : FindCommand(GenerateKeyTable(), code);
}
