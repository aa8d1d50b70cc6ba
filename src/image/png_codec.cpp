#include "image/png_codec.h"

#include <algorithm>
#include <cerrno>

#include "base/file_writer.h"
#include "image/picture_file.h"
#include "image/png_session.h"

namespace {

constexpr std::size_t kSignatureSize = 8;

// A libpng read or write structure with its info structure and session, destroyed with it.
class PngHandle {
  public:
    enum class Kind { kRead, kWrite };

    explicit PngHandle(Kind kind) : kind_(kind) {
        png_ = kind == Kind::kRead ? png_create_read_struct(PNG_LIBPNG_VER_STRING, &session_,
                                                            PngOnError, PngOnWarning)
                                   : png_create_write_struct(PNG_LIBPNG_VER_STRING, &session_,
                                                             PngOnError, PngOnWarning);
        if (png_ != nullptr) info_ = png_create_info_struct(png_);
        session_.info = info_;
    }
    ~PngHandle() {
        if (kind_ == Kind::kRead) {
            png_destroy_read_struct(&png_, &info_, nullptr);
        } else {
            png_destroy_write_struct(&png_, &info_);
        }
    }
    PngHandle(const PngHandle&) = delete;
    PngHandle& operator=(const PngHandle&) = delete;

    bool Created() const { return png_ != nullptr && info_ != nullptr; }
    bool Run(PngStep step) { return RunPngStep(png_, info_, session_, step); }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }
    PngSession& session() { return session_; }

  private:
    Kind kind_;
    PngSession session_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// --- the steps libpng runs in (see png_session.h) -------------------------------------------

void ReadUpToPixels(png_structp png, png_infop info, PngSession& session) {
    png_set_read_fn(png, &session, PngReadInput);
    // IHDR, PLTE, tRNS, IDAT and IEND are read; every other chunk is skipped.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    // The caller's limits, checked right after the header, are the only ones on the size.
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_read_info(png, info);
}

// Indexed pictures: one byte an index, whatever the bit depth.
void AskForIndices(png_structp png, png_infop info, PngSession&) {
    png_set_packing(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

// Every other picture: 8-bit red, green, blue, alpha.
void AskForRgba(png_structp png, png_infop info, PngSession&) {
    png_set_expand(png);    // grey of 1, 2 or 4 bits to 8; tRNS to an alpha channel
    png_set_scale_16(png);  // 16 bits to 8, rounded
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);  // opaque alpha where the picture has none
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

void ReadPixels(png_structp png, png_infop, PngSession& session) {
    png_read_image(png, session.rows);
    png_read_end(png, nullptr);
}

void WriteRgb(png_structp png, png_infop info, PngSession& session) {
    png_set_write_fn(png, &session, PngWriteOutput, PngFlushOutput);
    png_set_IHDR(png, info, static_cast<png_uint_32>(session.width),
                 static_cast<png_uint_32>(session.height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, session.compression);
    // Rows of flat 2 x 2 blocks compress best unfiltered, and libpng's search for a filter per row
    // costs more than the whole rest of the export.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(png, info);
    png_write_image(png, session.rows);
    png_write_end(png, nullptr);
}

// --- reading ----------------------------------------------------------------------------------

PngHeader HeaderOf(const PngHandle& handle) {
    PngHeader header;
    header.width = static_cast<int>(png_get_image_width(handle.png(), handle.info()));
    header.height = static_cast<int>(png_get_image_height(handle.png(), handle.info()));
    header.bitDepth = png_get_bit_depth(handle.png(), handle.info());
    switch (png_get_color_type(handle.png(), handle.info())) {
        case PNG_COLOR_TYPE_GRAY:
            header.colourType = PngColourType::kGrey;
            break;
        case PNG_COLOR_TYPE_PALETTE:
            header.colourType = PngColourType::kIndexed;
            break;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            header.colourType = PngColourType::kGreyAlpha;
            break;
        case PNG_COLOR_TYPE_RGB_ALPHA:
            header.colourType = PngColourType::kRgbAlpha;
            break;
        default:
            header.colourType = PngColourType::kRgb;
    }
    header.interlaced = png_get_interlace_type(handle.png(), handle.info()) != PNG_INTERLACE_NONE;
    return header;
}

Error NotUsable(std::string message) {
    return Fail(Failure::kNotUsable, std::move(message));
}

std::string Damaged(const std::string& shown, const std::string& why) {
    return shown + " is a damaged PNG picture (" + why + ").";
}

// Why libpng stopped, naming the file.
std::string StopProblem(PngHandle& handle, const std::string& shown, const PngLimits& limits) {
    const PngSession& session = handle.session();
    switch (session.stop) {
        case PngStop::kCutShort:
            return shown + " is cut short.";
        case PngStop::kTooLarge: {
            const PngHeader header = HeaderOf(handle);
            const std::string size = shown + " is " + std::to_string(header.width) + " × " +
                                     std::to_string(header.height) + " pixels: ";
            if (header.width > limits.maxSide) {
                return size + "wider than " + std::to_string(limits.maxSide) + " pixels.";
            }
            if (header.height > limits.maxSide) {
                return size + "taller than " + std::to_string(limits.maxSide) + " pixels.";
            }
            return size + "more than " + std::to_string(limits.maxPixels) + " pixels.";
        }
        case PngStop::kOutOfMemory:
            return shown + " cannot be read: out of memory.";
        case PngStop::kTrailingData:
            return Damaged(shown, "its pixel data goes on for more than " +
                                      std::to_string(kMaxPngDataAfterRows) +
                                      " bytes after the last row");
        case PngStop::kNone:
        case PngStop::kHeaderRead:
        case PngStop::kError:
            break;
    }
    // libpng names each fault of a header in a warning, then raises this one error.
    if (std::string(session.message) == "Invalid IHDR data" && !session.warnings.empty()) {
        std::string faults;
        for (const std::string& warning : session.warnings) {
            faults += (faults.empty() ? "" : "; ") + warning;
        }
        return Damaged(shown, faults);
    }
    return Damaged(shown, session.message);
}

// Where the last pixel chunk (IDAT) ends, CRC included. Where the chunks cannot be walked to the
// end of the file, anything from the first one that does not fit may be pixel data.
std::size_t PixelChunksEnd(std::span<const std::uint8_t> bytes) {
    std::size_t end = 0;
    std::size_t at = kSignatureSize;
    while (at <= bytes.size() && bytes.size() - at >= 12) {
        const std::size_t length = png_get_uint_32(bytes.data() + at);
        if (length > bytes.size() - at - 12) return bytes.size();
        const std::uint8_t* type = bytes.data() + at + 4;
        at += 12 + length;
        if (std::equal(type, type + 4, "IDAT")) end = at;
    }
    return at == bytes.size() ? end : bytes.size();
}

// Checks the signature and has libpng read up to the pixels (or only the header); false with the
// problem when the bytes are not a PNG picture within the limits.
bool StartReading(PngHandle& handle, std::span<const std::uint8_t> bytes, const std::string& shown,
                  const PngLimits& limits, std::string& problem) {
    if (bytes.empty()) {
        problem = shown + " is empty.";
        return false;
    }
    if (png_sig_cmp(bytes.data(), 0, std::min(bytes.size(), kSignatureSize)) != 0) {
        problem = shown + " is not a PNG picture.";
        return false;
    }
    if (!handle.Created()) {
        problem = shown + " cannot be read: out of memory.";
        return false;
    }
    PngSession& session = handle.session();
    session.input = bytes.data();
    session.inputSize = bytes.size();
    session.maxSide = limits.maxSide;
    session.maxPixels = limits.maxPixels;
    session.pixelChunksEnd = PixelChunksEnd(bytes);
    if (handle.Run(ReadUpToPixels) || session.stop == PngStop::kHeaderRead) return true;
    problem = StopProblem(handle, shown, limits);
    return false;
}

// The palette with the alpha of tRNS.
std::vector<std::uint32_t> PaletteOf(const PngHandle& handle) {
    png_colorp colours = nullptr;
    int count = 0;
    png_bytep alpha = nullptr;
    int alphaCount = 0;
    std::vector<std::uint32_t> palette;
    if (png_get_PLTE(handle.png(), handle.info(), &colours, &count) == 0) return palette;
    png_get_tRNS(handle.png(), handle.info(), &alpha, &alphaCount, nullptr);
    for (int i = 0; i < count; ++i) {
        const png_color& c = colours[i];
        const std::uint32_t a = i < alphaCount ? alpha[i] : 0xFFu;
        palette.push_back(a << 24 | (Rgb(c.red, c.green, c.blue) & 0xFFFFFFu));
    }
    return palette;
}

// Fills the picture from the indices libpng gave; the problem when one is outside the palette.
std::string TakeIndices(std::vector<std::uint8_t>& samples, PngPicture& picture,
                        const std::string& shown) {
    const std::size_t count = picture.palette.size();
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (samples[i] >= count) {
            const std::size_t width = static_cast<std::size_t>(picture.width);
            return Damaged(shown, "pixel (" + std::to_string(i % width) + ", " +
                                      std::to_string(i / width) + ") uses palette entry " +
                                      std::to_string(samples[i]) + " of " + std::to_string(count));
        }
        picture.pixels[i] = picture.palette[samples[i]];
    }
    picture.indices = std::move(samples);
    return {};
}

void TakeRgba(const std::vector<std::uint8_t>& samples, PngPicture& picture) {
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        const std::uint8_t* p = samples.data() + 4 * i;
        picture.pixels[i] = static_cast<std::uint32_t>(p[3]) << 24 |
                            static_cast<std::uint32_t>(p[0]) << 16 |
                            static_cast<std::uint32_t>(p[1]) << 8 | p[2];
    }
}

}  // namespace

Result<PngHeader> ReadPngHeader(std::span<const std::uint8_t> bytes, const std::string& shown) {
    PngHandle handle(PngHandle::Kind::kRead);
    handle.session().headerOnly = true;
    std::string problem;
    if (!StartReading(handle, bytes, shown, {}, problem)) return NotUsable(problem);
    return HeaderOf(handle);
}

Result<PngPicture> DecodePng(std::span<const std::uint8_t> bytes, const std::string& shown,
                             const PngLimits& limits) {
    PngHandle handle(PngHandle::Kind::kRead);
    std::string problem;
    if (!StartReading(handle, bytes, shown, limits, problem)) return NotUsable(problem);
    const PngHeader header = HeaderOf(handle);
    PngPicture picture;
    picture.width = header.width;
    picture.height = header.height;
    picture.indexed = header.colourType == PngColourType::kIndexed;
    if (picture.indexed) picture.palette = PaletteOf(handle);
    if (!handle.Run(picture.indexed ? AskForIndices : AskForRgba)) {
        return NotUsable(StopProblem(handle, shown, limits));
    }
    const std::size_t width = static_cast<std::size_t>(header.width);
    const std::size_t height = static_cast<std::size_t>(header.height);
    const std::size_t rowBytes = width * (picture.indexed ? 1 : 4);
    if (png_get_rowbytes(handle.png(), handle.info()) != rowBytes) {
        return NotUsable(shown + " cannot be read: libpng gives rows of " +
                         std::to_string(png_get_rowbytes(handle.png(), handle.info())) +
                         " bytes instead of " + std::to_string(rowBytes) + ".");
    }
    std::vector<std::uint8_t> samples(rowBytes * height);
    std::vector<png_bytep> rows(height);
    for (std::size_t y = 0; y < height; ++y) rows[y] = samples.data() + y * rowBytes;
    handle.session().rows = rows.data();
    if (!handle.Run(ReadPixels)) return NotUsable(StopProblem(handle, shown, limits));
    picture.pixels.resize(width * height);
    if (picture.indexed) {
        if (std::string bad = TakeIndices(samples, picture, shown); !bad.empty()) {
            return NotUsable(bad);
        }
    } else {
        TakeRgba(samples, picture);
    }
    for (const std::string& warning : handle.session().warnings) {
        picture.warnings.push_back(shown + ": " + warning);
    }
    return picture;
}

Result<PngPicture> ReadPngFile(const std::string& path, const std::string& shown,
                               const PngLimits& limits) {
    const Result<std::vector<std::uint8_t>> bytes = ReadPictureBytes(path, shown, kMaxPngFileSize);
    if (!bytes) return bytes.error();
    return DecodePng(*bytes, shown, limits);
}

std::vector<std::uint8_t> EncodePng(const RgbImage& image, int compression) {
    if (image.IsNull() || compression < 0 || compression > 9) return {};
    const std::size_t width = static_cast<std::size_t>(image.width);
    const std::size_t height = static_cast<std::size_t>(image.height);
    std::vector<std::uint8_t> samples(3 * width * height);
    std::vector<png_bytep> rows(height);
    for (std::size_t y = 0; y < height; ++y) {
        rows[y] = samples.data() + 3 * width * y;
        const std::uint32_t* pixel = image.Row(static_cast<int>(y));
        for (std::size_t x = 0; x < width; ++x) {
            rows[y][3 * x] = static_cast<std::uint8_t>(pixel[x] >> 16);
            rows[y][3 * x + 1] = static_cast<std::uint8_t>(pixel[x] >> 8);
            rows[y][3 * x + 2] = static_cast<std::uint8_t>(pixel[x]);
        }
    }
    std::vector<std::uint8_t> png;
    PngHandle handle(PngHandle::Kind::kWrite);
    if (!handle.Created()) return {};
    PngSession& session = handle.session();
    session.output = &png;
    session.width = image.width;
    session.height = image.height;
    session.compression = compression;
    session.rows = rows.data();
    if (!handle.Run(WriteRgb)) return {};
    return png;
}

Result<> WritePngFile(const RgbImage& image, const std::string& path, std::string_view shown,
                      int compression, const WriteOptions& options) {
    // The picture is encoded in memory first (an exported cel is at most 128 x 128 pixels), so
    // that every byte reaches the disk through the one writer, which checks each of them.
    const std::vector<std::uint8_t> png = EncodePng(image, compression);
    if (png.empty()) {
        return Fail(Failure::kWriteFailed,
                    "Cannot write " + std::string(shown) + ": the picture cannot be encoded.");
    }
    return WriteFile(path, png, shown, options);
}
