#include "image/png_session.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace {

// The session is both the error pointer and the input/output pointer of its structure.
PngSession& SessionOf(png_structp png) {
    return *static_cast<PngSession*>(png_get_error_ptr(png));
}

// Stops libpng for a reason of our own; the error callback keeps that reason.
[[noreturn]] void Stop(png_structp png, PngSession& session, PngStop why) {
    session.stop = why;
    png_error(png, "stopped");
}

// Whether libpng has every row: past the last row, or past the seventh pass of an interlaced one.
bool RowsAllIn(png_structp png, png_infop info) {
    if (png_get_interlace_type(png, info) != PNG_INTERLACE_NONE) {
        return png_get_current_pass_number(png) >= 7;
    }
    const png_uint_32 height = png_get_image_height(png, info);
    return height > 0 && png_get_current_row_number(png) >= height;
}

}  // namespace

void PngOnError(png_structp png, png_const_charp text) {
    PngSession& session = SessionOf(png);
    if (session.stop == PngStop::kNone) {
        session.stop = PngStop::kError;
        std::snprintf(session.message, sizeof session.message, "%s", text);
    }
    // Back to RunPngStep (libpng would print the message first if this returned).
    png_longjmp(png, 1);
}

void PngOnWarning(png_structp png, png_const_charp text) {
    PngSession& session = SessionOf(png);
    if (session.warnings.size() >= kMaxPngWarnings) return;
    try {
        session.warnings.emplace_back(text);
    } catch (const std::bad_alloc&) {
        // A warning that cannot be kept is lost; the picture is not.
    }
}

void PngReadInput(png_structp png, png_bytep out, std::size_t count) {
    PngSession& session = SessionOf(png);
    // The header chunk sets the width; nothing has been allocated for the picture yet.
    if (!session.headerChecked && png_get_image_width(png, session.info) != 0) {
        session.headerChecked = true;
        const std::int64_t width = png_get_image_width(png, session.info);
        const std::int64_t height = png_get_image_height(png, session.info);
        if (session.headerOnly) Stop(png, session, PngStop::kHeaderRead);
        if (width > session.maxSide || height > session.maxSide ||
            width * height > session.maxPixels) {
            Stop(png, session, PngStop::kTooLarge);
        }
    }
    if (count > session.inputSize - session.inputAt) Stop(png, session, PngStop::kCutShort);
    // libpng inflates what follows the last row as soon as that row is in, before it returns.
    if (!session.rowsIn && RowsAllIn(png, session.info)) {
        session.rowsIn = true;
        session.rowsInAt = session.inputAt;
    }
    if (session.rowsIn && session.inputAt < session.pixelChunksEnd &&
        session.inputAt + count - session.rowsInAt > kMaxPngDataAfterRows) {
        Stop(png, session, PngStop::kTrailingData);
    }
    std::memcpy(out, session.input + session.inputAt, count);
    session.inputAt += count;
}

void PngWriteOutput(png_structp png, png_bytep data, std::size_t count) {
    PngSession& session = SessionOf(png);
    bool stored = true;
    try {
        session.output->insert(session.output->end(), data, data + count);
    } catch (const std::bad_alloc&) {
        stored = false;
    }
    if (!stored) Stop(png, session, PngStop::kOutOfMemory);
}

void PngFlushOutput(png_structp) {}

bool RunPngStep(png_structp png, png_infop info, PngSession& session, PngStep step) {
    if (setjmp(png_jmpbuf(png)) != 0) return false;
    step(png, info, session);
    return true;
}
