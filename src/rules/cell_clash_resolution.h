#pragma once

#include "model/canvas_region.h"
#include "rules/clash_context.h"

#include <QRect>

class Colormap;

// Makes every char cell and sprite unit that a paint pushed over its limit legal again by
// turning one of its colours, the victim, into the painted colour throughout the cell or
// unit. `before` is the snapshot of paintRect taken before the paint, as
// Colormap::snapshotRegion takes it: its pixel (0, 0) is the top-left corner of paintRect
// clipped to the canvas. Cells and units the paint did not change are left alone, and so
// is a unit whose clash predates the paint. Returns the bounding rectangle of the cells and
// units changed, or a null rectangle.
QRect resolveCellClashes(
    const ClashContext& ctx, Colormap& canvas, const Colormap& before, const QRect& paintRect);

// The bitmap part of resolveCellClashes, for one bitmap region.
QRect resolveBitmapRegionClashes(const ClashContext& ctx, Colormap& canvas, const Colormap& before,
    const QRect& paintRect, const CanvasRegion& region);
