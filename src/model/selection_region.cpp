#include "model/selection_region.h"

#include <QList>
#include <QRect>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

// Integer Bresenham from a to b, both ends included.
template <typename Visit> void bresenhamLine(QPoint a, QPoint b, Visit visit)
{
    const int dx = std::abs(b.x() - a.x());
    const int dy = -std::abs(b.y() - a.y());
    const int sx = a.x() < b.x() ? 1 : -1;
    const int sy = a.y() < b.y() ? 1 : -1;
    int error = dx + dy;
    int x = a.x();
    int y = a.y();
    for (;;) {
        visit(x, y);
        if (x == b.x() && y == b.y())
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

// Uniting pixel by pixel costs a region rebuild per pixel; runs per row are built once.
QRegion regionOfPixels(std::map<int, std::vector<int>>& rows)
{
    QList<QRect> rects;
    for (auto& [y, xs] : rows) {
        std::sort(xs.begin(), xs.end());
        xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
        std::size_t start = 0;
        for (std::size_t i = 1; i <= xs.size(); ++i) {
            if (i == xs.size() || xs[i] != xs[i - 1] + 1) {
                rects.append(QRect(QPoint(xs[start], y), QPoint(xs[i - 1], y)));
                start = i;
            }
        }
    }
    QRegion region;
    region.setRects(rects.constData(), int(rects.size()));
    return region;
}

} // namespace

SelectionCompose selectionComposeForModifiers(QFlags<Qt::KeyboardModifier> modifiers)
{
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    const bool alt = modifiers.testFlag(Qt::AltModifier);
    if (shift && alt)
        return SelectionCompose::Intersect;
    if (shift)
        return SelectionCompose::Add;
    if (alt)
        return SelectionCompose::Subtract;
    return SelectionCompose::Replace;
}

QRegion composeSelection(const QRegion& base, const QRegion& operand, SelectionCompose compose)
{
    switch (compose) {
    case SelectionCompose::Add:
        return base.united(operand);
    case SelectionCompose::Subtract:
        return base.subtracted(operand);
    case SelectionCompose::Intersect:
        return base.intersected(operand);
    case SelectionCompose::Replace:
        break;
    }
    return operand;
}

QRegion mirrorSelectionRegion(const QRegion& region, Qt::Orientation orientation)
{
    if (region.isEmpty())
        return {};
    const QRect bounds = region.boundingRect();
    QList<QRect> mirrored;
    mirrored.reserve(region.rectCount());
    for (const QRect& rect : region) {
        if (orientation == Qt::Horizontal) {
            const int sum = bounds.left() + bounds.right();
            mirrored.append(
                QRect(QPoint(sum - rect.right(), rect.top()), QPoint(sum - rect.left(), rect.bottom())));
        } else {
            const int sum = bounds.top() + bounds.bottom();
            mirrored.append(
                QRect(QPoint(rect.left(), sum - rect.bottom()), QPoint(rect.right(), sum - rect.top())));
        }
    }
    // Mirroring keeps the bands but reverses their order (or the order inside each band);
    // sorting restores the order setRects expects, without rebuilding rect by rect.
    std::sort(mirrored.begin(), mirrored.end(), [](const QRect& a, const QRect& b) {
        return a.top() != b.top() ? a.top() < b.top() : a.left() < b.left();
    });
    QRegion result;
    result.setRects(mirrored.constData(), int(mirrored.size()));
    return result;
}

QRegion lassoToRegion(const QPolygon& points)
{
    if (points.isEmpty())
        return {};
    QRegion interior;
    if (points.size() > 2)
        interior = QRegion(points, Qt::WindingFill);
    std::map<int, std::vector<int>> outline;
    for (qsizetype i = 0; i < points.size(); ++i) {
        bresenhamLine(points[i], points[(i + 1) % points.size()],
            [&outline](int x, int y) { outline[y].push_back(x); });
    }
    return interior.united(regionOfPixels(outline));
}
