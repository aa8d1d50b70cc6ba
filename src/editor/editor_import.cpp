// The picture import of key I: a PNG picture or sprite sheet becomes the document through the same
// import spritehex-cli runs (image/picture_import.h), its colours matched to the colour strip the
// PNG export paints with.

#include <QFile>

#include "document/new_dialog_numbers.h"
#include "document/sprite_file.h"
#include "editor/editor_window.h"
#include "image/picture_import.h"

namespace {

// A picture as the PNG export writes one (every 2 x 2 block one pixel, half of it no larger than a
// cel) comes back as the cel it was: its half. Nothing for any other picture.
std::optional<CelSize> ExportedCel(const PictureShape& shape) {
    if (!shape.halvable) return std::nullopt;
    const CelSize half = WholePictureCel(shape, ImportScale::kAuto);
    if (!CheckCelSize(half.width, half.height)) return std::nullopt;
    return half;
}

// The imported document in place of the current one, as Open loads a file, but named after the
// picture, without a save path (S asks for one) and modified.
void TakeImported(TSpriteDocument& doc, const ImportedDocument& imported,
                  const std::string& picturePath) {
    doc.LoadImage(imported.image.data(), static_cast<int>(imported.image.size()));
    DocumentNames& names = doc.Names();
    names.name = DocumentNameFromPath(picturePath);
    names.savePath.clear();
    names.exportName.clear();
    names.savedStamp.reset();
    doc.MarkModified();
}

// One paragraph for each note.
QString Paragraphs(const std::vector<std::string>& notes) {
    QStringList text;
    for (const std::string& note : notes) text << QString::fromStdString(note);
    return text.join(QStringLiteral("\n\n"));
}

}  // namespace

void TForm1::ImportPng() {
    if (!SavePrompt()) return;
    const std::optional<QString> chosen = prompts_.AskImportPath(lastImportPath_);
    activateWindow();
    if (!chosen) return;
    lastImportPath_ = *chosen;
    const std::string path = QFile::encodeName(*chosen).toStdString();
    const std::string shown = FileNameOfPath(path);
    const Result<PngPicture> picture = ReadPictureToImport(path, shown);
    if (!picture) {
        ErrorBox(picture.message());
        return;
    }
    std::optional<CelSize> cel = ExportedCel(ShapeOfPicture(*picture, colourStrip_));
    if (!cel) {
        const std::optional<CelSizeTexts> texts = prompts_.AskCelSize(doc_.Width(), doc_.Height());
        activateWindow();
        if (!texts) return;
        const Result<CelSize> size =
            ParseCelSizeFields(texts->width.toStdString(), texts->height.toStdString());
        if (!size) {
            ErrorBox(size.message());
            return;
        }
        cel = *size;
    }
    const Result<ImportedDocument> imported = ImportPicture(
        *picture, shown, {cel->width, cel->height, ImportScale::kAuto, false}, colourStrip_);
    if (!imported) {
        ErrorBox(imported.message());
        return;
    }
    TakeImported(doc_, *imported, path);
    InitView(false);
    if (const std::vector<std::string> notes = ImportNotes(*imported, shown); !notes.empty()) {
        Ask(Paragraphs(notes), windowTitle(), PromptButtons::kOk, PromptIcon::kInformation);
    }
}
