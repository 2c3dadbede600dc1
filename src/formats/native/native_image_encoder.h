#pragma once

#include "model/canvas_layout.h"
#include "model/canvas_mode.h"

#include <QByteArray>
#include <QSize>

class Colormap;
struct PrgExportColors;

// One screen of the canvas, numbered from the left, as an Art Studio file (hires) or a
// Koala Painter file (multicolor). Empty when the canvas has no such screen or is not
// one screen high.
QByteArray encodeNativeImage(
    const Colormap& colormap, CanvasMode mode, const PrgExportColors& colors, int screenIndex);

// Whether the canvas is a row of whole bitmap screens, the only shape the picture
// formats can hold.
bool nativeImageExportSupported(
    CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout, int screensAcross);
