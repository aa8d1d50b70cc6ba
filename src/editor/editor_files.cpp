// The editor's file commands: New (with the New dialog), Open, Save and Save As, and the question
// before the window closes. New, Open and closing share the "Save?" prompt.

#include <filesystem>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "base/file_writer.h"
#include "document/size_rules.h"
#include "document/sprite_file.h"
#include "editor/editor_window.h"

namespace {

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString DisplayPath(const std::string& path) {
    return QFile::decodeName(path.c_str());
}

}  // namespace

QString TForm1::DocumentFolder() const {
    const DocumentNames& names = doc_.Names();
    // A saved or opened document's own folder; an imported one's is its picture's.
    QString file = DisplayPath(names.savePath);
    if (file.isEmpty()) file = names.name == "new" ? lastOpenPath_ : lastImportPath_;
    if (file.isEmpty()) file = lastOpenPath_;
    return file.isEmpty() ? QString() : QFileInfo(file).absolutePath();
}

QString TForm1::ProposedPath(const QString& suffix) const {
    const QString name = QFile::decodeName(doc_.Names().name.c_str()) + suffix;
    const QString folder = DocumentFolder();
    return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

bool TForm1::SavePrompt() {
    if (!doc_.Modified()) return true;
    switch (Ask(QStringLiteral("Save?"), QStringLiteral("Prompt"), PromptButtons::kYesNoCancel)) {
        case PromptAnswer::kYes:
            return SaveDocument(false);
        case PromptAnswer::kNo:
            return true;
        default:
            return false;
    }
}

void TForm1::NewDocument() {
    if (!SavePrompt()) return;
    const std::optional<NewDocumentTexts> texts = prompts_.AskNewDocument();
    activateWindow();
    if (!texts) return;
    const Result<NewDocumentSize> size = ParseNewDocumentFields(
        texts->width.toStdString(), texts->height.toStdString(), texts->celCount.toStdString());
    if (!size) {
        ErrorBox(size.message());
        return;
    }
    InitView(true, size->width, size->height, size->celCount);
}

void TForm1::OpenDocument() {
    if (!SavePrompt()) return;
    // The current document's file, else its folder (an imported one's is its picture's), else
    // the file opened last.
    QString proposal = DisplayPath(doc_.Names().savePath);
    if (proposal.isEmpty() && doc_.Names().name != "new" && !DocumentFolder().isEmpty()) {
        proposal = DocumentFolder() + u'/';
    }
    const std::optional<QString> path =
        prompts_.AskOpenPath(proposal.isEmpty() ? lastOpenPath_ : proposal);
    activateWindow();
    if (!path) return;
    lastOpenPath_ = *path;
    LoadDocument(LocalPath(*path), true);
}

void TForm1::OpenFromCommandLine(const std::string& path) {
    // The save path must still name the file when the editor runs elsewhere (a recovered copy).
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    const std::string local = error ? path : absolute.string();
    if (LoadDocument(local, false)) lastOpenPath_ = DisplayPath(local);
}

bool TForm1::LoadDocument(const std::string& path, bool plainError) {
    const Result<> result = LoadSpriteFile(doc_, path);
    if (result.failure() == Failure::kCannotOpen && plainError) {
        PlainErrorBox();
        return false;
    }
    if (!result) {
        ErrorBox(result.message());
        return false;
    }
    InitView(false);
    return true;
}

bool TForm1::SaveDocument(bool askForPath) {
    DocumentNames& names = doc_.Names();
    // An imported document has a name but no path yet; after a Save As failed, S asks again.
    const bool ask = askForPath || names.name == "new" || names.savePath.empty() ||
                     names.savePath == failedSaveAsPath_;
    if (ask) {
        const QString proposal = names.savePath.empty() ? ProposedPath(QStringLiteral(".dat"))
                                                        : DisplayPath(names.savePath);
        const std::optional<QString> path = prompts_.AskSavePath(proposal);
        activateWindow();
        if (!path) return false;
        // The names take the chosen path at once, before the file is created.
        const std::string chosen = LocalPath(*path);
        if (chosen != names.savePath) names.savedStamp.reset();  // another file: nothing to lose
        names.savePath = chosen;
        names.name = DocumentNameFromPath(names.savePath);
        names.exportName.clear();
        NoteChange();  // the recovery copy keeps the names, also when the save fails
    }
    if (ChangedOnDisk(names)) {
        const QString file = DisplayPath(FileNameOfPath(names.savePath));
        const QString question =
            QStringLiteral("%1 has changed on disk since it was opened. Overwrite it?").arg(file);
        if (Ask(question, QStringLiteral("Prompt"), PromptButtons::kYesNo) != PromptAnswer::kYes) {
            return false;
        }
    }
    const Result<> result = SaveSpriteFile(doc_);
    failedSaveAsPath_ = ask && !result.ok() ? names.savePath : std::string();
    if (result.failure() == Failure::kCannotCreate) {
        PlainErrorBox();
        return false;
    }
    if (!result) {
        ErrorBox(result.message());
        return false;
    }
    UpdateTitle();
    NoteChange();  // saved: the recovery copy goes
    // Temporary files that an editor killed while it saved here left behind.
    const std::filesystem::path folder = std::filesystem::path(names.savePath).parent_path();
    RemoveStrayTemporaries(folder.empty() ? "." : folder.string(), std::chrono::minutes(1));
    return true;
}

bool TForm1::FormClose() {
    return SavePrompt();
}
