#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QWidget>

#include <memory>

class Project;

// The widget that shows the canvas and that the user paints on. Pixels are shown at
// their emulated display shape (a multicolor pixel twice as wide as a row is high, PAL
// and NTSC stretching rows) and the view may be turned to any angle; zoom steps are
// whole factors and arrow-key pans move exactly one char cell, so the pixel grid stays
// exact whatever the user does with the view.
class CanvasArea : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor backdropColor READ backdropColor WRITE setBackdropColor DESIGNABLE true)

public:
    explicit CanvasArea(std::shared_ptr<Project> project, QWidget* parent = nullptr);
    ~CanvasArea() override;

    Project& project() const { return *m_project; }
    // A new or opened document replaces the old one whole.
    void setProject(std::shared_ptr<Project> project);
    void reloadProject();

    void zoomIn();
    void zoomOut();
    void zoomActualSize();
    void zoomBestFit();
    void stepZoom(int direction, QPointF anchor);
    void resetRotation();
    void resetRotationAndBestFit();
    void rotateDragTo(QPointF position, bool snap);
    void setDisplayPixelAspect(double aspect);
    bool panByArrowKey(int key);
    QPointF boundAnchorToCanvas(QPointF viewPoint) const;
    void startPan(QPointF position);

    bool bestFitActive() const { return m_bestFitActive; }
    bool bindZoomToCanvas() const { return m_bindZoomToCanvas; }
    void setBindZoomToCanvas(bool on) { m_bindZoomToCanvas = on; }
    bool invertZoomWheel() const { return m_invertZoomWheel; }
    void setInvertZoomWheel(bool on) { m_invertZoomWheel = on; }
    bool bilinearFiltering() const { return m_bilinearFiltering; }
    void setBilinearFiltering(bool on);
    QColor backdropColor() const { return m_backdropColor; }
    void setBackdropColor(const QColor& color);

    bool isPanning() const { return m_panning; }
    bool isRotating() const { return m_rotating; }
    QPoint hoverPixel() const { return m_hoverPixel; }
    bool hoverValid() const { return m_hoverValid; }
    bool tabletDown() const { return m_tabletDown; }
    double tabletPressure() const { return m_tabletPressure; }

    // Display coordinates: canvas x times the whole pixel width, canvas y divided by the
    // display pixel aspect. Brushes, symmetry and shapes are measured there.
    int pixelWidth() const;
    QPointF canvasToDisplayPoint(QPointF canvasPoint) const;
    QPointF displayToCanvasPoint(QPointF displayPoint) const;
    QPointF viewToDisplayPoint(QPointF viewPoint) const;
    QPointF displayToViewPoint(QPointF displayPoint) const;

    QRectF contentRect() const;
    QRect padViewRectForFiltering(const QRect& viewRect) const;
    QSize sizeHint() const override;

    // Re-renders a part of the canvas (all of it for a null rectangle) after an edit.
    void refreshCanvasImage(const QRect& canvasRect = QRect());
    const QImage& displayImage() const { return m_displayImage; }

Q_SIGNALS:
    // Zoom, rotation, the pixel under the pointer or the document changed.
    void statusChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void tabletEvent(QTabletEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPointF viewportCentre() const;
    void applyZoomStep(double zoom, QPointF anchor);
    void viewChanged();
    void updateHover(QPointF position);
    void restoreIdleCursor();

    std::shared_ptr<Project> m_project;
    QImage m_displayImage;

    bool m_bestFitActive = true;
    bool m_bindZoomToCanvas = false;
    bool m_invertZoomWheel = false;
    bool m_bilinearFiltering = false;
    QColor m_backdropColor = QColor(0x30, 0x30, 0x30);

    bool m_panning = false;
    QPointF m_lastPanPosition;
    bool m_spaceHeld = false;
    bool m_rotateKeyHeld = false;
    bool m_rotating = false;
    double m_rotationAtDragStart = 0.0;
    QPointF m_dragStartVector;

    QPoint m_hoverPixel;
    bool m_hoverValid = false;
    bool m_tabletDown = false;
    double m_tabletPressure = 0.0;
};
