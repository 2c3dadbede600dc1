#pragma once

#include <QRect>

class QImage;
class QPrinter;

// Where an image lands on a page: as large as the page area holds with its aspect kept,
// in the area's top-left corner.
QRect printedImageRect(const QRect& pageArea, const QSize& imageSize);

// Prints the image on one page of an accepted printer; false when the printer cannot
// start (no output device, an unwritable file).
bool printImage(QPrinter& printer, const QImage& image);
