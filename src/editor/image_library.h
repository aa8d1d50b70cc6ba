#pragma once
// The image library's four calls as the PNG export makes them, behind an interface so that tests
// can watch the calls and their arguments. The program uses TheImageLibrary(), which calls
// imgctl.h.

#include <cstdint>

#include "imgctl/imgctl.h"

class ImageLibrary {
  public:
    virtual ~ImageLibrary() = default;
    // Loads a BMP file; a nonzero handle, or 0 when it cannot be read.
    virtual ImgHandle LoadBmp(const char* path) = 0;
    virtual int Prepare(ImgHandle handle, std::uint32_t mode, std::uint32_t reserved) = 0;
    // 1 when the PNG file was written, 0 otherwise.
    virtual int SavePng(const char* outputName, ImgHandle handle, const PngOptions* options) = 0;
    virtual void Release(ImgHandle handle) = 0;
    // Why the last load or write failed, naming the file.
    virtual Result<> LastResult() { return ImgLastResult(); }
};

ImageLibrary& TheImageLibrary();
