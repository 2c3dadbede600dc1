#include "view/reference_grid.h"

#include "model/canvas_region.h"
#include "model/sprite_strip_grid.h"

#include <algorithm>
#include <cmath>

namespace {

// The first side-strip sprite row starts 13 lines down; each row after it is one
// 21-line hardware sprite.
constexpr int firstSpriteRowLine = 13;
constexpr int spriteRowLines = 21;

bool meets(const QLineF& line, const QRectF& visible)
{
    const QRectF bounds = QRectF(line.p1(), line.p2()).normalized();
    return bounds.right() >= visible.left() && bounds.left() <= visible.right()
        && bounds.bottom() >= visible.top() && bounds.top() <= visible.bottom();
}

void addVertical(QList<QLineF>& lines, double x, const QRect& area)
{
    lines << QLineF(x, area.top(), x, area.top() + area.height());
}

void addHorizontal(QList<QLineF>& lines, double y, const QRect& area)
{
    lines << QLineF(area.left(), y, area.left() + area.width(), y);
}

} // namespace

QList<QLineF> referenceGridLines(
    CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout, const QRectF& visible)
{
    QList<QLineF> lines;
    for (const CanvasRegion& region : canvasRegions(mode, canvasSize, layout)) {
        const QRect area = region.rect;
        if (area.isEmpty())
            continue;
        if (!region.isSpriteStrip()) {
            // Only the cell lines inside the window: a huge canvas costs what the window shows.
            const QSize cell = canvasModeCellSize(mode);
            const auto firstStep = [](int origin, double from, int step) {
                const int steps = std::max(0, int(std::ceil((from - origin) / step)));
                return origin + steps * step;
            };
            const double lastX = std::min<double>(visible.right(), area.left() + area.width());
            for (int x = firstStep(area.left(), visible.left(), cell.width()); x <= lastX; x += cell.width())
                addVertical(lines, x, area);
            const double lastY = std::min<double>(visible.bottom(), area.top() + area.height());
            for (int y = firstStep(area.top(), visible.top(), cell.height()); y <= lastY; y += cell.height())
                addHorizontal(lines, y, area);
        } else if (!region.isHorizontalStrip()) {
            for (int x = area.left(); x <= area.left() + area.width(); x += spriteColumnWidth(mode))
                addVertical(lines, x, area);
            addHorizontal(lines, area.top(), area);
            for (int y = area.top() + firstSpriteRowLine; y <= area.bottom(); y += spriteRowLines)
                addHorizontal(lines, y, area);
        } else {
            const SpriteStripGrid grid = spriteStripGrid(region, mode, layout);
            for (int column = 0; column < grid.columns; ++column)
                addVertical(lines, grid.unitRect(column, 0).left(), area);
            addVertical(lines, area.left() + area.width(), area);
            addHorizontal(lines, area.top(), area);
            addHorizontal(lines, area.top() + area.height(), area);
        }
    }
    QList<QLineF> shown;
    for (const QLineF& line : lines) {
        if (meets(line, visible))
            shown << line;
    }
    return shown;
}

QList<QLineF> referenceGridSeamLines(const QSize& canvasSize, int screensAcross)
{
    QList<QLineF> lines;
    for (int screen = 1; screen < screensAcross; ++screen) {
        const double x = double(canvasSize.width()) * screen / screensAcross;
        lines << QLineF(x, 0, x, canvasSize.height());
    }
    return lines;
}
