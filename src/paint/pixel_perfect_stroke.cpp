#include "paint/pixel_perfect_stroke.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

void PixelPerfectStroke::begin(QPoint p)
{
    m_hasCommitted = false;
    m_pending = p;
    m_hasPending = true;
}

void PixelPerfectStroke::step(QPoint p, QList<QPoint>& out)
{
    if (!m_hasPending) {
        m_pending = p;
        m_hasPending = true;
        return;
    }
    if (m_hasCommitted) {
        const QPoint a = m_committed;
        const QPoint q = m_pending;
        const bool horizontalThenVertical
            = a.x() != q.x() && q.y() == a.y() && p.x() == q.x() && p.y() != a.y();
        const bool verticalThenHorizontal
            = a.x() == q.x() && p.x() != q.x() && p.y() == q.y() && p.y() != a.y();
        if (horizontalThenVertical || verticalThenHorizontal) {
            m_pending = p;
            return;
        }
    }
    out.append(m_pending);
    m_committed = m_pending;
    m_hasCommitted = true;
    m_pending = p;
}

QList<QPoint> PixelPerfectStroke::moveTo(QPoint p)
{
    QList<QPoint> emitted;
    if (!m_hasPending || p == m_pending)
        return emitted;
    const QPoint start = m_pending;
    const int dx = p.x() - start.x();
    const int dy = p.y() - start.y();
    const int steps = std::max(std::abs(dx), std::abs(dy));
    for (int i = 1; i <= steps; ++i) {
        const QPoint next(int(std::lround(start.x() + double(i) * dx / steps)),
            int(std::lround(start.y() + double(i) * dy / steps)));
        step(next, emitted);
    }
    return emitted;
}

QList<QPoint> PixelPerfectStroke::finish()
{
    QList<QPoint> last;
    if (m_hasPending)
        last.append(m_pending);
    m_hasCommitted = false;
    m_hasPending = false;
    return last;
}

std::optional<QPoint> PixelPerfectStroke::pending() const
{
    return m_hasPending ? std::optional<QPoint>(m_pending) : std::nullopt;
}
