// Start-up and rendering of the editor window: the swatch strips, the enlarged picture and its
// cursor frame read back from imgMain's image, the chip view, the layout and centring, the title.

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

#include <random>

#include <sys/stat.h>

#include "example_tables.h"
#include "generator/decode_tables.h"
#include "test_support.h"

namespace {

constexpr QRgb kFrame = 0xFF777799;  // red 119, green 119, blue 153
constexpr QRgb kMark = 0xFFFF0000;

// The picture as it must be: every cell its swatch, pixel for pixel, and the frame drawn over the
// cursor cell's top-left (zoom - 1) x (zoom - 1) square. The swatches come from a pal.bmp of
// stripZoom (the zoom at start), each pixel from the one under it. With the onion skin a cell of
// colour 0 shows 40 % of the previous cel's swatch over 60 % of colour 0's. In the chip view the
// cells show the chip's pixels, and each mark is a notch a quarter of a cell wide and half a cell
// high, centred on the row's height, under the frame.
QImage Expected(const TSpriteDocument& doc, int zoom, int stripZoom = 0, bool onion = false,
                const ChipCel* chip = nullptr) {
    if (stripZoom == 0) stripZoom = zoom;
    const int previous = (doc.CurrentCel() + doc.CelCount() - 1) % doc.CelCount();
    const std::uint8_t* under = doc.Buffer() + 3 + previous * doc.CelSize();
    QImage image(doc.Width() * zoom, doc.Height() * zoom, QImage::Format_RGB32);
    for (int py = 0; py < image.height(); ++py) {
        for (int px = 0; px < image.width(); ++px) {
            const int cx = px / zoom, cy = py / zoom;
            const int ix = px % zoom * stripZoom / zoom, iy = py % zoom * stripZoom / zoom;
            const int n = zoom - 1;
            const bool frame =
                cx == doc.CursorX() && cy == doc.CursorY() && px % zoom < n && py % zoom < n &&
                (px % zoom == 0 || py % zoom == 0 || px % zoom == n - 1 || py % zoom == n - 1);
            const int v =
                chip != nullptr ? chip->Pixels()[cy * doc.Width() + cx] : doc.GetPixel(cx, cy);
            QRgb rgb = test::PaletteColour(v, ix, iy);
            const int notchTop = (zoom - std::max(1, zoom / 2)) / 2;
            for (const RowMark& mark : chip != nullptr ? chip->Marks() : std::vector<RowMark>{}) {
                if (mark.row == cy && px >= mark.column * zoom &&
                    px < mark.column * zoom + std::max(1, zoom / 4) && py % zoom >= notchTop &&
                    py % zoom < notchTop + std::max(1, zoom / 2)) {
                    rgb = kMark;
                }
            }
            if (onion && v == 0 && rgb != kMark) {
                const QRgb over = test::PaletteColour(under[cy * doc.Width() + cx], ix, iy);
                const auto mix = [](int a, int b) { return (2 * a + 3 * b + 2) / 5; };
                rgb = qRgb(mix(qRed(over), qRed(rgb)), mix(qGreen(over), qGreen(rgb)),
                           mix(qBlue(over), qBlue(rgb)));
            }
            image.setPixel(px, py, frame ? kFrame : rgb);
        }
    }
    return image;
}

void PressMouse(QWidget& view, QPoint at) {
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(at), view.mapToGlobal(QPointF(at)),
                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &e);
}

}  // namespace

class EditorView : public QObject {
    Q_OBJECT

  private slots:
    void freshStart();
    void picture_data();
    void picture();
    void frameOfTheExample();
    void viewShowsTheImage();
    void centring_data();
    void centring();
    void placement_data();
    void placement();
    void strips_data();
    void strips();
    void titleAfterSave();
    void onionSkin_data();
    void onionSkin();
    void onionBlendOfOnePixel();
    void chipView();
    void chipViewOfSpriteSets();
    void zoomKeys_data();
    void zoomKeys();
};

void EditorView::freshStart() {
    test::Editor editor(8);
    const TSpriteDocument& doc = editor.form->Document();
    QCOMPARE(editor.form->windowTitle(), QString("new 1/1"));
    QCOMPARE(QPoint(doc.CursorX(), doc.CursorY()), QPoint(4, 4));
    QCOMPARE(doc.Width(), 8);
    QCOMPARE(doc.CelCount(), 1);
    QVERIFY(!doc.Modified());
    QCOMPARE(editor.form->Zoom(), 8);
    QCOMPARE(editor.form->size(), QSize(64, 64));
    QVERIFY(editor.form->windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(!editor.form->isVisible());  // the program shows it, not the constructor
    QCOMPARE(editor.form->MainImage(), Expected(doc, 8));
}

void EditorView::picture_data() {
    QTest::addColumn<int>("zoom");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("pixels");
    QTest::addColumn<QString>("keys");
    const QString all16 =
        "0,0=1 1,0=2 2,0=3 3,0=4 4,0=5 5,0=6 6,0=7 7,0=8 0,1=9 1,1=A 2,1=B 3,1=C "
        "4,1=D 5,1=E 6,1=F";
    QTest::newRow("all sixteen colours at zoom 8") << 8 << QSize(8, 2) << all16 << "";
    QTest::newRow("cursor on colour 15") << 8 << QSize(8, 2) << all16 << "Up Right Right";
    QTest::newRow("zoom 16, cursor in the corner") << 16 << QSize(5, 3) << "4,2=F 0,0=7"
                                                   << "Right Right Down";
    QTest::newRow("zoom 3: the frame is a 2 x 2 square") << 3 << QSize(4, 4) << "2,2=9"
                                                         << "";
    QTest::newRow("zoom 2: the frame is one pixel") << 2 << QSize(4, 4) << "2,2=9"
                                                    << "";
    QTest::newRow("zoom 1: no frame at all") << 1 << QSize(4, 4) << "2,2=9"
                                             << "";
    QTest::newRow("1 x 1 sprite") << 8 << QSize(1, 1) << "0,0=E"
                                  << "";
    QTest::newRow("64 x 64 sprite") << 4 << QSize(64, 64) << "63,63=F 0,63=1 63,0=2"
                                    << "Down";
}

void EditorView::picture() {
    QFETCH(int, zoom);
    QFETCH(QSize, size);
    QFETCH(QString, pixels);
    QFETCH(QString, keys);
    test::Editor editor(zoom);
    editor.Open("p.dat", test::SpriteBytes(size.width(), size.height(), 1, pixels));
    test::Press(*editor.form, keys);
    QCOMPARE(editor.form->MainImage().size(), QSize(size.width() * zoom, size.height() * zoom));
    QCOMPARE(editor.form->size(), editor.form->MainImage().size());
    QCOMPARE(editor.form->MainImage(), Expected(editor.form->Document(), zoom));
}

// Cursor at (2, 3), zoom 8: the frame's rectangle is (16, 24)-(23, 31).
void EditorView::frameOfTheExample() {
    test::Editor editor(8);
    test::Press(*editor.form, "Left Left Up");
    QCOMPARE(QPoint(editor.form->Document().CursorX(), editor.form->Document().CursorY()),
             QPoint(2, 3));
    const QImage& image = editor.form->MainImage();
    for (int x = 16; x <= 22; ++x) {
        QCOMPARE(image.pixel(x, 24), kFrame);
        QCOMPARE(image.pixel(x, 30), kFrame);
    }
    for (int y = 24; y <= 30; ++y) {
        QCOMPARE(image.pixel(16, y), kFrame);
        QCOMPARE(image.pixel(22, y), kFrame);
    }
    for (int i = 16; i <= 23; ++i) {
        QCOMPARE(image.pixel(23, 24 + (i - 16)), test::PaletteColour(0, 7, i - 16));  // column 23
        QCOMPARE(image.pixel(i, 31), test::PaletteColour(0, i - 16, 7));              // row 31
    }
    QCOMPARE(image.pixel(17, 25), test::PaletteColour(0, 1, 1));  // the inside is left alone
    QCOMPARE(image.pixel(21, 29), test::PaletteColour(0, 5, 5));
}

void EditorView::viewShowsTheImage() {
    test::Editor editor(8);
    editor.form->show();
    test::Press(*editor.form, "5 Shift+Right Up 9");
    QCOMPARE(editor.form->imgMain()->grab().toImage().convertToFormat(QImage::Format_RGB32),
             editor.form->MainImage());
}

void EditorView::centring_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("64 x 64 at zoom 8 on 1024 x 768")
        << QSize(1024, 768) << QSize(512, 512) << QPoint(256, 128);
    QTest::newRow("13 x 7 at zoom 8 on 1280 x 1024")
        << QSize(1280, 1024) << QSize(104, 56) << QPoint(588, 484);
    QTest::newRow("taller than the screen: negative top")
        << QSize(1024, 768) << QSize(832, 832) << QPoint(96, -32);
    QTest::newRow("odd negative difference truncates toward zero")
        << QSize(1024, 767) << QSize(8, 800) << QPoint(508, -16);
    QTest::newRow("odd positive difference truncates down")
        << QSize(1025, 769) << QSize(8, 8) << QPoint(508, 380);
}

void EditorView::centring() {
    QFETCH(QSize, screen);
    QFETCH(QSize, client);
    QFETCH(QPoint, topLeft);
    QCOMPARE(CentredTopLeft(screen.width(), screen.height(), client.width(), client.height()),
             topLeft);
}

void EditorView::placement_data() {
    QTest::addColumn<int>("zoom");
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QSize>("client");
    QTest::newRow("fresh 8 x 8 document") << 8 << "" << QSize(64, 64);
    QTest::newRow("New 13 x 7") << 8 << "13,7,1" << QSize(104, 56);
    QTest::newRow("New 64 x 64 at zoom 13, taller than the screen")
        << 13 << "64,64,1" << QSize(832, 832);
}

// The window is centred on the primary screen, anew after New.
void EditorView::placement() {
    QFETCH(int, zoom);
    QFETCH(QString, fields);
    QFETCH(QSize, client);
    test::Editor editor(zoom);
    if (!fields.isEmpty()) {
        editor.prompts.script << "new:" + fields;
        test::Press(*editor.form, "N");
    }
    editor.form->show();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(editor.form->size(), client);
    QCOMPARE(editor.form->pos(),
             screen.topLeft() + QPoint((screen.width() - client.width()) / 2,
                                       (screen.height() - client.height()) / 2));
}

void EditorView::strips_data() {
    QTest::addColumn<QString>("pal");     // "missing", "dir", "text", or "W x H"
    QTest::addColumn<QString>("colour");  // the same
    QTest::addColumn<QString>("message");
    QTest::newRow("pal.bmp missing") << "missing"
                                     << "256x2"
                                     << "Cannot open $TMP/pal.bmp: No such file or directory";
    QTest::newRow("color.bmp missing") << "128x8"
                                       << "missing"
                                       << "Cannot open $TMP/color.bmp: No such file or directory";
    QTest::newRow("pal.bmp a directory") << "dir"
                                         << "256x2"
                                         << "Cannot read $TMP/pal.bmp:";
    QTest::newRow("pal.bmp not a picture")
        << "text"
        << "256x2"
        << "Cannot load $TMP/pal.bmp: it is not a valid BMP picture";
    QTest::newRow("color.bmp a PNG picture")
        << "128x8"
        << "png"
        << "Cannot load $TMP/color.bmp: it is not a valid BMP picture";
    QTest::newRow("pal.bmp too narrow for 16 swatches")
        << "127x8"
        << "256x2"
        << "Cannot use $TMP/pal.bmp: it is 127 x 8 pixels, too narrow for 16 square swatches (at "
           "least 128 pixels wide)";
    QTest::newRow("pal.bmp too high a zoom") << "1040x65"
                                             << "256x2"
                                             << "Cannot use $TMP/pal.bmp: its height of 65 pixels "
                                                "is the zoom, which must be from 1 to 64";
    QTest::newRow("color.bmp too narrow")
        << "128x8"
        << "241x2"
        << "Cannot use $TMP/color.bmp: it is 241 x 2 pixels, smaller than the 242 x 2 pixels of 16 "
           "colour swatches";
    QTest::newRow("color.bmp one row") << "128x8"
                                       << "256x1"
                                       << "Cannot use $TMP/color.bmp: it is 256 x 1 pixels";
    QTest::newRow("pal.bmp a named pipe: refused at once, never waited for")
        << "fifo"
        << "256x2"
        << "Cannot read $TMP/pal.bmp: it is a named pipe, not a regular file";
    QTest::newRow("pal.bmp a link to /dev/zero: refused, never read without end")
        << "zero"
        << "256x2"
        << "Cannot read $TMP/pal.bmp: it is a character device, not a regular file";
    QTest::newRow("color.bmp cut short: its announced pixels are missing")
        << "128x8"
        << "cut"
        << "Cannot load $TMP/color.bmp: it is not a valid BMP picture (its pixel data ends past "
           "the end of the file";
    QTest::newRow("color.bmp announcing pixels past its end")
        << "128x8"
        << "offset"
        << "Cannot load $TMP/color.bmp: it is not a valid BMP picture (its pixel data starts "
           "past the end of the file)";
    QTest::newRow("smallest strips that serve") << "16x1"
                                                << "242x2"
                                                << "";
}

void EditorView::strips() {
    QFETCH(QString, pal);
    QFETCH(QString, colour);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const auto make = [&](const QString& name, const QString& kind, bool palette) {
        const QString path = dir.filePath(name);
        if (kind == "missing") return;
        if (kind == "dir")
            QVERIFY(QDir(dir.path()).mkdir(name));
        else if (kind == "text")
            test::WriteBytes(path, "not a bitmap");
        else if (kind == "png")
            QVERIFY(QImage(256, 2, QImage::Format_RGB32).save(path, "PNG"));
        else if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == "zero")
            QVERIFY(QFile::link("/dev/zero", path));
        else if (kind == "cut" || kind == "offset") {
            test::WriteColourStrip(path);
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            if (kind == "cut") {
                QVERIFY(file.resize(file.size() - 1));
            } else {
                file.seek(10);
                file.write(QByteArray("\xff\xff\x00\x00", 4));
            }
        } else {
            const QStringList wh = kind.split('x');
            if (palette)
                test::WritePaletteStrip(path, wh[1].toInt(), wh[0].toInt());
            else
                test::WriteColourStrip(path, wh[0].toInt(), wh[1].toInt());
        }
    };
    make("pal.bmp", pal, true);
    make("color.bmp", colour, false);
    const Result<Strips> strips = LoadStrips(dir.path());
    const QString problem = QString::fromStdString(strips.message()).replace(dir.path(), "$TMP");
    if (message.isEmpty()) {
        QCOMPARE(problem, QString());
        QCOMPARE(strips->Zoom(), 1);
    } else {
        QVERIFY2(problem.startsWith(message), qPrintable(problem));
    }
}

// "walk 1/1" turns into "walk* 1/1" by the first change after a save, and only the first
// change rebuilds the title.
void EditorView::titleAfterSave() {
    test::Editor editor;
    editor.Open("walk.dat", test::SpriteBytes(8, 8, 1, ""));
    test::Press(*editor.form, "5 S");
    QCOMPARE(editor.form->windowTitle(), QString("walk 1/1"));
    test::Press(*editor.form, "6");
    QCOMPARE(editor.form->windowTitle(), QString("walk* 1/1"));
    test::Press(*editor.form, "Ctrl+C");
    QCOMPARE(editor.form->windowTitle(), QString("copy:1"));
    test::Press(*editor.form, "7");  // already modified: the copy text stays
    QCOMPARE(editor.form->windowTitle(), QString("copy:1"));
}

// Three 4 x 4 cels; the keys run on an editor at zoom 8, shown, and the picture is read back from
// the view as well.
void EditorView::onionSkin_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("onion");
    QTest::addColumn<int>("cels");
    QTest::newRow("off by default: exactly the picture without it") << "M" << false << 3;
    QTest::newRow("L on the second cel: the first shows through colour 0") << "M L" << true << 3;
    QTest::newRow("on the first cel the last shows through") << "L" << true << 3;
    QTest::newRow("it follows the cel: on the third, the second") << "L M M" << true << 3;
    QTest::newRow("L twice: off again, every pixel as before") << "M L L" << false << 3;
    QTest::newRow("one cel: it shows through itself, nothing changes") << "L" << true << 1;
    QTest::newRow("the cursor frame is drawn over it") << "M L Left Left Up Up" << true << 3;
    QTest::newRow("drawing colour 0 lets the previous cel through there")
        << "L 0 Space" << true << 3;
    QTest::newRow("at another zoom: the blend of the scaled swatches") << "M L Plus" << true << 3;
}

void EditorView::onionSkin() {
    QFETCH(QString, keys);
    QFETCH(bool, onion);
    QFETCH(int, cels);
    test::Editor editor(8);
    const QString pixels = "0,0=3 1,1=5 c1:1,1=7 c1:2,2=9 c2:3,3=F c2:0,0=2";
    editor.Open("o.dat", test::SpriteBytes(4, 4, cels, cels == 1 ? "0,0=3 1,1=5" : pixels));
    editor.form->show();
    test::Press(*editor.form, keys);
    QCOMPARE(editor.form->OnionSkin(), onion);
    const int zoom = editor.form->Zoom();
    const QImage expected = Expected(editor.form->Document(), zoom, 8, onion);
    QCOMPARE(editor.form->MainImage(), expected);
    QCOMPARE(editor.form->imgMain()->grab().toImage().convertToFormat(QImage::Format_RGB32),
             expected);
    if (!onion) QCOMPARE(editor.form->MainImage(), Expected(editor.form->Document(), zoom));
}

// The blend of one pixel worked out by hand: the previous cel's colour 5 at swatch pixel (0, 0) is
// red 88 over colour 0's red 8, green 11 and blue 7 in both: 0.4 x 88 + 0.6 x 8 = 40.
void EditorView::onionBlendOfOnePixel() {
    test::Editor editor(8);
    editor.Open("o.dat", test::SpriteBytes(4, 4, 2, "0,0=5"));
    test::Press(*editor.form, "M L");
    QCOMPARE(editor.form->MainImage().pixel(0, 0), qRgb(40, 11, 7));
    QCOMPARE(editor.form->MainImage().pixel(8, 0), test::PaletteColour(0, 0, 0));  // 0 over 0
}

// The examples' cels and random ones under the options of every kind, chosen with the Generate
// window's keys after X: every cell shows the decoded tables' pixel, and every mark its notch (the
// marks are the rows the check names: tests/generator).
void EditorView::chipView() {
    std::vector<std::vector<std::uint8_t>> files;
    for (const auto* examples : {&SpriteExamples(), &ChrExamples(), &TwoLayerExamples()}) {
        for (const TableExample& example : *examples) files.push_back(example.FileImage());
    }
    std::mt19937 random(25);
    for (int round = 0; round < 8; ++round) {
        const int width = 1 + static_cast<int>(random() % 24);
        const int height = 1 + static_cast<int>(random() % 6);
        Pixels pixels(static_cast<std::size_t>(width * height * 2));
        for (auto& p : pixels) p = static_cast<std::uint8_t>(random() % 4 * 3);
        files.push_back(SpriteFileImage(width, height, pixels));
    }
    for (const std::vector<std::uint8_t>& file : files) {
        test::Editor editor(4);
        editor.Open("c.dat", QByteArray(reinterpret_cast<const char*>(file.data()),
                                        static_cast<qsizetype>(file.size())));
        test::Press(*editor.form, "G X");
        const TSpriteDocument& doc = editor.form->Document();
        const auto showsTheChip = [&] {
            ChipCel chip;
            chip.Show(CaptureDocument(doc.Buffer()), doc.CurrentCel(), editor.frmExport.Options());
            QCOMPARE(editor.form->MainImage(), Expected(doc, 4, 4, false, &chip));
        };
        // Sprites, with colour data, two layers with and without it, characters.
        for (const int key : {0, int{'C'}, int{'2'}, int{'C'}, int{'T'}}) {
            if (key != 0) editor.frmExport.Memo1KeyDown(key, false, false, false);
            test::Press(*editor.form, QString("J ").repeated(doc.CelCount()));
            for (int cel = 0; cel < doc.CelCount(); ++cel, test::Press(*editor.form, "M")) {
                showsTheChip();
            }
        }
        // Drawing and a step back follow at once; X again shows the cel as drawn.
        for (const char* keys : {"5", "U"}) {
            test::Press(*editor.form, keys);
            showsTheChip();
        }
        test::Press(*editor.form, "X");
        QCOMPARE(editor.form->MainImage(), Expected(doc, 4));
    }
}

// Five 8 x 8 pieces side by side put five sprites on each of their lines, one more than the chip
// shows without colour data: every line is notched, though each shows as drawn; the seams
// between the pieces are drawn, and a step back to four pieces takes the notches away.
void EditorView::chipViewOfSpriteSets() {
    test::Editor editor(4);
    editor.Open("s.dat", test::SpriteBytes(40, 8, 1, "0,0=1 8,0=1 16,0=1 24,0=1 32,7=1"));
    test::Press(*editor.form, "G X");
    editor.frmExport.Memo1KeyDown('P', false, false, false);
    editor.frmExport.Memo1KeyDown('P', false, false, false);
    QCOMPARE(editor.frmExport.Options().pieces, 8);
    const QImage& image = editor.form->MainImage();
    for (int row = 0; row < 8; ++row) QCOMPARE(image.pixel(0, row * 4 + 1), kMark);
    QCOMPARE(image.pixel(8 * 4, 5), qRgb(0x90, 0x90, 0xB0));
    // From the middle, (20, 4), to the fifth piece's pixel, which Space clears.
    test::Press(*editor.form, "Down Down Down " + QString("Right ").repeated(12) + "Space");
    QCOMPARE(editor.form->Document().GetPixel(32, 7), 0);
    QVERIFY(image.pixel(0, 1) != kMark);
}

// The zoom keys on an 8 x 8 document: the zoom, the window's size and place (centred as after
// New), the picture from the scaled swatches, and the cell a mouse press lands in.
void EditorView::zoomKeys_data() {
    QTest::addColumn<int>("stripZoom");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("cell");
    QTest::newRow("+ from 16 to 24") << 16 << "Plus" << 24 << QPoint(100, 50) << QPoint(4, 2);
    QTest::newRow("- from 16 to 12") << 16 << "Minus" << 12 << QPoint(95, 50) << QPoint(7, 4);
    QTest::newRow("+ stops at 32")
        << 16 << "Plus Plus Plus" << 32 << QPoint(255, 255) << QPoint(7, 7);
    QTest::newRow("- stops at 4") << 16 << "Minus Minus Minus Minus Minus" << 4 << QPoint(31, 4)
                                  << QPoint(7, 1);
    QTest::newRow("back to the start: the strip's own pixels")
        << 16 << "Plus Minus" << 16 << QPoint(17, 17) << QPoint(1, 1);
    QTest::newRow("down to 8: every other pixel of a 16 strip")
        << 16 << "Minus Minus" << 8 << QPoint(9, 9) << QPoint(1, 1);
    QTest::newRow("a strip of 8 up to 12: nearest neighbour")
        << 8 << "Plus" << 12 << QPoint(13, 25) << QPoint(1, 2);
    QTest::newRow("a strip of 8 up to 16: every pixel a 2 x 2 block")
        << 8 << "Plus Plus" << 16 << QPoint(16, 15) << QPoint(1, 0);
    QTest::newRow("a strip of 10 starts at 10 and steps to 12")
        << 10 << "Plus" << 12 << QPoint(40, 40) << QPoint(3, 3);
    QTest::newRow("a strip of 10 steps down to 8")
        << 10 << "Minus" << 8 << QPoint(40, 40) << QPoint(5, 5);
    QTest::newRow("a strip of 2 steps up to 4, never down")
        << 2 << "Minus Plus" << 4 << QPoint(5, 5) << QPoint(1, 1);
}

void EditorView::zoomKeys() {
    QFETCH(int, stripZoom);
    QFETCH(QString, keys);
    QFETCH(int, zoom);
    QFETCH(QPoint, press);
    QFETCH(QPoint, cell);
    test::Editor editor(stripZoom);
    editor.Open("z.dat", test::SpriteBytes(8, 8, 1, "0,0=1 7,7=F 3,4=9 1,1=C"));
    editor.form->show();
    test::Press(*editor.form, keys);
    QCOMPARE(editor.form->Zoom(), zoom);
    const QSize client(8 * zoom, 8 * zoom);
    QCOMPARE(editor.form->size(), client);
    QCOMPARE(editor.form->imgMain()->size(), client);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(editor.form->pos(),
             screen.topLeft() + QPoint((screen.width() - client.width()) / 2,
                                       (screen.height() - client.height()) / 2));
    QCOMPARE(editor.form->MainImage(), Expected(editor.form->Document(), zoom, stripZoom));
    PressMouse(*editor.form->imgMain(), press);
    const TSpriteDocument& doc = editor.form->Document();
    QCOMPARE(QPoint(doc.CursorX(), doc.CursorY()), cell);
    QVERIFY(!doc.Modified() || doc.GetPixel(cell.x(), cell.y()) == 0);
}

QTEST_MAIN(EditorView)
#include "tst_editor_view.moc"
