// Tool activation, paint settings, modifier keys, colour sampling and the hover preview
// of the canvas view.

#include "document/project.h"
#include "view/canvas_area.h"
#include "view/tools/draw_tool.h"
#include "view/tools/eraser_tool.h"
#include "view/tools/eyedropper_tool.h"
#include "view/tools/fill_tool.h"
#include "view/tools/pan_tool.h"
#include "view/tools/shape_tool.h"

void CanvasArea::activateTool(CanvasTool* tool, bool on)
{
    if ((m_activeTool == tool) == on)
        return;
    if (on) {
        // The window keeps its tool actions exclusive; the view does not rely on it.
        CanvasTool* previous = m_activeTool;
        m_activeTool = tool;
        if (previous != m_drawTool.get())
            previous->deactivate();
        tool->activate();
    } else {
        tool->deactivate();
        m_activeTool = m_drawTool.get();
        m_drawTool->activate();
    }
}

void CanvasArea::setEraserToolActive(bool on)
{
    activateTool(m_eraserTool.get(), on);
}

void CanvasArea::setEyedropperToolActive(bool on)
{
    activateTool(m_eyedropperTool.get(), on);
}

void CanvasArea::setPanToolActive(bool on)
{
    activateTool(m_panTool.get(), on);
}

bool CanvasArea::eraserToolActive() const
{
    return m_activeTool == m_eraserTool.get();
}

bool CanvasArea::eyedropperToolActive() const
{
    return m_activeTool == m_eyedropperTool.get();
}

bool CanvasArea::panToolActive() const
{
    return m_activeTool == m_panTool.get();
}

void CanvasArea::setPenIndex(uchar index)
{
    if (index == m_penIndex)
        return;
    m_penIndex = index;
    m_shapeTool->retargetSelected([index](StagedShape& shape) { shape.penIndex = index; });
    refreshHoverPreview();
    Q_EMIT penColorsChanged();
}

void CanvasArea::setSecondaryIndex(uchar index)
{
    if (index == m_secondaryIndex)
        return;
    m_secondaryIndex = index;
    m_shapeTool->retargetSelected([index](StagedShape& shape) { shape.secondaryIndex = index; });
    refreshHoverPreview();
    Q_EMIT penColorsChanged();
}

void CanvasArea::setPenWidth(int width)
{
    m_brush.setWidth(width);
    m_shapeTool->retargetSelected([this](StagedShape& shape) { shape.penWidth = m_brush.width(); });
    refreshHoverPreview();
    Q_EMIT statusChanged();
}

void CanvasArea::setBrushShape(BrushShape shape)
{
    m_brush.setShape(shape);
    m_shapeTool->retargetSelected([shape](StagedShape& staged) { staged.brushShape = shape; });
    refreshHoverPreview();
    Q_EMIT statusChanged();
}

void CanvasArea::setPixelPerfectStrokes(bool on)
{
    m_brush.setPixelPerfect(on);
    refreshHoverPreview();
}

void CanvasArea::setPressureWidening(bool on)
{
    m_pressureWidening = on;
    refreshHoverPreview();
}

void CanvasArea::setAntialiasedStrokes(bool on)
{
    m_brush.setAntialiased(on);
    m_shapeTool->retargetSelected([on](StagedShape& shape) { shape.antialiased = on; });
    refreshHoverPreview();
}

void CanvasArea::setAntialiasColorDistance(ColorDistanceMetric metric)
{
    m_antialiasMetric = metric;
    refreshHoverPreview();
}

void CanvasArea::setAntialiasBlendOverrides(const QList<AntialiasBlendOverride>& overrides)
{
    m_antialiasOverrides = overrides;
    refreshHoverPreview();
}

void CanvasArea::setTexture(const Texture& texture)
{
    m_texture = texture;
    m_shapeTool->retargetSelected([&texture](StagedShape& shape) { shape.texture = texture; });
    refreshHoverPreview();
}

void CanvasArea::setTextureMode(TextureMode mode)
{
    m_textureMode = mode;
    m_shapeTool->retargetSelected([mode](StagedShape& shape) { shape.textureMode = mode; });
    refreshHoverPreview();
}

bool CanvasArea::strokeInProgress() const
{
    return m_drawTool->isStroking() || m_eraserTool->isStroking();
}

bool CanvasArea::viewNavigationActive() const
{
    return m_panning || m_spaceHeld || m_rotateKeyHeld || m_rotating;
}

DrawTool* CanvasArea::busyDrawTool() const
{
    for (DrawTool* tool :
        {static_cast<DrawTool*>(m_drawTool.get()), static_cast<DrawTool*>(m_eraserTool.get())}) {
        if (tool->isStroking() || tool->isSampling())
            return tool;
    }
    return nullptr;
}

DrawTool* CanvasArea::previewingDrawTool() const
{
    if (DrawTool* busy = busyDrawTool())
        return busy;
    if (m_activeTool == m_drawTool.get())
        return m_drawTool.get();
    if (m_activeTool == m_eraserTool.get())
        return m_eraserTool.get();
    return nullptr;
}

bool CanvasArea::samplingCursorArmed() const
{
    const bool penLike = m_activeTool == m_drawTool.get() || m_activeTool == m_eraserTool.get();
    return penLike && m_altHeld && !strokeInProgress();
}

void CanvasArea::refreshHoverPreview()
{
    DrawTool* previewer = previewingDrawTool();
    for (DrawTool* tool :
        {static_cast<DrawTool*>(m_drawTool.get()), static_cast<DrawTool*>(m_eraserTool.get())}) {
        if (tool != previewer)
            tool->clearHoverPreview();
    }
    const bool allowed = previewer && m_hoverValid && !viewNavigationActive() && !samplingCursorArmed()
        && !previewer->isSampling();
    QRect next;
    if (allowed)
        next = previewer->updateHoverPreview();
    else if (previewer)
        previewer->clearHoverPreview();
    if (m_activeTool == m_fillTool.get())
        next = m_fillTool->updateHoverPreview();
    else
        m_fillTool->clearHoverPreview();
    refreshTrackedRect(m_previewViewRect, next);
}

void CanvasArea::refreshTrackedRect(QRect& tracked, const QRect& next)
{
    const QRect dirty = tracked | next;
    if (!dirty.isEmpty())
        update(dirty);
    tracked = next;
}

void CanvasArea::samplePenColor(QPoint pixel, bool secondary)
{
    const Colormap& colormap = m_project->colormap();
    if (!colormap.contains(pixel.x(), pixel.y()))
        return;
    const uchar index = colormap.pixel(pixel.x(), pixel.y());
    uchar& target = secondary ? m_secondaryIndex : m_penIndex;
    if (index == target)
        return;
    target = index;
    refreshHoverPreview();
    Q_EMIT penColorsChanged();
}

void CanvasArea::syncModifiers(Qt::KeyboardModifiers modifiers)
{
    m_shiftHeld = modifiers & Qt::ShiftModifier;
    m_brushAlignment = (modifiers & Qt::ControlModifier) ? BrushAlignment::Canvas : BrushAlignment::Screen;
    const bool alt = modifiers & Qt::AltModifier;
    if (alt != m_altHeld) {
        m_altHeld = alt;
        if (!viewNavigationActive())
            restoreIdleCursor();
    }
}

bool CanvasArea::handleModifierKey(int key, bool down)
{
    switch (key) {
    case Qt::Key_C:
        m_peekSecondaryHeld = down;
        break;
    case Qt::Key_Alt:
        m_altHeld = down;
        restoreIdleCursor();
        break;
    case Qt::Key_Shift:
        m_shiftHeld = down;
        break;
    case Qt::Key_Control:
        m_brushAlignment = down ? BrushAlignment::Canvas : BrushAlignment::Screen;
        break;
    default:
        return false;
    }
    refreshHoverPreview();
    return true;
}
