// The recovery copy: it follows a modified document within two seconds and at most once a
// second, goes with a save and a clean close, is offered at the next start when its editor no
// longer runs, and is written at once in an emergency. HOME and XDG_DATA_HOME point into a
// temporary directory for the whole run; the copies' time moves only when a test moves it.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QStandardPaths>
#include <QTest>

#include "document/recovery_file.h"
#include "recovery/emergency_copy.h"
#include "recovery/recovery.h"
#include "test_support.h"

namespace {

std::string Local(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QByteArray Contents(const std::string& path) {
    QFile file(QFile::decodeName(path.c_str()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray DocumentBytes(const TSpriteDocument& doc) {
    return QByteArray(reinterpret_cast<const char*>(doc.Buffer()), doc.UsedSize());
}

// The image a copy holds, or "unreadable: why".
QByteArray CopiedImage(const std::string& path, RecoveredDocument& out) {
    const QByteArray bytes = Contents(path);
    const std::string problem =
        ReadRecoveryCopy(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                         static_cast<std::size_t>(bytes.size()), out);
    if (!problem.empty()) return "unreadable: " + QByteArray::fromStdString(problem);
    return QByteArray(reinterpret_cast<const char*>(out.image.data()),
                      static_cast<qsizetype>(out.image.size()));
}

// The copy a dead editor left: a document named name, saved at path, with the given pixels, its
// file dated today at time ("12:04"); cut to its first cut bytes, if given.
void LeaveCopy(const QString& file, const QString& name, const QString& savePath,
               const QByteArray& image, const QString& time, qint64 cut = -1) {
    TSpriteDocument doc;
    QVERIFY(LoadSpriteBytes(doc, reinterpret_cast<const std::uint8_t*>(image.constData()),
                            static_cast<std::size_t>(image.size()), Local(savePath))
                .ok());
    doc.Names().name = name.toStdString();
    doc.MarkModified();
    std::vector<std::uint8_t> bytes(kMaxRecoveryCopySize);
    const std::size_t size = MakeRecoveryCopy(doc, bytes.data(), bytes.size());
    QVERIFY(size > 0);
    test::WriteBytes(file, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                      static_cast<qsizetype>(size)));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadWrite));
    if (cut >= 0) QVERIFY(f.resize(cut));
    QVERIFY(f.setFileTime(QDateTime(QDate::currentDate(), QTime::fromString(time, "HH:mm")),
                          QFileDevice::FileModificationTime));
}

// The folder's files by name; this editor's own are called "own".
QString Listing(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::Files);
    names.replaceInStrings(QString("editor-%1.").arg(QCoreApplication::applicationPid()), "own.");
    names.sort();
    return names.join(' ');
}

// A recovery clock that moves on only when told to.
class ManualClock : public RecoveryClock {
  public:
    std::int64_t NowMs() const override { return now_; }
    void Start(int ms, std::function<void()> due) override {
        dueAt_ = now_ + ms;
        due_ = std::move(due);
    }
    void Stop() override { due_ = nullptr; }
    bool Waiting() const override { return due_ != nullptr; }
    // Moves on by ms; what falls due meanwhile is called at its time.
    void Advance(std::int64_t ms) {
        const std::int64_t end = now_ + ms;
        while (due_ && dueAt_ <= end) {
            now_ = dueAt_;
            std::exchange(due_, nullptr)();
        }
        now_ = end;
    }

  private:
    std::int64_t now_ = 0;
    std::int64_t dueAt_ = 0;
    std::function<void()> due_;
};

// An editor with its recovery copy in folder, as the program puts them together, on a clock the
// test moves.
struct RecoveringEditor {
    explicit RecoveringEditor(const QString& folder,
                              std::unique_ptr<ManualClock> time = std::make_unique<ManualClock>())
        : clock(*time), recovery(folder, std::move(time)) {
        editor.form->SetRecovery(&recovery);
    }
    ManualClock& clock;
    RecoveryCopy recovery;
    test::Editor editor;
};

}  // namespace

class EditorRecovery : public QObject {
    Q_OBJECT

  private slots:
    void copyFollowsTheDocument();
    void copiesAreAtLeastASecondApartAndAtMostTwoBehind();
    void leftCopies_data();
    void leftCopies();
    void twoEditorsKeepTheirOwnCopies();
    void aFolderNotMadeByTheEditorKeepsItsMode();
    void emergencyWritesTheLatestChangeAtOnce();  // last: it ends file work for the process
};

void EditorRecovery::copyFollowsTheDocument() {
    QTemporaryDir folder;
    RecoveringEditor r(folder.path());
    r.editor.Open("walk.dat", test::SpriteBytes(4, 4, 2, "1,1=3"));
    const TSpriteDocument& doc = r.editor.form->Document();
    r.clock.Advance(1300);
    QCOMPARE(Listing(folder.path()), QString());  // an unmodified document writes nothing

    test::Press(*r.editor.form, "5");
    const std::string copy = r.recovery.CopyPath();
    QCOMPARE(
        QString::fromStdString(copy),
        folder.filePath(QString("editor-%1.recovery").arg(QCoreApplication::applicationPid())));
    RecoveredDocument recovered;
    r.clock.Advance(2000);
    QTRY_COMPARE(CopiedImage(copy, recovered), DocumentBytes(doc));
    QCOMPARE(recovered.name, std::string("walk"));
    QCOMPARE(recovered.savePath, Local(r.editor.Path("walk.dat")));

    test::Press(*r.editor.form, "M 6");
    r.clock.Advance(2000);
    QTRY_COMPARE(CopiedImage(copy, recovered), DocumentBytes(doc));

    test::Press(*r.editor.form, "S");  // saved: the copy goes, the lock stays while the editor runs
    QTRY_COMPARE(Listing(folder.path()), QString("own.lock"));
    QCOMPARE(Contents(Local(r.editor.Path("walk.dat"))), DocumentBytes(doc));

    test::Press(*r.editor.form, "7");  // modified again: a copy again
    r.clock.Advance(2000);
    QTRY_VERIFY(QFileInfo::exists(QString::fromStdString(copy)));
    r.editor.prompts.script << "No";
    QVERIFY(r.editor.form->close());  // "Save?" No: a clean close, nothing is left
    QCOMPARE(Listing(folder.path()), QString());
}

void EditorRecovery::copiesAreAtLeastASecondApartAndAtMostTwoBehind() {
    QTemporaryDir folder;
    RecoveringEditor r(folder.path());
    const std::int64_t start = r.clock.NowMs();
    // A change every 100 ms for 3.5 s.
    std::int64_t lastChange = start;
    for (int colour = 1; lastChange - start < 3500; ++colour) {
        test::Press(*r.editor.form, QString::number(colour % 10));
        lastChange = r.clock.NowMs();
        r.clock.Advance(100);
    }
    r.clock.Advance(2000);
    RecoveredDocument recovered;
    QTRY_COMPARE(CopiedImage(r.recovery.CopyPath(), recovered),
                 DocumentBytes(r.editor.form->Document()));
    const std::vector<std::int64_t> times = r.recovery.WriteTimes();
    QVERIFY2(times.size() >= 3 && times.size() <= 5, qPrintable(QString::number(times.size())));
    QVERIFY(times.front() - start <= 2000);
    for (std::size_t i = 1; i < times.size(); ++i) {
        QVERIFY2(times[i] - times[i - 1] >= 1000,
                 qPrintable(QString::number(times[i] - times[i - 1])));
    }
    QVERIFY(times.back() - lastChange <= 2000);
}

void EditorRecovery::leftCopies_data() {
    QTest::addColumn<QString>("left");  // copies of dead editors, "N:name@time" (name damaged: cut)
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("pixels");
    QTest::addColumn<QString>("listing");  // the folder afterwards; "own" is this editor's pid

    // Every row also has editor-2 running (its copy locked) and editor-3's lock file left over.
    const QString running = "editor-2.lock editor-2.recovery";
    const QString walk =
        "Recover the unsaved changes of walk (saved 12:04)? | Prompt | YesNoCancel";
    const QString ship =
        "Recover the unsaved changes of ship (saved 12:05)? | Prompt | YesNoCancel";
    QTest::newRow("Yes opens the copy as a modified document and makes it this editor's")
        << "1:walk@12:04"
        << "Yes" << walk << "walk* 1/2"
        << "1,1=3 c1:2,2=5" << running + " own.lock own.recovery";
    QTest::newRow("No deletes the copy") << "1:walk@12:04"
                                         << "No" << walk << "new 1/1"
                                         << "" << running;
    QTest::newRow("Cancel keeps it for the next start")
        << "1:walk@12:04"
        << "Cancel" << walk << "new 1/1"
        << ""
        << "editor-1.lock editor-1.recovery " + running;
    // Several copies: one list first.
    const QString list =
        "Editors that ended without closing left 2 recovery copies:\n\nwalk (saved 12:04)\nship "
        "(saved 12:05)\n\nRecover each (one question a copy), delete each, or keep all for the "
        "next start? | Prompt | RecoverDeleteKeep";
    QTest::newRow("Recover each: oldest first; after a Yes the others wait for the next start")
        << "4:ship@12:05 1:walk@12:04"
        << "Yes Yes" << list + "; " + walk << "walk* 1/2"
        << "1,1=3 c1:2,2=5" << running + " editor-4.lock editor-4.recovery own.lock own.recovery";
    QTest::newRow("Recover each: one question per copy")
        << "4:ship@12:05 1:walk@12:04"
        << "Yes No Yes" << list + "; " + walk + "; " + ship << "ship* 1/2"
        << "1,1=3 c1:2,2=5" << running + " own.lock own.recovery";
    QTest::newRow("Delete each") << "4:ship@12:05 1:walk@12:04"
                                 << "No" << list << "new 1/1"
                                 << "" << running;
    QTest::newRow("Keep all") << "4:ship@12:05 1:walk@12:04"
                              << "Cancel" << list << "new 1/1"
                              << ""
                              << "editor-1.lock editor-1.recovery " + running +
                                     " editor-4.lock editor-4.recovery";
    QTest::newRow("a damaged copy is set aside with a message, then the next is asked")
        << "5:damaged@12:00 4:ship@12:05"
        << "OK Cancel"
        << "The recovery copy $TMP/editor-5.recovery cannot be used: its document name is missing "
           "or damaged. It is kept as editor-5.unreadable. | new 1/1 | Ok | error; " +
               ship
        << "new 1/1"
        << "" << running + " editor-4.lock editor-4.recovery editor-5.unreadable";
}

void EditorRecovery::leftCopies() {
    QFETCH(QString, left);
    QFETCH(QString, answers);
    QFETCH(QString, asked);
    QFETCH(QString, title);
    QFETCH(QString, pixels);
    QFETCH(QString, listing);
    QTemporaryDir folder;
    RecoveringEditor r(folder.path());
    r.editor.prompts.tmpDir = folder.path();
    const QString walkFile = r.editor.Path("walk.dat");
    const QByteArray image = test::SpriteBytes(4, 4, 2, "1,1=3 c1:2,2=5");
    for (const QString& entry : left.split(' ', Qt::SkipEmptyParts)) {
        const QString file = folder.filePath("editor-" + entry.section(':', 0, 0) + ".recovery");
        const QString name = entry.section(':', 1).section('@', 0, 0);
        LeaveCopy(file, name, walkFile, image, entry.section('@', 1), name == "damaged" ? 30 : -1);
    }
    // A running editor holds the lock of its copy; a killed one left only its lock file.
    LeaveCopy(folder.filePath("editor-2.recovery"), "held", walkFile, image, "11:00");
    const int held =
        ::open(Local(folder.filePath("editor-2.lock")).c_str(), O_RDWR | O_CREAT, 0600);
    QVERIFY(held >= 0 && ::flock(held, LOCK_EX | LOCK_NB) == 0);
    test::WriteBytes(folder.filePath("editor-3.lock"), "");

    r.editor.prompts.script = answers.split(' ', Qt::SkipEmptyParts);
    r.editor.form->OfferRecovery();
    ::close(held);

    QCOMPARE(r.editor.prompts.asked.join("; "), asked);
    QCOMPARE(r.editor.form->windowTitle(), title);
    const TSpriteDocument& doc = r.editor.form->Document();
    QCOMPARE(test::Pixels(doc), test::Sorted(pixels));
    QCOMPARE(Listing(folder.path()), listing);
    if (title.endsWith("* 1/2")) {
        // S writes where the user meant, without asking; the copy goes.
        QCOMPARE(doc.Names().savePath, Local(walkFile));
        r.editor.prompts.asked.clear();
        test::Press(*r.editor.form, "S");
        QCOMPARE(r.editor.prompts.asked, QStringList());
        QCOMPARE(Contents(Local(walkFile)), image);
        QTRY_VERIFY(!QFileInfo::exists(QString::fromStdString(r.recovery.CopyPath())));
    }
}

// A link as the recovery folder is not followed (a shared folder it leads to keeps its mode and
// gets no copy, and the user is told once); a folder that was there keeps its mode; only a folder
// the editor makes is 0700.
void EditorRecovery::aFolderNotMadeByTheEditorKeepsItsMode() {
    QTemporaryDir top;
    const QString shared = top.filePath("shared");
    QVERIFY(QDir().mkdir(shared));
    QVERIFY(::chmod(Local(shared).c_str(), 01777) == 0);
    QVERIFY(QFile::link(shared, top.filePath("linked")));
    QVERIFY(QDir().mkdir(top.filePath("there")));
    QVERIFY(::chmod(Local(top.filePath("there")).c_str(), 0755) == 0);
    const auto mode = [](const QString& path) {
        struct stat st {};
        return ::stat(Local(path).c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    };
    test::WriteBytes(QDir(shared).filePath("editor-1.recovery"), "anyone's");
    for (const QString folder : {"linked", "there", "made/by/it"}) {
        RecoveringEditor r(top.filePath(folder));
        r.editor.prompts.script << "OK";
        r.editor.form->OfferRecovery();  // nothing is offered from where the link leads
        test::Press(*r.editor.form, "5 6");
        if (folder != "linked") continue;
        // The user hears of it once, not only on standard error.
        QTRY_COMPARE(r.editor.prompts.asked,
                     QStringList{"spritehex cannot keep a recovery copy: " + top.filePath(folder) +
                                 " is not a folder of its own (a symbolic link). Your changes are "
                                 "safe once you save them with S. | new* 1/1 | Ok | information"});
    }
    QCOMPARE(mode(shared), 01777u);
    QCOMPARE(QDir(shared).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{"editor-1.recovery"});
    QCOMPARE(mode(top.filePath("there")), 0755u);
    QCOMPARE(mode(top.filePath("made/by/it")), 0700u);
}

// Both editors run: each writes its own copy, and a third that starts finds neither to offer.
// Once one ends without a clean close, its copy is offered; the other's is not.
void EditorRecovery::twoEditorsKeepTheirOwnCopies() {
    QTemporaryDir folder;
    auto first = std::make_unique<RecoveringEditor>(folder.path());
    RecoveringEditor second(folder.path());
    test::Press(*first->editor.form, "5");
    test::Press(*second.editor.form, "6");
    const std::string firstCopy = first->recovery.CopyPath();
    const std::string secondCopy = second.recovery.CopyPath();
    QVERIFY(firstCopy != secondCopy);
    first->clock.Advance(2000);
    second.clock.Advance(2000);
    RecoveredDocument recovered;
    QTRY_COMPARE(CopiedImage(firstCopy, recovered), DocumentBytes(first->editor.form->Document()));
    QTRY_COMPARE(CopiedImage(secondCopy, recovered), DocumentBytes(second.editor.form->Document()));

    RecoveryCopy starting(folder.path());
    QCOMPARE(starting.FindLeftCopies().size(), std::size_t{0});

    test::Press(*first->editor.form, "7");
    const QByteArray last = DocumentBytes(first->editor.form->Document());
    first.reset();  // ends without a clean close: its latest state is kept
    std::vector<LeftCopy> found = starting.FindLeftCopies();
    QCOMPARE(found.size(), std::size_t{1});
    QCOMPARE(found[0].path, firstCopy);
    QCOMPARE(CopiedImage(found[0].path, recovered), last);
    // While one starting editor asks about it, another does not offer it too.
    RecoveryCopy alsoStarting(folder.path());
    QCOMPARE(alsoStarting.FindLeftCopies().size(), std::size_t{0});
    RecoveryCopy::Release(found[0]);
}

// What SIGTERM, SIGHUP, SIGINT and a lost X connection do: the change of a moment ago is in the
// copy at once, without waiting for the writer; afterwards nothing touches the folder any more.
void EditorRecovery::emergencyWritesTheLatestChangeAtOnce() {
    QTemporaryDir folder;
    RecoveringEditor r(folder.path());
    r.recovery.WriteOnSignalsAndExit();
    test::Press(*r.editor.form, "5");
    const QByteArray state = DocumentBytes(r.editor.form->Document());
    QVERIFY(emergency_copy::WriteNow());
    RecoveredDocument recovered;
    QCOMPARE(CopiedImage(r.recovery.CopyPath(), recovered), state);
    test::Press(*r.editor.form, "6");
    r.clock.Advance(1500);
    // Handed to the writer, which leaves the file alone now.
    QCOMPARE(r.recovery.WriteTimes().size(), std::size_t{1});
    r.recovery.WaitUntilWritten();
    QCOMPARE(CopiedImage(r.recovery.CopyPath(), recovered), state);
}

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    EditorRecovery tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_editor_recovery.moc"
