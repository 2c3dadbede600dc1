#pragma once

#include <QLineF>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

// How many copies of each stroke symmetry draw makes, and how they lie.
enum class SymmetryMode : qint32 {
    None = 0,
    // Mirrored across the horizontal axis.
    Horizontal = 1,
    // Mirrored across the vertical axis.
    Vertical = 2,
    Quadrant = 3,
    // Quadrant plus the two diagonal mirrors.
    BiQuadrant = 4,
    // Turned by every eighth of a full turn.
    Kaleidoscope = 5,
};

int symmetryCopyCount(SymmetryMode mode);

// Where the mirror axes cross, in half-pixel units, so an axis can lie on a pixel
// boundary (even value) or run through pixel centres (odd value).
struct SymmetryAxes {
    // The row of the horizontal axis, 0..2 x canvas height.
    qint32 horizontal = 0;
    // The column of the vertical axis, 0..2 x canvas width.
    qint32 vertical = 0;

    static SymmetryAxes centered(QSize canvas);
    SymmetryAxes clampTo(QSize canvas) const;
    friend bool operator==(const SymmetryAxes&, const SymmetryAxes&) = default;
};

// One copy of a stroke: an orthogonal map on the display, written in canvas units about
// the axis intersection.
struct SymmetryTransform {
    double a = 1.0;
    double b = 0.0;
    double c = 0.0;
    double d = 1.0;
    QPointF origin;
    // How far the copy turns the nib, in degrees.
    double extraRotation = 0.0;
    bool mirrored = false;
    // The user's own stroke.
    bool primary = false;

    QPointF mapF(QPointF point) const;
    // The pixel whose centre the copy puts nearest the image of this pixel's centre.
    QPoint map(QPoint pixel) const;
    // The same about a nib anchor inside the pixel (0.5 its centre, 0.0 its corner), so a
    // nib that spans an even number of pixels stays centred on a corner in every copy.
    QPoint mapAnchored(QPoint pixel, double anchor) const;
    QPoint mapAnchored(QPoint pixel, QPointF anchor) const;
    // The bounding rectangle of the mapped corner pixels; a null rectangle stays null.
    QRect mapRect(const QRect& rect) const;
};

// The identity first, then the mode's copies. Angles and mirror lines are taken on the
// display, where a canvas pixel is `pixelWidth` units wide and a row 1 / aspect high, so
// the copies are true counterparts there rather than on the stored canvas.
QList<SymmetryTransform> symmetryTransforms(
    SymmetryMode mode, const SymmetryAxes& axes, int pixelWidth, double displayPixelAspect);

// The guides shown over the canvas: the mode's mirror lines (every display 45 degrees
// through the intersection for the turning modes), clipped to the canvas, in canvas
// coordinates.
QList<QLineF> symmetryAxisLines(
    SymmetryMode mode, const SymmetryAxes& axes, QSize canvas, int pixelWidth, double displayPixelAspect);
