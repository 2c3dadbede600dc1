#pragma once

#include "paint/staged_shape.h"

#include <QList>

// The shapes waiting to be committed, with a selection and a small undo stack of their
// own: editing staged shapes is not an edit of the document until the commit.
class ShapeStage {
public:
    const QList<StagedShape>& shapes() const { return m_shapes; }
    QList<StagedShape>& shapes() { return m_shapes; }
    bool isEmpty() const { return m_shapes.isEmpty(); }
    int count() const { return int(m_shapes.size()); }

    // A stage step: appends and selects only the new shape; returns its index.
    int appendShape(const StagedShape& shape);
    // A stage step when anything is selected.
    void removeSelected();
    // The caller takes the snapshot.
    void moveSelection(QPointF delta);
    void beginOperation();
    bool canUndo() const { return !m_undo.isEmpty(); }
    bool undo();
    void clear();

    void selectOnly(int index);
    void toggleSelected(int index);
    void clearSelection() { m_selection.clear(); }
    bool isSelected(int index) const { return m_selection.contains(index); }
    // Ascending.
    QList<int> selectedIndices() const { return m_selection; }
    // The index when exactly one shape is selected, else -1.
    int singleSelection() const { return m_selection.size() == 1 ? m_selection.first() : -1; }
    void cycleSelection();

private:
    struct Snapshot {
        QList<StagedShape> shapes;
        QList<int> selection;
    };

    QList<StagedShape> m_shapes;
    QList<int> m_selection;
    QList<Snapshot> m_undo;
};
