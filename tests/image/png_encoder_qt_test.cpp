// The libpng writer against the Qt one the PNG export uses today: for every cel of the example
// sprites, assembled from the colour strip as the export assembles it, both pictures decode (in
// Qt's reader, independent of ours) to the same pixels, which are the assembled ones.

#include <gtest/gtest.h>

#include <filesystem>

#include <QImage>

#include "document/sprite_document.h"
#include "document/sprite_file.h"
#include "image/colour_strip.h"
#include "image/png_codec.h"
#include "imgctl/png_file.h"

namespace {

// The picture a PNG file image holds, as Qt reads it.
RgbImage QtDecoded(const std::vector<std::uint8_t>& png) {
    const QImage qt = QImage::fromData(png.data(), static_cast<int>(png.size()), "PNG")
                          .convertToFormat(QImage::Format_RGB32);
    RgbImage picture(qt.width(), qt.height());
    for (int y = 0; y < qt.height(); ++y)
        for (int x = 0; x < qt.width(); ++x) picture.Set(x, y, qt.pixel(x, y));
    return picture;
}

TEST(PngEncoder, WritesThePixelsOfTheQtWriterForEveryExampleCel) {
    std::string problem;
    const RgbImage strip = ReadColourStrip(SPRITEHEX_COLOUR_STRIP, "color.bmp", problem);
    ASSERT_EQ(problem, "");
    int cels = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SPRITEHEX_EXAMPLES)) {
        if (entry.path().extension() != ".dat") continue;
        TSpriteDocument doc;
        ASSERT_TRUE(LoadSpriteFile(doc, entry.path().string()).ok());
        for (int cel = 0; cel < doc.CelCount(); ++cel) {
            SCOPED_TRACE(entry.path().filename().string() + " cel " + std::to_string(cel));
            const RgbImage picture = AssembleExportImage(
                strip, doc.Buffer() + kHeaderSize + cel * doc.CelSize(), doc.Width(), doc.Height());
            for (const int level : {0, 6, 9}) {
                const RgbImage ours = QtDecoded(EncodePngImage(picture, level));
                EXPECT_EQ(ours, QtDecoded(EncodePng(picture, level))) << "level " << level;
                EXPECT_EQ(ours, picture) << "level " << level;
            }
            ++cels;
        }
    }
    EXPECT_EQ(cels, 9);
}

}  // namespace
