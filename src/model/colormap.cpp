#include "model/colormap.h"

#include "model/palette.h"
#include "model/rect_clip.h"

#include <QImage>

#include <algorithm>
#include <cstring>

Colormap::Colormap(int width, int height)
    : m_width(std::max(0, width))
    , m_height(std::max(0, height))
    , m_pixels(std::size_t(m_width) * std::size_t(m_height), 0)
{
}

void Colormap::fill(uchar colorIndex)
{
    std::fill(m_pixels.begin(), m_pixels.end(), colorIndex);
}

void Colormap::fillRect(const QRect& rect, uchar colorIndex)
{
    const QRect clip = clipRect(rect, this->rect());
    for (int y = clip.top(); y <= clip.bottom(); ++y)
        std::memset(scanLine(y) + clip.left(), colorIndex, std::size_t(clip.width()));
}

void Colormap::mirror(const QRect& rect, Qt::Orientation orientation)
{
    const QRect clip = clipRect(rect, this->rect());
    if (clip.isEmpty())
        return;
    if (orientation == Qt::Horizontal) {
        for (int y = clip.top(); y <= clip.bottom(); ++y) {
            uchar* row = scanLine(y);
            std::reverse(row + clip.left(), row + clip.right() + 1);
        }
        return;
    }
    for (int top = clip.top(), bottom = clip.bottom(); top < bottom; ++top, --bottom)
        std::swap_ranges(
            scanLine(top) + clip.left(), scanLine(top) + clip.right() + 1, scanLine(bottom) + clip.left());
}

QImage Colormap::toImage(const Palette& palette) const
{
    if (isEmpty())
        return {};
    QImage image(m_width, m_height, QImage::Format_RGB32);
    paintToImage(palette, rect(), image);
    return image;
}

void Colormap::paintToImage(const Palette& palette, const QRect& rect, QImage& image) const
{
    const QRect clip = clipRect(rect, this->rect()).intersected(image.rect());
    if (clip.isEmpty() || image.depth() != 32)
        return;
    QRgb colors[256];
    for (int i = 0; i < 256; ++i)
        colors[i] = palette.colorAt(uchar(i));
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        const uchar* source = scanLine(y) + clip.left();
        QRgb* target = reinterpret_cast<QRgb*>(image.scanLine(y)) + clip.left();
        for (int x = 0; x < clip.width(); ++x)
            target[x] = colors[source[x]];
    }
}

Colormap Colormap::snapshotRegion(const QRect& rect) const
{
    const QRect clip = clipRect(rect, this->rect());
    if (clip.isEmpty())
        return {};
    if (clip == this->rect())
        return *this;
    // Appending row by row spares zeroing memory that is overwritten at once; snapshots
    // of a large canvas are taken on every recorded edit.
    Colormap copy;
    copy.m_width = clip.width();
    copy.m_height = clip.height();
    copy.m_pixels.reserve(std::size_t(clip.width()) * std::size_t(clip.height()));
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        const uchar* row = scanLine(y) + clip.left();
        copy.m_pixels.insert(copy.m_pixels.end(), row, row + clip.width());
    }
    return copy;
}

void Colormap::snapshotRegionInto(const QRect& rect, Colormap& target) const
{
    const QRect clip = clipRect(rect, this->rect());
    target.m_pixels.clear();
    target.m_width = clip.isEmpty() ? 0 : clip.width();
    target.m_height = clip.isEmpty() ? 0 : clip.height();
    if (clip.isEmpty())
        return;
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        const uchar* row = scanLine(y) + clip.left();
        target.m_pixels.insert(target.m_pixels.end(), row, row + clip.width());
    }
}

void Colormap::restoreRegion(const QRect& rect, const Colormap& source)
{
    const QRect target = QRect(rect.topLeft(), source.size()).intersected(this->rect());
    if (target.isEmpty())
        return;
    const int sx = target.left() - rect.left();
    const int sy = target.top() - rect.top();
    for (int y = 0; y < target.height(); ++y) {
        std::memcpy(scanLine(target.top() + y) + target.left(), source.scanLine(sy + y) + sx,
            std::size_t(target.width()));
    }
}

void Colormap::writeLongRows(uchar* target, const uchar* rows, int width, int height)
{
    for (int row = 0; row < height; ++row, target += m_width, rows += width)
        std::memcpy(target, rows, std::size_t(width));
}

void Colormap::copyArea(const Colormap& source, const QRect& area)
{
    const QRect clip = clipRect(area, rect()) & source.rect();
    if (clip.isEmpty())
        return;
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        std::memcpy(scanLine(y) + clip.left(), source.scanLine(y) + clip.left(), std::size_t(clip.width()));
    }
}

int Colormap::replaceIndex(const QRect& rect, uchar from, uchar to)
{
    if (from == to)
        return 0;
    const QRect clip = clipRect(rect, this->rect());
    int changed = 0;
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        uchar* row = scanLine(y);
        for (int x = clip.left(); x <= clip.right(); ++x) {
            if (row[x] == from) {
                row[x] = to;
                ++changed;
            }
        }
    }
    return changed;
}

int Colormap::swapIndices(const QRect& rect, uchar a, uchar b)
{
    if (a == b)
        return 0;
    const QRect clip = clipRect(rect, this->rect());
    int changed = 0;
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        uchar* row = scanLine(y);
        for (int x = clip.left(); x <= clip.right(); ++x) {
            if (row[x] == a) {
                row[x] = b;
                ++changed;
            } else if (row[x] == b) {
                row[x] = a;
                ++changed;
            }
        }
    }
    return changed;
}

QRect Colormap::diffBoundingRect(const Colormap& other) const
{
    if (size() != other.size())
        return {};
    return diffBoundingRect(rect(), other, QPoint(0, 0));
}

QRect Colormap::diffBoundingRect(const QRect& rect, const Colormap& other, const QPoint& otherOrigin) const
{
    if (rect.isEmpty() || !this->rect().contains(rect)
        || !other.rect().contains(QRect(otherOrigin, rect.size())))
        return {};
    const std::size_t width = std::size_t(rect.width());
    int left = rect.width();
    int right = -1;
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < rect.height(); ++y) {
        const uchar* a = scanLine(rect.top() + y) + rect.left();
        const uchar* b = other.scanLine(otherOrigin.y() + y) + otherOrigin.x();
        if (std::memcmp(a, b, width) == 0)
            continue;
        if (top < 0)
            top = y;
        bottom = y;
        int x = 0;
        while (a[x] == b[x])
            ++x;
        left = std::min(left, x);
        x = rect.width() - 1;
        while (a[x] == b[x])
            --x;
        right = std::max(right, x);
    }
    if (top < 0)
        return {};
    return QRect(QPoint(left, top), QPoint(right, bottom)).translated(rect.topLeft());
}

QList<uchar> Colormap::distinctIndices(const QRect& rect, int limit) const
{
    QList<uchar> found;
    const QRect clip = clipRect(rect, this->rect());
    if (clip.isEmpty() || limit <= 0)
        return found;
    bool seen[256] = {};
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        const uchar* row = scanLine(y);
        for (int x = clip.left(); x <= clip.right(); ++x) {
            if (seen[row[x]])
                continue;
            seen[row[x]] = true;
            found.append(row[x]);
            if (found.size() >= limit)
                return found;
        }
    }
    return found;
}
