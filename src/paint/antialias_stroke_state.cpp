#include "paint/antialias_stroke_state.h"

#include <limits>

void AntialiasStrokeState::ensureSize(const QSize& size)
{
    const int width = std::max(0, size.width());
    const int height = std::max(0, size.height());
    if (width == m_width && height == m_height)
        return;
    m_width = width;
    m_height = height;
    const std::size_t count = std::size_t(width) * std::size_t(height);
    m_coverage.assign(count, 0);
    m_underlying.assign(count, 0);
    clearDirty();
}

void AntialiasStrokeState::reset()
{
    const QRect dirty = dirtyRect();
    if (!dirty.isEmpty()) {
        for (int y = dirty.top(); y <= dirty.bottom(); ++y) {
            uchar* line = m_coverage.data() + index(dirty.left(), y);
            std::fill(line, line + dirty.width(), uchar(0));
        }
    }
    clearDirty();
}

QRect AntialiasStrokeState::dirtyRect() const
{
    if (m_dirtyRight < m_dirtyLeft || m_dirtyBottom < m_dirtyTop)
        return {};
    return QRect(QPoint(m_dirtyLeft, m_dirtyTop), QPoint(m_dirtyRight, m_dirtyBottom));
}

void AntialiasStrokeState::clearDirty()
{
    m_dirtyLeft = std::numeric_limits<int>::max();
    m_dirtyTop = std::numeric_limits<int>::max();
    m_dirtyRight = std::numeric_limits<int>::min();
    m_dirtyBottom = std::numeric_limits<int>::min();
}
