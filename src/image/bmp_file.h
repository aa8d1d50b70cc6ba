#pragma once
// Windows BMP pictures: our own strict reader and a plain writer. The reader takes the file's
// own header at its word only as far as the file backs it: the pixel data must start inside the
// file and every row it announces must be there; a picture whose header announces more pixels
// than kMaxBmpPixels is refused from the header alone.
//
// Read: 1, 4 and 8 bits per pixel with a colour table (also run-length coded, 8 and 4 bits), 16
// and 32 bits (5-5-5 or colour masks), 24 bits; core, info and V4/V5 headers; rows from the
// bottom or from the top. Alpha is ignored: every colour is opaque. Written: 24 bits per pixel,
// rows from the bottom.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/file_writer.h"
#include "image/rgb_image.h"

// The largest BMP file read (bytes) and picture (pixels).
inline constexpr std::size_t kMaxBmpFileSize = std::size_t{32} << 20;
inline constexpr std::int64_t kMaxBmpPixels = std::int64_t{1} << 22;

// The picture of a BMP file image, or a null picture and the reason, e.g. "its pixel data ends
// past the end of the file".
RgbImage DecodeBmp(std::span<const std::uint8_t> bytes, std::string& reason);

// A 24-bit BMP file image of the picture.
std::vector<std::uint8_t> EncodeBmp(const RgbImage& image);

// The picture of the BMP file at path, or why not, naming the file as shown gives it: "Cannot open
// /x/pal.bmp: No such file or directory." (kCannotOpen), "Cannot read …: it is a named pipe, not a
// regular file." (kCannotOpen), "Cannot load …: it is not a valid BMP picture (…)." (kNotUsable).
// A named pipe or a device is never waited for.
Result<RgbImage> ReadBmpFile(const std::string& path, const std::string& shown);

// Writes the picture as a 24-bit BMP file through the one file writer.
Result<> WriteBmpFile(const RgbImage& image, const std::string& path, std::string_view shown,
                      const WriteOptions& options = {});
