#pragma once
// Writing a PNG file so that a failure never leaves a half-written file: the picture goes into a
// temporary file beside the target, which replaces the target only once it is complete. Only in a
// folder that cannot be written to is an existing, writable target overwritten in place.

#include <QImage>
#include <QString>

// Writes image as a PNG file at path with zlib compression level 0 (none) to 9 (smallest). On
// failure returns false, leaves any earlier file at path as it was (unless it was being overwritten
// in place) and, when error is given, puts the reason there.
bool WritePngFile(const QImage& image, const QString& path, int compression,
                  QString* error = nullptr);
