#include "paint/paint_application.h"

#include "document/project.h"
#include "model/canvas_region.h"
#include "model/colormap.h"
#include "paint/antialias_lut.h"
#include "paint/antialias_stroke_state.h"
#include "paint/footprint_mask.h"
#include "rules/cell_clash_resolution.h"
#include "rules/clash_extent.h"
#include "rules/clash_sweep.h"
#include "rules/paint_veto.h"
#include "rules/sprite_count_tracker.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

namespace {

// Grows per written pixel; kept as edges so that costs a few compares.
struct WrittenBounds {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    void add(int x, int y)
    {
        if (right < left) {
            left = right = x;
            top = bottom = y;
            return;
        }
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    QRect rect() const { return right < left ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom)); }
};

uchar maskCoverage(const uchar* bytes, int pixelWidth, bool graded)
{
    if (!graded) {
        for (int i = 0; i < pixelWidth; ++i) {
            if (bytes[i] != 0)
                return 255;
        }
        return 0;
    }
    int sum = 0;
    for (int i = 0; i < pixelWidth; ++i)
        sum += bytes[i];
    return uchar((sum + pixelWidth / 2) / pixelWidth);
}

bool rowCrossesLockedRect(const QList<QRect>& locked, int y)
{
    for (const QRect& rect : locked) {
        if (y >= rect.top() && y <= rect.bottom())
            return true;
    }
    return false;
}

// Sets every pixel in [first, last] whose mask byte is not 0, eight at a time where the
// eight mask bytes are all set or all clear, as they are almost everywhere in a fill.
void blendCovered(uchar* row, const uchar* maskRow, int first, int last, uchar colour)
{
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = 0x8080808080808080ULL;
    const std::uint64_t solid = ones * colour;
    int x = first;
    for (; x + 7 <= last; x += 8) {
        std::uint64_t marks;
        std::memcpy(&marks, maskRow + x, 8);
        if (marks == 0)
            continue;
        const bool anyZeroByte = ((marks - ones) & ~marks & highs) != 0;
        if (!anyZeroByte) {
            std::memcpy(row + x, &solid, 8);
            continue;
        }
        for (int i = x; i < x + 8; ++i)
            row[i] = maskRow[i] != 0 ? colour : row[i];
    }
    for (; x <= last; ++x)
        row[x] = maskRow[x] != 0 ? colour : row[x];
}

// A plain solid paint (a fill, a shape, a wide pen) asks nothing of each pixel but
// whether the mask covers it, so it runs without the per-pixel questions the general
// loop asks; on a large fill that loop is most of the time. Each row first finds the
// outermost pixels that change, then writes between them without branching, which the
// compiler turns into vector code for single-width pixels.
WrittenBounds writeSolidCoverage(Colormap& colormap, const FootprintMask& mask, const QRect& area,
    uchar colour, const QList<QRect>& locked)
{
    const std::size_t pixelWidth = std::size_t(mask.pixelWidth());
    WrittenBounds written;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar* maskRow = mask.image().constScanLine(y);
        uchar* row = colormap.scanLine(y);
        const bool checkLocks = rowCrossesLockedRect(locked, y);
        const auto covered = [&](int x) {
            const uchar* bytes = maskRow + std::size_t(x) * pixelWidth;
            for (std::size_t i = 0; i < pixelWidth; ++i) {
                if (bytes[i] != 0)
                    return true;
            }
            return false;
        };
        const auto changes = [&](int x) {
            return row[x] != colour && covered(x) && !(checkLocks && canvasPixelIsLocked(locked, x, y));
        };
        int first = area.left();
        while (first <= area.right() && !changes(first))
            ++first;
        if (first > area.right())
            continue;
        int last = area.right();
        while (!changes(last))
            --last;
        if (pixelWidth == 1 && !checkLocks) {
            blendCovered(row, maskRow, first, last, colour);
        } else {
            for (int x = first; x <= last; ++x) {
                if (changes(x))
                    row[x] = colour;
            }
        }
        written.add(first, y);
        written.add(last, y);
    }
    return written;
}

} // namespace

PaintRules paintRulesFor(const Project& project)
{
    PaintRules rules;
    rules.context = project.makeClashContext();
    rules.context.hiresClashResolution = project.hiresClashResolution();
    rules.lockedRects = canvasLockedBorderRects(project.mode(), project.size(), project.layout());
    // Only the top and bottom borders share the 8 hardware sprites between many columns;
    // under the Flag policy a 9th sprite is painted and shown as a violation instead.
    rules.enforceSpriteBudget = project.layout().layout == CanvasLayout::TopBottomBorders
        && project.spriteCountPolicy() == SpriteCountPolicy::Enforce;
    return rules;
}

QRect applyCoveredPaint(Colormap& colormap, const FootprintMask& mask, const QRect& rect,
    const CoveredPaint& paint, const PaintRules& rules)
{
    PaintScratch scratch;
    return applyCoveredPaint(colormap, mask, rect, paint, rules, scratch);
}

QRect applyCoveredPaint(Colormap& colormap, const FootprintMask& mask, const QRect& rect,
    const CoveredPaint& paint, const PaintRules& rules, PaintScratch& scratch)
{
    const QRect area = rect & colormap.rect() & QRect(QPoint(0, 0), mask.canvasSize());
    if (area.isEmpty() || !mask.fits(colormap.size(), mask.pixelWidth()))
        return {};
    const bool antialiased
        = paint.antialias && paint.lut && paint.lut->isValid() && paint.antialias->size() == colormap.size();
    const int pixelWidth = mask.pixelWidth();
    colormap.snapshotRegionInto(area, scratch.before);
    const Colormap& before = scratch.before;

    ClashContext ctx = rules.context;
    ctx.paintIndex = paint.colour;
    ctx.singlePixel = paint.singlePixel;
    // The veto asks about the colour the pixel really takes, which a texture or a blend
    // may have changed.
    ClashContext vetoCtx = ctx;
    std::optional<SpriteCountTracker> tracker;
    if (rules.enforceSpriteBudget)
        tracker.emplace(ctx, colormap);
    const bool solid = paint.texture.isSolid();

    WrittenBounds written;
    if (solid && !antialiased && !tracker && !paint.singlePixel) {
        written = writeSolidCoverage(colormap, mask, area, paint.colour, rules.lockedRects);
    } else {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            const uchar* maskRow = mask.image().constScanLine(y);
            uchar* row = colormap.scanLine(y);
            const quint16 textureRow = paint.texture.row(y);
            for (int x = area.left(); x <= area.right(); ++x) {
                const uchar coverage = maskCoverage(
                    maskRow + std::size_t(x) * std::size_t(pixelWidth), pixelWidth, antialiased);
                if (coverage == 0 || canvasPixelIsLocked(rules.lockedRects, x, y))
                    continue;
                uchar colour = paint.colour;
                if (!solid && !((textureRow >> (x & (Texture::size - 1))) & 1U)) {
                    if (paint.textureMode == TextureMode::Stencil)
                        continue;
                    colour = paint.altColour;
                }
                if (antialiased)
                    colour = paint.antialias->blend(*paint.lut, x, y, colour, row[x], coverage);
                const QPoint point(x, y);
                if (tracker && tracker->vetoPaint(point, colour))
                    continue;
                if (paint.singlePixel) {
                    vetoCtx.paintIndex = colour;
                    if (vetoSinglePixelPaint(vetoCtx, colormap, point))
                        continue;
                }
                if (row[x] != colour) {
                    row[x] = colour;
                    written.add(x, y);
                }
                if (tracker)
                    tracker->notePainted(point, colour);
            }
        }
    }

    const QRect changed = written.rect();
    if (changed.isEmpty())
        return {};
    // Blended shades and the second colour of a pattern are not the paint index the cell
    // resolution looks for, so those paints have the sweep merge whatever over-fills a
    // cell or sprite afterwards.
    if (antialiased)
        return changed | resolveExistingClashes(ctx, colormap, changed);
    QRect dirty = changed | resolveCellClashes(ctx, colormap, before, area, changed);
    if (!solid && paint.textureMode == TextureMode::TwoColor && paint.altColour != paint.colour)
        dirty |= resolveExistingClashes(ctx, colormap, changed);
    return dirty;
}

QRect applyStrokeSegment(Colormap& colormap, FootprintMask& mask, const Brush& brush, QPoint from, QPoint to,
    const StrokeGeometry& geometry, double extraRotation, bool mirrored, CoveredPaint paint,
    const PaintRules& rules)
{
    PaintScratch scratch;
    return applyStrokeSegment(
        colormap, mask, brush, from, to, geometry, extraRotation, mirrored, std::move(paint), rules, scratch);
}

QRect applyStrokeSegment(Colormap& colormap, FootprintMask& mask, const Brush& brush, QPoint from, QPoint to,
    const StrokeGeometry& geometry, double extraRotation, bool mirrored, CoveredPaint paint,
    const PaintRules& rules, PaintScratch& scratch)
{
    Brush nib = brush;
    nib.setAntialiased(paint.antialias != nullptr);
    const QRect rect = nib.strokeFootprint(mask, from, to, geometry.pixelWidth, geometry.displayPixelAspect,
        colormap.size(), geometry.alignment, geometry.viewRotation, extraRotation, mirrored);
    if (rect.isEmpty())
        return {};
    paint.singlePixel = nib.width() == 1;
    if (paint.singlePixel)
        paint.antialias = nullptr;
    return applyCoveredPaint(colormap, mask, rect, paint, rules, scratch);
}

QRect paintReachExtent(const Project& project, const QRect& paintRect, bool twice)
{
    QRect extent = potentialClashExtent(project.mode(), paintRect, project.size(), project.layout());
    if (twice)
        extent = potentialClashExtent(project.mode(), extent, project.size(), project.layout());
    return extent;
}
