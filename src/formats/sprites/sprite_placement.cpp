#include "formats/sprites/sprite_placement.h"

#include "model/canvas_region.h"
#include "model/colormap.h"
#include "model/palette.h"
#include "model/sprite_rows.h"
#include "model/sprite_strip_grid.h"

#include <QImage>

#include <algorithm>
#include <map>
#include <utility>

namespace {

constexpr int recordsPerSideRow = 4;
constexpr int recordsPerBorderRow = 8;
constexpr int recordsPerBorder = 16;
// The first hardware sprite row of the side borders starts 8 lines above the canvas, so
// that the rows land on the strip grid's lines.
constexpr int firstSideRowTop = -8;

// What the two-bit (or one-bit) values of a record stand for: transparent, MC0, the
// sprite's own colour, MC1 in the C64's order 00, 01, 10, 11.
struct SpriteLookup {
    uchar transparent = 0;
    uchar mc0 = 0;
    uchar own = 0;
    uchar mc1 = 0;
};

int recordWidth(CanvasMode mode)
{
    return isMulticolor(mode) ? 12 : 24;
}

uchar recordPixel(const SpriteRecord& record, CanvasMode mode, int line, int x, const SpriteLookup& lookup)
{
    const uchar* row = record.data() + 3 * line;
    if (!isMulticolor(mode))
        return (row[x / 8] >> (7 - x % 8)) & 1 ? lookup.own : lookup.transparent;
    switch ((row[x / 4] >> (2 * (3 - x % 4))) & 3) {
    case 1:
        return lookup.mc0;
    case 2:
        return lookup.own;
    case 3:
        return lookup.mc1;
    default:
        return lookup.transparent;
    }
}

// Draws a record with its top-left at `origin`, leaving out its first `skip` pixels,
// inside `clip` only.
void drawRecord(Colormap& target, const SpriteRecord& record, CanvasMode mode, QPoint origin, int skip,
    const QRect& clip, const SpriteLookup& lookup)
{
    for (int line = 0; line < spriteRecordLines; ++line) {
        for (int x = skip; x < recordWidth(mode); ++x) {
            const QPoint at(origin.x() + x - skip, origin.y() + line);
            if (clip.contains(at))
                target.setPixel(at.x(), at.y(), recordPixel(record, mode, line, x, lookup));
        }
    }
}

uchar attributeColor(const SpriteRecord& record, const SpriteImportOptions& options)
{
    return options.attributeMode == SpriteAttributeMode::Ignore ? options.penColor
                                                                : record[spriteRecordAttribute] & 0x0F;
}

// Whether any pixel of the record is drawn in the sprite's own colour (a 1 in hires, the
// pair 10 in multicolor).
bool showsOwnColor(const SpriteRecord& record, CanvasMode mode)
{
    for (int i = 0; i < spriteRecordAttribute; ++i) {
        const uchar byte = record[i];
        if (!isMulticolor(mode) ? byte != 0 : ((byte & 0xAA) & ~((byte & 0x55) << 1)) != 0)
            return true;
    }
    return false;
}

int sideLogicalRow(int hardwareRow)
{
    return spriteRowAt(std::max(0, firstSideRowTop + spriteRecordLines * hardwareRow));
}

// The top/bottom column a record of a border goes to; its position in its row unless the
// attributes carry columns.
int borderColumnKey(
    const SpriteRecord& record, int indexInBorder, int stripColumns, const SpriteImportOptions& options)
{
    if (options.attributeMode == SpriteAttributeMode::ColorAndPosition && stripColumns > 0)
        return (record[spriteRecordAttribute] >> 4) % stripColumns;
    return indexInBorder % recordsPerBorderRow;
}

SpriteLookup sideLookup(CanvasMode mode, const SpriteImportColors& colors)
{
    // Side sprites are transparent where the multicolor background, or the hires border
    // behind them, shows through.
    const uchar transparent
        = isMulticolor(mode) ? colors[HistoryColorSlot::Background] : colors[HistoryColorSlot::Border];
    return {transparent, colors[HistoryColorSlot::SpriteMc0], 0, colors[HistoryColorSlot::SpriteMc1]};
}

SpriteLookup borderLookup(bool top, const SpriteImportColors& colors)
{
    if (top) {
        return {colors[HistoryColorSlot::TopBorderBackground], colors[HistoryColorSlot::TopBorderMc0], 0,
            colors[HistoryColorSlot::TopBorderMc1]};
    }
    return {colors[HistoryColorSlot::BottomBorderBackground], colors[HistoryColorSlot::BottomBorderMc0], 0,
        colors[HistoryColorSlot::BottomBorderMc1]};
}

int topBottomColumns(CanvasMode mode, const CanvasLayoutSpec& layout)
{
    const QSize size = canvasModeDefaultCanvasSize(mode, layout, 1);
    for (const CanvasRegion& region : canvasRegions(mode, size, layout)) {
        if (region.isHorizontalStrip())
            return spriteStripGrid(region, mode, layout).columns;
    }
    return 0;
}

} // namespace

QList<uchar> unitIndividualColors(const NativeSpriteData& data, CanvasMode mode, CanvasLayout layout,
    int stripColumns, const SpriteImportOptions& options)
{
    // Which displayed sprite each record is a part of.
    QList<std::pair<int, int>> sprites;
    for (int i = 0; i < data.records.size(); ++i) {
        if (layout == CanvasLayout::SideBorders)
            sprites.append({sideLogicalRow(i / recordsPerSideRow), i % recordsPerSideRow});
        else
            sprites.append({i / recordsPerBorder,
                borderColumnKey(data.records.at(i), i % recordsPerBorder, stripColumns, options)});
    }
    // The first record of a sprite gives the colour; but an empty half says nothing about
    // it (its attribute holds the transparent colour), so the first half that shows its own
    // colour wins when there is one.
    std::map<std::pair<int, int>, uchar> shared;
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < data.records.size(); ++i) {
            if (pass == 0 && !showsOwnColor(data.records.at(i), mode))
                continue;
            shared.try_emplace(sprites.at(i), attributeColor(data.records.at(i), options));
        }
    }
    QList<uchar> colors;
    for (const std::pair<int, int>& sprite : sprites)
        colors.append(shared.at(sprite));
    return colors;
}

QRect placeNativeSprites(const NativeSpriteData& data, Colormap& target, CanvasMode mode,
    const CanvasLayoutSpec& layout, const SpriteImportColors& colors, const SpriteImportOptions& options)
{
    QRect placed;
    const QList<CanvasRegion> regions = canvasRegions(mode, target.size(), layout);
    if (layout.layout == CanvasLayout::SideBorders) {
        const auto strip = [&](SpriteStripSide side) {
            for (const CanvasRegion& region : regions) {
                if (region.side == side)
                    return region.rect;
            }
            return QRect();
        };
        const QRect strips[2] = {strip(SpriteStripSide::Left), strip(SpriteStripSide::Right)};
        if (strips[0].isNull() || strips[1].isNull())
            return {};
        SpriteLookup lookup = sideLookup(mode, colors);
        for (const QRect& rect : strips)
            target.fillRect(rect, lookup.transparent);
        const QList<uchar> own = unitIndividualColors(data, mode, layout.layout, 0, options);
        const int unitWidth = recordWidth(mode);
        for (int i = 0; i < std::min<int>(data.records.size(), nativeSpriteCapacity(layout.layout)); ++i) {
            const int row = i / recordsPerSideRow;
            const int position = i % recordsPerSideRow;
            const QRect& rect = strips[position / 2];
            lookup.own = own.at(i);
            const QPoint origin(rect.left() + (position % 2) * unitWidth,
                rect.top() + firstSideRowTop + spriteRecordLines * row);
            drawRecord(target, data.records.at(i), mode, origin, 0, rect, lookup);
        }
        return strips[0] | strips[1];
    }

    for (const CanvasRegion& region : regions) {
        if (!region.isHorizontalStrip())
            continue;
        const bool top = region.side == SpriteStripSide::Top;
        const SpriteStripGrid grid = spriteStripGrid(region, mode, layout);
        SpriteLookup lookup = borderLookup(top, colors);
        target.fillRect(region.rect, lookup.transparent);
        placed |= region.rect;
        const QList<uchar> own = unitIndividualColors(data, mode, layout.layout, grid.columns, options);
        const SpriteAlignment alignment = top ? layout.topAlignment : layout.bottomAlignment;
        const int first = top ? recordsPerBorder : 0;
        for (int q = 0; q < recordsPerBorder && first + q < data.records.size(); ++q) {
            const SpriteRecord& record = data.records.at(first + q);
            const int position = q % recordsPerBorderRow;
            int column = alignment == SpriteAlignment::Right ? grid.columns - recordsPerBorderRow + position
                                                             : position;
            if (options.attributeMode == SpriteAttributeMode::ColorAndPosition)
                column = borderColumnKey(record, q, grid.columns, options);
            if (column < 0 || column >= grid.columns)
                continue;
            const QRect unit = grid.unitRect(column, 0);
            // A column the border cuts short keeps the pixels nearest the picture's edge.
            const int skip = grid.partialFirst && column == 0 ? recordWidth(mode) - unit.width() : 0;
            lookup.own = own.at(first + q);
            drawRecord(target, record, mode,
                QPoint(unit.left(), unit.top() + spriteRecordLines * (q / recordsPerBorderRow)), skip, unit,
                lookup);
        }
    }
    return placed;
}

QImage nativeSpritePreview(const NativeSpriteData& data, CanvasMode mode, const CanvasLayoutSpec& layout,
    const SpriteImportColors& colors, const SpriteImportOptions& options, const Palette& palette)
{
    const int w = recordWidth(mode);
    const int lines = spriteRecordLines;
    const bool side = layout.layout == CanvasLayout::SideBorders;
    const int stripColumns = side ? 0 : topBottomColumns(mode, layout);
    const bool byPosition = !side && options.attributeMode == SpriteAttributeMode::ColorAndPosition;
    const int perBand = side ? recordsPerSideRow : recordsPerBorderRow;
    const int bands = side ? 10 : 4;
    const int sheetColumns = byPosition ? canvasModeDefaultCanvasSize(mode, {}, 1).width() / w + 1 : perBand;
    if (sheetColumns <= 0)
        return {};
    Colormap sheet(sheetColumns * w, bands * lines);
    const QList<uchar> own = unitIndividualColors(data, mode, layout.layout, stripColumns, options);
    for (int band = 0; band < bands; ++band) {
        // Bands 0 and 1 of a top/bottom sheet are the bottom border's, 2 and 3 the top's.
        SpriteLookup lookup = side ? sideLookup(mode, colors) : borderLookup(band >= 2, colors);
        const QRect bandRect(0, band * lines, sheet.width(), lines);
        sheet.fillRect(bandRect, lookup.transparent);
        for (int k = 0; k < perBand; ++k) {
            const int i = band * perBand + k;
            if (i >= data.records.size())
                break;
            const SpriteRecord& record = data.records.at(i);
            const int column = byPosition ? (record[spriteRecordAttribute] >> 4) % sheetColumns : k;
            lookup.own = own.at(i);
            drawRecord(sheet, record, mode, QPoint(column * w, band * lines), 0, bandRect, lookup);
        }
    }
    const QImage image = sheet.toImage(palette);
    if (!isMulticolor(mode) || image.isNull())
        return image;
    return image.scaled(image.width() * 2, image.height(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
}
