#include "imgctl/png_file.h"

#include <QImageWriter>
#include <QSaveFile>

bool WritePngFile(const QImage& image, const QString& path, int compression, QString* error) {
    const auto fail = [error](const QString& reason) {
        if (error != nullptr) *error = reason;
        return false;
    };
    if (image.isNull()) return fail(QStringLiteral("there is no picture to write"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return fail(file.errorString());
    QImageWriter writer(&file, "png");
    // Qt's PNG writer takes a quality from 0 (smallest) to 100 (fastest).
    writer.setQuality(100 - compression * 100 / 9);
    if (!writer.write(image)) {
        file.cancelWriting();
        // A device error (a full disk) says more than the writer's own message.
        return fail(file.error() != QFileDevice::NoError ? file.errorString()
                                                         : writer.errorString());
    }
    if (!file.commit()) return fail(file.errorString());
    return true;
}
