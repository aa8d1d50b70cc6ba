#pragma once
// Everything the editor asks the user goes through this one interface: message boxes (questions
// and error boxes), the open, save and export file dialogs, and the New dialog. The program answers
// with real dialogs (QtUserPrompts); tests answer from a script and record what was asked.

#include <optional>
#include <string_view>

#include <QString>

// What the New dialog's fields W, H and Cel hold.
struct NewDocumentTexts {
    QString width;
    QString height;
    QString celCount;
};

enum class PromptButtons { kOk, kOkCancel, kYesNoCancel };
enum class PromptIcon { kNone, kError };
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
};

// The error box: error icon, OK, the given caption (the application title) and the message as it
// is (our messages are complete sentences).
void ShowErrorBox(UserPrompts& prompts, const QString& caption, const QString& message);
void ShowErrorBox(UserPrompts& prompts, const QString& caption, std::string_view message);
