// File commands: New with its dialog, Open, Save and Save As, the picture import, each with the
// "Save?" prompt and every answer, and the file named on the command line. Each row starts from a
// fresh editor (a never-saved 8 x 8 document "new") in a temporary directory that holds walk.dat
// (4 x 4, three cels), new.dat (2 x 2), bad.dat (width 0) and the pictures of kPictures, opens
// the file of an "argv:FILE" entry as the command line does (a relative one from the temporary
// directory), presses keys, and answers from a script.

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include "editor/command_line.h"
#include "test_support.h"

class EditorFiles : public QObject {
    Q_OBJECT

  private slots:
    void commands_data();
    void commands();
    void fieldsKeepTheirTexts();
    void failedSaveAsAsksAgain();
    void saveAsksBeforeOverwritingChangesItHasNotSeen();
    void commandLine_data();
    void commandLine();
};

namespace {
const QString kSave = "Save? | Prompt | YesNoCancel";
const QString kError = "Error | Error | Ok | error";
QString Halved(const QString& name) {
    return name + ".png was taken at half its size: each 2 × 2 block became one pixel. | " + name +
           "* 1/" + (name == "sheet2x" ? "3" : "1") + " | Ok | information";
}

// Pictures to import: name, width, height, pixels (see test::WritePicture). A single pixel in a
// 2 x 2 block keeps a picture from looking like one the PNG export wrote.
struct Picture {
    const char* name;
    int width, height;
    const char* pixels;
};
const Picture kPictures[] = {
    {"sheet.png", 16, 8, "1,1=5 9,2=F"},  // two 8 x 8 cels
    {"ship.png", 40, 16, "1,0=1"},
    {"big.png", 88, 80, "1,1=#810101 2,1=#810101 3,3=#0F0000"},  // 110 cels; two colours of no
                                                                 // swatch, nearest 8 and 1
    {"exported.png", 8, 4, "0,0=3 1,0=3 0,1=3 1,1=3 6,2=F 7,2=F 6,3=F 7,3=F"},  // 2 x 2 blocks
    {"sheet2x.png", 12, 4, "0,0=5 1,0=5 0,1=5 1,1=5"},  // three 2 x 2 cels exported side by side
};
}  // namespace

void EditorFiles::commands_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("answers");  // separated by ';'
    QTest::addColumn<QString>("asked");    // separated by "; "
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("document");  // "W x H x N, cursor X,Y: pixels"
    QTest::addColumn<QString>("files");     // name=size of files that must exist, -name absent

    // clang-format off
    // --- New (the number rules themselves: size_rules_test) -------------------------------------
    QTest::newRow("New without changes asks nothing but the dialog")
        << "N" << "new:16,16,2" << "New" << "new 1/2" << "16x16x2 8,8:" << "";
    QTest::newRow("New after changes, No: replaced and still marked")
        << "5 N" << "No;new:8,8,1" << kSave + "; New" << "new* 1/1" << "8x8x1 4,4:" << "";
    QTest::newRow("New after changes, Cancel: nothing happens")
        << "5 N" << "Cancel" << kSave << "new* 1/1" << "8x8x1 4,4:4,4=5" << "";
    QTest::newRow("New after changes, Yes, save dialog cancelled: stops, changes kept")
        << "5 N" << "Yes;cancel" << kSave + "; Save as: new.dat" << "new* 1/1" << "8x8x1 4,4:4,4=5" << "";
    QTest::newRow("New after changes, Yes with a path: saved, then the new document")
        << "5 N" << "Yes;$TMP/first.dat;new:4,4,1" << kSave + "; Save as: new.dat; New" << "new 1/1"
        << "4x4x1 2,2:" << "first.dat=67";
    QTest::newRow("New after changes, Yes, file cannot be created: error and stop")
        << "5 N" << "Yes;$TMP/no/such/dir/x.dat;OK" << kSave + "; Save as: new.dat; " + kError
        << "new* 1/1" << "8x8x1 4,4:4,4=5" << "";
    QTest::newRow("New dialog cancelled: nothing changes")
        << "5 N" << "No;new:cancel" << kSave + "; New" << "new* 1/1" << "8x8x1 4,4:4,4=5" << "";
    QTest::newRow("New 7 x 5 puts the cursor at (3, 2)")
        << "N" << "new:7,5,1" << "New" << "new 1/1" << "7x5x1 3,2:" << "";
    QTest::newRow("New 1 x 1 puts the cursor at (0, 0)")
        << "N" << "new:1,1,1" << "New" << "new 1/1" << "1x1x1 0,0:" << "";
    QTest::newRow("New 64 x 64 with 100 cels")
        << "N" << "new:64,64,100" << "New" << "new 1/100" << "64x64x100 32,32:" << "";
    QTest::newRow("New with a trailing blank: conversion error, nothing changes")
        << "5 N" << "No;new:16 ,16,1;OK" << kSave + "; New; '16 ' is not a valid whole number. | new* 1/1 | Ok | error"
        << "new* 1/1" << "8x8x1 4,4:4,4=5" << "";
    QTest::newRow("New with abc as height: conversion error")
        << "N" << "new:16,abc,2;OK" << "New; 'abc' is not a valid whole number. | new 1/1 | Ok | error"
        << "new 1/1" << "8x8x1 4,4:" << "";
    QTest::newRow("New with width 65: range error")
        << "N" << "new:65,8,1;OK" << "New; Width must be from 1 to 64. | new 1/1 | Ok | error"
        << "new 1/1" << "8x8x1 4,4:" << "";
    QTest::newRow("New after Yes and a conversion error: the save stays done")
        << "5 N" << "Yes;$TMP/kept.dat;new:x,8,1;OK"
        << kSave + "; Save as: new.dat; New; 'x' is not a valid whole number. | kept 1/1 | Ok | error"
        << "kept 1/1" << "8x8x1 4,4:4,4=5" << "kept.dat=67";
    // --- Open ------------------------------------------------------------------------------------
    QTest::newRow("Open without changes loads the file")
        << "O" << "$TMP/walk.dat" << "Open: " << "walk 1/3" << "4x4x3 2,2:1,1=5 c2:3,3=F" << "";
    QTest::newRow("Open after changes, No: loaded and still marked")
        << "5 O" << "No;$TMP/walk.dat" << kSave + "; Open: " << "walk* 1/3" << "4x4x3 2,2:1,1=5 c2:3,3=F" << "";
    QTest::newRow("Open after changes, Cancel: nothing happens")
        << "5 O" << "Cancel" << kSave << "new* 1/1" << "8x8x1 4,4:4,4=5" << "";
    QTest::newRow("Open after changes, Yes saves first")
        << "5 O" << "Yes;$TMP/mine;$TMP/walk.dat" << kSave + "; Save as: new.dat; Open: $TMP/mine" << "walk 1/3"
        << "4x4x3 2,2:1,1=5 c2:3,3=F" << "mine=67";
    QTest::newRow("Open dialog cancelled: nothing happens")
        << "5 O" << "No;cancel" << kSave + "; Open: " << "new* 1/1" << "8x8x1 4,4:4,4=5" << "";
    QTest::newRow("Open a file that cannot be opened: Error box, nothing changes")
        << "5 O" << "No;$TMP/missing.dat;OK" << kSave + "; Open: ; " + kError << "new* 1/1"
        << "8x8x1 4,4:4,4=5" << "";
    QTest::newRow("Open a file that is not a sprite: its reason, nothing changes")
        << "O" << "$TMP/bad.dat;OK"
        << "Open: ; bad.dat is not a sprite file: its width 0 is outside 1 to 64. | new 1/1 | Ok | error"
        << "new 1/1" << "8x8x1 4,4:" << "";
    QTest::newRow("Open new.dat: the name new makes S ask for a path")
        << "O 5 S" << "$TMP/new.dat;cancel" << "Open: ; Save as: $TMP/new.dat" << "new* 1/1" << "2x2x1 1,1:1,1=5" << "";
    QTest::newRow("Open proposes the file opened last")
        << "O O" << "$TMP/walk.dat;cancel" << "Open: ; Open: $TMP/walk.dat" << "walk 1/3" << "4x4x3 2,2:1,1=5 c2:3,3=F" << "";
    // --- Import (I) ------------------------------------------------------------------------------
    QTest::newRow("I: a sheet in cels of the size asked, named after it, unsaved")
        << "I" << "$TMP/sheet.png;size:ok" << "Import: ; Cel size 8,8" << "sheet* 1/2"
        << "8x8x2 4,4:1,1=5 c1:1,2=F" << "";
    QTest::newRow("I asks the current document's cel size")
        << "O I" << "$TMP/walk.dat;$TMP/sheet.png;size:ok"
        << "Open: ; Import: $TMP/; Cel size 4,4" << "sheet* 1/8" << "4x4x8 2,2:1,1=5 c2:1,2=F" << "";
    QTest::newRow("I with a size typed: one 16 x 8 cel")
        << "I" << "$TMP/sheet.png;size:16,8" << "Import: ; Cel size 8,8" << "sheet* 1/1"
        << "16x8x1 8,4:1,1=5 9,2=F" << "";
    QTest::newRow("I after changes, Cancel: nothing happens")
        << "5 I" << "Cancel" << kSave << "new* 1/1" << "8x8x1 4,4:4,4=5" << "";
    QTest::newRow("I after changes, No: imported")
        << "5 I" << "No;$TMP/sheet.png;size:ok" << kSave + "; Import: ; Cel size 8,8"
        << "sheet* 1/2" << "8x8x2 4,4:1,1=5 c1:1,2=F" << "";
    QTest::newRow("I after changes, Yes saves first")
        << "5 I" << "Yes;$TMP/first.dat;$TMP/sheet.png;size:ok"
        << kSave + "; Save as: new.dat; Import: $TMP/; Cel size 8,8" << "sheet* 1/2"
        << "8x8x2 4,4:1,1=5 c1:1,2=F" << "first.dat=67";
    QTest::newRow("I, the open dialog cancelled: nothing happens")
        << "5 I" << "No;cancel" << kSave + "; Import: " << "new* 1/1" << "8x8x1 4,4:4,4=5" << "";
    QTest::newRow("I, the cel-size dialog cancelled: nothing happens")
        << "I" << "$TMP/sheet.png;size:cancel" << "Import: ; Cel size 8,8" << "new 1/1"
        << "8x8x1 4,4:" << "";
    QTest::newRow("I, a size that is not a number: the New dialog's message")
        << "I" << "$TMP/sheet.png;size:8,abc;OK"
        << "Import: ; Cel size 8,8; 'abc' is not a valid whole number. | new 1/1 | Ok | error"
        << "new 1/1" << "8x8x1 4,4:" << "";
    QTest::newRow("I, a picture that is not a whole number of cels: refused")
        << "5 I" << "No;$TMP/ship.png;size:16,16;OK"
        << kSave + "; Import: ; Cel size 8,8; ship.png is 40 × 16 pixels: not a whole number of "
                   "16 × 16 cels (8 pixels left over across). | new* 1/1 | Ok | error"
        << "new* 1/1" << "8x8x1 4,4:4,4=5" << "";
    QTest::newRow("I, a file that is not a PNG picture: refused before the size is asked")
        << "I" << "$TMP/walk.dat;OK"
        << "Import: ; walk.dat is not a PNG picture. | new 1/1 | Ok | error" << "new 1/1"
        << "8x8x1 4,4:" << "";
    QTest::newRow("I, over 100 cels and colours of no swatch: the first 100, one box says both")
        << "I" << "$TMP/big.png;size:ok;OK"
        << "Import: ; Cel size 8,8; big.png holds 110 cels; the first 100 were imported.\n\n"
           "3 pixels in 2 colours were matched to the nearest palette colour. | big* 1/100 | Ok | "
           "information"
        << "big* 1/100" << "8x8x100 4,4:1,1=8 2,1=8 3,3=1" << "";
    QTest::newRow("I, an indexed picture of a palette of its own: its indices kept when asked")
        << "I" << "$TMP/indexed.png;size:ok,indices;OK"
        << "Import: ; Cel size 8,8 indices?; indexed.png has a palette of its own, whose entries "
           "were taken as colour indices as they are, but its entry 1 looks like colour 3: save "
           "the picture as RGB to have its colours matched instead. | indexed* 1/1 | Ok | "
           "information"
        << "indexed* 1/1" << "8x8x1 4,4:1,1=1" << "";
    QTest::newRow("I, a picture the export wrote: the dialog starts at its half, Halve checked")
        << "I" << "$TMP/exported.png;size:ok;OK"
        << "Import: ; Cel size 4,2 halve; " + Halved("exported") << "exported* 1/1"
        << "4x2x1 2,1:0,0=3 3,1=F" << "";
    QTest::newRow("I, Halve unchecked: the picture as it is")
        << "I" << "$TMP/exported.png;size:8,4,nohalve"
        << "Import: ; Cel size 4,2 halve" << "exported* 1/1"
        << "8x4x1 4,2:0,0=3 1,0=3 0,1=3 1,1=3 6,2=F 7,2=F 6,3=F 7,3=F" << "";
    QTest::newRow("I, exported cels side by side: square cels of its half offered")
        << "I" << "$TMP/sheet2x.png;size:ok;OK"
        << "Import: ; Cel size 2,2 halve; " + Halved("sheet2x") << "sheet2x* 1/3"
        << "2x2x3 1,1:0,0=5" << "";
    QTest::newRow("I then S asks for a path, proposing the name in the picture's folder")
        << "I S" << "$TMP/sheet.png;size:ok;$TMP/sheet.dat"
        << "Import: ; Cel size 8,8; Save as: $TMP/sheet.dat" << "sheet 1/2" << "8x8x2 4,4:1,1=5 c1:1,2=F"
        << "sheet.dat=131";
    QTest::newRow("I again asks Save? and proposes the picture imported last")
        << "I I" << "$TMP/sheet.png;size:ok;No;cancel"
        << "Import: ; Cel size 8,8; " + kSave + "; Import: $TMP/sheet.png" << "sheet* 1/2"
        << "8x8x2 4,4:1,1=5 c1:1,2=F" << "";
    // --- Save --------------------------------------------------------------------------------------
    QTest::newRow("S on a never-saved document asks for a path")
        << "5 S" << "$TMP/a.dat" << "Save as: new.dat" << "a 1/1" << "8x8x1 4,4:4,4=5" << "a.dat=67";
    QTest::newRow("S with the dialog cancelled keeps everything")
        << "5 S" << "cancel" << "Save as: new.dat" << "new* 1/1" << "8x8x1 4,4:4,4=5" << "-a.dat";
    QTest::newRow("S on an opened file writes it without asking")
        << "O 5 S" << "$TMP/walk.dat" << "Open: " << "walk 1/3" << "4x4x3 2,2:1,1=5 2,2=5 c2:3,3=F" << "walk.dat=51";
    QTest::newRow("Ctrl+S always asks, proposing the current path")
        << "O Ctrl+S" << "$TMP/walk.dat;$TMP/run.dat" << "Open: ; Save as: $TMP/walk.dat" << "run 1/3"
        << "4x4x3 2,2:1,1=5 c2:3,3=F" << "run.dat=51";
    QTest::newRow("a save that cannot create its file shows Error and keeps the star")
        << "5 S" << "$TMP/no/x.dat;OK" << "Save as: new.dat; " + kError << "new* 1/1" << "8x8x1 4,4:4,4=5" << "";
    // --- the command line ------------------------------------------------------------------------
    QTest::newRow("a file named on the command line opens as after O")
        << "argv:$TMP/walk.dat" << "" << "" << "walk 1/3" << "4x4x3 2,2:1,1=5 c2:3,3=F" << "";
    QTest::newRow("S then writes the file named on the command line")
        << "argv:$TMP/walk.dat 5 S" << "" << "" << "walk 1/3" << "4x4x3 2,2:1,1=5 2,2=5 c2:3,3=F" << "walk.dat=51";
    QTest::newRow("a relative name becomes the whole path, which O proposes")
        << "argv:walk.dat O" << "cancel" << "Open: $TMP/walk.dat" << "walk 1/3" << "4x4x3 2,2:1,1=5 c2:3,3=F" << "";
    QTest::newRow("a missing file: its reason in the error box, then the new document")
        << "argv:$TMP/missing.dat" << "OK"
        << "Cannot open missing.dat: No such file or directory. | new 1/1 | Ok | error" << "new 1/1" << "8x8x1 4,4:" << "";
    QTest::newRow("a file that is not a sprite: its reason, then the new document")
        << "argv:$TMP/bad.dat" << "OK"
        << "bad.dat is not a sprite file: its width 0 is outside 1 to 64. | new 1/1 | Ok | error" << "new 1/1" << "8x8x1 4,4:" << "";
    // --- closing -----------------------------------------------------------------------------------
    QTest::newRow("close with changes, Yes, save dialog cancelled: stays open")
        << "5 Esc" << "Yes;cancel" << kSave + "; Save as: new.dat" << "new* 1/1" << "8x8x1 4,4:4,4=5" << "";
    QTest::newRow("close with changes, Yes with a path: saved")
        << "5 Q" << "Yes;$TMP/c.dat" << kSave + "; Save as: new.dat" << "c 1/1" << "8x8x1 4,4:4,4=5" << "c.dat=67";
    // clang-format on
}

void EditorFiles::commands() {
    QFETCH(QString, keys);
    QFETCH(QString, answers);
    QFETCH(QString, asked);
    QFETCH(QString, title);
    QFETCH(QString, document);
    QFETCH(QString, files);

    test::Editor editor;
    test::WriteBytes(editor.Path("walk.dat"), test::SpriteBytes(4, 4, 3, "1,1=5 c2:3,3=F"));
    test::WriteBytes(editor.Path("new.dat"), test::SpriteBytes(2, 2, 1, ""));
    test::WriteBytes(editor.Path("bad.dat"), QByteArray("\0\x08\x01", 3) + QByteArray(64, '\0'));
    for (const Picture& picture : kPictures) {
        test::WritePicture(editor.Path(picture.name), picture.width, picture.height,
                           picture.pixels);
    }
    // An indexed picture whose entry 1 has the colour of colour 3.
    QImage indexed(8, 8, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(0, 0, 0), qRgb(48, 0, 0)});
    indexed.fill(0);
    indexed.setPixel(1, 1, 1);
    QVERIFY(indexed.save(editor.Path("indexed.png"), "PNG"));
    editor.form->show();
    editor.prompts.script = answers.split(';', Qt::SkipEmptyParts);
    QString pressed = keys;
    if (keys.startsWith("argv:")) {
        const QString file = keys.section(' ', 0, 0).mid(5).replace("$TMP", editor.dir.path());
        const QString before = QDir::currentPath();
        QDir::setCurrent(editor.dir.path());
        editor.form->OpenFromCommandLine(QFile::encodeName(file).toStdString());
        QDir::setCurrent(before);
        pressed = keys.section(' ', 1);
    }
    test::Press(*editor.form, pressed);

    QCOMPARE(editor.prompts.asked.join("; "), asked);
    QCOMPARE(editor.form->windowTitle(), title);
    const TSpriteDocument& doc = editor.form->Document();
    const QString shape = QString("%1x%2x%3 %4,%5:")
                              .arg(doc.Width())
                              .arg(doc.Height())
                              .arg(doc.CelCount())
                              .arg(doc.CursorX())
                              .arg(doc.CursorY());
    QCOMPARE(shape + test::Pixels(doc),
             document.section(':', 0, 0) + ':' + test::Sorted(document.section(':', 1)));
    QCOMPARE(doc.CurrentCel(), 0);
    QCOMPARE(doc.Buffer()[0], static_cast<std::uint8_t>(doc.Width()));
    QCOMPARE(doc.Buffer()[1], static_cast<std::uint8_t>(doc.Height()));
    for (const QString& entry : files.split(' ', Qt::SkipEmptyParts)) {
        if (entry.startsWith('-')) {
            QVERIFY2(!QFileInfo::exists(editor.Path(entry.mid(1))), qPrintable(entry));
        } else {
            const QFileInfo file(editor.Path(entry.section('=', 0, 0)));
            QVERIFY2(file.exists(), qPrintable(entry));
            QCOMPARE(file.size(), entry.section('=', 1).toLongLong());
        }
    }
    // A written file holds the document as it was saved: header and cels.
    if (files.contains("=67") && !title.startsWith("new ")) {
        QCOMPARE(test::FileBytes(editor.Path(files.section('=', 0, 0))),
                 test::SpriteBytes(8, 8, 1, "4,4=5"));
    }
}

// Texts the New dialog kept from a refused try are refused again, each time with its box; the
// document stays until a size that converts comes. (The real dialog keeps its fields' texts: the
// prompts test.)
void EditorFiles::fieldsKeepTheirTexts() {
    test::Editor editor;
    editor.prompts.script << "new:12,abc,3"
                          << "OK"
                          << "new:keep"
                          << "OK";
    test::Press(*editor.form, "N N");
    QCOMPARE(editor.prompts.asked.value(1).section(" | ", 0, 0),
             QString("'abc' is not a valid whole number."));
    QCOMPARE(editor.prompts.asked.value(3), editor.prompts.asked.value(1));
    QCOMPARE(editor.form->windowTitle(), QString("new 1/1"));
    editor.prompts.script << "new:12,6,3";
    test::Press(*editor.form, "N");
    QCOMPARE(editor.form->windowTitle(), QString("new 1/3"));
    QCOMPARE(editor.form->Document().Height(), 6);
}

// The names take a chosen path before the file is created; after that Save As failed, S asks for
// a path again (proposing the one that failed), and after a save that worked it asks no more.
void EditorFiles::failedSaveAsAsksAgain() {
    test::Editor editor;
    editor.prompts.script << "$TMP/later/pic.dat"
                          << "OK";
    test::Press(*editor.form, "5 S");
    QCOMPARE(editor.form->windowTitle(), QString("new* 1/1"));
    QVERIFY(QDir(editor.dir.path()).mkdir("later"));
    editor.prompts.script << "$TMP/later/pic.dat";
    test::Press(*editor.form, "S 6 S");
    QCOMPARE(editor.prompts.asked.join("; "),
             "Save as: new.dat; " + kError + "; Save as: $TMP/later/pic.dat");
    QCOMPARE(editor.form->windowTitle(), QString("pic 1/1"));
    QCOMPARE(QFileInfo(editor.Path("later/pic.dat")).size(), 67);
}

// Two editors on one file: A saves, then B's S asks before it overwrites A's change. No keeps
// both (B stays modified), Yes writes B's. A's own saves, before and after, never ask; nor does
// a Save As onto another file.
void EditorFiles::saveAsksBeforeOverwritingChangesItHasNotSeen() {
    test::Editor a;
    test::Editor b;
    a.Open("walk.dat", test::SpriteBytes(4, 4, 1, ""));
    b.prompts.script << a.Path("walk.dat");
    b.form->OpenDocument();
    b.prompts.asked.clear();
    test::Press(*a.form, "5 S 6 S");
    b.prompts.script << "No";
    test::Press(*b.form, "F S");
    const QString question =
        "walk.dat has changed on disk since it was opened. Overwrite it? | Prompt | YesNo";
    QCOMPARE(b.prompts.asked.join("; "), question);
    QCOMPARE(b.form->windowTitle(), QString("walk* 1/1"));
    QCOMPARE(test::FileBytes(a.Path("walk.dat")), test::SpriteBytes(4, 4, 1, "2,2=6"));
    b.prompts.script << "Yes" << b.Path("other.dat");
    test::Press(*b.form, "S Ctrl+S");
    QCOMPARE(b.prompts.asked.join("; "),
             question + "; " + question + "; Save as: " + a.Path("walk.dat"));
    QCOMPARE(b.form->windowTitle(), QString("other 1/1"));
    QCOMPARE(test::FileBytes(a.Path("walk.dat")), test::SpriteBytes(4, 4, 1, "2,2=F"));
    QVERIFY(a.prompts.asked.isEmpty());
}

void EditorFiles::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("result");  // run:FILE, help, version, or the usage error's line
    const QString usage = "; usage: spritehex [FILE.dat] | --help | --version";
    QTest::newRow("nothing: the new document") << QStringList{} << "run:";
    QTest::newRow("one file") << QStringList{"walk.dat"} << "run:walk.dat";
    QTest::newRow("- is a file name") << QStringList{"-"} << "run:-";
    QTest::newRow("-- ends the options") << QStringList{"--", "-odd.dat"} << "run:-odd.dat";
    QTest::newRow("--help") << QStringList{"--help"} << "help";
    QTest::newRow("--help wins anywhere before --")
        << QStringList{"a.dat", "b.dat", "--help"} << "help";
    QTest::newRow("--version") << QStringList{"--version"} << "version";
    QTest::newRow("--version with more") << QStringList{"--version", "a.dat"}
                                         << "spritehex: --version takes nothing after it" + usage;
    QTest::newRow("--version after a file is an unknown option")
        << QStringList{"a.dat", "--version"} << "spritehex: unknown option '--version'" + usage;
    QTest::newRow("two files") << QStringList{"a.dat", "b.dat"}
                               << "spritehex: more than one FILE.dat" + usage;
    QTest::newRow("an unknown option")
        << QStringList{"-x", "a.dat"} << "spritehex: unknown option '-x'" + usage;
    QTest::newRow("an empty name") << QStringList{""} << "spritehex: an empty file name" + usage;
}

void EditorFiles::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(QString, result);
    std::vector<std::string> strings;
    for (const QString& arg : args) strings.push_back(arg.toStdString());
    const EditorCommandLine line = ParseEditorCommandLine(strings);
    QString got;
    switch (line.action) {
        case EditorCommandLine::Action::kRun:
            got = "run:" + QString::fromStdString(line.path);
            break;
        case EditorCommandLine::Action::kHelp:
            got = "help";
            break;
        case EditorCommandLine::Action::kVersion:
            got = "version";
            break;
        case EditorCommandLine::Action::kUsageError:
            got = QString::fromStdString(line.message);
            QVERIFY(!got.contains('\n'));
            break;
    }
    QCOMPARE(got, result);
}

QTEST_MAIN(EditorFiles)
#include "tst_editor_files.moc"
