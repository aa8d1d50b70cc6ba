#pragma once
// The bytes of a picture file from outside (pal.bmp, color.bmp, temp.bmp, a PNG to import): never
// waited for, refused unless it is a regular file, read no further than its format's largest size.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/result.h"

// The whole file, or kCannotOpen naming the file as shown gives it: "Cannot open ship.png: No such
// file or directory.", "Cannot read ship.png: it is a named pipe, not a regular file.", "Cannot
// read ship.png: it is longer than 33554432 bytes."
Result<std::vector<std::uint8_t>> ReadPictureBytes(const std::string& path,
                                                   const std::string& shown, std::size_t maxSize);
