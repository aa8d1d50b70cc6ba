// Key P, the PNG export: the picture at twice the cel's size from the colour strip's 2 x 2 blocks,
// temp.bmp, the image library's calls in their order, the export name the dialog proposes, and
// the error boxes.

#include <QDir>
#include <QTemporaryDir>

#include <unistd.h>

#include "editor/image_library.h"
#include "test_support.h"

namespace {

// Every pixel of the strip is different, so a block taken from the wrong place shows.
QImage DistinctColourStrip() {
    QImage strip(256, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 256; ++x) strip.setPixel(x, y, qRgb(x, 40 + y * 100, 255 - x));
    }
    return strip;
}

// The real library, with every call written down; a call can be made to fail.
class RecordingLibrary : public ImageLibrary {
  public:
    QStringList calls;
    QString tmpDir;
    bool failLoad = false;
    bool failSave = false;

    ImgHandle LoadBmp(const char* path) override {
        handle_ = failLoad ? 0 : ImgLoadBmp(path);
        calls << "load " + Shown(path);
        return handle_;
    }
    int Prepare(ImgHandle handle, std::uint32_t mode, std::uint32_t reserved) override {
        calls << QString("prepare %1 %2 %3").arg(Handle(handle)).arg(mode).arg(reserved);
        return ImgPrepare(handle, mode, reserved);
    }
    int SavePng(const char* outputName, ImgHandle handle, const PngOptions* o) override {
        calls << QString("save %1 %2 flags=%3 level=%4 filter=%5 text=%6 gamma=%7")
                     .arg(Shown(outputName), Handle(handle))
                     .arg(o->flags)
                     .arg(o->compression)
                     .arg(o->filter)
                     .arg(o->textChunks)
                     .arg(o->gammaChunk);
        return failSave ? 0 : ImgSavePng(outputName, handle, o);
    }
    void Release(ImgHandle handle) override {
        calls << "release " + Handle(handle);
        ImgRelease(handle);
    }
    Result<> LastResult() override {
        if (failLoad) return Fail(Failure::kCannotOpen, "The test does not load temp.bmp.");
        if (failSave) return Fail(Failure::kWriteFailed, "The test does not write out.png.");
        return ImgLastResult();
    }

  private:
    QString Shown(const char* path) const { return QString(path).replace(tmpDir, "$TMP"); }
    QString Handle(ImgHandle h) const { return h == handle_ ? "h" : QString::number(h); }
    ImgHandle handle_ = 0;
};

const QString kCalls =
    "load $TMP/temp.bmp; prepare h 65792 0; "
    "save $TMP/out.png h flags=9 level=9 filter=0 text=0 gamma=0; release h";

struct ExportEditor : test::Editor {
    RecordingLibrary library;
    ExportEditor() : test::Editor(8, DistinctColourStrip()) {
        library.tmpDir = dir.path();
        form->SetImageLibrary(library);
    }
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }
};

}  // namespace

class EditorExport : public QObject {
    Q_OBJECT

  private slots:
    void picture_data();
    void picture();
    void documentedBlock();
    void cancelWritesNothing();
    void exportNameProposals_data();
    void exportNameProposals();
    void failures_data();
    void failures();
    void tempBitmapIsNeverFollowed();
    void tempBitmapFolder();
};

// Each row opens walk.dat, presses the keys, then P, exporting to out.png; then I imports out.png
// back: the exported cel, colour 0 included, without a question.
void EditorExport::picture_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("cels");
    QTest::addColumn<QString>("pixels");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("exportedCel");
    QTest::newRow("8 x 8 gives 16 x 16") << 8 << 8 << 1 << "0,0=1 7,7=F 3,5=A"
                                         << "" << 0;
    QTest::newRow("64 x 64 gives 128 x 128") << 64 << 64 << 1 << "63,63=F 0,63=2 63,0=3"
                                             << "" << 0;
    QTest::newRow("1 x 1 gives 2 x 2") << 1 << 1 << 1 << "0,0=9"
                                       << "" << 0;
    QTest::newRow("a wide, flat cel") << 13 << 2 << 1 << "12,1=E 0,0=4"
                                      << "" << 0;
    QTest::newRow("only the current cel: the second after M")
        << 4 << 4 << 3 << "0,0=1 c1:1,1=2 c2:2,2=3"
        << "M" << 1;
    QTest::newRow("the last cel") << 4 << 4 << 3 << "0,0=1 c1:1,1=2 c2:2,2=3"
                                  << "M M" << 2;
    QTest::newRow("every colour") << 16 << 2 << 1
                                  << "1,0=1 2,0=2 3,0=3 4,0=4 5,0=5 6,0=6 7,0=7 8,0=8 9,0=9 "
                                     "10,0=A 11,0=B 12,0=C 13,0=D 14,0=E 15,0=F 0,1=F 15,1=1"
                                  << "" << 0;
}

void EditorExport::picture() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, cels);
    QFETCH(QString, pixels);
    QFETCH(QString, keys);
    QFETCH(int, exportedCel);
    ExportEditor editor;
    const QByteArray bytes = test::SpriteBytes(width, height, cels, pixels);
    editor.Open("walk.dat", bytes);
    test::Press(*editor.form, keys);
    const QString title = editor.form->windowTitle();
    editor.prompts.script << "$TMP/out.png";

    test::Press(*editor.form, "P");

    QCOMPARE(editor.prompts.asked.join("; "), QString("Export: $TMP/walk.png"));
    QCOMPARE(editor.library.calls.join("; "), kCalls);
    QVERIFY(QFile::exists(editor.Path("temp.bmp")));
    const QImage png(editor.Path("out.png"), "PNG");
    QCOMPARE(png.size(), QSize(2 * width, 2 * height));
    // Pixel (x, y) of colour v is the block at (2x, 2y), the strip's pixels at (16v, 0).
    const QImage strip = DistinctColourStrip();
    const int first = 3 + exportedCel * width * height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int v = bytes[first + y * width + x];
            for (int d = 0; d < 4; ++d) {
                const QRgb got = png.pixel(2 * x + d % 2, 2 * y + d / 2);
                if (got != strip.pixel(16 * v + d % 2, d / 2)) {
                    QFAIL(qPrintable(QString("pixel (%1, %2) of colour %3").arg(x).arg(y).arg(v)));
                }
            }
        }
    }
    // The document, the modified flag and the title are as they were.
    QCOMPARE(editor.form->windowTitle(), title);
    QVERIFY(!editor.form->Document().Modified());
    QCOMPARE(test::Pixels(editor.form->Document()), test::Sorted(pixels));

    // Back through I, Halve checked: one cel, named after the picture, unsaved.
    editor.prompts.script << "$TMP/out.png" << QString("size:%1,%2").arg(width).arg(height) << "OK";
    test::Press(*editor.form, "I");
    QCOMPARE(editor.prompts.asked.mid(0, 2).join("; "),
             QString("Export: $TMP/walk.png; Import: $TMP/"));
    QVERIFY(editor.prompts.asked.value(2).endsWith(" halve"));
    QCOMPARE(editor.form->windowTitle(), QString("out* 1/1"));
    const TSpriteDocument& back = editor.form->Document();
    QCOMPARE(QSize(back.Width(), back.Height()), QSize(width, height));
    QCOMPARE(back.CelCount(), 1);
    const auto cel = reinterpret_cast<const std::uint8_t*>(bytes.constData()) + first;
    QVERIFY(std::equal(cel, cel + width * height, back.CurrentCelPixels()));
}

// Pixel (3, 2) of colour 5 becomes the block x 6..7, y 4..5, from the strip's x 80..81, y 0..1.
void EditorExport::documentedBlock() {
    ExportEditor editor;
    editor.Open("walk.dat", test::SpriteBytes(8, 8, 1, "3,2=5"));
    editor.prompts.script << "$TMP/out.png";
    test::Press(*editor.form, "P");
    const QImage png(editor.Path("out.png"), "PNG");
    const QImage strip = DistinctColourStrip();
    QCOMPARE(png.pixel(6, 4), strip.pixel(80, 0));
    QCOMPARE(png.pixel(7, 4), strip.pixel(81, 0));
    QCOMPARE(png.pixel(6, 5), strip.pixel(80, 1));
    QCOMPARE(png.pixel(7, 5), strip.pixel(81, 1));
    QCOMPARE(png.pixel(8, 4), strip.pixel(0, 0));  // pixel (4, 2) is colour 0
    QCOMPARE(png.pixel(7, 6), strip.pixel(1, 0));  // pixel (3, 3) is colour 0
}

void EditorExport::cancelWritesNothing() {
    ExportEditor editor;
    editor.Open("walk.dat", test::SpriteBytes(4, 4, 1, "1,1=5"));
    const QStringList before = editor.Files();
    editor.prompts.script << "cancel";
    test::Press(*editor.form, "P");
    QCOMPARE(editor.prompts.asked.join("; "), QString("Export: $TMP/walk.png"));
    QCOMPARE(editor.Files(), before);  // not even temp.bmp
    QVERIFY(editor.library.calls.isEmpty());
    QCOMPARE(editor.form->Document().Names().exportName, std::string());
}

// The path the export dialog proposes: the last export's, until New, Open or a save that asked
// for a path.
void EditorExport::exportNameProposals_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("title");
    const QString open = "Open: $TMP/walk.dat";
    // clang-format off
    QTest::newRow("a fresh document proposes its name in its folder")
        << "P" << "cancel" << "Export: $TMP/walk.png" << "walk 1/1";
    QTest::newRow("after an export, its path")
        << "P P" << "$TMP/out.png cancel" << "Export: $TMP/walk.png; Export: $TMP/out.png" << "walk 1/1";
    QTest::newRow("a cancelled export keeps the last path")
        << "P P P" << "$TMP/out.png cancel cancel"
        << "Export: $TMP/walk.png; Export: $TMP/out.png; Export: $TMP/out.png" << "walk 1/1";
    QTest::newRow("the second export's path replaces the first's")
        << "P P P" << "$TMP/out.png $TMP/two.png cancel"
        << "Export: $TMP/walk.png; Export: $TMP/out.png; Export: $TMP/two.png" << "walk 1/1";
    QTest::newRow("New: its name")
        << "P N P" << "$TMP/out.png new:8,8,1 cancel" << "Export: $TMP/walk.png; New; Export: $TMP/new.png" << "new 1/1";
    QTest::newRow("Open: the name again")
        << "P O P" << "$TMP/out.png $TMP/walk.dat cancel"
        << "Export: $TMP/walk.png; " + open + "; Export: $TMP/walk.png" << "walk 1/1";
    QTest::newRow("a save that asks for a path: the new name")
        << "P F4 P" << "$TMP/out.png $TMP/other.dat cancel"
        << "Export: $TMP/walk.png; Save as: $TMP/walk.dat; Export: $TMP/other.png" << "other 1/1";
    QTest::newRow("a plain save keeps it")
        << "P 5 S P" << "$TMP/out.png cancel"
        << "Export: $TMP/walk.png; Export: $TMP/out.png" << "walk 1/1";
    QTest::newRow("an export of a changed document keeps its *")
        << "5 P" << "$TMP/out.png" << "Export: $TMP/walk.png" << "walk* 1/1";
    // clang-format on
}

void EditorExport::exportNameProposals() {
    QFETCH(QString, keys);
    QFETCH(QString, answers);
    QFETCH(QString, asked);
    QFETCH(QString, title);
    ExportEditor editor;
    editor.Open("walk.dat", test::SpriteBytes(4, 4, 1, "1,1=5"));
    editor.prompts.script = answers.split(' ', Qt::SkipEmptyParts);
    test::Press(*editor.form, keys);
    QCOMPARE(editor.prompts.asked.join("; "), asked);
    QCOMPARE(editor.form->windowTitle(), title);
}

// What goes wrong is reported; the document and title stay as they were. One fault of the file
// writer for each file the export writes: every fault is the writer's own test.
void EditorExport::failures_data() {
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("tempDir");  // relative to $TMP; "" for $TMP itself
    QTest::addColumn<bool>("failLoad");
    QTest::addColumn<bool>("failSave");
    QTest::addColumn<QString>("calls");
    QTest::addColumn<QString>("box");
    const auto calls = [](const QString& output) {
        return "load $TMP/temp.bmp; prepare h 65792 0; save " + output +
               " h flags=9 level=9 filter=0 text=0 gamma=0; release h";
    };
    const QString box = " | walk 1/1 | Ok | error";
    // clang-format off
    QTest::newRow("an output folder that does not exist")
        << "$TMP/no/such/dir/out.png" << "" << false << false << calls("$TMP/no/such/dir/out.png")
        << "Cannot create out.png: No such file or directory." + box;
    QTest::newRow("temp.bmp cannot be written: no library call")
        << "$TMP/out.png" << "walk.dat" << false << false << ""
        << "Cannot create the temporary picture $TMP/walk.dat/temp.bmp: Not a directory." + box;
    QTest::newRow("the library cannot load temp.bmp: nothing else is called")
        << "$TMP/out.png" << "" << true << false << "load $TMP/temp.bmp"
        << "The test does not load temp.bmp." + box;
    QTest::newRow("the library does not write the PNG: the handle is still released")
        << "$TMP/out.png" << "" << false << true << kCalls
        << "The test does not write out.png." + box;
    // clang-format on
}

void EditorExport::failures() {
    QFETCH(QString, output);
    QFETCH(QString, tempDir);
    QFETCH(bool, failLoad);
    QFETCH(bool, failSave);
    QFETCH(QString, calls);
    QFETCH(QString, box);
    ExportEditor editor;
    editor.Open("walk.dat", test::SpriteBytes(4, 4, 1, "1,1=5"));
    if (!tempDir.isEmpty()) editor.form->SetTempBitmapDir(editor.Path(tempDir));
    editor.library.failLoad = failLoad;
    editor.library.failSave = failSave;
    editor.prompts.script << output << "OK";

    test::Press(*editor.form, "P");

    QCOMPARE(editor.prompts.asked.join("; "), "Export: $TMP/walk.png; " + box);
    QCOMPARE(editor.library.calls.join("; "), calls);
    QVERIFY(!QFile::exists(editor.Path("out.png")));
    QVERIFY(!QFile::exists(editor.Path("no")));
    QCOMPARE(editor.form->windowTitle(), QString("walk 1/1"));
    QVERIFY(!editor.form->Document().Modified());
    QCOMPARE(test::Pixels(editor.form->Document()), QString("1,1=5"));
}

// temp.bmp is the export's own: a link in its place is replaced, the file it points to is never
// written.
void EditorExport::tempBitmapIsNeverFollowed() {
    ExportEditor editor;
    editor.Open("walk.dat", test::SpriteBytes(4, 4, 1, "1,1=5"));
    QFile precious(editor.Path("precious"));
    QVERIFY(precious.open(QIODevice::WriteOnly));
    precious.write("keep me");
    precious.close();
    QVERIFY(QFile::link(editor.Path("precious"), editor.Path("temp.bmp")));
    editor.prompts.script << "$TMP/out.png";

    test::Press(*editor.form, "P");

    QCOMPARE(editor.library.calls.join("; "), kCalls);
    QVERIFY(QFile::exists(editor.Path("out.png")));
    QVERIFY(!QFileInfo(editor.Path("temp.bmp")).isSymLink());
    QVERIFY(precious.open(QIODevice::ReadOnly));
    QCOMPARE(precious.readAll(), QByteArray("keep me"));
}

// temp.bmp lies beside the program where that folder may be written, else in the user's cache
// folder, made when missing (an installed copy in a folder only root may write).
void EditorExport::tempBitmapFolder() {
    QTemporaryDir home;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath("cache")));
    QCOMPARE(TempBitmapDir(home.path()), home.path());
    const QString cache = TempBitmapDir(home.filePath("no/such/program/folder"));
    QVERIFY2(cache.startsWith(home.filePath("cache") + "/"), qPrintable(cache));
    QVERIFY(QFileInfo(cache).isDir());
    // Root may write into any folder: the locked one cannot be tried.
    if (::geteuid() == 0) QSKIP("a folder locked against its owner does not stop root");
    QVERIFY(QDir(home.path()).mkdir("locked"));
    QFile::setPermissions(home.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner);
    QCOMPARE(TempBitmapDir(home.filePath("locked")), cache);
}

QTEST_MAIN(EditorExport)
#include "tst_editor_export.moc"
