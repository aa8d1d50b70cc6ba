#pragma once
// Everything the editor asks the user goes through this one interface: message boxes (questions,
// error and information boxes), the open, save, export and import file dialogs, the New dialog and
// the import's cel-size dialog. The program answers with real dialogs (QtUserPrompts); tests answer
// from a script and record what was asked.

#include <optional>
#include <string_view>

#include <QString>

// What the New dialog's fields W, H and Cel hold.
struct NewDocumentTexts {
    QString width;
    QString height;
    QString celCount;
};

// What the cel-size dialog's fields W and H hold.
struct CelSizeTexts {
    QString width;
    QString height;
};

// kRecoverDeleteKeep: "Recover each", "Delete each", "Keep all", answered as kYes, kNo, kCancel.
enum class PromptButtons { kOk, kOkCancel, kYesNo, kYesNoCancel, kRecoverDeleteKeep };
enum class PromptIcon { kNone, kError, kInformation };
// The button pressed; a box closed without a choice answers kCancel (kOk for a box with OK only).
enum class PromptAnswer { kOk, kCancel, kYes, kNo };

class UserPrompts {
  public:
    virtual ~UserPrompts() = default;
    // A modal message box.
    virtual PromptAnswer Ask(const QString& text, const QString& caption, PromptButtons buttons,
                             PromptIcon icon) = 0;
    // The open dialog for a .dat file that must exist; nothing when cancelled.
    virtual std::optional<QString> AskOpenPath(const QString& proposal) = 0;
    // The save dialog: .dat filter, "dat" added to a name without an extension, asks before
    // replacing an existing file; nothing when cancelled.
    virtual std::optional<QString> AskSavePath(const QString& proposal) = 0;
    // The PNG export dialog: .png filter, "png" added to a name without an extension, asks
    // before replacing an existing file; nothing when cancelled.
    virtual std::optional<QString> AskExportPath(const QString& proposal) = 0;
    // The New dialog: the texts of its three fields when it closed with OK, nothing when
    // cancelled.
    virtual std::optional<NewDocumentTexts> AskNewDocument() = 0;
    // The open dialog "Import PNG" for a .png picture that must exist; nothing when cancelled.
    virtual std::optional<QString> AskImportPath(const QString& proposal) = 0;
    // The cel-size dialog of the picture import, its fields W and H showing the given size: their
    // texts when it closed with OK, nothing when cancelled.
    virtual std::optional<CelSizeTexts> AskCelSize(int width, int height) = 0;
};

// The error box: error icon, OK, the given caption (the application title) and the message as it
// is (our messages are complete sentences).
void ShowErrorBox(UserPrompts& prompts, const QString& caption, const QString& message);
void ShowErrorBox(UserPrompts& prompts, const QString& caption, std::string_view message);
