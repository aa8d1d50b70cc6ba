#pragma once
// The small image library behind the PNG export: a bitmap is loaded into the library, prepared,
// written as a PNG file and released, through four calls on a numeric handle. The handle is all
// the caller ever sees of the image.

#include <cstddef>
#include <cstdint>

#include "base/file_writer.h"
#include "image/png_codec.h"

using ImgHandle = std::uint32_t;

// Options for ImgSavePng, 36 bytes as the library expects them.
struct PngOptions {
    std::uint32_t flags;         // bit 0 always set; bit 3: the filter field below is given
    std::uint16_t compression;   // zlib level 0 to 9
    std::uint8_t reserved1[10];  // not read
    std::uint32_t filter;        // PNG row filter, 0 = none; read only with flag bit 3
    std::uint8_t reserved2[8];   // not read
    std::uint32_t textChunks;    // must be 0: no text chunks
    std::uint32_t gammaChunk;    // must be 0: no gamma chunk
};
static_assert(sizeof(PngOptions) == 36, "the options record is 36 bytes");
static_assert(offsetof(PngOptions, compression) == 4);
static_assert(offsetof(PngOptions, filter) == 16);
static_assert(offsetof(PngOptions, textChunks) == 28);
static_assert(offsetof(PngOptions, gammaChunk) == 32);

inline constexpr std::uint32_t kPngFlagBase = 1;
// The compression level the export asks for: the smallest file.
inline constexpr std::uint16_t kPngCompressionLevel = kExportPngLevel;
inline constexpr std::uint32_t kPngFlagFilter = 8;
// ImgPrepare's mode: 8 bits per channel, colours only (no alpha).
inline constexpr std::uint32_t kPrepareRgb8 = 0x10100;

// Fills the options for writing the image behind handle to outputName. With withFilter the record
// also names the row filter (0); without it bit 3 stays clear and the filter field is not set.
void FillPngOptions(PngOptions& options, ImgHandle handle, const char* outputName, bool withFilter);

// Loads the BMP file at path. Returns a nonzero handle, or 0 when it cannot be read.
ImgHandle ImgLoadBmp(const char* path);
// Prepares the image for writing (mode kPrepareRgb8, reserved 0). Returns 1, or 0 on failure.
int ImgPrepare(ImgHandle handle, std::uint32_t mode, std::uint32_t reserved);
// Writes the image as a PNG file through the programs' file writer, taking the name as the bytes
// it is. Returns 1 when every byte was written, 0 otherwise.
int ImgSavePng(const char* outputName, ImgHandle handle, const PngOptions* options);
// Releases the handle and the image behind it.
void ImgRelease(ImgHandle handle);

// Why the last ImgLoadBmp or ImgSavePng failed, naming the file ("Cannot write walk.png: No space
// left on device."); ok after a call that worked.
Result<> ImgLastResult();
