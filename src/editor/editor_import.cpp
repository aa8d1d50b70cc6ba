// The picture import of key I: a PNG picture or sprite sheet becomes the document through the same
// import spritehex-cli runs (image/picture_import.h), its colours matched to the colour strip the
// PNG export paints with.

#include <algorithm>

#include <QFile>

#include "document/size_rules.h"
#include "document/sprite_file.h"
#include "editor/editor_window.h"
#include "image/picture_import.h"

namespace {

// The cel size the dialog starts with. A picture that looks like an export at twice its size
// starts at its half: one cel, or square cels of the half's shorter side when the half is a row
// or a column of three or more of them (exported cels side by side; a half of two squares is more
// often one cel of 16 x 8). Any other picture starts at the current document's size.
CelSize OfferedCel(const PictureShape& shape, int currentWidth, int currentHeight) {
    if (!shape.halvable) return {currentWidth, currentHeight};
    const CelSize half = WholePictureCel(shape, ImportScale::kTwo);
    const int side = std::min(half.width, half.height);
    const int longer = std::max(half.width, half.height);
    if (longer >= 3 * side && longer % side == 0 && CheckCelSize(side, side)) return {side, side};
    if (CheckCelSize(half.width, half.height)) return half;
    return {currentWidth, currentHeight};
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
    // The folder of the document's file; an imported or new document's is the picture imported
    // last, when there is one.
    const QString folder = DocumentFolder();
    const bool ownFile = !doc_.Names().savePath.empty();
    const std::optional<QString> chosen = prompts_.AskImportPath(
        (ownFile || lastImportPath_.isEmpty()) && !folder.isEmpty() ? folder + u'/'
                                                                    : lastImportPath_);
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
    const PictureShape shape = ShapeOfPicture(*picture, colourStrip_);
    const CelSize offered = OfferedCel(shape, doc_.Width(), doc_.Height());
    const std::optional<CelSizeTexts> texts = prompts_.AskCelSize(
        {offered.width, offered.height, shape.halvable, shape.indicesOnRequest});
    activateWindow();
    if (!texts) return;
    const Result<CelSize> cel =
        ParseCelSizeFields(texts->width.toStdString(), texts->height.toStdString());
    if (!cel) {
        ErrorBox(cel.message());
        return;
    }
    ImportOptions options{cel->width, cel->height, ImportScale::kOne, false, texts->keepIndices};
    if (texts->halve) options.scale = ImportScale::kTwo;
    const Result<ImportedDocument> imported = ImportPicture(*picture, shown, options, colourStrip_);
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
