#include "paint/flood_fill.h"

#include "model/canvas_region.h"
#include "model/colormap.h"
#include "paint/brush.h"
#include "paint/footprint_mask.h"

#include <cstring>
#include <vector>

namespace {

class Flood {
public:
    Flood(const Colormap& colormap, FootprintMask& mask, const QList<QRect>& locked, uchar target)
        : m_colormap(colormap)
        , m_mask(mask)
        , m_locked(locked)
        , m_target(target)
        , m_pixelWidth(mask.pixelWidth())
    {
    }

    bool fillable(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < m_colormap.width() && y < m_colormap.height()
            && m_colormap.scanLine(y)[x] == m_target && m_mask.row(y)[std::size_t(x) * m_pixelWidth] == 0
            && (m_locked.isEmpty() || !canvasPixelIsLocked(m_locked, x, y));
    }

    QRect run(QPoint seed)
    {
        std::vector<QPoint> stack {seed};
        int left = seed.x();
        int right = seed.x();
        int top = seed.y();
        int bottom = seed.y();
        bool any = false;
        while (!stack.empty()) {
            const QPoint p = stack.back();
            stack.pop_back();
            if (!fillable(p.x(), p.y()))
                continue;
            int l = p.x();
            int r = p.x();
            while (fillable(l - 1, p.y()))
                --l;
            while (fillable(r + 1, p.y()))
                ++r;
            uchar* row = m_mask.row(p.y());
            for (int x = l; x <= r; ++x)
                row[std::size_t(x) * m_pixelWidth] = 255;
            any = true;
            left = std::min(left, l);
            right = std::max(right, r);
            top = std::min(top, p.y());
            bottom = std::max(bottom, p.y());
            for (const int y : {p.y() - 1, p.y() + 1}) {
                bool inRun = false;
                for (int x = l; x <= r; ++x) {
                    const bool open = fillable(x, y);
                    if (open && !inRun)
                        stack.emplace_back(x, y);
                    inRun = open;
                }
            }
        }
        return any ? QRect(QPoint(left, top), QPoint(right, bottom)) : QRect();
    }

private:
    const Colormap& m_colormap;
    FootprintMask& m_mask;
    const QList<QRect>& m_locked;
    uchar m_target;
    int m_pixelWidth;
};

bool marked(const FootprintMask& mask, int x, int y)
{
    return mask.image().constScanLine(y)[std::size_t(x) * mask.pixelWidth()] != 0;
}

QList<QPoint> edgePixels(const FootprintMask& region, const QRect& bounds, ContourPlacement placement)
{
    const QRect canvas(QPoint(0, 0), region.canvasSize());
    const bool innerRim = placement != ContourPlacement::Inside;
    const QRect area = innerRim ? bounds : bounds.adjusted(-1, -1, 1, 1) & canvas;
    QList<QPoint> edges;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (marked(region, x, y) != innerRim)
                continue;
            for (const QPoint n : {QPoint(x - 1, y), QPoint(x + 1, y), QPoint(x, y - 1), QPoint(x, y + 1)}) {
                if (canvas.contains(n) && marked(region, n.x(), n.y()) != innerRim) {
                    edges.append(QPoint(x, y));
                    break;
                }
            }
        }
    }
    return edges;
}

bool anyCovered(const FootprintMask& mask, const QRect& rect)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (Brush::covers(mask.image(), x, y, mask.pixelWidth()))
                return true;
        }
    }
    return false;
}

void setPixel(FootprintMask& mask, int x, int y, uchar value)
{
    std::memset(mask.row(y) + std::size_t(x) * mask.pixelWidth(), value, std::size_t(mask.pixelWidth()));
}

// A one-pixel band sits wholly on one side of the edge; growing it by a pixel each way
// lets the placement clip keep a whole pixel on the side asked for.
QRect growByNeighbours(FootprintMask& band, const QRect& rect)
{
    const QRect canvas(QPoint(0, 0), band.canvasSize());
    QList<QPoint> covered;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (Brush::covers(band.image(), x, y, band.pixelWidth()))
                covered.append(QPoint(x, y));
        }
    }
    for (const QPoint& p : covered) {
        for (const QPoint n : {QPoint(p.x() - 1, p.y()), QPoint(p.x() + 1, p.y()), QPoint(p.x(), p.y() - 1),
                 QPoint(p.x(), p.y() + 1)}) {
            if (canvas.contains(n))
                setPixel(band, n.x(), n.y(), 255);
        }
    }
    const QRect grown = rect.adjusted(-1, -1, 1, 1) & canvas;
    band.markTouched(grown);
    return grown;
}

} // namespace

QRect floodFillCoverage(
    const Colormap& colormap, QPoint seed, FootprintMask& mask, const QList<QRect>& locked)
{
    if (!mask.fits(colormap.size(), mask.pixelWidth()) || !colormap.contains(seed.x(), seed.y())
        || canvasPixelIsLocked(locked, seed.x(), seed.y()))
        return {};
    mask.clear();
    Flood flood(colormap, mask, locked, colormap.pixel(seed.x(), seed.y()));
    const QRect rect = flood.run(seed);
    if (!rect.isEmpty())
        mask.markTouched(rect);
    return rect;
}

QRect sweepNib(FootprintMask& mask, const Brush& brush, const QList<QPoint>& pixels,
    double displayPixelAspect, QSize canvas)
{
    const int pixelWidth = mask.pixelWidth();
    const QPointF anchor = brush.anchors(pixelWidth, displayPixelAspect);
    QRect touched;
    for (const QPoint& p : pixels) {
        const QPointF display((p.x() + anchor.x()) * pixelWidth, (p.y() + anchor.y()) / displayPixelAspect);
        touched |= brush.strokeDisplaySegment(mask, display, display, pixelWidth, displayPixelAspect, canvas);
    }
    return touched;
}

QRect contourCoverage(const Colormap& colormap, QPoint seed, const Brush& brush, ContourPlacement placement,
    double displayPixelAspect, const QList<QRect>& locked, FootprintMask& regionMask, FootprintMask& bandMask)
{
    const int pixelWidth = regionMask.pixelWidth();
    if (&regionMask == &bandMask || !bandMask.fits(colormap.size(), pixelWidth))
        return {};
    const QRect region = floodFillCoverage(colormap, seed, regionMask, locked);
    if (region.isEmpty())
        return {};
    const QList<QPoint> edges = edgePixels(regionMask, region, placement);
    if (edges.isEmpty())
        return {};

    const bool oneSided = placement != ContourPlacement::Center;
    Brush nib = brush;
    // Centred on the rim, a nib of 2w + 1 reaches w pixels into the side that is kept.
    if (oneSided && brush.width() != 1)
        nib.setWidth(2 * brush.width() + 1);
    bandMask.clear();
    QRect band = sweepNib(bandMask, nib, edges, displayPixelAspect, colormap.size());
    if (band.isEmpty() || !anyCovered(bandMask, band)) {
        bandMask.clear();
        Brush thin(1);
        band = sweepNib(bandMask, thin, edges, displayPixelAspect, colormap.size());
    }
    if (oneSided && brush.width() == 1 && !band.isEmpty())
        band = growByNeighbours(bandMask, band);

    int left = 0, top = 0, right = -1, bottom = -1;
    for (int y = band.top(); y <= band.bottom(); ++y) {
        for (int x = band.left(); x <= band.right(); ++x) {
            if (!Brush::covers(bandMask.image(), x, y, pixelWidth))
                continue;
            const bool inRegion = marked(regionMask, x, y);
            if ((placement == ContourPlacement::Outside && inRegion)
                || (placement == ContourPlacement::Inside && !inRegion)) {
                setPixel(bandMask, x, y, 0);
                continue;
            }
            if (right < left) {
                left = right = x;
                top = bottom = y;
            }
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right < left ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}
