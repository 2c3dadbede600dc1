#pragma once

#include "model/colormap.h"
#include "paint/brush.h"
#include "paint/texture.h"
#include "paint/texture_mode.h"
#include "rules/clash_context.h"

#include <QList>
#include <QPoint>
#include <QRect>

class AntialiasLut;
class AntialiasStrokeState;
class FootprintMask;
class Project;

// What the colour rules need to know to paint into one canvas: the clash context (its
// paint index and single-pixel flag are set per paint), the pixels that always show the
// border colour, and whether a 9th border sprite is refused rather than flagged.
struct PaintRules {
    ClashContext context;
    QList<QRect> lockedRects;
    bool enforceSpriteBudget = false;
};

// The rules of a project's canvas, with the project's own hires clash resolution.
PaintRules paintRulesFor(const Project& project);

// What one paint application lays down where the footprint covers the canvas.
struct CoveredPaint {
    uchar colour = 0;
    // What a clear texture bit paints in TwoColor mode.
    uchar altColour = 0;
    // A one-pixel nib: pixels the colour rules cannot make room for are refused rather
    // than painted and resolved afterwards.
    bool singlePixel = false;
    Texture texture;
    TextureMode textureMode = defaultTextureMode;
    // An anti-aliased paint blends through both; a hard paint leaves them null. The table
    // must be valid for the palette the canvas is shown in.
    AntialiasStrokeState* antialias = nullptr;
    const AntialiasLut* lut = nullptr;
};

// How the view shows the canvas, which a footprint depends on.
struct StrokeGeometry {
    int pixelWidth = 1;
    double displayPixelAspect = 1.0;
    double viewRotation = 0.0;
    BrushAlignment alignment = BrushAlignment::Screen;
};

// Room a caller that paints many times in a row (the copies of a symmetric stroke) lends
// to each paint, so that the paints share one before-image buffer instead of each
// allocating its own.
struct PaintScratch {
    Colormap before;
};

// Paints every pixel of `rect` that the mask covers and then makes the canvas legal again
// around it, so the painted colour wins the cells and sprites it entered. Locked border
// pixels are never painted; a 9th border sprite is refused when the budget is enforced.
// Returns the rectangle of pixels changed, recolouring included, or a null rectangle when
// nothing was painted.
QRect applyCoveredPaint(Colormap& colormap, const FootprintMask& mask, const QRect& rect,
    const CoveredPaint& paint, const PaintRules& rules);
QRect applyCoveredPaint(Colormap& colormap, const FootprintMask& mask, const QRect& rect,
    const CoveredPaint& paint, const PaintRules& rules, PaintScratch& scratch);

// One segment of a freehand stroke: its footprint goes into the mask, then through
// applyCoveredPaint. The paint is anti-aliased exactly when `paint` carries a stroke state,
// and single-pixel exactly when the nib is one pixel wide.
QRect applyStrokeSegment(Colormap& colormap, FootprintMask& mask, const Brush& brush, QPoint from, QPoint to,
    const StrokeGeometry& geometry, double extraRotation, bool mirrored, CoveredPaint paint,
    const PaintRules& rules);
QRect applyStrokeSegment(Colormap& colormap, FootprintMask& mask, const Brush& brush, QPoint from, QPoint to,
    const StrokeGeometry& geometry, double extraRotation, bool mirrored, CoveredPaint paint,
    const PaintRules& rules, PaintScratch& scratch);

// Every pixel that a paint of `paintRect` reads or may change when it is resolved
// (`twice` for paints that sweep their surroundings): what a before-image or a simulation
// copy must hold as the document has it.
QRect paintReachExtent(const Project& project, const QRect& paintRect, bool twice);
