#pragma once

#include "model/canvas_region.h"

#include <QRect>

// The sprite units of one strip. Side strips are 2 columns by 8 logical rows; top and
// bottom strips are one row of columns whose last (left-aligned) or first
// (right-aligned) column is cut short where the border ends.
struct SpriteStripGrid {
    QRect rect;
    bool horizontal = false;
    int columns = 0;
    int rows = 0;
    int unitWidth = 24;
    int partialWidth = 0;
    bool partialFirst = false;

    QRect unitRect(int column, int row) const;
    int columnAt(int x) const;
    int rowAt(int y) const;
};

SpriteStripGrid spriteStripGrid(const CanvasRegion& region, CanvasMode mode, const CanvasLayoutSpec& layout);

// A side-strip unit straight from the row table, without building a grid.
QRect spriteUnitRect(const CanvasRegion& region, CanvasMode mode, int column, int row);
