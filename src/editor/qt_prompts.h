#pragma once
// The program's answers: QMessageBox, QFileDialog, the New dialog and the cel-size dialog, each
// shown modally and activated once it is up, so that keys reach it even without a window manager.

#include <QFileIconProvider>
#include <QPointer>
#include <QWidget>

#include "editor/user_prompts.h"

class TfrmNew;

// The file dialogs' icons and type names, decided by a file's name and kind alone: nothing is read
// from a file to guess its type (reading /proc/kmsg, say, would never return).
class NameOnlyIconProvider : public QFileIconProvider {
  public:
    QIcon icon(const QFileInfo& info) const override;
    using QFileIconProvider::icon;
    QString type(const QFileInfo& info) const override;
};

class QtUserPrompts : public UserPrompts {
  public:
    // Dialogs are centred on the parent once it is set (the editor window).
    void SetParent(QWidget* parent) { parent_ = parent; }
    // The New dialog AskNewDocument shows; its fields keep their texts between uses.
    void SetNewDialog(TfrmNew* dialog) { newDialog_ = dialog; }

    PromptAnswer Ask(const QString& text, const QString& caption, PromptButtons buttons,
                     PromptIcon icon) override;
    std::optional<QString> AskOpenPath(const QString& proposal) override;
    std::optional<QString> AskSavePath(const QString& proposal) override;
    std::optional<QString> AskExportPath(const QString& proposal) override;
    std::optional<NewDocumentTexts> AskNewDocument() override;
    std::optional<QString> AskImportPath(const QString& proposal) override;
    std::optional<CelSizeTexts> AskCelSize(const CelSizeQuestion& question) override;

  private:
    QPointer<QWidget> parent_;
    TfrmNew* newDialog_ = nullptr;
    NameOnlyIconProvider icons_;
};
