#pragma once

#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QTransform>

// How the canvas sits in a view: zoom, free rotation, pan, and the shape of a pixel on
// the emulated display. A multicolor pixel is twice as wide as a row is high, and PAL or
// NTSC monitors stretch rows, so canvas x and y scale differently. The document holds it
// so that every view of the document agrees.
class Transform {
public:
    static constexpr double minZoom = 0.0625;
    static constexpr double maxZoom = 64.0;

    double zoom() const { return m_zoom; }
    double rotation() const { return m_rotation; }
    double pixelAspect() const { return m_pixelAspect; }
    double displayPixelAspect() const { return m_displayPixelAspect; }
    QPointF pan() const { return m_pan; }

    // The zoom one whole step in `direction` (in above 0, out otherwise) from here: the
    // next whole factor, so a factor Best Fit left between two is rounded to one. Factors
    // below 1 are only reached by Best Fit, so stepping out stops at 1.
    double steppedZoom(int direction) const;
    void setZoom(double zoom);
    void setZoomAnchored(double zoom, QPointF anchor);
    void setRotation(double degrees);
    void setRotationAnchored(double degrees, QPointF anchor);
    void setPan(QPointF pan) { m_pan = pan; }
    void translate(QPointF delta) { m_pan += delta; }
    void setPixelAspect(double aspect);
    void setDisplayPixelAspect(double aspect);
    void reset();

    // Zooms and pans so the rectangle, rotated and stretched, fits the view centred.
    void fitToView(const QRectF& canvasRect, QSize viewSize);
    void fitToView(QSize canvasSize, QSize viewSize);

    QTransform toViewTransform() const;
    QTransform toCanvasTransform() const;
    QPointF canvasToView(QPointF point) const;
    QPointF viewToCanvas(QPointF point) const;
    QPointF canvasToViewVector(QPointF vector) const;
    QPoint viewToCanvasPixel(QPointF point) const;
    QRectF canvasToViewRect(const QRectF& rect) const;

    friend bool operator==(const Transform&, const Transform&) = default;

private:
    double m_zoom = 1.0;
    double m_rotation = 0.0;
    double m_pixelAspect = 1.0;
    double m_displayPixelAspect = 1.0;
    QPointF m_pan;
};

// Rotation angles are kept in [-180, 180) so a drag never winds up whole turns.
double normalizedRotation(double degrees);
