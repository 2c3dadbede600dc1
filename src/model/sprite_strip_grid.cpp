#include "model/sprite_strip_grid.h"

#include "model/sprite_rows.h"

#include <algorithm>

SpriteStripGrid spriteStripGrid(const CanvasRegion& region, CanvasMode mode, const CanvasLayoutSpec& layout)
{
    SpriteStripGrid grid;
    grid.rect = region.rect;
    grid.horizontal = region.side == SpriteStripSide::Top || region.side == SpriteStripSide::Bottom;
    grid.unitWidth = spriteColumnWidth(mode);
    const int width = region.rect.right() - region.rect.left() + 1;
    const int whole = width / grid.unitWidth;
    const int rest = width % grid.unitWidth;
    if (!grid.horizontal) {
        grid.columns = whole;
        grid.rows = 8;
        return grid;
    }
    const SpriteAlignment alignment
        = region.side == SpriteStripSide::Top ? layout.topAlignment : layout.bottomAlignment;
    grid.rows = 1;
    grid.partialWidth = rest;
    grid.columns = rest > 0 ? whole + 1 : whole;
    grid.partialFirst = alignment == SpriteAlignment::Right && rest > 0;
    return grid;
}

QRect SpriteStripGrid::unitRect(int column, int row) const
{
    if (!horizontal) {
        const QRect unit(
            rect.left() + column * unitWidth, spriteRowTop(row), unitWidth, spriteRowHeight(row));
        return unit.intersected(rect);
    }
    int offset = column * unitWidth;
    int width = unitWidth;
    if (partialFirst) {
        offset = column == 0 ? 0 : (column - 1) * unitWidth + partialWidth;
        width = column == 0 ? partialWidth : unitWidth;
    } else if (partialWidth > 0 && column == columns - 1) {
        width = partialWidth;
    }
    return QRect(rect.left() + offset, rect.top(), width, rect.height()).intersected(rect);
}

int SpriteStripGrid::columnAt(int x) const
{
    const int d = std::clamp(x - rect.left(), 0, std::max(0, rect.right() - rect.left()));
    if (!partialFirst)
        return std::min(d / unitWidth, columns - 1);
    if (d < partialWidth)
        return 0;
    return std::min((d - partialWidth) / unitWidth + 1, columns - 1);
}

int SpriteStripGrid::rowAt(int y) const
{
    return horizontal ? 0 : spriteRowAt(y);
}

QRect spriteUnitRect(const CanvasRegion& region, CanvasMode mode, int column, int row)
{
    const int unitWidth = spriteColumnWidth(mode);
    const QRect unit(
        region.rect.left() + column * unitWidth, spriteRowTop(row), unitWidth, spriteRowHeight(row));
    return unit.intersected(region.rect);
}
