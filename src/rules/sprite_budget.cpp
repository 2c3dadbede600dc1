#include "rules/sprite_budget.h"

#include "model/colormap.h"
#include "model/sprite_strip_grid.h"

#include <algorithm>

uchar borderSpriteBackground(const ClashContext& ctx, SpriteStripSide side)
{
    switch (side) {
    case SpriteStripSide::Top:
        return ctx.slots[HistoryColorSlot::TopBorderBackground];
    case SpriteStripSide::Bottom:
        return ctx.slots[HistoryColorSlot::BottomBorderBackground];
    case SpriteStripSide::None:
    case SpriteStripSide::Left:
    case SpriteStripSide::Right:
        break;
    }
    return 0;
}

QList<int> spriteColumnPixelCounts(const Colormap& canvas, const SpriteStripGrid& grid, uchar background)
{
    QList<int> counts(std::max(0, grid.columns), 0);
    for (int column = 0; column < grid.columns; ++column) {
        const QRect unit = grid.unitRect(column, 0) & canvas.rect();
        if (unit.isEmpty())
            continue;
        int count = 0;
        for (int y = unit.top(); y <= unit.bottom(); ++y) {
            const uchar* line = canvas.scanLine(y);
            count += int(std::count_if(line + unit.left(), line + unit.right() + 1,
                [=](uchar index) { return index != background; }));
        }
        counts[column] = count;
    }
    return counts;
}

QList<QRect> spriteBudgetReductionRects(
    const ClashContext& ctx, const Colormap& canvas, const CanvasRegion& region)
{
    if (!region.isHorizontalStrip())
        return {};
    const SpriteStripGrid grid = spriteStripGrid(region, ctx.mode, ctx.layout);
    const QList<int> counts = spriteColumnPixelCounts(canvas, grid, borderSpriteBackground(ctx, region.side));

    QList<int> occupied;
    for (int column = 0; column < counts.size(); ++column) {
        if (counts[column] > 0)
            occupied.append(column);
    }
    if (occupied.size() <= borderSpriteBudget)
        return {};

    const SpriteAlignment alignment
        = region.side == SpriteStripSide::Top ? ctx.layout.topAlignment : ctx.layout.bottomAlignment;
    const bool nearerAlignedEdgeFirst = alignment == SpriteAlignment::Left;
    std::sort(occupied.begin(), occupied.end(), [&](int a, int b) {
        if (counts[a] != counts[b])
            return counts[a] > counts[b];
        return nearerAlignedEdgeFirst ? a < b : a > b;
    });

    QList<int> victims(occupied.begin() + borderSpriteBudget, occupied.end());
    std::sort(victims.begin(), victims.end());
    QList<QRect> rects;
    rects.reserve(victims.size());
    for (int column : victims)
        rects.append(grid.unitRect(column, 0) & region.rect);
    return rects;
}

QList<QRect> spriteCountViolationRects(
    const ClashContext& ctx, const Colormap& canvas, const CanvasRegion& region)
{
    return spriteBudgetReductionRects(ctx, canvas, region);
}
