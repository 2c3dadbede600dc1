#include "rules/clash_extent.h"

#include "model/canvas_region.h"
#include "model/sprite_rows.h"
#include "model/sprite_strip_grid.h"

QRect potentialClashExtent(
    CanvasMode mode, const QRect& paintRect, const QSize& canvasSize, const CanvasLayoutSpec& layout)
{
    // QRect's operators normalise a reversed rectangle; here it means nothing was painted.
    if (paintRect.isEmpty())
        return {};
    QRect extent = paintRect & QRect(QPoint(0, 0), canvasSize);
    if (extent.isEmpty())
        return {};
    // Each region sees the extent grown by the regions before it, so a unit that reaches
    // into the next region pulls that region's cells in too.
    for (const CanvasRegion& region : canvasRegions(mode, canvasSize, layout)) {
        const QRect clip = extent & region.rect;
        if (region.rect.isEmpty() || clip.isEmpty())
            continue;
        if (!region.isSpriteStrip()) {
            extent |= expandRectToCellsInRegion(mode, clip, region);
            continue;
        }
        const SpriteStripGrid grid = spriteStripGrid(region, mode, layout);
        const int firstRow = grid.horizontal ? 0 : spriteRowAt(clip.top());
        const int lastRow = grid.horizontal ? 0 : spriteRowAt(clip.bottom());
        for (int row = firstRow; row <= lastRow; ++row) {
            for (int column = grid.columnAt(clip.left()); column <= grid.columnAt(clip.right()); ++column)
                extent |= grid.unitRect(column, row) & region.rect;
        }
    }
    return extent;
}
