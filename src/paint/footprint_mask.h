#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

// The stroke surface: an 8-bit coverage image with pixelWidth bytes per canvas pixel,
// one per display column, so a double-wide multicolor pixel can be half covered by an
// anti-aliased edge.
//
// A freehand stroke writes one small footprint per mouse event into a mask as large as
// the canvas. Clearing the whole mask before each footprint would make every segment
// cost as much as the canvas is large, so the mask remembers the rectangle of canvas
// pixels that may hold non-zero bytes and `clear()` zeroes only that. Every byte
// outside `touchedRect()` is 0.
class FootprintMask {
public:
    FootprintMask() = default;
    FootprintMask(QSize canvas, int pixelWidth);

    QSize canvasSize() const { return m_canvas; }
    int pixelWidth() const { return m_pixelWidth; }
    bool fits(QSize canvas, int pixelWidth) const;

    const QImage& image() const { return m_image; }

    // For writers that take a plain image and do not say what they wrote (a flood
    // fill): the whole mask counts as touched from then on. Keep its size and format.
    QImage& writableImage();

    // Unchecked row access for writers that clip to the canvas themselves and report
    // what they wrote with markTouched().
    uchar* row(int y) { return m_image.scanLine(y); }
    void markTouched(const QRect& canvasRect);
    QRect touchedRect() const { return m_touched; }

    // Zeroes every touched byte; afterwards the whole mask is 0.
    void clear();

private:
    QImage m_image;
    QSize m_canvas;
    int m_pixelWidth = 1;
    QRect m_touched;
};
