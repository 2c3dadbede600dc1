// Flood fills and contour bands of the canvas view, recorded or into a simulation.

#include "document/project.h"
#include "paint/fill_paint.h"
#include "view/canvas_area.h"
#include "view/tools/fill_tool.h"

bool CanvasArea::contourApplies() const
{
    return isMulticolor(m_project->mode());
}

void CanvasArea::setContourPlacement(ContourPlacement placement)
{
    m_contourPlacement = placement;
    refreshHoverPreview();
}

void CanvasArea::setFillPreviewEnabled(bool on)
{
    m_fillPreviewEnabled = on;
    refreshHoverPreview();
}

QRect CanvasArea::applyFloodFill(Colormap& colormap, QPoint pixel, uchar colour, uchar altColour, bool record)
{
    const CoveredPaint paint = canvasPaint(colour, altColour, nullptr);
    BeforeFillPaint before;
    if (record)
        before = [this](const QRect& rect, bool twice) { captureBeforeArea(rect, twice); };
    return floodFillPaint(colormap, strokeSurface(), pixel, paint, paintRulesFor(*m_project), before);
}

QRect CanvasArea::applyContour(Colormap& colormap, QPoint pixel, uchar colour, uchar altColour,
    ContourPlacement placement, AntialiasStrokeState* antialias, bool record)
{
    FootprintMask& surface = strokeSurface();
    if (!m_contourSurface.fits(m_project->size(), pixelWidth()))
        m_contourSurface = FootprintMask(m_project->size(), pixelWidth());
    const CoveredPaint paint = canvasPaint(colour, altColour, antialias);
    BeforeFillPaint before;
    if (record)
        before = [this](const QRect& rect, bool twice) { captureBeforeArea(rect, twice); };
    return contourPaint(colormap, m_contourSurface, surface, pixel, m_brush, placement,
        m_project->transform().displayPixelAspect(), paint, paintRulesFor(*m_project), before);
}

QRect CanvasArea::applySymmetricFloodFill(
    Colormap& colormap, QPoint pixel, uchar colour, uchar altColour, bool record)
{
    // Each copy floods the colormap as the copies before it left it, so a copy that
    // lands in an area already filled finds nothing left to do.
    QRect changed;
    for (const SymmetryTransform& copy : activeFillSymmetryTransforms())
        changed |= applyFloodFill(colormap, copy.map(pixel), colour, altColour, record);
    return changed;
}

QRect CanvasArea::applySymmetricContour(
    Colormap& colormap, QPoint pixel, uchar colour, uchar altColour, ContourPlacement placement, bool record)
{
    AntialiasStrokeState* antialias = nullptr;
    if (antialiasApplies(m_brush.antialiased(), m_brush.width())) {
        // A recorded contour blends against the pixels from before the whole edit, so
        // overlapping copies do not blend twice; a preview is an edit of its own.
        AntialiasStrokeState& state = record ? m_strokeAntialias : m_previewAntialias;
        state.ensureSize(m_project->size());
        if (!record)
            state.reset();
        antialias = &state;
    }
    QRect changed;
    for (const SymmetryTransform& copy : activeFillSymmetryTransforms())
        changed |= applyContour(colormap, copy.map(pixel), colour, altColour, placement, antialias, record);
    return changed;
}

Colormap& CanvasArea::fillSimulationColormap()
{
    m_simulation = m_project->colormap();
    m_simulationFresh = QRegion(m_simulation.rect());
    return m_simulation;
}

void CanvasArea::setFillToolActive(bool on)
{
    activateTool(m_fillTool.get(), on);
}

bool CanvasArea::fillToolActive() const
{
    return m_activeTool == m_fillTool.get();
}
