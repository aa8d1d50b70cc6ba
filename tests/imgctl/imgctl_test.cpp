#include <csignal>
#include <cstring>
#include <random>

#include <sys/resource.h>

#include <gtest/gtest.h>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include "imgctl/imgctl.h"

namespace {

QImage TestPicture() {
    QImage image(6, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) image.setPixel(x, y, qRgb(x * 40, y * 60, (x + y) * 20));
    return image;
}

std::string Path(const QTemporaryDir& dir, const char* name) {
    return dir.filePath(name).toStdString();
}

TEST(ImgCtl, OptionsRecordIsFilledExactlyAsTheExportExpects) {
    struct Row {
        const char* name;
        bool withFilter;
        std::uint8_t expected[36];
    };
    constexpr std::uint8_t U = 0xAA;  // bytes that must stay as they were
    const Row rows[] = {
        {"export: flags 9, level 9, filter 0", true, {9, 0, 0, 0, 9, 0, U, U, U, U, U, U,
                                                      U, U, U, U, 0, 0, 0, 0, U, U, U, U,
                                                      U, U, U, U, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"without the filter: bit 3 clear, filter unset",
         false,
         {1, 0, 0, 0, 9, 0, U, U, U, U, U, U, U, U, U, U, U, U,
          U, U, U, U, U, U, U, U, U, U, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        PngOptions options;
        std::memset(&options, U, sizeof options);
        FillPngOptions(options, 7, "out.png", r.withFilter);
        EXPECT_EQ(std::memcmp(&options, r.expected, sizeof options), 0);
    }
}

TEST(ImgCtl, LoadPrepareSaveRelease) {
    QTemporaryDir dir;
    ASSERT_TRUE(TestPicture().save(dir.filePath("in.bmp"), "BMP"));
    const ImgHandle a = ImgLoadBmp(Path(dir, "in.bmp").c_str());
    const ImgHandle b = ImgLoadBmp(Path(dir, "in.bmp").c_str());
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    EXPECT_NE(a, b);
    EXPECT_EQ(ImgPrepare(a, kPrepareRgb8, 0), 1);
    PngOptions options{};
    FillPngOptions(options, a, "out.png", true);
    EXPECT_EQ(ImgSavePng(Path(dir, "out.png").c_str(), a, &options), 1);
    QImage written(dir.filePath("out.png"), "PNG");
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), TestPicture());
    ImgRelease(a);
    EXPECT_EQ(ImgSavePng(Path(dir, "again.png").c_str(), a, &options), 0) << "a released handle";
    EXPECT_EQ(ImgSavePng(Path(dir, "b.png").c_str(), b, &options), 1) << "other handles live on";
    ImgRelease(b);
}

TEST(ImgCtl, FailuresAreReported) {
    QTemporaryDir dir;
    ASSERT_TRUE(TestPicture().save(dir.filePath("in.bmp"), "BMP"));
    QFile text(dir.filePath("text.bmp"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a bitmap");
    text.close();
    EXPECT_EQ(ImgLoadBmp(Path(dir, "missing.bmp").c_str()), 0u);
    EXPECT_EQ(ImgLoadBmp(Path(dir, "text.bmp").c_str()), 0u);
    EXPECT_EQ(ImgLoadBmp(nullptr), 0u);

    const ImgHandle h = ImgLoadBmp(Path(dir, "in.bmp").c_str());
    ASSERT_NE(h, 0u);
    EXPECT_EQ(ImgPrepare(h, 0x12345, 0), 0);
    EXPECT_EQ(ImgPrepare(h + 1000, kPrepareRgb8, 0), 0);
    PngOptions options{};
    FillPngOptions(options, h, "x", true);
    EXPECT_EQ(ImgSavePng(Path(dir, "no/such/dir/out.png").c_str(), h, &options), 0);
    EXPECT_EQ(ImgSavePng(Path(dir, "out.png").c_str(), h, nullptr), 0);
    PngOptions unflagged = options;
    unflagged.flags = 0;
    EXPECT_EQ(ImgSavePng(Path(dir, "out.png").c_str(), h, &unflagged), 0);
    EXPECT_FALSE(QFile::exists(dir.filePath("out.png")));
    ImgRelease(h);
}

// A write that fails part of the way (a full disk; here a limit on the file size) reports the
// failure and leaves the earlier file at the path untouched, with no temporary file beside it.
TEST(ImgCtl, FailedWriteKeepsTheEarlierFile) {
    QTemporaryDir dir;
    QImage noise(128, 128, QImage::Format_RGB32);
    std::mt19937 random(7);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) noise.setPixel(x, y, static_cast<QRgb>(random()));
    ASSERT_TRUE(noise.save(dir.filePath("noise.bmp"), "BMP"));
    QFile earlier(dir.filePath("out.png"));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();
    const ImgHandle h = ImgLoadBmp(Path(dir, "noise.bmp").c_str());
    ASSERT_NE(h, 0u);
    ASSERT_EQ(ImgPrepare(h, kPrepareRgb8, 0), 1);
    PngOptions options{};
    FillPngOptions(options, h, "out.png", true);

    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit small = before;
    small.rlim_cur = 4096;  // the picture needs about 48 KiB
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int written = ImgSavePng(Path(dir, "out.png").c_str(), h, &options);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    ImgRelease(h);

    EXPECT_EQ(written, 0);
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), QByteArray("earlier"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{"noise.bmp", "out.png"}));
}

}  // namespace
