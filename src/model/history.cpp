#include "model/history.h"

#include <algorithm>

void History::push(HistoryEntry entry)
{
    if (entry.changes.isEmpty())
        return;
    if (m_index < count())
        m_entries.resize(m_index);
    m_entries.append(std::move(entry));
    ++m_index;
    ++m_revision;
}

const HistoryEntry* History::undo()
{
    if (m_index < 1)
        return nullptr;
    --m_index;
    return &m_entries.at(m_index);
}

const HistoryEntry* History::redo()
{
    if (m_index >= count())
        return nullptr;
    return &m_entries.at(m_index++);
}

std::optional<QPoint> History::strokeAnchor() const
{
    for (int i = m_index - 1; i >= 0; --i) {
        const HistoryEntry& entry = m_entries.at(i);
        if (historyEntryKindEndsStrokeChain(entry.kind))
            return std::nullopt;
        if (entry.strokeAnchor)
            return entry.strokeAnchor;
    }
    return std::nullopt;
}

void History::clear()
{
    if (m_entries.isEmpty())
        return;
    m_entries.clear();
    m_index = 0;
    ++m_revision;
}

void History::restore(QList<HistoryEntry> entries, int index)
{
    // An entry without changes is not an edit; keeping one would break undo's promise
    // that every step changes something.
    entries.removeIf([](const HistoryEntry& entry) { return entry.changes.isEmpty(); });
    m_entries = std::move(entries);
    m_index = std::clamp(index, 0, count());
    ++m_revision;
}
