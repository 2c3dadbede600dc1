#pragma once

#include "model/canvas_layout.h"
#include "model/canvas_mode.h"

#include <QLineF>
#include <QList>
#include <QRectF>
#include <QSize>

// The lines of the reference grid in canvas coordinates, only those that meet `visible`:
// the char cells of each bitmap region counted from its own corner, the sprite units of
// the side strips (rows starting 13 lines down, then every 21), and the unit boundaries of
// the top and bottom strips, which follow each border's alignment.
QList<QLineF> referenceGridLines(
    CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout, const QRectF& visible);

// Full-height lines where one screen of a canvas several screens wide meets the next.
QList<QLineF> referenceGridSeamLines(const QSize& canvasSize, int screensAcross);
