// The guides the view draws over the artwork: pixel grid, reference grid and screen seams,
// safe frames and the sprite flags. All of them are drawn in canvas coordinates under the
// view transform with cosmetic pens, so a line stays one screen pixel whatever the zoom.

#include "view/canvas_area.h"

#include "document/project.h"
#include "model/canvas_region.h"
#include "model/sprite_rows.h"
#include "model/sprite_strip_grid.h"
#include "rules/sprite_budget.h"
#include "rules/sprite_colors.h"
#include "view/reference_grid.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Below this zoom a pixel grid would be denser than the pixels it separates.
constexpr double pixelGridMinZoom = 4.0;
// From this zoom the thin cell lines get lost between the pixel grid's lines.
constexpr double thickGridZoom = 6.0;

QPen gridPen(int grey, int lightGrey, bool light, int alpha, int width)
{
    const int level = light ? lightGrey : grey;
    QPen pen(QColor(level, level, level, alpha));
    pen.setCosmetic(true);
    pen.setWidth(width);
    return pen;
}

QPen outlinePen(const QColor& colour)
{
    QPen pen(colour);
    pen.setCosmetic(true);
    pen.setWidth(1);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

// The x where the pixel grid stops: the left edge of a locked border column that runs the
// canvas's full height at its right edge, so that column shows no pixel grid.
int pixelGridRightEdge(const Project& project)
{
    const QRect canvas = project.rect();
    int right = canvas.left() + canvas.width();
    for (const QRect& locked : canvasLockedBorderRects(project.mode(), project.size(), project.layout())) {
        if (locked.height() == canvas.height() && locked.right() == canvas.right())
            right = std::min(right, locked.left());
    }
    return right;
}

QList<CanvasRegion> borderSpriteStrips(const Project& project)
{
    QList<CanvasRegion> strips;
    for (const CanvasRegion& region : canvasRegions(project.mode(), project.size(), project.layout())) {
        if (region.isHorizontalStrip())
            strips << region;
    }
    return strips;
}

} // namespace

void CanvasArea::setGridVisible(bool on)
{
    if (m_referenceGridVisible == on)
        return;
    m_referenceGridVisible = on;
    update();
}

void CanvasArea::setPixelGridVisible(bool on)
{
    if (m_pixelGridVisible == on)
        return;
    m_pixelGridVisible = on;
    update();
}

void CanvasArea::setLightGrids(bool on)
{
    if (m_lightGrids == on)
        return;
    m_lightGrids = on;
    const bool pixelGridShown = m_pixelGridVisible && m_project->transform().zoom() >= pixelGridMinZoom;
    if (m_referenceGridVisible || pixelGridShown)
        update();
}

void CanvasArea::setSafeFramesVisible(bool on)
{
    if (m_safeFramesVisible == on)
        return;
    m_safeFramesVisible = on;
    update();
}

QRectF CanvasArea::visibleCanvasRect(const QPainter& painter) const
{
    const QRectF exposed = painter.hasClipping() ? QRectF(painter.clipBoundingRect()) : QRectF(rect());
    return exposed & QRectF(m_project->rect());
}

void CanvasArea::drawPixelGridOverlay(QPainter& painter)
{
    if (!m_pixelGridVisible || m_project->transform().zoom() < pixelGridMinZoom)
        return;
    const QRectF visible = visibleCanvasRect(painter);
    if (visible.isEmpty())
        return;
    const int left = int(std::floor(visible.left()));
    const int top = int(std::floor(visible.top()));
    const int right = std::min(int(std::ceil(visible.right())), pixelGridRightEdge(*m_project));
    const int bottom = int(std::ceil(visible.bottom()));
    QList<QLineF> lines;
    lines.reserve((right - left) + (bottom - top) + 2);
    for (int x = left; x <= right; ++x)
        lines << QLineF(x, top, x, bottom);
    for (int y = top; y <= bottom; ++y)
        lines << QLineF(left, y, right, y);
    painter.setPen(gridPen(64, 115, m_lightGrids, 128, 1));
    painter.drawLines(lines);
}

void CanvasArea::drawGridOverlay(QPainter& painter)
{
    if (!m_referenceGridVisible)
        return;
    const Project& project = *m_project;
    const QRectF visible = visibleCanvasRect(painter);
    const bool thick = project.transform().zoom() >= thickGridZoom;
    painter.setPen(gridPen(96, 147, m_lightGrids, 255, thick ? 2 : 1));
    painter.drawLines(referenceGridLines(project.mode(), project.size(), project.layout(), visible));

    // A side strip's logical rows are not all one hardware sprite high, so each unit is
    // outlined from the row table rather than from a regular step.
    for (const CanvasRegion& region : canvasRegions(project.mode(), project.size(), project.layout())) {
        if (!region.isSpriteStrip() || region.isHorizontalStrip()
            || !region.rect.intersects(visible.toAlignedRect()))
            continue;
        for (int column = 0; column < 2; ++column) {
            for (int row = 0; row < spriteLogicalRowCount; ++row) {
                const QRect unit = spriteUnitRect(region, project.mode(), column, row) & region.rect;
                if (unit.isEmpty())
                    continue;
                const QPointF corners[]
                    = {QPointF(unit.left(), unit.top()), QPointF(unit.left() + unit.width(), unit.top()),
                        QPointF(unit.left() + unit.width(), unit.top() + unit.height())};
                painter.drawPolyline(corners, 3);
            }
        }
    }

    const QList<QLineF> seams = referenceGridSeamLines(project.size(), project.screensAcross());
    if (!seams.isEmpty()) {
        painter.setPen(gridPen(160, 211, m_lightGrids, 255, thick ? 3 : 2));
        painter.drawLines(seams);
    }
}

void CanvasArea::drawSafeFramesOverlay(QPainter& painter)
{
    const Project& project = *m_project;
    if (!m_safeFramesVisible || project.layout().layout == CanvasLayout::BitmapOnly)
        return;
    const QList<QRect> frames = safeFrameRects(project.mode(), project.size(), project.layout());
    if (frames.size() < 2)
        return;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(outlinePen(QColor(255, 191, 0, 102)));
    painter.drawRect(QRectF(frames[1]));
    painter.setPen(outlinePen(QColor(0, 255, 0, 102)));
    painter.drawRect(QRectF(frames[0]));
}

void CanvasArea::refreshSpriteFlags()
{
    const Project& project = *m_project;
    const QList<CanvasRegion> strips = borderSpriteStrips(project);
    m_spriteFlags.resize(strips.size());
    for (qsizetype i = 0; i < strips.size(); ++i) {
        const CanvasRegion& strip = strips[i];
        const ClashContext ctx = makeClashContext(m_penIndex, false);
        const SpriteSharedColors shared = spriteSharedColors(ctx, strip);
        const std::array<uchar, 4> key {
            borderSpriteBackground(ctx, strip.side), shared.colors[0], shared.colors[1], shared.colors[2]};
        SpriteFlagEntry& entry = m_spriteFlags[i];
        if (entry.valid && entry.key == key)
            continue;
        entry.rects.clear();
        const SpriteStripGrid grid = spriteStripGrid(strip, project.mode(), project.layout());
        for (int column = 0; column < grid.columns; ++column) {
            if (spriteUnitExceedsColorLimit(ctx, project.colormap(), strip, column, 0))
                entry.rects << grid.unitRect(column, 0);
        }
        entry.rects << spriteCountViolationRects(ctx, project.colormap(), strip);
        entry.key = key;
        entry.valid = true;
    }
}

QList<QRect> CanvasArea::spriteFlagRects()
{
    refreshSpriteFlags();
    QList<QRect> rects;
    for (const SpriteFlagEntry& entry : std::as_const(m_spriteFlags))
        rects << entry.rects;
    return rects;
}

void CanvasArea::invalidateSpriteFlags(const QRect& canvasRect)
{
    const QList<CanvasRegion> strips = borderSpriteStrips(*m_project);
    if (m_spriteFlags.size() != strips.size()) {
        invalidateSpriteFlagOverlay();
        return;
    }
    for (qsizetype i = 0; i < strips.size(); ++i) {
        if (!strips[i].rect.intersects(canvasRect))
            continue;
        m_spriteFlags[i].valid = false;
        update(canvasToViewUpdateRect(strips[i].rect));
    }
}

void CanvasArea::invalidateSpriteFlagOverlay()
{
    for (SpriteFlagEntry& entry : m_spriteFlags)
        entry.valid = false;
    update();
}

void CanvasArea::drawSpriteFlagOverlay(QPainter& painter)
{
    if (m_project->layout().layout != CanvasLayout::TopBottomBorders)
        return;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(outlinePen(QColor(255, 0, 0)));
    for (const QRect& unit : spriteFlagRects())
        painter.drawRect(QRectF(unit));
}
