#include "keys/companion_keys.h"

#include <array>

#include "keys/key_codes.h"

namespace {

constexpr auto kCompanionKeys = std::to_array<CompanionKey>({
    {vk::kSpace, CompanionCommand::kPlayPause, "Space", "play or pause the animation"},
    {vk::kPlus, CompanionCommand::kFaster, "+", "one frame per second faster (up to 60)"},
    {vk::kMinus, CompanionCommand::kSlower, "-", "one frame per second slower (down to 1)"},
    {vk::kBracketLeft, CompanionCommand::kFirstHere, "[",
     "the animation starts at the current cel"},
    {vk::kBracketRight, CompanionCommand::kLastHere, "]", "the animation ends at the current cel"},
    {'B', CompanionCommand::kBackAndForth, "B", "loop or back and forth"},
    {vk::kEscape, CompanionCommand::kHide, "Esc", "hide this window; the keys go to the editor"},
    {'W', CompanionCommand::kHide, "W", "hide this window; the keys go to the editor"},
});

}  // namespace

std::span<const CompanionKey> CompanionKeyTable() {
    return kCompanionKeys;
}

CompanionCommand FindCompanionCommand(int code, bool ctrl) {
    return ctrl ? CompanionCommand::kNothing : FindCommand(CompanionKeyTable(), code);
}
