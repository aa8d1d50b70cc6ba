#include "editor/strips.h"

#include <cstring>

#include <QDir>
#include <QFile>

#include "image/bmp_file.h"
#include "image/colour_strip.h"
#include "image/swatch_zoom.h"

namespace {

std::string Local(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

std::string Shown(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
}

// The picture as Qt paints it.
QImage ToQImage(const RgbImage& image) {
    QImage out(image.width, image.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y) {
        std::memcpy(out.scanLine(y), image.Row(y),
                    static_cast<std::size_t>(image.width) * sizeof(QRgb));
    }
    return out;
}

RgbImage FromQImage(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    RgbImage out(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        std::memcpy(out.Row(y), rgb.constScanLine(y),
                    static_cast<std::size_t>(rgb.width()) * sizeof(QRgb));
    }
    return out;
}

Result<QImage> ReadPalette(const QString& path) {
    const Result<RgbImage> read = ReadBmpFile(Local(path), Shown(path));
    if (!read) return read.error();
    const int w = read->width;
    const int h = read->height;
    if (h > kMaxZoom) {
        return Fail(Failure::kNotUsable, "Cannot use " + Shown(path) + ": its height of " +
                                             std::to_string(h) +
                                             " pixels is the zoom, which must be from 1 to " +
                                             std::to_string(kMaxZoom) + ".");
    }
    if (w < 16 * h) {
        return Fail(Failure::kNotUsable,
                    "Cannot use " + Shown(path) + ": it is " + std::to_string(w) + " x " +
                        std::to_string(h) +
                        " pixels, too narrow for 16 square swatches (at least " +
                        std::to_string(16 * h) + " pixels wide).");
    }
    return ToQImage(*read);
}

}  // namespace

Result<Strips> LoadStrips(const QString& folder) {
    const QDir dir(folder);
    Result<QImage> palette = ReadPalette(dir.filePath(QStringLiteral("pal.bmp")));
    if (!palette) return palette.error();
    const QString colourPath = dir.filePath(QStringLiteral("color.bmp"));
    Result<RgbImage> colourStrip = ReadColourStrip(Local(colourPath), Shown(colourPath));
    if (!colourStrip) return colourStrip.error();
    return Strips{palette.Take(), colourStrip.Take()};
}

QImage PaletteAtZoom(const QImage& palette, int zoom) {
    if (zoom == palette.height()) return palette;
    return ToQImage(ScaleSwatches(FromQImage(palette), zoom));
}
