#include "rules/sprite_colors.h"

#include "model/colormap.h"
#include "model/sprite_strip_grid.h"

SpriteSharedColors spriteSharedColors(const ClashContext& ctx, const CanvasRegion& region)
{
    SpriteSharedColors shared;
    if (!region.isSpriteStrip())
        return shared;
    const auto add
        = [&](HistoryColorSlot slot) { shared.colors[std::size_t(shared.count++)] = ctx.slots[slot]; };
    const bool multicolor = isMulticolor(ctx.mode);
    switch (region.side) {
    case SpriteStripSide::Left:
    case SpriteStripSide::Right:
        // A transparent pixel shows whatever lies behind the sprite; in multicolor the
        // two sprite multicolour registers are common to every sprite as well.
        if (multicolor) {
            add(HistoryColorSlot::Background);
            add(HistoryColorSlot::SpriteMc0);
            add(HistoryColorSlot::SpriteMc1);
        } else {
            add(HistoryColorSlot::Border);
        }
        break;
    case SpriteStripSide::Top:
        add(HistoryColorSlot::TopBorderBackground);
        if (multicolor) {
            add(HistoryColorSlot::TopBorderMc0);
            add(HistoryColorSlot::TopBorderMc1);
        }
        break;
    case SpriteStripSide::Bottom:
        add(HistoryColorSlot::BottomBorderBackground);
        if (multicolor) {
            add(HistoryColorSlot::BottomBorderMc0);
            add(HistoryColorSlot::BottomBorderMc1);
        }
        break;
    case SpriteStripSide::None:
        break;
    }
    return shared;
}

bool spriteProtectedColor(const ClashContext& ctx, const CanvasRegion& region, uchar index)
{
    return spriteSharedColors(ctx, region).contains(index);
}

void collectSpriteFreeColors(
    const SpriteSharedColors& shared, const Colormap& canvas, const QRect& unit, ColorList& out, int limit)
{
    limit = std::min(limit, ColorList::capacity);
    if (unit.isEmpty())
        return;
    const QRect clip = unit & canvas.rect();
    if (clip.isEmpty() || out.size() >= limit)
        return;
    // Shared or already listed: the veto scans a whole unit, up to 42 lines, per pixel.
    ColorSet skip;
    for (int i = 0; i < shared.count; ++i)
        skip.insert(shared.colors[std::size_t(i)]);
    for (uchar color : out)
        skip.insert(color);
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        const uchar* row = canvas.scanLine(y);
        for (int x = clip.left(); x <= clip.right(); ++x) {
            const uchar index = row[x];
            if (!skip.contains(index)) {
                skip.insert(index);
                out.append(index);
                if (out.size() >= limit)
                    return;
            }
        }
    }
}

void collectSpriteFreeColors(const ClashContext& ctx, const CanvasRegion& region, const Colormap& canvas,
    const QRect& unit, ColorList& out, int limit)
{
    collectSpriteFreeColors(spriteSharedColors(ctx, region), canvas, unit, out, limit);
}

bool spriteUnitExceedsColorLimit(
    const ClashContext& ctx, const Colormap& canvas, const CanvasRegion& region, int column, int row)
{
    const SpriteStripGrid grid = spriteStripGrid(region, ctx.mode, ctx.layout);
    ColorList free;
    collectSpriteFreeColors(ctx, region, canvas, grid.unitRect(column, row), free, 2);
    return free.size() >= 2;
}
