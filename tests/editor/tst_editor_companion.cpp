// The companion window (W): its keys, the order of the frames it plays, hiding and showing with
// the keyboard going back to the editor, the live picture, a click on a swatch, the state lines
// and its place beside the editor. Keys are written as text; "@" sends one to the companion
// (clicked first, as a user gives it the keyboard), the others go to the editor.

#include <QMouseEvent>
#include <QTest>

#include "editor/companion_window.h"
#include "test_support.h"

namespace {

void Click(QWidget& widget, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(at), widget.mapToGlobal(QPointF(at)), button,
                  button, Qt::NoModifier);
    QApplication::sendEvent(&widget, &e);
}

// An editor on walk.dat, 4 x 4 with the given cels, shown and active.
struct Scene : test::Editor {
    explicit Scene(int cels, const QString& pixels = "") {
        Open("walk.dat", test::SpriteBytes(4, 4, cels, pixels));
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    CompanionWindow* Companion() const { return form->Companion(); }

    void Press(const QString& keys) {
        for (const QString& token : keys.split(' ', Qt::SkipEmptyParts)) {
            if (token.startsWith('%')) {  // a key of the Generate window
                frmExport.Memo1KeyDown(token.at(1).toLatin1(), false, false, false);
                continue;
            }
            if (!token.startsWith('@')) {
                test::Press(*form, token);
                continue;
            }
            CompanionWindow* companion = Companion();
            QVERIFY(companion != nullptr);
            Click(*companion, QPoint(1, 1));  // the margin: no swatch
            QTRY_COMPARE(QApplication::activeWindow(), companion);
            const auto [key, mods] = test::ParseKey(token.mid(1));
            QTest::keyClick(companion, key, mods);
        }
    }
};

}  // namespace

class EditorCompanion : public QObject {
    Q_OBJECT

  private slots:
    void keys_data();
    void keys();
    void hideAndShow_data();
    void hideAndShow();
    void livePicture();
    void timerRepaintsTheCompanionAlone_data();
    void timerRepaintsTheCompanionAlone();
    void swatchClick_data();
    void swatchClick();
    void stateLines_data();
    void stateLines();
    void placement_data();
    void placement();
};

// Each cel 1..4 has a pixel of its own colour at (0, 0), so the 1x picture tells which is shown.
void EditorCompanion::keys_data() {
    QTest::addColumn<int>("cels");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("frames");  // the cel shown at W, then after each tick
    QTest::addColumn<QString>("lines");
    QTest::addColumn<int>("interval");  // of the timer, 0 when it does not run

    const QString plus12 = QString("@Plus ").repeated(12);
    // clang-format off
    QTest::newRow("all cels in a loop at 10 frames per second")
        << 4 << "W" << 6 << "1 2 3 4 1 2 3" << "cels 1-4  10 fps | loop" << 100;
    QTest::newRow("B: back and forth, the ends shown once")
        << 4 << "W @B" << 8 << "1 2 3 4 3 2 1 2 3" << "cels 1-4  10 fps | back and forth" << 100;
    QTest::newRow("B twice: a loop again")
        << 4 << "W @B @B" << 5 << "1 2 3 4 1 2" << "cels 1-4  10 fps | loop" << 100;
    QTest::newRow("[ on the second cel: from it to the last")
        << 4 << "M W @[" << 4 << "2 3 4 2 3" << "cels 2-4  10 fps | loop" << 100;
    QTest::newRow("] on the third cel: from the first to it")
        << 4 << "M M W @]" << 4 << "1 2 3 1 2" << "cels 1-3  10 fps | loop" << 100;
    QTest::newRow("[ past the end takes the end along: one cel")
        << 4 << "M M W @] M @[" << 2 << "4 4 4" << "cels 4-4  10 fps | loop" << 100;
    QTest::newRow("] before the start takes the start along")
        << 4 << "M M W @[ J @]" << 2 << "2 2 2" << "cels 2-2  10 fps | loop" << 100;
    QTest::newRow("back and forth over two cels")
        << 4 << "M M W @[ @B" << 4 << "3 4 3 4 3" << "cels 3-4  10 fps | back and forth" << 100;
    QTest::newRow("back and forth over one cel")
        << 1 << "W @B" << 3 << "1 1 1 1" << "cels 1-1  10 fps | back and forth" << 100;
    QTest::newRow("Space pauses: the timer stops")
        << 4 << "W @Space" << 0 << "1" << "cels 1-4  10 fps | loop, paused" << 0;
    QTest::newRow("Space twice plays on")
        << 4 << "W @Space @Space" << 1 << "1 2" << "cels 1-4  10 fps | loop" << 100;
    QTest::newRow("+ twice: 12 frames per second")
        << 4 << "W @Plus @Shift+Plus" << 0 << "1" << "cels 1-4  12 fps | loop" << 83;
    QTest::newRow("- down to 1 and no further")
        << 4 << "W" + QString(" @Minus").repeated(12) << 0 << "1" << "cels 1-4  1 fps | loop" << 1000;
    QTest::newRow("+ up to 60 and no further")
        << 4 << "W " + plus12.repeated(5) << 0 << "1" << "cels 1-4  60 fps | loop" << 17;
    QTest::newRow("the editor's keys do nothing in it")
        << 4 << "W @M @5 @Left @Ctrl+A @Q" << 1 << "1 2" << "cels 1-4  10 fps | loop" << 100;
    QTest::newRow("a range never set follows the cels added")
        << 2 << "W Ctrl+A Ctrl+A" << 4 << "1 2 0 0 1" << "cels 1-4  10 fps | loop" << 100;
    QTest::newRow("hidden and shown again it plays on as it was")
        << 4 << "W @B @Plus M M W W" << 2 << "1 2 3" << "cels 1-4  11 fps | back and forth" << 91;
    // clang-format on
}

void EditorCompanion::keys() {
    QFETCH(int, cels);
    QFETCH(QString, keys);
    QFETCH(int, ticks);
    QFETCH(QString, frames);
    QFETCH(QString, lines);
    QFETCH(int, interval);
    QStringList own = {"0,0=1"};  // cel n holds colour n at (0, 0)
    for (int c = 1; c < cels; ++c) own << QString("c%1:0,0=%2").arg(c).arg(c + 1);
    Scene scene(cels, own.join(' '));
    const QByteArray before = test::DocumentBytes(scene.form->Document());
    scene.Press(keys);
    CompanionWindow* companion = scene.Companion();
    QVERIFY(companion->isVisible());
    QStringList shown;
    for (int i = 0; i <= ticks; ++i) {
        if (i > 0) companion->Tick();
        const QRgb pixel = companion->Picture().pixel(0, 0);
        shown << QString::number(qRed(pixel) / 16);  // the cel's own colour is its number
        if (shown.last() != "0") QCOMPARE(companion->Player().Frame() + 1, shown.last().toInt());
    }
    QCOMPARE(shown.join(' '), frames);
    QCOMPARE(companion->AnimationLines().join(" | "), lines);
    QCOMPARE(companion->Timer().isActive() ? companion->Timer().interval() : 0, interval);
    if (!keys.contains("Ctrl+A"))
        QCOMPARE(test::DocumentBytes(scene.form->Document()), before);  // it never changes them
    QVERIFY(!scene.form->Document().Modified() || keys.contains("Ctrl+A"));
}

// Who has the keyboard after each sequence: the editor, unless "companion"; then 7 is pressed
// where the keyboard is, and must draw only in the editor.
void EditorCompanion::hideAndShow_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("companionHasKeys");
    QTest::newRow("W shows it and the editor keeps the keyboard") << "W" << true << false;
    QTest::newRow("W again hides it") << "W W" << false << false;
    QTest::newRow("a click on it gives it the keyboard") << "W @B" << true << true;
    QTest::newRow("Esc in it hides it, the keyboard goes back") << "W @Esc" << false << false;
    QTest::newRow("W in it hides it, the keyboard goes back") << "W @W" << false << false;
    QTest::newRow("Shift+Esc hides it too") << "W @Shift+Esc" << false << false;
    QTest::newRow("shown again after Esc") << "W @Esc W" << true << false;
}

void EditorCompanion::hideAndShow() {
    QFETCH(QString, keys);
    QFETCH(bool, shown);
    QFETCH(bool, companionHasKeys);
    Scene scene(2);
    scene.Press(keys);
    CompanionWindow* companion = scene.Companion();
    QCOMPARE(companion != nullptr && companion->isVisible(), shown);
    QVERIFY(scene.form->isVisible());  // Esc in the companion never closes the editor
    QWidget* keysGoTo = companionHasKeys ? static_cast<QWidget*>(companion) : scene.form.get();
    // Not qWaitForWindowActive: a window counts as active there while its companion is.
    QTRY_COMPARE(QApplication::activeWindow(), keysGoTo);
    if (companion != nullptr) QCOMPARE(companion->Timer().isActive(), shown);
    QTest::keyClick(QApplication::activeWindow(), Qt::Key_7);
    QCOMPARE(int{scene.form->GetPixel(2, 2)}, companionHasKeys ? 0 : 7);
}

// The picture is the cel of the frame at 1x, 2x and 4x side by side, 8 pixels apart, and follows
// a change at once, whether the animation plays or not.
void EditorCompanion::livePicture() {
    Scene scene(2, "3,3=9 c1:0,0=4");
    scene.Press("W @Space");
    CompanionWindow* companion = scene.Companion();
    const QImage& picture = companion->Picture();
    QCOMPARE(picture.size(), QSize(7 * 4 + 16, 16));
    const auto atAllSizes = [&](int x, int y) {
        QStringList colours;
        colours << QString::number(qRed(picture.pixel(x, y)) / 16)
                << QString::number(qRed(picture.pixel(4 + 8 + 2 * x + 1, 2 * y + 1)) / 16)
                << QString::number(qRed(picture.pixel(12 + 16 + 4 * x + 3, 4 * y + 2)) / 16);
        return colours.join(' ');
    };
    QCOMPARE(atAllSizes(3, 3), QString("9 9 9"));
    QCOMPARE(atAllSizes(2, 2), QString("0 0 0"));
    test::Press(*scene.form, "5");  // the cursor is at (2, 2)
    QCOMPARE(atAllSizes(2, 2), QString("5 5 5"));
    // Between the copies and below the smaller ones: the window's background.
    const QRgb background = qRgb(0x18, 0x18, 0x1C);
    QCOMPARE(picture.pixel(5, 0), background);                 // between 1x and 2x
    QCOMPARE(picture.pixel(0, 5), background);                 // below 1x
    QCOMPARE(picture.pixel(12 + 1, 9), background);            // below 2x
    QCOMPARE(picture.pixel(12 + 9, 0), background);            // between 2x and 4x
    QCOMPARE(picture.pixel(12 + 7, 0), test::StripColour(0));  // the last pixel of 2x
    // Playing, the change shows in the next frame of its cel.
    scene.Press("@Space");
    companion->Tick();  // cel 2
    QCOMPARE(atAllSizes(0, 0), QString("4 4 4"));
    test::Press(*scene.form, "Right 6");
    QCOMPARE(atAllSizes(3, 2), QString("0 0 0"));
    companion->Tick();  // cel 1 again
    QCOMPARE(atAllSizes(3, 2), QString("6 6 6"));
    QCOMPARE(atAllSizes(2, 2), QString("5 5 5"));
}

namespace {

struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace

void EditorCompanion::timerRepaintsTheCompanionAlone_data() {
    QTest::addColumn<int>("cels");
    QTest::addColumn<bool>("framesPaint");
    QTest::newRow("four cels: each frame paints the companion") << 4 << true;
    QTest::newRow("one cel: the frames have nothing new to paint") << 1 << false;
}

// Frames of the timer repaint the companion when the cel shown changes, and leave the editor's
// view alone.
void EditorCompanion::timerRepaintsTheCompanionAlone() {
    QFETCH(int, cels);
    QFETCH(bool, framesPaint);
    Scene scene(cels, "0,0=1 c1:0,0=2");
    scene.Press("W @Plus");
    CompanionWindow* companion = scene.Companion();
    QTRY_VERIFY(companion->isVisible());
    QVERIFY(companion->Timer().isActive());
    QTest::qWait(100);  // the paints of showing and of the click
    PaintCounter editorPaints, companionPaints;
    scene.form->imgMain()->installEventFilter(&editorPaints);
    companion->installEventFilter(&companionPaints);
    const int redraws = scene.form->RedrawCount();
    QTest::qWait(400);  // 11 frames per second: about four
    if (framesPaint) {
        QVERIFY2(companionPaints.paints >= 2, qPrintable(QString::number(companionPaints.paints)));
    } else {
        QCOMPARE(companionPaints.paints, 0);
    }
    QCOMPARE(editorPaints.paints, 0);
    QCOMPARE(scene.form->RedrawCount(), redraws);
}

void EditorCompanion::swatchClick_data() {
    QTest::addColumn<int>("swatch");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("colour");  // current afterwards
    QTest::newRow("swatch 9") << 9 << Qt::LeftButton << 9;
    QTest::newRow("swatch 0") << 0 << Qt::LeftButton << 0;
    QTest::newRow("swatch F, the last") << 15 << Qt::LeftButton << 15;
    QTest::newRow("swatch 7, the end of the first row") << 7 << Qt::LeftButton << 7;
    QTest::newRow("a right click chooses nothing") << 9 << Qt::RightButton << 3;
    QTest::newRow("between swatches chooses nothing") << -1 << Qt::LeftButton << 3;
}

// The colour becomes current, nothing is drawn or marked, the editor keeps the keyboard, and the
// next left click in the editor draws with it. The current colour is framed in the palette.
void EditorCompanion::swatchClick() {
    QFETCH(int, swatch);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, colour);
    Scene scene(1, "1,1=8");
    scene.Press("3 Z W");  // colour 3 is current, the pixel undone
    CompanionWindow* companion = scene.Companion();
    const QByteArray before = test::DocumentBytes(scene.form->Document());
    const bool modified = scene.form->Document().Modified();
    const QPoint at = swatch < 0 ? companion->SwatchRect(0).topRight() + QPoint(2, 5)
                                 : companion->SwatchRect(swatch).center();
    Click(*companion, at, button);
    const TSpriteDocument& doc = scene.form->Document();
    QCOMPARE(int{doc.CurrentColour()}, colour);
    QCOMPARE(test::DocumentBytes(scene.form->Document()), before);
    QCOMPARE(doc.Modified(), modified);
    const QImage shot = companion->grab().toImage();
    for (int i = 0; i < 16; ++i) {
        const QRect r = companion->SwatchRect(i);
        QCOMPARE(shot.pixel(r.center()), test::StripColour(i));
        const bool framed = shot.pixel(r.left() - 2, r.top() - 2) == qRgb(255, 255, 255);
        QVERIFY2(framed == (i == colour), qPrintable(QString::number(i)));
    }
    if (swatch >= 0 && button == Qt::LeftButton) {
        QTRY_COMPARE(QApplication::activeWindow(), scene.form.get());
        Click(*scene.form->imgMain(), QPoint(8, 8));
        QCOMPARE(int{scene.form->GetPixel(1, 1)}, colour);
    }
}

void EditorCompanion::stateLines_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("lines");
    QTest::newRow("at W") << "W"
                          << "walk  cel 1/3 | x 2, y 2  colour 0  zoom 8";
    QTest::newRow("a cel on, drawn: the star")
        << "W M 5"
        << "walk*  cel 2/3 | x 2, y 2  colour 5  zoom 8 | U: pixel, cel 2 · Y: nothing";
    QTest::newRow("the colour under the cursor, written as its key")
        << "W Up Up Left Left"
        << "walk  cel 1/3 | x 0, y 0  colour B  zoom 8";
    QTest::newRow("the zoom") << "W Plus Plus"
                              << "walk  cel 1/3 | x 2, y 2  colour 0  zoom 16";
    QTest::newRow("a cel added")
        << "W Ctrl+A"
        << "walk*  cel 2/4 | x 2, y 2  colour 0  zoom 8 | U: add, cel 4 · Y: nothing";
    QTest::newRow("a new document") << "W N"
                                    << "new  cel 1/2 | x 12, y 1  colour 0  zoom 8";
    QTest::newRow("the onion skin") << "W L"
                                    << "walk  cel 1/3  onion skin | x 2, y 2  colour 0  zoom 8";
    QTest::newRow("a pixel that no table holds")
        << "W N Right Right Right Right Right 5"
        << "new*  cel 1/2 | x 17, y 1  colour 5  zoom 8 | column 17 is in no table | U: pixel, "
           "cel 1 · Y: nothing";
    QTest::newRow("sprite sets: the sprites on the cursor's line")
        << "%P %2 W 5"
        << "walk*  cel 1/3 | x 2, y 2  colour 5  zoom 8 | line 2: 2 sprites | U: pixel, cel 1 · "
           "Y: nothing";
    QTest::newRow("the chip view: the cursor row")
        << "W N Right Right Right Right Right 5 X"
        << "new*  cel 1/2 | x 17, y 1  colour 5  zoom 8 | row 1: column 17 is in no table | U: "
           "pixel, cel 1 · Y: nothing";
}

void EditorCompanion::stateLines() {
    QFETCH(QString, keys);
    QFETCH(QString, lines);
    Scene scene(3, "0,0=B");
    scene.prompts.script << "new:24,2,2";
    scene.Press(keys);
    QCOMPARE(scene.Companion()->StateLines().join(" | "), lines);
    if (keys.endsWith('N')) {
        QCOMPARE(scene.Companion()->Picture().size(), QSize(7 * 24 + 16, 4 * 2));
        QCOMPARE(scene.Companion()->AnimationLines().value(0), QString("cels 1-2  10 fps"));
    }
}

void EditorCompanion::placement_data() {
    QTest::addColumn<QRect>("editor");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("topLeft");
    const QRect screen(0, 0, 1024, 768);
    QTest::newRow("right of the editor, 8 pixels apart")
        << QRect(384, 256, 256, 256) << QSize(204, 238) << QPoint(648, 256);
    QTest::newRow("no room on the right: left of it")
        << QRect(700, 100, 256, 256) << QSize(204, 238) << QPoint(488, 100);
    QTest::newRow("room on neither side: below")
        << QRect(0, 0, 1024, 400) << QSize(204, 238) << QPoint(0, 408);
    QTest::newRow("room neither beside nor below: above")
        << QRect(100, 400, 900, 368) << QSize(204, 238) << QPoint(100, 154);
    QTest::newRow("no room anywhere: where the editor covers least of it")
        << QRect(100, 0, 924, 768) << QSize(480, 400) << QPoint(0, 0);
    QTest::newRow("an editor low on the screen: as low as it fits")
        << QRect(100, 700, 64, 64) << QSize(204, 238) << QPoint(172, 530);
    QTest::newRow("exactly fitting on the right")
        << QRect(0, 0, 812, 100) << QSize(204, 238) << QPoint(820, 0);
    QTest::newRow("one pixel short on the right: beside all the same, a pixel closer")
        << QRect(0, 0, 813, 100) << QSize(204, 238) << QPoint(820, 0);
}

void EditorCompanion::placement() {
    QFETCH(QRect, editor);
    QFETCH(QSize, size);
    QFETCH(QPoint, topLeft);
    QCOMPARE(CompanionTopLeft(editor, size, QRect(0, 0, 1024, 768)), topLeft);
}

QTEST_MAIN(EditorCompanion)
#include "tst_editor_companion.moc"
