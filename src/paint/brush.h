#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

class FootprintMask;
class QImage;

enum class BrushShape : qint32 {
    Round = 0,
    Square = 1,
};

// Which axes a square nib follows: the screen's (upright however the view is turned)
// or the canvas's (while the canvas-alignment modifier is held).
enum class BrushAlignment : qint32 {
    Screen = 0,
    Canvas = 1,
};

// A pen nib. Its width is measured on the emulated display, so a nib stays round (or
// square) as the user sees it: on a multicolor canvas, whose pixels are two display
// units wide, a width-8 round nib covers 4 canvas pixels across and 8 rows down.
// Width 1 is the exception: it always means one whole canvas pixel.
class Brush {
public:
    static constexpr int minimumWidth = 1;
    // The pen-width controls go to 32; pressure may widen a stroke by up to 16 more.
    static constexpr int maximumWidth = 65;
    static constexpr int pressureWidening = 16;

    explicit Brush(int width = 1);

    int width() const { return m_width; }
    void setWidth(int width);
    BrushShape shape() const { return m_shape; }
    void setShape(BrushShape shape) { m_shape = shape; }
    bool pixelPerfect() const { return m_pixelPerfect; }
    void setPixelPerfect(bool on) { m_pixelPerfect = on; }
    bool antialiased() const { return m_antialiased; }
    void setAntialiased(bool on) { m_antialiased = on; }

    // The nib of a tablet stroke at the given pen pressure (0..1): the width grows with
    // the square of the pressure, so a light touch stays close to the chosen width.
    Brush pressureWidened(double pressure) const;

    // Where the nib centre sits inside its canvas pixel, per axis: on the pixel centre
    // (0.5) when the nib spans an odd number of canvas pixels in that direction, on the
    // pixel corner (0.0) when it spans an even number, so the footprint is symmetric in
    // whole pixels.
    QPointF anchors(int pixelWidth, double aspect) const;

    // The canvas pixels a segment's footprint can touch, clipped to the canvas.
    QRect segmentBoundingRect(QPoint from, QPoint to, QSize canvas) const;

    // Clears the mask and writes the footprint of the segment between two canvas
    // pixels; returns the rectangle it may have touched (null when the mask does not
    // fit the canvas or the segment lies outside it). `aspect` is the display pixel
    // aspect (a canvas row is 1 / aspect display units tall). A square nib is turned
    // against the canvas by the view rotation unless aligned to the canvas; a symmetry
    // copy adds its own rotation and mirroring.
    QRect strokeFootprint(FootprintMask& mask, QPoint from, QPoint to, int pixelWidth, double aspect,
        QSize canvas, BrushAlignment alignment, double viewRotation, double extraRotation = 0.0,
        bool mirrored = false) const;

    // Adds the footprint of a segment given in display coordinates (x in display units,
    // y = canvas y / aspect) to the mask without clearing it, keeping the larger
    // coverage where segments overlap, so an outline swept from many short pieces has
    // neither dark seams nor holes. The nib is never turned. Returns the rectangle it
    // may have touched.
    QRect strokeDisplaySegment(
        FootprintMask& mask, QPointF from, QPointF to, int pixelWidth, double aspect, QSize canvas) const;

    // Reading a mask: a pixel is covered when any of its display columns is, and its
    // coverage is the rounded mean of them. Pixels outside the mask are uncovered.
    static bool covers(const QImage& mask, int x, int y, int pixelWidth);
    static int coverage(const QImage& mask, int x, int y, int pixelWidth);

    friend bool operator==(const Brush&, const Brush&) = default;

private:
    int m_width = 1;
    BrushShape m_shape = BrushShape::Round;
    bool m_pixelPerfect = false;
    bool m_antialiased = false;
};
