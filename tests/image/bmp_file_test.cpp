// Our BMP reader on small pictures built byte by byte in every layout it reads, the files it must
// refuse (each from what its own header announces), and the writer against the reader and
// against Qt's reader.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QImage>

#include "image/bmp_file.h"
#include "temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A BMP file image: file header, an info header of infoSize bytes (12: the old core header),
// colour masks after a 40-byte header for compressions 3 and 6, the colour table, the pixels.
struct Bmp {
    int infoSize = 40;
    int width = 2;
    int height = 2;  // negative: rows from the top
    int bitsPerPixel = 24;
    std::uint32_t compression = 0;
    std::uint32_t tableEntries = 0;  // the header's colour count; 0 = all
    Bytes table{};                   // as stored: 4 (or, with infoSize 12, 3) bytes an entry
    std::vector<std::uint32_t> masks{};
    Bytes pixels{};
    int offsetShift = 0;  // added to the true pixel offset

    Bytes Build() const {
        Bytes info;
        if (infoSize == 12) {
            Put(info, 12, 4);
            Put(info, static_cast<std::uint32_t>(width), 2);
            Put(info, static_cast<std::uint32_t>(height), 2);
            Put(info, 1, 2);
            Put(info, static_cast<std::uint32_t>(bitsPerPixel), 2);
        } else {
            Put(info, static_cast<std::uint32_t>(infoSize), 4);
            Put(info, static_cast<std::uint32_t>(width), 4);
            Put(info, static_cast<std::uint32_t>(height), 4);
            Put(info, 1, 2);
            Put(info, static_cast<std::uint32_t>(bitsPerPixel), 2);
            Put(info, compression, 4);
            Put(info, static_cast<std::uint32_t>(pixels.size()), 4);
            Put(info, 2835, 4);
            Put(info, 2835, 4);
            Put(info, tableEntries, 4);
            Put(info, 0, 4);
            Bytes rest;
            for (std::uint32_t m : masks) Put(rest, m, 4);
            if (infoSize > 40) {
                rest.resize(static_cast<std::size_t>(infoSize - 40), 0);
            }
            info.insert(info.end(), rest.begin(), rest.end());
        }
        Bytes file = {'B', 'M'};
        const std::uint32_t offset =
            static_cast<std::uint32_t>(14 + info.size() + table.size() + offsetShift);
        Put(file, static_cast<std::uint32_t>(offset + pixels.size()), 4);
        Put(file, 0, 4);
        Put(file, offset, 4);
        file.insert(file.end(), info.begin(), info.end());
        file.insert(file.end(), table.begin(), table.end());
        file.insert(file.end(), pixels.begin(), pixels.end());
        return file;
    }
};

constexpr std::uint32_t kRed = Rgb(255, 0, 0);
constexpr std::uint32_t kGreen = Rgb(0, 255, 0);
constexpr std::uint32_t kBlue = Rgb(0, 0, 255);
constexpr std::uint32_t kGrey = Rgb(10, 20, 30);

// Colour table entries as stored: blue, green, red, unused.
Bytes Table(std::initializer_list<std::uint32_t> colours, int entrySize = 4) {
    Bytes out;
    for (std::uint32_t c : colours) {
        out.push_back(static_cast<std::uint8_t>(c));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
        out.push_back(static_cast<std::uint8_t>(c >> 16));
        if (entrySize == 4) out.push_back(0);
    }
    return out;
}

// The 2 x 2 picture every layout below stores: red, green on the top row; blue, grey below.
const std::vector<std::uint32_t> kPicture = {kRed, kGreen, kBlue, kGrey};

TEST(BmpFile, ReadsEveryLayout) {
    const Bytes table = Table({kRed, kGreen, kBlue, kGrey});
    struct Row {
        const char* name;
        Bmp bmp;
        std::vector<std::uint32_t> want = kPicture;
    };
    const Row rows[] = {
        {"24 bits, rows from the bottom, padded to 4 bytes",
         {.pixels = {255, 0, 0, 30, 20, 10, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0}}},
        {"24 bits, rows from the top",
         {.height = -2, .pixels = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 30, 20, 10, 0, 0}}},
        {"32 bits, the fourth byte ignored",
         {.bitsPerPixel = 32, .pixels = {255, 0, 0, 9, 30, 20, 10, 9, 0, 0, 255, 9, 0, 255, 0, 9}}},
        {"8 bits, a table of four",
         {.bitsPerPixel = 8,
          .tableEntries = 4,
          .table = table,
          .pixels = {2, 3, 0, 0, 0, 1, 0, 0}}},
        {"4 bits",
         {.bitsPerPixel = 4,
          .tableEntries = 4,
          .table = table,
          .pixels = {0x23, 0, 0, 0, 0x01, 0, 0, 0}}},
        {"1 bit, the whole table of two",
         {.bitsPerPixel = 1,
          .table = Table({kRed, kBlue}),
          .pixels = {0x40, 0, 0, 0, 0x80, 0, 0, 0}},
         {kBlue, kRed, kRed, kBlue}},
        {"16 bits, 5-5-5, each channel scaled to 0..255",
         {.bitsPerPixel = 16, .pixels = {0x1F, 0x00, 0x00, 0x7C, 0xE0, 0x03, 0x21, 0x04}},
         {kGreen, Rgb(8, 8, 8), kBlue, kRed}},
        {"16 bits, 5-6-5 masks after the info header",
         {.bitsPerPixel = 16,
          .compression = 3,
          .masks = {0xF800, 0x07E0, 0x001F},
          .pixels = {0x1F, 0x00, 0x00, 0xF8, 0xE0, 0x07, 0x00, 0x00}},
         {kGreen, Rgb(0, 0, 0), kBlue, kRed}},
        {"32 bits, masks inside a V5 header",
         {.infoSize = 124,
          .bitsPerPixel = 32,
          .compression = 3,
          .masks = {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF},
          .pixels = {0, 0, 0, 255, 0, 10, 20, 30, 0, 255, 0, 0, 0, 0, 255, 0}}},
        {"the old core header with 3-byte table entries",
         {.infoSize = 12,
          .bitsPerPixel = 8,
          .table = Table({kRed, kGreen, kBlue, kGrey}, 3),
          .pixels = {2, 3, 0, 0, 0, 1, 0, 0}}},
        {"8-bit runs: runs, an end of line, the end",
         {.bitsPerPixel = 8,
          .compression = 1,
          .tableEntries = 4,
          .table = table,
          .pixels = {1, 2, 1, 3, 0, 0, 1, 0, 1, 1, 0, 1}}},
        {"8-bit runs: a literal run of three, padded to a whole word",
         {.width = 3,
          .height = 1,
          .bitsPerPixel = 8,
          .compression = 1,
          .tableEntries = 4,
          .table = table,
          .pixels = {0, 3, 2, 3, 0, 0, 0, 1}},
         {kBlue, kGrey, kRed}},
        {"8-bit runs: a jump leaves entry 0",
         {.bitsPerPixel = 8,
          .compression = 1,
          .tableEntries = 4,
          .table = table,
          .pixels = {0, 2, 1, 1, 1, 1, 0, 1}},
         {kRed, kGreen, kRed, kRed}},
        {"8-bit runs past the right edge are cut there (encoders pad rows); no end mark",
         {.bitsPerPixel = 8,
          .compression = 1,
          .tableEntries = 4,
          .table = table,
          .pixels = {4, 2, 0, 0, 3, 1}},
         {kGreen, kGreen, kBlue, kBlue}},
        {"4-bit runs: two indices alternate",
         {.bitsPerPixel = 4,
          .compression = 2,
          .tableEntries = 4,
          .table = table,
          .pixels = {2, 0x23, 0, 0, 2, 0x01, 0, 1}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::string reason;
        const RgbImage image = DecodeBmp(r.bmp.Build(), reason);
        ASSERT_EQ(reason, "");
        ASSERT_EQ(image.width, r.bmp.width);
        ASSERT_EQ(image.height, std::abs(r.bmp.height));
        EXPECT_EQ(image.pixels, r.want);
    }
}

TEST(BmpFile, RefusesWhatItsHeaderDoesNotBackUp) {
    const Bytes table = Table({kRed, kGreen});
    const Bytes good = Bmp{.pixels = Bytes(16, 0)}.Build();
    Bytes notBm = good;
    notBm[0] = 'P';
    Bytes cut = good;
    cut.pop_back();
    struct Row {
        const char* name;
        Bytes bytes;
        const char* reason;
    };
    const Row rows[] = {
        {"empty", {}, "it does not start with \"BM\""},
        {"another format", notBm, "it does not start with \"BM\""},
        {"an unknown header size", Bmp{.infoSize = 20}.Build(), "its header size 20 is not"},
        {"the header cut short", Bytes(good.begin(), good.begin() + 30),
         "its header ends past the end of the file"},
        {"the last byte missing", cut,
         "its pixel data ends past the end of the file (1 byte is missing)"},
        {"pixels announced past the end", Bmp{.pixels = Bytes(16, 0), .offsetShift = 100}.Build(),
         "its pixel data starts past the end of the file"},
        {"pixels announced inside the header",
         Bmp{.pixels = Bytes(16, 0), .offsetShift = -4}.Build(),
         "its pixel data starts inside its header"},
        {"no width", Bmp{.width = 0, .pixels = Bytes(16, 0)}.Build(),
         "its size of 0 x 2 pixels is empty"},
        {"30000 x 30000 pixels in a file of 70 bytes",
         Bmp{.width = 30000, .height = 30000, .pixels = Bytes(16, 0)}.Build(),
         "it is 30000 x 30000 pixels, more than the 4194304 pixels read"},
        {"an index past the colour table",
         Bmp{.bitsPerPixel = 8,
             .tableEntries = 2,
             .table = table,
             .pixels = {0, 1, 0, 0, 2, 0, 0, 0}}
             .Build(),
         "a pixel uses colour 2 of a table of 2"},
        {"a colour table longer than the bits allow",
         Bmp{.bitsPerPixel = 1,
             .tableEntries = 3,
             .table = Table({kRed, kRed, kRed}),
             .pixels = Bytes(8, 0)}
             .Build(),
         "its colour table of 3 entries is too long"},
        {"24 bits run-length coded", Bmp{.compression = 1, .pixels = Bytes(16, 0)}.Build(),
         "24 bits per pixel with compression 1 are not read"},
        {"a literal run longer than the data",
         Bmp{.bitsPerPixel = 8, .compression = 1, .table = table, .pixels = {0, 5, 1, 1}}.Build(),
         "its run-length data ends inside a run"},
        {"a run of an index past the colour table",
         Bmp{.bitsPerPixel = 8, .compression = 1, .table = table, .pixels = {2, 7, 0, 1}}.Build(),
         "a pixel uses colour 7 of a table of 2"},
        // Each run of 255 would carry the column further right without bound.
        {"a run that starts past the right edge",
         Bmp{.width = 1,
             .height = 1,
             .bitsPerPixel = 8,
             .compression = 1,
             .table = table,
             .pixels = {255, 1, 255, 1, 0, 1}}
             .Build(),
         "a run starts past the right edge of row 0"},
        {"a jump past the top",
         Bmp{.bitsPerPixel = 8, .compression = 1, .table = table, .pixels = {0, 2, 0, 3, 0, 1}}
             .Build(),
         "a jump in its run-length data leaves the picture"},
        {"an end of line above the top row",
         Bmp{.height = 1,
             .bitsPerPixel = 8,
             .compression = 1,
             .table = table,
             .pixels = {0, 0, 0, 0, 1, 1}}
             .Build(),
         "its run-length data goes on above the top row"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::string reason;
        EXPECT_TRUE(DecodeBmp(r.bytes, reason).IsNull());
        EXPECT_EQ(reason.rfind(r.reason, 0), 0u) << reason;
    }
}

TEST(BmpFile, WrittenPicturesReadBackHereAndInQt) {
    for (const auto& [w, h] : {std::pair{1, 1}, {3, 2}, {128, 128}, {5, 7}}) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        RgbImage picture(w, h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) picture.Set(x, y, Rgb(x * 37, y * 11, x ^ y));
        }
        const Bytes bytes = EncodeBmp(picture);
        std::string reason;
        EXPECT_EQ(DecodeBmp(bytes, reason), picture);
        const QImage qt = QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
        ASSERT_EQ(qt.width(), w);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) ASSERT_EQ(qt.pixel(x, y), picture.At(x, y));
        }
    }
}

// Pictures as ImageMagick writes them (the fuzzer's seeds but the hostile-* ones: 1, 8, 24 and 32
// bits, run-length coded, V5 headers) read as Qt's own reader reads them. Channels narrower than 8
// bits are left out: we scale them to the full 0..255 (white stays white), Qt to 0..248.
TEST(BmpFile, ReadsRealFilesAsQtDoes) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SPRITEHEX_BMP_SEEDS)) {
        SCOPED_TRACE(entry.path().filename().string());
        const std::string name = entry.path().filename().string();
        if (name == "rgb565.bmp" || name.starts_with("hostile-")) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const Bytes bytes{std::istreambuf_iterator<char>(in), {}};
        std::string reason;
        const RgbImage ours = DecodeBmp(bytes, reason);
        ASSERT_EQ(reason, "");
        const QImage qt = QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "BMP")
                              .convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(ours.width, qt.width());
        ASSERT_EQ(ours.height, qt.height());
        for (int y = 0; y < ours.height; ++y) {
            for (int x = 0; x < ours.width; ++x) {
                ASSERT_EQ(ours.At(x, y), qt.pixel(x, y)) << x << ", " << y;
            }
        }
        ++files;
    }
    EXPECT_GE(files, 5);
}

// Files are read as what they must be: never waited for, never read past the largest size.
TEST(BmpFile, ReadsOnlyRegularFilesOfBoundedSize) {
    TempDir dir;
    const std::string fifo = dir.Path("fifo.bmp");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string huge = dir.Path("huge.bmp");
    dir.Write("huge.bmp", Bmp{.pixels = Bytes(16, 0)}.Build());
    ASSERT_EQ(::truncate(huge.c_str(), static_cast<off_t>(kMaxBmpFileSize + 1)), 0);
    std::filesystem::create_directory(dir.Path("folder.bmp"));
    struct Row {
        std::string path;
        std::string problem;
    };
    const Row rows[] = {
        {fifo, "Cannot read pic: it is a named pipe, not a regular file."},
        {"/dev/zero", "Cannot read pic: it is a character device, not a regular file."},
        {huge, "Cannot read pic: it is longer than 33554432 bytes."},
        {dir.Path("folder.bmp"), "Cannot read pic: Is a directory."},
        {dir.Path("missing.bmp"), "Cannot open pic: No such file or directory."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        const Result<RgbImage> read = ReadBmpFile(r.path, "pic");
        EXPECT_FALSE(read.ok());
        EXPECT_EQ(read.message(), r.problem);
    }
}

}  // namespace
