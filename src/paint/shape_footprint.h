#pragma once

#include "paint/fill_paint.h"
#include "paint/staged_shape.h"
#include "paint/symmetry.h"

// Writes the shape's coverage into the mask (cleared first): its outline stroked with
// the shape's nib and, for a filled closed shape, the interior by the even-odd rule along
// each canvas row's centre line. `wholePixels` covers every display column of a filled
// pixel, as an anti-aliased paint reads them all. A symmetry copy moves the outline; the
// nib itself stays upright on the display. Returns the canvas rectangle touched.
QRect shapeFootprint(const StagedShape& shape, FootprintMask& mask, double displayPixelAspect,
    bool wholePixels, const SymmetryTransform* symmetry = nullptr);

// The shape painted through the colour rules with its own colours, texture and nib; an
// unfilled one-pixel outline paints as single pixels, so it never takes a victim.
// `paint.antialias` (with its table) blends the edges when set.
QRect paintShape(Colormap& colormap, FootprintMask& mask, const StagedShape& shape, double displayPixelAspect,
    CoveredPaint paint, const PaintRules& rules, const BeforeFillPaint& beforePaint,
    const SymmetryTransform* symmetry = nullptr);
