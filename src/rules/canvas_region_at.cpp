#include "rules/canvas_region_at.h"

namespace {

// The sprite strips' fixed widths in stored pixels, and the border column a hires
// side-border canvas keeps to the right of its right strip.
constexpr int hiresSideStripWidth = 48;
constexpr int hiresLockedColumnWidth = 8;
constexpr int multicolorSideStripWidth = 24;
constexpr int borderStripHeight = 42;

CanvasRegion strip(const QRect& rect, SpriteStripSide side)
{
    return {CanvasRegionKind::SpriteStrip, rect, side};
}

CanvasRegion bitmap(const QRect& rect)
{
    return {CanvasRegionKind::Bitmap, rect, SpriteStripSide::None};
}

std::optional<CanvasRegion> firstRegionContaining(
    CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout, const QPoint& point)
{
    // A reversed rectangle (the bitmap of a canvas narrower than its two strips) holds no pixel.
    for (const CanvasRegion& region : canvasRegions(mode, canvasSize, layout)) {
        if (!region.rect.isEmpty() && region.rect.contains(point))
            return region;
    }
    return std::nullopt;
}

} // namespace

std::optional<CanvasRegion> canvasRegionAt(
    CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout, const QPoint& point)
{
    const int w = canvasSize.width();
    const int h = canvasSize.height();
    const int x = point.x();
    const int y = point.y();
    const bool onCanvas = x >= 0 && y >= 0 && x < w && y < h;

    // Canvases too small for their layout have degenerate or overlapping regions; those
    // are left to the full list so that the answer stays the same by construction.
    switch (layout.layout) {
    case CanvasLayout::BitmapOnly:
        if (w <= 0 || h <= 0)
            break;
        if (!onCanvas)
            return std::nullopt;
        return bitmap(QRect(0, 0, w, h));
    case CanvasLayout::SideBorders: {
        const int stripWidth = isMulticolor(mode) ? multicolorSideStripWidth : hiresSideStripWidth;
        const int lockedWidth = isMulticolor(mode) ? 0 : hiresLockedColumnWidth;
        const int rightStripLeft = w - lockedWidth - stripWidth;
        if (h <= 0 || rightStripLeft <= stripWidth)
            break;
        if (!onCanvas)
            return std::nullopt;
        if (x < stripWidth)
            return strip(QRect(0, 0, stripWidth, h), SpriteStripSide::Left);
        if (x < rightStripLeft)
            return bitmap(QRect(stripWidth, 0, rightStripLeft - stripWidth, h));
        if (x < rightStripLeft + stripWidth)
            return strip(QRect(rightStripLeft, 0, stripWidth, h), SpriteStripSide::Right);
        return std::nullopt;
    }
    case CanvasLayout::TopBottomBorders: {
        const int bottomStripTop = h - borderStripHeight;
        if (w <= 0 || bottomStripTop <= borderStripHeight)
            break;
        if (!onCanvas)
            return std::nullopt;
        if (y < borderStripHeight)
            return strip(QRect(0, 0, w, borderStripHeight), SpriteStripSide::Top);
        if (y < bottomStripTop)
            return bitmap(QRect(0, borderStripHeight, w, bottomStripTop - borderStripHeight));
        return strip(QRect(0, bottomStripTop, w, borderStripHeight), SpriteStripSide::Bottom);
    }
    }
    return firstRegionContaining(mode, canvasSize, layout, point);
}
