#include "keys/dialog_keys.h"

#include <array>

#include "keys/key_codes.h"

namespace {

constexpr auto kNewDialog = std::to_array<DialogKey>({
    {vk::kEnter, DialogCommand::kAccept, "Enter", "make the new document"},
    {vk::kEscape, DialogCommand::kCancel, "Esc", "cancel"},
});

constexpr auto kCelSizeDialog = std::to_array<DialogKey>({
    {vk::kEnter, DialogCommand::kAccept, "Enter", "import the picture in cels of this size"},
    {vk::kEscape, DialogCommand::kCancel, "Esc", "cancel"},
});

constexpr auto kHelpWindow = std::to_array<DialogKey>({
    {vk::kEscape, DialogCommand::kClose, "Esc", "close this window"},
    {vk::kF1, DialogCommand::kClose, "F1", "close this window"},
});

}  // namespace

std::span<const DialogKey> NewDialogKeyTable() {
    return kNewDialog;
}

std::span<const DialogKey> CelSizeDialogKeyTable() {
    return kCelSizeDialog;
}

std::span<const DialogKey> HelpWindowKeyTable() {
    return kHelpWindow;
}
