#include "model/canvas_region.h"
#include "model/rect_clip.h"

namespace {

// Floor modulo, so cells left of or above a region's origin still line up with its grid.
int floorMod(int value, int divisor)
{
    const int r = value % divisor;
    return r < 0 ? r + divisor : r;
}

int floorDiv(int value, int divisor)
{
    return (value - floorMod(value, divisor)) / divisor;
}

int borderWidth(CanvasMode mode)
{
    // The side borders are 48 screen pixels wide each.
    return isMulticolor(mode) ? 24 : 48;
}

} // namespace

QList<CanvasRegion> canvasRegions(CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout)
{
    const int w = canvasSize.width();
    const int h = canvasSize.height();
    const auto columns = [h](int left, int right) { return QRect(QPoint(left, 0), QPoint(right, h - 1)); };
    const auto lines = [w](int top, int bottom) { return QRect(QPoint(0, top), QPoint(w - 1, bottom)); };

    switch (layout.layout) {
    case CanvasLayout::SideBorders:
        if (isMulticolor(mode)) {
            return {
                {CanvasRegionKind::SpriteStrip, columns(0, 23), SpriteStripSide::Left},
                {CanvasRegionKind::Bitmap, columns(24, w - 25), SpriteStripSide::None},
                {CanvasRegionKind::SpriteStrip, columns(w - 24, w - 1), SpriteStripSide::Right},
            };
        }
        return {
            {CanvasRegionKind::SpriteStrip, columns(0, 47), SpriteStripSide::Left},
            {CanvasRegionKind::Bitmap, columns(48, w - 57), SpriteStripSide::None},
            {CanvasRegionKind::SpriteStrip, columns(w - 56, w - 9), SpriteStripSide::Right},
        };
    case CanvasLayout::TopBottomBorders:
        return {
            {CanvasRegionKind::SpriteStrip, lines(0, 41), SpriteStripSide::Top},
            {CanvasRegionKind::Bitmap, lines(42, h - 43), SpriteStripSide::None},
            {CanvasRegionKind::SpriteStrip, lines(h - 42, h - 1), SpriteStripSide::Bottom},
        };
    case CanvasLayout::BitmapOnly:
        break;
    }
    return {{CanvasRegionKind::Bitmap, QRect(0, 0, w, h), SpriteStripSide::None}};
}

QRect canvasBitmapRect(CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout)
{
    for (const CanvasRegion& region : canvasRegions(mode, canvasSize, layout)) {
        if (region.kind == CanvasRegionKind::Bitmap)
            return region.rect;
    }
    return {};
}

QList<QRect> canvasLockedBorderRects(CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout)
{
    if (isMulticolor(mode) || layout.layout != CanvasLayout::SideBorders)
        return {};
    const int w = canvasSize.width();
    const int h = canvasSize.height();
    return {QRect(QPoint(w - 8, 0), QPoint(w - 1, h - 1)), QRect(0, 0, 48, 1)};
}

bool canvasPixelIsLocked(const QList<QRect>& lockedRects, int x, int y)
{
    for (const QRect& rect : lockedRects) {
        if (rect.contains(x, y))
            return true;
    }
    return false;
}

QRect canvasBorderFrameRect(CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout)
{
    const int w = canvasSize.width();
    const int h = canvasSize.height();
    const int side = borderWidth(mode);
    switch (layout.layout) {
    case CanvasLayout::SideBorders:
        return QRect(QPoint(0, -51), QPoint(w - 1, h + 49));
    case CanvasLayout::TopBottomBorders:
        return QRect(QPoint(-side, -9), QPoint(w - 1 + side, h + 7));
    case CanvasLayout::BitmapOnly:
        break;
    }
    return QRect(QPoint(-side, -51), QPoint(w - 1 + side, h + 49));
}

bool canvasShowsBorderFrame(CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout)
{
    if (layout.layout != CanvasLayout::BitmapOnly)
        return true;
    return canvasSize == QSize(canvasModeScreenWidth(mode), 200);
}

QRectF canvasContentRect(CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout)
{
    if (canvasShowsBorderFrame(mode, canvasSize, layout))
        return QRectF(canvasBorderFrameRect(mode, canvasSize, layout));
    return QRectF(0, 0, canvasSize.width(), canvasSize.height());
}

QList<QRect> safeFrameRects(CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout)
{
    const QRect bitmap = canvasBitmapRect(mode, canvasSize, layout);
    const int bx = bitmap.isNull() ? 0 : bitmap.left();
    const int by = bitmap.isNull() ? 0 : bitmap.top();
    const bool multi = isMulticolor(mode);
    const QRect normal(multi ? bx - 16 : bx - 32, by - 35, multi ? 192 : 384, 272);
    const QRect full(multi ? bx - 24 : bx - 48, by - 43, multi ? 204 : 408, 293);
    return {normal, full};
}

QRect expandRectToCellsInRegion(CanvasMode mode, const QRect& rect, const CanvasRegion& region)
{
    const QRect clip = clipRect(rect, region.rect);
    if (clip.isEmpty())
        return {};
    const int cw = canvasModeCellSize(mode).width();
    const int rx = region.rect.left();
    const int ry = region.rect.top();
    const int left = clip.left() - (clip.left() - rx) % cw;
    const int top = clip.top() - (clip.top() - ry) % 8;
    const int right = rx + ((clip.right() - rx) / cw + 1) * cw - 1;
    const int bottom = ry + ((clip.bottom() - ry) / 8 + 1) * 8 - 1;
    return QRect(QPoint(left, top), QPoint(right, bottom)).intersected(region.rect);
}

QRect expandRectToCells(CanvasMode mode, const QRect& rect, const QSize& canvasSize)
{
    const CanvasRegion whole {
        CanvasRegionKind::Bitmap, QRect(QPoint(0, 0), canvasSize), SpriteStripSide::None};
    return expandRectToCellsInRegion(mode, rect, whole);
}

QRect cellRectAt(CanvasMode mode, const QPoint& point, const CanvasRegion& region)
{
    const int cw = canvasModeCellSize(mode).width();
    const int left = point.x() - floorMod(point.x() - region.rect.left(), cw);
    const int top = region.rect.top() + 8 * floorDiv(point.y() - region.rect.top(), 8);
    return QRect(left, top, cw, 8).intersected(region.rect);
}

QRect canvasScreenRect(CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout, int screen)
{
    const QRect bitmap = canvasBitmapRect(mode, canvasSize, layout);
    if (bitmap.isEmpty())
        return {};
    const int sw = canvasModeScreenWidth(mode);
    const QRect screenRect(bitmap.left() + screen * sw, bitmap.top(), sw, bitmap.height());
    return screenRect.intersected(bitmap);
}
