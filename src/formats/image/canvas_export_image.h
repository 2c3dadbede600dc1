#pragma once

#include <QByteArray>
#include <QImage>

#include "formats/image/canvas_border_frame.h"

class Colormap;
class Palette;
class Project;
class QString;

// The canvas as an ordinary image the way the C64 shows it: rendered through the
// palette, inside its border frame when asked and the canvas has one, and with each
// stored pixel as many pixels wide as it is on screen (multicolor: two).
QImage canvasExportImage(const Project& project, const Palette& palette, bool includeBorders);
// The same for any state of the canvas (a workstage), in the frame colour given.
QImage canvasExportImage(const BorderFrameSource& source, const Palette& palette, uchar frameColorIndex,
    const Colormap& colormap, bool includeBorders);

// Writes an image in a format the toolkit writes ("png", "bmp", ...), replacing `path`
// only once the whole image is written.
bool writeImageFile(const QImage& image, const QString& path, const QByteArray& format, QString* error);
