#include "view/tools/shape_tool.h"

#include "document/project.h"
#include "view/tool_cursors.h"
#include "view/tools/canvas_tool_host.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {

constexpr double pinDistance = 24.0;
constexpr double handleReach = 8.0;
constexpr double radiusInsetPixels = 10.0;
constexpr double validExtent = 0.500000001;

bool creationValid(const StagedShape& shape)
{
    if (shape.kind == ShapeKind::Path)
        return shape.points.size() >= 2;
    return shape.halfWidth > validExtent || shape.halfHeight > validExtent;
}

QPolygonF boxOf(const ShapeHandleLayout& layout)
{
    return QPolygonF(layout.corners);
}

// Every overlay line is drawn twice, dark and wide under light and thin, so it shows on
// any colour of the canvas.
void drawHalo(QPainter& painter, const std::function<void(QPainter&)>& draw)
{
    for (const QPen& pen : {QPen(QColor(0, 0, 0, 160), 3), QPen(Qt::white, 1)}) {
        QPen styled = pen;
        styled.setCapStyle(Qt::SquareCap);
        styled.setJoinStyle(Qt::BevelJoin);
        painter.setPen(styled);
        painter.setBrush(Qt::NoBrush);
        draw(painter);
    }
}

} // namespace

void ShapeTool::activate()
{
    m_hoverTarget = -2;
    host().restoreIdleCursor();
    stageChanged();
}

void ShapeTool::deactivate()
{
    commitStage();
    m_previewImage = QImage();
    host().hostUpdate();
}

void ShapeTool::reset()
{
    m_stage.clear();
    m_mode = ShapeDragMode::Idle;
    m_creatingValid = false;
    m_path.clear();
    m_previewImage = QImage();
}

QCursor ShapeTool::idleCursor() const
{
    return ToolCursors::crosshair();
}

double ShapeTool::viewScale() const
{
    const QPointF a = host().displayToViewPoint(QPointF(0, 0));
    const QPointF b = host().displayToViewPoint(QPointF(1, 0));
    return std::max(1e-6, std::hypot(b.x() - a.x(), b.y() - a.y()));
}

double ShapeTool::radiusHandleInset() const
{
    return radiusInsetPixels / viewScale();
}

QPointF ShapeTool::displayPoint(const Gesture& gesture) const
{
    return host().viewToDisplayPoint(gesture.viewPosition);
}

ShapeHandleLayout ShapeTool::handlesOf(const StagedShape& shape) const
{
    return shapeHandleLayout(shape, pinDistance / viewScale(), radiusHandleInset());
}

ShapeTool::HandleHit ShapeTool::hitTestHandle(QPointF viewPoint) const
{
    const int index = m_stage.singleSelection();
    if (index < 0)
        return {};
    const ShapeHandleLayout layout = handlesOf(m_stage.shapes()[index]);
    const auto near = [&](QPointF display) {
        const QPointF d = host().displayToViewPoint(display) - viewPoint;
        return d.x() * d.x() + d.y() * d.y() <= handleReach * handleReach;
    };
    if (near(layout.pin))
        return {ShapeDragMode::Rotate, 0};
    for (int i = 0; i < layout.corners.size(); ++i) {
        if (near(layout.corners[i]))
            return {ShapeDragMode::Corner, i};
    }
    for (int i = 0; i < layout.radius.size(); ++i) {
        if (near(layout.radius[i]))
            return {ShapeDragMode::Radius, i};
    }
    return {};
}

int ShapeTool::topmostShapeAt(QPointF display) const
{
    for (int i = m_stage.count() - 1; i >= 0; --i) {
        if (shapeContains(m_stage.shapes()[i], display))
            return i;
    }
    return -1;
}

bool ShapeTool::acceptsGesture(const Gesture& gesture) const
{
    return (gesture.button == Qt::LeftButton || gesture.button == Qt::RightButton)
        && !host().strokeInProgress() && m_mode == ShapeDragMode::Idle;
}

void ShapeTool::onGestureBegin(const Gesture& gesture)
{
    const QPointF point = displayPoint(gesture);
    m_pressPoint = m_lastPoint = point;
    m_snapshotTaken = false;
    m_secondaryDrag = gesture.button == Qt::RightButton;
    const HandleHit hit = hitTestHandle(gesture.viewPosition);
    if (hit.mode != ShapeDragMode::Idle) {
        m_mode = hit.mode;
        m_dragIndex = m_stage.singleSelection();
        m_handleIndex = hit.handle;
        return;
    }
    const int index = topmostShapeAt(point);
    if (index >= 0) {
        if (gesture.modifiers.testFlag(Qt::ShiftModifier)) {
            m_stage.toggleSelected(index);
            stageChanged();
            return;
        }
        if (!m_stage.isSelected(index))
            m_stage.selectOnly(index);
        m_mode = ShapeDragMode::Move;
        m_dragIndex = index;
        stageChanged();
        return;
    }
    m_stage.clearSelection();
    m_mode = ShapeDragMode::Create;
    m_path = {point};
    m_creatingValid = false;
    stageChanged();
}

void ShapeTool::snapshotOnce()
{
    if (m_snapshotTaken)
        return;
    m_stage.beginOperation();
    m_snapshotTaken = true;
}

StagedShape ShapeTool::latched(StagedShape shape, bool secondary) const
{
    shape.penIndex = secondary ? host().secondaryIndex() : host().penIndex();
    shape.secondaryIndex = secondary ? host().penIndex() : host().secondaryIndex();
    shape.filled = m_filled && shapeOutlineClosed(shape);
    shape.penWidth = host().brush().width();
    shape.brushShape = host().brush().shape();
    shape.texture = host().texture();
    shape.textureMode = host().textureMode();
    shape.antialiased = host().antialiasedStrokes();
    return shape;
}

void ShapeTool::rebuildCreation(QPointF current, bool uniform, bool canvasAligned)
{
    StagedShape shape;
    if (m_kind == ShapeKind::Path) {
        m_path << current;
        shape = makePathShape(m_path);
    } else if (m_kind == ShapeKind::Line) {
        shape = makeLineShape(m_pressPoint, current);
    } else {
        // The box follows the screen unless Ctrl aligns it with the canvas.
        const double angle = canvasAligned ? 0.0 : -host().project().transform().rotation();
        shape = makeBoxShape(m_kind, m_pressPoint, current, angle, uniform);
    }
    m_creating = latched(shape, m_secondaryDrag);
    m_creatingValid = creationValid(m_creating);
}

void ShapeTool::onGestureUpdate(const Gesture& gesture)
{
    const QPointF point = displayPoint(gesture);
    const bool shift = gesture.modifiers.testFlag(Qt::ShiftModifier);
    switch (m_mode) {
    case ShapeDragMode::Idle:
        return;
    case ShapeDragMode::Create:
        rebuildCreation(point, shift, gesture.modifiers.testFlag(Qt::ControlModifier));
        break;
    case ShapeDragMode::Move: {
        const QPointF delta = point - m_lastPoint;
        if (delta.isNull())
            return;
        snapshotOnce();
        m_stage.moveSelection(delta);
        break;
    }
    case ShapeDragMode::Corner:
        snapshotOnce();
        if (gesture.modifiers.testFlag(Qt::AltModifier))
            distortShapeCorner(m_stage.shapes()[m_dragIndex], m_handleIndex, point);
        else
            scaleShapeToCorner(m_stage.shapes()[m_dragIndex], m_handleIndex, point, shift);
        break;
    case ShapeDragMode::Rotate:
        snapshotOnce();
        rotateShapeTo(m_stage.shapes()[m_dragIndex], point, shift);
        break;
    case ShapeDragMode::Radius:
        snapshotOnce();
        setShapeRadiusFromCursor(m_stage.shapes()[m_dragIndex], point);
        break;
    }
    m_lastPoint = point;
    stageChanged();
}

void ShapeTool::onGestureEnd(const Gesture&)
{
    finishGesture();
}

void ShapeTool::onClick(const Gesture&)
{
    finishGesture();
}

void ShapeTool::finishGesture()
{
    if (m_mode == ShapeDragMode::Create && m_creatingValid)
        m_stage.appendShape(m_creating);
    m_mode = ShapeDragMode::Idle;
    m_creatingValid = false;
    m_path.clear();
    m_dragIndex = m_handleIndex = -1;
    stageChanged();
    host().notifyHistoryChanged();
}

bool ShapeTool::mouseMove(QMouseEvent* event)
{
    if (CanvasTool::mouseMove(event))
        return true;
    updateHoverCursor(event->position());
    return false;
}

void ShapeTool::updateHoverCursor(QPointF viewPoint)
{
    const HandleHit hit = hitTestHandle(viewPoint);
    int target = int(hit.mode);
    if (hit.mode == ShapeDragMode::Idle)
        target = topmostShapeAt(host().viewToDisplayPoint(viewPoint)) >= 0 ? -1 : 0;
    if (target == m_hoverTarget)
        return;
    m_hoverTarget = target;
    if (hit.mode == ShapeDragMode::Rotate)
        host().setHostCursor(ToolCursors::rotate());
    else if (hit.mode != ShapeDragMode::Idle)
        host().setHostCursor(ToolCursors::panArmed());
    else if (target == -1)
        host().setHostCursor(ToolCursors::drag());
    else
        host().restoreIdleCursor();
}

bool ShapeTool::keyPress(QKeyEvent* event)
{
    if (dragging() || m_stage.isEmpty())
        return false;
    const int key = event->key();
    if (key == Qt::Key_QuoteLeft || key == 167 || key == Qt::Key_AsciiTilde) {
        m_stage.cycleSelection();
        stageChanged();
        return true;
    }
    if (m_stage.selectedIndices().isEmpty())
        return false;
    if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
        m_stage.removeSelected();
        stageChanged();
        host().notifyHistoryChanged();
        return true;
    }
    const Project& project = host().project();
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    const QSize cell = canvasModeCellSize(project.mode());
    const double across = std::round(canvasModePixelAspect(project.mode())) * (shift ? cell.width() : 1);
    const double down = (shift ? cell.height() : 1) / project.transform().displayPixelAspect();
    QPointF step;
    switch (key) {
    case Qt::Key_Left:
        step = {-across, 0};
        break;
    case Qt::Key_Right:
        step = {across, 0};
        break;
    case Qt::Key_Up:
        step = {0, -down};
        break;
    case Qt::Key_Down:
        step = {0, down};
        break;
    default:
        return false;
    }
    // Holding an arrow is one step to undo.
    if (!event->isAutoRepeat())
        m_stage.beginOperation();
    m_stage.moveSelection(step);
    stageChanged();
    host().notifyHistoryChanged();
    return true;
}

void ShapeTool::setFilled(bool filled)
{
    m_filled = filled;
    retargetSelected([filled](StagedShape& shape) {
        if (shapeOutlineClosed(shape))
            shape.filled = filled;
    });
}

void ShapeTool::retargetSelected(const std::function<void(StagedShape&)>& edit)
{
    bool changes = false;
    for (const int index : m_stage.selectedIndices()) {
        StagedShape edited = m_stage.shapes()[index];
        edit(edited);
        const StagedShape& was = m_stage.shapes()[index];
        changes = changes || edited.penIndex != was.penIndex || edited.secondaryIndex != was.secondaryIndex
            || edited.filled != was.filled || edited.penWidth != was.penWidth
            || edited.brushShape != was.brushShape || !(edited.texture.rows() == was.texture.rows())
            || edited.textureMode != was.textureMode || edited.antialiased != was.antialiased;
    }
    if (!changes)
        return;
    m_stage.beginOperation();
    for (const int index : m_stage.selectedIndices())
        edit(m_stage.shapes()[index]);
    stageChanged();
    host().notifyHistoryChanged();
}

bool ShapeTool::canUndoStage() const
{
    return host().activeTool() == this && (dragging() || m_stage.canUndo());
}

bool ShapeTool::handleUndo()
{
    if (host().activeTool() != this)
        return false;
    if (dragging())
        return true;
    if (!m_stage.undo())
        return false;
    stageChanged();
    return true;
}

void ShapeTool::commitStage()
{
    if (host().strokeInProgress() || dragging() || m_stage.isEmpty())
        return;
    host().beginColormapStroke();
    for (const StagedShape& shape : m_stage.shapes()) {
        const QRect changed = host().applySymmetricShape(host().project().colormap(), shape, true);
        if (changed.isEmpty())
            continue;
        host().refreshDisplayRegion(changed);
        host().growStrokeDirtyRect(changed);
    }
    host().endColormapStroke(HistoryEntryKind::Shape, std::nullopt);
    m_stage.clear();
    stageChanged();
}

void ShapeTool::discardStage()
{
    switch (m_mode) {
    case ShapeDragMode::Create:
        m_creatingValid = false;
        m_path.clear();
        break;
    case ShapeDragMode::Idle:
        m_stage.clear();
        break;
    default:
        if (m_snapshotTaken)
            m_stage.undo();
        break;
    }
    m_mode = ShapeDragMode::Idle;
    abandonGesture();
    stageChanged();
    host().notifyHistoryChanged();
}

void ShapeTool::stageChanged()
{
    m_previewImage = QImage();
    const bool creating = m_mode == ShapeDragMode::Create && m_creatingValid;
    if (!m_stage.isEmpty() || creating) {
        Colormap& simulated = host().fillSimulationColormap();
        QRect changed;
        for (const StagedShape& shape : m_stage.shapes())
            changed |= host().applySymmetricShape(simulated, shape, false);
        if (creating)
            changed |= host().applySymmetricShape(simulated, m_creating, false);
        if (!changed.isEmpty()) {
            m_previewImage = host().renderSimulatedDiff(simulated, changed);
            m_previewOrigin = changed.topLeft();
        }
    }
    host().hostUpdate();
}

void ShapeTool::paintArtworkPreview(QPainter& painter)
{
    if (!m_previewImage.isNull())
        painter.drawImage(m_previewOrigin, m_previewImage);
}

void ShapeTool::paintOverlay(QPainter& painter)
{
    const bool creating = m_mode == ShapeDragMode::Create && m_creatingValid;
    if (m_stage.isEmpty() && !creating)
        return;
    painter.save();
    painter.resetTransform();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const auto toView = [this](const QPolygonF& display) {
        QPolygonF view;
        for (const QPointF& p : display)
            view << host().displayToViewPoint(p);
        return view;
    };
    for (const int index : m_stage.selectedIndices()) {
        const QPolygonF box = toView(boxOf(handlesOf(m_stage.shapes()[index])));
        drawHalo(painter, [&](QPainter& p) { p.drawPolygon(box); });
    }
    if (creating) {
        const QPolygonF box = toView(boxOf(handlesOf(m_creating)));
        const bool diagonal = host().shiftHeld() && shapeOutlineClosed(m_creating);
        const QLineF line(host().displayToViewPoint(m_pressPoint),
            host().displayToViewPoint(m_creating.centre * 2 - m_pressPoint));
        drawHalo(painter, [&](QPainter& p) {
            p.drawPolygon(box);
            if (diagonal)
                p.drawLine(line);
        });
    } else if (const int index = m_stage.singleSelection(); index >= 0) {
        const StagedShape& shape = m_stage.shapes()[index];
        const ShapeHandleLayout layout = handlesOf(shape);
        const QPointF centre = host().displayToViewPoint(shape.centre);
        const QPointF pin = host().displayToViewPoint(layout.pin);
        drawHalo(painter, [&](QPainter& p) {
            p.drawLine(centre, pin);
            if (m_mode == ShapeDragMode::Corner && m_snapshotTaken)
                p.drawLine(host().displayToViewPoint(layout.corners[(m_handleIndex + 2) % 4]),
                    host().displayToViewPoint(layout.corners[m_handleIndex]));
        });
        const QPen outline(QColor(0, 0, 0, 160), 1);
        painter.setPen(outline);
        painter.setBrush(Qt::white);
        painter.drawEllipse(pin, 3.5, 3.5);
        for (const QPointF& corner : layout.corners) {
            const QPointF c = host().displayToViewPoint(corner);
            painter.drawRect(QRectF(c - QPointF(3.5, 3.5), QSizeF(7, 7)));
        }
        for (const QPointF& handle : layout.radius) {
            const QPointF c = host().displayToViewPoint(handle);
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(QColor(0, 0, 0, 160), 3));
            painter.drawEllipse(c, 4, 4);
            painter.setPen(QPen(Qt::white, 1.2));
            painter.drawEllipse(c, 4, 4);
            painter.setPen(Qt::NoPen);
            painter.setBrush(Qt::white);
            painter.drawEllipse(c, 1.3, 1.3);
        }
    }
    painter.restore();
}
