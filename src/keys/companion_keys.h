#pragma once
// The keys of the editor's companion window (animation, palette and state): play or pause, the
// speed, the range of cels played, loop or back-and-forth, and hiding it. With Ctrl held no key
// acts; Shift and Alt play no part (+ needs Shift on many layouts).

#include <span>

#include "keys/key_row.h"

enum class CompanionCommand {
    kNothing,
    kPlayPause,
    kFaster,        // one frame per second more, up to 60
    kSlower,        // one frame per second less, down to 1
    kFirstHere,     // the range's first cel becomes the editor's current cel
    kLastHere,      // the range's last cel becomes the editor's current cel
    kBackAndForth,  // loop or back-and-forth
    kHide,          // hides the window and gives the keyboard back to the editor
};

using CompanionKey = KeyRow<CompanionCommand>;

std::span<const CompanionKey> CompanionKeyTable();

// The command of a key pressed in the companion window.
CompanionCommand FindCompanionCommand(int code, bool ctrl);
