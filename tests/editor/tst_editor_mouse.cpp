// Mouse commands on imgMain, sent as mouse events to the view at zoom 8 over an 8 x 8 sprite
// file (cursor at (4, 4), last mouse cell (0, 0) at start).

#include <QMouseEvent>
#include <QTest>

#include "test_support.h"

namespace {

// "press L 9 41", "move LR -3 40", "move - 20 20", "release L 9 41": event, buttons, x, y;
// "key U" presses a key in the editor.
void Send(QWidget& view, const QString& events) {
    for (const QString& event : events.split(';', Qt::SkipEmptyParts)) {
        const QStringList f = event.simplified().split(' ');
        Qt::MouseButtons buttons;
        if (f.value(1).contains('L')) buttons |= Qt::LeftButton;
        if (f.value(1).contains('R')) buttons |= Qt::RightButton;
        if (f.value(1).contains('M')) buttons |= Qt::MiddleButton;
        const QPointF local(f.value(2).toInt(), f.value(3).toInt());
        const QPointF global = view.mapToGlobal(local);
        if (f.value(0) == "key") {
            test::Press(*view.window(), f.value(1));
        } else if (f.value(0) == "release") {
            QMouseEvent e(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, {},
                          Qt::NoModifier);
            QApplication::sendEvent(&view, &e);
        } else if (f.value(0) == "press") {
            const auto button = static_cast<Qt::MouseButton>(buttons.toInt());
            QMouseEvent e(QEvent::MouseButtonPress, local, global, button, buttons, Qt::NoModifier);
            QApplication::sendEvent(&view, &e);
        } else {
            QMouseEvent e(QEvent::MouseMove, local, global, Qt::NoButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(&view, &e);
        }
    }
}

}  // namespace

class EditorMouse : public QObject {
    Q_OBJECT

  private slots:
    void mouse_data();
    void mouse();
};

void EditorMouse::mouse_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("pixels");
    QTest::addColumn<QPoint>("cursor");
    QTest::addColumn<int>("colour");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QPoint>("lastCell");
    QTest::addColumn<int>("redraws");

    // clang-format off
    QTest::newRow("left press draws the current colour where it lands")
        << "5" << "press L 9 41" << "4,4=5 1,5=5" << QPoint(1, 5) << 5 << true << QPoint(0, 0) << 1;
    QTest::newRow("press position is divided by the zoom, remainder dropped")
        << "5" << "press L 63 7" << "4,4=5 7,0=5" << QPoint(7, 0) << 5 << true << QPoint(0, 0) << 1;
    QTest::newRow("right press clears and a following left press draws 0 too")
        << "5 Left 6" << "press R 33 33; press L 41 33" << "3,4=6"
        << QPoint(5, 4) << 0 << true << QPoint(0, 0) << 2;
    QTest::newRow("middle press does nothing")
        << "" << "press M 9 9" << "" << QPoint(4, 4) << 0 << false << QPoint(0, 0) << 0;
    QTest::newRow("left drag into the next cell draws there")
        << "5" << "move L 9 41; move L 1 41" << "4,4=5 1,5=5 0,5=5"
        << QPoint(0, 5) << 5 << true << QPoint(0, 5) << 2;
    QTest::newRow("left drag left of the view is ignored")
        << "5" << "move L 9 41; move L -3 41" << "4,4=5 1,5=5" << QPoint(1, 5) << 5 << true << QPoint(1, 5) << 1;
    QTest::newRow("a drag above the view within the first zoom rows is ignored too")
        << "5" << "move L 9 41; move L 9 -7" << "4,4=5 1,5=5" << QPoint(1, 5) << 5 << true << QPoint(1, 5) << 1;
    QTest::newRow("a drag right of or below the view is ignored")
        << "5" << "move L 64 9; move L 9 64; move L 900 900" << "4,4=5" << QPoint(4, 4) << 5 << true << QPoint(0, 0) << 0;
    QTest::newRow("a second move within the same cell neither draws nor redraws")
        << "5" << "move - 17 17; move L 22 21" << "4,4=5" << QPoint(2, 2) << 5 << true << QPoint(2, 2) << 1;
    QTest::newRow("a move into the last mouse cell (0, 0 at start) is ignored")
        << "" << "move - 3 3" << "" << QPoint(4, 4) << 0 << false << QPoint(0, 0) << 0;
    QTest::newRow("moves without a button move the frame but change nothing")
        << "" << "move - 17 17; move - 60 60" << "" << QPoint(7, 7) << 0 << false << QPoint(7, 7) << 2;
    QTest::newRow("a press does not set the last mouse cell, so a move there still acts")
        << "5" << "press R 17 17; move L 17 17" << "4,4=5" << QPoint(2, 2) << 0 << true << QPoint(2, 2) << 2;
    QTest::newRow("right drag clears")
        << "5 Shift+Right Shift+Right" << "move R 41 33; move R 49 33" << "4,4=5"
        << QPoint(6, 4) << 0 << true << QPoint(6, 4) << 2;
    QTest::newRow("a drag from press to release is one step of history: one U takes it back")
        << "5" << "press L 9 41; move L 17 41; move L 25 41; release L 25 41; key U" << "4,4=5"
        << QPoint(3, 5) << 5 << true << QPoint(3, 5) << 4;
    QTest::newRow("both buttons held leave the pixel 0")
        << "5" << "move LR 9 9" << "4,4=5" << QPoint(1, 1) << 0 << true << QPoint(1, 1) << 1;
    // clang-format on
}

void EditorMouse::mouse() {
    QFETCH(QString, keys);
    QFETCH(QString, events);
    QFETCH(QString, pixels);
    QFETCH(QPoint, cursor);
    QFETCH(int, colour);
    QFETCH(bool, modified);
    QFETCH(QPoint, lastCell);
    QFETCH(int, redraws);

    test::Editor editor(8);
    editor.Open("walk.dat", test::SpriteBytes(8, 8, 1, ""));
    test::Press(*editor.form, keys);
    const int before = editor.form->RedrawCount();
    Send(*editor.form->imgMain(), events);

    const TSpriteDocument& doc = editor.form->Document();
    QCOMPARE(test::Pixels(doc), test::Sorted(pixels));
    QCOMPARE(QPoint(doc.CursorX(), doc.CursorY()), cursor);
    QCOMPARE(int{doc.CurrentColour()}, colour);
    QCOMPARE(doc.Modified(), modified);
    QCOMPARE(editor.form->LastMouseCell(), lastCell);
    QCOMPARE(editor.form->RedrawCount() - before, redraws);
}

QTEST_MAIN(EditorMouse)
#include "tst_editor_mouse.moc"
