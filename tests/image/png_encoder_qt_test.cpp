// The libpng writer against the Qt writer the PNG export used before it: for every cel of the
// example sprites, assembled from the colour strip as the export assembles it, both pictures
// decode (in Qt's reader, independent of ours) to the same pixels, which are the assembled ones.

#include <gtest/gtest.h>

#include <filesystem>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include "document/sprite_document.h"
#include "document/sprite_file.h"
#include "image/colour_strip.h"
#include "image/png_codec.h"

namespace {

// The PNG the export wrote with Qt: 8-bit RGB, Qt's quality for the zlib level.
std::vector<std::uint8_t> QtEncoded(const RgbImage& image, int level) {
    QImage picture(image.width, image.height, QImage::Format_RGB888);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) picture.setPixel(x, y, image.At(x, y));
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(100 - level * 100 / 9);
    EXPECT_TRUE(writer.write(picture));
    return {png.begin(), png.end()};
}

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
    const Result<RgbImage> read = ReadColourStrip(SPRITEHEX_COLOUR_STRIP, "color.bmp");
    ASSERT_EQ(read.message(), "");
    const RgbImage& strip = *read;
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
                const RgbImage ours = QtDecoded(EncodePng(picture, level));
                EXPECT_EQ(ours, QtDecoded(QtEncoded(picture, level))) << "level " << level;
                EXPECT_EQ(ours, picture) << "level " << level;
            }
            ++cels;
        }
    }
    EXPECT_EQ(cels, 10);
}

}  // namespace
