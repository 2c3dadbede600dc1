#pragma once

#include <QList>
#include <QPoint>

#include <array>

// The curve a conversion's tone adjustment edits: the master curve, applied to every
// component after the component's own curve, or one of the three component curves.
enum class AdjustmentChannel : quint8 {
    Rgb = 0,
    Red = 1,
    Green = 2,
    Blue = 3,
};

inline constexpr int adjustmentChannelCount = 4;
inline constexpr int adjustmentCurveMaxKnots = 32;

using AdjustmentLookup = std::array<uchar, 256>;

// Control points in ascending x, the first at x 0 and the last at x 255, and the table
// the spline through them gives for every 8-bit input.
struct AdjustmentCurve {
    QList<QPoint> knots;
    AdjustmentLookup lookup {};
};

// Tone curves as a photo editor has them, as a plain value: the conversion reads them,
// the curve editor edits them.
class ImageAdjustment {
public:
    ImageAdjustment();

    // Every curve back to the straight line through (0, 0) and (255, 255).
    void reset();

    const AdjustmentCurve& curve(AdjustmentChannel channel) const;
    int knotCount(AdjustmentChannel channel) const;
    // (0, 0) for an index out of range.
    QPoint knotAt(AdjustmentChannel channel, int index) const;
    const AdjustmentLookup& lookup(AdjustmentChannel channel) const;

    // The component's own curve first, then the master curve.
    uchar adjustComponent(AdjustmentChannel channel, uchar value) const
    {
        return curveOf(AdjustmentChannel::Rgb).lookup[curveOf(channel).lookup[value]];
    }
    bool isIdentity() const;

    // The new knot's index, or -1 when it would come within minGap of an end point, lands
    // on an x that already has a knot, or the curve is full.
    int addKnot(AdjustmentChannel channel, int x, int y, int minGap);
    // End points move vertically only; an interior knot stays minGap away from its
    // neighbours. False when nothing changed.
    bool moveKnot(AdjustmentChannel channel, int index, int x, int y, int minGap);
    // The end points stay.
    bool removeKnot(AdjustmentChannel channel, int index);
    // Replaces a curve whole; false, changing nothing, unless the knots run from x 0 to
    // x 255 in strictly ascending x, 2 to 32 of them, every coordinate within 0..255.
    bool setKnots(AdjustmentChannel channel, const QList<QPoint>& knots);
    // Recomputes the channel's table from its knots.
    void rebuild(AdjustmentChannel channel);

private:
    const AdjustmentCurve& curveOf(AdjustmentChannel channel) const { return m_curves[std::size_t(channel)]; }
    AdjustmentCurve& curveOf(AdjustmentChannel channel) { return m_curves[std::size_t(channel)]; }

    std::array<AdjustmentCurve, adjustmentChannelCount> m_curves;
};

// The natural cubic spline (no bending at the end points) through knots in strictly
// ascending x, sampled at every integer input, truncated toward zero and clamped to
// 0..255. Not monotone: steep neighbouring knots overshoot and the clamp catches it.
AdjustmentLookup splineLookup(const QList<QPoint>& knots);
