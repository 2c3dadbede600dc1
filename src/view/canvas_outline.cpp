#include "view/canvas_outline.h"

#include <QPainter>
#include <QPolygonF>
#include <QTransform>

#include <cmath>

namespace {

// Far enough from the backdrop to be seen at once, close enough not to read as a frame of
// the picture's own.
constexpr int outlineGreyStep = 72;

} // namespace

QColor canvasOutlineColor(const QColor& backdrop)
{
    const int grey = qGray(backdrop.rgb());
    const int outline = grey < 128 ? grey + outlineGreyStep : grey - outlineGreyStep;
    return QColor(outline, outline, outline);
}

void paintCanvasOutline(
    QPainter& painter, const QTransform& canvasToView, const QRectF& content, const QColor& color)
{
    if (content.isEmpty())
        return;
    painter.save();
    painter.resetTransform();
    QPen pen(color, 1);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    if (canvasToView.type() <= QTransform::TxScale) {
        // Upright: the picture covers the view pixels from its rounded left edge up to its
        // rounded right edge; a one-pixel rectangle one larger runs just outside them.
        const QRectF view = canvasToView.mapRect(content);
        const int left = int(std::round(view.left()));
        const int top = int(std::round(view.top()));
        const int right = int(std::round(view.right()));
        const int bottom = int(std::round(view.bottom()));
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.drawRect(QRect(left - 1, top - 1, right - left + 1, bottom - top + 1));
    } else {
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.drawPolygon(canvasToView.map(QPolygonF(content)));
    }
    painter.restore();
}
