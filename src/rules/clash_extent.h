#pragma once

#include "model/canvas_layout.h"
#include "model/canvas_mode.h"

#include <QRect>
#include <QSize>

// The largest area that a paint inside paintRect can change once resolveCellClashes has
// run on it: the whole char cells and sprite units it touches. Callers snapshot it before
// the paint for the history, the hover preview and the repaint.
QRect potentialClashExtent(
    CanvasMode mode, const QRect& paintRect, const QSize& canvasSize, const CanvasLayoutSpec& layout);
