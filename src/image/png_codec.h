#pragma once
// PNG pictures through libpng, without a toolkit: the writer of the exported picture, and a
// reader for pictures from outside that learns the size from the header before it decodes
// anything and keeps the palette of indexed pictures.
//
// Read: grey, grey with alpha, RGB, RGBA and indexed pictures at every bit depth they allow (1,
// 2, 4, 8, 16), interlaced or not, with tRNS transparency. 16-bit samples become 8-bit ones
// rounded to the nearest (v * 255 / 65535); grey of 1, 2 or 4 bits is stretched over 0..255.
// Gamma, colour profiles, text and every other ancillary chunk are skipped (their CRC is still
// checked): the colours are the stored ones. The file must run to its IEND chunk.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/file_writer.h"
#include "base/result.h"
#include "image/rgb_image.h"

// The largest PNG file read (bytes).
inline constexpr std::size_t kMaxPngFileSize = std::size_t{32} << 20;

// The largest picture a reader takes: each side at most maxSide pixels, and at most maxPixels
// pixels in all. A larger one is refused from its header alone.
struct PngLimits {
    int maxSide = 0;
    std::int64_t maxPixels = 0;
};

enum class PngColourType { kGrey, kRgb, kIndexed, kGreyAlpha, kRgbAlpha };

// What the header chunk (IHDR) says.
struct PngHeader {
    int width = 0;
    int height = 0;
    int bitDepth = 0;  // bits a sample (an index, for indexed pictures)
    PngColourType colourType = PngColourType::kRgb;
    bool interlaced = false;
};

// A decoded picture; colours are 0xAARRGGBB.
struct PngPicture {
    int width = 0;
    int height = 0;
    // An indexed picture keeps its palette as stored (1 to 256 entries, alpha from tRNS, 0xFF for
    // entries tRNS does not cover) and one palette index a pixel, row by row from the top; every
    // index is below palette.size(). Other pictures leave both empty.
    bool indexed = false;
    std::vector<std::uint32_t> palette;
    std::vector<std::uint8_t> indices;
    // Every picture: the colour of each pixel, row by row from the top (for an indexed picture,
    // its palette entry).
    std::vector<std::uint32_t> pixels;
    // What libpng warned about without refusing the file, naming it: "ship.png: tEXt: CRC error".
    std::vector<std::string> warnings;

    bool IsNull() const { return pixels.empty(); }
};

// Failures are kNotUsable and name the file as shown gives it: "ship.png is empty.", "ship.png is
// not a PNG picture.", "ship.png is cut short.", "ship.png is 30000 × 30000 pixels: wider than
// 6400 pixels.", "ship.png is a damaged PNG picture (IDAT: CRC error)."

// The header of a PNG file image, read from the signature and the header chunk alone.
Result<PngHeader> ReadPngHeader(std::span<const std::uint8_t> bytes, const std::string& shown);

// The picture of a PNG file image. A picture beyond the limits is refused once its header has
// been read, before anything is allocated for it.
Result<PngPicture> DecodePng(std::span<const std::uint8_t> bytes, const std::string& shown,
                             const PngLimits& limits);

// The picture of the PNG file at path: the failures of DecodePng, or those of ReadPictureBytes
// (kCannotOpen). A named pipe or a device is never waited for.
Result<PngPicture> ReadPngFile(const std::string& path, const std::string& shown,
                               const PngLimits& limits);

// The zlib compression level of the PNG export: the smallest file.
inline constexpr int kExportPngLevel = 9;

// The PNG file image of the picture: 8 bits per colour channel, no alpha, rows unfiltered, zlib
// level 0 (none) to 9 (smallest), no chunk but the header, the pixels and the end. Empty when the
// picture is null or the level is outside 0 to 9.
std::vector<std::uint8_t> EncodePng(const RgbImage& image, int compression);

// Writes the picture as a PNG file through the one file writer; messages name the file as shown
// gives it.
Result<> WritePngFile(const RgbImage& image, const std::string& path, std::string_view shown,
                      int compression, const WriteOptions& options = {});
