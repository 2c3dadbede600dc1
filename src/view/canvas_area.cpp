#include "view/canvas_area.h"

#include "document/project.h"
#include "formats/image/canvas_border_frame.h"
#include "view/canvas_outline.h"
#include "view/tool_cursors.h"
#include "view/tools/draw_tool.h"
#include "view/tools/eraser_tool.h"
#include "view/tools/eyedropper_tool.h"
#include "view/tools/fill_tool.h"
#include "view/tools/pan_tool.h"
#include "view/tools/select_tool.h"
#include "view/tools/shape_tool.h"
#include "view/tools/symmetry_tool.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTabletEvent>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr double rotationSnapDegrees = 22.5;

} // namespace

CanvasArea::CanvasArea(std::shared_ptr<Project> project, QWidget* parent)
    : QWidget(parent)
    , m_project(std::move(project))
    , m_drawTool(std::make_unique<DrawTool>(*this))
    , m_eraserTool(std::make_unique<EraserTool>(*this))
    , m_eyedropperTool(std::make_unique<EyedropperTool>(*this))
    , m_panTool(std::make_unique<PanTool>(*this))
    , m_fillTool(std::make_unique<FillTool>(*this))
    , m_shapeTool(std::make_unique<ShapeTool>(*this))
    , m_selectTool(std::make_unique<SelectTool>(*this))
    , m_symmetryTool(std::make_unique<SymmetryTool>(*this))
    , m_activeTool(m_drawTool.get())
    , m_symmetryAxes(SymmetryAxes::centered(m_project->size()))
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TabletTracking);
    refreshCanvasImage();
    restoreIdleCursor();
}

CanvasArea::~CanvasArea() = default;

void CanvasArea::setProject(std::shared_ptr<Project> project)
{
    m_project = std::move(project);
    reloadProject();
}

void CanvasArea::reloadProject()
{
    m_panning = false;
    m_rotating = false;
    // A stroke cannot reach into another document: whatever was in progress is dropped
    // unrecorded, and the next Shift line has nothing to start from.
    m_drawTool->reset();
    m_eraserTool->reset();
    m_shapeTool->reset();
    m_selectTool->reset();
    m_recording = EditRecording();
    m_pendingAnchor.reset();
    m_simulation = Colormap();
    // A tracing image belongs to the picture it was laid over.
    m_referenceImage = QImage();
    m_symmetryAxes = SymmetryAxes::centered(m_project->size());
    m_spriteFlags.clear();
    refreshCanvasImage();
    zoomBestFit();
    restoreIdleCursor();
    refreshHoverPreview();
    Q_EMIT historyChanged();
}

void CanvasArea::refreshCanvasImage(const QRect& canvasRect)
{
    const Colormap& canvas = m_project->colormap();
    if (canvasRect.isNull() || m_displayImage.size() != canvas.size()) {
        m_displayImage = canvas.toImage(m_project->palette());
        update();
        Q_EMIT imageChanged();
        return;
    }
    canvas.paintToImage(m_project->palette(), canvasRect, m_displayImage);
    // The frame lies outside every canvas rectangle, so an edit that recoloured it (a new
    // background or border colour, or the undo of one) repaints the whole view.
    if (frameColorIndex() != m_paintedFrameColor)
        update();
    else
        update(canvasToViewUpdateRect(canvasRect));
    Q_EMIT imageRegionChanged(canvasRect);
}

std::optional<uchar> CanvasArea::frameColorIndex() const
{
    const BorderFrameSource source = borderFrameSourceOf(*m_project);
    if (!canvasShowsBorderFrame(source.mode, source.canvasSize, source.layout))
        return std::nullopt;
    return canvasFrameColorIndex(source, m_project->colorSlots());
}

void CanvasArea::refreshDisplayRegion(const QRect& canvasRect)
{
    const QRect clip = canvasRect & m_project->rect();
    if (!clip.isEmpty())
        refreshCanvasImage(clip);
}

QRect CanvasArea::canvasToViewUpdateRect(const QRect& canvasRect) const
{
    if (canvasRect.isEmpty())
        return {};
    const QRect viewRect = m_project->transform().canvasToViewRect(QRectF(canvasRect)).toAlignedRect();
    return padViewRectForFiltering(viewRect.adjusted(-1, -1, 1, 1));
}

QPoint CanvasArea::viewToCanvasPixel(QPointF viewPoint) const
{
    return m_project->transform().viewToCanvasPixel(viewPoint);
}

QPointF CanvasArea::viewportCentre() const
{
    return QPointF(width() / 2.0, height() / 2.0);
}

void CanvasArea::viewChanged()
{
    if (m_hoverValid)
        updateHover(mapFromGlobal(QCursor::pos()));
    update();
    refreshHoverPreview();
    Q_EMIT statusChanged();
}

void CanvasArea::applyZoomStep(double zoom, QPointF anchor)
{
    Transform& transform = m_project->transform();
    zoom = std::clamp(zoom, Transform::minZoom, Transform::maxZoom);
    if (zoom == transform.zoom())
        return;
    if (m_bindZoomToCanvas)
        anchor = boundAnchorToCanvas(anchor);
    transform.setZoomAnchored(zoom, anchor);
    m_bestFitActive = false;
    viewChanged();
}

void CanvasArea::zoomIn()
{
    stepZoom(1, viewportCentre());
}

void CanvasArea::zoomOut()
{
    stepZoom(-1, viewportCentre());
}

void CanvasArea::stepZoom(int direction, QPointF anchor)
{
    applyZoomStep(m_project->transform().steppedZoom(direction), anchor);
}

void CanvasArea::zoomActualSize()
{
    m_project->transform().setZoomAnchored(1.0, viewportCentre());
    m_bestFitActive = false;
    viewChanged();
}

void CanvasArea::zoomBestFit()
{
    const QRectF content = contentRect();
    if (content.isEmpty() || size().isEmpty())
        return;
    m_project->transform().fitToView(content, size());
    m_bestFitActive = true;
    viewChanged();
}

// Turning the canvas under a stroke would bend the stroke; the reset waits for the release.
void CanvasArea::resetRotation()
{
    if (strokeInProgress())
        return;
    m_project->transform().setRotationAnchored(0.0, viewportCentre());
    if (m_bestFitActive)
        zoomBestFit();
    viewChanged();
}

void CanvasArea::resetRotationAndBestFit()
{
    if (strokeInProgress())
        return;
    m_project->transform().setRotationAnchored(0.0, viewportCentre());
    zoomBestFit();
}

void CanvasArea::rotateDragTo(QPointF position, bool snap)
{
    const QPointF d = position - viewportCentre();
    if (std::abs(d.x()) + std::abs(d.y()) < 1.0)
        return;
    const QPointF s = m_dragStartVector;
    const double turned
        = std::atan2(s.x() * d.y() - s.y() * d.x(), s.x() * d.x() + s.y() * d.y()) * 180.0 / M_PI;
    double angle = m_rotationAtDragStart + turned;
    if (snap)
        angle = std::round(angle / rotationSnapDegrees) * rotationSnapDegrees;
    m_project->transform().setRotationAnchored(angle, viewportCentre());
    m_bestFitActive = false;
    viewChanged();
}

void CanvasArea::setDisplayPixelAspect(double aspect)
{
    m_project->transform().setDisplayPixelAspect(aspect);
    if (m_bestFitActive)
        zoomBestFit();
    else
        viewChanged();
}

bool CanvasArea::panByArrowKey(int key)
{
    const QSize cell = canvasModeCellSize(m_project->mode());
    QPointF step;
    switch (key) {
    case Qt::Key_Left:
        step = QPointF(-cell.width(), 0);
        break;
    case Qt::Key_Right:
        step = QPointF(cell.width(), 0);
        break;
    case Qt::Key_Up:
        step = QPointF(0, -cell.height());
        break;
    case Qt::Key_Down:
        step = QPointF(0, cell.height());
        break;
    default:
        return false;
    }
    // Along the canvas's own axes, so on a turned view the char grid lands on itself.
    m_project->transform().translate(m_project->transform().canvasToViewVector(step));
    m_bestFitActive = false;
    viewChanged();
    return true;
}

QPointF CanvasArea::boundAnchorToCanvas(QPointF viewPoint) const
{
    const Transform& transform = m_project->transform();
    const QPointF canvasPoint = transform.viewToCanvas(viewPoint);
    const QSize size = m_project->size();
    return transform.canvasToView(QPointF(std::clamp(canvasPoint.x(), 0.0, double(size.width())),
        std::clamp(canvasPoint.y(), 0.0, double(size.height()))));
}

void CanvasArea::startPan(QPointF position, Qt::MouseButton button)
{
    if (gestureOpen())
        return;
    m_panning = true;
    m_panButton = button;
    m_lastPanPosition = position;
    setCursor(ToolCursors::panDragging());
}

void CanvasArea::setBilinearFiltering(bool on)
{
    m_bilinearFiltering = on;
    update();
}

void CanvasArea::setBackdropColor(const QColor& color)
{
    m_backdropColor = color;
    update();
}

int CanvasArea::pixelWidth() const
{
    return std::max(1, int(std::lround(m_project->transform().pixelAspect())));
}

QPointF CanvasArea::canvasToDisplayPoint(QPointF canvasPoint) const
{
    return QPointF(
        canvasPoint.x() * pixelWidth(), canvasPoint.y() / m_project->transform().displayPixelAspect());
}

QPointF CanvasArea::displayToCanvasPoint(QPointF displayPoint) const
{
    return QPointF(
        displayPoint.x() / pixelWidth(), displayPoint.y() * m_project->transform().displayPixelAspect());
}

QPointF CanvasArea::viewToDisplayPoint(QPointF viewPoint) const
{
    return canvasToDisplayPoint(m_project->transform().viewToCanvas(viewPoint));
}

QPointF CanvasArea::displayToViewPoint(QPointF displayPoint) const
{
    return m_project->transform().canvasToView(displayToCanvasPoint(displayPoint));
}

QRectF CanvasArea::contentRect() const
{
    return canvasContentRect(*m_project);
}

QRect CanvasArea::padViewRectForFiltering(const QRect& viewRect) const
{
    if (!m_bilinearFiltering)
        return viewRect;
    const QRectF unit = m_project->transform().canvasToViewRect(QRectF(0, 0, 1, 1));
    const int dx = int(std::ceil(unit.width()));
    const int dy = int(std::ceil(unit.height()));
    return viewRect.adjusted(-dx, -dy, dx, dy);
}

QSize CanvasArea::sizeHint() const
{
    const auto doubled = [](int value) { return value > INT_MAX / 2 ? INT_MAX : value * 2; };
    return QSize(doubled(m_project->size().width()), doubled(m_project->size().height()));
}

void CanvasArea::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), m_backdropColor);
    painter.setClipRect(event->rect());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, m_bilinearFiltering);
    painter.setTransform(m_project->transform().toViewTransform());

    const Project& project = *m_project;
    m_paintedFrameColor = frameColorIndex();
    if (m_paintedFrameColor)
        paintCanvasBorderFrame(
            painter, borderFrameSourceOf(project), project.palette(), *m_paintedFrameColor);
    painter.drawImage(QPointF(0, 0), m_displayImage);
    paintCanvasOutline(
        painter, painter.transform(), canvasContentRect(project), canvasOutlineColor(m_backdropColor));

    // A preview shows exact pixels, so it is never smoothed even when the canvas is.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    m_activeTool->paintArtworkPreview(painter);
    if (DrawTool* busy = busyDrawTool(); busy && busy != m_activeTool)
        busy->paintArtworkPreview(painter);
    paintReferenceLayer(painter);
    drawPixelGridOverlay(painter);
    drawGridOverlay(painter);
    drawSymmetryAxesOverlay(painter);
    drawSafeFramesOverlay(painter);
    drawSpriteFlagOverlay(painter);
    m_activeTool->paintOverlay(painter);
    painter.resetTransform();
    m_selectTool->paintAnts(painter);
}

void CanvasArea::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_bestFitActive)
        zoomBestFit();
}

void CanvasArea::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    event->accept();
    const bool zoomOutStep = (delta > 0) == m_invertZoomWheel;
    stepZoom(zoomOutStep ? -1 : 1, event->position());
}

void CanvasArea::mousePressEvent(QMouseEvent* event)
{
    // One gesture at a time: a second button pressed during a stroke, a sampling drag, a
    // pan or a rotation would open a gesture that steals the first one's release.
    if (gestureOpen()) {
        event->accept();
        return;
    }
    const QPointF position = event->position();
    if (event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && m_spaceHeld)) {
        startPan(position, event->button());
        refreshHoverPreview();
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton && m_rotateKeyHeld) {
        m_rotating = true;
        m_rotationAtDragStart = m_project->transform().rotation();
        m_dragStartVector = position - viewportCentre();
        if (std::abs(m_dragStartVector.x()) + std::abs(m_dragStartVector.y()) < 1.0)
            m_dragStartVector = QPointF(1, 0);
        restoreIdleCursor();
        refreshHoverPreview();
        event->accept();
        return;
    }
    syncModifiers(event->modifiers());
    updateHover(position);
    bool taken = m_activeTool->mousePress(event);
    if (!taken && m_activeTool != m_drawTool.get())
        taken = m_drawTool->mousePress(event);
    if (!taken)
        QWidget::mousePressEvent(event);
}

void CanvasArea::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF position = event->position();
    updateHover(position);
    if (m_panning) {
        if (event->buttons() & m_panButton) {
            m_project->transform().translate(position - m_lastPanPosition);
            m_lastPanPosition = position;
            m_bestFitActive = false;
            viewChanged();
        } else {
            endViewDrag();
        }
    } else if (m_rotating) {
        if (event->buttons() & Qt::LeftButton)
            rotateDragTo(position, event->modifiers() & Qt::ShiftModifier);
        else
            endViewDrag();
    } else {
        // The tool holding a stroke hears its moves even after another tool was chosen.
        DrawTool* busy = busyDrawTool();
        bool taken = busy && busy != m_activeTool && busy->mouseMove(event);
        taken = taken || m_activeTool->mouseMove(event);
        if (!taken && m_activeTool != m_drawTool.get())
            m_drawTool->mouseMove(event);
    }
    syncModifiers(event->modifiers());
    refreshHoverPreview();
    Q_EMIT statusChanged();
}

void CanvasArea::mouseReleaseEvent(QMouseEvent* event)
{
    // View drags are exclusive of tool gestures, so while one runs no tool waits for a
    // release; only the drag's own button ends it.
    if (m_panning || m_rotating) {
        const Qt::MouseButton dragButton = m_panning ? m_panButton : Qt::LeftButton;
        if (event->button() == dragButton)
            endViewDrag();
        event->accept();
        return;
    }
    updateHover(event->position());
    DrawTool* busy = busyDrawTool();
    bool taken = busy && busy != m_activeTool && busy->mouseRelease(event);
    taken = taken || m_activeTool->mouseRelease(event);
    if (!taken && m_activeTool != m_drawTool.get())
        taken = m_drawTool->mouseRelease(event);
    refreshHoverPreview();
    if (!taken)
        QWidget::mouseReleaseEvent(event);
}

bool CanvasArea::gestureOpen() const
{
    return m_panning || m_rotating || busyDrawTool() || m_activeTool->gestureOpen();
}

void CanvasArea::endViewDrag()
{
    m_panning = false;
    m_panButton = Qt::NoButton;
    m_rotating = false;
    restoreIdleCursor();
    refreshHoverPreview();
}

void CanvasArea::endInterruptedGestures()
{
    m_panning = false;
    m_panButton = Qt::NoButton;
    m_rotating = false;
    // Keys released while another window had the focus never send their release here.
    m_spaceHeld = false;
    m_rotateKeyHeld = false;
    m_peekSecondaryHeld = false;
    m_altHeld = false;
    m_shiftHeld = false;
    m_brushAlignment = BrushAlignment::Screen;
    m_drawTool->abandonGesture();
    m_eraserTool->abandonGesture();
    m_activeTool->abandonGesture();
    restoreIdleCursor();
    refreshHoverPreview();
}

void CanvasArea::focusOutEvent(QFocusEvent* event)
{
    endInterruptedGestures();
    QWidget::focusOutEvent(event);
}

void CanvasArea::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        endInterruptedGestures();
    QWidget::changeEvent(event);
}

void CanvasArea::keyPressEvent(QKeyEvent* event)
{
    if (m_activeTool->keyPress(event))
        return;
    if (!event->isAutoRepeat()) {
        if (event->key() == Qt::Key_Space) {
            m_spaceHeld = true;
            restoreIdleCursor();
            refreshHoverPreview();
            return;
        }
        // Shift only snaps the angle, so it may be down before R; Ctrl+R is Reset Rotation.
        const Qt::KeyboardModifiers others = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
        if (event->key() == Qt::Key_R && others == Qt::NoModifier) {
            m_rotateKeyHeld = true;
            restoreIdleCursor();
            refreshHoverPreview();
            return;
        }
        if (handleModifierKey(event->key(), true))
            return;
        if (event->key() == Qt::Key_Z && event->modifiers() == Qt::NoModifier) {
            setLightGrids(!m_lightGrids);
            return;
        }
    }
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (panByArrowKey(event->key()))
            return;
    }
    QWidget::keyPressEvent(event);
}

void CanvasArea::keyReleaseEvent(QKeyEvent* event)
{
    if (m_activeTool->keyRelease(event))
        return;
    if (!event->isAutoRepeat()) {
        if (event->key() == Qt::Key_Space) {
            m_spaceHeld = false;
            restoreIdleCursor();
            refreshHoverPreview();
            return;
        }
        if (event->key() == Qt::Key_R) {
            m_rotateKeyHeld = false;
            restoreIdleCursor();
            refreshHoverPreview();
            return;
        }
        if (handleModifierKey(event->key(), false))
            return;
    }
    QWidget::keyReleaseEvent(event);
}

void CanvasArea::tabletEvent(QTabletEvent* event)
{
    // Only the pen's state is tracked here; leaving the event unaccepted makes the
    // toolkit deliver the matching mouse event, which drives the tools.
    switch (event->type()) {
    case QEvent::TabletPress:
        m_tabletDown = true;
        m_tabletPressure = event->pressure();
        break;
    case QEvent::TabletMove:
        m_tabletPressure = event->pressure();
        break;
    case QEvent::TabletRelease:
        m_tabletDown = false;
        break;
    default:
        break;
    }
    event->ignore();
}

void CanvasArea::leaveEvent(QEvent* event)
{
    m_hoverValid = false;
    refreshHoverPreview();
    Q_EMIT statusChanged();
    QWidget::leaveEvent(event);
}

void CanvasArea::updateHover(QPointF position)
{
    m_hoverPixel = m_project->transform().viewToCanvasPixel(position);
    m_hoverValid = rect().contains(position.toPoint());
}

void CanvasArea::restoreIdleCursor()
{
    if (m_panning)
        setCursor(ToolCursors::panDragging());
    else if (m_spaceHeld)
        setCursor(ToolCursors::panArmed());
    else if (m_rotateKeyHeld || m_rotating)
        setCursor(ToolCursors::rotate());
    else if (m_activeTool == m_eyedropperTool.get() || samplingCursorArmed())
        setCursor(ToolCursors::picker());
    else
        setCursor(m_activeTool->idleCursor());
}
