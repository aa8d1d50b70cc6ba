#include <gtest/gtest.h>
#include <QImage>

#include "imgctl/export_image.h"

namespace {

// A strip 256 x 2 where every pixel has its own colour, so a copied block shows where it came from.
QImage DistinctStrip() {
    QImage strip(256, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 256; ++x) strip.setPixel(x, y, qRgb(x, y * 100, 7));
    return strip;
}

TEST(ExportImage, EveryPixelBecomesItsColoursBlock) {
    struct Row {
        const char* name;
        int w, h;
    };
    const Row rows[] = {{"8x8", 8, 8}, {"64x64", 64, 64}, {"1x1", 1, 1}, {"not square", 5, 3}};
    const QImage strip = DistinctStrip();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::vector<std::uint8_t> cel(static_cast<std::size_t>(r.w * r.h));
        for (std::size_t i = 0; i < cel.size(); ++i)
            cel[i] = static_cast<std::uint8_t>((i * 7) % 16);
        const QImage out = AssembleExportImage(strip, cel.data(), r.w, r.h);
        ASSERT_EQ(out.size(), QSize(2 * r.w, 2 * r.h));
        for (int y = 0; y < 2 * r.h; ++y) {
            for (int x = 0; x < 2 * r.w; ++x) {
                const int v = cel[static_cast<std::size_t>((y / 2) * r.w + x / 2)];
                ASSERT_EQ(out.pixel(x, y), strip.pixel(v * 16 + x % 2, y % 2)) << x << "," << y;
            }
        }
    }
}

TEST(ExportImage, PixelThreeTwoOfColourFiveComesFromX80) {
    std::vector<std::uint8_t> cel(64, 0);
    cel[2 * 8 + 3] = 5;
    const QImage strip = DistinctStrip();
    const QImage out = AssembleExportImage(strip, cel.data(), 8, 8);
    EXPECT_EQ(out.pixel(6, 4), strip.pixel(80, 0));
    EXPECT_EQ(out.pixel(7, 4), strip.pixel(81, 0));
    EXPECT_EQ(out.pixel(6, 5), strip.pixel(80, 1));
    EXPECT_EQ(out.pixel(7, 5), strip.pixel(81, 1));
    EXPECT_EQ(out.pixel(8, 4), strip.pixel(0, 0));
}

TEST(ExportImage, StripSizeCheck) {
    EXPECT_TRUE(ColourStripFits(QImage(242, 2, QImage::Format_RGB32)));
    EXPECT_FALSE(ColourStripFits(QImage(241, 2, QImage::Format_RGB32)));
    EXPECT_FALSE(ColourStripFits(QImage(256, 1, QImage::Format_RGB32)));
}

}  // namespace
