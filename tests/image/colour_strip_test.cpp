#include <gtest/gtest.h>

#include "image/colour_strip.h"

namespace {

// A strip 256 x 2 where every pixel has its own colour, so a copied block shows where it came from.
RgbImage DistinctStrip() {
    RgbImage strip(256, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 256; ++x) strip.Set(x, y, Rgb(x, y * 100, 7));
    return strip;
}

// At another scale (the desktop icons) the 2 x 2 block is enlarged pixel by pixel.
TEST(ExportImage, EveryPixelBecomesItsColoursBlock) {
    struct Row {
        const char* name;
        int w, h, scale;
    };
    const Row rows[] = {{"8x8", 8, 8, 2},        {"64x64", 64, 64, 2},    {"1x1", 1, 1, 2},
                        {"not square", 5, 3, 2}, {"one to one", 5, 3, 1}, {"odd scale", 5, 3, 3},
                        {"icon 256", 16, 16, 16}};
    const RgbImage strip = DistinctStrip();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::vector<std::uint8_t> cel(static_cast<std::size_t>(r.w * r.h));
        for (std::size_t i = 0; i < cel.size(); ++i)
            cel[i] = static_cast<std::uint8_t>((i * 7) % 16);
        const RgbImage out = r.scale == 2
                                 ? AssembleExportImage(strip, cel.data(), r.w, r.h)
                                 : AssembleExportImage(strip, cel.data(), r.w, r.h, r.scale);
        const int s = r.scale;
        ASSERT_EQ(out.width, s * r.w);
        ASSERT_EQ(out.height, s * r.h);
        for (int y = 0; y < s * r.h; ++y) {
            for (int x = 0; x < s * r.w; ++x) {
                const int v = cel[static_cast<std::size_t>((y / s) * r.w + x / s)];
                ASSERT_EQ(out.At(x, y), strip.At(v * 16 + x % s * 2 / s, y % s * 2 / s))
                    << x << "," << y;
            }
        }
    }
}

TEST(ExportImage, PixelThreeTwoOfColourFiveComesFromX80) {
    std::vector<std::uint8_t> cel(64, 0);
    cel[2 * 8 + 3] = 5;
    const RgbImage strip = DistinctStrip();
    const RgbImage out = AssembleExportImage(strip, cel.data(), 8, 8);
    EXPECT_EQ(out.At(6, 4), strip.At(80, 0));
    EXPECT_EQ(out.At(7, 4), strip.At(81, 0));
    EXPECT_EQ(out.At(6, 5), strip.At(80, 1));
    EXPECT_EQ(out.At(7, 5), strip.At(81, 1));
    EXPECT_EQ(out.At(8, 4), strip.At(0, 0));
}

TEST(ExportImage, StripSizeCheck) {
    EXPECT_TRUE(ColourStripFits(RgbImage(242, 2)));
    EXPECT_FALSE(ColourStripFits(RgbImage(241, 2)));
    EXPECT_FALSE(ColourStripFits(RgbImage(256, 1)));
}

}  // namespace
