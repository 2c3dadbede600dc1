#include "paint/symmetry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

// cos and sin of a multiple of 45 degrees, exact at the quarter turns so that the
// copies there land on whole pixels without rounding noise.
QPointF eighthTurn(int eighths)
{
    const double half = std::sqrt(0.5);
    static const double cosines[] = {1.0, 1.0, 0.0, -1.0, -1.0, -1.0, 0.0, 1.0};
    static const double sines[] = {0.0, 1.0, 1.0, 1.0, 0.0, -1.0, -1.0, -1.0};
    const int k = ((eighths % 8) + 8) % 8;
    const double scale = k % 2 == 0 ? 1.0 : half;
    return QPointF(cosines[k] * scale, sines[k] * scale);
}

SymmetryTransform copyOf(
    double a, double b, double c, double d, QPointF origin, double rotation, bool mirrored)
{
    SymmetryTransform transform;
    transform.a = a;
    transform.b = b;
    transform.c = c;
    transform.d = d;
    transform.origin = origin;
    transform.extraRotation = rotation;
    transform.mirrored = mirrored;
    return transform;
}

// The part of the infinite line through `point` along `direction` that lies on the canvas.
std::optional<QLineF> clipLine(QPointF point, QPointF direction, QSize canvas)
{
    double low = -std::numeric_limits<double>::infinity();
    double high = std::numeric_limits<double>::infinity();
    const double starts[] = {point.x(), point.y()};
    const double steps[] = {direction.x(), direction.y()};
    const double ends[] = {double(canvas.width()), double(canvas.height())};
    for (int axis = 0; axis < 2; ++axis) {
        if (std::abs(steps[axis]) < 1e-12) {
            if (starts[axis] < 0.0 || starts[axis] > ends[axis])
                return std::nullopt;
            continue;
        }
        double t0 = -starts[axis] / steps[axis];
        double t1 = (ends[axis] - starts[axis]) / steps[axis];
        if (t0 > t1)
            std::swap(t0, t1);
        low = std::max(low, t0);
        high = std::min(high, t1);
    }
    if (!(low < high))
        return std::nullopt;
    return QLineF(point + low * direction, point + high * direction);
}

} // namespace

int symmetryCopyCount(SymmetryMode mode)
{
    switch (mode) {
    case SymmetryMode::Horizontal:
    case SymmetryMode::Vertical:
        return 2;
    case SymmetryMode::Quadrant:
        return 4;
    case SymmetryMode::BiQuadrant:
    case SymmetryMode::Kaleidoscope:
        return 8;
    default:
        return 1;
    }
}

SymmetryAxes SymmetryAxes::centered(QSize canvas)
{
    return SymmetryAxes {canvas.height(), canvas.width()};
}

SymmetryAxes SymmetryAxes::clampTo(QSize canvas) const
{
    return SymmetryAxes {std::clamp(horizontal, 0, 2 * std::max(0, canvas.height())),
        std::clamp(vertical, 0, 2 * std::max(0, canvas.width()))};
}

QPointF SymmetryTransform::mapF(QPointF point) const
{
    const double dx = point.x() - origin.x();
    const double dy = point.y() - origin.y();
    return QPointF(origin.x() + a * dx + b * dy, origin.y() + c * dx + d * dy);
}

QPoint SymmetryTransform::map(QPoint pixel) const
{
    return mapAnchored(pixel, QPointF(0.5, 0.5));
}

QPoint SymmetryTransform::mapAnchored(QPoint pixel, double anchor) const
{
    return mapAnchored(pixel, QPointF(anchor, anchor));
}

QPoint SymmetryTransform::mapAnchored(QPoint pixel, QPointF anchor) const
{
    const QPointF mapped = mapF(QPointF(pixel) + anchor) - anchor;
    return QPoint(int(std::round(mapped.x())), int(std::round(mapped.y())));
}

QRect SymmetryTransform::mapRect(const QRect& rect) const
{
    if (rect.isNull())
        return rect;
    QRect bounds;
    for (const QPoint corner : {rect.topLeft(), rect.topRight(), rect.bottomLeft(), rect.bottomRight()}) {
        const QPoint mapped = map(corner);
        bounds |= QRect(mapped, mapped);
    }
    return bounds;
}

QList<SymmetryTransform> symmetryTransforms(
    SymmetryMode mode, const SymmetryAxes& axes, int pixelWidth, double displayPixelAspect)
{
    const QPointF origin(axes.vertical / 2.0, axes.horizontal / 2.0);
    SymmetryTransform identity;
    identity.origin = origin;
    identity.primary = true;
    QList<SymmetryTransform> copies {identity};
    // A canvas column is pixelWidth display units wide and a row 1 / aspect high; `s`
    // converts a display quarter turn back into canvas units.
    const double s = std::max(1, pixelWidth) * displayPixelAspect;
    const SymmetryTransform horizontal = copyOf(1, 0, 0, -1, origin, 0, true);
    const SymmetryTransform vertical = copyOf(-1, 0, 0, 1, origin, 180, true);
    const SymmetryTransform halfTurn = copyOf(-1, 0, 0, -1, origin, 180, false);
    switch (mode) {
    case SymmetryMode::Horizontal:
        copies << horizontal;
        break;
    case SymmetryMode::Vertical:
        copies << vertical;
        break;
    case SymmetryMode::Quadrant:
        copies << horizontal << vertical << halfTurn;
        break;
    case SymmetryMode::BiQuadrant:
        copies << horizontal << vertical << halfTurn;
        copies << copyOf(0, 1 / s, s, 0, origin, 90, true) << copyOf(0, -1 / s, -s, 0, origin, 270, true)
               << copyOf(0, -1 / s, s, 0, origin, 90, false) << copyOf(0, 1 / s, -s, 0, origin, 270, false);
        break;
    case SymmetryMode::Kaleidoscope:
        for (int k = 1; k < 8; ++k) {
            const QPointF turn = eighthTurn(k);
            copies << copyOf(turn.x(), -turn.y() / s, s * turn.y(), turn.x(), origin, 45.0 * k, false);
        }
        break;
    default:
        break;
    }
    return copies;
}

QList<QLineF> symmetryAxisLines(
    SymmetryMode mode, const SymmetryAxes& axes, QSize canvas, int pixelWidth, double displayPixelAspect)
{
    const QPointF origin(axes.vertical / 2.0, axes.horizontal / 2.0);
    const double s = std::max(1, pixelWidth) * displayPixelAspect;
    QList<QPointF> directions;
    switch (mode) {
    case SymmetryMode::Horizontal:
        directions = {QPointF(1, 0)};
        break;
    case SymmetryMode::Vertical:
        directions = {QPointF(0, 1)};
        break;
    case SymmetryMode::Quadrant:
        directions = {QPointF(1, 0), QPointF(0, 1)};
        break;
    case SymmetryMode::BiQuadrant:
    case SymmetryMode::Kaleidoscope:
        // The display diagonals: one display unit across is 1 / pixelWidth of a column.
        directions = {QPointF(1, 0), QPointF(0, 1), QPointF(1, s), QPointF(1, -s)};
        break;
    default:
        break;
    }
    QList<QLineF> lines;
    for (const QPointF& direction : directions) {
        if (const std::optional<QLineF> line = clipLine(origin, direction, canvas))
            lines << *line;
    }
    return lines;
}
