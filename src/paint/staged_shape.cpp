#include "paint/staged_shape.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;

// Corner order everywhere: top-left, top-right, bottom-right, bottom-left.
QPointF plainCorner(int index)
{
    static const QPointF corners[] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    return corners[index & 3];
}

QPointF scaled(QPointF unit, const StagedShape& shape)
{
    return {unit.x() * shape.halfWidth, unit.y() * shape.halfHeight};
}

QPointF rotated(QPointF p, double degrees)
{
    const double a = degrees * pi / 180.0;
    return {p.x() * std::cos(a) - p.y() * std::sin(a), p.x() * std::sin(a) + p.y() * std::cos(a)};
}

// Degrees clockwise from straight up, on a screen whose y grows downwards.
double bearing(QPointF v)
{
    return std::atan2(v.x(), -v.y()) * 180.0 / pi;
}

double clampedRadius(const StagedShape& shape)
{
    return std::clamp(shape.cornerRadius, 0.0, std::min(shape.halfWidth, shape.halfHeight));
}

double clampedInnerRatio(const StagedShape& shape)
{
    return std::clamp(shape.innerRatio, 0.05, 0.95);
}

QPolygonF localOutline(const StagedShape& shape)
{
    const double hw = shape.halfWidth;
    const double hh = shape.halfHeight;
    QPolygonF outline;
    switch (shape.kind) {
    case ShapeKind::Line:
    case ShapeKind::Path:
        for (const QPointF& p : shape.points)
            outline << QPointF(p.x() * hw / shape.baseHalfWidth, p.y() * hh / shape.baseHalfHeight);
        break;
    case ShapeKind::Rectangle: {
        const double r = clampedRadius(shape);
        if (r <= 0.0) {
            for (int i = 0; i < 4; ++i)
                outline << scaled(plainCorner(i), shape);
            break;
        }
        const int steps = std::clamp(int(std::ceil(r * (pi / 2) / 1.2)), 2, 64);
        const double startAngles[] = {180, 270, 0, 90};
        for (int corner = 0; corner < 4; ++corner) {
            const QPointF unit = plainCorner(corner);
            const QPointF arcCentre(unit.x() * (hw - r), unit.y() * (hh - r));
            for (int i = 0; i <= steps; ++i) {
                const double a = (startAngles[corner] + 90.0 * i / steps) * pi / 180.0;
                outline << arcCentre + QPointF(r * std::cos(a), r * std::sin(a));
            }
        }
        break;
    }
    case ShapeKind::Circle: {
        const int n = std::clamp(int(std::ceil(std::max(hw, hh) * 2 * pi / 1.2)), 16, 256);
        for (int i = 0; i < n; ++i) {
            const double a = 2 * pi * i / n;
            outline << QPointF(hw * std::cos(a), hh * std::sin(a));
        }
        break;
    }
    case ShapeKind::Star:
        for (int i = 0; i < 10; ++i) {
            const double a = (36.0 * i - 90.0) * pi / 180.0;
            const double k = i % 2 == 0 ? 1.0 : clampedInnerRatio(shape);
            outline << QPointF(k * hw * std::cos(a), k * hh * std::sin(a));
        }
        break;
    }
    return outline;
}

bool isConvexQuad(const QList<QPointF>& quad)
{
    if (quad.size() != 4)
        return false;
    int sign = 0;
    for (int i = 0; i < 4; ++i) {
        const QPointF a = quad[(i + 1) % 4] - quad[i];
        const QPointF b = quad[(i + 2) % 4] - quad[(i + 1) % 4];
        const double cross = a.x() * b.y() - a.y() * b.x();
        if (std::abs(cross) <= 1e-12)
            return false;
        const int s = cross > 0 ? 1 : -1;
        if (sign != 0 && s != sign)
            return false;
        sign = s;
    }
    return true;
}

bool quadTransformFor(const StagedShape& shape, const QList<QPointF>& corners, QTransform& out)
{
    QPolygonF plain;
    QPolygonF target;
    for (int i = 0; i < 4; ++i) {
        plain << scaled(plainCorner(i), shape);
        target << scaled(corners[i], shape);
    }
    return QTransform::quadToQuad(plain, target, out);
}

QPointF undistortedLocal(const StagedShape& shape, QPointF display)
{
    const QPointF local = shapeDisplayToLocal(shape, display);
    if (!shapeIsDistorted(shape))
        return local;
    bool invertible = false;
    const QTransform inverse = shapeQuadTransform(shape).inverted(&invertible);
    return invertible ? inverse.map(local) : local;
}

} // namespace

bool shapeOutlineClosed(const StagedShape& shape)
{
    return shape.kind != ShapeKind::Line && shape.kind != ShapeKind::Path;
}

double normalizedDegrees(double degrees)
{
    double d = std::fmod(degrees + 180.0, 360.0);
    if (d < 0)
        d += 360.0;
    return d - 180.0;
}

QPointF shapeLocalToDisplay(const StagedShape& shape, QPointF local)
{
    return shape.centre + rotated(local, shape.rotation);
}

QPointF shapeDisplayToLocal(const StagedShape& shape, QPointF display)
{
    return rotated(display - shape.centre, -shape.rotation);
}

StagedShape makeBoxShape(ShapeKind kind, QPointF anchor, QPointF current, double angle, bool uniform)
{
    StagedShape shape;
    shape.kind = kind;
    shape.rotation = normalizedDegrees(angle);
    const QPointF drag = rotated(current - anchor, -shape.rotation);
    shape.halfWidth = std::max(std::abs(drag.x()) / 2, 0.5);
    shape.halfHeight = std::max(std::abs(drag.y()) / 2, 0.5);
    if (uniform)
        shape.halfWidth = shape.halfHeight = std::max(shape.halfWidth, shape.halfHeight);
    const QPointF toCentre(drag.x() < 0 ? -shape.halfWidth : shape.halfWidth,
        drag.y() < 0 ? -shape.halfHeight : shape.halfHeight);
    shape.centre = anchor + rotated(toCentre, shape.rotation);
    return shape;
}

StagedShape makePathShape(const QPolygonF& polygon)
{
    StagedShape shape;
    shape.kind = ShapeKind::Path;
    if (polygon.size() < 2)
        return shape;
    const QRectF box = polygon.boundingRect();
    shape.centre = box.center();
    shape.baseHalfWidth = shape.halfWidth = std::max(box.width() / 2, 0.5);
    shape.baseHalfHeight = shape.halfHeight = std::max(box.height() / 2, 0.5);
    for (const QPointF& p : polygon)
        shape.points << p - shape.centre;
    return shape;
}

StagedShape makeLineShape(QPointF from, QPointF to)
{
    StagedShape shape = makePathShape(QPolygonF {from, to});
    shape.kind = ShapeKind::Line;
    return shape;
}

bool shapeIsDistorted(const StagedShape& shape)
{
    if (shape.corners.size() != 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        // The toolkit compares points fuzzily.
        if (shape.corners[i] != plainCorner(i))
            return true;
    }
    return false;
}

QTransform shapeQuadTransform(const StagedShape& shape)
{
    QTransform transform;
    if (!shapeIsDistorted(shape) || !quadTransformFor(shape, shape.corners, transform))
        return {};
    return transform;
}

QPolygonF shapeOutline(const StagedShape& shape)
{
    const QTransform quad = shapeQuadTransform(shape);
    QPolygonF outline = localOutline(shape);
    for (QPointF& p : outline)
        p = shapeLocalToDisplay(shape, quad.map(p));
    return outline;
}

bool shapeContains(const StagedShape& shape, QPointF point)
{
    const QPointF local = undistortedLocal(shape, point);
    return std::abs(local.x()) <= shape.halfWidth && std::abs(local.y()) <= shape.halfHeight;
}

ShapeHandleLayout shapeHandleLayout(const StagedShape& shape, double pinOffset, double radiusInset)
{
    const QTransform quad = shapeQuadTransform(shape);
    const auto place = [&](QPointF local) { return shapeLocalToDisplay(shape, quad.map(local)); };
    ShapeHandleLayout layout;
    for (int i = 0; i < 4; ++i)
        layout.corners << place(scaled(plainCorner(i), shape));
    const QPointF top = place(QPointF(0, -shape.halfHeight));
    const QPointF out = top - shape.centre;
    const double length = std::hypot(out.x(), out.y());
    layout.pin = length < 1e-6 ? top + QPointF(0, -pinOffset) : top + out * (pinOffset / length);
    if (shape.kind == ShapeKind::Rectangle) {
        const double r = std::min(
            std::max(clampedRadius(shape), radiusInset), std::min(shape.halfWidth, shape.halfHeight));
        for (int i = 0; i < 4; ++i) {
            const QPointF unit = plainCorner(i);
            layout.radius << place(
                QPointF(unit.x() * (shape.halfWidth - r), unit.y() * (shape.halfHeight - r)));
        }
    } else if (shape.kind == ShapeKind::Star) {
        for (int i = 0; i < 4; ++i)
            layout.radius << place(scaled(plainCorner(i), shape) * clampedInnerRatio(shape));
    }
    return layout;
}

void scaleShapeToCorner(StagedShape& shape, int corner, QPointF point, bool uniform)
{
    if (corner < 0 || corner > 3)
        return;
    const QPointF local = shapeDisplayToLocal(shape, point);
    const int opposite = (corner + 2) % 4;
    if (!shapeIsDistorted(shape)) {
        const QPointF o = scaled(plainCorner(opposite), shape);
        double hw = std::max(std::abs(local.x() - o.x()) / 2, 0.5);
        double hh = std::max(std::abs(local.y() - o.y()) / 2, 0.5);
        if (uniform)
            hw = hh = std::max(hw, hh);
        const QPointF newCentre(
            o.x() + (local.x() < o.x() ? -hw : hw), o.y() + (local.y() < o.y() ? -hh : hh));
        shape.centre = shapeLocalToDisplay(shape, newCentre);
        shape.halfWidth = hw;
        shape.halfHeight = hh;
        return;
    }
    const QPointF c = shape.corners[corner];
    const QPointF o = shape.corners[opposite];
    const QPointF oldOpposite = scaled(o, shape);
    double hw = std::abs(c.x() - o.x()) > 1e-9 ? (local.x() - shape.halfWidth * o.x()) / (c.x() - o.x())
                                               : shape.halfWidth;
    double hh = std::abs(c.y() - o.y()) > 1e-9 ? (local.y() - shape.halfHeight * o.y()) / (c.y() - o.y())
                                               : shape.halfHeight;
    hw = std::max(hw, 0.5);
    hh = std::max(hh, 0.5);
    if (uniform)
        hw = hh = std::max(hw, hh);
    shape.halfWidth = hw;
    shape.halfHeight = hh;
    shape.centre += rotated(oldOpposite - scaled(o, shape), shape.rotation);
}

void distortShapeCorner(StagedShape& shape, int corner, QPointF point)
{
    if (corner < 0 || corner > 3)
        return;
    QList<QPointF> corners = shape.corners;
    if (corners.size() != 4)
        corners = {plainCorner(0), plainCorner(1), plainCorner(2), plainCorner(3)};
    const QPointF local = shapeDisplayToLocal(shape, point);
    const QPointF wanted(std::clamp(local.x() / shape.halfWidth, -8.0, 8.0),
        std::clamp(local.y() / shape.halfHeight, -8.0, 8.0));
    const QPointF old = corners[corner];
    const auto convexAt = [&](double t) {
        QList<QPointF> trial = corners;
        trial[corner] = old + t * (wanted - old);
        return isConvexQuad(trial);
    };
    if (convexAt(1.0)) {
        corners[corner] = wanted;
    } else {
        // The quadrilateral would fold: stop at the last convex point on the way.
        double lo = 0.0;
        double hi = 1.0;
        for (int i = 0; i < 24; ++i) {
            const double mid = (lo + hi) / 2;
            (convexAt(mid) ? lo : hi) = mid;
        }
        corners[corner] = old + lo * (wanted - old);
    }
    QTransform transform;
    if (!quadTransformFor(shape, corners, transform))
        return;
    shape.corners = corners;
    if (!shapeIsDistorted(shape))
        shape.corners.clear();
}

void rotateShapeTo(StagedShape& shape, QPointF point, bool snap)
{
    const QPointF v = point - shape.centre;
    if (std::abs(v.x()) < 1e-6 && std::abs(v.y()) < 1e-6)
        return;
    QPointF pin = shapeQuadTransform(shape).map(QPointF(0, -shape.halfHeight));
    if (std::hypot(pin.x(), pin.y()) < 1e-6)
        pin = QPointF(0, -1);
    double rotation = bearing(v) - bearing(pin);
    if (snap)
        rotation = std::round(rotation / 22.5) * 22.5;
    shape.rotation = normalizedDegrees(rotation);
}

void setShapeRadiusFromCursor(StagedShape& shape, QPointF point)
{
    const QPointF local = undistortedLocal(shape, point);
    if (shape.kind == ShapeKind::Rectangle) {
        const double r
            = std::min(shape.halfWidth - std::abs(local.x()), shape.halfHeight - std::abs(local.y()));
        shape.cornerRadius = std::clamp(r, 0.0, std::min(shape.halfWidth, shape.halfHeight));
    } else if (shape.kind == ShapeKind::Star) {
        const double distance = std::hypot(local.x(), local.y());
        const double a = std::atan2(local.y(), local.x());
        const double cx = std::cos(a) / shape.halfWidth;
        const double cy = std::sin(a) / shape.halfHeight;
        const double outer = 1.0 / std::sqrt(cx * cx + cy * cy);
        shape.innerRatio = std::clamp(distance / outer, 0.05, 0.95);
    }
}
