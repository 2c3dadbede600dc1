#include "view/tools/draw_tool.h"

#include "document/project.h"
#include "view/tools/canvas_tool_host.h"

#include <QMouseEvent>
#include <QPainter>

DrawTool::DrawTool(CanvasToolHost& host)
    : CanvasTool(host)
{
}

void DrawTool::activate()
{
    host().restoreIdleCursor();
    host().refreshHoverPreview();
}

uchar DrawTool::strokeColorFor(bool secondary) const
{
    return secondary ? host().secondaryIndex() : host().penIndex();
}

uchar DrawTool::strokeAltColorFor(bool secondary) const
{
    return secondary ? host().penIndex() : host().secondaryIndex();
}

void DrawTool::reset()
{
    m_stroking = false;
    m_sampling = false;
    m_connecting = false;
    m_pixelPerfectActive = false;
    m_sampleButton = Qt::NoButton;
    m_strokeButton = Qt::NoButton;
    clearHoverPreview();
}

Brush DrawTool::effectiveBrush() const
{
    const Brush brush = host().brush();
    if (m_stroking && m_tabletStroke && host().pressureWidening())
        return brush.pressureWidened(host().tabletPressure());
    return brush;
}

bool DrawTool::mousePress(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    if ((button != Qt::LeftButton && button != Qt::RightButton) || m_stroking || m_sampling)
        return false;
    const QPoint pixel = host().viewToCanvasPixel(event->position());
    const bool secondary = button == Qt::RightButton;
    if (host().altSampleHeld()) {
        m_sampling = true;
        m_sampleButton = button;
        host().samplePenColor(pixel, secondary);
        return true;
    }
    // One recorded edit at a time: a second button during another tool's stroke is not
    // a second stroke.
    if (host().recordedEditOpen())
        return false;

    m_stroking = true;
    m_strokeButton = button;
    m_tabletStroke = host().tabletDown();
    m_strokeColor = strokeColorFor(secondary);
    m_altColor = strokeAltColorFor(secondary);
    host().beginColormapStroke();

    const std::optional<QPoint> anchor = host().connectAnchor();
    if (host().shiftHeld() && !host().canvasAlignHeld() && anchor) {
        m_connecting = true;
        m_lastPoint = *anchor;
        m_pixelPerfectActive = false;
    } else {
        m_lastPoint = pixel;
        const Brush brush = effectiveBrush();
        // Pressure changes the width from one event to the next, which a chain of single
        // pixels cannot follow.
        m_pixelPerfectActive
            = brush.width() == 1 && brush.pixelPerfect() && !(m_tabletStroke && host().pressureWidening());
        if (m_pixelPerfectActive)
            m_chain.begin(pixel);
    }
    host().refreshHoverPreview();
    return true;
}

bool DrawTool::mouseMove(QMouseEvent* event)
{
    const QPoint pixel = host().viewToCanvasPixel(event->position());
    if (m_sampling) {
        if (event->buttons() & m_sampleButton)
            host().samplePenColor(pixel, m_sampleButton == Qt::RightButton);
        else
            abandonGesture();
        return true;
    }
    if (!m_stroking)
        return false;
    if (!(event->buttons() & m_strokeButton)) {
        // The release went elsewhere (a grab, a dialog).
        abandonGesture();
        return true;
    }
    if (m_connecting)
        return true;
    if (m_pixelPerfectActive) {
        commitChainPixels(m_chain.moveTo(pixel));
    } else if (pixel != m_lastPoint || m_tabletStroke) {
        // Only a stylus can change the stroke within one pixel: its pressure widens the nib.
        drawLineTo(pixel);
    }
    m_lastPoint = pixel;
    return true;
}

bool DrawTool::mouseRelease(QMouseEvent* event)
{
    const QPoint pixel = host().viewToCanvasPixel(event->position());
    if (m_sampling && event->button() == m_sampleButton) {
        m_sampling = false;
        m_sampleButton = Qt::NoButton;
        host().restoreIdleCursor();
        return true;
    }
    if (!m_stroking || event->button() != m_strokeButton)
        return false;
    finishStroke(pixel);
    return true;
}

void DrawTool::finishStroke(QPoint pixel)
{
    if (m_connecting) {
        drawLineTo(pixel);
        m_connecting = false;
    } else if (m_pixelPerfectActive) {
        commitChainPixels(m_chain.moveTo(pixel));
        m_lastPoint = pixel;
        commitChainPixels(m_chain.finish());
        m_pixelPerfectActive = false;
    } else if (pixel != m_lastPoint || host().strokeDirtyRect().isNull()) {
        // A click paints its one dab here; a drag has painted its end already.
        drawLineTo(pixel);
    }
    m_lastPoint = pixel;
    m_stroking = false;
    m_strokeButton = Qt::NoButton;
    host().endColormapStroke(HistoryEntryKind::Stroke, m_lastPoint);
    host().restoreIdleCursor();
}

void DrawTool::abandonGesture()
{
    if (m_sampling) {
        m_sampling = false;
        m_sampleButton = Qt::NoButton;
        host().restoreIdleCursor();
    }
    // Where the button really came up is unknown: the stroke ends where it was last
    // painted, and a Shift line where its rubber band was last shown.
    if (m_stroking)
        finishStroke(m_connecting ? host().hoverPixel() : m_lastPoint);
}

void DrawTool::drawLineTo(QPoint to)
{
    paintSegment(m_lastPoint, to);
    m_lastPoint = to;
}

void DrawTool::commitChainPixels(const QList<QPoint>& pixels)
{
    for (const QPoint& pixel : pixels)
        paintSegment(pixel, pixel);
}

void DrawTool::paintSegment(QPoint from, QPoint to)
{
    const QRect changed = host().applySymmetricStrokeSegment(
        host().project().colormap(), effectiveBrush(), from, to, m_strokeColor, m_altColor, true);
    if (changed.isEmpty())
        return;
    host().refreshDisplayRegion(changed);
    host().growStrokeDirtyRect(changed);
}

std::optional<DrawTool::PreviewSegment> DrawTool::previewSegment() const
{
    const QPoint hover = host().hoverPixel();
    if (m_stroking) {
        if (m_connecting)
            return PreviewSegment {m_lastPoint, hover, m_strokeColor, m_altColor};
        if (m_pixelPerfectActive) {
            if (const std::optional<QPoint> pending = m_chain.pending())
                return PreviewSegment {*pending, *pending, m_strokeColor, m_altColor};
        }
        return std::nullopt;
    }
    const bool secondary = host().peekSecondaryHeld();
    PreviewSegment segment {hover, hover, strokeColorFor(secondary), strokeAltColorFor(secondary)};
    if (host().shiftHeld() && !host().canvasAlignHeld()) {
        if (const std::optional<QPoint> anchor = host().connectAnchor())
            segment.from = *anchor;
    }
    return segment;
}

QRect DrawTool::updateHoverPreview()
{
    clearHoverPreview();
    const std::optional<PreviewSegment> segment = previewSegment();
    if (!segment)
        return {};
    const Brush brush = effectiveBrush();
    Colormap& simulated = host().simulationColormap(brush, segment->from, segment->to);
    const QRect changed = host().applySymmetricStrokeSegment(
        simulated, brush, segment->from, segment->to, segment->colour, segment->altColour, false);
    if (!changed.isEmpty()) {
        m_previewImage = host().renderSimulatedDiff(simulated, changed);
        m_previewOrigin = changed.topLeft();
    }
    return host().previewViewRect(brush, segment->from, segment->to);
}

void DrawTool::clearHoverPreview()
{
    m_previewImage = QImage();
}

void DrawTool::paintArtworkPreview(QPainter& painter)
{
    if (!m_previewImage.isNull())
        painter.drawImage(m_previewOrigin, m_previewImage);
}
