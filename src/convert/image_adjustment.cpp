#include "convert/image_adjustment.h"

#include <algorithm>
#include <vector>

namespace {

const QList<QPoint>& identityKnots()
{
    static const QList<QPoint> knots {QPoint(0, 0), QPoint(255, 255)};
    return knots;
}

AdjustmentLookup identityLookup()
{
    AdjustmentLookup lookup {};
    for (int v = 0; v < 256; ++v)
        lookup[std::size_t(v)] = uchar(v);
    return lookup;
}

uchar clampedByte(int value)
{
    return uchar(std::clamp(value, 0, 255));
}

} // namespace

ImageAdjustment::ImageAdjustment()
{
    reset();
}

void ImageAdjustment::reset()
{
    for (AdjustmentCurve& curve : m_curves) {
        curve.knots = identityKnots();
        curve.lookup = identityLookup();
    }
}

const AdjustmentCurve& ImageAdjustment::curve(AdjustmentChannel channel) const
{
    return curveOf(channel);
}

int ImageAdjustment::knotCount(AdjustmentChannel channel) const
{
    return int(curveOf(channel).knots.size());
}

QPoint ImageAdjustment::knotAt(AdjustmentChannel channel, int index) const
{
    return curveOf(channel).knots.value(index, QPoint(0, 0));
}

const AdjustmentLookup& ImageAdjustment::lookup(AdjustmentChannel channel) const
{
    return curveOf(channel).lookup;
}

bool ImageAdjustment::isIdentity() const
{
    const AdjustmentLookup identity = identityLookup();
    return std::all_of(m_curves.begin(), m_curves.end(),
        [&identity](const AdjustmentCurve& curve) { return curve.lookup == identity; });
}

int ImageAdjustment::addKnot(AdjustmentChannel channel, int x, int y, int minGap)
{
    QList<QPoint>& knots = curveOf(channel).knots;
    if (x < knots.constFirst().x() + minGap || x > knots.constLast().x() - minGap
        || knots.size() >= adjustmentCurveMaxKnots)
        return -1;
    x = std::clamp(x, 0, 255);
    y = std::clamp(y, 0, 255);
    const auto at = std::upper_bound(
        knots.begin(), knots.end(), x, [](int value, const QPoint& knot) { return value < knot.x(); });
    // Two knots on one x would make a segment of zero width, which the spline divides by.
    if (at != knots.begin() && std::prev(at)->x() == x)
        return -1;
    const int index = int(at - knots.begin());
    knots.insert(index, QPoint(x, y));
    rebuild(channel);
    return index;
}

bool ImageAdjustment::moveKnot(AdjustmentChannel channel, int index, int x, int y, int minGap)
{
    QList<QPoint>& knots = curveOf(channel).knots;
    if (index < 0 || index >= knots.size())
        return false;
    const QPoint old = knots.at(index);
    if (index == 0 || index == knots.size() - 1) {
        x = old.x();
    } else {
        const int lowest = knots.at(index - 1).x() + minGap;
        const int highest = knots.at(index + 1).x() - minGap;
        // Knots added close together leave no room to keep the gap on both sides; the knot
        // then keeps its x rather than cross a neighbour.
        x = lowest <= highest ? std::min(std::max(x, lowest), highest) : old.x();
    }
    y = std::clamp(y, 0, 255);
    if (x == old.x() && y == old.y())
        return false;
    knots[index] = QPoint(x, y);
    rebuild(channel);
    return true;
}

bool ImageAdjustment::removeKnot(AdjustmentChannel channel, int index)
{
    QList<QPoint>& knots = curveOf(channel).knots;
    if (index < 1 || index >= knots.size() - 1)
        return false;
    knots.removeAt(index);
    rebuild(channel);
    return true;
}

bool ImageAdjustment::setKnots(AdjustmentChannel channel, const QList<QPoint>& knots)
{
    if (knots.size() < 2 || knots.size() > adjustmentCurveMaxKnots || knots.constFirst().x() != 0
        || knots.constLast().x() != 255)
        return false;
    for (qsizetype i = 0; i < knots.size(); ++i) {
        const QPoint& knot = knots.at(i);
        if (knot.y() < 0 || knot.y() > 255 || (i > 0 && knot.x() <= knots.at(i - 1).x()))
            return false;
    }
    curveOf(channel).knots = knots;
    rebuild(channel);
    return true;
}

void ImageAdjustment::rebuild(AdjustmentChannel channel)
{
    AdjustmentCurve& curve = curveOf(channel);
    curve.lookup = splineLookup(curve.knots);
}

AdjustmentLookup splineLookup(const QList<QPoint>& knots)
{
    AdjustmentLookup lookup = identityLookup();
    if (knots.size() < 2)
        return lookup;
    const std::size_t n = std::size_t(knots.size()) - 1;
    std::vector<double> x(n + 1), y(n + 1), h(n), alpha(n + 1), l(n + 1), mu(n + 1), z(n + 1);
    std::vector<double> b(n), c(n + 1), d(n);
    for (std::size_t i = 0; i <= n; ++i) {
        x[i] = knots.at(qsizetype(i)).x();
        y[i] = knots.at(qsizetype(i)).y();
    }
    for (std::size_t i = 0; i < n; ++i)
        h[i] = x[i + 1] - x[i];
    for (std::size_t i = 1; i < n; ++i)
        alpha[i] = 3.0 * ((y[i + 1] - y[i]) / h[i] - (y[i] - y[i - 1]) / h[i - 1]);
    l[0] = 1.0;
    mu[0] = 0.0;
    z[0] = 0.0;
    for (std::size_t i = 1; i < n; ++i) {
        l[i] = 2.0 * (x[i + 1] - x[i - 1]) - h[i - 1] * mu[i - 1];
        mu[i] = h[i] / l[i];
        z[i] = (alpha[i] - h[i - 1] * z[i - 1]) / l[i];
    }
    l[n] = 1.0;
    z[n] = 0.0;
    c[n] = 0.0;
    for (std::size_t j = n; j-- > 0;) {
        c[j] = z[j] - mu[j] * c[j + 1];
        b[j] = (y[j + 1] - y[j]) / h[j] - h[j] * (c[j + 1] + 2.0 * c[j]) / 3.0;
        d[j] = (c[j + 1] - c[j]) / (3.0 * h[j]);
    }
    for (std::size_t j = 0; j < n; ++j) {
        const int first = std::max(knots.at(qsizetype(j)).x(), 0);
        const int end = std::min(knots.at(qsizetype(j + 1)).x(), 256);
        for (int xi = first; xi < end; ++xi) {
            const double t = xi - x[j];
            const double value = ((d[j] * t + c[j]) * t + b[j]) * t + y[j];
            // A far overshoot would not fit an int; the clamp below catches it either way.
            lookup[std::size_t(xi)] = clampedByte(int(std::clamp(value, -1.0, 256.0)));
        }
    }
    lookup[255] = clampedByte(knots.constLast().y());
    return lookup;
}
