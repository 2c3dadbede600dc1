#pragma once

#include "model/colormap.h"
#include "paint/fill_paint.h"
#include "paint/paint_application.h"

#include <QPoint>
#include <QRect>
#include <QRegion>

class Project;

// Pixel content held above the canvas while the user places it. It touches the document
// only when it is dropped, so moving it about costs no history and a discard leaves the
// canvas exactly as it was.
struct FloatingSelection {
    // The content's shape at its source position and a snapshot of that region's
    // bounding rectangle. A flip mirrors both in place.
    QRegion region;
    Colormap pixels;
    // How far it has been moved from its source position.
    QPoint offset;
    // What a lift took off the canvas, which turns to the blank colour at the drop; empty
    // for a paste, which leaves the canvas under it alone. It keeps the shape the user
    // lifted however the content is flipped, so no pixel of it stays behind.
    QRegion vacated;
    // Blank pixels of the content let the canvas beneath show through.
    bool transparent = false;
    uchar blank = 0;

    bool lifted() const { return !vacated.isEmpty(); }
    // The content's current area on the canvas.
    QRegion placedRegion(const QRect& canvas) const { return region.translated(offset).intersected(canvas); }
};

// Lays the float into the colormap: vacates a lifted float's source, pastes the content at
// its place, then settles the cells and sprites both touch, so the canvas stays legal
// wherever the content landed. `before` hears of each area before it is changed. Returns
// the changed rectangle.
QRect applyFloatingSelection(Colormap& colormap, const FloatingSelection& floating, const PaintRules& rules,
    const BeforeFillPaint& before);

// The float's hover preview: refreshes `simulation` from the document wherever the float
// may read or write (all of it when the sizes differ), then lays the float into it. Costs
// what the float covers, not the canvas. Returns the changed rectangle.
QRect simulateFloatingSelection(
    const Project& project, Colormap& simulation, const FloatingSelection& floating);

// The rectangles a drop may change before its clashes are settled: the source (when
// lifted) and the destination, clipped to the canvas.
QRect floatingSourceRect(const FloatingSelection& floating, const QRect& canvas);
QRect floatingDestinationRect(const FloatingSelection& floating, const QRect& canvas);
