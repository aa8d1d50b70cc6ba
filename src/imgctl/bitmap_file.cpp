#include "imgctl/bitmap_file.h"

#include <QDir>
#include <QFile>

#include "imgctl/export_image.h"

QImage ReadBmpFile(const QString& path, std::string& problem) {
    const std::string shown = QDir::toNativeSeparators(path).toStdString();
    QFile file(path);
    if (!file.exists()) {
        problem = "cannot find " + shown + ": there is no such file";
        return {};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        problem = "cannot read " + shown + ": " + file.errorString().toStdString();
        return {};
    }
    QImage image;
    if (!image.loadFromData(file.readAll(), "BMP")) {
        problem = "cannot load " + shown + ": it is not a valid BMP picture";
        return {};
    }
    return image;
}

QImage ReadColourStrip(const QString& path, std::string& problem) {
    QImage strip = ReadBmpFile(path, problem);
    if (strip.isNull() || ColourStripFits(strip)) return strip;
    problem = "cannot use " + QDir::toNativeSeparators(path).toStdString() + ": it is " +
              std::to_string(strip.width()) + " x " + std::to_string(strip.height()) +
              " pixels, smaller than the " + std::to_string(15 * kColourSwatchWidth + 2) +
              " x 2 pixels of 16 colour swatches";
    return {};
}
