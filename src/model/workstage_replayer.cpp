#include "model/workstage_replayer.h"

#include <algorithm>
#include <cmath>

WorkstageReplayer::WorkstageReplayer(
    const Colormap& current, const History& history, const WorkstageColors& currentColors)
    : m_history(history)
    , m_applied(history.index())
    , m_colormap(current)
    , m_colors(currentColors)
    , m_stage(m_applied)
{
}

void WorkstageReplayer::advanceTo(int stage)
{
    const QList<HistoryEntry>& entries = m_history.entries();
    if (!m_rewound) {
        m_rewound = true;
        const int first = std::clamp(stage, 0, m_applied);
        while (m_stage > first)
            applyEntry(entries.at(--m_stage), true);
        return;
    }
    while (m_stage < stage && m_stage < m_applied) {
        applyEntry(entries.at(m_stage), false);
        ++m_stage;
    }
}

const Colormap& WorkstageReplayer::colormapAt(int stage)
{
    advanceTo(stage);
    return m_colormap;
}

WorkstageColors WorkstageReplayer::colorsAt(int stage)
{
    advanceTo(stage);
    return m_colors;
}

void WorkstageReplayer::applyEntry(const HistoryEntry& entry, bool undo)
{
    const auto apply = [&](const HistoryChange& change) {
        if (const ColorIndexChange* slot = change.colorIndexChange()) {
            const uchar index = undo ? slot->beforeIndex : slot->afterIndex;
            if (slot->slot == HistoryColorSlot::Background)
                m_colors.background = index;
            else if (slot->slot == HistoryColorSlot::Border)
                m_colors.border = index;
        } else {
            // A damaged crop's stand-in zeros are no picture: like the document's undo,
            // restoreRegion skips it, so the frames match what undoing shows.
            change.restoreRegion(m_colormap, !undo);
        }
    };
    if (undo)
        std::for_each(entry.changes.crbegin(), entry.changes.crend(), apply);
    else
        std::for_each(entry.changes.cbegin(), entry.changes.cend(), apply);
}

QList<int> workstageIndices(int count, int total, WorkstageReduction reduction)
{
    QList<int> indices;
    if (count < 1 || total < 1)
        return indices;
    const double exponent = reduction == WorkstageReduction::Smart ? 2.5 : 1.0;
    indices.reserve(count);
    for (int i = 0; i < count; ++i) {
        const double share = std::pow(double(i + 1) / double(count), exponent);
        const int index = int(share * double(total - 1));
        indices.append(std::clamp(index, 0, total - 1));
    }
    return indices;
}
