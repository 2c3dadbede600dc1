#include "view/preview_area.h"

#include "convert/crt_filter.h"
#include "document/project.h"
#include "formats/image/canvas_border_frame.h"
#include "model/canvas_region.h"
#include "view/canvas_area.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

namespace {

// The smear and the blur each reach one pixel, so an edit changes the filtered picture two
// pixels around it; smoothing reaches one more when the scaled pixels are drawn.
constexpr int crtRefilterMargin = 2;
constexpr int crtRepaintMargin = 3;
constexpr double firstOpenZoom = 2.0;

std::optional<uchar> frameColorOf(const Project& project)
{
    const BorderFrameSource source = borderFrameSourceOf(project);
    if (!canvasShowsBorderFrame(source.mode, source.canvasSize, source.layout))
        return std::nullopt;
    return canvasFrameColorIndex(source, project.colorSlots());
}

} // namespace

PreviewArea::PreviewArea(CanvasArea* canvas, QWidget* parent)
    : QWidget(parent)
    , m_canvas(canvas)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::OpenHandCursor);
    m_imageSize = m_canvas->displayImage().size();
}

void PreviewArea::syncViewAspects()
{
    const Transform& source = m_canvas->project().transform();
    if (source.pixelAspect() == m_transform.pixelAspect()
        && source.displayPixelAspect() == m_transform.displayPixelAspect())
        return;
    m_transform.setPixelAspect(source.pixelAspect());
    m_transform.setDisplayPixelAspect(source.displayPixelAspect());
    if (m_bestFit)
        m_transform.fitToView(canvasContentRect(m_canvas->project()), size());
    update();
}

void PreviewArea::refreshImage()
{
    syncViewAspects();
    const QImage& image = m_canvas->displayImage();
    if (m_crt)
        m_filtered = CrtFilter::apply(image);
    if (image.size() != m_imageSize) {
        m_imageSize = image.size();
        updateGeometry();
        m_transform.fitToView(canvasContentRect(m_canvas->project()), size());
        m_bestFit = true;
    }
    m_paintedFrameColor = frameColorOf(m_canvas->project());
    update();
}

void PreviewArea::refreshImageRegion(const QRect& rect)
{
    // A new background or border colour recolours the frame, which lies outside every
    // canvas rectangle.
    if (frameColorOf(m_canvas->project()) != m_paintedFrameColor) {
        refreshImage();
        return;
    }
    if (!m_crt) {
        updateCanvasRect(m_bilinear ? rect.adjusted(-1, -1, 1, 1) : rect);
        return;
    }
    const QImage& image = m_canvas->displayImage();
    if (m_filtered.size() != image.size())
        m_filtered = CrtFilter::apply(image);
    else
        CrtFilter::apply(image, m_filtered,
            rect.adjusted(-crtRefilterMargin, -crtRefilterMargin, crtRefilterMargin, crtRefilterMargin));
    updateCanvasRect(rect.adjusted(-crtRepaintMargin, -crtRepaintMargin, crtRepaintMargin, crtRepaintMargin));
}

void PreviewArea::updateCanvasRect(const QRect& rect)
{
    update(viewMapping().mapRect(QRectF(rect)).toAlignedRect());
}

void PreviewArea::setCrtEmulation(bool on)
{
    if (on == m_crt)
        return;
    m_crt = on;
    m_filtered = on ? CrtFilter::apply(m_canvas->displayImage()) : QImage();
    update();
}

void PreviewArea::setBilinearFiltering(bool on)
{
    m_bilinear = on;
    update();
}

void PreviewArea::setMirrorHorizontally(bool on)
{
    m_mirror = on;
    update();
}

void PreviewArea::setBackdropColor(const QColor& color)
{
    m_backdropColor = color;
    update();
}

const QImage& PreviewArea::displayedImage() const
{
    return m_crt && !m_filtered.isNull() ? m_filtered : m_canvas->displayImage();
}

QTransform PreviewArea::viewMapping() const
{
    if (!m_mirror)
        return m_transform.toViewTransform();
    // Flipped about the content's vertical centre line, so the frame swaps sides too.
    const QRectF content = canvasContentRect(m_canvas->project());
    QTransform flip;
    flip.translate(2 * content.left() + content.width(), 0);
    flip.scale(-1, 1);
    return flip * m_transform.toViewTransform();
}

void PreviewArea::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), m_backdropColor);
    painter.setClipRect(event->rect());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, m_crt || m_bilinear);
    painter.setTransform(viewMapping());
    const Project& project = m_canvas->project();
    if (const std::optional<uchar> frame = frameColorOf(project))
        paintCanvasBorderFrame(painter, borderFrameSourceOf(project), project.palette(), *frame);
    painter.drawImage(QPointF(0, 0), displayedImage());
}

void PreviewArea::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_bestFit)
        m_transform.fitToView(canvasContentRect(m_canvas->project()), size());
}

QSize PreviewArea::sizeHint() const
{
    // The canvas in its frame at twice its size, as the C64 shapes its pixels: big enough
    // to judge the picture by, small enough to sit beside the editor.
    const Transform& source = m_canvas->project().transform();
    Transform view;
    view.setPixelAspect(source.pixelAspect());
    view.setDisplayPixelAspect(source.displayPixelAspect());
    view.setZoom(firstOpenZoom);
    return view.canvasToViewRect(canvasContentRect(m_canvas->project())).size().toSize();
}

void PreviewArea::setZoomAnchored(double zoom, const QPointF& anchor)
{
    m_bestFit = false;
    if (zoom == m_transform.zoom())
        return;
    m_transform.setZoomAnchored(zoom, anchor);
    update();
}

// Whole zoom steps keep every C64 pixel the same number of screen pixels wide.
void PreviewArea::stepZoom(int direction, const QPointF& anchor)
{
    if (const double zoom = m_transform.steppedZoom(direction); zoom != m_transform.zoom())
        setZoomAnchored(zoom, anchor);
}

void PreviewArea::zoomIn()
{
    stepZoom(1, QPointF(width() / 2.0, height() / 2.0));
}

void PreviewArea::zoomOut()
{
    stepZoom(-1, QPointF(width() / 2.0, height() / 2.0));
}

void PreviewArea::zoomActualSize()
{
    setZoomAnchored(1.0, QPointF(width() / 2.0, height() / 2.0));
}

void PreviewArea::zoomBestFit()
{
    m_transform.fitToView(canvasContentRect(m_canvas->project()), size());
    m_bestFit = true;
    update();
}

void PreviewArea::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    event->accept();
    const bool zoomOutStep = (delta > 0) == m_canvas->invertZoomWheel();
    stepZoom(zoomOutStep ? -1 : 1, event->position());
}

void PreviewArea::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton && event->button() != Qt::MiddleButton)
        return;
    m_dragging = true;
    m_lastPoint = event->position();
    setCursor(Qt::ClosedHandCursor);
}

void PreviewArea::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging)
        return;
    m_transform.translate(event->position() - m_lastPoint);
    m_lastPoint = event->position();
    m_bestFit = false;
    update();
}

void PreviewArea::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton && event->button() != Qt::MiddleButton)
        return;
    m_dragging = false;
    setCursor(Qt::OpenHandCursor);
}
