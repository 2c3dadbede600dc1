#include "paint/shape_stage.h"

#include <algorithm>

int ShapeStage::appendShape(const StagedShape& shape)
{
    beginOperation();
    m_shapes.append(shape);
    m_selection = {int(m_shapes.size()) - 1};
    return m_selection.first();
}

void ShapeStage::removeSelected()
{
    if (m_selection.isEmpty())
        return;
    beginOperation();
    for (auto it = m_selection.crbegin(); it != m_selection.crend(); ++it)
        m_shapes.removeAt(*it);
    m_selection.clear();
}

void ShapeStage::moveSelection(QPointF delta)
{
    for (const int index : m_selection)
        m_shapes[index].centre += delta;
}

void ShapeStage::beginOperation()
{
    m_undo.append({m_shapes, m_selection});
}

bool ShapeStage::undo()
{
    if (m_undo.isEmpty())
        return false;
    Snapshot last = m_undo.takeLast();
    m_shapes = std::move(last.shapes);
    m_selection = std::move(last.selection);
    return true;
}

void ShapeStage::clear()
{
    m_shapes.clear();
    m_selection.clear();
    m_undo.clear();
}

void ShapeStage::selectOnly(int index)
{
    m_selection = {index};
}

void ShapeStage::toggleSelected(int index)
{
    if (m_selection.removeOne(index))
        return;
    m_selection.insert(std::lower_bound(m_selection.begin(), m_selection.end(), index), index);
}

void ShapeStage::cycleSelection()
{
    if (m_shapes.isEmpty())
        return;
    const int single = singleSelection();
    selectOnly(single < 0 ? 0 : (single + 1) % int(m_shapes.size()));
}
