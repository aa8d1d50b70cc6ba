#include "image/bmp_file.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <optional>

#include "image/picture_file.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

std::uint32_t U16(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0] | p[1] << 8);
}

std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// One channel of a pixel under a colour mask, scaled to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(std::uint32_t m = 0) : mask(m) {
        if (m == 0) return;
        shift = std::countr_zero(m);
        bits = std::countr_one(m >> shift);
    }
    int Of(std::uint32_t pixel) const {
        if (bits == 0) return 0;
        const std::uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8) return static_cast<int>(v >> (bits - 8));
        return static_cast<int>(v * 255 / ((1u << bits) - 1));
    }
};

struct Layout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = kRgb;
    Channel red, green, blue;
    std::vector<std::uint32_t> palette;
    std::size_t pixelOffset = 0;
};

// Reads the headers and the colour table; the reason when they cannot describe a picture.
std::string ReadLayout(std::span<const std::uint8_t> file, Layout& out) {
    const std::uint8_t* b = file.data();
    const std::size_t size = file.size();
    if (size < kFileHeaderSize + 4 || b[0] != 'B' || b[1] != 'M')
        return "it does not start with \"BM\"";
    const std::uint32_t infoSize = U32(b + 14);
    const bool core = infoSize == 12;
    if (!core && (infoSize < 40 || infoSize > 124)) {
        return "its header size " + std::to_string(infoSize) + " is not one of a BMP picture";
    }
    if (kFileHeaderSize + infoSize > size) return "its header ends past the end of the file";
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t colours = 0;
    if (core) {
        width = U16(b + 18);
        height = U16(b + 20);
        out.bitsPerPixel = static_cast<int>(U16(b + 24));
    } else {
        width = static_cast<std::int32_t>(U32(b + 18));
        height = static_cast<std::int32_t>(U32(b + 22));
        out.bitsPerPixel = static_cast<int>(U16(b + 28));
        out.compression = U32(b + 30);
        colours = U32(b + 46);
    }
    out.topDown = height < 0;
    if (height < 0) height = -height;
    if (width < 1 || height < 1) {
        return "its size of " + std::to_string(width) + " x " + std::to_string(height) +
               " pixels is empty";
    }
    if (width * height > kMaxBmpPixels) {
        return "it is " + std::to_string(width) + " x " + std::to_string(height) +
               " pixels, more than the " + std::to_string(kMaxBmpPixels) + " pixels read";
    }
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);

    const int bpp = out.bitsPerPixel;
    const std::uint32_t c = out.compression;
    const bool known =
        (c == kRgb && (bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32)) ||
        (c == kRle8 && bpp == 8) || (c == kRle4 && bpp == 4) ||
        ((c == kBitFields || c == kAlphaBitFields) && (bpp == 16 || bpp == 32));
    if (!known) {
        return std::to_string(bpp) + " bits per pixel with compression " + std::to_string(c) +
               " are not read";
    }
    if (out.topDown && (c == kRle8 || c == kRle4)) return "its run-length rows run from the top";

    // Colour masks: inside a V2 or later header, else right after the info header.
    std::size_t tableStart = kFileHeaderSize + infoSize;
    if (c == kBitFields || c == kAlphaBitFields) {
        std::size_t masks = kFileHeaderSize + 40;
        if (infoSize == 40) tableStart += c == kAlphaBitFields ? 16 : 12;
        if (masks + 12 > size) return "its colour masks end past the end of the file";
        out.red = Channel(U32(b + masks));
        out.green = Channel(U32(b + masks + 4));
        out.blue = Channel(U32(b + masks + 8));
    } else if (bpp == 16) {
        out.red = Channel(0x7C00);
        out.green = Channel(0x03E0);
        out.blue = Channel(0x001F);
    } else if (bpp == 32) {
        out.red = Channel(0xFF0000);
        out.green = Channel(0xFF00);
        out.blue = Channel(0xFF);
    }
    out.pixelOffset = U32(b + 10);
    if (out.pixelOffset >= size) return "its pixel data starts past the end of the file";
    if (out.pixelOffset < tableStart) return "its pixel data starts inside its header";
    if (bpp <= 8) {
        const std::uint32_t most = 1u << bpp;
        const std::size_t entry = core ? 3 : 4;
        if (colours > most) {
            return "its colour table of " + std::to_string(colours) + " entries is too long";
        }
        // Without a count the table is as long as the bits allow, but no longer than the room
        // before the pixels.
        if (colours == 0) {
            colours = static_cast<std::uint32_t>(
                std::min<std::size_t>(most, (out.pixelOffset - tableStart) / entry));
        }
        if (tableStart + colours * entry > size) {
            return "its colour table ends past the end of the file";
        }
        for (std::uint32_t i = 0; i < colours; ++i) {
            const std::uint8_t* e = b + tableStart + i * entry;
            out.palette.push_back(Rgb(e[2], e[1], e[0]));
        }
    }
    return {};
}

// The colour of a colour table index; nothing when the table has no such entry.
std::optional<std::uint32_t> Entry(const Layout& layout, std::uint32_t index) {
    if (index >= layout.palette.size()) return std::nullopt;
    return layout.palette[index];
}

std::string BadIndex(std::uint32_t index, const Layout& layout) {
    return "a pixel uses colour " + std::to_string(index) + " of a table of " +
           std::to_string(layout.palette.size());
}

std::string ReadRows(std::span<const std::uint8_t> file, const Layout& layout, RgbImage& image) {
    const int bpp = layout.bitsPerPixel;
    const std::size_t stride =
        ((static_cast<std::size_t>(layout.width) * static_cast<std::size_t>(bpp) + 31) / 32) * 4;
    const std::size_t needed = stride * static_cast<std::size_t>(layout.height);
    if (file.size() - layout.pixelOffset < needed) {
        const std::size_t missing = needed - (file.size() - layout.pixelOffset);
        return "its pixel data ends past the end of the file (" + std::to_string(missing) +
               (missing == 1 ? " byte is missing)" : " bytes are missing)");
    }
    for (int row = 0; row < layout.height; ++row) {
        const std::uint8_t* p =
            file.data() + layout.pixelOffset + static_cast<std::size_t>(row) * stride;
        std::uint32_t* out = image.Row(layout.topDown ? row : layout.height - 1 - row);
        for (int x = 0; x < layout.width; ++x) {
            const std::size_t ux = static_cast<std::size_t>(x);
            if (bpp <= 8) {
                const std::size_t bit = ux * static_cast<std::size_t>(bpp);
                const int shift = 8 - bpp - static_cast<int>(bit % 8);
                const std::uint32_t index =
                    static_cast<std::uint32_t>(p[bit / 8] >> shift) & ((1u << bpp) - 1);
                const auto colour = Entry(layout, index);
                if (!colour) return BadIndex(index, layout);
                out[x] = *colour;
            } else if (bpp == 24) {
                out[x] = Rgb(p[3 * ux + 2], p[3 * ux + 1], p[3 * ux]);
            } else {
                const std::uint32_t v = bpp == 16 ? U16(p + 2 * ux) : U32(p + 4 * ux);
                out[x] = Rgb(layout.red.Of(v), layout.green.Of(v), layout.blue.Of(v));
            }
        }
    }
    return {};
}

// Run-length coded rows (8 or 4 bits an index), from the bottom row up. Pixels the data skips
// keep colour table entry 0. A run that starts inside its row may go past the right edge (encoders
// pad their rows) and is cut there; a run that starts past the edge or above the top row, a jump
// out of the picture and an end of line above the top row are damage. So the column stays at
// most the width and the row at most one past the top: no count can grow without bound. Data that
// stops without an end mark ends the picture.
std::string ReadRunLengthRows(std::span<const std::uint8_t> file, const Layout& layout,
                              RgbImage& image) {
    const bool four = layout.bitsPerPixel == 4;
    const auto first = Entry(layout, 0);
    std::fill(image.pixels.begin(), image.pixels.end(), first.value_or(Rgb(0, 0, 0)));
    std::size_t at = layout.pixelOffset;
    int x = 0;
    int row = 0;  // from the bottom
    std::string problem;
    const auto put = [&](std::uint32_t index) {
        if (x >= layout.width) return;
        const auto colour = Entry(layout, index);
        if (!colour) {
            if (problem.empty()) problem = BadIndex(index, layout);
            return;
        }
        image.Set(x++, layout.height - 1 - row, *colour);
    };
    const auto runStart = [&]() -> std::string {
        if (row >= layout.height) return "its run-length data goes on above the top row";
        if (x >= layout.width) {
            return "a run starts past the right edge of row " +
                   std::to_string(layout.height - 1 - row);
        }
        return {};
    };
    const auto nibble = [four](std::uint8_t byte, int i) {
        return four ? static_cast<std::uint32_t>(i % 2 == 0 ? byte >> 4 : byte & 15)
                    : static_cast<std::uint32_t>(byte);
    };
    while (at + 2 <= file.size() && problem.empty()) {
        const std::uint8_t count = file[at];
        const std::uint8_t value = file[at + 1];
        at += 2;
        if (count > 0) {
            if (std::string bad = runStart(); !bad.empty()) return bad;
            for (int i = 0; i < count; ++i) put(nibble(value, i));
        } else if (value == 0) {
            if (row >= layout.height) return "its run-length data goes on above the top row";
            x = 0;
            ++row;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (at + 2 > file.size()) break;
            // Both steps are at most 255, so neither sum can overflow.
            if (x + file[at] > layout.width || row + file[at + 1] > layout.height) {
                return "a jump in its run-length data leaves the picture";
            }
            x += file[at];
            row += file[at + 1];
            at += 2;
        } else {
            const std::size_t bytes = four ? (value + 1u) / 2 : value;
            if (at + bytes > file.size()) return "its run-length data ends inside a run";
            if (std::string bad = runStart(); !bad.empty()) return bad;
            for (int i = 0; i < value; ++i) {
                put(nibble(file[at + static_cast<std::size_t>(four ? i / 2 : i)], i));
            }
            at += (bytes + 1) & ~std::size_t{1};  // runs are padded to whole 16-bit words
        }
    }
    return problem;
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

RgbImage DecodeBmp(std::span<const std::uint8_t> bytes, std::string& reason) {
    Layout layout;
    reason = ReadLayout(bytes, layout);
    if (!reason.empty()) return {};
    RgbImage image(layout.width, layout.height);
    const bool runLength = layout.compression == kRle8 || layout.compression == kRle4;
    reason = runLength ? ReadRunLengthRows(bytes, layout, image) : ReadRows(bytes, layout, image);
    if (!reason.empty()) return {};
    return image;
}

std::vector<std::uint8_t> EncodeBmp(const RgbImage& image) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(image.width) * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = stride * static_cast<std::uint32_t>(image.height);
    const std::uint32_t offset = kFileHeaderSize + 40;
    std::vector<std::uint8_t> out;
    out.reserve(offset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + pixelBytes);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(image.width));
    Put32(out, static_cast<std::uint32_t>(image.height));
    Put16(out, 1);   // planes
    Put16(out, 24);  // bits per pixel
    Put32(out, kRgb);
    Put32(out, pixelBytes);
    Put32(out, 2835);  // 72 dots per inch
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        const std::uint32_t* row = image.Row(y);
        for (int x = 0; x < image.width; ++x) {
            out.push_back(static_cast<std::uint8_t>(row[x]));
            out.push_back(static_cast<std::uint8_t>(row[x] >> 8));
            out.push_back(static_cast<std::uint8_t>(row[x] >> 16));
        }
        out.resize(out.size() + (stride - static_cast<std::uint32_t>(image.width) * 3), 0);
    }
    return out;
}

Result<RgbImage> ReadBmpFile(const std::string& path, const std::string& shown) {
    const Result<std::vector<std::uint8_t>> bytes = ReadPictureBytes(path, shown, kMaxBmpFileSize);
    if (!bytes) return bytes.error();
    std::string reason;
    RgbImage image = DecodeBmp(*bytes, reason);
    if (image.IsNull()) {
        return Fail(Failure::kNotUsable,
                    "Cannot load " + shown + ": it is not a valid BMP picture (" + reason + ").");
    }
    return image;
}

Result<> WriteBmpFile(const RgbImage& image, const std::string& path, std::string_view shown,
                      const WriteOptions& options) {
    return WriteFile(path, EncodeBmp(image), shown, options);
}
