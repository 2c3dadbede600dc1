#include "rules/cell_clash_resolution.h"

#include "model/colormap.h"
#include "model/rect_clip.h"
#include "model/sprite_strip_grid.h"
#include "rules/cell_color_limit.h"
#include "rules/sprite_colors.h"

#include <array>

namespace {

// Pixel counts per byte value: the buffer may hold any byte, not only the 16 colours.
using IndexCounts = std::array<int, 256>;
constexpr int noVictim = -1;

// Where the paint left paintIndex over a pixel that held something else, seen through the
// snapshot whose origin is the clipped paint rectangle's corner.
struct PaintDiff {
    const Colormap& canvas;
    const Colormap& before;
    QPoint origin;
    uchar paintIndex;

    bool painted(int x, int y) const
    {
        return canvas.pixel(x, y) == paintIndex && before.pixel(x - origin.x(), y - origin.y()) != paintIndex;
    }
    uchar overwritten(int x, int y) const { return before.pixel(x - origin.x(), y - origin.y()); }
};

void countCell(const Colormap& canvas, const QRect& cell, IndexCounts& counts)
{
    counts.fill(0);
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        const uchar* row = canvas.scanLine(y);
        for (int x = cell.left(); x <= cell.right(); ++x)
            ++counts[row[x]];
    }
}

// The candidate with the fewest pixels in the cell; ties go to the lower index.
int leastUsed(const IndexCounts& counts, const ColorList& candidates)
{
    int victim = noVictim;
    for (uchar color : candidates) {
        if (victim == noVictim || counts[color] < counts[std::size_t(victim)]
            || (counts[color] == counts[std::size_t(victim)] && color < victim))
            victim = color;
    }
    return victim;
}

// The least-used colour of the cell other than the painted one and, in multicolor, the
// background, which is a screen-wide register and never gives way; ties go to the lower index.
int leastUsedReplaceable(const ClashContext& ctx, const IndexCounts& cellCounts)
{
    int victim = noVictim;
    for (int index = 0; index < int(cellCounts.size()); ++index) {
        const int count = cellCounts[std::size_t(index)];
        if (count == 0 || index == ctx.paintIndex || (isMulticolor(ctx.mode) && index == ctx.background()))
            continue;
        if (victim == noVictim || count < cellCounts[std::size_t(victim)])
            victim = index;
    }
    return victim;
}

// The colour the paint overwrote most often; ties go to the lower index.
int mostOverwritten(const ClashContext& ctx, const IndexCounts& overwritten)
{
    int victim = noVictim;
    for (int index = 0; index < int(overwritten.size()); ++index) {
        if (overwritten[std::size_t(index)] == 0 || (isMulticolor(ctx.mode) && index == ctx.background()))
            continue;
        if (victim == noVictim || overwritten[std::size_t(index)] > overwritten[std::size_t(victim)])
            victim = index;
    }
    return victim;
}

int chooseHiresVictim(const ClashContext& ctx, const Colormap& canvas, const QRect& cell,
    const IndexCounts& cellCounts, const IndexCounts& overwritten)
{
    if (ctx.hiresClashResolution == HiresClashResolution::ReplaceOverwritten)
        return mostOverwritten(ctx, overwritten);
    ColorList others;
    collectDistinctColors(canvas, cell, 3, others);
    others.removeAll(ctx.paintIndex);
    if (ctx.hiresClashResolution == HiresClashResolution::PreserveBorder) {
        const uchar border = ctx.slots[HistoryColorSlot::Border];
        if (others.size() == 2 && others.contains(border))
            return others[0] == border ? others[1] : others[0];
        return mostOverwritten(ctx, overwritten);
    }
    const int victim = leastUsed(cellCounts, others);
    return victim != noVictim ? victim : mostOverwritten(ctx, overwritten);
}

int chooseMulticolorVictim(
    const ClashContext& ctx, const IndexCounts& cellCounts, const IndexCounts& overwritten)
{
    // A one-pixel paint means "this pixel becomes that colour", so the colour it overwrote
    // gives way; a wide paint sacrifices whatever the cell can spare most easily. When a
    // one-pixel paint only overwrote background (no veto was asked), the least-used colour
    // goes instead, so that the cell is never left over its limit.
    const int leastUsedVictim = leastUsedReplaceable(ctx, cellCounts);
    const int overwrittenVictim = mostOverwritten(ctx, overwritten);
    if (ctx.singlePixel)
        return overwrittenVictim != noVictim ? overwrittenVictim : leastUsedVictim;
    return leastUsedVictim != noVictim ? leastUsedVictim : overwrittenVictim;
}

QRect resolveSpriteStripClashes(const ClashContext& ctx, Colormap& canvas, const PaintDiff& diff,
    const QRect& paintRect, const CanvasRegion& region)
{
    // paintRect lies within the snapshot; only painted pixels decide anything here.
    const QRect clip = paintRect & region.rect;
    const SpriteSharedColors shared = spriteSharedColors(ctx, region);
    if (clip.isEmpty() || shared.contains(ctx.paintIndex))
        return {};
    const SpriteStripGrid grid = spriteStripGrid(region, ctx.mode, ctx.layout);
    const int firstRow = grid.horizontal ? 0 : grid.rowAt(clip.top());
    const int lastRow = grid.horizontal ? 0 : grid.rowAt(clip.bottom());
    QRect changed;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = grid.columnAt(clip.left()); column <= grid.columnAt(clip.right()); ++column) {
            const QRect unit = grid.unitRect(column, row);
            const QRect touched = unit & paintRect;
            bool paintedHere = false;
            for (int y = touched.top(); y <= touched.bottom() && !paintedHere; ++y) {
                for (int x = touched.left(); x <= touched.right() && !paintedHere; ++x)
                    paintedHere = diff.painted(x, y);
            }
            if (!paintedHere)
                continue;
            // A sprite has one colour register of its own: the colour the paint brought in
            // takes it over from the one the unit showed before.
            ColorList free;
            collectSpriteFreeColors(shared, canvas, unit, free, 3);
            free.removeAll(ctx.paintIndex);
            if (free.size() != 1)
                continue;
            canvas.replaceIndex(unit, free[0], ctx.paintIndex);
            changed |= unit;
        }
    }
    return changed;
}

} // namespace

QRect resolveBitmapRegionClashes(const ClashContext& ctx, Colormap& canvas, const Colormap& before,
    const QRect& paintRect, const CanvasRegion& region, const QRect& changedRect)
{
    if (paintRect.isEmpty())
        return {};
    const QRect snapshot = paintRect & canvas.rect();
    // Pixels outside the changed rectangle were not painted, so neither their overwritten
    // colours nor their cells can come into it.
    const QRect clip = changedRect.isEmpty() ? snapshot : snapshot & changedRect;
    const QRect cells = expandRectToCellsInRegion(ctx.mode, clip, region);
    if (cells.isEmpty())
        return {};
    const PaintDiff diff {canvas, before, snapshot.topLeft(), ctx.paintIndex};
    // A snapshot of the whole paint rectangle, as the paint path takes it, is read row by
    // row; anything else pixel by pixel, where outside pixels read as 0.
    const bool snapshotFits = before.size() == snapshot.size();
    const QSize cellSize = canvasModeCellSize(ctx.mode);
    IndexCounts cellCounts;
    IndexCounts overwritten;
    QRect changed;
    for (int top = cells.top(); top <= cells.bottom(); top += cellSize.height()) {
        for (int left = cells.left(); left <= cells.right(); left += cellSize.width()) {
            const QRect cell = clipRect(QRect(QPoint(left, top), cellSize), region.rect);
            if (!cellExceedsColorLimit(ctx.mode, canvas, cell, ctx.background()))
                continue;
            overwritten.fill(0);
            bool touched = false;
            const QRect painted = clipRect(cell, clip);
            for (int y = painted.top(); y <= painted.bottom(); ++y) {
                if (!snapshotFits) {
                    for (int x = painted.left(); x <= painted.right(); ++x) {
                        if (diff.painted(x, y)) {
                            ++overwritten[diff.overwritten(x, y)];
                            touched = true;
                        }
                    }
                    continue;
                }
                const uchar* now = canvas.scanLine(y);
                const uchar* then = before.scanLine(y - diff.origin.y()) - diff.origin.x();
                for (int x = painted.left(); x <= painted.right(); ++x) {
                    if (now[x] == ctx.paintIndex && then[x] != ctx.paintIndex) {
                        ++overwritten[then[x]];
                        touched = true;
                    }
                }
            }
            if (!touched)
                continue;
            countCell(canvas, cell, cellCounts);
            const int victim = isMulticolor(ctx.mode)
                ? chooseMulticolorVictim(ctx, cellCounts, overwritten)
                : chooseHiresVictim(ctx, canvas, cell, cellCounts, overwritten);
            if (victim == noVictim)
                continue;
            canvas.replaceIndex(cell, uchar(victim), ctx.paintIndex);
            changed |= cell;
        }
    }
    return changed;
}

QRect resolveCellClashes(const ClashContext& ctx, Colormap& canvas, const Colormap& before,
    const QRect& paintRect, const QRect& changedRect)
{
    // QRect's operators normalise a reversed rectangle; here it means nothing was painted.
    if (paintRect.isEmpty())
        return {};
    const QRect snapshot = paintRect & canvas.rect();
    if (snapshot.isEmpty())
        return {};
    const QRect clip = changedRect.isEmpty() ? snapshot : snapshot & changedRect;
    if (clip.isEmpty())
        return {};
    const PaintDiff diff {canvas, before, snapshot.topLeft(), ctx.paintIndex};
    QRect changed;
    for (const CanvasRegion& region : canvasRegions(ctx.mode, canvas.size(), ctx.layout)) {
        if (region.rect.isEmpty())
            continue;
        if (region.isSpriteStrip())
            changed |= resolveSpriteStripClashes(ctx, canvas, diff, clip, region);
        else
            changed |= resolveBitmapRegionClashes(ctx, canvas, before, snapshot, region, clip);
    }
    return changed;
}
