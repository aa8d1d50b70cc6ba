// The Generate window on its own: layout, option keys, result messages, Esc, and that what it
// shows and copies is exactly the generator core's text.

#include <random>

#include <QScreen>
#include <QTextBlock>
#include <QTextDocumentFragment>

#include "window_test_support.h"

using wtest::Clipboard;
using wtest::CoreText;

namespace {

constexpr auto kSprite = OutputType::kSprite;
constexpr auto kChr = OutputType::kChr;

// Two 16 x 2 cels using colours 1, 2 and 3 = 1 OR 2: every generator writes something different
// for them, and the two-layer generator without colour data finds too many colours.
Pixels OptionPicture() {
    return Join({{1, 1, 0, 2, 2, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 1},
                 {0, 0, 0, 0, 0, 0, 0, 0, 3, 3, 0, 0, 0, 0, 0, 0},
                 {0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                 {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1}});
}

const QString kSentinel = QStringLiteral("held by the clipboard before");

QString Lf(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// What Memo1 shows and has selected, the clipboard and lbResult all agree with the core.
void CheckShowsCoreText(TfrmExport& window, const GeneratorOptions& options) {
    const GenerationResult core = Regenerate(window.Captured(), options);
    const QString text = QString::fromStdString(core.text);
    QCOMPARE(QString::fromStdString(window.Text()), text);
    QCOMPARE(Clipboard(), text);
    QCOMPARE(Clipboard().toUtf8(), QByteArray::fromStdString(core.text));  // byte for byte
    QCOMPARE(window.Memo1()->toPlainText(), Lf(text));
    QCOMPARE(window.Memo1()->document()->blockCount(), text.count(QStringLiteral("\r\n")) + 1);
    QCOMPARE(window.Memo1()->textCursor().selection().toPlainText(), Lf(text));
    QCOMPARE(window.lbResult()->text(), QString::fromLatin1(ResultMessage(core.resultCode)));
    QCOMPARE(window.ResultCode(), core.resultCode);
}

}  // namespace

class GenerateWindow : public QObject {
    Q_OBJECT

  private slots:
    void cleanup();
    void nothingIsMadeAtCreation();
    void layout();
    void firstGeneration();
    void optionKeys_data();
    void optionKeys();
    void shiftTwoAsAnXServerSendsIt();
    void resultMessages_data();
    void resultMessages();
    void escHidesAndKeepsOptions();
    void textIsTheCoresForEveryOptionSet_data();
    void textIsTheCoresForEveryOptionSet();
    void addTextAndAddCommas_data();
    void addTextAndAddCommas();
    void formatKey_data();
    void formatKey();
    void documentNameForLabels_data();
    void documentNameForLabels();
};

void GenerateWindow::cleanup() {
    for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
}

// The window is created hidden at start; its controls wait until it is first needed.
void GenerateWindow::nothingIsMadeAtCreation() {
    TfrmExport window;
    QVERIFY(window.findChildren<QWidget*>().isEmpty());
    QVERIFY(!window.isVisible());
    QCOMPARE(window.Options().outputType, kSprite);
    QCOMPARE(window.Options().layers, 1);
    QVERIFY(!window.Options().colorData);
    QCOMPARE(window.Options().comma, kCommaOn);
}

void GenerateWindow::layout() {
    const std::vector<std::uint8_t> buffer =
        wtest::Buffer(8, 16, Pixels(8 * 16, std::uint8_t{15}));  // lines of 16 bytes
    TfrmExport window;
    window.SetData(buffer.data());
    window.ShowWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QString("Generate"));
    QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(window.size(), QSize(409, 166));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(window.pos(), QPoint((screen.width() - 409) / 2, (screen.height() - 166) / 2));

    MemoBox* memo = window.Memo1();
    QCOMPARE(memo->geometry(), QRect(0, 0, 409, 129));
    QVERIFY(memo->isReadOnly());
    QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(memo));

    const std::pair<QLabel*, QPoint> labels[] = {
        {window.lbType(), {5, 134}},      {window.lb1Color(), {75, 134}},
        {window.lb2layers(), {161, 134}}, {window.lbFormat(), {342, 134}},
        {window.lbResult(), {6, 151}},    {window.lbPieces(), {290, 151}},
    };
    for (const auto& [label, place] : labels) {
        QCOMPARE(label->pos(), place);
        QCOMPARE(label->size(), label->sizeHint());  // sized to its text
        QCOMPARE(label->buddy(), static_cast<QWidget*>(memo));
    }

    // Whatever this desktop's font, a line of 16 bytes (a character, or a sprite 8 pixels wide
    // and 16 high) is seen whole.
    const QFontMetrics metrics(memo->font());
    const int room = memo->viewport()->width() - 2 * int(memo->document()->documentMargin());
    for (QTextBlock line = memo->document()->begin(); line.isValid(); line = line.next()) {
        QVERIFY2(metrics.horizontalAdvance(line.text()) <= room, qPrintable(line.text()));
    }
    QCOMPARE(memo->document()->firstBlock().text().size(), 16 * 4 - 1);  // no comma at the end
}

// The first generation: the initial labels, "no error", the single-layer patterns without colour
// lines, and the same text on the clipboard, all of it selected in Memo1.
void GenerateWindow::firstGeneration() {
    const std::vector<std::uint8_t> buffer = wtest::Buffer(16, 2, OptionPicture());
    wtest::SetClipboard(kSentinel);
    TfrmExport window;
    window.SetData(buffer.data());
    window.ShowWindow();
    QCOMPARE(wtest::Labels(window),
             (QStringList{"&Type: Sprite", "&Color data:No", "&2 layers: No", "C&omma: Yes"}));
    QVERIFY(window.lb1Color()->isEnabled());
    QVERIFY(window.lb2layers()->isEnabled());
    QCOMPARE(window.lbOutput()->text(), QString("&Format: Hex"));
    QCOMPARE(window.lbResult()->text(), QString("no error"));
    // Left column rows, then right column rows; one line per cel.
    QCOMPARE(Clipboard(), QString("#DA,#00,#01,#C0,\r\n#40,#00,#00,#0F"));
    CheckShowsCoreText(window, GeneratorOptions{});
}

void GenerateWindow::optionKeys_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<bool>("spriteLabelsEnabled");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("layers");  // 0: auto
    QTest::addColumn<bool>("colorData");
    QTest::addColumn<int>("comma");
    QTest::addColumn<bool>("copied");  // false: the clipboard still holds what it held before

    const QString sprite = "&Type: Sprite", chr = "&Type: Chr";
    const QString colourNo = "&Color data:No", colourYes = "&Color data:Yes";
    const QString layersNo = "&2 layers: No", layersYes = "&2 layers: Yes";
    const QString commaYes = "C&omma: Yes", commaNo = "C&omma: No";
    const QStringList initial = {sprite, colourNo, layersNo, commaYes};
    // clang-format off
    QTest::newRow("C adds the colour lines")
        << "C" << QStringList{sprite, colourYes, layersNo, commaYes} << true << 0 << 1 << true << 1 << true;
    QTest::newRow("C again restores the text")
        << "C C" << initial << true << 0 << 1 << false << 1 << true;
    QTest::newRow("Shift+C toggles like C")
        << "Shift+C" << QStringList{sprite, colourYes, layersNo, commaYes} << true << 0 << 1 << true << 1 << true;
    QTest::newRow("Alt+C toggles like C, though it is the label's mnemonic")
        << "Alt+C" << QStringList{sprite, colourYes, layersNo, commaYes} << true << 0 << 1 << true << 1 << true;
    QTest::newRow("O writes bare digits")
        << "O" << QStringList{sprite, colourNo, layersNo, commaNo} << true << 0 << 1 << false << 0 << true;
    QTest::newRow("2 splits into two layers")
        << "2" << QStringList{sprite, colourNo, layersYes, commaYes} << true << 0 << 2 << false << 1 << true;
    QTest::newRow("2 and C: two layers with colour bytes")
        << "2 C" << QStringList{sprite, colourYes, layersYes, commaYes} << true << 0 << 2 << true << 1 << true;
    QTest::newRow("T shows character tables and greys two labels")
        << "T" << QStringList{chr, colourNo, layersNo, commaYes} << false << 1 << 1 << false << 1 << true;
    QTest::newRow("Shift+Alt+T toggles like T")
        << "Shift+Alt+T" << QStringList{chr, colourNo, layersNo, commaYes} << false << 1 << 1 << false << 1 << true;
    QTest::newRow("Chr keeps two layers and colour data")
        << "2 C T" << QStringList{chr, colourYes, layersYes, commaYes} << false << 1 << 2 << true << 1 << true;
    QTest::newRow("and the next T applies them again")
        << "2 C T T" << QStringList{sprite, colourYes, layersYes, commaYes} << true << 0 << 2 << true << 1 << true;
    QTest::newRow("options still toggle under Chr")
        << "T C O" << QStringList{chr, colourYes, layersNo, commaNo} << false << 1 << 1 << true << 0 << true;
    QTest::newRow("L L: three layers")
        << "L L" << QStringList{sprite, colourNo, "&Layers: 3", commaYes} << true << 0 << 3 << false << 1 << true;
    QTest::newRow("L four times: as many layers as the document needs")
        << "L L L L C" << QStringList{sprite, colourYes, "&Layers: auto (2)", commaYes} << true << 0 << 0 << true << 1 << true;
    QTest::newRow("2 from three layers goes back to one")
        << "L L 2" << initial << true << 0 << 1 << false << 1 << true;
    QTest::newRow("Ctrl+C toggles nothing; the text box copies the selected text exactly")
        << "Ctrl+C" << initial << true << 0 << 1 << false << 1 << true;
    QTest::newRow("other keys toggle nothing")
        << "A X 1 3 Left End" << initial << true << 0 << 1 << false << 1 << false;
    // clang-format on
}

void GenerateWindow::optionKeys() {
    QFETCH(QString, keys);
    QFETCH(QStringList, labels);
    QFETCH(bool, spriteLabelsEnabled);
    QFETCH(int, type);
    QFETCH(int, layers);
    QFETCH(bool, colorData);
    QFETCH(int, comma);
    QFETCH(bool, copied);

    const std::vector<std::uint8_t> buffer = wtest::Buffer(16, 2, OptionPicture());
    TfrmExport window;
    window.SetData(buffer.data());
    window.ShowWindow();
    // Active, as under a user's hands: the labels' mnemonics are live shortcuts then.
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QString before = QString::fromStdString(window.Text());
    wtest::SetClipboard(kSentinel);

    test::Press(*window.Memo1(), keys);

    QVERIFY(window.isVisible());
    QCOMPARE(wtest::Labels(window), labels);
    // Whatever this desktop's font, the labels never run into each other or off the window.
    const QLabel* row[] = {window.lbType(), window.lb1Color(), window.lb2layers(),
                           window.lbFormat()};
    for (std::size_t i = 0; i + 1 < std::size(row); ++i) {
        QVERIFY2(row[i]->geometry().right() < row[i + 1]->x(), qPrintable(row[i]->text()));
    }
    QVERIFY(window.lbFormat()->geometry().right() < window.width());
    QVERIFY(window.lbOutput()->geometry().right() < window.lbPieces()->x());
    QVERIFY(window.lbPieces()->geometry().right() < window.width());
    QCOMPARE(window.lbPieces()->isEnabled(), spriteLabelsEnabled);
    QCOMPARE(window.lb1Color()->isEnabled(), spriteLabelsEnabled);
    QCOMPARE(window.lb2layers()->isEnabled(), spriteLabelsEnabled);
    QVERIFY(window.lbType()->isEnabled());
    QVERIFY(window.lbFormat()->isEnabled());
    const GeneratorOptions expected{static_cast<OutputType>(type), layers, colorData, comma};
    QCOMPARE(window.Options().outputType, expected.outputType);
    QCOMPARE(window.Options().layers, expected.layers);
    QCOMPARE(window.Options().colorData, expected.colorData);
    QCOMPARE(window.Options().comma, expected.comma);
    if (copied) {
        CheckShowsCoreText(window, expected);
    } else {
        QCOMPARE(Clipboard(), kSentinel);
        QCOMPARE(QString::fromStdString(window.Text()), before);
    }
}

// Shift+2 as the X server delivers it: "@" on the key of the 2 (X keycode 11) toggles two layers.
void GenerateWindow::shiftTwoAsAnXServerSendsIt() {
    const std::vector<std::uint8_t> buffer = wtest::Buffer(16, 2, OptionPicture());
    TfrmExport window;
    window.SetData(buffer.data());
    window.ShowWindow();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_At, Qt::ShiftModifier, 11, 0, 0);
    QApplication::sendEvent(window.Memo1(), &press);
    QCOMPARE(window.Options().layers, 2);
    QCOMPARE(window.lb2layers()->text(), QString("&2 layers: Yes"));
}

void GenerateWindow::resultMessages_data() {
    QTest::addColumn<Pixels>("pixels");  // one 8 x 1 cel
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("message");
    const Pixels notOr = {1, 3, 4, 0, 0, 0, 0, 0};
    const Pixels four = {1, 2, 3, 4, 0, 0, 0, 0};
    const Pixels three = {1, 2, 3, 0, 0, 0, 0, 0};
    QTest::newRow("a third colour that is not the OR of the others")
        << notOr << "2 C"
        << "3rd color is not or'ing color";
    QTest::newRow("four colours on a line") << four << "2 C"
                                            << "too many colors";
    QTest::newRow("three colours in a cel without colour data") << three << "2"
                                                                << "too many colors";
    QTest::newRow("the OR colour keeps the rules") << three << "2 C"
                                                   << "no error";
    QTest::newRow("Chr reports no error for the same picture") << four << "2 C T"
                                                               << "no error";
    QTest::newRow("single layer reports nothing") << four << "C"
                                                  << "no error";
    QTest::newRow("back to two layers reports again") << four << "2 C T T"
                                                      << "too many colors";
}

void GenerateWindow::resultMessages() {
    QFETCH(Pixels, pixels);
    QFETCH(QString, keys);
    QFETCH(QString, message);
    const std::vector<std::uint8_t> buffer = wtest::Buffer(8, 1, pixels);
    TfrmExport window;
    window.SetData(buffer.data());
    window.ShowWindow();
    test::Press(*window.Memo1(), keys);
    QCOMPARE(window.lbResult()->text(), message);
    QCOMPARE(window.lbResult()->size(), window.lbResult()->sizeHint());
    CheckShowsCoreText(window, window.Options());  // the text is written regardless
}

// Esc hides the window and leaves the clipboard alone; the next SetData regenerates with the
// options as they were left and copies afresh.
void GenerateWindow::escHidesAndKeepsOptions() {
    std::vector<std::uint8_t> buffer = wtest::Buffer(16, 2, OptionPicture());
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    TfrmExport window;
    window.SetData(buffer.data());
    window.ShowWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    test::Press(*window.Memo1(), "C O");
    const QString shown = window.Memo1()->toPlainText();
    wtest::SetClipboard(kSentinel);
    test::Press(*window.Memo1(), "Esc");
    QVERIFY(!window.isVisible());
    QCOMPARE(Clipboard(), kSentinel);
    QCOMPARE(window.Memo1()->toPlainText(), shown);
    QVERIFY(QTest::qWaitForWindowActive(&other));  // the keyboard goes back

    buffer[3 + 2] = 5;  // an edit while the window is hidden: pixel (2, 0) of cel 1
    window.move(10, 10);
    window.SetData(buffer.data());
    window.ShowWindow();
    QVERIFY(window.isVisible());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(window.pos(), QPoint((screen.width() - 409) / 2, (screen.height() - 166) / 2));
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window.Memo1()));
    QCOMPARE(wtest::Labels(window),
             (QStringList{"&Type: Sprite", "&Color data:Yes", "&2 layers: No", "C&omma: No"}));
    CheckShowsCoreText(window, GeneratorOptions{kSprite, 1, true, 0});
    QVERIFY(QString::fromStdString(window.Text()).startsWith("FA"));
}

// Random pictures of many sizes, every one of the sixteen option sets reached by keys: the
// window always shows and copies exactly the core's text.
void GenerateWindow::textIsTheCoresForEveryOptionSet_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("cels");
    QTest::addColumn<int>("colours");
    QTest::newRow("1 x 1") << 1 << 1 << 1 << 16;
    QTest::newRow("8 x 8, three cels of few colours") << 8 << 8 << 3 << 3;
    QTest::newRow("9 x 3, a right column of one pixel") << 9 << 3 << 2 << 4;
    QTest::newRow("16 x 16, four cels") << 16 << 16 << 4 << 16;
    QTest::newRow("63 x 5") << 63 << 5 << 2 << 2;
    QTest::newRow("the largest document: 100 cels of 64 x 64") << 64 << 64 << 100 << 16;
}

void GenerateWindow::textIsTheCoresForEveryOptionSet() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, cels);
    QFETCH(int, colours);
    std::mt19937 random(static_cast<unsigned>(width * 1000 + height * 10 + cels));
    Pixels pixels(static_cast<std::size_t>(width * height * cels));
    for (auto& p : pixels) p = static_cast<std::uint8_t>(random() % static_cast<unsigned>(colours));
    const std::vector<std::uint8_t> buffer = wtest::Buffer(width, height, pixels);
    TfrmExport window;
    window.SetData(buffer.data());
    window.ShowWindow();
    for (int set = 0; set < 16; ++set) {
        const GeneratorOptions options{(set & 8) ? kChr : kSprite, (set & 1) != 0 ? 2 : 1,
                                       (set & 2) != 0, (set & 4) ? 0 : kCommaOn};
        // From the options the window holds to the ones of this set, one key per difference.
        QString keys;
        if (window.Options().layers != options.layers) keys += "2 ";
        if (window.Options().colorData != options.colorData) keys += "Shift+C ";
        if (window.Options().comma != options.comma) keys += "O ";
        if (window.Options().outputType != options.outputType) keys += "Alt+T ";
        test::Press(*window.Memo1(), keys);
        CheckShowsCoreText(window, options);
        if (QTest::currentTestFailed()) {
            qWarning("option set %d", set);
            return;
        }
    }
}

// The output text behind Memo1 grows by AddText and gets its commas by AddCommas in the window's
// comma mode.
void GenerateWindow::addTextAndAddCommas_data() {
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<bool>("commaOff");
    QTest::addColumn<QString>("text");
    QTest::newRow("a line break between pieces, no empty line")
        << QStringList{"A", "\n", "B"} << false << "A,\r\nB";
    QTest::newRow("comma mode 0 adds no commas") << QStringList{"A", "\n", "B"} << true << "A\r\nB";
    // The line rules themselves (final breaks, empty lines): output_text_test.
}

void GenerateWindow::addTextAndAddCommas() {
    QFETCH(QStringList, pieces);
    QFETCH(bool, commaOff);
    QFETCH(QString, text);
    TfrmExport window;  // nothing captured: every generation writes an empty text
    if (commaOff) window.Memo1KeyDown('O', false, false, false);
    QCOMPARE(QString::fromStdString(window.Text()), QString());
    for (const QString& piece : pieces) window.AddText(piece.toStdString());
    window.AddCommas();
    QCOMPARE(QString::fromStdString(window.Text()), text);
}

// F shows the next format: the tables of the same options through another writer, named after the
// document, copied with LF line breaks; the comma label is greyed, O still toggles its option.
void GenerateWindow::formatKey_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("label");
    QTest::newRow("F: Assembler") << "F" << int(TableFormat::kAsm) << "&Format: Assembler";
    QTest::newRow("F F: C") << "F F" << int(TableFormat::kC) << "&Format: C";
    QTest::newRow("F F F: BASIC") << "F F F" << int(TableFormat::kBasic) << "&Format: BASIC";
    QTest::newRow("F F F F: Hex again") << "F F F F" << int(TableFormat::kHex) << "&Format: Hex";
    QTest::newRow("Shift+F and Alt+F act like F")
        << "Shift+F Alt+F" << int(TableFormat::kC) << "&Format: C";
    QTest::newRow("options apply to the format shown")
        << "F 2 C T" << int(TableFormat::kAsm) << "&Format: Assembler";
    QTest::newRow("O under Assembler toggles the Hex text's commas")
        << "F O F F F" << int(TableFormat::kHex) << "&Format: Hex";
}

void GenerateWindow::formatKey() {
    QFETCH(QString, keys);
    QFETCH(int, format);
    QFETCH(QString, label);
    const std::vector<std::uint8_t> buffer = wtest::Buffer(16, 2, OptionPicture());
    TfrmExport window;
    window.SetDocumentName("2 walk");
    window.SetData(buffer.data());
    window.ShowWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    test::Press(*window.Memo1(), keys);

    QCOMPARE(int(window.Format()), format);
    QCOMPARE(window.lbOutput()->text(), label);
    QCOMPARE(window.lbFormat()->isEnabled(), format == int(TableFormat::kHex));
    QCOMPARE(window.size(), QSize(409, 166));
    QCOMPARE(window.Writer().name, std::string("_2_walk"));
    const GeneratedTables tables = GenerateTables(window.Captured(), window.Options());
    const Result<std::string> expected =
        WriteTables(tables, static_cast<TableFormat>(format), window.Writer());
    QVERIFY(expected.ok());
    const QString text = QString::fromStdString(*expected);
    QCOMPARE(QString::fromStdString(window.Text()), text);
    QCOMPARE(Clipboard(), text);
    QCOMPARE(window.Memo1()->toPlainText(), Lf(text));
    QCOMPARE(window.lbResult()->text(), QString::fromLatin1(ResultMessage(tables.resultCode)));
    if (format != int(TableFormat::kHex)) {
        QVERIFY(!text.contains('\r'));
        QVERIFY(text.startsWith(format == int(TableFormat::kAsm) ? "_2_walk_c1_pattern"
                                : format == int(TableFormat::kC) ? "/* Tables of 2 walk.dat */"
                                                                 : "10 REM _2_walk cel 1 pattern"));
    }
    // A copy from the text box has the line breaks of the format.
    wtest::SetClipboard(kSentinel);
    test::Press(*window.Memo1(), "Ctrl+C");
    QCOMPARE(Clipboard(), text);
    // The format label and the result line never run into each other, whatever the message.
    for (const char* message : {"3rd color is not or'ing color", "color code not found"}) {
        window.lbResult()->setText(QString::fromLatin1(message));
        window.lbResult()->adjustSize();
        QVERIFY2(window.lbResult()->geometry().right() < window.lbOutput()->x(), message);
    }
    for (const char* widest : {"&Format: Assembler", "&Format: BASIC"}) {
        window.lbOutput()->setText(QString::fromLatin1(widest));
        window.lbOutput()->adjustSize();
        QVERIFY2(window.lbOutput()->geometry().right() < window.width(), widest);
    }
}

// NAME is the document name the editor gives at G, made an identifier; "new" before any.
void GenerateWindow::documentNameForLabels_data() {
    QTest::addColumn<QStringList>("names");  // given before each capture
    QTest::addColumn<QString>("name");
    QTest::newRow("a saved document") << QStringList{"walk"} << "walk";
    QTest::newRow("with blanks") << QStringList{"my walk"} << "my_walk";
    QTest::newRow("the last one given") << QStringList{"ship", "walk"} << "walk";
    QTest::newRow("nothing given: new") << QStringList{} << "new";
}

void GenerateWindow::documentNameForLabels() {
    QFETCH(QStringList, names);
    QFETCH(QString, name);
    const std::vector<std::uint8_t> buffer = wtest::Buffer(8, 1, Pixels(8, 1));
    TfrmExport window;
    for (const QString& given : names) {
        window.SetDocumentName(given.toStdString());
        window.SetData(buffer.data());
    }
    window.SetData(buffer.data());
    QCOMPARE(QString::fromStdString(window.Writer().name), name);
}

QTEST_MAIN(GenerateWindow)
#include "tst_generate_window.moc"
