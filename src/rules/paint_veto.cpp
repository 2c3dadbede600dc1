#include "rules/paint_veto.h"

#include "model/colormap.h"
#include "model/sprite_rows.h"
#include "model/sprite_strip_grid.h"
#include "rules/canvas_region_at.h"
#include "rules/cell_color_limit.h"
#include "rules/sprite_colors.h"

namespace {

bool vetoBitmapPixel(
    const ClashContext& ctx, const Colormap& canvas, const QPoint& point, const CanvasRegion& region)
{
    // A hires cell always has a colour to give up; so does a multicolor pixel that holds
    // one of the cell's own colours. Only a background pixel of a multicolor cell has none.
    const uchar background = ctx.background();
    if (!isMulticolor(ctx.mode) || ctx.paintIndex == background
        || canvas.pixel(point.x(), point.y()) != background)
        return false;
    ColorList colors;
    collectDistinctColors(canvas, cellRectAt(ctx.mode, point, region), 5, colors);
    if (colors.contains(ctx.paintIndex))
        return false;
    colors.removeAll(background);
    return colors.size() > 2;
}

bool vetoSpritePixel(
    const ClashContext& ctx, const Colormap& canvas, const QPoint& point, const CanvasRegion& region)
{
    const SpriteSharedColors shared = spriteSharedColors(ctx, region);
    // Shared colours never cost a unit anything, and a pixel that already holds the unit's
    // own colour can be repainted: the resolution then turns the unit's colour over.
    if (shared.contains(ctx.paintIndex) || !shared.contains(canvas.pixel(point.x(), point.y())))
        return false;
    const SpriteStripGrid grid = spriteStripGrid(region, ctx.mode, ctx.layout);
    const int row = (region.isHorizontalStrip() || point.y() < spriteRowTop(1)) ? 0 : spriteRowAt(point.y());
    ColorList free;
    collectSpriteFreeColors(shared, canvas, grid.unitRect(grid.columnAt(point.x()), row), free, 2);
    for (uchar color : free) {
        if (color != ctx.paintIndex)
            return true;
    }
    return false;
}

} // namespace

bool vetoSinglePixelPaint(const ClashContext& ctx, const Colormap& canvas, const QPoint& point)
{
    const std::optional<CanvasRegion> region = canvasRegionAt(ctx.mode, canvas.size(), ctx.layout, point);
    if (!region)
        return false;
    switch (region->kind) {
    case CanvasRegionKind::Bitmap:
        return vetoBitmapPixel(ctx, canvas, point, *region);
    case CanvasRegionKind::SpriteStrip:
        return vetoSpritePixel(ctx, canvas, point, *region);
    }
    return false;
}
