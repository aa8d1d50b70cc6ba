#pragma once
// The two swatch strips the editor reads at start from the program's folder: pal.bmp, whose
// swatches paint the enlarged cel (its height is the zoom), and the colour strip color.bmp, from
// which the PNG export assembles its picture.

#include <QImage>
#include <QString>

#include "base/result.h"
#include "image/rgb_image.h"

inline constexpr int kMaxZoom = 64;

struct Strips {
    QImage palette;  // 16 swatches of zoom x zoom pixels, as the view copies them
    RgbImage colourStrip;
    int Zoom() const { return palette.height(); }
};

// Both strips from folder, or the first problem, naming the file: "Cannot open /x/pal.bmp: No such
// file or directory.", "Cannot use /x/pal.bmp: its height of 65 pixels is the zoom, which must be
// from 1 to 64." ...
Result<Strips> LoadStrips(const QString& folder);

// The 16 swatches of a palette strip at another zoom (image/swatch_zoom.h); the strip itself at
// its own zoom.
QImage PaletteAtZoom(const QImage& palette, int zoom);
