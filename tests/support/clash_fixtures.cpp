#include "support/clash_fixtures.h"

#include "model/canvas_region.h"
#include "rules/sprite_colors.h"

ClashContext testClashContext(CanvasMode mode, const CanvasLayoutSpec& layout, uchar paintIndex)
{
    ClashContext ctx;
    ctx.mode = mode;
    ctx.layout = layout;
    ctx.paintIndex = paintIndex;
    ctx.slots[HistoryColorSlot::Background] = 0;
    ctx.slots[HistoryColorSlot::Border] = 14;
    ctx.slots[HistoryColorSlot::SpriteMc0] = 11;
    ctx.slots[HistoryColorSlot::SpriteMc1] = 12;
    ctx.slots[HistoryColorSlot::TopBorderBackground] = 6;
    ctx.slots[HistoryColorSlot::TopBorderMc0] = 11;
    ctx.slots[HistoryColorSlot::TopBorderMc1] = 12;
    ctx.slots[HistoryColorSlot::BottomBorderBackground] = 9;
    ctx.slots[HistoryColorSlot::BottomBorderMc0] = 11;
    ctx.slots[HistoryColorSlot::BottomBorderMc1] = 12;
    return ctx;
}

Colormap blankTestCanvas(const ClashContext& ctx)
{
    const QSize size = canvasModeDefaultCanvasSize(ctx.mode, ctx.layout, 1);
    Colormap canvas(size.width(), size.height());
    canvas.fill(ctx.background());
    for (const CanvasRegion& region : canvasRegions(ctx.mode, size, ctx.layout)) {
        const SpriteSharedColors shared = spriteSharedColors(ctx, region);
        if (shared.count > 0)
            canvas.fillRect(region.rect, shared.colors[0]);
    }
    for (const QRect& locked : canvasLockedBorderRects(ctx.mode, size, ctx.layout))
        canvas.fillRect(locked, ctx.slots[HistoryColorSlot::Border]);
    return canvas;
}
