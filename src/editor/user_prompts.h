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

// What the import's cel-size dialog starts with: the size in its fields, and the check boxes it
// shows only where they mean something.
struct CelSizeQuestion {
    int width = 8;
    int height = 8;
    bool offerHalving = false;  // the picture looks like an export at twice its size: "Halve", on
    bool offerIndices = false;  // an indexed picture whose palette is not ours: "Keep ... indices"
};

// What the cel-size dialog's fields W and H hold, and its check boxes (false when not shown).
struct CelSizeTexts {
    QString width;
    QString height;
    bool halve = false;
    bool keepIndices = false;
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
    // The cel-size dialog of the picture import, as the question says: its fields' texts and check
    // boxes when it closed with OK, nothing when cancelled.
    virtual std::optional<CelSizeTexts> AskCelSize(const CelSizeQuestion& question) = 0;
};

// The error box: error icon, OK, the given caption (the application title) and the message as it
// is (our messages are complete sentences).
void ShowErrorBox(UserPrompts& prompts, const QString& caption, const QString& message);
void ShowErrorBox(UserPrompts& prompts, const QString& caption, std::string_view message);
