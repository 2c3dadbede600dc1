#include "paint/flood_fill.h"

#include "model/canvas_region.h"
#include "model/colormap.h"
#include "paint/brush.h"
#include "paint/footprint_mask.h"

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// A scanline fill that remembers the span each row was reached from, so a row is read
// again only where the area leaks back around a corner. An open canvas thus reads each
// pixel about twice, through raw row pointers.
class Flood {
public:
    Flood(const Colormap& colormap, FootprintMask& mask, const QList<QRect>& locked, uchar target)
        : m_pixels(colormap.scanLine(0))
        , m_width(colormap.width())
        , m_height(colormap.height())
        , m_mask(mask.row(0))
        , m_maskStride(std::size_t(mask.image().bytesPerLine()))
        , m_locked(locked)
        , m_target(target)
        , m_pixelWidth(std::size_t(mask.pixelWidth()))
    {
    }

    QRect run(QPoint seed)
    {
        Row seedRow = row(seed.y());
        if (!seedRow.open(seed.x()))
            return {};
        const auto [left, right] = fillAround(seedRow, seed.x());
        m_bounds = {left, seed.y(), right, seed.y()};
        m_pending.push_back({left, right, seed.y() + 1, 1});
        m_pending.push_back({left, right, seed.y() - 1, -1});
        while (!m_pending.empty()) {
            const Span span = m_pending.back();
            m_pending.pop_back();
            if (span.y >= 0 && span.y < m_height)
                scan(span);
        }
        return QRect(QPoint(m_bounds.left, m_bounds.top), QPoint(m_bounds.right, m_bounds.bottom));
    }

private:
    // [left, right] was filled on row y - dy; row y is to be searched below it.
    struct Span {
        int left;
        int right;
        int y;
        int dy;
    };

    struct Bounds {
        int left, top, right, bottom;
    };

    struct Row {
        const uchar* pixels;
        uchar* mask;
        std::size_t pixelWidth;
        uchar target;
        int y;
        const QList<QRect>* locked; // null when no locked rectangle crosses the row

        bool open(int x) const
        {
            return pixels[x] == target && mask[std::size_t(x) * pixelWidth] == 0
                && (!locked || !canvasPixelIsLocked(*locked, x, y));
        }
    };

    Row row(int y) const
    {
        const QList<QRect>* locked = nullptr;
        for (const QRect& rect : m_locked) {
            if (y >= rect.top() && y <= rect.bottom())
                locked = &m_locked;
        }
        return {m_pixels + std::size_t(y) * std::size_t(m_width), m_mask + std::size_t(y) * m_maskStride,
            m_pixelWidth, m_target, y, locked};
    }

    // Fills the run of open pixels through x on the row and returns its ends.
    std::pair<int, int> fillAround(const Row& r, int x)
    {
        int left = x;
        int right = x;
        while (left > 0 && r.open(left - 1))
            --left;
        right = openRunEnd(r, right);
        // Every byte of a covered pixel is marked, which reads the same to all users.
        std::memset(
            r.mask + std::size_t(left) * m_pixelWidth, 255, std::size_t(right - left + 1) * m_pixelWidth);
        m_bounds.left = std::min(m_bounds.left, left);
        m_bounds.right = std::max(m_bounds.right, right);
        m_bounds.top = std::min(m_bounds.top, r.y);
        m_bounds.bottom = std::max(m_bounds.bottom, r.y);
        return {left, right};
    }

    // The last open pixel of the run that is open at x. Rows without a locked rectangle
    // are compared eight pixels at a time, which is most of the work on a large area.
    int openRunEnd(const Row& r, int x) const
    {
        if (!r.locked && m_pixelWidth == 1) {
            const std::uint64_t target = 0x0101010101010101ULL * r.target;
            while (x + 8 < m_width) {
                std::uint64_t pixels;
                std::uint64_t marks;
                std::memcpy(&pixels, r.pixels + x + 1, 8);
                std::memcpy(&marks, r.mask + x + 1, 8);
                if (pixels != target || marks != 0)
                    break;
                x += 8;
            }
        }
        while (x + 1 < m_width && r.open(x + 1))
            ++x;
        return x;
    }

    void scan(const Span& span)
    {
        const Row r = row(span.y);
        int x = span.left;
        while (x <= span.right) {
            if (!r.open(x)) {
                ++x;
                continue;
            }
            const auto [left, right] = fillAround(r, x);
            m_pending.push_back({left, right, span.y + span.dy, span.dy});
            // Where the run reaches past the span it came from, the row behind may open
            // up around a corner.
            if (left < span.left)
                m_pending.push_back({left, span.left - 1, span.y - span.dy, -span.dy});
            if (right > span.right)
                m_pending.push_back({span.right + 1, right, span.y - span.dy, -span.dy});
            x = right + 2;
        }
    }

    const uchar* m_pixels;
    int m_width;
    int m_height;
    uchar* m_mask;
    std::size_t m_maskStride;
    const QList<QRect>& m_locked;
    uchar m_target;
    std::size_t m_pixelWidth;
    Bounds m_bounds {};
    std::vector<Span> m_pending;
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
