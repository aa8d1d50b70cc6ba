// The Generate window driven from the editor: key G, and the reference to the live document
// buffer with the size captured at G.

#include "test_support.h"
#include "window_test_support.h"

namespace {

QString CapturedSize(const TfrmExport& window) {
    const CapturedDocument& c = window.Captured();
    return QString("%1x%2x%3").arg(c.width).arg(c.height).arg(c.celCount);
}

}  // namespace

class GenerateFromEditor : public QObject {
    Q_OBJECT

  private slots:
    void keyGShowsTheTablesOfTheLiveDocument();
    void capturedDocument_data();
    void capturedDocument();
};

void GenerateFromEditor::keyGShowsTheTablesOfTheLiveDocument() {
    test::Editor editor;
    editor.Open("walk.dat", test::SpriteBytes(8, 8, 2, "1,1=3 2,2=5 c1:7,7=1"));
    editor.form->show();
    QVERIFY(QTest::qWaitForWindowActive(editor.form.get()));
    wtest::SetClipboard("before");
    test::Press(*editor.form, "G");
    TfrmExport& window = editor.frmExport;
    QVERIFY(window.isVisible());
    QVERIFY(editor.form->isVisible());  // not modal
    QCOMPARE(window.Data(), editor.form->Document().Buffer());
    QCOMPARE(CapturedSize(window), QString("8x8x2"));
    const QString text = wtest::CoreText(window.Captured(), GeneratorOptions{});
    QCOMPARE(text, QString("#00,#40,#20,#00,#00,#00,#00,#00,\r\n#00,#00,#00,#00,#00,#00,#00,#01"));
    QCOMPARE(wtest::Clipboard(), text);
    QCOMPARE(QString::fromStdString(window.Text()), text);
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // G with the window open: the same window, regenerated and copied again, still in front.
    const QPoint place = window.pos();
    wtest::SetClipboard("before");
    test::Press(*editor.form, "Alt+Shift+G");
    QVERIFY(window.isVisible());
    QCOMPARE(window.pos(), place);
    QCOMPARE(wtest::Clipboard(), text);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window.Memo1()));
    // The document is read, never written.
    QCOMPARE(editor.form->windowTitle(), QString("walk 1/2"));
}

// Starting from walk.dat (8 x 8, one cel) with the window opened by G: editor keys, then window
// keys, then perhaps G again.
void GenerateFromEditor::capturedDocument_data() {
    QTest::addColumn<QString>("editorKeys");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("windowKeys");
    QTest::addColumn<bool>("gAgain");
    QTest::addColumn<QString>("captured");
    QTest::addColumn<bool>("textUnchanged");
    // clang-format off
    QTest::newRow("an edit does not show by itself")
        << "Right 5" << "" << "" << false << "8x8x1" << true;
    QTest::newRow("an edit shows at the next option key")
        << "Right 5" << "" << "C" << false << "8x8x1" << false;
    QTest::newRow("an edit shows at the next G")
        << "Right 5" << "" << "" << true << "8x8x1" << false;
    QTest::newRow("a new document of another size: an option key keeps the old size")
        << "N" << "new:4,4,2" << "C" << false << "8x8x1" << false;
    QTest::newRow("a new document of another size: G captures the new one")
        << "N" << "new:4,4,2" << "" << true << "4x4x2" << false;
    QTest::newRow("an opened file of another size: G captures it")
        << "O" << "$TMP/big.dat" << "" << true << "16x3x3" << false;
    QTest::newRow("a cel added: the cel count stays until G")
        << "Ctrl+A" << "" << "O" << false << "8x8x1" << false;
    QTest::newRow("a cel added: G counts it")
        << "Ctrl+A" << "" << "" << true << "8x8x2" << false;
    // clang-format on
}

void GenerateFromEditor::capturedDocument() {
    QFETCH(QString, editorKeys);
    QFETCH(QString, answers);
    QFETCH(QString, windowKeys);
    QFETCH(bool, gAgain);
    QFETCH(QString, captured);
    QFETCH(bool, textUnchanged);

    test::Editor editor;
    test::WriteBytes(editor.Path("big.dat"), test::SpriteBytes(16, 3, 3, "0,0=1 15,2=2 c2:9,1=3"));
    editor.Open("walk.dat", test::SpriteBytes(8, 8, 1, "0,0=1 2,2=5"));
    editor.form->show();
    test::Press(*editor.form, "G");
    TfrmExport& window = editor.frmExport;
    const QString before = QString::fromStdString(window.Text());

    editor.prompts.script = answers.split(' ', Qt::SkipEmptyParts);
    test::Press(*editor.form, editorKeys);
    QCOMPARE(editor.prompts.script, QStringList());  // every answer was used
    test::Press(*window.Memo1(), windowKeys);
    if (gAgain) test::Press(*editor.form, "G");

    QCOMPARE(CapturedSize(window), captured);
    QCOMPARE(window.Data(), editor.form->Document().Buffer());
    const QString text = QString::fromStdString(window.Text());
    if (textUnchanged) {
        QCOMPARE(text, before);
    } else {
        QVERIFY(text != before);
        // The pixels of the live buffer, read with the captured size.
        QCOMPARE(text, wtest::CoreText(window.Captured(), window.Options()));
        QCOMPARE(wtest::Clipboard(), text);
    }
}

QTEST_MAIN(GenerateFromEditor)
#include "tst_editor_generate.moc"
