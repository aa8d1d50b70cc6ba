#include "imgctl/imgctl.h"

#include <cstring>
#include <map>

#include <QImage>
#include <QString>

#include "imgctl/png_file.h"

namespace {

struct Library {
    std::map<ImgHandle, QImage> images;
    ImgHandle next = 1;
};

Library& TheLibrary() {
    static Library library;
    return library;
}

QImage* Find(ImgHandle handle) {
    auto& images = TheLibrary().images;
    const auto it = images.find(handle);
    return it == images.end() ? nullptr : &it->second;
}

}  // namespace

void FillPngOptions(PngOptions& options, ImgHandle, const char*, bool withFilter) {
    options.flags = kPngFlagBase;
    options.compression = kPngCompressionLevel;
    if (withFilter) {
        options.flags |= kPngFlagFilter;
        options.filter = 0;
    }
    options.textChunks = 0;
    options.gammaChunk = 0;
}

ImgHandle ImgLoadBmp(const char* path) {
    if (path == nullptr) return 0;
    QImage image;
    if (!image.load(QString::fromLocal8Bit(path), "BMP") || image.isNull()) return 0;
    Library& library = TheLibrary();
    ImgHandle handle = library.next++;
    if (handle == 0) handle = library.next++;  // 0 means failure; skip it when the count wraps
    library.images[handle] = std::move(image);
    return handle;
}

int ImgPrepare(ImgHandle handle, std::uint32_t mode, std::uint32_t reserved) {
    QImage* image = Find(handle);
    if (image == nullptr || mode != kPrepareRgb8 || reserved != 0) return 0;
    *image = image->convertToFormat(QImage::Format_RGB888);
    return image->isNull() ? 0 : 1;
}

int ImgSavePng(const char* outputName, ImgHandle handle, const PngOptions* options) {
    const QImage* image = Find(handle);
    if (image == nullptr || outputName == nullptr || options == nullptr) return 0;
    if (!(options->flags & kPngFlagBase) || options->compression > 9) return 0;
    if (options->textChunks != 0 || options->gammaChunk != 0) return 0;
    return WritePngFile(*image, QString::fromLocal8Bit(outputName), options->compression) ? 1 : 0;
}

void ImgRelease(ImgHandle handle) {
    TheLibrary().images.erase(handle);
}
