#pragma once

#include "model/canvas_mode.h"
#include "rules/color_list.h"

#include <QRect>

class Colormap;

// The distinct indices of a rectangle in scan order (rows top to bottom, each left to
// right), appended to `out` until it holds `limit` entries. The same answer as
// Colormap::distinctIndices without touching the heap; `limit` is capped at the list's
// capacity.
void collectDistinctColors(const Colormap& canvas, const QRect& rect, int limit, ColorList& out);

// Whether a char cell shows more colours than the VIC can give it: 2 in a hires cell, the
// global background plus 3 in a multicolor cell. Modes other than Multicolor count as hires.
bool cellExceedsColorLimit(CanvasMode mode, const Colormap& canvas, const QRect& cell, uchar background);
