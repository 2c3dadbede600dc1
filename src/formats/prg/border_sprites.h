#pragma once

#include "formats/prg/prg_sprite_records.h"
#include "model/canvas_layout.h"
#include "model/canvas_region.h"

#include <array>

class Colormap;

// Which 8 of a top or bottom strip's 14 sprite columns the 8 hardware sprites show.
struct BorderSpriteColumns {
    // Ascending strip columns; columns without pixels fill up the free places, lowest
    // first, so the sprites never overlap.
    std::array<int, borderRecordsPerRow> columns {};
    // Columns holding any pixel other than the transparent index; more than 8 cannot be
    // shown, and then `columns` is meaningless.
    int occupied = 0;
};

BorderSpriteColumns mapBorderSprites(const Colormap& colormap, CanvasMode mode,
    const CanvasLayoutSpec& layout, const CanvasRegion& region, uchar transparent);

// A top or bottom border's own colour (its transparent index) and its two multicolours.
struct BorderSpriteColors {
    uchar own = 0;
    uchar mc0 = 0;
    uchar mc1 = 0;
};

// Encodes a border strip's two 21-line rows for the 8 columns into records
// firstRecord .. firstRecord + 15 (the upper row first). The two records of a column are
// one 42-line sprite and share one colour; each attribute byte carries the strip column
// in its high nibble.
void encodeBorderSpriteRows(const Colormap& colormap, CanvasMode mode, const CanvasRegion& region,
    const BorderSpriteColors& colors, SpriteAlignment alignment,
    const std::array<int, borderRecordsPerRow>& columns, PrgSpriteRecords& records, int firstRecord);
