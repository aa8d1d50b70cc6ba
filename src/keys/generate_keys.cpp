#include "keys/generate_keys.h"

#include <array>

#include "keys/key_codes.h"

namespace {

constexpr auto kGenerateKeys = std::to_array<GenerateKey>({
    {'2', GenerateCommand::kToggleTwoLayers, "2", "two layers on or off (sprite tables)"},
    {'C', GenerateCommand::kToggleColourData, "C", "colour data on or off (sprite tables)"},
    {'O', GenerateCommand::kToggleComma, "O", "comma format on or off: #30,#05 or 3005"},
    {'T', GenerateCommand::kToggleType, "T", "table type: Sprite or Chr"},
    {'F', GenerateCommand::kNextFormat, "F",
     "output format: Hex, Assembler (db lines), C (arrays) or BASIC (DATA lines)"},
    {vk::kEscape, GenerateCommand::kClose, "Esc", "close the Generate window"},
});

}  // namespace

std::span<const GenerateKey> GenerateKeyTable() {
    return kGenerateKeys;
}

GenerateCommand FindGenerateCommand(int code, bool ctrl) {
    return ctrl ? GenerateCommand::kNothing : FindCommand(GenerateKeyTable(), code);
}
