#pragma once

#include "model/transform.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <optional>

class CanvasArea;

// The preview's drawing area: the canvas view's rendered image (shared, never copied and
// never rendered again) inside its border frame, with a zoom and pan of its own, mirrored
// and smoothed on request, or seen through the CRT filter.
class PreviewArea : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor backdropColor READ backdropColor WRITE setBackdropColor DESIGNABLE true)

public:
    explicit PreviewArea(CanvasArea* canvas, QWidget* parent = nullptr);

    void refreshImage();
    void refreshImageRegion(const QRect& rect);
    void syncViewAspects();

    bool crtEmulation() const { return m_crt; }
    void setCrtEmulation(bool on);
    void setBilinearFiltering(bool on);
    void setMirrorHorizontally(bool on);
    QColor backdropColor() const { return m_backdropColor; }
    void setBackdropColor(const QColor& color);

    // What the area draws: the filtered image with CRT on, otherwise the canvas view's.
    const QImage& displayedImage() const;
    const Transform& viewTransform() const { return m_transform; }
    // The canvas-to-widget mapping, mirror included.
    QTransform viewMapping() const;

    void zoomIn();
    void zoomOut();
    void zoomActualSize();
    void zoomBestFit();
    void stepZoom(int direction, const QPointF& anchor);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setZoomAnchored(double zoom, const QPointF& anchor);
    void updateCanvasRect(const QRect& rect);

    CanvasArea* m_canvas = nullptr;
    Transform m_transform;
    bool m_bestFit = true;
    bool m_crt = false;
    QImage m_filtered;
    bool m_bilinear = false;
    bool m_mirror = false;
    QColor m_backdropColor = QColor(48, 48, 48);
    bool m_dragging = false;
    QPointF m_lastPoint;
    QSize m_imageSize;
    std::optional<uchar> m_paintedFrameColor;
};
