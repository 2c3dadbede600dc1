#pragma once

#include <QRect>

#include <algorithm>

// The part of `rect` inside `bounds`. A reversed rectangle (right left of left, or bottom
// above top) is empty, as everywhere in the document; QRect's own intersection would
// normalise it into a real area and paint or record pixels nobody asked for.
// Inline, since the colour rules clip once per char cell.
inline QRect clipRect(const QRect& rect, const QRect& bounds)
{
    if (rect.isEmpty() || bounds.isEmpty())
        return {};
    const int left = std::max(rect.left(), bounds.left());
    const int top = std::max(rect.top(), bounds.top());
    const int right = std::min(rect.right(), bounds.right());
    const int bottom = std::min(rect.bottom(), bounds.bottom());
    if (left > right || top > bottom)
        return {};
    return QRect(QPoint(left, top), QPoint(right, bottom));
}
