#pragma once

#include "paint/fill_paint.h"
#include "paint/symmetry.h"

// One segment of a freehand stroke painted once per symmetry copy, each copy through the
// whole paint path (footprint with the copy's turn and mirroring of the nib, texture,
// colour rules, clash recolouring) into the same colormap, one after the other. The end
// points are mapped about the nib's anchors, so an even-width nib centred on a pixel
// corner lands on a corner in every copy. `beforePaint` hears the copies' footprint
// rectangles before any copy paints, for a recorded edit's before-image (overlapping
// copies may be told as one rectangle holding them). Returns the union of the changes.
QRect applySymmetricStrokeSegment(Colormap& colormap, FootprintMask& mask, const Brush& brush, QPoint from,
    QPoint to, const StrokeGeometry& geometry, const QList<SymmetryTransform>& copies,
    const CoveredPaint& paint, const PaintRules& rules, const BeforeFillPaint& beforePaint);
