#pragma once
// Shared by the editor tests: swatch strips of any zoom written into a temporary directory, sprite
// files, documents compared as lists of their non-zero pixels ("2,2=5 c1:0,3=F": cel 0 pixel
// (2, 2) is 5, cel 1 pixel (0, 3) is 15) or as their file image. Keys are pressed as text with
// test::Press (key_names.h).

#include <algorithm>
#include <memory>

#include <QColor>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include "editor/editor_window.h"
#include "editor/new_dialog.h"
#include "generator/window/generate_window.h"
#include "key_names.h"
#include "scripted_prompts.h"

namespace test {

// An editor window on the strips in folder, writing temp.bmp there too.
inline std::unique_ptr<TForm1> MakeEditor(const QString& folder, UserPrompts& prompts) {
    const Result<Strips> strips = LoadStrips(folder);
    if (!strips) qFatal("%s", strips.message().c_str());
    auto form = std::make_unique<TForm1>(*strips, prompts);
    form->SetTempBitmapDir(folder);
    return form;
}

// Palette strip pixel (x, y) of colour index i's swatch: different for every index and position
// inside the swatch, so a copy that is off by a pixel shows.
inline QRgb PaletteColour(int index, int x, int y) {
    return qRgb(index * 16 + 8, (x * 37 + 11) & 0xFF, (y * 53 + 7) & 0xFF);
}

inline void WritePaletteStrip(const QString& path, int zoom, int width = -1) {
    QImage strip(width < 0 ? 16 * zoom : width, zoom, QImage::Format_RGB32);
    for (int y = 0; y < strip.height(); ++y) {
        for (int x = 0; x < strip.width(); ++x) {
            strip.setPixel(x, y, PaletteColour(x / zoom, x % zoom, y));
        }
    }
    QVERIFY(strip.save(path, "BMP"));
}

// Colour i of the default colour strip (color.bmp): red 16 i.
inline QRgb StripColour(int index) {
    return qRgb(index * 16, 0, 0);
}

inline void WriteColourStrip(const QString& path, int width = 256, int height = 2) {
    QImage strip(width, height, QImage::Format_RGB32);
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) strip.setPixel(x, y, StripColour(x / 16));
    }
    QVERIFY(strip.save(path, "BMP"));
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The whole file; empty when it cannot be read.
inline QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// "c1:2,3=F" -> cel 1, x 2, y 3, colour 15.
struct PixelToken {
    int cel = 0, x = 0, y = 0, colour = 0;
};

inline PixelToken ParsePixel(QString token) {
    PixelToken p;
    if (token.startsWith('c')) {
        const qsizetype colon = token.indexOf(':');
        p.cel = token.mid(1, colon - 1).toInt();
        token = token.mid(colon + 1);
    }
    const QStringList parts = token.split(QRegularExpression("[,=]"));
    p.x = parts.value(0).toInt();
    p.y = parts.value(1).toInt();
    p.colour = parts.value(2).toInt(nullptr, 16);
    return p;
}

// A sprite file image of w x h pixels and n cels holding the listed pixels.
inline QByteArray SpriteBytes(int w, int h, int n, const QString& pixels) {
    QByteArray bytes(3 + w * h * n, '\0');
    bytes[0] = static_cast<char>(w);
    bytes[1] = static_cast<char>(h);
    bytes[2] = static_cast<char>(n);
    for (const QString& token : pixels.split(' ', Qt::SkipEmptyParts)) {
        const PixelToken p = ParsePixel(token);
        bytes[3 + p.cel * w * h + p.y * w + p.x] = static_cast<char>(p.colour);
    }
    return bytes;
}

// A PNG picture of w x h pixels in the colours of the default colour strip (colour i is red 16 i):
// colour 0 but at the listed pixels, "x,y=C" for colour C, "x,y=#810101" for a colour of no swatch.
inline void WritePicture(const QString& path, int w, int h, const QString& pixels) {
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 0));
    for (const QString& token : pixels.split(' ', Qt::SkipEmptyParts)) {
        const PixelToken p = ParsePixel(token);
        const QString colour = token.section('=', 1);
        picture.setPixel(p.x, p.y,
                         colour.startsWith('#') ? QColor(colour).rgb() : StripColour(p.colour));
    }
    QVERIFY(picture.save(path, "PNG"));
}

// The non-zero pixels of every cel, sorted, in the token form above.
inline QString Pixels(const TSpriteDocument& doc) {
    QStringList tokens;
    const int size = doc.CelSize();
    for (int c = 0; c < doc.CelCount(); ++c) {
        for (int i = 0; i < size; ++i) {
            const int v = doc.Buffer()[3 + c * size + i];
            if (v == 0) continue;
            tokens << QString("%1%2,%3=%4")
                          .arg(c == 0 ? QString() : QString("c%1:").arg(c))
                          .arg(i % doc.Width())
                          .arg(i / doc.Width())
                          .arg(QString::number(v, 16).toUpper());
        }
    }
    tokens.sort();
    return tokens.join(' ');
}

// The document's file image: header and every cel.
inline QByteArray DocumentBytes(const TSpriteDocument& doc) {
    return {reinterpret_cast<const char*>(doc.Buffer()), doc.UsedSize()};
}

inline QString Sorted(const QString& pixels) {
    QStringList tokens = pixels.split(' ', Qt::SkipEmptyParts);
    tokens.sort();
    return tokens.join(' ');
}

// An editor window on strips of the given zoom in a temporary directory, answering from a
// script. Its New dialog and Generate window are attached as in the program.
struct Editor {
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    TfrmExport frmExport;
    std::unique_ptr<TForm1> form;

    // colourStrip: the picture of color.bmp; a default strip when it is null.
    explicit Editor(int zoom = 8, const QImage& colourStrip = QImage()) {
        prompts.tmpDir = dir.path();
        WritePaletteStrip(dir.filePath("pal.bmp"), zoom);
        if (colourStrip.isNull()) {
            WriteColourStrip(dir.filePath("color.bmp"));
        } else {
            QVERIFY(colourStrip.save(dir.filePath("color.bmp"), "BMP"));
        }
        form = MakeEditor(dir.path(), prompts);
        form->SetGenerateWindow(&frmExport);
    }

    QString Path(const QString& name) const { return dir.filePath(name); }

    // Opens a sprite file written for the test: the document is named after it and unmodified.
    void Open(const QString& name, const QByteArray& bytes) {
        WriteBytes(Path(name), bytes);
        prompts.script << Path(name);
        form->OpenDocument();
        prompts.asked.clear();
    }
};

}  // namespace test
