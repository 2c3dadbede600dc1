#pragma once

#include "model/canvas_mode.h"

#include <QByteArray>
#include <QRect>

class Colormap;
struct PrgExportColors;

// The C64 memory image of one screen of the canvas: 8000 bytes of bitmap, 1000 of screen
// RAM and 1000 of colour RAM, in that order (10000 bytes). The screen rectangle's
// top-left corner is the first cell's; a cell reaching past its right edge is encoded as
// a plain border-coloured cell. A cell over its colour limit keeps its most used colours.
QByteArray encodeBitmapPlanes(
    const Colormap& colormap, CanvasMode mode, const QRect& screenRect, const PrgExportColors& colors);
