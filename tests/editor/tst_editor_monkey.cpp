// Thousands of random key presses and mouse events on the editor and the Generate window, with
// every question answered at random. After every event nothing has crashed, the document keeps
// its invariants and the title tells the truth. Seeded: SPRITEHEX_MONKEY_SEED=N replays one run,
// SPRITEHEX_MONKEY_EVENTS=N sets its length.

#include <random>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QSet>
#include <QTest>

#include "test_support.h"

namespace {

// Answers every question at random; file paths always lie inside the test's directory.
class RandomPrompts : public UserPrompts {
  public:
    RandomPrompts(std::mt19937& rng, QString dir) : rng_(rng), dir_(std::move(dir)) {}

    PromptAnswer Ask(const QString&, const QString&, PromptButtons buttons, PromptIcon) override {
        switch (buttons) {
            case PromptButtons::kOk:
                return PromptAnswer::kOk;
            case PromptButtons::kOkCancel:
                return Pick({PromptAnswer::kOk, PromptAnswer::kCancel});
            default:
                return Pick({PromptAnswer::kYes, PromptAnswer::kNo, PromptAnswer::kCancel});
        }
    }
    std::optional<QString> AskOpenPath(const QString&) override { return RandomPath(); }
    std::optional<QString> AskSavePath(const QString&) override { return RandomPath(); }
    std::optional<QString> AskExportPath(const QString&) override { return RandomPath(); }
    std::optional<NewDocumentTexts> AskNewDocument() override {
        NewDocumentTexts texts{Number(), Number(), Number()};
        if (Below(4) == 0) return std::nullopt;
        return texts;
    }
    std::optional<QString> AskImportPath(const QString&) override { return RandomPath(); }
    std::optional<CelSizeTexts> AskCelSize(const CelSizeQuestion&) override {
        CelSizeTexts texts{Number(), Number(), Below(2) == 0, Below(2) == 0};
        if (Below(4) == 0) return std::nullopt;
        return texts;
    }

  private:
    QString Number() {
        static const char* const kTexts[] = {"1",   "8",   "16",   "64",         "65", "0",
                                             "-3",  "$10", "0x3F", " 7",         "7 ", "",
                                             "abc", "100", "101",  "99999999999"};
        return kTexts[Below(std::size(kTexts))];
    }
    template <typename T>
    T Pick(std::initializer_list<T> options) {
        return *(options.begin() + Below(options.size()));
    }
    std::size_t Below(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
    }
    std::optional<QString> RandomPath() {
        static const char* const kNames[] = {
            "a.dat", "b.dat", "new.dat", "junk.dat", "no/such/dir/c.dat", "folder", "a.png"};
        if (Below(5) == 0) return std::nullopt;
        return dir_ + "/" + kNames[Below(std::size(kNames))];
    }

    std::mt19937& rng_;
    QString dir_;
};

class EditorMonkey : public QObject {
    Q_OBJECT

  private slots:
    void randomEvents_data();
    void randomEvents();
};

void EditorMonkey::randomEvents_data() {
    QTest::addColumn<unsigned>("seed");
    const QByteArray fixed = qgetenv("SPRITEHEX_MONKEY_SEED");
    if (!fixed.isEmpty()) {
        QTest::newRow(fixed.constData()) << fixed.toUInt();
        return;
    }
    for (unsigned seed : {1u, 2u, 3u, 4u}) QTest::newRow(qPrintable(QString::number(seed))) << seed;
}

void EditorMonkey::randomEvents() {
    QFETCH(unsigned, seed);
    const int events = qEnvironmentVariableIntValue("SPRITEHEX_MONKEY_EVENTS") > 0
                           ? qEnvironmentVariableIntValue("SPRITEHEX_MONKEY_EVENTS")
                           : 2500;
    std::mt19937 rng(seed);
    const auto below = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };

    QTemporaryDir dir;
    test::WritePaletteStrip(dir.filePath("pal.bmp"), 4);
    test::WriteColourStrip(dir.filePath("color.bmp"));
    test::WriteBytes(dir.filePath("junk.dat"), "not a sprite");
    test::WriteBytes(dir.filePath("b.dat"), test::SpriteBytes(16, 16, 3, "3,4=5 c2:15,15=F"));
    QDir(dir.path()).mkdir("folder");
    RandomPrompts prompts(rng, dir.path());
    TfrmExport frmExport;
    const std::unique_ptr<TForm1> editor = test::MakeEditor(dir.path(), prompts);
    TForm1& form = *editor;
    form.SetGenerateWindow(&frmExport);
    form.show();

    static const Qt::Key kKeys[] = {
        Qt::Key_0,    Qt::Key_1,  Qt::Key_2,      Qt::Key_5,      Qt::Key_9,      Qt::Key_A,
        Qt::Key_B,    Qt::Key_C,  Qt::Key_D,      Qt::Key_E,      Qt::Key_F,      Qt::Key_G,
        Qt::Key_H,    Qt::Key_I,  Qt::Key_J,      Qt::Key_M,      Qt::Key_N,      Qt::Key_O,
        Qt::Key_P,    Qt::Key_Q,  Qt::Key_R,      Qt::Key_S,      Qt::Key_T,      Qt::Key_V,
        Qt::Key_Z,    Qt::Key_X,  Qt::Key_Space,  Qt::Key_Escape, Qt::Key_PageUp, Qt::Key_PageDown,
        Qt::Key_Left, Qt::Key_Up, Qt::Key_Right,  Qt::Key_Down,   Qt::Key_F1,     Qt::Key_F2,
        Qt::Key_F3,   Qt::Key_F4, Qt::Key_Return, Qt::Key_Tab,    Qt::Key_Home,   Qt::Key_Percent,
        Qt::Key_At};
    // Arrows and colour keys come more often, so pictures actually get drawn.
    static const Qt::Key kCommon[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down,
                                      Qt::Key_3,    Qt::Key_7,     Qt::Key_C,  Qt::Key_Space};

    QString last;
    QSet<QString> namesSeen;
    for (int i = 0; i < events; ++i) {
        if (!form.isVisible()) form.show();  // a close that went through: start over
        const int kind = below(10);
        const Qt::KeyboardModifiers mods = Qt::KeyboardModifiers::fromInt(
            below(2) * Qt::ShiftModifier + below(3) / 2 * Qt::ControlModifier +
            below(5) / 4 * Qt::AltModifier + below(10) / 9 * Qt::KeypadModifier);
        const int zoom = form.Zoom();
        const QSize view(form.Document().Width() * zoom, form.Document().Height() * zoom);
        const QPoint at(below(view.width() + 40) - 20, below(view.height() + 40) - 20);
        if (kind < 6) {
            const Qt::Key key =
                below(3) == 0 ? kCommon[below(std::size(kCommon))] : kKeys[below(std::size(kKeys))];
            QWidget* target = &form;
            if (frmExport.isVisible() && below(2) == 0) {
                target = frmExport.focusWidget() ? frmExport.focusWidget() : &frmExport;
            }
            last = QString("key %1 mods %2").arg(key, 0, 16).arg(mods.toInt(), 0, 16);
            QTest::keyClick(target, key, mods);
        } else if (kind < 8) {
            const Qt::MouseButton button = below(4) == 0 ? Qt::RightButton : Qt::LeftButton;
            const QPoint inside(below(view.width()), below(view.height()));
            last = QString("click %1,%2").arg(inside.x()).arg(inside.y());
            QTest::mouseClick(form.imgMain(), button, Qt::NoModifier, inside);
        } else {
            const Qt::MouseButtons held = Qt::MouseButtons::fromInt(below(4));
            last = QString("move %1,%2 buttons %3").arg(at.x()).arg(at.y()).arg(held.toInt());
            QMouseEvent move(QEvent::MouseMove, at, form.imgMain()->mapToGlobal(at), Qt::NoButton,
                             held, Qt::NoModifier);
            QApplication::sendEvent(form.imgMain(), &move);
        }

        const TSpriteDocument& doc = form.Document();
        const QString where = QString("seed %1 event %2 (%3)").arg(seed).arg(i).arg(last);
        QVERIFY2(doc.Width() >= 1 && doc.Width() <= 64 && doc.Height() >= 1 && doc.Height() <= 64,
                 qPrintable(where));
        QVERIFY2(doc.CelCount() >= 1 && doc.CelCount() <= 100, qPrintable(where));
        QVERIFY2(doc.Buffer()[0] == doc.Width() && doc.Buffer()[1] == doc.Height() &&
                     doc.Buffer()[2] == doc.CelCount(),
                 qPrintable(where));
        QVERIFY2(doc.CurrentCel() >= 0 && doc.CurrentCel() < doc.CelCount(), qPrintable(where));
        QVERIFY2(doc.CursorX() >= 0 && doc.CursorX() < doc.Width() && doc.CursorY() >= 0 &&
                     doc.CursorY() < doc.Height(),
                 qPrintable(where));
        for (int b = 3; b < doc.UsedSize(); ++b) {
            if (doc.Buffer()[b] > 15) QFAIL(qPrintable(where + ": a pixel above 15"));
        }
        // The title shows the modified flag, the cel and the count as they are. The name may lag
        // behind after a save that took a new path but failed: it shows at the next rebuild.
        namesSeen.insert(QString::fromStdString(doc.Names().name));
        const QString title = form.windowTitle();
        const QString state = QString("%1 %2/%3")
                                  .arg(doc.Modified() ? "*" : "")
                                  .arg(doc.CurrentCel() + 1)
                                  .arg(doc.CelCount());
        const bool copyText = title.startsWith("copy:") && title.mid(5).toInt() >= 1 &&
                              title.mid(5).toInt() <= doc.CelCount();
        const bool stateShown =
            title.endsWith(state) && namesSeen.contains(title.left(title.size() - state.size()));
        QVERIFY2(stateShown || copyText, qPrintable(where + ": title " + title));
        // The view is the document's size at the window's zoom, as the event left them.
        const QSize shown(doc.Width() * form.Zoom(), doc.Height() * form.Zoom());
        QVERIFY2(form.MainImage().size() == shown, qPrintable(where + ": view size"));
    }
    // The run really drove the editor: it redrew, opened and saved files and changed size.
    qInfo("seed %u: %d redraws, names %s", seed, form.RedrawCount(),
          qPrintable(QStringList(namesSeen.begin(), namesSeen.end()).join(",")));
    QVERIFY(form.RedrawCount() > events / 4);
    QVERIFY(namesSeen.size() >= 3);
}

}  // namespace

QTEST_MAIN(EditorMonkey)
#include "tst_editor_monkey.moc"
