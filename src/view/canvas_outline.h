#pragma once

#include <QColor>
#include <QRectF>

class QPainter;
class QTransform;

// A thin line just outside the picture, so a canvas as dark as the backdrop behind it (a
// new black one, say) still shows where it ends. Only the view draws it; exports, prints
// and the preview never see it.

// A neutral grey a clear step lighter than a dark backdrop, or darker than a light one.
QColor canvasOutlineColor(const QColor& backdrop);

// Draws the outline round `content` (canvas coordinates) on the view's pixels that touch
// it from outside; on a turned view it runs along the turned edge.
void paintCanvasOutline(
    QPainter& painter, const QTransform& canvasToView, const QRectF& content, const QColor& color);
