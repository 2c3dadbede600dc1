#include "view/tools/select_tool.h"

#include "document/project.h"
#include "model/region_outline.h"
#include "rules/clash_sweep.h"
#include "view/tool_cursors.h"
#include "view/tools/canvas_tool_host.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {

constexpr int antsIntervalMs = 1000;
constexpr qreal antsDash = 4.0;

bool composingModifiers(QFlags<Qt::KeyboardModifier> modifiers)
{
    return modifiers.testAnyFlags(Qt::ShiftModifier | Qt::AltModifier);
}

QPen antsPen(const QColor& colour)
{
    QPen pen(colour);
    pen.setCosmetic(true);
    pen.setWidth(1);
    return pen;
}

} // namespace

SelectTool::SelectTool(CanvasToolHost& host)
    : StagedEditTool(host)
{
    m_antsTimer.setInterval(antsIntervalMs);
    m_antsTimer.callOnTimeout([this] {
        m_antsPhase ^= 1;
        this->host().hostUpdate(this->host().canvasRectToView(m_antsBounds));
    });
}

QRect SelectTool::canvasRect() const
{
    return host().project().rect();
}

bool SelectTool::dragging() const
{
    return m_dragState == DragState::Marquee || m_dragState == DragState::PressedInside
        || m_dragState == DragState::DraggingFloat;
}

void SelectTool::setTool(SelectionTool kind)
{
    if (kind == m_tool)
        return;
    cancelSelectionDrag();
    commitFloatingSelection();
    m_tool = kind;
    host().refreshHoverPreview();
}

void SelectTool::activate()
{
    host().restoreIdleCursor();
    host().refreshHoverPreview();
}

void SelectTool::deactivate()
{
    cancelSelectionDrag();
    commitFloatingSelection();
    m_tool = SelectionTool::None;
}

QCursor SelectTool::idleCursor() const
{
    return ToolCursors::crosshair();
}

void SelectTool::setSelectionRegion(const QRegion& region)
{
    if (region == m_selection)
        return;
    m_selection = region;
    m_boundary = selectionBoundarySegments(region);
    if (region.isEmpty()) {
        m_antsTimer.stop();
        m_antsPhase = 0;
    } else if (!m_antsTimer.isActive()) {
        m_antsTimer.start();
    }
    repaintAnts();
    host().notifySelectionChanged();
}

void SelectTool::commitSelectionOperation(QRegion previous, QRegion next)
{
    setSelectionRegion(next);
    if (previous != next)
        m_undoStack.append(previous);
    host().notifySelectionChanged();
}

void SelectTool::repaintAnts()
{
    QRect bounds = m_selection.boundingRect();
    if (!m_lassoPoints.isEmpty())
        bounds |= m_lassoPoints.boundingRect();
    repaintCanvasBounds(m_antsBounds, bounds);
}

// Repaints where something was drawn and where it goes, both mapped through the view as
// it is now: a rectangle kept in view coordinates would miss the old outline once the
// view has changed under it, and leave a trail there.
void SelectTool::repaintCanvasBounds(QRect& drawn, const QRect& next)
{
    QRect old = host().canvasRectToView(drawn);
    host().refreshTrackedRect(old, host().canvasRectToView(next));
    drawn = next;
}

void SelectTool::selectAll()
{
    if (dragging())
        return;
    commitFloatingSelection();
    commitSelectionOperation(m_selection, QRegion(canvasRect()));
}

void SelectTool::deselect()
{
    if (dragging())
        return;
    commitFloatingSelection();
    commitSelectionOperation(m_selection, QRegion());
}

void SelectTool::invertSelection()
{
    if (dragging())
        return;
    commitFloatingSelection();
    commitSelectionOperation(m_selection, QRegion(canvasRect()).subtracted(m_selection));
}

bool SelectTool::clipboardCommandRefused() const
{
    return host().strokeInProgress() || host().recordedEditOpen() || dragging();
}

void SelectTool::copySelection()
{
    if (clipboardCommandRefused())
        return;
    commitFloatingSelection();
    if (!hasSelection())
        return;
    m_clipboard = copySelectionPixels(host().project().colormap(), m_selection);
    exportClipboardToSystem();
    host().notifySelectionChanged();
}

void SelectTool::cutSelection()
{
    if (clipboardCommandRefused())
        return;
    copySelection();
    if (!hasSelection())
        return;
    Project& project = host().project();
    const PaintRules rules = paintRulesFor(project);
    const uchar blank = host().blankIndex();
    host().beginColormapStroke();
    host().captureBeforeArea(m_selection.boundingRect(), true);
    QRect changed = fillSelectionPixels(project.colormap(), m_selection, blank, rules.lockedRects);
    if (!changed.isEmpty()) {
        ClashContext context = rules.context;
        context.paintIndex = blank;
        changed |= resolveExistingClashes(context, project.colormap(), changed);
        host().refreshDisplayRegion(changed);
        host().growStrokeDirtyRect(changed);
    }
    host().endColormapStroke(HistoryEntryKind::Cut, std::nullopt);
}

void SelectTool::pasteSelection(bool transparent)
{
    if (clipboardCommandRefused() || m_clipboard.isEmpty() || m_tool == SelectionTool::None)
        return;
    commitFloatingSelection();
    m_floatSourceSelection = m_selection;
    m_float = FloatingSelection();
    m_float.region = m_clipboard.region;
    m_float.pixels = m_clipboard.pixels;
    m_float.transparent = transparent;
    m_float.blank = host().blankIndex();
    // Content lands where it was copied from, unless that is out of sight: then in the
    // middle of the view, moved by whole cells so it keeps its place in the cell grid.
    const QRect bounds = m_clipboard.region.boundingRect();
    if (!host().canvasRectToView(bounds).intersects(host().viewRect())) {
        const QPointF centre = host().project().transform().viewToCanvas(QPointF(host().viewRect().center()));
        const QSize cell = canvasModeCellSize(host().project().mode());
        const double dx = (centre.x() - (bounds.left() + bounds.width() / 2.0)) / cell.width();
        const double dy = (centre.y() - (bounds.top() + bounds.height() / 2.0)) / cell.height();
        m_float.offset = QPoint(int(std::lround(dx)) * cell.width(), int(std::lround(dy)) * cell.height());
    }
    if (!bounds.translated(m_float.offset).intersects(canvasRect()))
        m_float.offset = -bounds.topLeft();
    m_dragState = DragState::Floating;
    setSelectionRegion(floatArea());
    refreshFloatPreview();
    host().notifySelectionChanged();
}

void SelectTool::flipSelection(Qt::Orientation orientation)
{
    if (clipboardCommandRefused() || m_tool == SelectionTool::None)
        return;
    if (!floating())
        startFloatingSelection(false);
    if (!floating())
        return;
    // The region mirrors about its own bounding rectangle, which stays put, so the
    // snapshot of that rectangle mirrors in place with it.
    m_float.region = mirrorSelectionRegion(m_float.region, orientation);
    m_float.pixels.mirror(m_float.pixels.rect(), orientation);
    setSelectionRegion(floatArea());
    refreshFloatPreview();
    host().notifySelectionChanged();
}

void SelectTool::startFloatingSelection(bool transparent)
{
    if (floating() || !hasSelection())
        return;
    const SelectionClipboard lifted = copySelectionPixels(host().project().colormap(), m_selection);
    m_floatSourceSelection = m_selection;
    m_float = FloatingSelection();
    m_float.region = lifted.region;
    m_float.pixels = lifted.pixels;
    m_float.vacated = lifted.region;
    m_float.transparent = transparent;
    m_float.blank = host().blankIndex();
    m_dragState = DragState::Floating;
    refreshFloatPreview();
}

QRect SelectTool::applyFloatingSelection(Colormap& colormap, bool record)
{
    BeforeFillPaint before;
    if (record)
        before = [this](const QRect& rect, bool twice) { host().captureBeforeArea(rect, twice); };
    return ::applyFloatingSelection(colormap, m_float, paintRulesFor(host().project()), before);
}

void SelectTool::commitFloatingSelection()
{
    if (m_dragState == DragState::PressedInside) {
        m_dragState = DragState::Idle;
        return;
    }
    if (!floating())
        return;
    clearFloatPreview();
    // However long the float was moved about, its drop is one entry.
    host().beginColormapStroke();
    const QRect changed = applyFloatingSelection(host().project().colormap(), true);
    if (!changed.isEmpty()) {
        host().refreshDisplayRegion(changed);
        host().growStrokeDirtyRect(changed);
    }
    host().endColormapStroke(HistoryEntryKind::FloatingSelection, std::nullopt);
    const QRegion landed = floatArea();
    const QRegion source = m_floatSourceSelection;
    m_float = FloatingSelection();
    m_dragState = DragState::Idle;
    commitSelectionOperation(source, landed);
}

void SelectTool::cancelFloatingSelection()
{
    if (!floating())
        return;
    clearFloatPreview();
    m_float = FloatingSelection();
    m_dragState = DragState::Idle;
    setSelectionRegion(m_floatSourceSelection);
    host().notifySelectionChanged();
}

void SelectTool::cancelSelectionDrag()
{
    if (m_dragState != DragState::Marquee)
        return;
    m_lassoPoints.clear();
    m_dragState = DragState::Idle;
    setSelectionRegion(m_selectionAtDragStart);
    repaintAnts();
}

QRegion SelectTool::floatArea() const
{
    return m_float.placedRegion(canvasRect());
}

void SelectTool::moveFloat(QPoint delta)
{
    if (delta.isNull())
        return;
    m_float.offset += delta;
    setSelectionRegion(floatArea());
    refreshFloatPreview();
}

void SelectTool::refreshFloatPreview()
{
    const QRect changed = simulateFloatingSelection(host().project(), m_floatSimulation, m_float);
    m_floatPreview = host().renderSimulatedDiff(m_floatSimulation, changed);
    m_floatPreviewOrigin = (changed & canvasRect()).topLeft();
    repaintCanvasBounds(m_floatBounds, changed & canvasRect());
}

void SelectTool::clearFloatPreview()
{
    m_floatPreview = QImage();
    repaintCanvasBounds(m_floatBounds, QRect());
}

void SelectTool::paintArtworkPreview(QPainter& painter)
{
    if (floating() && !m_floatPreview.isNull())
        painter.drawImage(m_floatPreviewOrigin, m_floatPreview);
}

QImage SelectTool::selectionToImage() const
{
    const Project& project = host().project();
    SelectionClipboard content;
    if (floating()) {
        content.region = m_float.region;
        content.pixels = m_float.pixels;
    } else {
        content = copySelectionPixels(project.colormap(), m_selection);
    }
    return selectionClipboardToImage(content, project.palette(), project.mode());
}

void SelectTool::exportClipboardToSystem() const
{
    const QImage image
        = selectionClipboardToImage(m_clipboard, host().project().palette(), host().project().mode());
    if (!image.isNull())
        QGuiApplication::clipboard()->setImage(image);
}

void SelectTool::paintAnts(QPainter& painter) const
{
    const bool lassoDrag = m_dragState == DragState::Marquee && !m_lassoPoints.isEmpty();
    if (m_boundary.isEmpty() && !lassoDrag)
        return;
    const Transform& transform = host().project().transform();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen dashed = antsPen(Qt::black);
    dashed.setDashPattern({antsDash, antsDash});
    const auto drawLine = [&](QPointF from, QPointF to) {
        const QPointF a = transform.canvasToView(from);
        const QPointF b = transform.canvasToView(to);
        painter.setPen(antsPen(Qt::white));
        painter.drawLine(a, b);
        // The dash follows the position on screen, so dashes run on from one segment into
        // the next; the phase makes them march.
        dashed.setDashOffset(std::fmod(a.x() + a.y(), 2 * antsDash) + m_antsPhase * antsDash);
        painter.setPen(dashed);
        painter.drawLine(a, b);
    };
    for (const QLine& line : m_boundary)
        drawLine(QPointF(line.p1()), QPointF(line.p2()));
    if (lassoDrag) {
        const QPointF centre(0.5, 0.5);
        for (qsizetype i = 1; i < m_lassoPoints.size(); ++i)
            drawLine(QPointF(m_lassoPoints[i - 1]) + centre, QPointF(m_lassoPoints[i]) + centre);
    }
    painter.restore();
}

void SelectTool::reset()
{
    m_dragState = DragState::Idle;
    m_float = FloatingSelection();
    m_floatSourceSelection = QRegion();
    m_floatPreview = QImage();
    m_floatSimulation = Colormap();
    m_lassoPoints.clear();
    m_undoStack.clear();
    m_selection = QRegion();
    m_boundary.clear();
    m_antsTimer.stop();
    m_antsPhase = 0;
    m_antsBounds = QRect();
    m_floatBounds = QRect();
    host().notifySelectionChanged();
}

bool SelectTool::mousePress(QMouseEvent* event)
{
    if (host().strokeInProgress())
        return false;
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return false;
    if (dragging())
        return true;
    if (event->button() == Qt::RightButton) {
        deselect();
        return true;
    }
    return CanvasTool::mousePress(event);
}

bool SelectTool::acceptsGesture(const Gesture& gesture) const
{
    return gesture.button == Qt::LeftButton && !host().strokeInProgress();
}

void SelectTool::onGestureBegin(const Gesture& gesture)
{
    const bool composing = composingModifiers(gesture.modifiers);
    if (floating()) {
        if (!composing && floatArea().contains(gesture.pixel)) {
            m_dragState = DragState::DraggingFloat;
            m_lastDragPixel = gesture.pixel;
            return;
        }
        commitFloatingSelection();
    }
    if (!composing && m_selection.contains(gesture.pixel)) {
        m_dragState = DragState::PressedInside;
        m_liftTransparent = gesture.modifiers.testFlag(Qt::ControlModifier);
        m_lastDragPixel = gesture.pixel;
        return;
    }
    m_dragState = DragState::Marquee;
    m_compose = selectionComposeForModifiers(gesture.modifiers);
    m_selectionAtDragStart = m_selection;
    m_dragStartPixel = gesture.pixel;
    m_dragStartViewPoint = gesture.viewPosition;
    if (m_tool == SelectionTool::Lasso) {
        m_lassoPoints = QPolygon({gesture.pixel});
        repaintAnts();
    } else {
        setSelectionRegion(composedMarqueeRegion(gesture.viewPosition, gesture.modifiers));
    }
}

void SelectTool::onGestureUpdate(const Gesture& gesture)
{
    switch (m_dragState) {
    case DragState::PressedInside:
        if (gesture.pixel == m_lastDragPixel)
            return;
        startFloatingSelection(m_liftTransparent);
        m_dragState = DragState::DraggingFloat;
        [[fallthrough]];
    case DragState::DraggingFloat:
        moveFloat(gesture.pixel - m_lastDragPixel);
        m_lastDragPixel = gesture.pixel;
        return;
    case DragState::Marquee:
        if (m_tool == SelectionTool::Lasso) {
            if (m_lassoPoints.last() != gesture.pixel) {
                m_lassoPoints.append(gesture.pixel);
                repaintAnts();
            }
        } else {
            setSelectionRegion(composedMarqueeRegion(gesture.viewPosition, gesture.modifiers));
        }
        return;
    case DragState::Idle:
    case DragState::Floating:
        return;
    }
}

void SelectTool::onGestureEnd(const Gesture& gesture)
{
    release(gesture);
}

void SelectTool::onClick(const Gesture& gesture)
{
    release(gesture);
}

void SelectTool::release(const Gesture& gesture)
{
    switch (m_dragState) {
    case DragState::DraggingFloat:
        m_dragState = DragState::Floating;
        host().notifySelectionChanged();
        return;
    case DragState::PressedInside:
        m_dragState = DragState::Idle;
        // A plain click inside the ants deselects; a Ctrl click may have been the start
        // of a transparent lift and leaves the selection alone.
        if (!m_liftTransparent)
            commitSelectionOperation(m_selection, QRegion());
        return;
    case DragState::Marquee: {
        QRegion result;
        if (gesture.moved || m_compose != SelectionCompose::Replace) {
            if (m_tool == SelectionTool::Lasso) {
                if (m_lassoPoints.last() != gesture.pixel)
                    m_lassoPoints.append(gesture.pixel);
                result = composeSelection(m_selectionAtDragStart,
                    lassoToRegion(m_lassoPoints).intersected(canvasRect()), m_compose);
            } else {
                result = composedMarqueeRegion(gesture.viewPosition, gesture.modifiers);
            }
        }
        m_dragState = DragState::Idle;
        m_lassoPoints.clear();
        repaintAnts();
        commitSelectionOperation(m_selectionAtDragStart, result);
        return;
    }
    case DragState::Idle:
    case DragState::Floating:
        return;
    }
}

QRegion SelectTool::composedMarqueeRegion(QPointF viewPoint, QFlags<Qt::KeyboardModifier> modifiers) const
{
    QRegion region;
    if (host().project().transform().rotation() != 0.0 && !modifiers.testFlag(Qt::ControlModifier)) {
        // On a turned view the marquee is upright on screen, so on the canvas it is the
        // turned quadrilateral the user sees.
        const QRectF screen = QRectF(m_dragStartViewPoint, viewPoint).normalized();
        const QPolygon corners({host().viewToCanvasPixel(screen.topLeft()),
            host().viewToCanvasPixel(screen.topRight()), host().viewToCanvasPixel(screen.bottomRight()),
            host().viewToCanvasPixel(screen.bottomLeft())});
        region = lassoToRegion(corners).intersected(canvasRect());
    } else {
        const QRect rect = QRect(m_dragStartPixel, host().viewToCanvasPixel(viewPoint)).normalized();
        region = QRegion(rect & canvasRect());
    }
    return composeSelection(m_selectionAtDragStart, region, m_compose);
}

bool SelectTool::keyPress(QKeyEvent* event)
{
    const int key = event->key();
    if (floating()) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            commitFloatingSelection();
            return true;
        }
        if (key == Qt::Key_Escape) {
            if (!event->isAutoRepeat())
                cancelFloatingSelection();
            return true;
        }
        const QSize cell = canvasModeCellSize(host().project().mode());
        const bool wholeCell = event->modifiers().testFlag(Qt::ShiftModifier);
        const int dx = wholeCell ? cell.width() : 1;
        const int dy = wholeCell ? cell.height() : 1;
        switch (key) {
        case Qt::Key_Left:
            moveFloat(QPoint(-dx, 0));
            return true;
        case Qt::Key_Right:
            moveFloat(QPoint(dx, 0));
            return true;
        case Qt::Key_Up:
            moveFloat(QPoint(0, -dy));
            return true;
        case Qt::Key_Down:
            moveFloat(QPoint(0, dy));
            return true;
        default:
            return false;
        }
    }
    if (key != Qt::Key_Escape || event->isAutoRepeat())
        return false;
    if (m_dragState == DragState::Marquee) {
        cancelSelectionDrag();
        return true;
    }
    if (m_dragState == DragState::Idle && hasSelection()) {
        deselect();
        return true;
    }
    return false;
}

bool SelectTool::canUndoStage() const
{
    return floating() || !m_undoStack.isEmpty();
}

bool SelectTool::handleUndo()
{
    if (dragging())
        return true;
    if (floating()) {
        cancelFloatingSelection();
        return true;
    }
    if (m_undoStack.isEmpty())
        return false;
    setSelectionRegion(m_undoStack.takeLast());
    host().notifySelectionChanged();
    return true;
}

void SelectTool::commitStage()
{
    commitFloatingSelection();
}

void SelectTool::discardStage()
{
    cancelFloatingSelection();
}
