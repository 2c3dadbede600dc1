#pragma once

#include "model/canvas_layout.h"
#include "model/canvas_mode.h"

#include <QList>
#include <QRect>
#include <QRectF>

enum class CanvasRegionKind : qint32 {
    Bitmap = 0,
    SpriteStrip = 1,
};

// The border a sprite strip lies in; the bitmap region carries None.
enum class SpriteStripSide : quint8 {
    None = 0,
    Left = 1,
    Right = 2,
    Top = 3,
    Bottom = 4,
};

struct CanvasRegion {
    CanvasRegionKind kind = CanvasRegionKind::Bitmap;
    QRect rect;
    SpriteStripSide side = SpriteStripSide::None;

    bool isSpriteStrip() const { return kind == CanvasRegionKind::SpriteStrip; }
    bool isHorizontalStrip() const
    {
        return isSpriteStrip() && (side == SpriteStripSide::Top || side == SpriteStripSide::Bottom);
    }

    friend bool operator==(const CanvasRegion&, const CanvasRegion&) = default;
};

// The canvas divided into its bitmap and sprite strips, in a fixed order that every
// rule walks: left or top strip, bitmap, right or bottom strip.
QList<CanvasRegion> canvasRegions(CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout);

// The first bitmap region, or a null rectangle when the canvas has none.
QRect canvasBitmapRect(CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout);

// Pixels that always hold the border colour. Only a hires side-border canvas has them:
// its right strip leaves an 8-pixel border column, and the left strip's top line is
// where the display routine opens the side border, so it cannot show sprite pixels.
QList<QRect> canvasLockedBorderRects(
    CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout);
bool canvasPixelIsLocked(const QList<QRect>& lockedRects, int x, int y);

// The C64 border frame around the canvas; it reaches beyond the canvas.
QRect canvasBorderFrameRect(CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout);
bool canvasShowsBorderFrame(CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout);

// What the view fits and the exporters frame: the border frame when it is shown,
// otherwise the canvas itself.
QRectF canvasContentRect(CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout);

// The areas an emulator shows with its borders set to normal and to full, in that order.
QList<QRect> safeFrameRects(CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout);

// Grows a rectangle to whole char cells of a region. The cell grid starts at the
// region's corner, not at the canvas origin.
QRect expandRectToCellsInRegion(CanvasMode mode, const QRect& rect, const CanvasRegion& region);
QRect expandRectToCells(CanvasMode mode, const QRect& rect, const QSize& canvasSize);

// The char cell holding a point of a bitmap region, clipped to the region.
QRect cellRectAt(CanvasMode mode, const QPoint& point, const CanvasRegion& region);

// The rectangle of one screen of a multi-screen canvas, or a null rectangle.
QRect canvasScreenRect(CanvasMode mode, const QSize& canvasSize, const CanvasLayoutSpec& layout, int screen);
