#include "view/tools/fill_tool.h"

#include "document/project.h"
#include "view/tool_cursors.h"
#include "view/tools/canvas_tool_host.h"

#include <QPainter>

void FillTool::activate()
{
    host().restoreIdleCursor();
    host().refreshHoverPreview();
}

void FillTool::deactivate()
{
    clearHoverPreview();
}

QCursor FillTool::idleCursor() const
{
    return ToolCursors::fill();
}

bool FillTool::acceptsGesture(const Gesture& gesture) const
{
    return (gesture.button == Qt::LeftButton || gesture.button == Qt::RightButton)
        && !host().strokeInProgress();
}

std::optional<ContourPlacement> FillTool::contourPlacementFor(bool ctrl) const
{
    // Hires cells hold two colours, with no room for a band of a third beside an area.
    if (ctrl && host().contourApplies())
        return host().contourPlacement();
    return std::nullopt;
}

std::optional<ContourPlacement> FillTool::previewContourPlacement() const
{
    return contourPlacementFor(host().canvasAlignHeld());
}

void FillTool::onGestureBegin(const Gesture& gesture)
{
    const bool secondary = gesture.button == Qt::RightButton;
    const uchar colour = secondary ? host().secondaryIndex() : host().penIndex();
    const uchar altColour = secondary ? host().penIndex() : host().secondaryIndex();
    clearHoverPreview();
    performFill(gesture.pixel, colour, altColour,
        contourPlacementFor(gesture.modifiers.testFlag(Qt::ControlModifier)));
}

QRect FillTool::performFill(
    QPoint pixel, uchar colour, uchar altColour, std::optional<ContourPlacement> contour)
{
    host().beginColormapStroke();
    Colormap& colormap = host().project().colormap();
    const QRect changed = contour
        ? host().applySymmetricContour(colormap, pixel, colour, altColour, *contour, true)
        : host().applySymmetricFloodFill(colormap, pixel, colour, altColour, true);
    if (!changed.isEmpty()) {
        host().refreshDisplayRegion(changed);
        host().growStrokeDirtyRect(changed);
    }
    host().endColormapStroke(HistoryEntryKind::Fill, std::nullopt);
    return changed;
}

bool FillTool::previewVisible() const
{
    if (host().activeTool() != this || !host().hoverValid() || host().strokeInProgress()
        || host().viewNavigationActive())
        return false;
    return host().fillPreviewEnabled() || previewContourPlacement().has_value();
}

QRect FillTool::updateHoverPreview()
{
    clearHoverPreview();
    if (!previewVisible())
        return {};
    const bool secondary = host().peekSecondaryHeld();
    const uchar colour = secondary ? host().secondaryIndex() : host().penIndex();
    const uchar altColour = secondary ? host().penIndex() : host().secondaryIndex();
    const QPoint pixel = host().hoverPixel();
    const std::optional<ContourPlacement> contour = previewContourPlacement();
    Colormap& simulated = host().fillSimulationColormap();
    const QRect changed = contour
        ? host().applySymmetricContour(simulated, pixel, colour, altColour, *contour, false)
        : host().applySymmetricFloodFill(simulated, pixel, colour, altColour, false);
    if (changed.isEmpty())
        return {};
    m_previewImage = host().renderSimulatedDiff(simulated, changed);
    m_previewOrigin = changed.topLeft();
    return host().canvasRectToView(changed);
}

void FillTool::paintArtworkPreview(QPainter& painter)
{
    if (!m_previewImage.isNull())
        painter.drawImage(m_previewOrigin, m_previewImage);
}
