#pragma once

#include "model/canvas_region.h"
#include "rules/clash_context.h"

#include <QList>
#include <QRect>

class Colormap;
struct SpriteStripGrid;

// The C64 has 8 hardware sprites. The display routine reuses them for the top and for the
// bottom border, so each border may show at most 8 sprite columns.
inline constexpr int borderSpriteBudget = 8;

// The colour a top or bottom border shows where its sprites are transparent; 0 for any
// other side.
uchar borderSpriteBackground(const ClashContext& ctx, SpriteStripSide side);

// The number of pixels of each sprite column of a strip that differ from `background`,
// indexed by column. A column spends a hardware sprite as soon as its count is not 0,
// whichever of its two 21-line halves the pixels lie in.
QList<int> spriteColumnPixelCounts(const Colormap& canvas, const SpriteStripGrid& grid, uchar background);

// The unit rectangles of the sprites of a top or bottom strip that do not fit the budget,
// ordered by column; empty for any other region and for a border within budget. The 8
// columns holding the most pixels survive, ties going to the column nearer the border's
// aligned edge. Erasing every rectangle to the border's background brings the border
// within budget.
QList<QRect> spriteBudgetReductionRects(
    const ClashContext& ctx, const Colormap& canvas, const CanvasRegion& region);

// The sprites flagged as over budget: exactly the ones a reduction would erase.
QList<QRect> spriteCountViolationRects(
    const ClashContext& ctx, const Colormap& canvas, const CanvasRegion& region);
