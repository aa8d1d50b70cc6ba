#pragma once
// The BMP files the programs read at start: pal.bmp and the colour strip color.bmp. A failure is
// told in words that name the file, starting in lower case ("cannot find /x/pal.bmp: there is no
// such file"), for the editor's error box and the command line alike.

#include <string>

#include <QImage>
#include <QString>

// The picture of a BMP file, or a null picture and the problem: the file is missing, cannot be
// read, or is not a BMP picture.
QImage ReadBmpFile(const QString& path, std::string& problem);

// The colour strip, or a null picture and the problem: those of ReadBmpFile, or a strip too small
// for the sixteen colour swatches.
QImage ReadColourStrip(const QString& path, std::string& problem);
