#include "paint/selection_pixels.h"

#include "model/canvas_region.h"
#include "model/palette.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

bool pixelLocked(const QList<QRect>& locked, int x, int y)
{
    return !locked.isEmpty() && canvasPixelIsLocked(locked, x, y);
}

// The bounding rectangle of single pixels, grown without building a rectangle per pixel.
class ChangedBounds {
public:
    void add(int x, int y)
    {
        m_left = std::min(m_left, x);
        m_right = std::max(m_right, x);
        m_top = std::min(m_top, y);
        m_bottom = std::max(m_bottom, y);
    }
    QRect rect() const
    {
        return m_right < m_left ? QRect() : QRect(QPoint(m_left, m_top), QPoint(m_right, m_bottom));
    }

private:
    int m_left = INT_MAX;
    int m_top = INT_MAX;
    int m_right = INT_MIN;
    int m_bottom = INT_MIN;
};

} // namespace

SelectionClipboard copySelectionPixels(const Colormap& colormap, const QRegion& region)
{
    SelectionClipboard clipboard;
    clipboard.region = region.intersected(colormap.rect());
    if (!clipboard.region.isEmpty())
        clipboard.pixels = colormap.snapshotRegion(clipboard.region.boundingRect());
    return clipboard;
}

QImage selectionClipboardToImage(const SelectionClipboard& clipboard, const Palette& palette, CanvasMode mode)
{
    if (clipboard.isEmpty())
        return {};
    const int pixelWidth = std::max(1, int(std::lround(canvasModePixelAspect(mode))));
    const QRect bounds = clipboard.region.boundingRect();
    QImage image(bounds.width() * pixelWidth, bounds.height(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (const QRect& rect : clipboard.region) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            const uchar* source = clipboard.pixels.scanLine(y - bounds.top());
            auto* out = reinterpret_cast<QRgb*>(image.scanLine(y - bounds.top()));
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QRgb colour = palette.colorAt(source[x - bounds.left()]) | 0xff000000u;
                std::fill_n(out + (x - bounds.left()) * pixelWidth, pixelWidth, colour);
            }
        }
    }
    return image;
}

QRect fillSelectionPixels(Colormap& colormap, const QRegion& region, uchar index, const QList<QRect>& locked)
{
    ChangedBounds changed;
    for (const QRect& rect : region.intersected(colormap.rect())) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            uchar* row = colormap.scanLine(y);
            for (int x = rect.left(); x <= rect.right(); ++x) {
                if (row[x] == index || pixelLocked(locked, x, y))
                    continue;
                row[x] = index;
                changed.add(x, y);
            }
        }
    }
    return changed.rect();
}

QRect pasteSelectionPixels(Colormap& colormap, const QRegion& region, const Colormap& pixels, QPoint offset,
    bool transparent, uchar blank, const QList<QRect>& locked)
{
    const QRect bounds = region.boundingRect();
    if (region.isEmpty() || pixels.size() != bounds.size())
        return {};
    ChangedBounds changed;
    for (const QRect& rect : region) {
        const QRect target = rect.translated(offset) & colormap.rect();
        for (int y = target.top(); y <= target.bottom(); ++y) {
            const uchar* source = pixels.scanLine(y - offset.y() - bounds.top()) - offset.x() - bounds.left();
            uchar* row = colormap.scanLine(y);
            for (int x = target.left(); x <= target.right(); ++x) {
                const uchar value = source[x];
                if (row[x] == value || (transparent && value == blank) || pixelLocked(locked, x, y))
                    continue;
                row[x] = value;
                changed.add(x, y);
            }
        }
    }
    return changed.rect();
}
