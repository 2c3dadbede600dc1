#pragma once

#include <QImage>
#include <QRect>

// A television look for the preview: the three colour guns land one pixel apart (red
// from the right, blue from the left), every other line is a darker scanline gap, and a
// faint blur softens the phosphor dots. Each output pixel depends only on its 3 x 3
// neighbourhood of the source, so an edit is refiltered in its rectangle alone.
class CrtFilter {
public:
    // The whole source filtered, or a null image when the source is null or not 32-bit RGB.
    static QImage apply(const QImage& source);
    // Refilters `rect` of `target` in place from `source`; images of different sizes or
    // formats are left alone.
    static void apply(const QImage& source, QImage& target, const QRect& rect);
};
