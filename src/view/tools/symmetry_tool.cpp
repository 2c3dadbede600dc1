#include "view/tools/symmetry_tool.h"

#include "document/project.h"
#include "view/tools/canvas_tool_host.h"

#include <QLineF>
#include <QMouseEvent>

#include <cmath>

namespace {

// How close, in screen pixels, the pointer must come to an axis to take hold of it.
constexpr double grabDistance = 6.0;

double distanceToLine(QPointF point, QPointF a, QPointF b)
{
    const QPointF direction = b - a;
    const double length = std::hypot(direction.x(), direction.y());
    if (length < 1e-12)
        return std::hypot(point.x() - a.x(), point.y() - a.y());
    const QPointF offset = point - a;
    return std::abs(direction.x() * offset.y() - direction.y() * offset.x()) / length;
}

int halfPixels(double canvasCoordinate)
{
    return int(std::round(2.0 * canvasCoordinate));
}

} // namespace

void SymmetryTool::activate()
{
    m_grab = Grab::None;
    host().restoreIdleCursor();
    host().refreshHoverPreview();
}

void SymmetryTool::deactivate()
{
    m_grab = Grab::None;
}

QCursor SymmetryTool::idleCursor() const
{
    return QCursor(Qt::ArrowCursor);
}

bool SymmetryTool::acceptsGesture(const Gesture& gesture) const
{
    return gesture.button == Qt::LeftButton || gesture.button == Qt::RightButton;
}

bool SymmetryTool::mouseMove(QMouseEvent* event)
{
    if (gestureOpen())
        return CanvasTool::mouseMove(event);
    updateHoverCursor(grabAt(event->position()));
    return true;
}

SymmetryTool::Grab SymmetryTool::grabAt(QPointF viewPoint) const
{
    const SymmetryMode mode = host().symmetryMode();
    if (mode == SymmetryMode::None)
        return Grab::None;
    if (mode == SymmetryMode::BiQuadrant || mode == SymmetryMode::Kaleidoscope)
        return Grab::BothAxes;
    const Transform& transform = host().project().transform();
    const QSize canvas = host().project().size();
    const SymmetryAxes axes = host().symmetryAxes();
    const double row = axes.horizontal / 2.0;
    const double column = axes.vertical / 2.0;
    const bool nearHorizontal
        = distanceToLine(viewPoint, transform.canvasToView(QPointF(canvas.width(), row)),
              transform.canvasToView(QPointF(0, row)))
        <= grabDistance;
    const bool nearVertical
        = distanceToLine(viewPoint, transform.canvasToView(QPointF(column, canvas.height())),
              transform.canvasToView(QPointF(column, 0)))
        <= grabDistance;
    switch (mode) {
    case SymmetryMode::Horizontal:
        return nearHorizontal ? Grab::HorizontalAxis : Grab::None;
    case SymmetryMode::Vertical:
        return nearVertical ? Grab::VerticalAxis : Grab::None;
    default:
        if (nearHorizontal && nearVertical)
            return Grab::BothAxes;
        if (nearHorizontal)
            return Grab::HorizontalAxis;
        return nearVertical ? Grab::VerticalAxis : Grab::None;
    }
}

void SymmetryTool::updateHoverCursor(Grab grab)
{
    switch (grab) {
    case Grab::HorizontalAxis:
        host().setHostCursor(QCursor(Qt::SplitVCursor));
        break;
    case Grab::VerticalAxis:
        host().setHostCursor(QCursor(Qt::SplitHCursor));
        break;
    case Grab::BothAxes:
        host().setHostCursor(QCursor(Qt::SizeAllCursor));
        break;
    case Grab::None:
        host().setHostCursor(idleCursor());
        break;
    }
}

void SymmetryTool::onGestureBegin(const Gesture& gesture)
{
    m_grab = grabAt(gesture.viewPosition);
    m_pressedCanvasPoint = host().project().transform().viewToCanvas(gesture.viewPosition);
    m_pressedAxes = host().symmetryAxes();
}

void SymmetryTool::onGestureUpdate(const Gesture& gesture)
{
    applyDrag(gesture.viewPosition);
}

void SymmetryTool::applyDrag(QPointF viewPoint)
{
    const QPointF canvasPoint = host().project().transform().viewToCanvas(viewPoint);
    SymmetryAxes axes = host().symmetryAxes();
    switch (m_grab) {
    case Grab::HorizontalAxis:
        axes.horizontal = halfPixels(canvasPoint.y());
        break;
    case Grab::VerticalAxis:
        axes.vertical = halfPixels(canvasPoint.x());
        break;
    case Grab::BothAxes: {
        const QPointF moved = canvasPoint - m_pressedCanvasPoint;
        axes.horizontal = m_pressedAxes.horizontal + halfPixels(moved.y());
        axes.vertical = m_pressedAxes.vertical + halfPixels(moved.x());
        break;
    }
    case Grab::None:
        return;
    }
    host().setSymmetryAxes(axes);
}
