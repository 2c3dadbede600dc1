#pragma once

#include <QImage>
#include <QRect>

class Colormap;
class Palette;

// The pixels of `rect` where a simulated copy differs from the document, in their palette
// colours and opaque; transparent elsewhere. A preview draws this over the canvas, so it
// costs the pixels that change, not the canvas. Null when nothing of `rect` is on both.
QImage simulatedDiffImage(
    const Colormap& document, const Colormap& simulated, const QRect& rect, const Palette& palette);

// The same, comparing only inside `compared`: a simulation refreshed from the document
// only where the paint could reach is stale elsewhere, and must not show there.
QImage simulatedDiffImage(const Colormap& document, const Colormap& simulated, const QRect& rect,
    const Palette& palette, const QRegion& compared);
