#pragma once

#include "model/canvas_mode.h"
#include "model/colormap.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QRegion>

class Palette;

// Copied pixels as colour indices: the region where they were copied from and a snapshot
// of its bounding rectangle. Indices, not colours, so a paste lands exactly the pixels
// that were copied, whatever the palette shows.
struct SelectionClipboard {
    QRegion region;
    Colormap pixels;

    bool isEmpty() const { return region.isEmpty(); }
};

// The region clipped to the canvas, with a snapshot of its bounding rectangle.
SelectionClipboard copySelectionPixels(const Colormap& colormap, const QRegion& region);

// The copied pixels as the C64 shows them (multicolor pixels twice as wide), transparent
// outside the region; a null image for an empty clipboard.
QImage selectionClipboardToImage(
    const SelectionClipboard& clipboard, const Palette& palette, CanvasMode mode);

// Writes `index` to every pixel of the region inside the canvas and outside the locked
// rectangles; returns the bounding rectangle of the pixels that changed.
QRect fillSelectionPixels(Colormap& colormap, const QRegion& region, uchar index, const QList<QRect>& locked);

// Lays `pixels` (a snapshot of the region's bounding rectangle) down over the region moved
// by `offset`, clipped to the canvas and skipping locked rectangles; with `transparent` the
// pixels holding `blank` leave what lies beneath. Returns the bounding rectangle of the
// pixels that changed, or a null rectangle when `pixels` does not fit the region.
QRect pasteSelectionPixels(Colormap& colormap, const QRegion& region, const Colormap& pixels, QPoint offset,
    bool transparent, uchar blank, const QList<QRect>& locked);
