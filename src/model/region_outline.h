#pragma once

#include <QLine>
#include <QList>
#include <QRegion>

// The outline of a region of canvas pixels: horizontal and vertical segments along the
// pixel edges (in edge coordinates, so pixel (x, y) spans x..x+1 and y..y+1) that separate
// pixels inside the region from pixels outside it.
QList<QLine> selectionBoundarySegments(const QRegion& region);
