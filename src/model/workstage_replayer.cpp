#include "model/workstage_replayer.h"

#include <algorithm>
#include <cmath>
#include <utility>

WorkstageReplayer::WorkstageReplayer(
    const Colormap& current, const History& history, const WorkstageColors& currentColors)
    : m_history(history)
    , m_applied(history.index())
    , m_colormap(current)
    , m_colors(currentColors)
    , m_stage(m_applied)
{
}

namespace {

constexpr std::size_t forwardPrefetchSteps = 8;

} // namespace

inline void WorkstageReplayer::applyStep(const ForwardStep& step)
{
    switch (step.kind) {
    case ForwardStep::Kind::Nothing:
        break;
    case ForwardStep::Kind::Pixels:
        m_colormap.writeRows(step.x, step.y, step.width, step.height, static_cast<const uchar*>(step.source));
        break;
    case ForwardStep::Kind::Redo:
        static_cast<const HistoryChange*>(step.source)->restoreRegion(m_colormap, true);
        break;
    case ForwardStep::Kind::Background:
        m_colors.background = step.colorIndex;
        break;
    case ForwardStep::Kind::Border:
        m_colors.border = step.colorIndex;
        break;
    }
}

void WorkstageReplayer::walkTo(int stage)
{
    if (!m_rewound) {
        rewindTo(stage);
        return;
    }
    while (m_stage < stage && !m_forward.empty()) {
        bool endsStage = false;
        while (!endsStage) {
            // The crops lie all over the heap; asking for one a few steps ahead hides
            // the wait for it behind the copies in between.
            if (m_forward.size() > forwardPrefetchSteps)
                __builtin_prefetch(m_forward[m_forward.size() - forwardPrefetchSteps].source);
            endsStage = m_forward.back().endsStage;
            applyStep(m_forward.back());
            m_forward.pop_back();
        }
        ++m_stage;
    }
}

// Part of the rewind loop: as a call of its own, every change would pay for the call's
// register saves, which cost about as much as copying a small crop.
[[gnu::always_inline]] inline void WorkstageReplayer::rewindChange(const HistoryChange& change)
{
    if (change.isRegionChange()) {
        const QRect rect = change.regionRect();
        const uchar* before = change.plainPixels(false);
        const uchar* after = change.plainPixels(true);
        if (before && after && m_colormap.holds(rect)) {
            m_colormap.writeRows(rect.x(), rect.y(), rect.width(), rect.height(), before);
            m_forward.push_back({ForwardStep::Kind::Pixels, false, 0, quint16(rect.x()), quint16(rect.y()),
                quint16(rect.width()), quint16(rect.height()), after});
        } else {
            // A damaged crop's stand-in zeros are no picture: like the document's undo,
            // restoreRegion skips it.
            change.restoreRegion(m_colormap, false);
            m_forward.push_back({ForwardStep::Kind::Redo, false, 0, 0, 0, 0, 0, &change});
        }
        return;
    }
    ForwardStep step;
    if (const ColorIndexChange* slot = change.colorIndexChange()) {
        if (slot->slot == HistoryColorSlot::Background) {
            step.kind = ForwardStep::Kind::Background;
            step.colorIndex = std::exchange(m_colors.background, slot->beforeIndex);
        } else if (slot->slot == HistoryColorSlot::Border) {
            step.kind = ForwardStep::Kind::Border;
            step.colorIndex = std::exchange(m_colors.border, slot->beforeIndex);
        }
    }
    m_forward.push_back(step);
}

void WorkstageReplayer::rewindTo(int stage)
{
    m_rewound = true;
    const QList<HistoryEntry>& entries = m_history.entries();
    const int first = std::clamp(stage, 0, m_applied);
    m_forward.reserve(std::size_t(m_applied - first));
    while (m_stage > first) {
        const HistoryEntry& entry = entries.at(--m_stage);
        // Steps are noted last change first, so the forward walk, which takes them from
        // the back, meets them first change first and ends the stage on the entry's last
        // one.
        const std::size_t stageEnd = m_forward.size();
        const HistoryChange* const firstChange = entry.changes.begin();
        for (const HistoryChange* change = entry.changes.end(); change != firstChange;)
            rewindChange(*--change);
        if (m_forward.size() == stageEnd)
            m_forward.emplace_back();
        m_forward[stageEnd].endsStage = true;
    }
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
