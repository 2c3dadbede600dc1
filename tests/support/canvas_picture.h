#pragma once

#include "model/canvas_mode.h"
#include "model/colormap.h"

#include <QPoint>
#include <QRect>
#include <QStringList>

// Canvases written as pictures: one string per row, one hex digit per pixel ("0011",
// "0122"). Spaces are ignored, so wide rows can be grouped by cell ("0011 2233").

// One screen of the mode and layout, borders included, in one colour.
Colormap screenCanvas(CanvasMode mode, const CanvasLayoutSpec& layout, uchar color = 0);

// A canvas as wide as the longest row; missing pixels are 0.
Colormap canvasFromRows(const QStringList& rows);

// Draws the picture onto a canvas with its first pixel at `topLeft`.
void drawRows(Colormap& canvas, const QPoint& topLeft, const QStringList& rows);

// The rectangle (the whole canvas when null) as rows of hex digits, one line per row, for
// failure messages and for comparing against an expected picture.
QString canvasToRows(const Colormap& canvas, const QRect& rect = QRect());

// The picture as canvasToRows writes it: rows joined by newlines, spaces dropped.
QString rowsText(const QStringList& rows);
