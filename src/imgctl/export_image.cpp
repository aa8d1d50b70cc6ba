#include "imgctl/export_image.h"

bool ColourStripFits(const QImage& colourStrip) {
    return colourStrip.width() >= 15 * kColourSwatchWidth + 2 && colourStrip.height() >= 2;
}

QImage AssembleExportImage(const QImage& colourStrip, const std::uint8_t* cel, int width,
                           int height) {
    const QImage strip = colourStrip.convertToFormat(QImage::Format_RGB32);
    QImage out(2 * width, 2 * height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int v = cel[y * width + x] & 15;
            for (int dy = 0; dy < 2; ++dy) {
                const auto* src =
                    reinterpret_cast<const QRgb*>(strip.constScanLine(dy)) + v * kColourSwatchWidth;
                auto* dst = reinterpret_cast<QRgb*>(out.scanLine(2 * y + dy)) + 2 * x;
                dst[0] = src[0];
                dst[1] = src[1];
            }
        }
    }
    return out;
}
