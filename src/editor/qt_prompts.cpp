#include "editor/qt_prompts.h"

#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "editor/cel_size_dialog.h"
#include "editor/new_dialog.h"

namespace {

// Runs a dialog modally; once it is on screen it takes the keyboard focus.
int ExecActivated(QDialog& dialog) {
    QTimer::singleShot(0, &dialog, [&dialog] {
        dialog.raise();
        dialog.activateWindow();
    });
    return dialog.exec();
}

}  // namespace

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const {
    return icon(info.isDir() ? QAbstractFileIconProvider::Folder : QAbstractFileIconProvider::File);
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const {
    if (info.isDir()) return QStringLiteral("Folder");
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? QStringLiteral("File") : suffix.toUpper() + QStringLiteral(" File");
}

PromptAnswer QtUserPrompts::Ask(const QString& text, const QString& caption, PromptButtons buttons,
                                PromptIcon icon) {
    QMessageBox::Icon shown = QMessageBox::NoIcon;
    if (icon == PromptIcon::kError) shown = QMessageBox::Critical;
    if (icon == PromptIcon::kInformation) shown = QMessageBox::Information;
    QMessageBox box(shown, caption, text, QMessageBox::NoButton, parent_);
    box.setTextFormat(Qt::PlainText);  // file and document names are never markup
    switch (buttons) {
        case PromptButtons::kOk:
            box.setDefaultButton(box.addButton(QMessageBox::Ok));
            box.setEscapeButton(QMessageBox::Ok);
            break;
        case PromptButtons::kOkCancel:
            box.setDefaultButton(box.addButton(QMessageBox::Ok));
            box.addButton(QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case PromptButtons::kYesNo:
            box.setDefaultButton(box.addButton(QMessageBox::Yes));
            box.setEscapeButton(box.addButton(QMessageBox::No));
            break;
        case PromptButtons::kRecoverDeleteKeep: {
            QPushButton* recover =
                box.addButton(QStringLiteral("&Recover each"), QMessageBox::AcceptRole);
            QPushButton* remove =
                box.addButton(QStringLiteral("&Delete each"), QMessageBox::DestructiveRole);
            QPushButton* keep = box.addButton(QStringLiteral("&Keep all"), QMessageBox::RejectRole);
            box.setDefaultButton(recover);
            box.setEscapeButton(keep);
            ExecActivated(box);
            if (box.clickedButton() == recover) return PromptAnswer::kYes;
            return box.clickedButton() == remove ? PromptAnswer::kNo : PromptAnswer::kCancel;
        }
        case PromptButtons::kYesNoCancel:
            box.setDefaultButton(box.addButton(QMessageBox::Yes));
            box.addButton(QMessageBox::No);
            box.addButton(QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    ExecActivated(box);
    switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Ok:
            return PromptAnswer::kOk;
        case QMessageBox::Yes:
            return PromptAnswer::kYes;
        case QMessageBox::No:
            return PromptAnswer::kNo;
        default:
            if (buttons == PromptButtons::kYesNo) return PromptAnswer::kNo;
            return buttons == PromptButtons::kOk ? PromptAnswer::kOk : PromptAnswer::kCancel;
    }
}

namespace {

enum class FileUse { kOpen, kSave };

// A file dialog for one kind of file. To open, the file must exist; to save, the dialog asks
// before replacing a file and adds the suffix to a name typed without an extension.
std::optional<QString> AskPath(QWidget* parent, QAbstractFileIconProvider& icons,
                               const QString& caption, const QString& suffix,
                               const QString& proposal, FileUse use) {
    QFileDialog dialog(parent, caption);
    dialog.setIconProvider(&icons);
    dialog.setNameFilter(QStringLiteral("*.") + suffix);
    if (use == FileUse::kOpen) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(suffix);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    }
    if (!proposal.isEmpty()) dialog.selectFile(proposal);
    if (ExecActivated(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front();
}

}  // namespace

std::optional<QString> QtUserPrompts::AskOpenPath(const QString& proposal) {
    return AskPath(parent_, icons_, QStringLiteral("Open"), QStringLiteral("dat"), proposal,
                   FileUse::kOpen);
}

std::optional<QString> QtUserPrompts::AskImportPath(const QString& proposal) {
    return AskPath(parent_, icons_, QStringLiteral("Import PNG"), QStringLiteral("png"), proposal,
                   FileUse::kOpen);
}

std::optional<QString> QtUserPrompts::AskSavePath(const QString& proposal) {
    return AskPath(parent_, icons_, QStringLiteral("Save As"), QStringLiteral("dat"), proposal,
                   FileUse::kSave);
}

std::optional<QString> QtUserPrompts::AskExportPath(const QString& proposal) {
    return AskPath(parent_, icons_, QStringLiteral("Export PNG"), QStringLiteral("png"), proposal,
                   FileUse::kSave);
}

std::optional<NewDocumentTexts> QtUserPrompts::AskNewDocument() {
    if (newDialog_ == nullptr || ExecActivated(*newDialog_) != QDialog::Accepted) {
        return std::nullopt;
    }
    return NewDocumentTexts{newDialog_->edtW()->text(), newDialog_->edtH()->text(),
                            newDialog_->edtCel()->text()};
}

std::optional<CelSizeTexts> QtUserPrompts::AskCelSize(const CelSizeQuestion& question) {
    CelSizeDialog dialog(parent_);
    dialog.ShowSize(question.width, question.height);
    dialog.ShowChoices(question.offerHalving, question.offerIndices);
    if (ExecActivated(dialog) != QDialog::Accepted) return std::nullopt;
    const auto checked = [](const QCheckBox* box) { return box != nullptr && box->isChecked(); };
    return CelSizeTexts{dialog.edtW()->text(), dialog.edtH()->text(), checked(dialog.chkHalve()),
                        checked(dialog.chkIndices())};
}
