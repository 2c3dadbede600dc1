// Staged shapes of the canvas view: painting them, recorded or into a simulation.

#include "document/project.h"
#include "paint/shape_footprint.h"
#include "view/canvas_area.h"
#include "view/tools/select_tool.h"
#include "view/tools/shape_tool.h"

QRect CanvasArea::applyShape(
    Colormap& colormap, const StagedShape& shape, bool record, const SymmetryTransform* symmetry)
{
    AntialiasStrokeState* antialias = beginAntialiasedPaint(shape.antialiased, shape.penWidth, record);
    if (antialias)
        ensureAntialiasLut();
    CoveredPaint paint;
    paint.antialias = antialias;
    paint.lut = &m_antialiasLut;
    BeforeFillPaint before;
    if (record)
        before = [this](const QRect& rect, bool twice) { captureBeforeArea(rect, twice); };
    return paintShape(colormap, strokeSurface(), shape, m_project->transform().displayPixelAspect(), paint,
        paintRulesFor(*m_project), before, symmetry);
}

QRect CanvasArea::applySymmetricShape(Colormap& colormap, const StagedShape& shape, bool record)
{
    if (!m_symmetricShapes || m_symmetryMode == SymmetryMode::None)
        return applyShape(colormap, shape, record);
    QRect changed;
    for (const SymmetryTransform& copy : activeShapeSymmetryTransforms())
        changed |= applyShape(colormap, shape, record, &copy);
    return changed;
}

void CanvasArea::commitShapeStage()
{
    m_shapeTool->commitStage();
}

void CanvasArea::commitStagedEdits()
{
    for (StagedEditTool* tool :
        {static_cast<StagedEditTool*>(m_shapeTool.get()), static_cast<StagedEditTool*>(m_selectTool.get())})
        tool->commitStage();
}

void CanvasArea::setShapeKind(ShapeKind kind)
{
    m_shapeTool->setKind(kind);
}

void CanvasArea::setShapesFilled(bool filled)
{
    m_shapeTool->setFilled(filled);
}

void CanvasArea::setShapeToolActive(bool on)
{
    activateTool(m_shapeTool.get(), on);
}

bool CanvasArea::shapeToolActive() const
{
    return m_activeTool == m_shapeTool.get();
}
