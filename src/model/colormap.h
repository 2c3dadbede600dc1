#pragma once

#include <QList>
#include <QRect>
#include <QSize>

#include <cstring>
#include <vector>

class Palette;
class QImage;

// The artwork: one byte per stored pixel, each a C64 colour index. Everything on
// screen is rendered from it; it is a value, and a copy is a deep copy.
class Colormap {
public:
    Colormap() = default;
    Colormap(int width, int height);

    int width() const { return m_width; }
    int height() const { return m_height; }
    QSize size() const { return {m_width, m_height}; }
    QRect rect() const { return {0, 0, m_width, m_height}; }
    bool isEmpty() const { return m_width == 0 || m_height == 0; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    // Whether the whole rectangle lies inside: inline, unlike QRect's own test, for loops
    // over many small crops.
    bool holds(const QRect& rect) const
    {
        return rect.left() >= 0 && rect.top() >= 0 && rect.right() < m_width && rect.bottom() < m_height;
    }

    uchar pixel(int x, int y) const { return contains(x, y) ? m_pixels[index(x, y)] : 0; }
    void setPixel(int x, int y, uchar colorIndex)
    {
        if (contains(x, y))
            m_pixels[index(x, y)] = colorIndex;
    }

    // Unchecked row access for inner loops that have clipped their rectangle already.
    const uchar* scanLine(int y) const { return m_pixels.data() + std::size_t(y) * std::size_t(m_width); }
    uchar* scanLine(int y) { return m_pixels.data() + std::size_t(y) * std::size_t(m_width); }
    const uchar* constData() const { return m_pixels.data(); }

    void fill(uchar colorIndex);
    void fillRect(const QRect& rect, uchar colorIndex);
    void mirror(const QRect& rect, Qt::Orientation orientation);

    QImage toImage(const Palette& palette) const;
    void paintToImage(const Palette& palette, const QRect& rect, QImage& image) const;

    Colormap snapshotRegion(const QRect& rect) const;
    // The same into `target`, whose buffer is reused when large enough: for callers that
    // take many small snapshots in a row.
    void snapshotRegionInto(const QRect& rect, Colormap& target) const;
    void restoreRegion(const QRect& rect, const Colormap& source);
    // Writes `rows` (row-major, `width` indices each) over the rectangle at (x, y), which
    // the caller has checked lies inside. Inline: undo, redo and the workstage replay
    // write hundreds of thousands of crops of a few pixels each, where a call into the C
    // library per row would cost more than the copy.
    [[gnu::always_inline]] void writeRows(int x, int y, int width, int height, const uchar* rows)
    {
        uchar* target = scanLine(y) + x;
        if (width >= 8 && width <= 16)
            writeRowWords<quint64>(target, rows, width, height);
        else if (width >= 4 && width < 8)
            writeRowWords<quint32>(target, rows, width, height);
        else if (width >= 2 && width < 4)
            writeRowWords<quint16>(target, rows, width, height);
        else if (width == 1)
            writeRowWords<uchar>(target, rows, width, height);
        else
            writeLongRows(target, rows, width, height);
    }
    // Copies `source`'s pixels of `area` to the same place here, as far as both hold it.
    void copyArea(const Colormap& source, const QRect& area);

    int replaceIndex(const QRect& rect, uchar from, uchar to);
    int swapIndices(const QRect& rect, uchar a, uchar b);

    QRect diffBoundingRect(const Colormap& other) const;
    // The bounding box, in this map's coordinates, of the pixels of `rect` that differ
    // from `other`'s pixels of the same size at `otherOrigin`; null when they all agree
    // or either area does not lie wholly inside its map.
    QRect diffBoundingRect(const QRect& rect, const Colormap& other, const QPoint& otherOrigin) const;

    // Distinct indices in scan order, stopping once `limit` have been seen: callers ask
    // for one more than they allow and only look at whether the list grew that long.
    QList<uchar> distinctIndices(const QRect& rect, int limit) const;

    friend bool operator==(const Colormap&, const Colormap&) = default;

private:
    // Rows of up to 16 indices are copied as two overlapping words, which needs no loop
    // and stays inside both rows; the crops history keeps are nearly always that small.
    template<typename Word>
    void writeRowWords(uchar* target, const uchar* rows, int width, int height)
    {
        const std::size_t tail = std::size_t(width) - sizeof(Word);
        // A local stride: the byte stores below may alias m_width, which would otherwise
        // be read again for every row.
        const std::size_t stride = std::size_t(m_width);
        for (int row = 0; row < height; ++row, target += stride, rows += width) {
            Word first;
            Word last;
            std::memcpy(&first, rows, sizeof(Word));
            std::memcpy(&last, rows + tail, sizeof(Word));
            std::memcpy(target, &first, sizeof(Word));
            std::memcpy(target + tail, &last, sizeof(Word));
        }
    }
    void writeLongRows(uchar* target, const uchar* rows, int width, int height);

    std::size_t index(int x, int y) const { return std::size_t(y) * std::size_t(m_width) + std::size_t(x); }

    int m_width = 0;
    int m_height = 0;
    std::vector<uchar> m_pixels;
};
