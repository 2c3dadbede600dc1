#pragma once

#include "model/canvas_region.h"

#include <optional>

// The first region of canvasRegions() that contains the point, or nothing (a locked
// border column, a point off the canvas). The per-pixel paint veto asks this for every
// pixel, so the usual canvas shapes are answered without building the region list.
std::optional<CanvasRegion> canvasRegionAt(
    CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout, const QPoint& point);
