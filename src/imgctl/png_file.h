#pragma once
// PNG pictures: a picture encoded as PNG bytes, and written as a PNG file through the programs'
// one file writer (a full disk, a pipe or a device never passes for success).

#include <cstdint>
#include <string>
#include <vector>

#include "document/file_writer.h"
#include "image/rgb_image.h"

// The PNG file image of the picture, 8 bits per colour channel, no alpha, with zlib compression
// level 0 (none) to 9 (smallest). Empty when it cannot be encoded.
std::vector<std::uint8_t> EncodePng(const RgbImage& image, int compression);

// Writes the picture as a PNG file at path. Messages name the file as shown gives it.
Result<> WritePngFile(const RgbImage& image, const std::string& path, std::string_view shown,
                      int compression, const WriteOptions& options = {});
