#include "rules/unresolved_clashes.h"

#include "model/colormap.h"
#include "model/sprite_strip_grid.h"
#include "rules/cell_color_limit.h"
#include "rules/sprite_colors.h"

namespace {

bool bitmapHasClash(const ClashContext& ctx, const Colormap& canvas, const CanvasRegion& region)
{
    const QRect area = region.rect & canvas.rect();
    if (area.isEmpty())
        return false;
    const QSize cellSize = canvasModeCellSize(ctx.mode);
    for (int top = area.top(); top <= area.bottom(); top += cellSize.height()) {
        for (int left = area.left(); left <= area.right(); left += cellSize.width()) {
            const QRect cell = QRect(QPoint(left, top), cellSize) & area;
            if (cellExceedsColorLimit(ctx.mode, canvas, cell, ctx.background()))
                return true;
        }
    }
    return false;
}

bool stripHasClash(const ClashContext& ctx, const Colormap& canvas, const CanvasRegion& region)
{
    const SpriteSharedColors shared = spriteSharedColors(ctx, region);
    const SpriteStripGrid grid = spriteStripGrid(region, ctx.mode, ctx.layout);
    for (int row = 0; row < grid.rows; ++row) {
        for (int column = 0; column < grid.columns; ++column) {
            ColorList free;
            collectSpriteFreeColors(shared, canvas, grid.unitRect(column, row), free, 2);
            if (free.size() >= 2)
                return true;
        }
    }
    return false;
}

} // namespace

bool canvasHasUnresolvedClashes(const ClashContext& ctx, const Colormap& canvas)
{
    for (const CanvasRegion& region : canvasRegions(ctx.mode, canvas.size(), ctx.layout)) {
        if (region.rect.isEmpty())
            continue;
        const bool clash = region.isSpriteStrip() ? stripHasClash(ctx, canvas, region)
                                                  : bitmapHasClash(ctx, canvas, region);
        if (clash)
            return true;
    }
    return false;
}
