// The PNG reader on the pictures of fuzz/corpus/png (made by ImageMagick: every colour type at
// its bit depths, tRNS, interlaced) with the pixels each one holds written out, on files it must
// refuse, and on what the writer writes.

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include <sys/stat.h>
#include <unistd.h>

#include "image/picture_import.h"
#include "image/png_codec.h"
#include "temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Colours = std::vector<std::uint32_t>;

Bytes ReadSeed(const std::string& name) {
    std::ifstream in(std::string(SPRITEHEX_PNG_SEEDS) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

constexpr std::uint32_t Argb(int a, int r, int g, int b) {
    return static_cast<std::uint32_t>(a) << 24 | (Rgb(r, g, b) & 0xFFFFFFu);
}
constexpr std::uint32_t Grey(int v, int a = 255) {
    return Argb(a, v, v, v);
}
// A 16-bit sample as an 8-bit one: the nearest of 0..255.
constexpr int Scaled(int v) {
    return (v * 255 + 32767) / 65535;
}

Colours Picture(int w, int h, const std::function<std::uint32_t(int, int)>& colour) {
    Colours out;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) out.push_back(colour(x, y));
    return out;
}

// Colours of the palette entries, in the order of the indices.
Colours Lookup(const Colours& palette, const std::vector<std::uint8_t>& indices) {
    Colours out;
    for (std::uint8_t i : indices) out.push_back(palette[i]);
    return out;
}

// The limits of a picture import: 100 cels of 64 x 64.
constexpr PngLimits kLimits = kImportLimits;

constexpr std::uint32_t kRed = Rgb(255, 0, 0);
constexpr std::uint32_t kGreen = Rgb(0, 255, 0);
constexpr std::uint32_t kBlue = Rgb(0, 0, 255);
constexpr std::uint32_t kWhite = Rgb(255, 255, 255);
constexpr std::uint32_t kBlack = Rgb(0, 0, 0);
// The pixels of rgb8.png, which the damaged and edited files below start from.
const Colours kRgb8Pixels = {kRed, kGreen, kBlue, Rgb(10, 20, 30), kWhite, kBlack};

struct DecodeRow {
    const char* file;
    int width;
    int height;
    Colours pixels;
    bool indexed = false;
    Colours palette = {};  // indexed pictures, when stated
    std::vector<std::uint8_t> indices = {};
};

// The pictures of tools/make-png-seeds.sh, pixel by pixel.
std::vector<DecodeRow> DecodeRows() {
    const Colours pal4 = {kBlack,           kRed,
                          kGreen,           kBlue,
                          Rgb(255, 255, 0), Rgb(0, 255, 255),
                          Rgb(255, 0, 255), Rgb(128, 128, 128)};
    const Colours pal2Alpha = {Argb(0, 0, 0, 255), Argb(128, 0, 255, 0), kRed, kWhite};
    const Colours pal8 =
        Picture(20, 1, [](int i, int) { return Rgb(i * 13 % 256, i * 40 % 256, 255 - i * 12); });
    std::vector<std::uint8_t> upTo20(20);
    for (std::uint8_t i = 0; i < 20; ++i) upTo20[i] = i;
    const auto rgb10x7 = [](int x, int y) { return Rgb(x * 25, y * 40, x * y * 7 % 256); };
    return {
        {"gray1.png", 8, 2,
         Picture(8, 2,
                 [](int x, int y) {
                     const int bits[2] = {0b01011010, 0b11110000};
                     return Grey(bits[y] >> (7 - x) & 1 ? 255 : 0);
                 })},
        {"gray2.png",
         4,
         2,
         {Grey(0), Grey(85), Grey(170), Grey(255), Grey(255), Grey(170), Grey(85), Grey(0)}},
        {"gray4.png",
         4,
         2,
         {Grey(0), Grey(85), Grey(170), Grey(255), Grey(17), Grey(34), Grey(51), Grey(68)}},
        {"gray8.png", 4, 1, {Grey(0), Grey(18), Grey(200), Grey(255)}},
        // 385 and 386 share their high byte: rounding tells them apart.
        {"gray16.png", 4, 1, {Grey(0), Grey(1), Grey(2), Grey(255)}},
        {"gray8-trns.png", 4, 1, {Grey(0), Grey(50, 0), Grey(200), Grey(255)}},
        {"graya8.png", 4, 1, {Grey(0), Grey(90, 128), Grey(200, 0), Grey(255)}},
        {"graya16.png", 2, 1, {Grey(1), Grey(255, 2)}},
        {"rgb8.png", 3, 2, kRgb8Pixels},
        {"rgb16.png", 2, 1, {Rgb(1, 2, 255), Rgb(0, 128, 0)}},
        {"rgb8-trns.png", 3, 1, {kRed, Argb(0, 9, 8, 7), kBlue}},
        {"rgba8.png", 3, 1, {kRed, Argb(128, 0, 255, 0), Argb(0, 0, 0, 255)}},
        {"rgba16.png", 2, 1, {Argb(2, 255, 1, 0), kBlue}},
        {"pal1.png",
         8,
         1,
         Lookup({kRed, kBlue}, {0, 1, 1, 0, 0, 0, 1, 1}),
         true,
         {kRed, kBlue},
         {0, 1, 1, 0, 0, 0, 1, 1}},
        {"pal2.png",
         4,
         1,
         {kRed, kGreen, kBlue, kGreen},
         true,
         {kRed, kGreen, kBlue},
         {0, 1, 2, 1}},
        // tRNS covers the first two of four entries.
        {"pal2-trns.png", 4, 1, Lookup(pal2Alpha, {2, 1, 0, 3}), true, pal2Alpha, {2, 1, 0, 3}},
        {"pal4.png", 4, 2, pal4, true, pal4, {0, 1, 2, 3, 4, 5, 6, 7}},
        {"pal8.png", 5, 4, pal8, true, pal8, upTo20},
        {"rgb8-10x7.png", 10, 7, Picture(10, 7, rgb10x7)},
        {"rgb8-adam7.png", 10, 7, Picture(10, 7, rgb10x7)},
        {"gray1-adam7.png", 10, 7,
         Picture(10, 7, [](int x, int y) { return Grey((x + y) % 3 == 0 ? 255 : 0); })},
        {"pal4-adam7.png", 10, 7,
         Picture(10, 7,
                 [](int x, int y) {
                     const int v = (x + 2 * y) % 12;
                     return Rgb(v * 20, 255 - v * 20, v % 3 * 100);
                 }),
         true},
        {"rgba16-adam7.png", 10, 7,
         Picture(10, 7,
                 [](int x, int y) {
                     return Argb(Scaled(65535 - (x + y) * 3000), Scaled(x * 6553), Scaled(y * 9362),
                                 Scaled(x * y * 999));
                 })},
    };
}

TEST(PngCodec, DecodesEveryColourTypeDepthAndInterlace) {
    const std::vector<DecodeRow> rows = DecodeRows();
    const auto seeds = std::filesystem::directory_iterator(SPRITEHEX_PNG_SEEDS);
    EXPECT_EQ(std::distance(begin(seeds), end(seeds)), std::ssize(rows)) << "a seed without a row";
    for (const DecodeRow& r : rows) {
        SCOPED_TRACE(r.file);
        const Result<PngPicture> decoded = DecodePng(ReadSeed(r.file), "seed.png", kLimits);
        ASSERT_EQ(decoded.message(), "");
        const PngPicture p = decoded.ok() ? *decoded : PngPicture();
        EXPECT_EQ(p.width, r.width);
        EXPECT_EQ(p.height, r.height);
        EXPECT_EQ(p.pixels, r.pixels);
        EXPECT_EQ(p.indexed, r.indexed);
        EXPECT_EQ(p.warnings, std::vector<std::string>{});
        if (!r.palette.empty()) {
            EXPECT_EQ(p.palette, r.palette);
        }
        if (!r.indices.empty()) {
            EXPECT_EQ(p.indices, r.indices);
        }
        if (r.indexed) {
            EXPECT_EQ(Lookup(p.palette, p.indices), p.pixels);
        } else {
            EXPECT_TRUE(p.palette.empty() && p.indices.empty());
        }
    }
}

// --- files built chunk by chunk ---------------------------------------------------------------

struct Chunk {
    std::string type;
    Bytes data;
};

std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

void Put32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

std::vector<Chunk> ChunksOf(const Bytes& png) {
    std::vector<Chunk> chunks;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = U32(&png[at]);
        const auto data = png.begin() + static_cast<std::ptrdiff_t>(at + 8);
        chunks.push_back({std::string(png.begin() + static_cast<std::ptrdiff_t>(at + 4), data),
                          Bytes(data, data + length)});
        at += 12 + length;
    }
    return chunks;
}

// A PNG file image of the chunks, each with its right CRC.
Bytes Build(const std::vector<Chunk>& chunks) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const Chunk& c : chunks) {
        Put32(out, static_cast<std::uint32_t>(c.data.size()));
        Bytes typed(c.type.begin(), c.type.end());
        typed.insert(typed.end(), c.data.begin(), c.data.end());
        out.insert(out.end(), typed.begin(), typed.end());
        Put32(out,
              static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
    }
    return out;
}

// The seed with its chunks changed by edit.
Bytes Edited(const std::string& seed, const std::function<void(std::vector<Chunk>&)>& edit) {
    std::vector<Chunk> chunks = ChunksOf(ReadSeed(seed));
    edit(chunks);
    return Build(chunks);
}

// rgb8.png announcing another size (its pixels stay those of 3 x 2).
Bytes Resized(std::uint32_t width, std::uint32_t height, bool headerOnly = false) {
    return Edited("rgb8.png", [&](std::vector<Chunk>& chunks) {
        Bytes size;
        Put32(size, width);
        Put32(size, height);
        std::copy(size.begin(), size.end(), chunks[0].data.begin());
        if (headerOnly) chunks.resize(1);
    });
}

// Where the first chunk of that type starts (its length field), and where its CRC starts.
std::size_t ChunkAt(const Bytes& png, const std::string& type) {
    std::size_t at = 8;
    while (std::string(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                       png.begin() + static_cast<std::ptrdiff_t>(at + 8)) != type) {
        at += 12 + U32(&png[at]);
    }
    return at;
}
std::size_t CrcAt(const Bytes& png, const std::string& type) {
    const std::size_t at = ChunkAt(png, type);
    return at + 8 + U32(&png[at]);
}

Bytes Flipped(Bytes png, std::size_t at) {
    png[at] ^= 0x10;
    return png;
}

Bytes Cut(const std::string& seed, std::size_t keep) {
    const Bytes png = ReadSeed(seed);
    return Bytes(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(keep));
}

// rgb8.png whose pixel stream goes on after its rows with a gigabyte of zeros in 2 MB, as a
// 1 MiB block of zeros deflated once and repeated (a flush keeps each block whole).
Bytes Bomb() {
    z_stream z{};
    deflateInit(&z, 9);
    Bytes out(1 << 16);
    const auto deflated = [&](Bytes in, int flush) {
        z.next_in = in.data();
        z.avail_in = static_cast<uInt>(in.size());
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        deflate(&z, flush);
        return Bytes(out.begin(), out.end() - z.avail_out);
    };
    Bytes stream = deflated(
        {0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 10, 20, 30, 255, 255, 255, 0, 0, 0}, Z_SYNC_FLUSH);
    deflated(Bytes(1 << 20), Z_SYNC_FLUSH);
    const Bytes zeros = deflated(Bytes(1 << 20), Z_SYNC_FLUSH);
    for (int i = 0; i < 1024; ++i) stream.insert(stream.end(), zeros.begin(), zeros.end());
    const Bytes end = deflated({}, Z_FINISH);
    stream.insert(stream.end(), end.begin(), end.end());
    deflateEnd(&z);
    return Edited("rgb8.png", [&](auto& c) { c[1].data = stream; });
}

TEST(PngCodec, RefusesWhatIsNotAWholePngPictureWithinTheLimits) {
    const Bytes rgb8 = ReadSeed("rgb8.png");
    struct Row {
        const char* name;
        Bytes bytes;
        std::string problem;
        PngLimits limits = kLimits;
    };
    const Row rows[] = {
        {"empty", {}, "x.png is empty."},
        {"a BMP picture",
         {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0},
         "x.png is not a PNG picture."},
        {"text", {'h', 'i', '\n'}, "x.png is not a PNG picture."},
        {"line ends changed on the way (\\r\\n to \\n\\n)",
         [] {
             Bytes b = ReadSeed("rgb8.png");
             b[4] = '\n';
             return b;
         }(),
         "x.png is not a PNG picture."},
        {"half a signature", Cut("rgb8.png", 4), "x.png is cut short."},
        {"the signature alone", Cut("rgb8.png", 8), "x.png is cut short."},
        {"cut inside the header", Cut("rgb8.png", 20), "x.png is cut short."},
        {"cut inside the pixels", Cut("rgb8.png", rgb8.size() - 20), "x.png is cut short."},
        {"no end chunk", Cut("rgb8.png", rgb8.size() - 12), "x.png is cut short."},
        {"the last byte missing", Cut("rgb8.png", rgb8.size() - 1), "x.png is cut short."},
        {"a header byte changed", Flipped(rgb8, ChunkAt(rgb8, "IHDR") + 8 + 9),
         "x.png is a damaged PNG picture (IHDR: CRC error)."},
        {"a byte of the pixel chunk's CRC changed", Flipped(rgb8, CrcAt(rgb8, "IDAT")),
         "x.png is a damaged PNG picture (IDAT: CRC error)."},
        {"a pixel byte changed (zlib's check comes before the chunk's)",
         Flipped(rgb8, ChunkAt(rgb8, "IDAT") + 8 + 12),
         "x.png is a damaged PNG picture (IDAT: incorrect data check)."},
        {"pixel data that is not zlib data, with a right CRC",
         Edited("rgb8.png", [](auto& c) { c[1].data[0] ^= 0xFF; }),
         "x.png is a damaged PNG picture (IDAT: invalid window size (libpng))."},
        {"a bomb: a gigabyte of zeros after the rows", Bomb(),
         "x.png is a damaged PNG picture (its pixel data goes on for more than 65536 bytes after "
         "the last row)."},
        {"a row of an unknown filter, with a right CRC",
         Edited("rgb8.png", [](auto& c) { c[1].data[5] ^= 0xFF; }),
         "x.png is a damaged PNG picture (bad adaptive filter value)."},
        {"30000 x 30000: the header alone is enough", Resized(30000, 30000, true),
         "x.png is 30000 × 30000 pixels: wider than 6400 pixels."},
        {"30000 x 30000 with pixel data", Resized(30000, 30000),
         "x.png is 30000 × 30000 pixels: wider than 6400 pixels."},
        {"one row too tall", Resized(1, 6401, true),
         "x.png is 1 × 6401 pixels: taller than 6400 pixels."},
        {"each side allowed, not both", Resized(6400, 6400, true),
         "x.png is 6400 × 6400 pixels: more than 409600 pixels."},
        {"2^31 - 1 wide", Resized(0x7FFFFFFF, 1, true),
         "x.png is 2147483647 × 1 pixels: wider than 6400 pixels."},
        {"one pixel more than allowed", rgb8, "x.png is 3 × 2 pixels: more than 5 pixels.", {3, 5}},
        {"one column wider than allowed",
         rgb8,
         "x.png is 3 × 2 pixels: wider than 2 pixels.",
         {2, 6}},
        {"no width", Resized(0, 2, true),
         "x.png is a damaged PNG picture (Image width is zero in IHDR)."},
        {"a width past 2^31", Resized(0x80000000u, 2, true),
         "x.png is a damaged PNG picture (PNG unsigned integer out of range)."},
        {"3 bits a sample", Edited("gray2.png", [](auto& c) { c[0].data[8] = 3; }),
         "x.png is a damaged PNG picture (Invalid bit depth in IHDR)."},
        {"16-bit indices", Edited("pal8.png", [](auto& c) { c[0].data[8] = 16; }),
         "x.png is a damaged PNG picture (Invalid color type/bit depth combination in IHDR)."},
        {"an index past the palette", Edited("pal2.png", [](auto& c) { c[1].data.resize(6); }),
         "x.png is a damaged PNG picture (pixel (2, 0) uses palette entry 2 of 2)."},
        {"an empty palette", Edited("pal2.png", [](auto& c) { c[1].data.clear(); }),
         "x.png is a damaged PNG picture (Invalid palette)."},
        {"indexed without a palette", Edited("pal2.png", [](auto& c) { c.erase(c.begin() + 1); }),
         "x.png is a damaged PNG picture (IDAT: Missing PLTE before IDAT)."},
        {"an unknown critical chunk",
         Edited("rgb8.png",
                [](auto& c) {
                    c.insert(c.begin() + 1, Chunk{"ABCD", {1, 2}});
                }),
         "x.png is a damaged PNG picture (ABCD: unhandled critical chunk)."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const Result<PngPicture> decoded = DecodePng(r.bytes, "x.png", r.limits);
        EXPECT_EQ(decoded.message(), r.problem);
        const PngPicture p = decoded.ok() ? *decoded : PngPicture();
        EXPECT_TRUE(p.IsNull());
        EXPECT_EQ(p.width, 0);
    }
}

// Chunks the reader does not need are skipped: they change no colour, and a damaged one is only
// a warning.
TEST(PngCodec, SkipsAncillaryChunks) {
    const auto before = [](Chunk chunk) {
        return [chunk](std::vector<Chunk>& c) { c.insert(c.end() - 2, chunk); };
    };
    struct Row {
        const char* name;
        std::function<void(std::vector<Chunk>&)> edit;
        std::vector<std::string> warnings = {};
    };
    const Row rows[] = {
        {"a gamma of 0.1", before({"gAMA", {0, 0, 0x27, 0x10}})},
        {"a colour profile that is not one", before({"iCCP", {'x', 0, 0, 1, 2, 3}})},
        {"a private chunk", before({"prVt", {1, 2, 3}})},
        {"text after the pixels",
         [](auto& c) {
             c.insert(c.end() - 1, Chunk{"tEXt", {'a', 0, 'b'}});
         }},
        {"text with a damaged CRC", before({"tEXt", {'a', 0, 'b'}}), {"x.png: tEXt: CRC error"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Bytes png = Edited("rgb8.png", r.edit);
        if (!r.warnings.empty()) png = Flipped(png, CrcAt(png, "tEXt"));
        const Result<PngPicture> decoded = DecodePng(png, "x.png", kLimits);
        EXPECT_EQ(decoded.message(), "");
        const PngPicture p = decoded.ok() ? *decoded : PngPicture();
        EXPECT_EQ(p.pixels, kRgb8Pixels);
        EXPECT_EQ(p.warnings, r.warnings);
    }
}

// tRNS as the files above do not show it: a 16-bit grey is matched before it is scaled to 8 bits,
// and a tRNS that does not fit the picture is left out with a warning.
TEST(PngCodec, TakesTransparencyAtTheStoredDepth) {
    const auto withTrns = [](Bytes trns) {
        return [trns](std::vector<Chunk>& c) { c.insert(c.end() - 2, Chunk{"tRNS", trns}); };
    };
    struct Row {
        const char* name;
        Bytes bytes;
        Colours pixels;
        std::vector<std::string> warnings = {};
    };
    const Row rows[] = {
        {"grey 386 of 16 bits is transparent",
         Edited("gray16.png", withTrns({0x01, 0x82})),
         {Grey(0), Grey(1), Grey(2, 0), Grey(255)}},
        // 255 / 257 rounds to 1, as 385 / 257 does: only the 16-bit value counts.
        {"grey 255 of 16 bits matches no pixel",
         Edited("gray16.png", withTrns({0x00, 0xFF})),
         {Grey(0), Grey(1), Grey(2), Grey(255)}},
        {"more alpha values than palette entries",
         Edited("pal2.png", withTrns({0, 0, 0, 0})),
         {kRed, kGreen, kBlue, kGreen},
         {"x.png: tRNS: invalid"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const Result<PngPicture> decoded = DecodePng(r.bytes, "x.png", kLimits);
        EXPECT_EQ(decoded.message(), "");
        const PngPicture p = decoded.ok() ? *decoded : PngPicture();
        EXPECT_EQ(p.pixels, r.pixels);
        EXPECT_EQ(p.warnings, r.warnings);
    }
}

TEST(PngCodec, ReadsTheHeaderAlone) {
    struct Row {
        const char* name;
        Bytes bytes;
        PngHeader header;
    };
    const Row rows[] = {
        {"grey, 1 bit", ReadSeed("gray1.png"), {8, 2, 1, PngColourType::kGrey, false}},
        {"grey and alpha, 16 bits",
         ReadSeed("graya16.png"),
         {2, 1, 16, PngColourType::kGreyAlpha, false}},
        {"indexed, 4 bits, interlaced",
         ReadSeed("pal4-adam7.png"),
         {10, 7, 4, PngColourType::kIndexed, true}},
        {"RGBA, 16 bits, interlaced",
         ReadSeed("rgba16-adam7.png"),
         {10, 7, 16, PngColourType::kRgbAlpha, true}},
        {"RGB and tRNS", ReadSeed("rgb8-trns.png"), {3, 1, 8, PngColourType::kRgb, false}},
        {"30000 x 30000, nothing but the header",
         Resized(30000, 30000, true),
         {30000, 30000, 8, PngColourType::kRgb, false}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const Result<PngHeader> h = ReadPngHeader(r.bytes, "x.png");
        ASSERT_TRUE(h.ok()) << h.message();
        EXPECT_EQ(h->width, r.header.width);
        EXPECT_EQ(h->height, r.header.height);
        EXPECT_EQ(h->bitDepth, r.header.bitDepth);
        EXPECT_EQ(h->colourType, r.header.colourType);
        EXPECT_EQ(h->interlaced, r.header.interlaced);
    }
    for (const auto& [bytes, want] :
         {std::pair{Bytes{}, "x.png is empty."},
          {Bytes{'G', 'I', 'F'}, "x.png is not a PNG picture."},
          {Cut("rgb8.png", 30), "x.png is cut short."},
          {Resized(0, 1, true), "x.png is a damaged PNG picture (Image width is zero in IHDR)."}}) {
        const Result<PngHeader> h = ReadPngHeader(bytes, "x.png");
        EXPECT_FALSE(h.ok());
        EXPECT_EQ(h.message(), want);
    }
}

RgbImage RandomPicture(std::mt19937& random, int w, int h) {
    RgbImage picture(w, h);
    // Few colours in runs, as exported cels have, or noise.
    const bool noise = random() % 2 == 0;
    std::uint32_t colour = kBlack;
    for (std::uint32_t& pixel : picture.pixels) {
        if (noise || random() % 8 == 0) colour = static_cast<std::uint32_t>(random()) | 0xFF000000u;
        pixel = colour;
    }
    return picture;
}

// The PNG's chunk types in order; a run of one type (several IDAT chunks) counts once.
std::vector<std::string> ChunkTypes(const Bytes& png) {
    std::vector<std::string> types;
    for (const Chunk& c : ChunksOf(png)) {
        if (types.empty() || types.back() != c.type) types.push_back(c.type);
    }
    return types;
}

TEST(PngCodec, WrittenPicturesReadBack) {
    std::mt19937 random(14);
    const std::pair<int, int> sizes[] = {{1, 1}, {2, 3}, {128, 128}, {200, 1}, {1, 200}, {33, 17}};
    for (int round = 0; round < 40; ++round) {
        const auto [w, h] = sizes[static_cast<std::size_t>(round) % std::size(sizes)];
        const int level = round % 10;
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h) + " at level " +
                     std::to_string(level));
        const RgbImage picture = RandomPicture(random, w, h);
        const Bytes png = EncodePng(picture, level);
        EXPECT_EQ(ChunkTypes(png), (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
        const Bytes ihdr = ChunksOf(png)[0].data;
        EXPECT_EQ(Bytes(ihdr.begin() + 8, ihdr.end()), (Bytes{8, 2, 0, 0, 0}));  // 8-bit RGB
        const Result<PngPicture> decoded = DecodePng(png, "x.png", {200, 40000});
        ASSERT_EQ(decoded.message(), "");
        const PngPicture back = decoded.ok() ? *decoded : PngPicture();
        EXPECT_FALSE(back.indexed);
        EXPECT_EQ(back.width, w);
        EXPECT_EQ(back.height, h);
        EXPECT_EQ(back.pixels, picture.pixels);
    }
}

TEST(PngCodec, WritesAtTheCompressionLevelAskedFor) {
    RgbImage stripes(128, 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) stripes.Set(x, y, x / 8 % 2 ? kRed : kBlue);
    const std::size_t stored = EncodePng(stripes, 0).size();
    const std::size_t smallest = EncodePng(stripes, 9).size();
    EXPECT_GT(stored, 128u * 128u * 3u);  // level 0 stores every byte
    EXPECT_LT(smallest, 1000u);
    EXPECT_TRUE(EncodePng(stripes, 10).empty());
    EXPECT_TRUE(EncodePng(stripes, -1).empty());
    EXPECT_TRUE(EncodePng(RgbImage(), 6).empty());
}

// Files are read as what they must be: never waited for, never read past the largest size.
TEST(PngCodec, ReadsOnlyRegularFilesOfBoundedSize) {
    TempDir dir;
    const std::string fifo = dir.Path("fifo.png");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string huge = dir.Write("huge.png", ReadSeed("rgb8.png"));
    ASSERT_EQ(::truncate(huge.c_str(), static_cast<off_t>(kMaxPngFileSize + 1)), 0);
    std::filesystem::create_directory(dir.Path("folder.png"));
    struct Row {
        std::string path;
        std::string problem;
    };
    const Row rows[] = {
        {dir.Write("good.png", ReadSeed("rgb8.png")), ""},
        {dir.Write("empty.png", {}), "ship.png is empty."},
        {fifo, "Cannot read ship.png: it is a named pipe, not a regular file."},
        {"/dev/zero", "Cannot read ship.png: it is a character device, not a regular file."},
        {huge, "Cannot read ship.png: it is longer than 33554432 bytes."},
        {dir.Path("folder.png"), "Cannot read ship.png: Is a directory."},
        {dir.Path("missing.png"), "Cannot open ship.png: No such file or directory."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        const Result<PngPicture> read = ReadPngFile(r.path, "ship.png", kLimits);
        EXPECT_EQ(read.message(), r.problem);
        const PngPicture p = read.ok() ? *read : PngPicture();
        EXPECT_EQ(p.IsNull(), !r.problem.empty());
    }
}

}  // namespace
