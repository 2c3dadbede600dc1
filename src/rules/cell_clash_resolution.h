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
//
// A caller that knows the bounding rectangle of the pixels its paint actually changed
// passes it as `changedRect` (inside paintRect): only the cells and units it touches can
// have been pushed over, so the others are not looked at.
QRect resolveCellClashes(const ClashContext& ctx, Colormap& canvas, const Colormap& before,
    const QRect& paintRect, const QRect& changedRect = QRect());

// The bitmap part of resolveCellClashes, for one bitmap region.
QRect resolveBitmapRegionClashes(const ClashContext& ctx, Colormap& canvas, const Colormap& before,
    const QRect& paintRect, const CanvasRegion& region, const QRect& changedRect = QRect());
