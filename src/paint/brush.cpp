#include "paint/brush.h"

#include "paint/footprint_mask.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <utility>

namespace {

// Slack on the nib radius so a pixel centre lying exactly on the rim is inside
// whatever the floating-point noise of the mapping.
constexpr double radiusSlack = 1e-6;

// Outline segments meet end to end; nudging every pixel centre the same way makes a
// centre on the nib's edge fall inside on one side and outside on the other, the same
// way in every segment.
constexpr double displayCentreBias = -0.0001;

// How far beyond a round nib's rim the closed-form run of a row reaches, in display
// units: far more than its rounding error, so no covered pixel falls outside it, and far
// less than a pixel, so the search for the run's ends starts right beside them.
constexpr double runSearchMargin = 1e-4;

int roundToPixel(double value)
{
    return int(std::lround(value));
}

double usableAspect(double aspect)
{
    return std::isfinite(aspect) && aspect > 0.0 ? aspect : 1.0;
}

struct NibPoint {
    double x = 0.0;
    double y = 0.0;
};

// The coordinate system in which the nib is an upright disc or square: canvas x is
// scaled to display units, canvas y divided by the display pixel aspect, y negated for
// a mirrored copy, and the result turned by the nib angle.
class NibSpace {
public:
    NibSpace(double xScale, double aspect, bool mirrored, double degrees)
        : m_xScale(xScale)
        , m_ySign(mirrored ? -1.0 : 1.0)
        , m_aspect(aspect)
        , m_turned(std::abs(degrees) > 1e-12)
    {
        if (m_turned) {
            const double radians = degrees * std::numbers::pi / 180.0;
            m_cos = std::cos(radians);
            m_sin = std::sin(radians);
        }
    }

    // The two halves of map(), so inner loops compute a row's y once.
    double rowOf(double canvasY) const { return m_ySign * canvasY / m_aspect; }
    NibPoint turn(double canvasX, double row) const
    {
        const double x = canvasX * m_xScale;
        if (!m_turned)
            return {x, row};
        return {x * m_cos - row * m_sin, x * m_sin + row * m_cos};
    }
    NibPoint map(QPointF canvas) const { return turn(canvas.x(), rowOf(canvas.y())); }
    // How far one canvas column moves a point in this space; turning keeps lengths.
    double columnStep() const { return m_xScale; }

private:
    double m_xScale;
    double m_ySign;
    double m_aspect;
    bool m_turned;
    double m_cos = 1.0;
    double m_sin = 0.0;
};

// A nib swept along a segment in nib space.
class SweptNib {
public:
    SweptNib(NibPoint from, NibPoint to, double radius, bool square)
        : m_from(from)
        , m_dx(to.x - from.x)
        , m_dy(to.y - from.y)
        , m_radius(radius)
        , m_square(square)
    {
        const double lengthSq = m_dx * m_dx + m_dy * m_dy;
        m_inverseLengthSq = lengthSq > 0.0 ? 1.0 / lengthSq : 0.0;
    }

    bool contains(NibPoint p) const
    {
        return m_square ? inSweptSquare(p) : distanceSq(p) <= m_radius * m_radius;
    }

    // A lower bound on how far the point lies outside the nib: the distance to the swept
    // disc of the nib's outer radius (a square reaches its corners at radius times the
    // square root of 2).
    double clearance(NibPoint p) const
    {
        const double reach = m_square ? m_radius * std::numbers::sqrt2 : m_radius;
        return std::sqrt(distanceSq(p)) - reach;
    }

    bool isRound() const { return !m_square; }

    // For a round nib: the positions x along the line origin + x * step (in nib space) at
    // which the line comes within `grow` of the nib, as [low, high]; false when it never
    // does. Worked out in closed form, so it may be off by rounding: callers grow the nib
    // by far more than that and then test the pixels at the ends themselves.
    bool lineSpan(NibPoint origin, NibPoint step, double grow, double& low, double& high) const
    {
        const double reach = m_radius + grow;
        low = std::numeric_limits<double>::infinity();
        high = -low;
        const auto unite = [&](double from, double to) {
            if (from <= to) {
                low = std::min(low, from);
                high = std::max(high, to);
            }
        };
        const double stepSq = step.x * step.x + step.y * step.y;
        if (stepSq <= 0.0)
            return false;
        // The discs at both ends of the sweep.
        for (const NibPoint end : {m_from, NibPoint {m_from.x + m_dx, m_from.y + m_dy}}) {
            const double ox = origin.x - end.x;
            const double oy = origin.y - end.y;
            const double b = step.x * ox + step.y * oy;
            const double c = ox * ox + oy * oy - reach * reach;
            const double discriminant = b * b - stepSq * c;
            if (discriminant >= 0.0) {
                const double root = std::sqrt(discriminant);
                unite((-b - root) / stepSq, (-b + root) / stepSq);
            }
        }
        // The band between them: along the sweep within its length, across it within reach.
        const double lengthSq = m_dx * m_dx + m_dy * m_dy;
        if (lengthSq > 0.0) {
            const double length = std::sqrt(lengthSq);
            const NibPoint along {m_dx / length, m_dy / length};
            const double ox = origin.x - m_from.x;
            const double oy = origin.y - m_from.y;
            double from = -std::numeric_limits<double>::infinity();
            double to = -from;
            const auto within = [&](double at, double rate, double lowest, double highest) {
                if (rate == 0.0) {
                    if (at < lowest || at > highest)
                        to = -std::numeric_limits<double>::infinity();
                    return;
                }
                double a = (lowest - at) / rate;
                double b = (highest - at) / rate;
                if (a > b)
                    std::swap(a, b);
                from = std::max(from, a);
                to = std::min(to, b);
            };
            within(ox * along.x + oy * along.y, step.x * along.x + step.y * along.y, 0.0, length);
            within(ox * along.y - oy * along.x, step.x * along.y - step.y * along.x, -reach, reach);
            unite(from, to);
        }
        return low <= high;
    }

    // Anti-aliased coverage of a sample: 1 well inside, falling to 0 over the half
    // display unit beyond the rim.
    uchar coverage(NibPoint p) const
    {
        const NibPoint offset = offsetFromNearest(p);
        const double distance = m_square ? std::max(std::abs(offset.x), std::abs(offset.y))
                                         : std::sqrt(offset.x * offset.x + offset.y * offset.y);
        const double covered = m_radius + 0.5 - distance;
        if (covered < 0.0)
            return 0;
        if (covered > 1.0)
            return 255;
        return uchar(roundToPixel(covered * 255.0));
    }

private:
    NibPoint offsetFromNearest(NibPoint p) const
    {
        const double px = p.x - m_from.x;
        const double py = p.y - m_from.y;
        const double t = std::clamp((px * m_dx + py * m_dy) * m_inverseLengthSq, 0.0, 1.0);
        return {px - t * m_dx, py - t * m_dy};
    }

    double distanceSq(NibPoint p) const
    {
        const NibPoint offset = offsetFromNearest(p);
        return offset.x * offset.x + offset.y * offset.y;
    }

    // Narrows [low, high] to the t for which the nib's slab along one axis holds the
    // point; a segment not moving along that axis keeps all t or none.
    bool narrowToSlab(double offset, double direction, double& low, double& high) const
    {
        if (direction == 0.0)
            return std::abs(offset) <= m_radius;
        double a = (offset - m_radius) / direction;
        double b = (offset + m_radius) / direction;
        if (a > b)
            std::swap(a, b);
        low = std::max(low, a);
        high = std::min(high, b);
        return low <= high;
    }

    bool inSweptSquare(NibPoint p) const
    {
        double low = 0.0;
        double high = 1.0;
        return narrowToSlab(p.x - m_from.x, m_dx, low, high) && narrowToSlab(p.y - m_from.y, m_dy, low, high);
    }

    NibPoint m_from;
    double m_dx;
    double m_dy;
    double m_inverseLengthSq;
    double m_radius;
    bool m_square;
};

// How a footprint lands in the mask bytes.
struct Raster {
    int pixelWidth = 1;
    bool antialiased = false;
    // Applied to every mapped pixel centre or sample.
    double bias = 0.0;
    // Keep the larger of the old and new byte instead of overwriting.
    bool keepLarger = false;
};

// Writes the nib over the canvas pixels of `area`; returns whether any byte became
// non-zero.
bool rasterize(
    FootprintMask& mask, const QRect& area, const NibSpace& space, const SweptNib& nib, const Raster& raster)
{
    const int pw = raster.pixelWidth;
    bool anySet = false;
    if (area.isEmpty())
        return false;
    // Asking the image for each row would check every time whether it must detach.
    uchar* row = mask.row(area.top());
    const qsizetype stride = mask.image().bytesPerLine();
    for (int y = area.top(); y <= area.bottom(); ++y, row += stride) {
        const double nibRow = space.rowOf(y + 0.5);
        if (!raster.antialiased) {
            // The swept nib is convex, so the pixel centres it holds on a row are one run:
            // finding its two ends is enough, which spares testing the inside of a wide
            // stroke pixel by pixel.
            // A column that misses the nib by some distance also rules out the columns
            // nearer than that, so the search skips over empty space.
            const auto skipFrom = [&](int x) {
                NibPoint centre = space.turn(x + 0.5, nibRow);
                centre.x += raster.bias;
                centre.y += raster.bias;
                if (nib.contains(centre))
                    return 0;
                const double columns = nib.clearance(centre) / space.columnStep() - 1e-6;
                return columns >= 2.0 ? int(std::min(columns, 1e6)) : 1;
            };
            int left = area.left();
            int right = area.right();
            if (nib.isRound()) {
                // A round nib's run on the row can be worked out in closed form; the search
                // then starts a little outside it, so only the pixels at its ends are tested.
                const NibPoint origin = space.turn(0.5, nibRow);
                const NibPoint next = space.turn(1.5, nibRow);
                const NibPoint step {next.x - origin.x, next.y - origin.y};
                double low = 0.0;
                double high = 0.0;
                if (!nib.lineSpan(
                        {origin.x + raster.bias, origin.y + raster.bias}, step, runSearchMargin, low, high)
                    || high < left - 1.0 || low > right + 1.0)
                    continue;
                left = std::max(left, int(std::floor(low)));
                right = std::min(right, int(std::ceil(high)));
            }
            int first = left;
            while (first <= right) {
                const int skip = skipFrom(first);
                if (skip == 0)
                    break;
                first += skip;
            }
            if (first > right)
                continue;
            int last = right;
            while (last > first) {
                const int skip = skipFrom(last);
                if (skip == 0)
                    break;
                last = std::max(first, last - skip);
            }
            if (pw == 1) {
                std::memset(row + first, 255, std::size_t(last - first + 1));
            } else {
                for (int x = first; x <= last; ++x)
                    row[std::size_t(x) * std::size_t(pw)] = 255;
            }
            anySet = true;
            continue;
        }
        for (int x = area.left(); x <= area.right(); ++x) {
            uchar* pixel = row + std::size_t(x) * std::size_t(pw);
            // One sample per display column, so half a double-wide pixel can be covered.
            for (int i = 0; i < pw; ++i) {
                NibPoint sample = space.turn(x + (i + 0.5) / pw, nibRow);
                sample.x += raster.bias;
                sample.y += raster.bias;
                const uchar value = nib.coverage(sample);
                pixel[i] = raster.keepLarger ? std::max(pixel[i], value) : value;
                anySet = anySet || value != 0;
            }
        }
    }
    return anySet;
}

void fillPixel(FootprintMask& mask, QPoint pixel, int pixelWidth)
{
    const QSize canvas = mask.canvasSize();
    if (pixel.x() < 0 || pixel.y() < 0 || pixel.x() >= canvas.width() || pixel.y() >= canvas.height())
        return;
    uchar* bytes = mask.row(pixel.y()) + std::size_t(pixel.x()) * std::size_t(pixelWidth);
    std::fill(bytes, bytes + pixelWidth, uchar(255));
}

// A strict digital line: exactly one pixel per step of the longer axis, so a
// single-pixel stroke never doubles up where it crosses from one row or column to the
// next.
void plotDigitalLine(FootprintMask& mask, QPoint from, QPoint to, int pixelWidth)
{
    const QSize canvas = mask.canvasSize();
    auto plot = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < canvas.width() && y < canvas.height())
            mask.row(y)[std::size_t(x) * std::size_t(pixelWidth)] = 255;
    };
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    const int steps = std::max(std::abs(dx), std::abs(dy));
    if (steps == 0) {
        plot(from.x(), from.y());
        return;
    }
    for (int i = 0; i <= steps; ++i) {
        plot(
            roundToPixel(from.x() + double(i) * dx / steps), roundToPixel(from.y() + double(i) * dy / steps));
    }
}

// Clamps before converting so a wild coordinate cannot overflow an int.
int clampedPixel(double value, int size)
{
    return int(std::clamp(value, -1.0, double(size)));
}

// The pixels from floor(low) to ceil(high), clipped to 0..size - 1.
std::pair<int, int> clippedSpan(double low, double high, int size)
{
    return {std::max(0, clampedPixel(std::floor(low), size)),
        std::min(size - 1, clampedPixel(std::ceil(high), size))};
}

} // namespace

Brush::Brush(int width)
{
    setWidth(width);
}

void Brush::setWidth(int width)
{
    m_width = std::clamp(width, minimumWidth, maximumWidth);
}

Brush Brush::pressureWidened(double pressure) const
{
    const double p = pressure > 0.0 ? std::min(pressure, 1.0) : 0.0;
    Brush widened = *this;
    widened.setWidth(roundToPixel(m_width + pressureWidening * p * p));
    return widened;
}

QPointF Brush::anchors(int pixelWidth, double aspect) const
{
    if (m_width == 1)
        return {0.5, 0.5};
    const int rows = roundToPixel(m_width * usableAspect(aspect));
    const int columns = roundToPixel(double(m_width) / std::max(1, pixelWidth));
    auto anchor = [](int span) { return span <= 1 || span % 2 != 0 ? 0.5 : 0.0; };
    return {anchor(columns), anchor(rows)};
}

QRect Brush::segmentBoundingRect(QPoint from, QPoint to, QSize canvas) const
{
    // A turned square reaches out to its half-diagonal.
    const int margin = m_shape == BrushShape::Square ? int(std::ceil(m_width * 0.7072)) + 2 : m_width / 2 + 2;
    const QRect spanned(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
        QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y())));
    const QRect area
        = spanned.adjusted(-margin, -margin, margin, margin).intersected(QRect(QPoint(0, 0), canvas));
    return area.isEmpty() ? QRect() : area;
}

QRect Brush::strokeFootprint(FootprintMask& mask, QPoint from, QPoint to, int pixelWidth, double aspect,
    QSize canvas, BrushAlignment alignment, double viewRotation, double extraRotation, bool mirrored) const
{
    if (!mask.fits(canvas, pixelWidth))
        return {};
    mask.clear();
    const QRect area = segmentBoundingRect(from, to, canvas);
    if (area.isEmpty())
        return area;
    mask.markTouched(area);

    if (m_width == 1 && m_pixelPerfect) {
        plotDigitalLine(mask, from, to, pixelWidth);
        return area;
    }

    // Width 1 works in whole canvas pixels: no display scaling, turning or mirroring.
    const bool singlePixel = m_width == 1;
    const int xScale = singlePixel ? 1 : pixelWidth;
    const double nibAspect = singlePixel ? 1.0 : usableAspect(aspect);
    double angle = 0.0;
    if (!singlePixel) {
        // The view turns the canvas clockwise on screen; an upright nib is turned back
        // against it. A mirrored copy turns the other way because its y axis is flipped.
        angle = (alignment == BrushAlignment::Canvas ? 0.0 : viewRotation)
            + (mirrored ? extraRotation : -extraRotation);
    }
    const NibSpace space(xScale, nibAspect, mirrored && !singlePixel, angle);
    const QPointF anchor = anchors(xScale, nibAspect);
    const double radius = m_width / 2.0 + radiusSlack;
    const SweptNib nib(space.map(QPointF(from) + anchor), space.map(QPointF(to) + anchor), radius,
        m_shape == BrushShape::Square && !singlePixel);

    Raster raster;
    raster.pixelWidth = pixelWidth;
    raster.antialiased = m_antialiased && !singlePixel;
    if (!rasterize(mask, area, space, nib, raster)) {
        // A segment never paints nothing, however small the nib.
        fillPixel(mask, from, pixelWidth);
        fillPixel(mask, to, pixelWidth);
    }
    return area;
}

QRect Brush::strokeDisplaySegment(
    FootprintMask& mask, QPointF from, QPointF to, int pixelWidth, double aspect, QSize canvas) const
{
    if (!mask.fits(canvas, pixelWidth))
        return {};
    if (!std::isfinite(from.x()) || !std::isfinite(from.y()) || !std::isfinite(to.x())
        || !std::isfinite(to.y()))
        return {};
    aspect = usableAspect(aspect);
    const double pw = pixelWidth;

    const double margin
        = m_shape == BrushShape::Square && m_width > 1 ? 0.7072 * m_width + 2.0 : 0.5 * m_width + 2.0;
    const auto [left, right] = clippedSpan(std::min(from.x(), to.x()) / pw - margin / pw,
        std::max(from.x(), to.x()) / pw + margin / pw, canvas.width());
    const auto [top, bottom] = clippedSpan(std::min(from.y(), to.y()) * aspect - margin * aspect,
        std::max(from.y(), to.y()) * aspect + margin * aspect, canvas.height());
    const QRect area(QPoint(left, top), QPoint(right, bottom));
    if (area.isEmpty())
        return {};
    mask.markTouched(area);

    const bool singlePixel = m_width == 1;
    const QPointF fromCanvas(from.x() / pw, from.y() * aspect);
    const QPointF toCanvas(to.x() / pw, to.y() * aspect);
    Raster raster;
    raster.pixelWidth = pixelWidth;
    raster.antialiased = m_antialiased && !singlePixel;
    raster.bias = displayCentreBias;
    raster.keepLarger = true;
    bool anySet = false;
    if (singlePixel) {
        const NibSpace space(1.0, 1.0, false, 0.0);
        const SweptNib nib(space.map(fromCanvas), space.map(toCanvas), 0.5 + radiusSlack, false);
        anySet = rasterize(mask, area, space, nib, raster);
    } else {
        const NibSpace space(pw, aspect, false, 0.0);
        const SweptNib nib({from.x(), from.y()}, {to.x(), to.y()}, m_width / 2.0 + radiusSlack,
            m_shape == BrushShape::Square);
        anySet = rasterize(mask, area, space, nib, raster);
    }
    if (!anySet) {
        for (const QPointF& end : {fromCanvas, toCanvas})
            fillPixel(mask,
                QPoint(clampedPixel(std::floor(end.x()), canvas.width()),
                    clampedPixel(std::floor(end.y()), canvas.height())),
                pixelWidth);
    }
    return area;
}

bool Brush::covers(const QImage& mask, int x, int y, int pixelWidth)
{
    if (pixelWidth < 1 || x < 0 || y < 0 || y >= mask.height() || (x + 1) * pixelWidth > mask.width())
        return false;
    const uchar* bytes = mask.constScanLine(y) + std::size_t(x) * std::size_t(pixelWidth);
    return std::any_of(bytes, bytes + pixelWidth, [](uchar value) { return value != 0; });
}

int Brush::coverage(const QImage& mask, int x, int y, int pixelWidth)
{
    if (pixelWidth < 1 || x < 0 || y < 0 || y >= mask.height() || (x + 1) * pixelWidth > mask.width())
        return 0;
    const uchar* bytes = mask.constScanLine(y) + std::size_t(x) * std::size_t(pixelWidth);
    int sum = 0;
    for (int i = 0; i < pixelWidth; ++i)
        sum += bytes[i];
    return (sum + pixelWidth / 2) / pixelWidth;
}
