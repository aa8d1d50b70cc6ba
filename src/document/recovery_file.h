#pragma once
// The recovery copy of a modified document: its name and save path, then its .dat image, so that
// an editor that ended without saving can give the document back as it was. Text header, bytes as
// they are:
//   "spritehex recovery 1\n"
//   "name N\n" N bytes "\n"
//   "path N\n" N bytes "\n"
//   "dat N\n" N bytes          (the .dat image: header and every cel)

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "document/sprite_document.h"

// Longest document name and save path a copy holds (a longer path cannot be opened anyway).
inline constexpr std::size_t kMaxRecoveredText = 4096;
// Largest recovery copy: the header lines, both texts at their longest and the largest image.
inline constexpr std::size_t kMaxRecoveryCopySize =
    64 + 2 * (kMaxRecoveredText + 16) + static_cast<std::size_t>(kBufferCapacity);

struct RecoveredDocument {
    std::string name;
    std::string savePath;
    std::vector<std::uint8_t> image;  // a checked .dat image
};

// Writes the recovery copy of doc into out (capacity bytes, at least kMaxRecoveryCopySize) and
// returns its size, or 0 when a name or path is longer than kMaxRecoveredText. Allocates nothing.
std::size_t MakeRecoveryCopy(const TSpriteDocument& doc, std::uint8_t* out, std::size_t capacity);

// Reads a recovery copy. Returns the empty string on success, otherwise why the bytes are not one,
// e.g. "its image is not a sprite: its width 0 is outside 1 to 64".
std::string ReadRecoveryCopy(const std::uint8_t* bytes, std::size_t size, RecoveredDocument& out);
