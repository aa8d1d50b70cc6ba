// Key commands of the editor window, sent as key events to the window: every row starts from a
// 4 x 4 sprite file "walk" (cursor at (2, 2), nothing modified) and presses a sequence of keys.

#include <QSignalSpy>
#include <QTest>

#include "generator/window/memo.h"
#include "keys/key_codes.h"
#include "keys/qt_key_event.h"
#include "test_support.h"

class EditorKeys : public QObject {
    Q_OBJECT

  private slots:
    void translation_data();
    void translation();
    void keys_data();
    void keys();
    void windowMoves_data();
    void windowMoves();
    void generateShowsTheWindow();
    void closeKeys_data();
    void closeKeys();
    void focusReturnsAfterADialog();
};

// Qt key, keypad flag and X keycode (0 where the platform gives none) to the virtual key code.
void EditorKeys::translation_data() {
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<int>("scanCode");
    QTest::addColumn<int>("code");
    QTest::newRow("5 without a scan code (offscreen)") << int{Qt::Key_5} << false << 0 << 53;
    QTest::newRow("Shift+5 under X arrives as % on keycode 14")
        << int{Qt::Key_Percent} << false << 14 << 53;
    QTest::newRow("Shift+1 under X arrives as ! on keycode 10")
        << int{Qt::Key_Exclam} << false << 10 << 49;
    QTest::newRow("Shift+0 under X arrives as ) on keycode 19")
        << int{Qt::Key_ParenRight} << false << 19 << 48;
    QTest::newRow("a layout whose digit row gives symbols: & on keycode 10")
        << int{Qt::Key_Ampersand} << false << 10 << 49;
    QTest::newRow("keypad 5 with NumLock on") << int{Qt::Key_5} << true << 84 << 101;
    QTest::newRow("keypad 0") << int{Qt::Key_0} << true << 90 << 96;
    QTest::newRow("keypad 5 with NumLock off") << int{Qt::Key_Clear} << true << 84 << 0;
    QTest::newRow("keypad Left with NumLock off is Left") << int{Qt::Key_Left} << true << 83 << 37;
    QTest::newRow("keypad Enter is Enter") << int{Qt::Key_Enter} << true << 104 << 13;
    QTest::newRow("Return") << int{Qt::Key_Return} << false << 36 << 13;
    QTest::newRow("letter A") << int{Qt::Key_A} << false << 38 << 65;
    QTest::newRow("letter Z") << int{Qt::Key_Z} << false << 52 << 90;
    QTest::newRow("Esc") << int{Qt::Key_Escape} << false << 9 << 27;
    QTest::newRow("Space") << int{Qt::Key_Space} << false << 65 << 32;
    QTest::newRow("PageUp") << int{Qt::Key_PageUp} << false << 112 << 33;
    QTest::newRow("PageDown") << int{Qt::Key_PageDown} << false << 117 << 34;
    QTest::newRow("Up") << int{Qt::Key_Up} << false << 111 << 38;
    QTest::newRow("Down") << int{Qt::Key_Down} << false << 116 << 40;
    QTest::newRow("F2") << int{Qt::Key_F2} << false << 68 << 113;
    QTest::newRow("F4") << int{Qt::Key_F4} << false << 70 << 115;
    QTest::newRow("Shift alone has no code") << int{Qt::Key_Shift} << false << 50 << 0;
    QTest::newRow("F1 (the key help)") << int{Qt::Key_F1} << false << 67 << 112;
    QTest::newRow("F5 has no command code") << int{Qt::Key_F5} << false << 71 << 0;
    QTest::newRow("+ as Shift with the = key") << int{Qt::Key_Plus} << false << 21 << vk::kPlus;
    QTest::newRow("= alone is + as well") << int{Qt::Key_Equal} << false << 21 << vk::kPlus;
    QTest::newRow("+ on a key of its own") << int{Qt::Key_Plus} << false << 35 << vk::kPlus;
    QTest::newRow("keypad +") << int{Qt::Key_Plus} << true << 86 << vk::kPlus;
    QTest::newRow("-") << int{Qt::Key_Minus} << false << 20 << vk::kMinus;
    QTest::newRow("Shift+- arrives as _") << int{Qt::Key_Underscore} << false << 20 << vk::kMinus;
    QTest::newRow("keypad -") << int{Qt::Key_Minus} << true << 82 << vk::kMinus;
    QTest::newRow("- printed on a digit key (keycode 15) stays the digit 6")
        << int{Qt::Key_Minus} << false << 15 << 54;
    QTest::newRow("[") << int{Qt::Key_BracketLeft} << false << 34 << vk::kBracketLeft;
    QTest::newRow("Shift+[ arrives as {")
        << int{Qt::Key_BraceLeft} << false << 34 << vk::kBracketLeft;
    QTest::newRow("]") << int{Qt::Key_BracketRight} << false << 35 << vk::kBracketRight;
}

void EditorKeys::translation() {
    QFETCH(int, qtKey);
    QFETCH(bool, keypad);
    QFETCH(int, scanCode);
    QFETCH(int, code);
    QCOMPARE(VirtualKeyOf(qtKey, keypad, static_cast<unsigned>(scanCode)), code);
}

void EditorKeys::keys_data() {
    QTest::addColumn<int>("cels");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("pixels");
    QTest::addColumn<QPoint>("cursor");
    QTest::addColumn<int>("colour");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("asked");

    const QString wall = "0,1=1 1,1=1 2,1=1 3,1=1";  // row 1 separates rows 0 and 2..3
    const QString filledBelow =
        "0,1=1 1,1=1 2,1=1 3,1=1 0,2=5 1,2=5 2,2=5 3,2=5 0,3=5 1,3=5 "
        "2,3=5 3,3=5";
    // clang-format off
    QTest::newRow("digit sets its colour at the cursor")
        << 1 << "" << "5" << "" << "2,2=5" << QPoint(2, 2) << 5 << "walk* 1/1" << "";
    QTest::newRow("Shift+digit flood-fills and keeps the current colour")
        << 1 << wall << "Shift+5" << "" << filledBelow << QPoint(2, 2) << 0 << "walk* 1/1" << "";
    QTest::newRow("the view keys W, L, + and - change nothing of the document")
        << 2 << "1,1=3" << "W L Plus Minus Minus W L Shift+Plus PadMinus" << "" << "1,1=3" << QPoint(2, 2) << 0 << "walk 1/2" << "";
    QTest::newRow("Space sets colour 0 and makes 0 current")
        << 1 << "" << "5 Space" << "" << "" << QPoint(2, 2) << 0 << "walk* 1/1" << "";
    QTest::newRow("arrows move the cursor without drawing")
        << 1 << "" << "Left Up" << "" << "" << QPoint(1, 1) << 0 << "walk 1/1" << "";
    QTest::newRow("arrow against the edge does nothing")
        << 1 << "" << "Left Left Left Up Up Up" << "" << "" << QPoint(0, 0) << 0 << "walk 1/1" << "";
    QTest::newRow("Shift+Right drags the colour under the cursor")
        << 1 << "2,2=7 3,2=1" << "Shift+Right" << "" << "2,2=7 3,2=7" << QPoint(3, 2) << 7 << "walk* 1/1" << "";
    QTest::newRow("Shift+Down drags a line")
        << 1 << "2,0=9" << "Up Up Shift+Down Shift+Down Shift+Down" << "" << "2,0=9 2,1=9 2,2=9 2,3=9" << QPoint(2, 3) << 9 << "walk* 1/1" << "";
    QTest::newRow("Shift+Left at column 0 draws nothing")
        << 1 << "0,2=6" << "Left Left Shift+Left" << "" << "0,2=6" << QPoint(0, 2) << 0 << "walk 1/1" << "";
    QTest::newRow("Shift+Right at the last column draws nothing")
        << 1 << "3,2=6" << "Right Shift+Right" << "" << "3,2=6" << QPoint(3, 2) << 0 << "walk 1/1" << "";
    QTest::newRow("Shift+Up at row 0 draws nothing")
        << 1 << "2,0=6" << "Up Up Shift+Up" << "" << "2,0=6" << QPoint(2, 0) << 0 << "walk 1/1" << "";
    QTest::newRow("Shift+Down at the last row draws nothing")
        << 1 << "2,3=6" << "Down Shift+Down" << "" << "2,3=6" << QPoint(2, 3) << 0 << "walk 1/1" << "";
    QTest::newRow("Ctrl+Up scrolls up with wrap-around")
        << 1 << "1,0=2 1,3=3" << "Ctrl+Up" << "" << "1,3=2 1,2=3" << QPoint(2, 2) << 0 << "walk* 1/1" << "";
    QTest::newRow("Ctrl+Down scrolls down")
        << 1 << "1,3=2" << "Ctrl+Down" << "" << "1,0=2" << QPoint(2, 2) << 0 << "walk* 1/1" << "";
    QTest::newRow("Ctrl+Left scrolls left with wrap-around")
        << 1 << "0,1=2" << "Ctrl+Left" << "" << "3,1=2" << QPoint(2, 2) << 0 << "walk* 1/1" << "";
    QTest::newRow("Ctrl+Right scrolls right")
        << 1 << "3,1=2" << "Ctrl+Right" << "" << "0,1=2" << QPoint(2, 2) << 0 << "walk* 1/1" << "";
    QTest::newRow("plain V mirrors left to right")
        << 1 << "0,1=2 1,3=4" << "V" << "" << "3,1=2 2,3=4" << QPoint(2, 2) << 0 << "walk* 1/1" << "";
    QTest::newRow("H mirrors top to bottom, with or without Shift")
        << 1 << "0,0=2" << "H Shift+H H" << "" << "0,3=2" << QPoint(2, 2) << 0 << "walk* 1/1" << "";
    QTest::newRow("R rotates a quarter turn anticlockwise")
        << 1 << "3,0=2" << "R" << "" << "0,0=2" << QPoint(2, 2) << 0 << "walk* 1/1" << "";
    QTest::newRow("Z undoes only the last pixel and keeps the current colour")
        << 1 << "" << "5 Right 6 Z" << "" << "2,2=5" << QPoint(3, 2) << 6 << "walk* 1/1" << "";
    QTest::newRow("two Z give the same as one")
        << 1 << "" << "5 6 Z Z" << "" << "2,2=5" << QPoint(2, 2) << 6 << "walk* 1/1" << "";
    QTest::newRow("Z after a cel change restores its own cel and shows it")
        << 2 << "2,2=7" << "5 M Z" << "" << "2,2=7" << QPoint(2, 2) << 5 << "walk* 1/2" << "";
    QTest::newRow("Z after moving two cels on, from a saved state, marks the document")
        << 3 << "c2:1,1=3" << "M M 5 S J J Z" << "" << "c2:1,1=3" << QPoint(2, 2) << 5 << "walk* 3/3" << "";
    QTest::newRow("Z with nothing to restore marks nothing")
        << 1 << "2,2=7" << "Z Ctrl+Z" << "" << "2,2=7" << QPoint(2, 2) << 0 << "walk 1/1" << "";
    QTest::newRow("Z after Ctrl+D removed its cel does nothing")
        << 3 << "0,0=1 c1:0,0=2 c2:0,0=3" << "5 Ctrl+D Z" << "OK" << "0,0=2 c1:0,0=3" << QPoint(2, 2) << 5 << "walk* 1/2"
        << "Delete current cel? | Prompt | OkCancel";
    QTest::newRow("Z after Ctrl+D moved its cel does nothing")
        << 3 << "0,0=1 c1:0,0=2 c2:0,0=3" << "M M 5 J Ctrl+D Z" << "OK" << "0,0=1 c1:0,0=3 c1:2,2=5" << QPoint(2, 2) << 5 << "walk* 2/2"
        << "Delete current cel? | Prompt | OkCancel";
    QTest::newRow("M and PageDown step forward and stop at the last cel")
        << 3 << "" << "M PgDn M" << "" << "" << QPoint(2, 2) << 0 << "walk 3/3" << "";
    QTest::newRow("J and PageUp step back and stop at the first cel")
        << 3 << "" << "M M J PgUp J" << "" << "" << QPoint(2, 2) << 0 << "walk 1/3" << "";
    QTest::newRow("Ctrl+C shows the copy text")
        << 3 << "" << "M Ctrl+C" << "" << "" << QPoint(2, 2) << 0 << "copy:2" << "";
    QTest::newRow("Ctrl+C then Ctrl+V copies a cel into another and marks the document")
        << 2 << "1,1=4" << "Ctrl+C M Ctrl+V" << "" << "1,1=4 c1:1,1=4" << QPoint(2, 2) << 0 << "walk* 2/2" << "";
    QTest::newRow("Ctrl+V over an equal cel marks nothing")
        << 2 << "1,1=4 c1:1,1=4" << "Ctrl+C M Ctrl+V" << "" << "1,1=4 c1:1,1=4" << QPoint(2, 2) << 0 << "walk 2/2" << "";
    QTest::newRow("Z after a paste brings the pasted-over pixels back")
        << 2 << "c1:0,0=9" << "Ctrl+C M Ctrl+V Z" << "" << "c1:0,0=9" << QPoint(2, 2) << 0 << "walk* 2/2" << "";
    QTest::newRow("Ctrl+A adds a cel after the current one and marks the document")
        << 1 << "" << "Ctrl+A" << "" << "" << QPoint(2, 2) << 0 << "walk* 2/2" << "";
    QTest::newRow("Ctrl+A with 100 cels does nothing")
        << 100 << "" << "Ctrl+A" << "" << "" << QPoint(2, 2) << 0 << "walk 1/100" << "";
    QTest::newRow("Ctrl+A with 99 cels and the sixth current gives 100 with the seventh current")
        << 99 << "" << "M M M M M Ctrl+A" << "" << "" << QPoint(2, 2) << 0 << "walk* 7/100" << "";
    QTest::newRow("Ctrl+D with one cel asks nothing")
        << 1 << "" << "Ctrl+D" << "" << "" << QPoint(2, 2) << 0 << "walk 1/1" << "";
    QTest::newRow("Ctrl+D deletes after OK and marks the document")
        << 3 << "0,0=1 c1:0,0=2 c2:0,0=3" << "Ctrl+D" << "OK" << "0,0=2 c1:0,0=3" << QPoint(2, 2) << 0 << "walk* 1/2"
        << "Delete current cel? | Prompt | OkCancel";
    QTest::newRow("Ctrl+D on the last cel steps back")
        << 3 << "0,0=1 c1:0,0=2 c2:0,0=3" << "M M Ctrl+D" << "OK" << "0,0=1 c1:0,0=2" << QPoint(2, 2) << 0 << "walk* 2/2"
        << "Delete current cel? | Prompt | OkCancel";
    QTest::newRow("Ctrl+D Cancel keeps the cel")
        << 2 << "c1:0,0=2" << "M Ctrl+D" << "Cancel" << "c1:0,0=2" << QPoint(2, 2) << 0 << "walk 2/2"
        << "Delete current cel? | Prompt | OkCancel";
    QTest::newRow("Ctrl+E erases after OK and marks the document")
        << 1 << "0,0=1 3,3=2" << "Ctrl+E" << "OK" << "" << QPoint(2, 2) << 0 << "walk* 1/1"
        << "Erase current chr? | Prompt | OkCancel";
    QTest::newRow("Ctrl+E on an empty cel marks nothing")
        << 1 << "" << "Ctrl+E" << "OK" << "" << QPoint(2, 2) << 0 << "walk 1/1"
        << "Erase current chr? | Prompt | OkCancel";
    QTest::newRow("Undo after Ctrl+E brings the pixels back")
        << 1 << "0,0=1" << "Ctrl+E Z" << "OK" << "0,0=1" << QPoint(2, 2) << 0 << "walk* 1/1"
        << "Erase current chr? | Prompt | OkCancel";
    QTest::newRow("a run of Shift+arrow moves is one step of history: one U takes it back")
        << 1 << "" << "5 Shift+Left Shift+Left U" << "" << "2,2=5" << QPoint(0, 2) << 5 << "walk* 1/1" << "";
    QTest::newRow("a fill is one step: one U takes it back")
        << 1 << wall << "Shift+5 U" << "" << wall << QPoint(2, 2) << 0 << "walk* 1/1" << "";
    QTest::newRow("U puts a deleted cel back at its place, current")
        << 2 << "c1:0,0=2" << "M Ctrl+D U" << "OK" << "c1:0,0=2" << QPoint(2, 2) << 0 << "walk* 2/2"
        << "Delete current cel? | Prompt | OkCancel";
    QTest::newRow("Ctrl+E Cancel keeps the pixels")
        << 1 << "0,0=1" << "Ctrl+E" << "Cancel" << "0,0=1" << QPoint(2, 2) << 0 << "walk 1/1"
        << "Erase current chr? | Prompt | OkCancel";
    // clang-format on
}

void EditorKeys::keys() {
    QFETCH(int, cels);
    QFETCH(QString, start);
    QFETCH(QString, keys);
    QFETCH(QString, answers);
    QFETCH(QString, pixels);
    QFETCH(QPoint, cursor);
    QFETCH(int, colour);
    QFETCH(QString, title);
    QFETCH(QString, asked);

    test::Editor editor;
    editor.Open("walk.dat", test::SpriteBytes(4, 4, cels, start));
    QCOMPARE(editor.form->windowTitle(), QString("walk 1/%1").arg(cels));
    editor.prompts.script = answers.split(' ', Qt::SkipEmptyParts);

    test::Press(*editor.form, keys);

    const TSpriteDocument& doc = editor.form->Document();
    QCOMPARE(test::Pixels(doc), test::Sorted(pixels));
    QCOMPARE(QPoint(doc.CursorX(), doc.CursorY()), cursor);
    QCOMPARE(int{doc.CurrentColour()}, colour);
    QCOMPARE(editor.form->windowTitle(), title);
    QCOMPARE(editor.prompts.asked.join("; "), asked);
    QCOMPARE(doc.Buffer()[2], static_cast<std::uint8_t>(doc.CelCount()));
}

// The document (a pixel at (1, 0)), its cursor and its modified flag stay as they were.
void EditorKeys::windowMoves_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QPoint>("moved");
    QTest::newRow("Alt+Left moves the window 8 pixels left") << "Alt+Left" << QPoint(-8, 0);
    QTest::newRow("Alt+Right and Alt+Down") << "Alt+Right Alt+Down" << QPoint(8, 8);
    QTest::newRow("no limit: the window may leave the screen")
        << QString("Alt+Left ").repeated(50) << QPoint(-400, 0);
}

void EditorKeys::windowMoves() {
    QFETCH(QString, keys);
    QFETCH(QPoint, moved);
    test::Editor editor;
    editor.Open("walk.dat", test::SpriteBytes(4, 4, 1, "1,0=2"));
    editor.form->show();
    const QPoint before = editor.form->pos();
    const QPoint cursor(editor.form->Document().CursorX(), editor.form->Document().CursorY());
    test::Press(*editor.form, keys);
    QCOMPARE(editor.form->pos() - before, moved);
    QCOMPARE(test::Pixels(editor.form->Document()), QString("1,0=2"));
    QCOMPARE(QPoint(editor.form->Document().CursorX(), editor.form->Document().CursorY()), cursor);
    QVERIFY(!editor.form->Document().Modified());
}

void EditorKeys::generateShowsTheWindow() {
    test::Editor editor;
    editor.form->show();
    QVERIFY(QTest::qWaitForWindowActive(editor.form.get()));
    QVERIFY(!editor.frmExport.isVisible());
    test::Press(*editor.form, "G");
    QVERIFY(editor.frmExport.isVisible());
    QCOMPARE(editor.frmExport.Data(), editor.form->Document().Buffer());
    QCOMPARE(editor.frmExport.windowTitle(), QString("Generate"));
    QVERIFY(editor.form->isVisible());     // not modal, the editor stays
    test::Press(*editor.form, "Shift+G");  // again: still one window, brought to the front
    QVERIFY(editor.frmExport.isVisible());
    QVERIFY(QTest::qWaitForWindowActive(&editor.frmExport));
    QTRY_COMPARE(QApplication::focusWidget(), editor.frmExport.Memo1());
    QTest::keyClick(editor.frmExport.Memo1(), Qt::Key_Escape);
    QVERIFY(!editor.frmExport.isVisible());
    QVERIFY(QTest::qWaitForWindowActive(editor.form.get()));  // keys reach the editor again
}

void EditorKeys::closeKeys_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("asked");
    const QString save = "Save? | Prompt | YesNoCancel";
    QTest::newRow("Esc without changes closes at once") << "Esc"
                                                        << "" << true << "";
    QTest::newRow("Q without changes closes at once") << "Q"
                                                      << "" << true << "";
    QTest::newRow("Esc with changes, Cancel keeps the window") << "5 Esc"
                                                               << "Cancel" << false << save;
    QTest::newRow("Q with changes, No closes without saving") << "5 Q"
                                                              << "No" << true << save;
    QTest::newRow("Ctrl+A counts as a change: Q asks, Cancel keeps the window")
        << "Ctrl+A Q"
        << "Cancel" << false << save;
    QTest::newRow("Esc with changes, Yes saves to the opened file and closes")
        << "5 Esc"
        << "Yes" << true << save;
}

void EditorKeys::closeKeys() {
    QFETCH(QString, keys);
    QFETCH(QString, answers);
    QFETCH(bool, closed);
    QFETCH(QString, asked);
    test::Editor editor;
    editor.Open("walk.dat", test::SpriteBytes(4, 4, 1, ""));
    editor.form->show();
    QSignalSpy spy(editor.form.get(), &TForm1::Closed);
    editor.prompts.script = answers.split(' ', Qt::SkipEmptyParts);
    test::Press(*editor.form, keys);
    QCOMPARE(spy.count(), closed ? 1 : 0);
    QCOMPARE(editor.form->isVisible(), !closed);
    QCOMPARE(editor.prompts.asked.join("; "), asked);
    // Only Yes writes: the file holds the pixel then, and is as it was opened otherwise.
    QCOMPARE(test::FileBytes(editor.Path("walk.dat")),
             test::SpriteBytes(4, 4, 1, answers == "Yes" ? "2,2=5" : ""));
}

void EditorKeys::focusReturnsAfterADialog() {
    test::Editor editor;
    editor.form->show();
    QVERIFY(QTest::qWaitForWindowActive(editor.form.get()));
    QWidget other;
    other.show();
    // The "dialog" takes the focus while it is up, as a real one does.
    editor.prompts.whileUp = [&] {
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
    };
    editor.prompts.script << "Cancel";
    test::Press(*editor.form, "Ctrl+E");
    QVERIFY(QTest::qWaitForWindowActive(editor.form.get()));
    test::Press(*editor.form, "7");
    QCOMPARE(int{editor.form->GetPixel(4, 4)}, 7);
}

QTEST_MAIN(EditorKeys)
#include "tst_editor_keys.moc"
