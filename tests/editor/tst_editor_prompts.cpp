// The real dialogs behind the prompt seam (message boxes, file dialogs, the New dialog and the
// import's cel-size dialog with their keys), the error box's text, and the application's catch of
// exceptions from event handlers. Dialogs are answered by a timer that finds the modal widget, as a
// user would.

#include <algorithm>
#include <functional>

#include <QFileDialog>

#include <sys/stat.h>
#include <unistd.h>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "editor/cel_size_dialog.h"
#include "editor/guarded_application.h"
#include "editor/new_dialog.h"
#include "editor/qt_prompts.h"

namespace {

// Runs answer(dialog) on the modal dialog once it is up.
template <typename Dialog>
void WhenUp(std::function<void(Dialog*)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        answer(dialog);
        // A failed check above leaves the dialog up: close it so the test goes on.
        if (dialog->isVisible()) dialog->reject();
    });
}

class Thrower : public QObject {
  public:
    int handled = 0;
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw std::runtime_error("boom in a handler");
        if (e->type() == QEvent::User + 1) throw 42;
        if (e->type() == QEvent::User + 2) ++handled;
        return QObject::event(e);
    }
};

}  // namespace

class EditorPrompts : public QObject {
    Q_OBJECT

  private slots:
    void exceptionText_data();
    void exceptionText();
    void messageBoxes_data();
    void messageBoxes();
    void saveDialogs_data();
    void saveDialogs();
    void openDialogs_data();
    void openDialogs();
    void dialogsReadNoFile();
    void newDialogLayout();
    void newDialogKeys_data();
    void newDialogKeys();
    void celSizeDialog_data();
    void celSizeDialog();
    void exceptionsDoNotCrossTheLoop();
};

void EditorPrompts::exceptionText_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("a letter gets a full stop") << "Cannot find pal.bmp"
                                               << "Cannot find pal.bmp.";
    QTest::newRow("a digit gets one") << "width 65"
                                      << "width 65.";
    QTest::newRow("a quote sorts before '.'") << "'abc'"
                                              << "'abc'";
    QTest::newRow("a colon sorts after '.'") << "reason:"
                                             << "reason:.";
    QTest::newRow("a full stop stays alone") << "Done."
                                             << "Done.";
    QTest::newRow("a bracket sorts before '.'") << "(x)"
                                                << "(x)";
    QTest::newRow("an exclamation mark sorts before '.'") << "stop!"
                                                          << "stop!";
    QTest::newRow("an empty message stays empty") << ""
                                                  << "";
}

void EditorPrompts::exceptionText() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(ExceptionText(message), shown);
}

void EditorPrompts::messageBoxes_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("press");  // a QMessageBox::StandardButton, or 0 for Esc
    QTest::addColumn<int>("answer");
    QTest::addColumn<QList<int>>("shownButtons");
    const int yesNoCancel = static_cast<int>(PromptButtons::kYesNoCancel);
    const int okCancel = static_cast<int>(PromptButtons::kOkCancel);
    const int ok = static_cast<int>(PromptButtons::kOk);
    const int none = static_cast<int>(PromptIcon::kNone);
    const int error = static_cast<int>(PromptIcon::kError);
    const QList<int> ync{QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    const QList<int> okc{QMessageBox::Ok, QMessageBox::Cancel};
    QTest::newRow("Save? Yes") << yesNoCancel << none << int{QMessageBox::Yes}
                               << int(PromptAnswer::kYes) << ync;
    QTest::newRow("Save? No") << yesNoCancel << none << int{QMessageBox::No}
                              << int(PromptAnswer::kNo) << ync;
    QTest::newRow("Save? Cancel") << yesNoCancel << none << int{QMessageBox::Cancel}
                                  << int(PromptAnswer::kCancel) << ync;
    QTest::newRow("Save? closed with Esc is Cancel")
        << yesNoCancel << none << 0 << int(PromptAnswer::kCancel) << ync;
    QTest::newRow("OK/Cancel OK") << okCancel << none << int{QMessageBox::Ok}
                                  << int(PromptAnswer::kOk) << okc;
    QTest::newRow("OK/Cancel Esc is Cancel")
        << okCancel << none << 0 << int(PromptAnswer::kCancel) << okc;
    QTest::newRow("error box OK") << ok << error << int{QMessageBox::Ok} << int(PromptAnswer::kOk)
                                  << QList<int>{QMessageBox::Ok};
    QTest::newRow("information box closed with Esc is OK")
        << ok << static_cast<int>(PromptIcon::kInformation) << 0 << int(PromptAnswer::kOk)
        << QList<int>{QMessageBox::Ok};
    const int yesNo = static_cast<int>(PromptButtons::kYesNo);
    const QList<int> yn{QMessageBox::Yes, QMessageBox::No};
    QTest::newRow("Overwrite? Yes")
        << yesNo << none << int{QMessageBox::Yes} << int(PromptAnswer::kYes) << yn;
    QTest::newRow("Overwrite? closed with Esc is No")
        << yesNo << none << 0 << int(PromptAnswer::kNo) << yn;
    // Recover each, Delete each, Keep all: buttons of their own, Esc keeps all.
    QTest::newRow("several recovery copies: Esc is Keep all")
        << static_cast<int>(PromptButtons::kRecoverDeleteKeep) << none << 0
        << int(PromptAnswer::kCancel) << QList<int>{0, 0, 0};
}

void EditorPrompts::messageBoxes() {
    QFETCH(int, buttons);
    QFETCH(int, icon);
    QFETCH(int, press);
    QFETCH(int, answer);
    QFETCH(QList<int>, shownButtons);
    QtUserPrompts prompts;
    QString text, caption;
    bool plain = false;
    QList<int> labels;
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    WhenUp<QMessageBox>([&](QMessageBox* box) {
        text = box->text();
        caption = box->windowTitle();
        plain = box->textFormat() == Qt::PlainText;  // names are never read as markup
        shownIcon = box->icon();
        for (QAbstractButton* b : box->buttons()) labels << int{box->standardButton(b)};
        if (press == 0)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->button(static_cast<QMessageBox::StandardButton>(press))->click();
    });
    const PromptAnswer got = prompts.Ask("Save?", "Prompt", static_cast<PromptButtons>(buttons),
                                         static_cast<PromptIcon>(icon));
    QCOMPARE(int(got), answer);
    QCOMPARE(text, QString("Save?"));
    QCOMPARE(caption, QString("Prompt"));
    QVERIFY(plain);
    const QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Critical,
                                       QMessageBox::Information};
    QCOMPARE(shownIcon, icons[icon]);
    std::sort(labels.begin(), labels.end());
    std::sort(shownButtons.begin(), shownButtons.end());
    QCOMPARE(labels, shownButtons);
}

// The save dialog of Save As and the export dialog of key P differ only in their kind of file.
void EditorPrompts::saveDialogs_data() {
    QTest::addColumn<bool>("exportDialog");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Save As: .dat") << false << "dat"
                                   << "Save As";
    QTest::newRow("PNG export: .png") << true << "png"
                                      << "Export PNG";
}

void EditorPrompts::saveDialogs() {
    QFETCH(bool, exportDialog);
    QFETCH(QString, suffix);
    QFETCH(QString, caption);
    QTemporaryDir dir;
    QtUserPrompts prompts;
    const auto ask = [&](const QString& proposal) {
        return exportDialog ? prompts.AskExportPath(proposal) : prompts.AskSavePath(proposal);
    };
    const QString old = dir.filePath("old." + suffix);
    WhenUp<QFileDialog>([&](QFileDialog* d) {
        QCOMPARE(d->windowTitle(), caption);
        QCOMPARE(d->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(d->nameFilters(), QStringList{"*." + suffix});
        QCOMPARE(d->defaultSuffix(), suffix);
        QVERIFY(!d->testOption(QFileDialog::DontConfirmOverwrite));
        QVERIFY(!d->testOption(QFileDialog::ReadOnly));
        QVERIFY(dynamic_cast<const NameOnlyIconProvider*>(d->iconProvider()) != nullptr);
        QCOMPARE(d->selectedFiles().value(0), old);  // the proposal
        // Typed as a user does: a name without an extension, then Enter.
        auto* edit = d->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(edit != nullptr);
        edit->clear();
        QTest::keyClicks(edit, dir.filePath("pic"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    const std::optional<QString> chosen = ask(old);
    QVERIFY(chosen.has_value());
    QCOMPARE(*chosen, dir.filePath("pic." + suffix));  // the default suffix was added
    WhenUp<QFileDialog>([](QFileDialog* d) { d->reject(); });
    QCOMPARE(ask(QString()), std::optional<QString>());
}

// The open dialog of O and the import dialog of I differ only in their kind of file.
void EditorPrompts::openDialogs_data() {
    QTest::addColumn<bool>("importDialog");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Open: .dat") << false << "dat"
                                << "Open";
    QTest::newRow("Import PNG: .png") << true << "png"
                                      << "Import PNG";
}

void EditorPrompts::openDialogs() {
    QFETCH(bool, importDialog);
    QFETCH(QString, suffix);
    QFETCH(QString, caption);
    QTemporaryDir dir;
    QtUserPrompts prompts;
    const auto ask = [&](const QString& proposal) {
        return importDialog ? prompts.AskImportPath(proposal) : prompts.AskOpenPath(proposal);
    };
    const QString old = dir.filePath("old." + suffix);
    QFile(old).open(QIODevice::WriteOnly);
    WhenUp<QFileDialog>([&](QFileDialog* d) {
        QCOMPARE(d->windowTitle(), caption);
        QCOMPARE(d->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(d->fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(d->nameFilters(), QStringList{"*." + suffix});
        QCOMPARE(d->defaultSuffix(), QString());
        QVERIFY(dynamic_cast<const NameOnlyIconProvider*>(d->iconProvider()) != nullptr);
        QCOMPARE(d->selectedFiles().value(0), old);  // the proposal
        d->reject();
    });
    QCOMPARE(ask(old), std::optional<QString>());
}

// The dialogs' icons and types come from names alone: a named pipe (and, as root, /proc/kmsg,
// which Qt's own type detection would read forever) is answered at once.
void EditorPrompts::dialogsReadNoFile() {
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.dat");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QStringList paths{fifo, dir.filePath("walk.png"), dir.path()};
    if (::geteuid() == 0 && QFile::exists("/proc/kmsg")) paths << "/proc/kmsg";
    NameOnlyIconProvider icons;
    QStringList types;
    for (const QString& path : paths) {
        icons.icon(QFileInfo(path));  // returns at once: reached the next line
        types << icons.type(QFileInfo(path));
    }
    QCOMPARE(types.mid(0, 3), (QStringList{"DAT File", "PNG File", "Folder"}));
}

void EditorPrompts::newDialogLayout() {
    TfrmNew dialog;
    QCOMPARE(dialog.size(), QSize(108, 85));
    QVERIFY(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(dialog.edtW()->geometry(), QRect(24, 4, 49, 21));
    QCOMPARE(dialog.edtH()->geometry(), QRect(24, 32, 49, 21));
    QCOMPARE(dialog.edtCel()->geometry(), QRect(32, 56, 49, 21));
    QCOMPARE(dialog.edtW()->nextInFocusChain(), dialog.edtH());
    QCOMPARE(dialog.edtH()->nextInFocusChain(), dialog.edtCel());
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) labels << label->text();
    labels.sort();
    QCOMPARE(labels, (QStringList{"Cel", "H", "W"}));
}

void EditorPrompts::newDialogKeys_data() {
    QTest::addColumn<QString>("typed");  // into edtW, then Tab, edtH, Tab, edtCel
    QTest::addColumn<int>("closeKey");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("Enter is OK") << "16,16,2" << int{Qt::Key_Return} << true
                                 << QStringList{"16", "16", "2"};
    QTest::newRow("Esc is Cancel and the texts stay")
        << "3,3,3" << int{Qt::Key_Escape} << false << QStringList{"3", "3", "3"};
}

void EditorPrompts::newDialogKeys() {
    QFETCH(QString, typed);
    QFETCH(int, closeKey);
    QFETCH(bool, ok);
    QFETCH(QStringList, texts);
    TfrmNew dialog;
    QtUserPrompts prompts;
    prompts.SetNewDialog(&dialog);
    WhenUp<TfrmNew>([&](TfrmNew* d) {
        const QStringList parts = typed.split(',');
        QCOMPARE(QApplication::focusWidget(), d->edtW());
        QTest::keyClicks(d->edtW(), parts[0]);  // the old text is selected, typing replaces it
        QTest::keyClick(d->edtW(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), d->edtH());
        d->edtH()->selectAll();
        QTest::keyClicks(d->edtH(), parts[1]);
        QTest::keyClick(d->edtH(), Qt::Key_Tab);
        d->edtCel()->selectAll();
        QTest::keyClicks(d->edtCel(), parts[2]);
        QTest::keyClick(d->edtCel(), static_cast<Qt::Key>(closeKey));
    });
    const std::optional<NewDocumentTexts> answer = prompts.AskNewDocument();
    QCOMPARE(answer.has_value(), ok);
    if (answer) {
        QCOMPARE((QStringList{answer->width, answer->height, answer->celCount}), texts);
    }
    // The fields keep their texts for the next time, also after Esc.
    QCOMPARE((QStringList{dialog.edtW()->text(), dialog.edtH()->text(), dialog.edtCel()->text()}),
             texts);
    QCOMPARE((QStringList{dialog.edtW()->text(), dialog.edtH()->text(), dialog.edtCel()->text()}),
             texts);
}

// The cel-size dialog: the New dialog's look without its third row, the size it is given in its
// fields, Enter and Esc from its key table.
void EditorPrompts::celSizeDialog_data() {
    QTest::addColumn<QString>("typed");  // into edtW, then Tab, edtH; empty: nothing typed
    QTest::addColumn<int>("closeKey");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("Enter takes the size shown")
        << "" << int{Qt::Key_Return} << true << QStringList{"12", "7"};
    QTest::newRow("typed texts, keypad Enter")
        << "16,x10" << int{Qt::Key_Enter} << true << QStringList{"16", "x10"};
    QTest::newRow("Esc is Cancel") << "16,16" << int{Qt::Key_Escape} << false << QStringList{};
}

void EditorPrompts::celSizeDialog() {
    QFETCH(QString, typed);
    QFETCH(int, closeKey);
    QFETCH(bool, ok);
    QFETCH(QStringList, texts);
    QtUserPrompts prompts;
    WhenUp<CelSizeDialog>([&](CelSizeDialog* d) {
        QCOMPARE(d->size(), QSize(108, 61));
        QVERIFY(d->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(d->edtW()->geometry(), QRect(24, 4, 49, 21));
        QCOMPARE(d->edtH()->geometry(), QRect(24, 32, 49, 21));
        QStringList labels;
        for (const QLabel* label : d->findChildren<QLabel*>()) labels << label->text();
        labels.sort();
        QCOMPARE(labels, (QStringList{"H", "W"}));
        QCOMPARE((QStringList{d->edtW()->text(), d->edtH()->text()}), (QStringList{"12", "7"}));
        QCOMPARE(QApplication::focusWidget(), d->edtW());
        if (!typed.isEmpty()) {
            QTest::keyClicks(d->edtW(), typed.section(',', 0, 0));  // replaces the selected text
            QTest::keyClick(d->edtW(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), d->edtH());
            d->edtH()->selectAll();
            QTest::keyClicks(d->edtH(), typed.section(',', 1));
        }
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(closeKey));
    });
    const std::optional<CelSizeTexts> answer = prompts.AskCelSize({12, 7});
    QCOMPARE(answer.has_value(), ok);
    if (answer) QCOMPARE((QStringList{answer->width, answer->height}), texts);
}

void EditorPrompts::exceptionsDoNotCrossTheLoop() {
    auto* app = static_cast<GuardedApplication*>(QCoreApplication::instance());
    QStringList reported;
    app->SetReporter([&](const QString& message) { reported << message; });
    Thrower thrower;
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::Type(QEvent::User + 1)));
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::Type(QEvent::User + 2)));
    QCoreApplication::processEvents();
    QCOMPARE(reported, (QStringList{"boom in a handler.", ""}));
    QCOMPARE(thrower.handled, 1);  // the loop went on with the next event
    app->SetReporter(nullptr);
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    GuardedApplication app(argc, argv);
    EditorPrompts tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_editor_prompts.moc"
