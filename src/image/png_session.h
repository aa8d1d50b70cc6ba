#pragma once
// Where the image module meets libpng's C interface (png_codec.cpp is the only user).
//
// libpng reports an error by a longjmp back to the setjmp in RunPngStep. A longjmp must not leave
// a frame that holds an object with a destructor, so a step is a plain function of libpng calls
// and everything it works on (input bytes, output vector, row pointers, messages) lives in a
// PngSession set up before the step and read after it. Every libpng call that may raise an error
// runs inside a step.

#include <png.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What stopped libpng, when it stopped.
enum class PngStop {
    kNone,
    kError,         // libpng raised an error: message holds its text
    kCutShort,      // libpng asked for bytes past the end of the input
    kTooLarge,      // the header announced more than maxSide or maxPixels
    kHeaderRead,    // only the header was wanted, and it has been read
    kOutOfMemory,   // the output could not grow
    kTrailingData,  // the pixel chunks went on for more than kMaxPngDataAfterRows after the rows
};

// Compressed pixel data read after the last row: a right stream has a few bytes of zlib's end
// there; a bomb has gigabytes of zeros, which inflate at about 1000 to 1.
inline constexpr std::size_t kMaxPngDataAfterRows = 64 * 1024;

struct PngSession {
    // Reading: the file image and how much of it libpng has taken.
    const std::uint8_t* input = nullptr;
    std::size_t inputSize = 0;
    std::size_t inputAt = 0;
    // The header check. Right after libpng has read the header chunk (at its next read), a
    // picture wider or taller than maxSide, or of more than maxPixels, stops the reading; with
    // headerOnly every picture stops there.
    png_infop info = nullptr;
    int maxSide = 0;
    std::int64_t maxPixels = 0;
    bool headerOnly = false;
    bool headerChecked = false;
    // The end of the last pixel chunk (IDAT) in the input, and where the input stood when libpng
    // had every row: it then reads on to the end of the file, but may take only
    // kMaxPngDataAfterRows more bytes of pixel chunks.
    std::size_t pixelChunksEnd = 0;
    std::size_t rowsInAt = 0;
    bool rowsIn = false;

    // Writing: where the bytes go, and the picture's size and zlib level.
    std::vector<std::uint8_t>* output = nullptr;
    int width = 0;
    int height = 0;
    int compression = 0;

    // The rows a read step fills or a write step takes.
    png_bytepp rows = nullptr;

    PngStop stop = PngStop::kNone;
    char message[256] = {};
    // libpng's warnings, at most kMaxPngWarnings of them.
    std::vector<std::string> warnings;
};

inline constexpr std::size_t kMaxPngWarnings = 16;

// The callbacks a session's libpng structure is created with: errors and warnings go into the
// session (nothing is printed), reads come from its input, writes go to its output.
[[noreturn]] void PngOnError(png_structp png, png_const_charp text);
void PngOnWarning(png_structp png, png_const_charp text);
void PngReadInput(png_structp png, png_bytep out, std::size_t count);
void PngWriteOutput(png_structp png, png_bytep data, std::size_t count);
void PngFlushOutput(png_structp png);

using PngStep = void (*)(png_structp png, png_infop info, PngSession& session);

// Runs the step; false when libpng raised an error (session.stop says which).
bool RunPngStep(png_structp png, png_infop info, PngSession& session, PngStep step);
