#include "editor/image_library.h"

namespace {

class ImgCtlLibrary : public ImageLibrary {
  public:
    ImgHandle LoadBmp(const char* path) override { return ImgLoadBmp(path); }
    int Prepare(ImgHandle handle, std::uint32_t mode, std::uint32_t reserved) override {
        return ImgPrepare(handle, mode, reserved);
    }
    int SavePng(const char* outputName, ImgHandle handle, const PngOptions* options) override {
        return ImgSavePng(outputName, handle, options);
    }
    void Release(ImgHandle handle) override { ImgRelease(handle); }
};

}  // namespace

ImageLibrary& TheImageLibrary() {
    static ImgCtlLibrary library;
    return library;
}
