#include "formats/prg/border_sprites.h"

#include "model/colormap.h"
#include "model/sprite_strip_grid.h"
#include "rules/sprite_budget.h"

namespace {

// The upper and lower record of one 42-line sprite show one colour register, so the
// half without pixels takes the colour of the half that has some.
void shareColumnColor(SpriteRecord& upper, SpriteRecord& lower, uchar transparent)
{
    const uchar up = spriteRecordColor(upper);
    const uchar down = spriteRecordColor(lower);
    const uchar none = transparent & 15;
    const uchar shared = up != none ? up : down;
    upper[spriteRecordAttribute] = uchar((upper[spriteRecordAttribute] & 0xF0) | shared);
    if (down == none)
        lower[spriteRecordAttribute] = uchar((lower[spriteRecordAttribute] & 0xF0) | shared);
}

} // namespace

BorderSpriteColumns mapBorderSprites(const Colormap& colormap, CanvasMode mode,
    const CanvasLayoutSpec& layout, const CanvasRegion& region, uchar transparent)
{
    const SpriteStripGrid grid = spriteStripGrid(region, mode, layout);
    const QList<int> counts = spriteColumnPixelCounts(colormap, grid, transparent);
    BorderSpriteColumns result;
    QList<int> used;
    for (int column = 0; column < counts.size(); ++column) {
        if (counts[column] > 0)
            used.append(column);
    }
    result.occupied = int(used.size());
    if (result.occupied > borderRecordsPerRow)
        return result;
    for (int column = 0; column < grid.columns && used.size() < borderRecordsPerRow; ++column) {
        if (counts[column] == 0)
            used.append(column);
    }
    std::sort(used.begin(), used.end());
    for (int k = 0; k < borderRecordsPerRow && k < used.size(); ++k)
        result.columns[k] = used[k];
    return result;
}

void encodeBorderSpriteRows(const Colormap& colormap, CanvasMode mode, const CanvasRegion& region,
    const BorderSpriteColors& colors, SpriteAlignment alignment,
    const std::array<int, borderRecordsPerRow>& columns, PrgSpriteRecords& records, int firstRecord)
{
    // 14 columns of 24 screen pixels make 336; right-aligned they end flush with the
    // canvas's right edge, so the first column starts left of the canvas.
    const int screenWidth = region.rect.width() * (isMulticolor(mode) ? 2 : 1);
    const int origin = alignment == SpriteAlignment::Right ? screenWidth - 336 : 0;
    for (int k = 0; k < borderRecordsPerRow; ++k) {
        const int x = origin + 24 * columns[k];
        SpriteRecord& upper = records[firstRecord + k];
        SpriteRecord& lower = records[firstRecord + borderRecordsPerRow + k];
        upper = encodeSpriteRecord(colormap, mode, x, region.rect.top(), colors.own, colors.mc0, colors.mc1);
        lower = encodeSpriteRecord(
            colormap, mode, x, region.rect.top() + spriteRecordLines, colors.own, colors.mc0, colors.mc1);
        shareColumnColor(upper, lower, colors.own);
        const uchar column = uchar(columns[k] << 4);
        upper[spriteRecordAttribute] = uchar(column | spriteRecordColor(upper));
        lower[spriteRecordAttribute] = uchar(column | spriteRecordColor(lower));
    }
}
