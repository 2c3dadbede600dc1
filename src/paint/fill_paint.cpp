#include "paint/fill_paint.h"

#include "model/colormap.h"
#include "paint/brush.h"
#include "paint/footprint_mask.h"
#include "rules/paint_veto.h"

namespace {

bool sweepsSurroundings(const CoveredPaint& paint)
{
    return paint.antialias || (!paint.texture.isSolid() && paint.textureMode == TextureMode::TwoColor);
}

} // namespace

QRect floodFillPaint(Colormap& colormap, FootprintMask& surface, QPoint seed, CoveredPaint paint,
    const PaintRules& rules, const BeforeFillPaint& beforePaint)
{
    if (!colormap.contains(seed.x(), seed.y()))
        return {};
    ClashContext ctx = rules.context;
    ctx.paintIndex = paint.colour;
    ctx.singlePixel = true;
    if (vetoSinglePixelPaint(ctx, colormap, seed))
        return {};
    // Filling an area with its own colour changes nothing; a pattern still may.
    if (paint.texture.isSolid() && colormap.pixel(seed.x(), seed.y()) == paint.colour)
        return {};
    const QRect coverage = floodFillCoverage(colormap, seed, surface, rules.lockedRects);
    if (coverage.isEmpty())
        return {};
    paint.singlePixel = false;
    paint.antialias = nullptr;
    if (beforePaint)
        beforePaint(coverage, sweepsSurroundings(paint));
    return applyCoveredPaint(colormap, surface, coverage, paint, rules);
}

QRect contourPaint(Colormap& colormap, FootprintMask& region, FootprintMask& surface, QPoint seed,
    const Brush& brush, ContourPlacement placement, double displayPixelAspect, CoveredPaint paint,
    const PaintRules& rules, const BeforeFillPaint& beforePaint)
{
    Brush nib = brush;
    nib.setAntialiased(paint.antialias != nullptr);
    const QRect coverage = contourCoverage(
        colormap, seed, nib, placement, displayPixelAspect, rules.lockedRects, region, surface);
    if (coverage.isEmpty())
        return {};
    paint.singlePixel = false;
    if (beforePaint)
        beforePaint(coverage, sweepsSurroundings(paint));
    return applyCoveredPaint(colormap, surface, coverage, paint, rules);
}
