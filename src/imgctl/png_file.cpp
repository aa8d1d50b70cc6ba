#include "imgctl/png_file.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

std::vector<std::uint8_t> EncodePng(const RgbImage& image, int compression) {
    if (image.IsNull()) return {};
    QImage picture(image.width, image.height, QImage::Format_RGB888);
    for (int y = 0; y < image.height; ++y) {
        uchar* line = picture.scanLine(y);
        const std::uint32_t* row = image.Row(y);
        for (int x = 0; x < image.width; ++x) {
            line[3 * x] = static_cast<uchar>(row[x] >> 16);
            line[3 * x + 1] = static_cast<uchar>(row[x] >> 8);
            line[3 * x + 2] = static_cast<uchar>(row[x]);
        }
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // Qt's PNG writer takes a quality from 0 (smallest) to 100 (fastest).
    writer.setQuality(100 - compression * 100 / 9);
    if (!writer.write(picture)) return {};
    return {png.begin(), png.end()};
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
