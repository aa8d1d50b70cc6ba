#include <cstring>

#include <gtest/gtest.h>
#include <QFile>
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

}  // namespace
