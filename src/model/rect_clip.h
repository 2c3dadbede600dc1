#pragma once

#include <QRect>

// The part of `rect` inside `bounds`. A reversed rectangle (right left of left, or bottom
// above top) is empty, as everywhere in the document; QRect's own intersection would
// normalise it into a real area and paint or record pixels nobody asked for.
inline QRect clipRect(const QRect& rect, const QRect& bounds)
{
    if (rect.isEmpty())
        return {};
    return rect.intersected(bounds);
}
