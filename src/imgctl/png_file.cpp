#include "imgctl/png_file.h"

#include <QBuffer>
#include <QImageWriter>
#include <QSaveFile>

bool WritePngFile(const QImage& image, const QString& path, int compression, QString* error) {
    const auto fail = [error](const QString& reason) {
        if (error != nullptr) *error = reason;
        return false;
    };
    if (image.isNull()) return fail(QStringLiteral("there is no picture to write"));
    // The picture is encoded in memory first (an exported cel is at most 128 x 128 pixels), so
    // that a failing disk meets our own write and not the encoder, which does not clean up after
    // a failed write.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // Qt's PNG writer takes a quality from 0 (smallest) to 100 (fastest).
    writer.setQuality(100 - compression * 100 / 9);
    if (!writer.write(image)) return fail(writer.errorString());

    // The new file replaces the old one only once it is complete. In a folder we may not write
    // to, an existing file we may write is overwritten in place instead: the user asked for the
    // picture there, and a failure is still reported.
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) return fail(file.errorString());
    if (file.write(png) != png.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit()) return fail(file.errorString());
    return true;
}
