#pragma once

#include "paint/antialias_lut.h"

#include <QRect>
#include <QSize>

#include <algorithm>
#include <limits>
#include <vector>

// What one anti-aliased stroke has done to each canvas pixel so far: the largest coverage it
// gave the pixel and the colour the pixel had before the stroke first touched it. Segments of
// a stroke overlap; blending always against the colour from before the stroke keeps a pixel
// from being blended again with a shade the same stroke produced.
class AntialiasStrokeState {
public:
    // Re-allocates zeroed buffers only when the size changes.
    void ensureSize(const QSize& size);
    // Forgets the stroke; only the touched rectangle needs clearing.
    void reset();

    QSize size() const { return {m_width, m_height}; }
    QRect dirtyRect() const;

    uchar coverageAt(int x, int y) const { return contains(x, y) ? m_coverage[index(x, y)] : 0; }

    // One pixel of the stroke: `current` is the canvas colour now, `coverage` the brush's
    // coverage of the pixel. Returns the colour to write. The point must lie inside size().
    uchar blend(const AntialiasLut& lut, int x, int y, uchar paint, uchar current, uchar coverage)
    {
        Q_ASSERT(contains(x, y));
        const std::size_t i = index(x, y);
        uchar& stored = m_coverage[i];
        if (stored == 0) {
            if (coverage == 0)
                return current;
            m_underlying[i] = current;
            m_dirtyLeft = std::min(m_dirtyLeft, x);
            m_dirtyTop = std::min(m_dirtyTop, y);
            m_dirtyRight = std::max(m_dirtyRight, x);
            m_dirtyBottom = std::max(m_dirtyBottom, y);
        }
        stored = std::max(stored, coverage);
        return lut.lookup(paint, m_underlying[i], stored);
    }

private:
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    std::size_t index(int x, int y) const { return std::size_t(y) * std::size_t(m_width) + std::size_t(x); }
    void clearDirty();

    int m_width = 0;
    int m_height = 0;
    std::vector<uchar> m_coverage;
    std::vector<uchar> m_underlying;
    // Kept as edges rather than a QRect so that growing it per pixel stays a few compares;
    // empty, they sit where any touched pixel overtakes them.
    int m_dirtyLeft = std::numeric_limits<int>::max();
    int m_dirtyTop = std::numeric_limits<int>::max();
    int m_dirtyRight = std::numeric_limits<int>::min();
    int m_dirtyBottom = std::numeric_limits<int>::min();
};
