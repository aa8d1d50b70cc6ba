// The PNG export of key P: the current cel at twice its size, assembled from the colour strip,
// written as temp.bmp and turned into the chosen PNG file by the image library.

#include <QDir>
#include <QFile>
#include <QImageWriter>

#include "editor/editor_window.h"
#include "editor/image_library.h"
#include "imgctl/export_image.h"

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

// Writes a picture as a Windows BMP file, replacing any file there. On failure returns the reason.
QString WriteBmp(const QImage& image, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return file.errorString();
    QImageWriter writer(&file, "bmp");
    if (!writer.write(image)) {
        return file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
    }
    if (!file.flush()) return file.errorString();
    return {};
}

}  // namespace

ImageLibrary& TheImageLibrary() {
    static ImgCtlLibrary library;
    return library;
}

void TForm1::SetTempBitmapDir(const QString& dir) {
    tempBitmapPath_ = QDir(dir).filePath(QStringLiteral("temp.bmp"));
}

void TForm1::ExportPng() {
    DocumentNames& names = doc_.Names();
    const std::optional<QString> path =
        prompts_.AskExportPath(QFile::decodeName(names.exportName.c_str()));
    activateWindow();
    if (!path) return;
    // The dialog keeps the chosen name and proposes it next time.
    const QByteArray outputName = QFile::encodeName(*path);
    names.exportName = outputName.toStdString();

    imgSave_ =
        AssembleExportImage(colourStrip_, doc_.CurrentCelPixels(), doc_.Width(), doc_.Height());
    if (const QString reason = WriteBmp(imgSave_, tempBitmapPath_); !reason.isEmpty()) {
        ErrorBox("Cannot write the temporary picture " +
                 QDir::toNativeSeparators(tempBitmapPath_).toStdString() + ": " +
                 reason.toStdString());
        return;
    }

    const QByteArray bitmapName = QFile::encodeName(tempBitmapPath_);
    int written = 0;
    if (const ImgHandle handle = imageLibrary_->LoadBmp(bitmapName.constData()); handle != 0) {
        imageLibrary_->Prepare(handle, kPrepareRgb8, 0);
        PngOptions options{};
        FillPngOptions(options, handle, outputName.constData(), true);
        written = imageLibrary_->SavePng(outputName.constData(), handle, &options);
        imageLibrary_->Release(handle);
    }
    // Without this check a PNG that was never written would pass for a successful export.
    if (written != 1) {
        Ask(QStringLiteral("Error"), QStringLiteral("Error"), PromptButtons::kOk,
            PromptIcon::kError);
    }
}
