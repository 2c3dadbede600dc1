#include "model/transform.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double minAspect = 0.0625;
constexpr double maxAspect = 16.0;

} // namespace

double normalizedRotation(double degrees)
{
    double r = std::fmod(degrees, 360.0);
    if (r < -180.0)
        r += 360.0;
    if (r >= 180.0)
        r -= 360.0;
    return r;
}

double Transform::steppedZoom(int direction) const
{
    if (direction > 0)
        return std::min(std::floor(m_zoom + 1e-9) + 1.0, maxZoom);
    return m_zoom > 1.0 ? std::ceil(m_zoom - 1e-9) - 1.0 : m_zoom;
}

void Transform::setZoom(double zoom)
{
    m_zoom = std::clamp(zoom, minZoom, maxZoom);
}

void Transform::setZoomAnchored(double zoom, QPointF anchor)
{
    const QPointF canvasPoint = viewToCanvas(anchor);
    setZoom(zoom);
    m_pan += anchor - canvasToView(canvasPoint);
}

void Transform::setRotation(double degrees)
{
    m_rotation = normalizedRotation(degrees);
}

void Transform::setRotationAnchored(double degrees, QPointF anchor)
{
    const QPointF canvasPoint = viewToCanvas(anchor);
    setRotation(degrees);
    m_pan += anchor - canvasToView(canvasPoint);
}

void Transform::setPixelAspect(double aspect)
{
    m_pixelAspect = std::clamp(aspect, minAspect, maxAspect);
}

void Transform::setDisplayPixelAspect(double aspect)
{
    m_displayPixelAspect = std::clamp(aspect, minAspect, maxAspect);
}

void Transform::reset()
{
    m_zoom = 1.0;
    m_rotation = 0.0;
    m_pan = QPointF();
}

void Transform::fitToView(const QRectF& canvasRect, QSize viewSize)
{
    if (canvasRect.isEmpty() || viewSize.isEmpty())
        return;
    QTransform shape;
    shape.rotate(m_rotation);
    shape.scale(m_pixelAspect, 1.0 / m_displayPixelAspect);
    const QRectF box = shape.mapRect(canvasRect);
    if (box.isEmpty())
        return;
    setZoom(std::min(viewSize.height() / box.height(), viewSize.width() / box.width()));
    const QPointF viewCentre(viewSize.width() / 2.0, viewSize.height() / 2.0);
    m_pan += viewCentre - canvasToView(canvasRect.center());
}

void Transform::fitToView(QSize canvasSize, QSize viewSize)
{
    fitToView(QRectF(QPointF(0, 0), QSizeF(canvasSize)), viewSize);
}

QTransform Transform::toViewTransform() const
{
    QTransform t;
    t.translate(m_pan.x(), m_pan.y());
    t.rotate(m_rotation);
    t.scale(m_zoom * m_pixelAspect, m_zoom / m_displayPixelAspect);
    return t;
}

QTransform Transform::toCanvasTransform() const
{
    return toViewTransform().inverted();
}

QPointF Transform::canvasToView(QPointF point) const
{
    return toViewTransform().map(point);
}

QPointF Transform::viewToCanvas(QPointF point) const
{
    return toCanvasTransform().map(point);
}

QPointF Transform::canvasToViewVector(QPointF vector) const
{
    const QTransform t = toViewTransform();
    return t.map(vector) - t.map(QPointF(0, 0));
}

QPoint Transform::viewToCanvasPixel(QPointF point) const
{
    const QPointF canvasPoint = viewToCanvas(point);
    return QPoint(int(std::floor(canvasPoint.x())), int(std::floor(canvasPoint.y())));
}

QRectF Transform::canvasToViewRect(const QRectF& rect) const
{
    return toViewTransform().mapRect(rect);
}
