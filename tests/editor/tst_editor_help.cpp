// F1 and the key help window: every key the handler acts on is listed, lines are grouped and
// merged as a reader expects, Esc or F1 closes the window and the editor takes the keyboard back,
// and nothing of the document changes on the way.

#include <set>

#include <QApplication>
#include <QTest>

#include "editor/key_help_listing.h"
#include "editor/key_help_window.h"
#include "keys/companion_keys.h"
#include "keys/dialog_keys.h"
#include "keys/editor_keys.h"
#include "keys/generate_keys.h"
#include "test_support.h"

class EditorHelp : public QObject {
    Q_OBJECT

  private slots:
    void everyBoundKeyIsListed();
    void everyGenerateWindowKeyIsListed();
    void listing_data();
    void listing();
    void openAndClose_data();
    void openAndClose();
    void f1AgainKeepsOneWindowAndAClosedWindowGivesTheKeyboardBack();
};

namespace {

const HelpSection* FindSection(const std::vector<HelpSection>& sections, const QString& title) {
    for (const HelpSection& section : sections) {
        if (section.title == title) return &section;
    }
    return nullptr;
}

}  // namespace

// Every (key, Shift, Ctrl, Alt) that the editor acts on is decided by a table row; that row is on
// a line of the listing, and the line's keys and text are on screen.
void EditorHelp::everyBoundKeyIsListed() {
    const std::vector<HelpSection> sections = KeyHelpSections();
    QWidget editor;
    const QString shown = ShowKeyHelp(editor).Text();
    std::set<const KeyBinding*> bound;
    for (int code = 0; code < 256; ++code) {
        for (int mods = 0; mods < 8; ++mods) {
            const KeyBinding* row = FindKeyBinding(code, mods & 1, mods & 2, mods & 4);
            if (row == nullptr || !bound.insert(row).second) continue;
            const HelpLine* listed = nullptr;
            for (const HelpSection& section : sections) {
                for (const HelpLine& line : section.lines) {
                    for (const KeyBinding* b : line.bindings) {
                        if (b == row) listed = &line;
                    }
                }
            }
            const QString name =
                QString("%1 (code %2, modifiers %3)").arg(row->keys).arg(code).arg(mods);
            QVERIFY2(listed != nullptr, qPrintable(name + " is not in the listing"));
            QVERIFY2(listed->keys.contains(QString::fromUtf8(row->keys)), qPrintable(name));
            QVERIFY2(shown.contains(listed->keys), qPrintable(name + ": keys not shown"));
            QVERIFY2(shown.contains(listed->what), qPrintable(name + ": text not shown"));
        }
    }
    // Every row of both tables that runs a command is reachable by some key press.
    std::size_t commandRows = 0;
    for (const auto table : {FirstKeyTable(), SecondKeyTable()}) {
        for (const KeyBinding& row : table) commandRows += row.command != Command::kNothing;
    }
    QCOMPARE(bound.size(), commandRows);
}

void EditorHelp::everyGenerateWindowKeyIsListed() {
    const std::vector<HelpSection> sections = KeyHelpSections();
    const HelpSection* generate = FindSection(sections, "Generate window");
    QVERIFY(generate != nullptr);
    QWidget editor;
    const QString shown = ShowKeyHelp(editor).Text();
    for (const GenerateKey& row : GenerateKeyTable()) {
        bool found = false;
        for (const HelpLine& line : generate->lines) {
            found = found || (line.keys == row.keys && line.what == row.what);
        }
        QVERIFY2(found, row.keys);
        QVERIFY2(shown.contains(QString::fromUtf8(row.what)), row.keys);
    }
    // The companion window's, the New dialog's, the cel-size dialog's and the help window's keys,
    // each row on a line of its section.
    const HelpSection* companion = FindSection(sections, "Companion window");
    QVERIFY(companion != nullptr);
    for (const CompanionKey& row : CompanionKeyTable()) {
        bool found = false;
        for (const HelpLine& line : companion->lines) {
            found = found || (line.keys.split(", ").contains(row.keys) && line.what == row.what);
        }
        QVERIFY2(found, row.keys);
        QVERIFY2(shown.contains(QString::fromUtf8(row.what)), row.keys);
    }
    for (const auto& [title, table] : {std::pair{"New dialog", NewDialogKeyTable()},
                                       std::pair{"Cel size dialog (I)", CelSizeDialogKeyTable()},
                                       std::pair{"This window", HelpWindowKeyTable()}}) {
        const HelpSection* section = FindSection(sections, title);
        QVERIFY(section != nullptr);
        for (const DialogKey& row : table) {
            bool found = false;
            for (const HelpLine& line : section->lines) {
                found =
                    found || (line.keys.split(", ").contains(row.keys) && line.what == row.what);
            }
            QVERIFY2(found, row.keys);
        }
    }
}

// Where a reader finds a command, and rows of one command sharing one line.
void EditorHelp::listing_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("what");
    QTest::newRow("Esc and Q share a line") << "Window"
                                            << "Esc, Q"
                                            << "close the editor";
    QTest::newRow("F1 itself") << "Window"
                               << "F1"
                               << "this list of keys";
    QTest::newRow("Alt with the arrows moves the window") << "Window"
                                                          << "Alt+arrows"
                                                          << "move the window";
    QTest::newRow("PageUp and J") << "Cels"
                                  << "PageUp, J"
                                  << "previous cel";
    QTest::newRow("PageDown and M") << "Cels"
                                    << "PageDown, M"
                                    << "next cel";
    QTest::newRow("O and F3") << "Files"
                              << "O, F3"
                              << "open a document";
    QTest::newRow("S and F2 save") << "Files"
                                   << "S, F2"
                                   << "save";
    QTest::newRow("three keys save under a new name") << "Files"
                                                      << "Ctrl+S, Ctrl+F2, F4"
                                                      << "save under a new name";
    QTest::newRow("digits and letters are separate colour lines")
        << "Drawing"
        << "A-F"
        << "colour 10 to 15 at the cursor";
    QTest::newRow("flood fill is drawing") << "Drawing"
                                           << "Shift+0-9"
                                           << "flood fill with 0 to 9";
    QTest::newRow("undo is drawing") << "Drawing"
                                     << "Z"
                                     << "undo the last change, back in its own cel";
    QTest::newRow("the mouse draws")
        << "Drawing"
        << "right click"
        << "move the cursor there and draw colour 0, which becomes current";
    QTest::newRow("arrows move the cursor")
        << "Cursor"
        << "arrows"
        << "move the cursor; with Shift draw the colour under it";
    QTest::newRow("scrolling is a transform") << "Transforms"
                                              << "Ctrl+arrows"
                                              << "scroll with wrap-around";
    QTest::newRow("G opens the Generate window") << "Generate window"
                                                 << "G"
                                                 << "generate data tables";
    QTest::newRow("the New dialog's keys come from its table") << "New dialog"
                                                               << "Enter"
                                                               << "make the new document";
    QTest::newRow("the help window's keys come from its table") << "This window"
                                                                << "Esc, F1"
                                                                << "close this window";
    QTest::newRow("W shows the companion") << "View"
                                           << "W"
                                           << "show or hide the companion window: animation, "
                                              "palette, state";
    QTest::newRow("L is the onion skin") << "View"
                                         << "L"
                                         << "onion skin: the previous cel through colour 0";
    QTest::newRow("+ zooms in through the steps") << "View"
                                                  << "+"
                                                  << "zoom in: 4, 6, 8, 12, 16, 24, 32";
    QTest::newRow("the companion's Space") << "Companion window"
                                           << "Space"
                                           << "play or pause the animation";
    QTest::newRow("Esc and W hide the companion on one line")
        << "Companion window"
        << "Esc, W"
        << "hide this window; the keys go to the editor";
    QTest::newRow("a click on a swatch chooses without drawing")
        << "Companion window"
        << "click on a swatch"
        << "choose its colour without drawing; the keys stay with the editor";
    QTest::newRow("+ and - on every layout, in plain words")
        << "Modifier keys"
        << "+ and -"
        << "the main row's (= as +, with or without Shift) and the keypad's; Ctrl + them does "
           "nothing";
    QTest::newRow("Shift with a colour key in plain words")
        << "Modifier keys"
        << "Shift + colour key"
        << "flood fill from the cursor with that colour";
}

void EditorHelp::listing() {
    QFETCH(QString, section);
    QFETCH(QString, keys);
    QFETCH(QString, what);
    const std::vector<HelpSection> sections = KeyHelpSections();
    const HelpSection* found = FindSection(sections, section);
    QVERIFY(found != nullptr);
    QStringList lines;
    for (const HelpLine& line : found->lines) {
        if (line.keys == keys) QCOMPARE(line.what, what);
        lines << line.keys;
    }
    QVERIFY2(lines.contains(keys), qPrintable(lines.join(" | ")));
}

// The help opens with any modifiers; keys typed into it stay there (Q does not close the editor,
// 5 draws nothing); Esc or F1 closes it and the editor is active again, so the next key draws.
void EditorHelp::openAndClose_data() {
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("close");
    QTest::newRow("F1, then Esc") << "F1"
                                  << "Esc";
    QTest::newRow("F1, then F1") << "F1"
                                 << "F1";
    QTest::newRow("Shift+F1, then Shift+Esc") << "Shift+F1"
                                              << "Shift+Esc";
    QTest::newRow("Ctrl+F1, then Ctrl+F1") << "Ctrl+F1"
                                           << "Ctrl+F1";
}

void EditorHelp::openAndClose() {
    QFETCH(QString, open);
    QFETCH(QString, close);
    test::Editor editor;
    editor.Open("walk.dat", test::SpriteBytes(4, 4, 2, "0,0=3 2,2=9 c1:1,1=4"));
    editor.form->show();
    QVERIFY(QTest::qWaitForWindowActive(editor.form.get()));
    const TSpriteDocument& doc = editor.form->Document();
    const QByteArray before = test::DocumentBytes(doc);
    const QString title = editor.form->windowTitle();

    const auto [key, mods] = test::ParseKey(open);
    QTest::keyClick(editor.form.get(), key, mods);
    auto* help = editor.form->findChild<KeyHelpWindow*>();
    QVERIFY(help != nullptr);
    QVERIFY(help->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(help));
    QTRY_VERIFY(QApplication::focusWidget() != nullptr &&
                help->isAncestorOf(QApplication::focusWidget()));
    QWidget* focus = QApplication::focusWidget();

    QTest::keyClick(focus, Qt::Key_5);
    QTest::keyClick(focus, Qt::Key_Q);
    QTest::keyClick(focus, Qt::Key_PageDown);
    QVERIFY(help->isVisible());
    QVERIFY(editor.form->isVisible());

    const auto [closeKey, closeMods] = test::ParseKey(close);
    QTest::keyClick(focus, closeKey, closeMods);
    QVERIFY(!help->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(editor.form.get()));

    QCOMPARE(test::DocumentBytes(doc), before);
    QVERIFY(!doc.Modified());
    QCOMPARE(editor.form->windowTitle(), title);
    QCOMPARE(QPoint(doc.CursorX(), doc.CursorY()), QPoint(2, 2));
    QCOMPARE(int{doc.CurrentColour()}, 0);
    QVERIFY(editor.prompts.asked.isEmpty());

    test::Press(*editor.form, "7");
    QCOMPARE(int{editor.form->GetPixel(2, 2)}, 7);
}

void EditorHelp::f1AgainKeepsOneWindowAndAClosedWindowGivesTheKeyboardBack() {
    test::Editor editor;
    editor.form->show();
    QVERIFY(QTest::qWaitForWindowActive(editor.form.get()));
    test::Press(*editor.form, "F1");
    test::Press(*editor.form, "F1");  // the editor got the keyboard back some other way
    QCOMPARE(editor.form->findChildren<KeyHelpWindow*>().size(), 1);
    KeyHelpWindow* help = editor.form->findChild<KeyHelpWindow*>();
    QVERIFY(help->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(help));
    QVERIFY(help->close());  // as a window manager's close button does
    QVERIFY(QTest::qWaitForWindowActive(editor.form.get()));
    test::Press(*editor.form, "F1");
    QVERIFY(help->isVisible());
    QCOMPARE(editor.form->findChildren<KeyHelpWindow*>().size(), 1);
}

QTEST_MAIN(EditorHelp)
#include "tst_editor_help.moc"
