// The selection commands of the canvas view, handed to its select tool.

#include "view/canvas_area.h"
#include "view/tools/select_tool.h"

void CanvasArea::setSelectionTool(SelectionTool kind)
{
    if (kind == SelectionTool::None) {
        m_selectTool->setTool(kind);
        activateTool(m_selectTool.get(), false);
        return;
    }
    activateTool(m_selectTool.get(), true);
    m_selectTool->setTool(kind);
}

SelectionTool CanvasArea::selectionTool() const
{
    return m_activeTool == m_selectTool.get() ? m_selectTool->tool() : SelectionTool::None;
}

bool CanvasArea::hasSelection() const
{
    return m_selectTool->hasSelection();
}

bool CanvasArea::selectionPresent() const
{
    return m_selectTool->hasSelection() || m_selectTool->floating();
}

void CanvasArea::selectAll()
{
    m_selectTool->selectAll();
}

void CanvasArea::deselect()
{
    m_selectTool->deselect();
}

void CanvasArea::invertSelection()
{
    m_selectTool->invertSelection();
}

void CanvasArea::flipSelection(Qt::Orientation orientation)
{
    m_selectTool->flipSelection(orientation);
}

void CanvasArea::cutSelection()
{
    m_selectTool->cutSelection();
}

void CanvasArea::copySelection()
{
    m_selectTool->copySelection();
}

void CanvasArea::notifySelectionChanged()
{
    Q_EMIT selectionChanged();
}
