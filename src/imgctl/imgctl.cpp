#include "imgctl/imgctl.h"

#include <map>

#include "document/sprite_file.h"
#include "image/bmp_file.h"
#include "image/png_codec.h"

namespace {

struct Library {
    std::map<ImgHandle, RgbImage> images;
    ImgHandle next = 1;
    Result<> last;
};

Library& TheLibrary() {
    static Library library;
    return library;
}

RgbImage* Find(ImgHandle handle) {
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

Result<> ImgLastResult() {
    return TheLibrary().last;
}

ImgHandle ImgLoadBmp(const char* path) {
    Library& library = TheLibrary();
    if (path == nullptr) {
        library.last = Fail(Failure::kCannotOpen, "There is no picture to load.");
        return 0;
    }
    Result<RgbImage> image = ReadBmpFile(path, path);
    if (!image) {
        library.last = image.error();
        return 0;
    }
    library.last = {};
    ImgHandle handle = library.next++;
    if (handle == 0) handle = library.next++;  // 0 means failure; skip it when the count wraps
    library.images[handle] = image.Take();
    return handle;
}

// Every picture the library holds is already 8 bits per channel without alpha: preparing checks
// the call.
int ImgPrepare(ImgHandle handle, std::uint32_t mode, std::uint32_t reserved) {
    return Find(handle) != nullptr && mode == kPrepareRgb8 && reserved == 0 ? 1 : 0;
}

int ImgSavePng(const char* outputName, ImgHandle handle, const PngOptions* options) {
    Library& library = TheLibrary();
    const RgbImage* image = Find(handle);
    if (image == nullptr || outputName == nullptr || options == nullptr ||
        !(options->flags & kPngFlagBase) || options->compression > 9 || options->textChunks != 0 ||
        options->gammaChunk != 0) {
        library.last =
            Fail(Failure::kWriteFailed, "The picture cannot be written with these options.");
        return 0;
    }
    // The name is taken as the bytes it is, whatever their encoding.
    const std::string path = outputName;
    library.last = WritePngFile(*image, path, FileNameOfPath(path), options->compression);
    return library.last.ok() ? 1 : 0;
}

void ImgRelease(ImgHandle handle) {
    TheLibrary().images.erase(handle);
}
