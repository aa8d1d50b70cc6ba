#pragma once
// Answers the editor's questions from a script and records what was asked, one line per question:
//   "Save? | Prompt | YesNoCancel"   a message box: text | caption | buttons [| error|information]
//   "Open: <proposal>", "Save as: <proposal>", "Export: <proposal>", "Import: <proposal>", "New",
//   "Cel size 8,8" (the size the cel-size dialog shows)
// Script entries, taken in order: "Yes", "No", "Cancel", "OK" for message boxes; a path or
// "cancel" for the file dialogs; "new:W,H,N" (the three texts), "new:keep" (the texts of the last
// time, "8", "8", "1" at first, as the dialog keeps them) or "new:cancel" for the New dialog;
// "size:W,H" (the two texts), "size:ok" (the size shown) or "size:cancel" for the cel-size
// dialog. A question the script has no fitting answer for is recorded with "UNEXPECTED" and
// answered with Cancel.

#include <functional>

#include <QStringList>

#include "editor/user_prompts.h"

class ScriptedPrompts : public UserPrompts {
  public:
    QStringList script;
    QStringList asked;
    QString tmpDir;                 // shown as $TMP in the record
    std::function<void()> whileUp;  // runs while a question is "on screen"

    PromptAnswer Ask(const QString& text, const QString& caption, PromptButtons buttons,
                     PromptIcon icon) override {
        static const char* const kButtons[] = {"Ok", "OkCancel", "YesNo", "YesNoCancel",
                                               "RecoverDeleteKeep"};
        QString line = Shown(text) + " | " + caption + " | " + kButtons[static_cast<int>(buttons)];
        if (icon == PromptIcon::kError) line += " | error";
        if (icon == PromptIcon::kInformation) line += " | information";
        const QString answer = Next(line, [](const QString& a) {
            return a == "Yes" || a == "No" || a == "Cancel" || a == "OK";
        });
        if (answer == "Yes") return PromptAnswer::kYes;
        if (answer == "No") return PromptAnswer::kNo;
        if (answer == "OK") return PromptAnswer::kOk;
        return PromptAnswer::kCancel;
    }

    std::optional<QString> AskOpenPath(const QString& proposal) override {
        return Path(Next("Open: " + Shown(proposal), IsPath));
    }

    std::optional<QString> AskSavePath(const QString& proposal) override {
        return Path(Next("Save as: " + Shown(proposal), IsPath));
    }

    std::optional<QString> AskExportPath(const QString& proposal) override {
        return Path(Next("Export: " + Shown(proposal), IsPath));
    }

    std::optional<NewDocumentTexts> AskNewDocument() override {
        const QString answer = Next("New", [](const QString& a) { return a.startsWith("new:"); });
        if (answer == "Cancel" || answer == "new:cancel") return std::nullopt;
        if (answer != "new:keep") {
            const QStringList texts = answer.mid(4).split(',');
            newTexts_ = {texts.value(0), texts.value(1), texts.value(2)};
        }
        return newTexts_;
    }

    std::optional<QString> AskImportPath(const QString& proposal) override {
        return Path(Next("Import: " + Shown(proposal), IsPath));
    }

    // "Cel size 8,8", then " halve" and " indices?" for the check boxes shown. Answers: size:ok,
    // size:cancel, size:W,H; ",nohalve" unchecks Halve, ",indices" checks the indices.
    std::optional<CelSizeTexts> AskCelSize(const CelSizeQuestion& q) override {
        QString line = QString("Cel size %1,%2").arg(q.width).arg(q.height);
        if (q.offerHalving) line += " halve";
        if (q.offerIndices) line += " indices?";
        const QString answer = Next(line, [](const QString& a) { return a.startsWith("size:"); });
        if (answer == "Cancel" || answer == "size:cancel") return std::nullopt;
        QStringList texts = answer.mid(5).split(',');
        if (texts.value(0) == "ok")
            texts = QStringList{QString::number(q.width), QString::number(q.height)} + texts.mid(1);
        return CelSizeTexts{texts.value(0), texts.value(1),
                            q.offerHalving && !texts.contains("nohalve"),
                            q.offerIndices && texts.contains("indices")};
    }

  private:
    NewDocumentTexts newTexts_{"8", "8", "1"};

    QString Shown(QString text) const {
        if (!tmpDir.isEmpty()) text.replace(tmpDir, "$TMP");
        return text;
    }

    static bool IsPath(const QString& a) { return a == "cancel" || a.contains('/'); }

    // The next script entry, which must be a fitting answer to this kind of question.
    QString Next(const QString& line, const std::function<bool(const QString&)>& fits) {
        if (whileUp) whileUp();
        if (script.isEmpty() || !fits(script.front())) {
            asked << line + " UNEXPECTED";
            return "Cancel";
        }
        asked << line;
        return script.takeFirst();
    }

    std::optional<QString> Path(const QString& answer) const {
        if (answer == "cancel" || answer == "Cancel") return std::nullopt;
        QString path = answer;
        path.replace("$TMP", tmpDir);
        return path;
    }
};
