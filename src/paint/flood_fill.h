#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class Brush;
class Colormap;
class FootprintMask;

// Where a contour band lies against the edge of the clicked area.
enum class ContourPlacement : qint32 {
    Center = 0,
    Outside = 1,
    Inside = 2,
};

// Marks the 4-connected area of the seed's colour into the mask (255 in the first byte of
// each covered pixel) and returns its bounding rectangle. Pixels in a locked rectangle are
// never part of an area, since the hardware shows the border colour there whatever the
// canvas holds. A seed outside the canvas or on a locked pixel, or a mask that does not
// fit the canvas, gives a null rectangle.
QRect floodFillCoverage(
    const Colormap& colormap, QPoint seed, FootprintMask& mask, const QList<QRect>& locked);

// A zero-length nib dab centred on each pixel, added into the mask; returns the union of
// the rectangles touched.
QRect sweepNib(FootprintMask& mask, const Brush& brush, const QList<QPoint>& pixels,
    double displayPixelAspect, QSize canvas);

// The band along the edge of the seed's area, as thick as the brush is wide, placed
// across the edge, outside it or inside it. The area is flooded into `regionMask` and the
// band written into `bandMask`; the two must be distinct masks of the canvas's shape.
// Edges against the canvas border are never traced: the picture simply ends there.
QRect contourCoverage(const Colormap& colormap, QPoint seed, const Brush& brush, ContourPlacement placement,
    double displayPixelAspect, const QList<QRect>& locked, FootprintMask& regionMask,
    FootprintMask& bandMask);
