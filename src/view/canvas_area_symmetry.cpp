// Symmetry draw in the canvas view: the mode, the movable axes, the copies each kind of
// paint takes, and the guides over the canvas.

#include "document/project.h"
#include "view/canvas_area.h"
#include "view/tools/shape_tool.h"
#include "view/tools/symmetry_tool.h"

#include <QPainter>

void CanvasArea::setSymmetryMode(SymmetryMode mode)
{
    if (mode == m_symmetryMode)
        return;
    m_symmetryMode = mode;
    // Without a mode there are no axes to move, and a click must paint again.
    if (mode == SymmetryMode::None && symmetryToolActive())
        activateTool(m_symmetryTool.get(), false);
    refreshHoverPreview();
    if (shapeToolActive())
        m_shapeTool->refreshPreview();
    update();
}

void CanvasArea::setSymmetryAxes(const SymmetryAxes& axes)
{
    const SymmetryAxes clamped = axes.clampTo(m_project->size());
    if (clamped == m_symmetryAxes)
        return;
    m_symmetryAxes = clamped;
    refreshHoverPreview();
    if (shapeToolActive() && m_symmetricShapes)
        m_shapeTool->refreshPreview();
    update();
}

void CanvasArea::resetSymmetryAxes()
{
    setSymmetryAxes(SymmetryAxes::centered(m_project->size()));
}

void CanvasArea::setSymmetricFill(bool on)
{
    if (on == m_symmetricFill)
        return;
    m_symmetricFill = on;
    refreshHoverPreview();
    update();
}

void CanvasArea::setSymmetricShapes(bool on)
{
    if (on == m_symmetricShapes)
        return;
    m_symmetricShapes = on;
    refreshHoverPreview();
    if (shapeToolActive())
        m_shapeTool->refreshPreview();
    update();
}

void CanvasArea::setSymmetryToolActive(bool on)
{
    activateTool(m_symmetryTool.get(), on);
}

bool CanvasArea::symmetryToolActive() const
{
    return m_activeTool == m_symmetryTool.get();
}

QList<SymmetryTransform> CanvasArea::activeSymmetryTransforms() const
{
    // A document of another size may have replaced the one the axes were placed on.
    return symmetryTransforms(m_symmetryMode, m_symmetryAxes.clampTo(m_project->size()), pixelWidth(),
        m_project->transform().displayPixelAspect());
}

QList<SymmetryTransform> CanvasArea::activeFillSymmetryTransforms() const
{
    if (m_symmetricFill)
        return activeSymmetryTransforms();
    return activeSymmetryTransforms().mid(0, 1);
}

QList<SymmetryTransform> CanvasArea::activeShapeSymmetryTransforms() const
{
    if (m_symmetricShapes)
        return activeSymmetryTransforms();
    return activeSymmetryTransforms().mid(0, 1);
}

void CanvasArea::drawSymmetryAxesOverlay(QPainter& painter) const
{
    if (m_symmetryMode == SymmetryMode::None)
        return;
    const QList<QLineF> lines = symmetryAxisLines(m_symmetryMode, m_symmetryAxes.clampTo(m_project->size()),
        m_project->size(), pixelWidth(), m_project->transform().displayPixelAspect());
    const QColor colour
        = m_symmetryMode == SymmetryMode::Kaleidoscope ? QColor(255, 255, 0) : QColor(0, 255, 0);
    QPen pen(colour, 1.0);
    pen.setCosmetic(true);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(pen);
    painter.drawLines(lines);
    painter.restore();
}
