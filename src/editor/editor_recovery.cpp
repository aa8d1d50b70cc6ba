// The start-up question for each recovery copy that an editor left behind when it ended without a
// clean close (a kill, a crash, a lost display).

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include "document/sprite_file.h"
#include "editor/editor_window.h"
#include "editor/recovery.h"

namespace {

// "12:04" for a copy written today, "2024-05-01 12:04" for an older one.
QString SavedAt(std::time_t saved) {
    const QDateTime time = QDateTime::fromSecsSinceEpoch(saved);
    return time.toString(time.date() == QDate::currentDate() ? QStringLiteral("HH:mm")
                                                             : QStringLiteral("yyyy-MM-dd HH:mm"));
}

}  // namespace

void TForm1::OfferRecovery() {
    if (recovery_ == nullptr) return;
    std::vector<LeftCopy> copies = recovery_->FindLeftCopies();
    bool taken = false;
    for (LeftCopy& copy : copies) {
        // One document at a time, and never in place of changes made meanwhile.
        if (taken || doc_.Modified()) {
            RecoveryCopy::Release(copy);
            continue;
        }
        RecoveredDocument recovered;
        std::time_t saved = 0;
        const std::string problem = RecoveryCopy::ReadLeftCopy(copy, recovered, saved);
        if (!problem.empty()) {
            // A copy its editor removed just now is no question.
            if (!QFileInfo::exists(QFile::decodeName(copy.path.c_str()))) {
                RecoveryCopy::Release(copy);
                continue;
            }
            const std::string aside = recovery_->SetAside(copy);
            ErrorBox("The recovery copy " + copy.path + " cannot be used: " + problem +
                     ". It is kept as " + FileNameOfPath(aside) + ".");
            continue;
        }
        const QString question =
            QStringLiteral("Recover the unsaved changes of %1 (saved %2)?")
                .arg(QFile::decodeName(recovered.name.c_str()), SavedAt(saved));
        switch (Ask(question, QStringLiteral("Prompt"), PromptButtons::kYesNoCancel)) {
            case PromptAnswer::kYes:
                TakeRecovered(recovered);
                recovery_->Adopt(copy);
                taken = true;
                break;
            case PromptAnswer::kNo:
                recovery_->Remove(copy);
                break;
            default:
                RecoveryCopy::Release(copy);
                break;
        }
    }
}

// The recovered document as it was: modified, under its name, saved by S to its save path.
void TForm1::TakeRecovered(const RecoveredDocument& recovered) {
    const Result<> loaded =
        LoadSpriteBytes(doc_, recovered.image.data(), recovered.image.size(), recovered.savePath);
    if (!loaded.ok()) return;  // read and checked before it was offered
    DocumentNames& names = doc_.Names();
    names.name = recovered.name;
    names.savePath = recovered.savePath;
    names.exportName.clear();
    if (!recovered.savePath.empty()) lastOpenPath_ = QFile::decodeName(recovered.savePath.c_str());
    doc_.MarkModified();
    InitView(false);
}
