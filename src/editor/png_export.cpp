// The PNG export of key P: the current cel at twice its size, assembled from the colour strip,
// written as temp.bmp and turned into the chosen PNG file by the image library.

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <unistd.h>

#include "editor/editor_window.h"
#include "editor/image_library.h"
#include "image/bmp_file.h"
#include "image/colour_strip.h"

QString TempBitmapDir(const QString& programDir) {
    if (::access(QFile::encodeName(programDir).constData(), W_OK) == 0) return programDir;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    QDir().mkpath(cache);
    return cache;
}

void TForm1::SetTempBitmapDir(const QString& dir) {
    tempBitmapPath_ = QDir(dir).filePath(QStringLiteral("temp.bmp"));
}

void TForm1::ExportPng() {
    DocumentNames& names = doc_.Names();
    const std::optional<QString> path = prompts_.AskExportPath(
        names.exportName.empty() ? ProposedPath(QStringLiteral(".png"))
                                 : QFile::decodeName(names.exportName.c_str()));
    activateWindow();
    if (!path) return;
    // The dialog keeps the chosen name and proposes it next time.
    const QByteArray outputName = QFile::encodeName(*path);
    names.exportName = outputName.toStdString();

    imgSave_ =
        AssembleExportImage(colourStrip_, doc_.CurrentCelPixels(), doc_.Width(), doc_.Height());
    // temp.bmp is ours alone: a link or another name in its place is replaced, never written
    // through.
    WriteOptions scratch;
    scratch.links = LinkRule::kReplace;
    const Result<> temp = WriteBmpFile(
        imgSave_, QFile::encodeName(tempBitmapPath_).toStdString(),
        "the temporary picture " + QDir::toNativeSeparators(tempBitmapPath_).toStdString(),
        scratch);
    if (!temp.ok()) {
        ErrorBox(temp.message());
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
    if (written == 1) return;
    if (const std::string why = imageLibrary_->LastResult().message(); !why.empty()) {
        ErrorBox(why);
    } else {
        PlainErrorBox();
    }
}
