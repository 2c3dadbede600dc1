#include "formats/prg/side_border_sprites.h"

#include "formats/prg_export_colors.h"
#include "model/canvas_region.h"
#include "model/colormap.h"

namespace {

// Hardware rows 4-5 and 7-8 are the two 42-line logical rows of a side strip. The
// display changes no colour between their halves: at both joins a badline leaves the
// processor no time to write the colour registers.
constexpr std::array<int, 2> pairedUpperRows {4, 7};

void shareColor(SpriteRecord& upper, SpriteRecord& lower, uchar transparent)
{
    const uchar none = transparent & 15;
    const uchar shared
        = spriteRecordColor(upper) != none ? spriteRecordColor(upper) : spriteRecordColor(lower);
    upper[spriteRecordAttribute] = shared;
    lower[spriteRecordAttribute] = shared;
}

} // namespace

PrgSpriteRecords encodeSideBorderSprites(
    const Colormap& colormap, CanvasMode mode, const PrgExportColors& colors)
{
    PrgSpriteRecords records {};
    const bool multicolor = isMulticolor(mode);
    const uchar transparent = multicolor ? colors.background() : colors.border();
    const uchar mc0 = colors.indices[std::size_t(HistoryColorSlot::SpriteMc0)];
    const uchar mc1 = colors.indices[std::size_t(HistoryColorSlot::SpriteMc1)];
    const int pixelWidth = multicolor ? 2 : 1;

    QList<int> stripLefts;
    for (const CanvasRegion& region :
        canvasRegions(mode, colormap.size(), CanvasLayoutSpec {CanvasLayout::SideBorders})) {
        if (region.side == SpriteStripSide::Left || region.side == SpriteStripSide::Right)
            stripLefts.append(region.rect.left() * pixelWidth);
    }
    if (stripLefts.size() != 2)
        return records;

    for (int row = 0; row < sideBorderRecordRows; ++row) {
        for (int j = 0; j < sideBorderRecordsPerRow; ++j) {
            const int x = stripLefts[j / 2] + 24 * (j % 2);
            records[row * sideBorderRecordsPerRow + j]
                = encodeSpriteRecord(colormap, mode, x, sideBorderRecordTop(row), transparent, mc0, mc1);
        }
    }
    for (int upperRow : pairedUpperRows) {
        for (int j = 0; j < sideBorderRecordsPerRow; ++j) {
            shareColor(records[upperRow * sideBorderRecordsPerRow + j],
                records[(upperRow + 1) * sideBorderRecordsPerRow + j], transparent);
        }
    }
    return records;
}
