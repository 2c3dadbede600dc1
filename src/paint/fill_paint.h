#pragma once

#include "paint/flood_fill.h"
#include "paint/paint_application.h"

#include <functional>

// Told the coverage rectangle of a fill, and whether the paint sweeps its surroundings,
// before anything is painted: where a recorded edit captures its before-image.
using BeforeFillPaint = std::function<void(const QRect& coverage, bool twice)>;

// A flood fill from `seed` through the colour rules. The rules judge a fill at the pixel
// it starts from: when they refuse the colour there as a single pixel, nothing is painted.
// The area is then painted whole, hard-edged, and the cells it touched recoloured so that
// the fill colour wins. Returns the changed rectangle.
QRect floodFillPaint(Colormap& colormap, FootprintMask& surface, QPoint seed, CoveredPaint paint,
    const PaintRules& rules, const BeforeFillPaint& beforePaint);

// The contour band of the seed's area painted with the brush's nib, texture and (when
// `paint` carries a stroke state) anti-aliasing. `region` is scratch space of the
// surface's shape.
QRect contourPaint(Colormap& colormap, FootprintMask& region, FootprintMask& surface, QPoint seed,
    const Brush& brush, ContourPlacement placement, double displayPixelAspect, CoveredPaint paint,
    const PaintRules& rules, const BeforeFillPaint& beforePaint);
