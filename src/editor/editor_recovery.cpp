// The start-up question for each recovery copy that an editor left behind when it ended without a
// clean close (a kill, a crash, a lost display).

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include "document/sprite_file.h"
#include "editor/editor_window.h"
#include "recovery/recovery.h"

namespace {

// "12:04" for a copy written today, "2024-05-01 12:04" for an older one.
QString SavedAt(std::time_t saved) {
    const QDateTime time = QDateTime::fromSecsSinceEpoch(saved);
    return time.toString(time.date() == QDate::currentDate() ? QStringLiteral("HH:mm")
                                                             : QStringLiteral("yyyy-MM-dd HH:mm"));
}

// The copies the list of several names; the rest are counted.
constexpr std::size_t kListedCopies = 10;

}  // namespace

void TForm1::SetRecovery(RecoveryCopy* recovery) {
    recovery_ = recovery;
    if (recovery_ == nullptr) return;
    recovery_->OnProblem([this](const std::string& reason) {
        Ask(QStringLiteral("spritehex cannot keep a recovery copy: %1. Your changes are safe once "
                           "you save them with S.")
                .arg(QFile::decodeName(reason.c_str())),
            windowTitle(), PromptButtons::kOk, PromptIcon::kInformation);
    });
}

void TForm1::OfferRecovery() {
    if (recovery_ == nullptr) return;
    struct Offer {
        LeftCopy copy;
        RecoveredDocument recovered;
        std::time_t saved = 0;
    };
    std::vector<Offer> offers;
    for (LeftCopy& copy : recovery_->FindLeftCopies()) {
        // Never in place of changes made meanwhile.
        if (doc_.Modified()) {
            RecoveryCopy::Release(copy);
            continue;
        }
        Offer offer{copy, {}, 0};
        const std::string problem =
            RecoveryCopy::ReadLeftCopy(offer.copy, offer.recovered, offer.saved);
        if (problem.empty()) {
            offers.push_back(std::move(offer));
        } else if (!QFileInfo::exists(QFile::decodeName(copy.path.c_str()))) {
            RecoveryCopy::Release(copy);  // a copy its editor removed just now is no question
        } else {
            const std::string aside = recovery_->SetAside(copy);
            ErrorBox("The recovery copy " + copy.path + " cannot be used: " + problem +
                     ". It is kept as " + FileNameOfPath(aside) + ".");
        }
    }
    const auto named = [](const Offer& offer) {
        return QStringLiteral("%1 (saved %2)")
            .arg(QFile::decodeName(offer.recovered.name.c_str()), SavedAt(offer.saved));
    };
    // Several copies: one list first, so that many copies are not many questions in a row.
    PromptAnswer all = PromptAnswer::kYes;
    if (offers.size() > 1) {
        QStringList lines;
        for (std::size_t i = 0; i < offers.size() && i < kListedCopies; ++i) {
            lines << named(offers[i]);
        }
        if (offers.size() > kListedCopies) {
            lines << QStringLiteral("and %1 more").arg(offers.size() - kListedCopies);
        }
        all = Ask(QStringLiteral("Editors that ended without closing left %1 recovery copies:\n\n"
                                 "%2\n\nRecover each (one question a copy), delete each, or "
                                 "keep all for the next start?")
                      .arg(offers.size())
                      .arg(lines.join(u'\n')),
                  QStringLiteral("Prompt"), PromptButtons::kRecoverDeleteKeep);
    }
    bool taken = false;
    for (Offer& offer : offers) {
        PromptAnswer answer = all;
        // One document at a time: after one is taken, the others wait for the next start.
        if (taken || doc_.Modified()) answer = PromptAnswer::kCancel;
        if (answer == PromptAnswer::kYes) {
            const QString question =
                QStringLiteral("Recover the unsaved changes of %1?").arg(named(offer));
            answer = Ask(question, QStringLiteral("Prompt"), PromptButtons::kYesNoCancel);
        }
        switch (answer) {
            case PromptAnswer::kYes:
                TakeRecovered(offer.recovered);
                recovery_->Adopt(offer.copy);  // a failure is said, once, as any of the copy's
                taken = true;
                break;
            case PromptAnswer::kNo:
                recovery_->Remove(offer.copy);
                break;
            default:
                RecoveryCopy::Release(offer.copy);
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
