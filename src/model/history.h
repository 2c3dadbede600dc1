#pragma once

#include "model/history_entry.h"

#include <QList>
#include <QPoint>

#include <optional>

// The undo list: unlimited, never merged, only the redo tail is ever discarded (by a new
// edit). `index` counts the entries currently applied; `revision` changes with every
// push, clear and restore and never goes back, so together they tell whether the
// document still matches the file it was saved to.
class History {
public:
    // Records a finished edit, dropping the redo tail. An entry without changes is not an
    // edit and leaves the history exactly as it was.
    void push(HistoryEntry entry);

    // The entry to take back or to apply again, or null at either end. The pointer stays
    // valid until the next push, clear or restore.
    const HistoryEntry* undo();
    const HistoryEntry* redo();

    // Where the next Shift-connected line starts: the anchor of the latest applied stroke,
    // unless a canvas-wide replacement came after it.
    std::optional<QPoint> strokeAnchor() const;

    void clear();
    // Replaces the list with one read from a file; the index is clamped to the list.
    void restore(QList<HistoryEntry> entries, int index);

    const QList<HistoryEntry>& entries() const { return m_entries; }
    int count() const { return int(m_entries.size()); }
    int index() const { return m_index; }
    int revision() const { return m_revision; }
    bool canUndo() const { return m_index > 0; }
    bool canRedo() const { return m_index < count(); }

private:
    QList<HistoryEntry> m_entries;
    int m_index = 0;
    int m_revision = 0;
};
